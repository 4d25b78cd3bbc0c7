# How both deliverables are linked.
function(ifenum_link_deliverable target)
  # Every symbol resolved at link time, no text relocations, and everything
  # bound at load time (full RELRO, no lazy lookups later).
  target_link_options(${target} PRIVATE -Wl,-z,defs -Wl,-z,text -Wl,-z,now -Wl,-z,relro)
  if(IFENUM_LIBC_ONLY)
    # libc alone: a use of the C++ runtime is an undefined symbol, and so a
    # link error rather than a silent NEEDED entry.
    target_link_options(${target} PRIVATE -nodefaultlibs)
    target_link_libraries(${target} PRIVATE c gcc)
  endif()
endfunction()
