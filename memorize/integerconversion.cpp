#include "memorize/integerconversion.h"

#include "platform/exception.h"

#include <string>

namespace {

[[noreturn]] void invalid(std::string_view text)
{
    // A message is a C string once it leaves the exception: show a NUL as
    // the visible symbol for it rather than cut the text short there.
    std::string shown;
    for (char c : text)
        shown += c == '\0' ? std::string("\u2400") : std::string(1, c);
    throw Exception("'" + shown + "' is not a valid integer value");
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

}  // namespace

std::int32_t parseInteger(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }

    const std::string_view rest = text.substr(i);
    std::size_t prefix = 0;
    if (!rest.empty() && (rest[0] == '$' || rest[0] == 'x' || rest[0] == 'X'))
        prefix = 1;
    else if (rest.size() >= 2 && rest[0] == '0' && (rest[1] == 'x' || rest[1] == 'X'))
        prefix = 2;

    if (prefix > 0) {
        const std::string_view digits = rest.substr(prefix);
        if (digits.empty() || digits.size() > 8)
            invalid(text);
        std::uint32_t bits = 0;
        for (char c : digits) {
            const int d = hexDigit(c);
            if (d < 0)
                invalid(text);
            bits = bits << 4 | std::uint32_t(d);
        }
        // Negation on the unsigned bits wraps as 32-bit arithmetic does; the
        // conversion back to signed is two's complement (guaranteed in C++20).
        return std::int32_t(negative ? 0u - bits : bits);
    }

    if (rest.empty())
        invalid(text);
    // Accumulate the magnitude in 64 bits and stop as soon as it leaves the
    // range, so any number of digits is safe.
    const std::int64_t limit = negative ? std::int64_t(2147483648) : std::int64_t(2147483647);
    std::int64_t magnitude = 0;
    for (char c : rest) {
        if (c < '0' || c > '9')
            invalid(text);
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > limit)
            invalid(text);
    }
    return std::int32_t(negative ? -magnitude : magnitude);
}
