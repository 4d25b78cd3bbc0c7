// Output of the routine's message rows.
#pragma once

// printf for the routine's rows, whose only conversions are %s and %d: the
// text is built on the stack and goes to stdout in one fwrite, at a fraction
// of vfprintf's cost per segment.  Any other % pair is printed as it stands.
// The attribute checks the arguments of %s and %d; it cannot reject others.
void printLine(const char *format, ...) __attribute__((format(printf, 1, 2)));
