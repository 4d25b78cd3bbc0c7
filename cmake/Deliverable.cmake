# How both deliverables are linked: by the C compiler driver, which brings
# no C++ runtime, with every symbol resolved at link time.  A use of the C++
# runtime is then an undefined symbol, a link error rather than a silent
# NEEDED entry.  Full RELRO, no lazy binding, no text relocations.
set(CMAKE_CXX_IMPLICIT_LINK_LIBRARIES "") # CMake would add libstdc++ for the C++ objects
function(ifenum_link_deliverable target)
  set_target_properties(${target} PROPERTIES LINKER_LANGUAGE C)
  target_link_options(${target} PRIVATE -Wl,-z,defs -Wl,-z,text -Wl,-z,now -Wl,-z,relro)
endfunction()
