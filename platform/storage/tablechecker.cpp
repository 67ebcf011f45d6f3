#include "platform/storage/tablechecker.h"

#include "platform/storage/casefold.h"
#include "platform/storage/sqlitedb.h"
#include "platform/storage/tablelayout.h"
#include "platform/storage/utf8.h"

#include <filesystem>
#include <set>
#include <sqlite3.h>
#include <unistd.h>

namespace storage {

namespace {

// Past this many problems in the rows, the rest are only counted.
constexpr std::size_t kMaxRowProblems = 20;

void checkColumns(SqliteDb& db, const TableLayout& layout, std::vector<std::string>& problems)
{
    std::set<std::string> expected{"id", "pos"};
    for (std::size_t i = 0; i < layout.fieldCount(); ++i) {
        expected.insert(TableLayout::valueColumn(i));
        if (layout.hasFoldColumn(i))
            expected.insert(TableLayout::foldColumn(i));
    }
    std::set<std::string> actual;
    Statement st = db.prepare("SELECT name FROM pragma_table_info('tess_rows')");
    while (st.step())
        actual.insert(st.text(0));
    for (const std::string& name : expected)
        if (!actual.count(name))
            problems.push_back("The rows lack column " + name);
    for (const std::string& name : actual)
        if (!expected.count(name))
            problems.push_back("The rows have an unknown column " + name);
}

void checkIndexes(SqliteDb& db, const TableLayout& layout, std::vector<std::string>& problems)
{
    for (std::size_t n = 0; n < layout.schema().indexes.size(); ++n) {
        Statement st = db.prepare("SELECT count(*) FROM sqlite_schema WHERE type = 'index' AND name = ?");
        st.bindText(1, "tess_index_" + std::to_string(n + 1));
        if (!st.step() || st.integer(0) != 1)
            problems.push_back("Index '" + layout.schema().indexes[n].name + "' is missing");
    }
}

void checkRows(SqliteDb& db, const TableLayout& layout, std::vector<std::string>& problems)
{
    const std::vector<FieldDef>& fields = layout.schema().fields;
    std::string columns = "id";
    for (std::size_t i = 0; i < fields.size(); ++i) {
        columns += ", " + TableLayout::valueColumn(i);
        columns += layout.hasFoldColumn(i) ? ", " + TableLayout::foldColumn(i) : ", NULL";
    }
    std::int64_t count = 0;
    std::size_t rowProblems = 0;
    const auto report = [&](std::int64_t id, const std::string& what) {
        if (++rowProblems <= kMaxRowProblems)
            problems.push_back("Row " + std::to_string(id) + ": " + what);
    };
    Statement st = db.prepare("SELECT " + columns + " FROM tess_rows ORDER BY pos");
    while (st.step()) {
        ++count;
        const std::int64_t id = st.integer(0);
        for (std::size_t i = 0; i < fields.size(); ++i) {
            const int column = 1 + int(i) * 2;
            const FieldDef& f = fields[i];
            const int type = st.type(column);
            if (type == SQLITE_NULL) {
                if (layout.hasFoldColumn(i) && st.type(column + 1) != SQLITE_NULL)
                    report(id, "field '" + f.name + "' is blank but its index key is not");
                continue;
            }
            if (f.type == FieldType::String) {
                if (type != SQLITE_TEXT) {
                    report(id, "field '" + f.name + "' does not hold text");
                    continue;
                }
                const std::string value = st.text(column);
                const auto decoded = Utf8::decode(value);
                if (!decoded)
                    report(id, "field '" + f.name + "' is not UTF-8 text");
                else if (decoded->size() > std::size_t(f.size))
                    report(id, "field '" + f.name + "' is longer than its size");
                if (layout.hasFoldColumn(i) && st.text(column + 1) != CaseFold::fold(value))
                    report(id, "the index key of field '" + f.name + "' does not match its value");
            } else if (f.type == FieldType::Memo && type != SQLITE_BLOB) {
                report(id, "memo field '" + f.name + "' does not hold bytes");
            } else if (f.type == FieldType::Integer && type != SQLITE_INTEGER) {
                report(id, "field '" + f.name + "' does not hold a whole number");
            }
        }
    }
    if (rowProblems > kMaxRowProblems)
        problems.push_back("... and " + std::to_string(rowProblems - kMaxRowProblems) + " more problems in the rows");
    Statement recorded = db.prepare("SELECT value FROM tess_table WHERE key = 'rows'");
    if (!recorded.step() || recorded.integer(0) != count)
        problems.push_back("The recorded row count differs from the " + std::to_string(count) + " rows stored");
}

}  // namespace

std::vector<std::string> TableChecker::check(const std::string& path)
{
    std::string directory = std::filesystem::path(path).parent_path().string();
    if (directory.empty())
        directory = ".";
    SqliteDb db(path, true, false, ::access(directory.c_str(), W_OK) != 0);
    std::vector<std::string> problems;
    try {
        Statement st = db.prepare("PRAGMA integrity_check");
        while (st.step())
            if (st.text(0) != "ok")
                problems.push_back("File: " + st.text(0));
    } catch (const EngineError& e) {
        problems.push_back(e.text());
        return problems;
    }
    std::optional<TableLayout> layout;
    try {
        layout.emplace(TableLayout::read(db));
    } catch (const EngineError& e) {
        problems.push_back(e.message());
        return problems;
    }
    try {
        checkColumns(db, *layout, problems);
        checkIndexes(db, *layout, problems);
        if (problems.empty())
            checkRows(db, *layout, problems);
    } catch (const EngineError& e) {
        problems.push_back(e.text());
    }
    return problems;
}

}  // namespace storage
