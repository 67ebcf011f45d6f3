#pragma once
// How the program finds the engine inside its library.
//
// The program and the engine library are built together from this tree, so
// the interface between them is the C++ one of storage.h. The library exports
// two C functions: one gives the interface version it was built with, which
// the program checks before anything else, so that a library of another build
// is refused instead of misread; the other starts the engine.
#include "platform/storage/storage.h"

#include <cstdint>

#define TESS_ENGINE_LIBRARY_NAME "libtessalind-engine.so"
#define TESS_ENGINE_VERSION_FUNCTION "tessalind_engine_interface_version"
#define TESS_ENGINE_START_FUNCTION "tessalind_engine_start"

namespace storage {

// Raised whenever storage.h's classes change in a way that breaks a library
// built before the change.
constexpr std::uint32_t kEngineInterfaceVersion = 1;

}  // namespace storage

extern "C" {
using TessEngineVersionFunction = std::uint32_t (*)();
// Returns the engine, which lives until the process ends. Raises EngineError
// (a configuration that cannot be read) as any other call does.
using TessEngineStartFunction = storage::Engine* (*)();
}
