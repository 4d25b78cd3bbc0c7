// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The ifenum authors
// Output of the routine's message rows.
#pragma once

// A row's format, checked while compiling against the types of the
// arguments it is printed with: %s takes a string, %d an int, and no other
// conversion exists.  A row that breaks this does not compile; the name of
// the function the check stops at says why.
namespace row {

// Deliberately not constexpr: a check that reaches one fails to compile.
void unsupportedConversionUseOnlyPercentSAndPercentD();
void argumentTypeDoesNotMatchItsConversion();
void argumentCountDoesNotMatchTheConversions();

// The conversion an argument type is printed by, or 0 for none.  Written
// out here rather than taken from <type_traits>: the routine needs no C++
// library header, so any C library's headers build it.
template <typename T> inline constexpr char conversionOf = 0;
template <> inline constexpr char conversionOf<const char *> = 's';
template <> inline constexpr char conversionOf<char *> = 's';
template <> inline constexpr char conversionOf<int> = 'd';

// T itself, in a context where it is not deduced.
template <typename T> struct Same {
    using type = T;
};

} // namespace row

template <typename... Args> class Row {
  public:
    // Implicit, so that a literal at the call site is the row.
    // NOLINTNEXTLINE(google-explicit-constructor)
    consteval Row(const char *format) : format_(format)
    {
        constexpr char wanted[] = {row::conversionOf<Args>..., 0};
        unsigned used = 0;
        for (const char *at = format; *at != '\0'; at++) {
            if (*at != '%')
                continue;
            at++;
            if (*at != 's' && *at != 'd')
                row::unsupportedConversionUseOnlyPercentSAndPercentD();
            if (used == sizeof...(Args))
                row::argumentCountDoesNotMatchTheConversions();
            if (wanted[used++] != *at)
                row::argumentTypeDoesNotMatchItsConversion();
        }
        if (used != sizeof...(Args))
            row::argumentCountDoesNotMatchTheConversions();
    }
    const char *format() const { return format_; }

  private:
    const char *format_;
};

// Writes checked rows; only printLine can reach it.
class RowWriter {
    template <typename... Args>
    friend void printLine(Row<typename row::Same<Args>::type...> row, Args... args);
    // The text is built on the stack and goes to stdout by fwrite, at a
    // fraction of vfprintf's cost per segment.  A line longer than the stack
    // buffer goes out in pieces, never cut.
    static void emit(const char *format, ...);
};

// printf for the routine's rows, checked while compiling (see Row).
template <typename... Args> inline void printLine(Row<typename row::Same<Args>::type...> row, Args... args)
{
    RowWriter::emit(row.format(), args...);
}
