#pragma once
// Windows code pages for RTF text, through iconv. A code page is named by its
// number (1252, 932, ...); 65001 is UTF-8 and 10000 the Mac Roman set.
//
// Decoding never fails: bytes a code page cannot map become U+FFFD, and an
// unknown code page falls back to 1252, so a damaged document still reads.

#include <QByteArray>
#include <QString>

#include <array>
#include <optional>

class CodePage {
public:
    // The code page of an RTF \fcharset value; nullopt for "use the document's"
    // (1, DEFAULT_CHARSET) and for values RTF does not define.
    static std::optional<int> forCharset(int charset);

    // Appends the text of `bytes` in code page `codePage` to `out`.
    static void decode(int codePage, const char* bytes, int size, QString& out);

    // Whether a byte of `codePage` may start a two-byte character.
    static bool isLeadByte(int codePage, unsigned char byte);

    // The single byte that stands for `c` in code page 1252, or nullopt.
    static std::optional<unsigned char> encode1252(char16_t c);

private:
    // 256 UTF-16 units per single-byte code page; 0xFFFD where undefined.
    static const std::array<char16_t, 256>* singleByteTable(int codePage);
};
