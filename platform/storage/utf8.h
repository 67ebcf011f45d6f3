#pragma once
// UTF-8 decoding and encoding for the engine's checks: field sizes count
// characters, pictures match characters, case folding works on them.
#include <optional>
#include <string>
#include <string_view>

namespace storage {

class Utf8 {
public:
    // nullopt when the bytes are not well-formed UTF-8 (overlong forms,
    // surrogates and values above U+10FFFF included).
    static std::optional<std::u32string> decode(std::string_view bytes);
    static std::string encode(std::u32string_view text);
    static void append(std::string& out, char32_t c);
    // Decodes one character at `i` and advances past it; nullopt (advancing by
    // one byte) when the sequence there is not well-formed.
    static std::optional<char32_t> next(std::string_view bytes, std::size_t& i);
};

}  // namespace storage
