#include "platform/richedit/codepage.h"

#include <iconv.h>

#include <cerrno>
#include <map>
#include <memory>
#include <mutex>
#include <string>

namespace {

bool isDoubleByte(int codePage)
{
    return codePage == 932 || codePage == 936 || codePage == 949 || codePage == 950 || codePage == 1361;
}

std::string iconvName(int codePage)
{
    switch (codePage) {
    case 65001: return "UTF-8";
    case 10000: return "MACINTOSH";
    case 932: return "CP932";
    case 936: return "CP936";
    case 949: return "CP949";
    case 950: return "CP950";
    case 1361: return "JOHAB";
    case 874: return "CP874";
    case 437: return "CP437";
    case 850: return "CP850";
    default: return "CP" + std::to_string(codePage);
    }
}

// Converts with iconv; an invalid or incomplete sequence costs one byte and
// yields U+FFFD, so conversion always makes progress.
bool convert(int codePage, const char* bytes, int size, QString& out)
{
    iconv_t cd = iconv_open("UTF-16LE", iconvName(codePage).c_str());
    if (cd == reinterpret_cast<iconv_t>(-1))
        return false;
    std::string buffer(std::size_t(size) * 4 + 16, '\0');
    char* in = const_cast<char*>(bytes);
    std::size_t inLeft = std::size_t(size);
    while (inLeft > 0) {
        char* outPtr = buffer.data();
        std::size_t outLeft = buffer.size();
        const std::size_t r = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        const std::size_t produced = buffer.size() - outLeft;
        out.append(reinterpret_cast<const QChar*>(buffer.data()), qsizetype(produced / 2));
        if (r == std::size_t(-1) && inLeft > 0) {
            if (errno == E2BIG)
                continue;
            out.append(QChar(0xFFFD));
            ++in;
            --inLeft;
        }
    }
    iconv_close(cd);
    return true;
}

}  // namespace

std::optional<int> CodePage::forCharset(int charset)
{
    switch (charset) {
    case 0: return 1252;
    case 2: return 1252;  // symbol fonts: their bytes stand for themselves
    case 77: return 10000;
    case 128: return 932;
    case 129: return 949;
    case 130: return 1361;
    case 134: return 936;
    case 136: return 950;
    case 161: return 1253;
    case 162: return 1254;
    case 163: return 1258;
    case 177: return 1255;
    case 178: return 1256;
    case 186: return 1257;
    case 204: return 1251;
    case 222: return 874;
    case 238: return 1250;
    case 254: return 437;
    case 255: return 850;
    default: return std::nullopt;
    }
}

const std::array<char16_t, 256>* CodePage::singleByteTable(int codePage)
{
    static std::mutex mutex;
    static std::map<int, std::unique_ptr<std::array<char16_t, 256>>> tables;
    const std::lock_guard lock(mutex);
    auto it = tables.find(codePage);
    if (it != tables.end())
        return it->second.get();
    std::unique_ptr<std::array<char16_t, 256>> table;
    if (!isDoubleByte(codePage) && codePage != 65001) {
        table = std::make_unique<std::array<char16_t, 256>>();
        bool known = true;
        for (int b = 0; b < 256 && known; ++b) {
            const char byte = char(b);
            QString one;
            known = convert(codePage, &byte, 1, one);
            (*table)[std::size_t(b)] = one.size() == 1 ? one.at(0).unicode() : char16_t(0xFFFD);
        }
        if (!known)
            table.reset();
    }
    auto* result = table.get();
    tables.emplace(codePage, std::move(table));
    return result;
}

void CodePage::decode(int codePage, const char* bytes, int size, QString& out)
{
    if (size <= 0)
        return;
    if (const auto* table = singleByteTable(codePage)) {
        const qsizetype start = out.size();
        out.resize(start + size);
        QChar* dst = out.data() + start;
        for (int i = 0; i < size; ++i)
            dst[i] = QChar((*table)[static_cast<unsigned char>(bytes[i])]);
        return;
    }
    if (!convert(codePage, bytes, size, out))
        decode(1252, bytes, size, out);
}

bool CodePage::isLeadByte(int codePage, unsigned char byte)
{
    switch (codePage) {
    case 932: return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
    case 936:
    case 949:
    case 950: return byte >= 0x81 && byte <= 0xFE;
    case 1361: return (byte >= 0x84 && byte <= 0xD3) || (byte >= 0xD8 && byte <= 0xF9);
    default: return false;
    }
}

std::optional<unsigned char> CodePage::encode1252(char16_t c)
{
    static const std::map<char16_t, unsigned char> reverse = [] {
        std::map<char16_t, unsigned char> m;
        const auto* table = singleByteTable(1252);
        for (int b = 0x80; b < 256; ++b)
            if ((*table)[std::size_t(b)] != 0xFFFD)
                m.emplace((*table)[std::size_t(b)], static_cast<unsigned char>(b));
        return m;
    }();
    if (c < 0x80)
        return static_cast<unsigned char>(c);
    auto it = reverse.find(c);
    if (it == reverse.end())
        return std::nullopt;
    return it->second;
}
