#include "memorize/drilltext.h"

#include "memorize/words.h"
#include "platform/exception.h"
#include "platform/richedit/plaintext.h"
#include "platform/storage/utf8.h"

#include <QString>

std::u32string loadDrillText(std::string_view bytes, const std::string& source)
{
    std::u32string text;
    text.reserve(bytes.size());
    std::size_t i = bytes.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
    while (i < bytes.size()) {
        const std::size_t at = i;
        const auto c = storage::Utf8::next(bytes, i);
        if (!c)
            throw Exception(source + " is not valid UTF-8: the byte at offset " + std::to_string(at) +
                            " does not begin a well-formed character");
        text.push_back(*c);
    }
    // Line breaks by the rich edit's own rule, so that the tool and the
    // window see the same text.
    text = PlainText::normalizeLineBreaks(QString::fromStdU32String(text)).toStdU32String();
    collapseSpaces(text);
    return text;
}

std::string drillTextBytes(const std::u32string& text)
{
    return storage::Utf8::encode(text);
}
