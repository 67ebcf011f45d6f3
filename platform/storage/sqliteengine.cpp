#include "platform/storage/sqliteengine.h"

#include "platform/storage/engineconfig.h"
#include "platform/storage/engineplugin.h"
#include "platform/storage/picture.h"
#include "platform/storage/sqlitedb.h"
#include "platform/storage/sqlitetable.h"
#include "platform/storage/tablechecker.h"
#include "platform/storage/tablelayout.h"
#include "platform/storage/writetransaction.h"

#include <filesystem>
#include <sqlite3.h>
#include <unistd.h>

namespace storage {

namespace {

bool isDirectoryName(const std::string& name) { return name.find_first_of(":/") != std::string::npos; }

void checkTableName(const std::string& tableName)
{
    if (tableName.empty() || tableName == "." || tableName == ".." ||
        tableName.find_first_of(std::string("/\0", 2)) != std::string::npos)
        throw EngineError(code::InvalidValue, "Invalid table name", {"Table: " + tableName});
}

}  // namespace

SqliteEngine::SqliteEngine()
{
    if (const int rc = sqlite3_initialize(); rc != SQLITE_OK)
        throw EngineInitError(initcode::LibraryNotLoadable);
}

std::map<std::string, std::string> SqliteEngine::aliases() const { return EngineConfig::load().aliases(); }

bool SqliteEngine::usingDefaultConfiguration() const { return EngineConfig::load().isDefault(); }

void SqliteEngine::setAlias(const std::string& name, const std::string& directory)
{
    EngineConfig config = EngineConfig::load();
    config.setAlias(name, directory);
    config.save();
}

void SqliteEngine::removeAlias(const std::string& name)
{
    EngineConfig config = EngineConfig::load();
    config.removeAlias(name);
    config.save();
}

std::string SqliteEngine::resolveDatabase(const std::string& databaseName) const
{
    if (isDirectoryName(databaseName))
        return std::filesystem::absolute(databaseName).lexically_normal().string();
    const auto directory = EngineConfig::load().alias(databaseName);
    if (!directory)
        throw EngineError(code::AliasNotFound, "Unknown database alias", {"Alias: " + databaseName});
    return *directory;
}

SqliteEngine::Place SqliteEngine::place(const std::string& databaseName, const std::string& tableName) const
{
    checkTableName(tableName);
    const std::string directory = resolveDatabase(databaseName);
    Place p;
    p.path = (std::filesystem::path(directory) / tableName).string();
    p.context.push_back((isDirectoryName(databaseName) ? "Directory: " : "Alias: ") + databaseName);
    p.context.push_back("File: " + p.path);
    return p;
}

SqliteEngine::Place SqliteEngine::existingTable(const std::string& databaseName, const std::string& tableName) const
{
    Place p = place(databaseName, tableName);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(p.path, ec))
        throw EngineError(code::TableNotFound, "Table does not exist", p.context);
    return p;
}

bool SqliteEngine::tableExists(const std::string& databaseName, const std::string& tableName) const
{
    std::error_code ec;
    return std::filesystem::is_regular_file(place(databaseName, tableName).path, ec);
}

void SqliteEngine::createTable(const std::string& databaseName, const std::string& tableName,
                               const TableSchema& schema)
{
    TableLayout::validate(schema);
    const Place p = place(databaseName, tableName);
    std::error_code ec;
    if (std::filesystem::exists(p.path, ec))
        throw EngineError(code::TableExists, "The table already exists", p.context);
    std::filesystem::create_directories(std::filesystem::path(p.path).parent_path(), ec);
    if (ec)
        throw EngineError(code::FileError, "Cannot make the table's directory: " + ec.message(), p.context);
    // The table is made under another name and renamed into place, so that
    // nobody ever opens half a table.
    const std::string temp = p.path + ".new-" + std::to_string(::getpid());
    std::filesystem::remove(temp, ec);
    try {
        {
            SqliteDb db(temp, false, true);
            db.exec("PRAGMA journal_mode=DELETE");
            db.exec("PRAGMA synchronous=FULL");
            WriteTransaction transaction(db);
            TableLayout(schema).create(db);
            transaction.commit();
            db.exec("PRAGMA journal_mode=WAL");
        }
        if (std::filesystem::exists(p.path, ec))
            throw EngineError(code::TableExists, "The table already exists", p.context);
        std::filesystem::rename(temp, p.path, ec);
        if (ec)
            throw EngineError(code::FileError, "Cannot put the new table in place: " + ec.message(), p.context);
    } catch (...) {
        std::filesystem::remove(temp, ec);
        std::filesystem::remove(temp + "-wal", ec);
        std::filesystem::remove(temp + "-shm", ec);
        throw;
    }
}

std::unique_ptr<Table> SqliteEngine::openTable(const std::string& databaseName, const std::string& tableName,
                                               OpenMode mode)
{
    const Place p = existingTable(databaseName, tableName);
    return std::make_unique<SqliteTable>(tableName, p.path, mode, p.context);
}

void SqliteEngine::setPicture(const std::string& databaseName, const std::string& tableName,
                              const std::string& field, const std::string& picture)
{
    const Place p = existingTable(databaseName, tableName);
    SqliteDb db(p.path, false, false);
    db.exec("PRAGMA synchronous=FULL");
    TableLayout layout(TableLayout::read(db));
    const int index = layout.fieldIndex(field);
    if (index < 0) {
        std::vector<std::string> context = p.context;
        context.push_back("Field: " + field);
        throw EngineError(code::FieldNotFound, "The table has no such field", context);
    }
    if (!picture.empty())
        Picture{picture};  // refuses a malformed picture before anything is stored
    WriteTransaction transaction(db);
    if (picture.empty()) {
        Statement st = db.prepare("DELETE FROM tess_pictures WHERE field = ?");
        st.bind(1, index + 1);
        st.step();
    } else {
        Statement st = db.prepare("INSERT OR REPLACE INTO tess_pictures(field, picture) VALUES (?, ?)");
        st.bind(1, index + 1).bindText(2, picture);
        st.step();
    }
    transaction.commit();
}

std::vector<std::string> SqliteEngine::checkTable(const std::string& databaseName, const std::string& tableName)
{
    return TableChecker::check(existingTable(databaseName, tableName).path);
}

}  // namespace storage

extern "C" __attribute__((visibility("default"))) std::uint32_t tessalind_engine_interface_version()
{
    return storage::kEngineInterfaceVersion;
}

extern "C" __attribute__((visibility("default"))) storage::Engine* tessalind_engine_start()
{
    // Made once and never destroyed: tables may close after static destruction.
    static storage::Engine* const engine = new storage::SqliteEngine;
    return engine;
}
