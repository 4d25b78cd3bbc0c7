# SPDX-License-Identifier: MIT
# SPDX-FileCopyrightText: 2026 The ifenum authors
# The C example is the program in getEthernetDetails(3)'s EXAMPLES section,
# its only copy: taken from the page's first example block there and freed
# of the page's escapes, into OUTPUT.
function(ifenum_page_example page output)
  file(READ ${page} text)
  string(FIND "${text}" "\n.SH EXAMPLES\n" at)
  string(SUBSTRING "${text}" ${at} -1 text)
  string(FIND "${text}" "\n.EX\n" begin)
  string(FIND "${text}" "\n.EE\n" end)
  math(EXPR begin "${begin} + 5")
  math(EXPR length "${end} + 1 - ${begin}")
  string(SUBSTRING "${text}" ${begin} ${length} program)
  string(REPLACE "\\&" "" program "${program}")
  string(REPLACE "\\-" "-" program "${program}")
  string(REPLACE "\\e" "\\" program "${program}")
  file(CONFIGURE OUTPUT ${output} CONTENT "${program}" @ONLY)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${page})
endfunction()
