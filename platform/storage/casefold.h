#pragma once
// Case folding for case-insensitive indexes and searches: ASCII, the accented
// Latin letters (Ã/ã, Ç/ç, É/é, Ő/ő...), Greek and Cyrillic fold to their
// lower-case forms. Bytes that are not well-formed UTF-8 are kept as they are,
// so folding never fails and never merges two different byte strings of which
// one is malformed.
#include <string>
#include <string_view>

namespace storage {

class CaseFold {
public:
    static char32_t fold(char32_t c);
    static std::string fold(std::string_view utf8);
};

}  // namespace storage
