// The integer conversion against a slow, obvious reading of its rules: any
// text either gives the same number from both or is refused by both, and a
// refusal is always the conversion error naming the text.
#include "memorize/integerconversion.h"
#include "platform/exception.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <optional>
#include <string>

namespace {

// Non-empty and made only of decimal (or hexadecimal) digits.
bool allDigits(const std::string& s, bool hex)
{
    const std::string digits = hex ? "0123456789abcdefABCDEF" : "0123456789";
    return !s.empty() && s.find_first_not_of(digits) == std::string::npos;
}

bool startsWith(const std::string& s, const char* prefix)
{
    return s.rfind(prefix, 0) == 0;
}

std::optional<std::int32_t> reference(std::string text)
{
    text.erase(0, text.find_first_not_of(' ') == std::string::npos ? text.size() : text.find_first_not_of(' '));
    bool negative = false;
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
        negative = text[0] == '-';
        text.erase(0, 1);
    }
    std::string hex;
    bool isHex = false;
    for (const char* prefix : {"0x", "0X", "$", "x", "X"}) {
        if (startsWith(text, prefix)) {
            hex = text.substr(std::string(prefix).size());
            isHex = true;
            break;
        }
    }
    if (isHex) {
        if (hex.size() > 8 || !allDigits(hex, true))
            return std::nullopt;
        std::uint64_t bits = 0;
        std::from_chars(hex.data(), hex.data() + hex.size(), bits, 16);
        std::int64_t value = bits >= 0x80000000u ? std::int64_t(bits) - 0x100000000 : std::int64_t(bits);
        if (negative)
            value = -value;
        if (value > 2147483647)
            value -= 0x100000000;  // only -(-2^31) gets here
        return std::int32_t(value);
    }
    if (!allDigits(text, false))
        return std::nullopt;
    const std::string significant = text.substr(std::min(text.find_first_not_of('0'), text.size() - 1));
    if (significant.size() > 10)
        return std::nullopt;
    const std::int64_t magnitude = std::stoll(significant);
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value < -2147483648LL || value > 2147483647LL)
        return std::nullopt;
    return std::int32_t(value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::optional<std::int32_t> expected = reference(text);
    try {
        const std::int32_t got = parseInteger(text);
        if (!expected || *expected != got) {
            std::fprintf(stderr, "accepted as %d, expected %s\n", got, expected ? std::to_string(*expected).c_str() : "an error");
            std::abort();
        }
    } catch (const Exception& e) {
        if (expected) {
            std::fprintf(stderr, "refused, expected %d\n", *expected);
            std::abort();
        }
        std::string shown;
        for (char c : text)
            shown += c == '\0' ? std::string("\u2400") : std::string(1, c);
        if (e.message() != "'" + shown + "' is not a valid integer value") {
            std::fprintf(stderr, "wrong message: %s\n", e.what());
            std::abort();
        }
    }
    return 0;
}
