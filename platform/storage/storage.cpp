// The engine's error types and the names of field types: shared by the
// program's side and the engine library, which raises the same errors inside
// itself before they are carried across the C interface.
#include "platform/storage/storage.h"

#include <cstdio>

namespace storage {

namespace {

std::string hex4(std::uint16_t code)
{
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "%.4x", unsigned(code));
    return buffer;
}

std::string composeMessage(std::uint16_t code, const std::string& text,
                           const std::vector<std::string>& context)
{
    std::string message = text.empty() ? "Database engine error $" + hex4(code) : text;
    for (const std::string& line : context)
        message += "\n" + line;
    return message;
}

}  // namespace

EngineError::EngineError(std::uint16_t code, std::string text, std::vector<std::string> context)
    : Exception(composeMessage(code, text, context)),
      m_code(code),
      m_text(text.empty() ? "Database engine error $" + hex4(code) : std::move(text)),
      m_context(std::move(context))
{
}

EngineInitError::EngineInitError(std::uint16_t code)
    : Exception("An error occurred while attempting to initialize the database engine (error $" +
                hex4(code) + ")"),
      m_code(code)
{
}

const char* fieldTypeName(FieldType type)
{
    switch (type) {
    case FieldType::String: return "String";
    case FieldType::Memo: return "Memo";
    case FieldType::Integer: return "Integer";
    }
    return "Unknown";
}

}  // namespace storage
