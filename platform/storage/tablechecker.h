#pragma once
// The integrity check of a table file: SQLite's own check of the file, then
// ours of what the layout promises (the recorded fields, the columns and
// indexes made of them, the row count, every stored value fitting its field,
// every folded key matching its value).
#include <string>
#include <vector>

namespace storage {

class TableChecker {
public:
    // The problems found, one line each; empty when the table is sound.
    // Raises EngineError only when the file cannot be opened at all.
    static std::vector<std::string> check(const std::string& path);
};

}  // namespace storage
