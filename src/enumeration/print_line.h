// Output of the routine's message rows.
#pragma once

#include <type_traits>

// A row's format, checked while compiling against the types of the
// arguments it is printed with: %s takes a string, %d an int, and no other
// conversion exists.  A row that breaks this does not compile; the name of
// the function the check stops at says why.
namespace row {

// Deliberately not constexpr: a check that reaches one fails to compile.
void unsupportedConversionUseOnlyPercentSAndPercentD();
void argumentTypeDoesNotMatchItsConversion();
void argumentCountDoesNotMatchTheConversions();

// The conversion an argument type is printed by, or 0 for none.
template <typename T> consteval char conversionOf()
{
    if constexpr (std::is_same_v<T, const char *> || std::is_same_v<T, char *>)
        return 's';
    else if constexpr (std::is_same_v<T, int>)
        return 'd';
    else
        return 0;
}

} // namespace row

template <typename... Args> class Row {
  public:
    // Implicit, so that a literal at the call site is the row.
    // NOLINTNEXTLINE(google-explicit-constructor)
    consteval Row(const char *format) : format_(format)
    {
        constexpr char wanted[] = {row::conversionOf<Args>()..., 0};
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

// The formatter behind printLine, for formats already checked: the text is
// built on the stack and goes to stdout by fwrite, at a fraction of
// vfprintf's cost per segment.  A line longer than the stack buffer goes out
// in pieces, never cut.
void emitRow(const char *format, ...);

// printf for the routine's rows, checked while compiling (see Row).
template <typename... Args> inline void printLine(Row<std::type_identity_t<Args>...> row, Args... args)
{
    emitRow(row.format(), args...);
}
