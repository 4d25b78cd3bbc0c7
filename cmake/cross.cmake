# SPDX-License-Identifier: MIT
# SPDX-FileCopyrightText: 2026 The ifenum authors
# Both deliverables for another architecture with Debian's cross compilers
# (g++-aarch64-linux-gnu, g++-s390x-linux-gnu, ...), run under qemu-user:
#   cmake -S . -B build-arm64 --toolchain cmake/cross.cmake \
#     -DIFENUM_TRIPLET=aarch64-linux-gnu -DBUILD_TESTING=OFF
#   qemu-aarch64 -L /usr/aarch64-linux-gnu build-arm64/ifreport
set(CMAKE_SYSTEM_NAME Linux)
string(REGEX MATCH "^[^-]+" CMAKE_SYSTEM_PROCESSOR "${IFENUM_TRIPLET}")
set(CMAKE_C_COMPILER ${IFENUM_TRIPLET}-gcc)
set(CMAKE_CXX_COMPILER ${IFENUM_TRIPLET}-g++)
set(CMAKE_FIND_ROOT_PATH /usr/${IFENUM_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# try_compile reads this file again, without the cache.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES IFENUM_TRIPLET)
