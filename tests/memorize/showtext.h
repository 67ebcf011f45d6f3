#pragma once
// Readable failure output for u32 texts: CR and LF spelled out, other
// characters outside ASCII as their code point.
#include <cstdint>
#include <string>

inline std::string show(const std::u32string& s)
{
    std::string out;
    for (char32_t c : s) {
        if (c == U'\r')
            out += "[CR]";
        else if (c == U'\n')
            out += "[LF]";
        else if (c < 0x80)
            out += char(c);
        else
            out += "<U+" + std::to_string(std::uint32_t(c)) + ">";
    }
    return out;
}
