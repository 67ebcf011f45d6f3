#pragma once
// The storage engine as the program sees it.
//
// The engine itself is a shared library (libtessalind-engine.so) loaded at the
// first call of Engine::instance(); this header is the program's side of it and
// hides the library's C interface. Nothing here knows of the program's tables:
// a table is a file of typed fields, stored rows in table order, secondary
// indexes and picture masks.
//
// Contract shared by every call:
//  - Errors are raised as EngineError (engine code, text, context lines), or as
//    EngineInitError when the library cannot be loaded or started.
//  - A row is named by its RowId: stable for the row's life, never reused in a
//    table, and usable as a bookmark across processes.
//  - Table order is stored order: a row inserted before another stays there, an
//    appended row goes to the end. Nothing here loads a whole table: navigation,
//    counting, row numbers and locate cost about the same on 100 rows as on
//    100,000.
//  - Every write (insert, update, remove) is one durable transaction: once the
//    call returns, the row survives the death of the process.
//  - Every read sees the latest committed state of the file, including changes
//    made by other processes.

#include "platform/exception.h"

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace storage {

// Engine error codes the program reacts to. Others may be raised; their code
// and text are shown as they are.
namespace code {
constexpr std::uint16_t AliasNotFound = 0x2501;
constexpr std::uint16_t TableNotFound = 0x2502;
constexpr std::uint16_t TableReadOnly = 0x2604;   // open again read-only
constexpr std::uint16_t RowLocked = 0x2901;       // another process holds the row
constexpr std::uint16_t InsufficientRights = 0x2902;
constexpr std::uint16_t RowDeleted = 0x2205;      // another process deleted the row
constexpr std::uint16_t ValueTooLong = 0x2E01;    // a string longer than its field
constexpr std::uint16_t BadFile = 0x2102;         // not a table file, or damaged
// Further codes of the engine, for callers that want to tell them apart.
constexpr std::uint16_t FileError = 0x2101;       // a file could not be read or written
constexpr std::uint16_t TableExists = 0x2503;
constexpr std::uint16_t FieldNotFound = 0x2504;
constexpr std::uint16_t KeyViolation = 0x2601;    // a unique index refused the row
constexpr std::uint16_t TableBusy = 0x2903;       // another process kept the file busy too long
constexpr std::uint16_t InvalidValue = 0x2E02;    // not UTF-8, not an integer, wrong field count
constexpr std::uint16_t InvalidSchema = 0x2E03;   // a field, index or picture definition
constexpr std::uint16_t InvalidPicture = 0x2E04;
constexpr std::uint16_t InvalidConfiguration = 0x2E05;
}  // namespace code

// Codes of EngineInitError: why the library could not be used.
namespace initcode {
constexpr std::uint16_t LibraryNotFound = 0x3E01;
constexpr std::uint16_t LibraryNotLoadable = 0x3E02;  // found, but the loader refused it
constexpr std::uint16_t NoEntryPoint = 0x3E03;
constexpr std::uint16_t WrongVersion = 0x3E04;
}  // namespace initcode

class EngineError : public Exception {
public:
    // message() is the text followed by each context line on a line of its own;
    // when text is empty the text is "Database engine error $XXXX".
    EngineError(std::uint16_t code, std::string text, std::vector<std::string> context = {});
    std::uint16_t code() const { return m_code; }
    const std::string& text() const { return m_text; }
    const std::vector<std::string>& context() const { return m_context; }

private:
    std::uint16_t m_code;
    std::string m_text;
    std::vector<std::string> m_context;
};

// "An error occurred while attempting to initialize the database engine (error $XXXX)"
class EngineInitError : public Exception {
public:
    explicit EngineInitError(std::uint16_t code);
    std::uint16_t code() const { return m_code; }

private:
    std::uint16_t m_code;
};

enum class FieldType { String, Memo, Integer };
// The type's name in messages: "String", "Memo", "Integer".
const char* fieldTypeName(FieldType type);

struct FieldDef {
    std::string name;
    FieldType type = FieldType::String;
    int size = 0;          // characters for String; bytes kept in the row for Memo
    bool required = false;
};

struct IndexDef {
    std::string name;
    std::vector<std::string> fields;
    bool caseInsensitive = true;
    bool unique = false;
};

// A stored picture validity check: the field's value as text must match
// `picture` (the Paradox picture language).
struct PictureDef {
    std::string field;
    std::string picture;
};

struct TableSchema {
    std::vector<FieldDef> fields;
    std::vector<IndexDef> indexes;
    std::vector<PictureDef> pictures;
};

// A field's value: nullopt is "no value" (a blank field). Strings are UTF-8;
// a memo is its stored bytes as they are; an integer is its decimal text.
using Value = std::optional<std::string>;
using RowId = std::int64_t;

struct Row {
    RowId id = 0;
    std::vector<Value> values;  // one per field, in field order
};

// Whether rows read for navigation carry their memo values. A grid showing a
// window of rows does not need them; the current row of a cursor does.
enum class Memos { Load, Skip };

enum class OpenMode { ReadWrite, ReadOnly };

struct LocateOptions {
    bool caseInsensitive = false;
    bool partialKey = false;  // a value matches when the field's value begins with it
};

class Table {
public:
    virtual ~Table() = default;

    virtual const std::string& name() const = 0;      // as opened: "Memorizar.DB"
    virtual const std::string& path() const = 0;      // the file on disk
    virtual bool readOnly() const = 0;
    virtual const TableSchema& schema() const = 0;

    virtual std::int64_t rowCount() const = 0;

    virtual std::optional<Row> first(Memos memos = Memos::Load) const = 0;
    virtual std::optional<Row> last(Memos memos = Memos::Load) const = 0;
    virtual std::optional<Row> read(RowId id, Memos memos = Memos::Load) const = 0;  // nullopt: gone
    // Up to `count` rows after (or before) `id` in table order, nearest first.
    // `id` itself need not exist any more: its place in the order is kept.
    virtual std::vector<Row> after(RowId id, int count, Memos memos = Memos::Skip) const = 0;
    virtual std::vector<Row> before(RowId id, int count, Memos memos = Memos::Skip) const = 0;
    // The row `n` places away from `id` (n may be negative), or the last (first)
    // row when the table ends first; `moved` gets the places actually moved.
    virtual std::optional<Row> skip(RowId id, std::int64_t n, std::int64_t* moved,
                                    Memos memos = Memos::Load) const = 0;
    // 1-based sequence number of a row in table order, and its inverse.
    virtual std::int64_t rowNumber(RowId id) const = 0;
    virtual std::optional<Row> rowAt(std::int64_t number, Memos memos = Memos::Load) const = 0;

    // The first row in table order (after `after` when given) whose fields match.
    // `fields` are field indexes; `values` the values sought, one per field.
    virtual std::optional<RowId> locate(const std::vector<int>& fields,
                                        const std::vector<std::string>& values,
                                        LocateOptions options,
                                        std::optional<RowId> after = std::nullopt) const = 0;

    // Writes. A string longer than its field, a memo or integer that is not
    // valid, a required field without a value is NOT checked here: required
    // fields are the cursor's business; too long strings raise ValueTooLong.
    // `before` nullopt appends at the end.
    virtual RowId insert(std::optional<RowId> before, const std::vector<Value>& values) = 0;
    virtual void update(RowId id, const std::vector<Value>& values) = 0;  // RowDeleted, RowLocked
    virtual void remove(RowId id) = 0;                                    // RowDeleted, RowLocked

    // Row locks between processes; a lock another process holds raises
    // RowLocked. Locks go when unlocked, when the table is closed, or when the
    // process dies. A process's own updates and removes go through its locks.
    virtual void lock(RowId id) = 0;
    virtual void unlock(RowId id) = 0;
};

class Engine {
public:
    // Loads and starts the engine library at the first call (EngineInitError).
    static Engine& instance();
    virtual ~Engine() = default;

    // Aliases of the configuration: name -> directory. With no configuration
    // file the built-in default holds "Tessalind" over the XDG data directory.
    virtual std::map<std::string, std::string> aliases() const = 0;
    virtual bool usingDefaultConfiguration() const = 0;
    virtual void setAlias(const std::string& name, const std::string& directory) = 0;
    virtual void removeAlias(const std::string& name) = 0;
    // The directory of a database name: an alias, or itself when it has ':' or '/'.
    virtual std::string resolveDatabase(const std::string& databaseName) const = 0;

    virtual bool tableExists(const std::string& databaseName, const std::string& tableName) const = 0;
    virtual void createTable(const std::string& databaseName, const std::string& tableName,
                             const TableSchema& schema) = 0;
    virtual std::unique_ptr<Table> openTable(const std::string& databaseName,
                                             const std::string& tableName, OpenMode mode) = 0;
    virtual void setPicture(const std::string& databaseName, const std::string& tableName,
                            const std::string& field, const std::string& picture) = 0;
    // Integrity problems of a table file, one line each; empty when sound.
    virtual std::vector<std::string> checkTable(const std::string& databaseName,
                                                const std::string& tableName) = 0;
};

}  // namespace storage
