#include "print_line.h"

#include <stdarg.h>
#include <stdio.h>
#include <string.h>

namespace {

// The longest row is under 200 bytes; anything past this is cut.
constexpr size_t kLineBytes = 512;

struct Line {
    char text[kLineBytes];
    size_t length;
};

// Append up to len bytes of text, as many as fit.
void appendBytes(Line *line, const char *text, size_t len)
{
    size_t room = kLineBytes - line->length;
    if (len > room)
        len = room;
    memcpy(line->text + line->length, text, len);
    line->length += len;
}

// Append value in decimal, with a minus sign when negative.
void appendDecimal(Line *line, int value)
{
    char digits[12];
    size_t at = sizeof digits;
    unsigned magnitude = value < 0 ? 0U - static_cast<unsigned>(value) : static_cast<unsigned>(value);
    do {
        digits[--at] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0)
        digits[--at] = '-';
    appendBytes(line, digits + at, sizeof digits - at);
}

// Append format with its %s and %d conversions filled from args.
void appendFormatted(Line *line, const char *format, va_list args)
{
    for (const char *at = format; *at != '\0';) {
        const char *conversion = strchrnul(at, '%');
        appendBytes(line, at, static_cast<size_t>(conversion - at));
        if (*conversion == '\0')
            break;
        if (conversion[1] == 's') {
            const char *text = va_arg(args, const char *);
            appendBytes(line, text, strlen(text));
        } else {
            appendDecimal(line, va_arg(args, int));
        }
        at = conversion + 2;
    }
}

} // namespace

void printLine(const char *format, ...)
{
    Line line;
    line.length = 0;
    va_list args;
    va_start(args, format);
    appendFormatted(&line, format, args);
    va_end(args);
    (void)fwrite(line.text, 1, line.length, stdout);
}
