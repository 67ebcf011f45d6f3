// The engine's configuration file: any bytes either parse or raise the
// engine's error, and what parses is written back and read again unchanged.
#include "platform/storage/engineconfig.h"
#include "platform/storage/storage.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    storage::EngineConfig config;
    try {
        config = storage::EngineConfig::parse(text, "fuzz.ini");
    } catch (const storage::EngineError& e) {
        if (e.code() != storage::code::InvalidConfiguration || e.text().empty())
            std::abort();
        return 0;
    }
    const storage::EngineConfig again = storage::EngineConfig::parse(config.serialize(), "again.ini");
    if (again.aliases() != config.aliases() || again.dllPath() != config.dllPath())
        std::abort();
    return 0;
}
