#pragma once
// Finds, loads and starts the engine library.
//
// The library is looked for, in this order, in the directory named by DLLPATH
// in the engine's configuration, in the program's own library directory (lib/
// beside the program's bin/, or the program's directory itself), and last by
// the standard search of the dynamic loader. The current directory is never
// searched: a library planted there would run inside the program. The first
// candidate file that exists is the one loaded; when it cannot be used the
// start fails rather than quietly taking another.
#include "platform/storage/storage.h"

#include <optional>
#include <string>
#include <vector>

namespace storage {

class EngineLoader {
public:
    // The candidates in search order; the last is the bare library name for
    // the loader's own search.
    static std::vector<std::string> candidates(const std::optional<std::string>& dllPath);

    // Loads the first existing candidate (or the bare name) and starts the
    // engine. Raises EngineInitError: LibraryNotFound, LibraryNotLoadable,
    // NoEntryPoint or WrongVersion.
    static Engine* load(const std::vector<std::string>& candidates);
};

}  // namespace storage
