# SPDX-License-Identifier: MIT
# SPDX-FileCopyrightText: 2026 The ifenum authors
# Test groups.  A group is built when everything it needs is found and left
# out otherwise; the summary at the end of configure names each group left
# out and why, with the Debian package that brings what it lacks.
# IFENUM_REQUIRE_ALL makes a missing tool a configure error instead, and a
# test that cannot make a network namespace a failure instead of a skip.
include(FeatureSummary)
option(IFENUM_REQUIRE_ALL "Every test group and every test: a missing tool stops configure, a test that cannot make a network namespace fails" OFF)

# Sanitizers add their runtimes to every binary built: the groups that judge
# the shipped binaries, or the sources once, are left to the plain build.
string(REGEX MATCH "-fsanitize=[a-z,]+" IFENUM_SANITIZER "${CMAKE_CXX_FLAGS}")
if(IFENUM_SANITIZER)
  set(IFENUM_ONLY_PLAIN "judged by the plain build")
endif()

# ifenum_test_group(NAME "what it tests" [WITHIN GROUP] [LEFT_OUT "why"]
#                   [PROGRAMS PROGRAM PACKAGE ...] [NEEDS VAR WHAT PACKAGE ...])
# Sets IFENUM_GROUP_<NAME>: on unless the group it lies within is off, a
# reason to leave it out is given, a PROGRAM is not found (each into
# IFENUM_PROGRAM_<PROGRAM>) or a VAR under NEEDS is false.
function(ifenum_test_group name description)
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "WITHIN;LEFT_OUT" "PROGRAMS;NEEDS")
  while(arg_PROGRAMS)
    list(POP_FRONT arg_PROGRAMS program package)
    find_program(IFENUM_PROGRAM_${program} ${program})
    list(APPEND arg_NEEDS IFENUM_PROGRAM_${program} ${program} ${package})
  endwhile()
  set(why "${arg_LEFT_OUT}")
  if(NOT why AND arg_WITHIN AND NOT IFENUM_GROUP_${arg_WITHIN})
    set(why "needs the ${arg_WITHIN} group")
  endif()
  while(arg_NEEDS AND NOT arg_LEFT_OUT)
    list(POP_FRONT arg_NEEDS var what package)
    if(NOT ${var} AND IFENUM_REQUIRE_ALL)
      message(SEND_ERROR "${what} not found: install Debian's ${package} (test group ${name})")
    elseif(NOT ${var})
      string(APPEND why "; no ${what}: install Debian's ${package}")
    endif()
  endwhile()
  string(REGEX REPLACE "^; " "" why "${why}")
  if(why)
    set(description "${description} [${why}]")
  endif()
  string(COMPARE EQUAL "${why}" "" on)
  set(IFENUM_GROUP_${name} ${on} PARENT_SCOPE)
  add_feature_info("tests_${name}" "${on}" "${description}")
endfunction()

# A test that exits 77 when it cannot make a network namespace: skipped,
# like the suite's own namespace tests, unless every test is required.
function(ifenum_namespace_test test)
  if(NOT IFENUM_REQUIRE_ALL)
    set_tests_properties(${test} PROPERTIES SKIP_RETURN_CODE 77)
  endif()
endfunction()
