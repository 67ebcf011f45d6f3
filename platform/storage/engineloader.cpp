#include "platform/storage/engineloader.h"

#include "platform/storage/engineconfig.h"
#include "platform/storage/engineplugin.h"

#include <dlfcn.h>
#include <filesystem>
#include <unistd.h>

namespace storage {

namespace {

std::optional<std::filesystem::path> programDirectory()
{
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec || exe.empty())
        return std::nullopt;
    return exe.parent_path();
}

bool exists(const std::string& path) { return ::access(path.c_str(), F_OK) == 0; }

}  // namespace

std::vector<std::string> EngineLoader::candidates(const std::optional<std::string>& dllPath)
{
    std::vector<std::string> out;
    // Only an absolute DLLPATH is taken: a relative one would be resolved
    // against the current directory, which is never searched.
    if (dllPath && !dllPath->empty() && dllPath->front() == '/')
        out.push_back((std::filesystem::path(*dllPath) / TESS_ENGINE_LIBRARY_NAME).string());
    if (const auto dir = programDirectory()) {
        out.push_back((dir->parent_path() / "lib" / TESS_ENGINE_LIBRARY_NAME).lexically_normal().string());
        out.push_back((*dir / TESS_ENGINE_LIBRARY_NAME).string());
    }
    out.push_back(TESS_ENGINE_LIBRARY_NAME);
    return out;
}

Engine* EngineLoader::load(const std::vector<std::string>& candidates)
{
    std::string chosen;
    for (const std::string& candidate : candidates) {
        const bool bare = candidate.find('/') == std::string::npos;
        if (bare || exists(candidate)) {
            chosen = candidate;
            break;
        }
    }
    if (chosen.empty())
        throw EngineInitError(initcode::LibraryNotFound);

    void* handle = ::dlopen(chosen.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const bool bare = chosen.find('/') == std::string::npos;
        throw EngineInitError(bare ? initcode::LibraryNotFound : initcode::LibraryNotLoadable);
    }
    // The library stays loaded until the process ends: the engine it made
    // lives as long, and tables may close during static destruction.
    const auto version = reinterpret_cast<TessEngineVersionFunction>(::dlsym(handle, TESS_ENGINE_VERSION_FUNCTION));
    const auto start = reinterpret_cast<TessEngineStartFunction>(::dlsym(handle, TESS_ENGINE_START_FUNCTION));
    if (!version || !start) {
        ::dlclose(handle);
        throw EngineInitError(initcode::NoEntryPoint);
    }
    if (version() != kEngineInterfaceVersion) {
        ::dlclose(handle);
        throw EngineInitError(initcode::WrongVersion);
    }
    Engine* engine = start();
    if (!engine)
        throw EngineInitError(initcode::LibraryNotLoadable);
    return engine;
}

Engine& Engine::instance()
{
    // A failed start is tried again at the next call, as a static's
    // initialisation that throws is.
    static Engine* const engine = [] {
        const EngineConfig config = EngineConfig::load();
        return EngineLoader::load(EngineLoader::candidates(config.dllPath()));
    }();
    return *engine;
}

}  // namespace storage
