#include "platform/storage/tablelayout.h"

#include "platform/storage/picture.h"
#include "platform/storage/sqlitedb.h"

#include <set>

namespace storage {

namespace {

constexpr const char* kFormat = "tessalind-table";
constexpr int kVersion = 1;
// The largest string field, in characters, and memo part kept in the row.
constexpr int kMaxStringSize = 255;
constexpr int kMaxMemoSize = 240;

std::string lower(std::string s)
{
    for (char& c : s)
        if (c >= 'A' && c <= 'Z')
            c = char(c + 32);
    return s;
}

[[noreturn]] void invalidSchema(const std::string& what) { throw EngineError(code::InvalidSchema, what); }

const char* typeText(FieldType type)
{
    switch (type) {
    case FieldType::String: return "string";
    case FieldType::Memo: return "memo";
    case FieldType::Integer: return "integer";
    }
    return "?";
}

std::optional<FieldType> typeFromText(const std::string& text)
{
    if (text == "string")
        return FieldType::String;
    if (text == "memo")
        return FieldType::Memo;
    if (text == "integer")
        return FieldType::Integer;
    return std::nullopt;
}

std::string sqlType(FieldType type)
{
    switch (type) {
    case FieldType::String: return "TEXT";
    case FieldType::Memo: return "BLOB";
    case FieldType::Integer: return "INTEGER";
    }
    return "";
}

[[noreturn]] void badFile(SqliteDb& db, const std::string& what)
{
    throw EngineError(code::BadFile, "The file is not a table or it is damaged", {"File: " + db.path(), "Detail: " + what});
}

}  // namespace

TableLayout::TableLayout(TableSchema schema) : m_schema(std::move(schema)) {}

int TableLayout::fieldIndex(const std::string& name) const
{
    const std::string wanted = lower(name);
    for (std::size_t i = 0; i < m_schema.fields.size(); ++i)
        if (lower(m_schema.fields[i].name) == wanted)
            return int(i);
    return -1;
}

bool TableLayout::hasFoldColumn(std::size_t field) const
{
    const std::string name = lower(m_schema.fields[field].name);
    for (const IndexDef& index : m_schema.indexes)
        if (index.caseInsensitive)
            for (const std::string& f : index.fields)
                if (lower(f) == name)
                    return true;
    return false;
}

std::string TableLayout::selectList(Memos memos) const
{
    std::string out = "id, pos";
    for (std::size_t i = 0; i < m_schema.fields.size(); ++i) {
        const bool skip = memos == Memos::Skip && m_schema.fields[i].type == FieldType::Memo;
        out += ", " + (skip ? std::string("NULL") : valueColumn(i));
    }
    return out;
}

void TableLayout::validate(const TableSchema& schema)
{
    if (schema.fields.empty())
        invalidSchema("A table needs at least one field");
    std::set<std::string> names;
    for (const FieldDef& f : schema.fields) {
        if (f.name.empty() || f.name.size() > 64)
            invalidSchema("A field name must have 1 to 64 characters");
        for (unsigned char c : f.name)
            if (c < 0x20 || c == 0x7F)
                invalidSchema("A field name cannot hold control characters");
        if (!names.insert(lower(f.name)).second)
            invalidSchema("Field '" + f.name + "' is defined twice");
        if (f.type == FieldType::String && (f.size < 1 || f.size > kMaxStringSize))
            invalidSchema("String field '" + f.name + "' must have a size from 1 to " + std::to_string(kMaxStringSize));
        if (f.type == FieldType::Memo && (f.size < 1 || f.size > kMaxMemoSize))
            invalidSchema("Memo field '" + f.name + "' must have a size from 1 to " + std::to_string(kMaxMemoSize));
    }
    std::set<std::string> indexNames;
    for (const IndexDef& index : schema.indexes) {
        if (index.name.empty() || !indexNames.insert(lower(index.name)).second)
            invalidSchema("Every index needs a name of its own");
        if (index.fields.empty())
            invalidSchema("Index '" + index.name + "' names no field");
        for (const std::string& f : index.fields) {
            bool found = false;
            for (const FieldDef& def : schema.fields)
                found = found || lower(def.name) == lower(f);
            if (!found)
                invalidSchema("Index '" + index.name + "' names an unknown field '" + f + "'");
        }
    }
    for (const PictureDef& p : schema.pictures) {
        bool found = false;
        for (const FieldDef& def : schema.fields)
            found = found || lower(def.name) == lower(p.field);
        if (!found)
            invalidSchema("A picture names an unknown field '" + p.field + "'");
        Picture{p.picture};
    }
}

void TableLayout::create(SqliteDb& db) const
{
    validate(m_schema);
    db.exec("CREATE TABLE tess_table(key TEXT PRIMARY KEY, value) WITHOUT ROWID;"
            "CREATE TABLE tess_fields(number INTEGER PRIMARY KEY, name TEXT NOT NULL, type TEXT NOT NULL,"
            " size INTEGER NOT NULL, required INTEGER NOT NULL);"
            "CREATE TABLE tess_indexes(number INTEGER PRIMARY KEY, name TEXT NOT NULL, fields TEXT NOT NULL,"
            " case_insensitive INTEGER NOT NULL, is_unique INTEGER NOT NULL);"
            "CREATE TABLE tess_pictures(field INTEGER PRIMARY KEY, picture TEXT NOT NULL);");
    {
        Statement st = db.prepare("INSERT INTO tess_table(key, value) VALUES (?, ?)");
        st.bindText(1, "format").bindText(2, kFormat);
        st.step();
    }
    {
        Statement st = db.prepare("INSERT INTO tess_table(key, value) VALUES (?, ?)");
        st.bindText(1, "version").bind(2, kVersion);
        st.step();
    }
    {
        Statement st = db.prepare("INSERT INTO tess_table(key, value) VALUES (?, ?)");
        st.bindText(1, "rows").bind(2, 0);
        st.step();
    }
    std::string columns = "id INTEGER PRIMARY KEY AUTOINCREMENT, pos INTEGER NOT NULL UNIQUE";
    for (std::size_t i = 0; i < m_schema.fields.size(); ++i) {
        const FieldDef& f = m_schema.fields[i];
        Statement st = db.prepare("INSERT INTO tess_fields(number, name, type, size, required) VALUES (?, ?, ?, ?, ?)");
        st.bind(1, std::int64_t(i + 1)).bindText(2, f.name).bindText(3, typeText(f.type)).bind(4, f.size).bind(5, f.required);
        st.step();
        columns += ", " + valueColumn(i) + " " + sqlType(f.type);
        if (hasFoldColumn(i))
            columns += ", " + foldColumn(i) + " TEXT";
    }
    db.exec("CREATE TABLE tess_rows(" + columns + ")");
    for (std::size_t n = 0; n < m_schema.indexes.size(); ++n) {
        const IndexDef& index = m_schema.indexes[n];
        std::string fieldNumbers, keys;
        for (const std::string& name : index.fields) {
            const int i = fieldIndex(name);
            fieldNumbers += (fieldNumbers.empty() ? "" : ",") + std::to_string(i + 1);
            keys += (keys.empty() ? "" : ", ") +
                    (index.caseInsensitive ? foldColumn(std::size_t(i)) : valueColumn(std::size_t(i)));
        }
        Statement st = db.prepare(
            "INSERT INTO tess_indexes(number, name, fields, case_insensitive, is_unique) VALUES (?, ?, ?, ?, ?)");
        st.bind(1, std::int64_t(n + 1)).bindText(2, index.name).bindText(3, fieldNumbers)
            .bind(4, index.caseInsensitive).bind(5, index.unique);
        st.step();
        const std::string sqlName = "tess_index_" + std::to_string(n + 1);
        if (index.unique)
            db.exec("CREATE UNIQUE INDEX " + sqlName + " ON tess_rows(" + keys + ")");
        else
            db.exec("CREATE INDEX " + sqlName + " ON tess_rows(" + keys + ", pos)");
    }
    for (const PictureDef& p : m_schema.pictures) {
        Statement st = db.prepare("INSERT INTO tess_pictures(field, picture) VALUES (?, ?)");
        st.bind(1, fieldIndex(p.field) + 1).bindText(2, p.picture);
        st.step();
    }
}

TableSchema TableLayout::read(SqliteDb& db)
{
    {
        Statement st = db.prepare("SELECT count(*) FROM sqlite_schema WHERE name IN "
                                  "('tess_table', 'tess_fields', 'tess_indexes', 'tess_pictures', 'tess_rows')");
        if (!st.step() || st.integer(0) != 5)
            badFile(db, "the tables of a table file are missing");
    }
    {
        Statement st = db.prepare("SELECT value FROM tess_table WHERE key = 'format'");
        if (!st.step() || st.text(0) != kFormat)
            badFile(db, "no table format mark");
    }
    {
        Statement st = db.prepare("SELECT value FROM tess_table WHERE key = 'version'");
        if (!st.step() || st.integer(0) != kVersion)
            badFile(db, "a table format of another version");
    }
    TableSchema schema;
    {
        Statement st = db.prepare("SELECT number, name, type, size, required FROM tess_fields ORDER BY number");
        while (st.step()) {
            if (st.integer(0) != std::int64_t(schema.fields.size() + 1))
                badFile(db, "the fields are not numbered in order");
            const auto type = typeFromText(st.text(2));
            if (!type)
                badFile(db, "field '" + st.text(1) + "' has an unknown type");
            schema.fields.push_back(FieldDef{st.text(1), *type, int(st.integer(3)), st.integer(4) != 0});
        }
    }
    const auto fieldName = [&](std::int64_t number) {
        if (number < 1 || number > std::int64_t(schema.fields.size()))
            badFile(db, "an index or picture names field number " + std::to_string(number));
        return schema.fields[std::size_t(number - 1)].name;
    };
    {
        Statement st = db.prepare("SELECT name, fields, case_insensitive, is_unique FROM tess_indexes ORDER BY number");
        while (st.step()) {
            IndexDef index{st.text(0), {}, st.integer(2) != 0, st.integer(3) != 0};
            const std::string list = st.text(1);
            std::size_t start = 0;
            while (start <= list.size()) {
                const std::size_t comma = std::min(list.find(',', start), list.size());
                const std::string item = list.substr(start, comma - start);
                if (item.empty() || item.find_first_not_of("0123456789") != std::string::npos || item.size() > 6)
                    badFile(db, "index '" + index.name + "' has a malformed field list");
                index.fields.push_back(fieldName(std::stoll(item)));
                start = comma + 1;
            }
            schema.indexes.push_back(std::move(index));
        }
    }
    {
        Statement st = db.prepare("SELECT field, picture FROM tess_pictures ORDER BY field");
        while (st.step())
            schema.pictures.push_back(PictureDef{fieldName(st.integer(0)), st.text(1)});
    }
    try {
        validate(schema);
    } catch (const EngineError& e) {
        badFile(db, e.text());
    }
    return schema;
}

}  // namespace storage
