# SPDX-License-Identifier: MIT
# SPDX-FileCopyrightText: 2026 The ifenum authors
# Both deliverables against musl (Debian's musl-tools and linux-libc-dev):
#   cmake -S . -B build-musl --toolchain cmake/musl.cmake -DBUILD_TESTING=OFF
# C goes through musl-gcc.  C++ goes through g++ with the same specs and
# without the C++ library's headers, which the deliverables do not use.
# musl ships no kernel headers, so the system's linux/ and asm/ are put on
# the include path alone, without glibc's headers beside them.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER musl-gcc)
set(CMAKE_CXX_COMPILER g++)

set(_ifenum_musl_specs /usr/lib/x86_64-linux-musl/musl-gcc.specs)
set(_ifenum_kernel_headers ${CMAKE_BINARY_DIR}/musl-kernel-headers)
if(NOT EXISTS ${_ifenum_kernel_headers}/linux)
  file(MAKE_DIRECTORY ${_ifenum_kernel_headers})
  file(CREATE_LINK /usr/include/linux ${_ifenum_kernel_headers}/linux SYMBOLIC)
  file(CREATE_LINK /usr/include/asm-generic ${_ifenum_kernel_headers}/asm-generic SYMBOLIC)
  file(CREATE_LINK /usr/include/x86_64-linux-gnu/asm ${_ifenum_kernel_headers}/asm SYMBOLIC)
endif()
set(CMAKE_C_FLAGS_INIT "-isystem ${_ifenum_kernel_headers}")
set(CMAKE_CXX_FLAGS_INIT "-specs=${_ifenum_musl_specs} -nostdinc++ -isystem ${_ifenum_kernel_headers}")
