// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The ifenum authors
#include "print_line.h"

#include <stdarg.h>
#include <stdio.h>
#include <string.h>

namespace {

// The longest row is under 200 bytes; a longer line goes out in pieces.
constexpr size_t kLineBytes = 512;

struct Line {
    char text[kLineBytes];
    size_t length;
};

// Hand what the line holds to stdout and start it afresh.
void flushLine(Line *line)
{
    (void)fwrite(line->text, 1, line->length, stdout);
    line->length = 0;
}

// Append text that does not fit: fill the line, flush it, and go on.  Out
// of line, so that the common case below stays small enough to inline.
[[gnu::noinline]] void appendInPieces(Line *line, const char *text, size_t len)
{
    while (len > 0) {
        size_t room = kLineBytes - line->length;
        size_t part = len < room ? len : room;
        memcpy(line->text + line->length, text, part);
        line->length += part;
        text += part;
        len -= part;
        if (line->length == kLineBytes)
            flushLine(line);
    }
}

// Append len bytes of text.
void appendBytes(Line *line, const char *text, size_t len)
{
    if (len > kLineBytes - line->length) {
        appendInPieces(line, text, len);
        return;
    }
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

// The bytes a name prints escaped: those that could end a line or reach a
// terminal as a control sequence, the blank, which would split a field, and
// the backslash, so that every backslash printed begins an escape and no two
// names print alike.  Bytes from 0x80 up (UTF-8) are text.  A table built
// while compiling, since every byte of every name is looked up.
struct EscapedBytes {
    bool escaped[256];
};

consteval EscapedBytes escapedBytes()
{
    EscapedBytes bytes{};
    for (int c = 0; c < 256; c++)
        bytes.escaped[c] = c <= ' ' || c == '\\' || c == 0x7f;
    return bytes;
}

constexpr EscapedBytes kEscapedBytes = escapedBytes();

// Append a byte as a backslash and three octal digits.
void appendEscape(Line *line, unsigned char c)
{
    const char escape[4] = {'\\', static_cast<char>('0' + (c >> 6)), static_cast<char>('0' + (c >> 3 & 7)),
                            static_cast<char>('0' + (c & 7))};
    appendBytes(line, escape, sizeof escape);
}

// Append a string, escaped where kEscapedBytes says: a name from the kernel
// may hold any byte, and must not forge a line or a field.
void appendText(Line *line, const char *text)
{
    const char *plain = text;
    const char *at = text;
    for (; *at != '\0'; at++) {
        auto c = static_cast<unsigned char>(*at);
        if (!kEscapedBytes.escaped[c])
            continue;
        appendBytes(line, plain, static_cast<size_t>(at - plain));
        appendEscape(line, c);
        plain = at + 1;
    }
    appendBytes(line, plain, static_cast<size_t>(at - plain));
}

// Append one conversion of a checked row: %s (escaped) or %d, from args.
void appendConversion(Line *line, char conversion, va_list *args)
{
    if (conversion == 's')
        appendText(line, va_arg(*args, const char *));
    else
        appendDecimal(line, va_arg(*args, int));
}

// Append a checked format with its conversions filled from args.
void appendFormatted(Line *line, const char *format, va_list *args)
{
    for (const char *at = format;;) {
        const char *percent = strchrnul(at, '%');
        appendBytes(line, at, static_cast<size_t>(percent - at));
        if (*percent == '\0')
            return;
        appendConversion(line, percent[1], args);
        at = percent + 2;
    }
}

} // namespace

void RowWriter::emit(const char *format, ...)
{
    Line line;
    line.length = 0;
    va_list args;
    va_start(args, format);
    appendFormatted(&line, format, &args);
    va_end(args);
    flushLine(&line);
}
