// Pictures come from table files, which may come from anywhere. Input: a
// picture, a line feed, a value. Any picture is either refused with the
// invalid-picture error or compiled; matching any value then finishes, and the
// two ways of matching agree: fill() finds a way exactly when matches() says
// the value matches, and its converted value matches too.
#include "platform/storage/picture.h"
#include "platform/storage/storage.h"
#include "platform/storage/utf8.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t newline = input.find('\n');
    const std::string pictureText = input.substr(0, newline);
    const std::string value = newline == std::string::npos ? std::string() : input.substr(newline + 1);
    try {
        const storage::Picture picture(pictureText);
        const bool matched = picture.matches(std::string_view(value));
        const auto decoded = storage::Utf8::decode(value);
        if (!decoded) {
            if (matched) {
                std::fprintf(stderr, "malformed UTF-8 matched\n");
                std::abort();
            }
            return 0;
        }
        const auto filled = picture.fill(*decoded);
        if (filled.has_value() != matched) {
            std::fprintf(stderr, "fill and matches disagree\n");
            std::abort();
        }
        if (filled && (filled->size() != decoded->size() || !picture.matches(std::u32string_view(*filled)))) {
            std::fprintf(stderr, "the filled value no longer matches\n");
            std::abort();
        }
    } catch (const storage::EngineError& e) {
        if (e.code() != storage::code::InvalidPicture || e.message().rfind("Invalid picture '", 0) != 0) {
            std::fprintf(stderr, "unexpected error: %s\n", e.what());
            std::abort();
        }
    }
    return 0;
}
