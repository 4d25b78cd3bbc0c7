# SPDX-License-Identifier: MIT
# SPDX-FileCopyrightText: 2026 The ifenum authors
# Test groups.  Each has an option, on unless turned off; a group that is on
# must find everything it needs, and what is missing stops configure with
# the Debian package that brings it.  The summary at the end of configure
# lists which groups are built.
include(FeatureSummary)
include(CMakeDependentOption)

# Declare a group's option and its line in the summary.  A group that lives
# inside another names it last, and is off while that one is.  (A macro: the
# dependent option sets a variable in the caller's scope.)
macro(ifenum_test_group option description)
  if(${ARGC} GREATER 2)
    cmake_dependent_option(${option} "${description}" ON "${ARGV2}" OFF)
  else()
    option(${option} "${description}" ON)
  endif()
  add_feature_info(${option} ${option} "${description}")
endmacro()

# A configure error unless found is true; checks go on, so all is listed.
function(ifenum_require found what package option)
  if(NOT found)
    message(SEND_ERROR "${what} not found: install Debian's ${package}, or go without it: -D${option}=OFF")
  endif()
endfunction()

# The program name, found into var, that a group needs.
function(ifenum_require_program var name package option)
  find_program(${var} ${name})
  ifenum_require("${${var}}" ${name} ${package} ${option})
endfunction()

# A test run as a program that exits 77 when it cannot make a network
# namespace: skipped, like the suite's own namespace tests, or a failure
# where namespaces are required.
function(ifenum_namespace_test test)
  if(NOT IFENUM_REQUIRE_NAMESPACES)
    set_tests_properties(${test} PROPERTIES SKIP_RETURN_CODE 77)
  endif()
endfunction()
