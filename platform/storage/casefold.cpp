#include "platform/storage/casefold.h"

#include "platform/storage/utf8.h"

namespace storage {

char32_t CaseFold::fold(char32_t c)
{
    if (c < 0x80)
        return (c >= 'A' && c <= 'Z') ? c + 32 : c;
    // Latin-1: À..Þ except the multiplication sign.
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7)
        return c + 32;
    // Latin Extended-A pairs upper/lower; the runs change parity at Ĺ and Ŋ.
    if (c >= 0x100 && c <= 0x137)
        return c | 1;
    if (c >= 0x139 && c <= 0x148)
        return (c & 1) ? c + 1 : c;
    if (c >= 0x14A && c <= 0x177)
        return c | 1;
    if (c == 0x178)
        return 0xFF;
    if (c >= 0x179 && c <= 0x17E)
        return (c & 1) ? c + 1 : c;
    // Greek capitals (no final-sigma capital at U+03A2) and Cyrillic.
    if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2)
        return c + 32;
    if (c >= 0x410 && c <= 0x42F)
        return c + 32;
    if (c >= 0x400 && c <= 0x40F)
        return c + 80;
    return c;
}

std::string CaseFold::fold(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t start = i;
        const auto c = Utf8::next(utf8, i);
        if (c)
            Utf8::append(out, fold(*c));
        else
            out.append(utf8.substr(start, i - start));
    }
    return out;
}

}  // namespace storage
