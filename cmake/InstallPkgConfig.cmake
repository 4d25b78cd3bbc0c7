# SPDX-License-Identifier: MIT
# SPDX-FileCopyrightText: 2026 The ifenum authors
# Run by cmake --install: writes ifenum.pc for the prefix actually installed
# to.  Outside the system's directories the loader may find the library only
# through a RUNPATH (or an ldconfig cache the installer may never refresh):
# the .pc then carries one.
set(prefix ${CMAKE_INSTALL_PREFIX})
set(libdir ${IFENUM_PC_LIBDIR})
if(NOT IS_ABSOLUTE "${libdir}")
  set(libdir ${prefix}/${libdir})
endif()
set(includedir ${IFENUM_PC_INCLUDEDIR})
if(NOT IS_ABSOLUTE "${includedir}")
  set(includedir ${prefix}/${includedir})
endif()
set(runpath " -Wl,--enable-new-dtags -Wl,-rpath,\${libdir}")
foreach(dir IN LISTS IFENUM_PC_SYSTEM_DIRS)
  if(dir STREQUAL libdir)
    set(runpath "")
  endif()
endforeach()
set(pc $ENV{DESTDIR}${libdir}/pkgconfig/ifenum.pc)
message(STATUS "Installing: ${pc}")
configure_file(${IFENUM_PC_TEMPLATE} ${pc} @ONLY)
list(APPEND CMAKE_INSTALL_MANIFEST_FILES ${pc})
