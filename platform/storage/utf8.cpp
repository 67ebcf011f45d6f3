#include "platform/storage/utf8.h"

namespace storage {

std::optional<char32_t> Utf8::next(std::string_view s, std::size_t& i)
{
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char lead = byte(i);
    if (lead < 0x80) {
        ++i;
        return lead;
    }
    int length = 0;
    char32_t c = 0, minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2, c = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, c = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, c = lead & 0x07, minimum = 0x10000;
    } else {
        ++i;
        return std::nullopt;
    }
    if (i + std::size_t(length) > s.size()) {
        ++i;
        return std::nullopt;
    }
    for (int k = 1; k < length; ++k) {
        const unsigned char b = byte(i + std::size_t(k));
        if ((b & 0xC0) != 0x80) {
            ++i;
            return std::nullopt;
        }
        c = (c << 6) | (b & 0x3F);
    }
    if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        ++i;
        return std::nullopt;
    }
    i += std::size_t(length);
    return c;
}

std::optional<std::u32string> Utf8::decode(std::string_view bytes)
{
    std::u32string out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size();) {
        const auto c = next(bytes, i);
        if (!c)
            return std::nullopt;
        out.push_back(*c);
    }
    return out;
}

void Utf8::append(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out.push_back(char(c));
    } else if (c < 0x800) {
        out.push_back(char(0xC0 | (c >> 6)));
        out.push_back(char(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(char(0xE0 | (c >> 12)));
        out.push_back(char(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(char(0x80 | (c & 0x3F)));
    } else {
        out.push_back(char(0xF0 | (c >> 18)));
        out.push_back(char(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(char(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(char(0x80 | (c & 0x3F)));
    }
}

std::string Utf8::encode(std::u32string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (char32_t c : text)
        append(out, c);
    return out;
}

}  // namespace storage
