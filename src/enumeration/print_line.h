// Output of the routine's message rows.
#pragma once

// printf for formats whose only conversions are %s and %d, as the routine's
// rows are: the text is built on the stack and goes to stdout in one fwrite,
// at a fraction of vfprintf's cost per segment.
void printLine(const char *format, ...) __attribute__((format(printf, 1, 2)));
