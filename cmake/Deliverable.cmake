# SPDX-License-Identifier: MIT
# SPDX-FileCopyrightText: 2026 The ifenum authors
# How both deliverables are linked: by the C compiler driver, which brings
# no C++ runtime, with every symbol resolved at link time.  A use of the C++
# runtime is then an undefined symbol, a link error rather than a silent
# NEEDED entry.  Full RELRO, no lazy binding, no text relocations.
set(CMAKE_CXX_IMPLICIT_LINK_LIBRARIES "") # CMake would add libstdc++ for the C++ objects
function(ifenum_link_deliverable target)
  set_target_properties(${target} PROPERTIES LINKER_LANGUAGE C)
  # Among the link items, which come after any linker flags a build passes,
  # so that those cannot undo them.
  target_link_libraries(${target} PRIVATE -Wl,-z,defs -Wl,-z,text -Wl,-z,now -Wl,-z,relro)
endfunction()

# The library's exports pinned by an anonymous version script: exactly the
# routine and main, under their plain names, whatever the toolchain and its
# C library add (musl's crti.o defines _init and _fini, for one).
function(ifenum_pin_exports target)
  set(map ${PROJECT_SOURCE_DIR}/cmake/exports.map)
  target_link_options(${target} PRIVATE -Wl,--version-script=${map})
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${map})
endfunction()
