#include "platform/storage/sqlitetable.h"

#include "platform/storage/casefold.h"
#include "platform/storage/rowlocks.h"
#include "platform/storage/sqlitedb.h"
#include "platform/storage/utf8.h"
#include "platform/storage/writetransaction.h"

#include <charconv>
#include <filesystem>
#include <limits>
#include <sqlite3.h>
#include <unistd.h>

namespace storage {

namespace {

// Room left between the places of neighbouring rows, so that about twenty
// rows can be inserted at one spot before the places are spread out again.
constexpr std::int64_t kGap = std::int64_t(1) << 20;

// Greater than the bytes of any well-formed UTF-8 text: "p" followed by this
// bounds every text that begins with "p".
const std::string kAfterEveryText = "\xF4\x90";

std::optional<std::int64_t> parseInteger(const std::string& text)
{
    std::int64_t value = 0;
    const char* begin = text.data();
    const char* end = begin + text.size();
    if (begin != end && *begin == '+')
        ++begin;
    const auto [p, ec] = std::from_chars(begin, end, value);
    if (ec != std::errc() || p != end || begin == end)
        return std::nullopt;
    return value;
}

std::string columnText(sqlite3_value* v)
{
    if (sqlite3_value_type(v) == SQLITE_NULL)
        return {};
    const auto* p = static_cast<const char*>(sqlite3_value_blob(v));
    return p ? std::string(p, std::size_t(sqlite3_value_bytes(v))) : std::string();
}

// tess_fold(text): the folded text, for case-insensitive searches of fields
// no index covers.
void foldFunction(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const std::string folded = CaseFold::fold(columnText(argv[0]));
    sqlite3_result_text64(ctx, folded.data(), folded.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
}

// tess_match(value, sought, caseInsensitive, partial): the byte comparison of
// locate for memos and integers.
void matchFunction(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    const bool ci = sqlite3_value_int(argv[2]) != 0;
    const bool partial = sqlite3_value_int(argv[3]) != 0;
    std::string value = columnText(argv[0]);
    std::string sought = columnText(argv[1]);
    if (ci) {
        value = CaseFold::fold(value);
        sought = CaseFold::fold(sought);
    }
    const bool match = partial ? value.compare(0, sought.size(), sought) == 0 : value == sought;
    sqlite3_result_int(ctx, match ? 1 : 0);
}

bool writable(const std::string& path) { return ::access(path.c_str(), W_OK) == 0; }

std::string directoryOf(const std::string& path)
{
    const std::string dir = std::filesystem::path(path).parent_path().string();
    return dir.empty() ? "." : dir;
}

}  // namespace

SqliteTable::SqliteTable(std::string name, std::string path, OpenMode mode, std::vector<std::string> context)
    : m_name(std::move(name)), m_path(std::move(path)), m_readOnly(mode == OpenMode::ReadOnly),
      m_context(std::move(context))
{
    const bool dirWritable = writable(directoryOf(m_path));
    if (!m_readOnly && (!writable(m_path) || !dirWritable))
        fail(code::TableReadOnly, "The table is read only");
    // In a directory nobody here may write, SQLite cannot make the files of
    // its shared reading; the file is then read as it stands.
    m_db = std::make_unique<SqliteDb>(m_path, m_readOnly, false, m_readOnly && !dirWritable);
    sqlite3_create_function_v2(m_db->handle(), "tess_fold", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                               foldFunction, nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(m_db->handle(), "tess_match", 4, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                               matchFunction, nullptr, nullptr, nullptr);
    m_layout = std::make_unique<TableLayout>(TableLayout::read(*m_db));
    if (!m_readOnly) {
        m_db->exec("PRAGMA journal_mode=WAL");
        m_db->exec("PRAGMA synchronous=FULL");
        m_locks = RowLocks::forFile(m_path + kLockSuffix);
    }
}

SqliteTable::~SqliteTable()
{
    if (m_locks)
        for (RowId id : m_held)
            m_locks->unlock(id);
}

void SqliteTable::fail(std::uint16_t code, const std::string& text) const
{
    throw EngineError(code, text, m_context);
}

std::vector<Row> SqliteTable::rows(Statement& st, Memos memos) const
{
    std::vector<Row> out;
    const std::vector<FieldDef>& fields = m_layout->schema().fields;
    while (st.step()) {
        Row row;
        row.id = st.integer(0);
        m_places[row.id] = st.integer(1);
        row.values.reserve(fields.size());
        for (std::size_t i = 0; i < fields.size(); ++i) {
            const int column = int(i) + 2;
            if (st.isNull(column) || (memos == Memos::Skip && fields[i].type == FieldType::Memo)) {
                row.values.emplace_back(std::nullopt);
                continue;
            }
            switch (fields[i].type) {
            case FieldType::String: row.values.emplace_back(st.text(column)); break;
            case FieldType::Memo: row.values.emplace_back(st.blob(column)); break;
            case FieldType::Integer: row.values.emplace_back(std::to_string(st.integer(column))); break;
            }
        }
        out.push_back(std::move(row));
    }
    // Places of rows long gone are forgotten now and then so that the map
    // stays about the size of what a cursor has looked at.
    if (m_places.size() > 200000)
        m_places.clear();
    return out;
}

std::optional<Row> SqliteTable::one(Statement& st, Memos memos) const
{
    std::vector<Row> found = rows(st, memos);
    if (found.empty())
        return std::nullopt;
    return std::move(found.front());
}

std::optional<std::int64_t> SqliteTable::placeOf(RowId id) const
{
    {
        Statement st = m_db->prepare("SELECT pos FROM tess_rows WHERE id = ?");
        st.bind(1, id);
        if (st.step()) {
            const std::int64_t place = st.integer(0);
            m_places[id] = place;
            return place;
        }
    }
    const auto it = m_places.find(id);
    if (it == m_places.end())
        return std::nullopt;
    return it->second;
}

std::int64_t SqliteTable::requirePlace(RowId id) const
{
    const auto place = placeOf(id);
    if (!place)
        fail(code::RowDeleted, "The row has been deleted by another program");
    return *place;
}

std::int64_t SqliteTable::rowCount() const
{
    Statement st = m_db->prepare("SELECT value FROM tess_table WHERE key = 'rows'");
    return st.step() ? st.integer(0) : -1;
}

std::optional<Row> SqliteTable::first(Memos memos) const
{
    Statement st = m_db->prepare("SELECT " + m_layout->selectList(memos) + " FROM tess_rows ORDER BY pos LIMIT 1");
    return one(st, memos);
}

std::optional<Row> SqliteTable::last(Memos memos) const
{
    Statement st =
        m_db->prepare("SELECT " + m_layout->selectList(memos) + " FROM tess_rows ORDER BY pos DESC LIMIT 1");
    return one(st, memos);
}

std::optional<Row> SqliteTable::read(RowId id, Memos memos) const
{
    Statement st = m_db->prepare("SELECT " + m_layout->selectList(memos) + " FROM tess_rows WHERE id = ?");
    st.bind(1, id);
    return one(st, memos);
}

std::vector<Row> SqliteTable::after(RowId id, int count, Memos memos) const
{
    const auto place = placeOf(id);
    if (!place || count <= 0)
        return {};
    Statement st = m_db->prepare("SELECT " + m_layout->selectList(memos) +
                                 " FROM tess_rows WHERE pos > ? ORDER BY pos LIMIT ?");
    st.bind(1, *place).bind(2, count);
    return rows(st, memos);
}

std::vector<Row> SqliteTable::before(RowId id, int count, Memos memos) const
{
    const auto place = placeOf(id);
    if (!place || count <= 0)
        return {};
    Statement st = m_db->prepare("SELECT " + m_layout->selectList(memos) +
                                 " FROM tess_rows WHERE pos < ? ORDER BY pos DESC LIMIT ?");
    st.bind(1, *place).bind(2, count);
    return rows(st, memos);
}

std::optional<Row> SqliteTable::skip(RowId id, std::int64_t n, std::int64_t* moved, Memos memos) const
{
    std::int64_t dummy = 0;
    std::int64_t& done = moved ? *moved : dummy;
    done = 0;
    const auto place = placeOf(id);
    if (!place)
        return std::nullopt;
    if (n == 0)
        return read(id, memos);
    const bool forward = n > 0;
    // |n| without overflow for the most negative n.
    const std::int64_t distance = forward ? n : (n == std::numeric_limits<std::int64_t>::min()
                                                      ? std::numeric_limits<std::int64_t>::max()
                                                      : -n);
    {
        Statement st = m_db->prepare("SELECT " + m_layout->selectList(memos) + " FROM tess_rows WHERE pos " +
                                     (forward ? "> ? ORDER BY pos" : "< ? ORDER BY pos DESC") + " LIMIT 1 OFFSET ?");
        st.bind(1, *place).bind(2, distance - 1);
        if (auto row = one(st, memos)) {
            done = n;
            return row;
        }
    }
    // The table ends first: go to its end and say how far that was.
    std::int64_t remaining = 0;
    {
        Statement st = m_db->prepare(forward ? "SELECT count(*) FROM tess_rows WHERE pos > ?"
                                             : "SELECT count(*) FROM tess_rows WHERE pos < ?");
        st.bind(1, *place);
        remaining = st.step() ? st.integer(0) : 0;
    }
    if (remaining == 0)
        return read(id, memos);
    done = forward ? remaining : -remaining;
    return forward ? last(memos) : first(memos);
}

std::int64_t SqliteTable::rowNumber(RowId id) const
{
    const auto place = placeOf(id);
    if (!place)
        return 0;
    Statement st = m_db->prepare("SELECT count(*) FROM tess_rows WHERE pos < ?");
    st.bind(1, *place);
    return st.step() ? st.integer(0) + 1 : 0;
}

std::optional<Row> SqliteTable::rowAt(std::int64_t number, Memos memos) const
{
    if (number < 1)
        return std::nullopt;
    Statement st =
        m_db->prepare("SELECT " + m_layout->selectList(memos) + " FROM tess_rows ORDER BY pos LIMIT 1 OFFSET ?");
    st.bind(1, number - 1);
    return one(st, memos);
}

std::optional<RowId> SqliteTable::locate(const std::vector<int>& fields, const std::vector<std::string>& values,
                                         LocateOptions options, std::optional<RowId> after) const
{
    if (fields.size() != values.size())
        fail(code::InvalidValue, "Locate needs one value for each field");
    const std::vector<FieldDef>& defs = m_layout->schema().fields;
    std::string where;
    // Each binding: text, blob or integer, in the order of the placeholders.
    struct Binding {
        enum Kind { Text, Integer, Flag } kind;
        std::string text;
        std::int64_t number = 0;
    };
    std::vector<Binding> bindings;
    const auto add = [&](const std::string& condition) { where += (where.empty() ? "" : " AND ") + condition; };
    for (std::size_t n = 0; n < fields.size(); ++n) {
        const int f = fields[n];
        if (f < 0 || std::size_t(f) >= defs.size())
            fail(code::FieldNotFound, "Locate names a field the table does not have");
        const std::size_t i = std::size_t(f);
        const std::string& sought = values[n];
        const std::string column = TableLayout::valueColumn(i);
        if (defs[i].type == FieldType::String) {
            if (sought.empty()) {
                if (!options.partialKey)
                    add(column + " IS NULL");
                continue;
            }
            std::string key = column;
            std::string text = sought;
            if (options.caseInsensitive) {
                key = m_layout->hasFoldColumn(i) ? TableLayout::foldColumn(i) : "tess_fold(" + column + ")";
                text = CaseFold::fold(sought);
            } else if (m_layout->hasFoldColumn(i)) {
                // A value that matches with its case matches folded too, and
                // the folded key has an index: it narrows the search first.
                const std::string fold = TableLayout::foldColumn(i);
                const std::string folded = CaseFold::fold(sought);
                if (options.partialKey) {
                    add(fold + " >= ? AND " + fold + " < ?");
                    bindings.push_back({Binding::Text, folded});
                    bindings.push_back({Binding::Text, folded + kAfterEveryText});
                } else {
                    add(fold + " = ?");
                    bindings.push_back({Binding::Text, folded});
                }
            }
            if (options.partialKey) {
                add(key + " >= ? AND " + key + " < ?");
                bindings.push_back({Binding::Text, text});
                bindings.push_back({Binding::Text, text + kAfterEveryText});
            } else {
                add(key + " = ?");
                bindings.push_back({Binding::Text, text});
            }
        } else if (defs[i].type == FieldType::Integer && !options.partialKey) {
            if (sought.empty()) {
                add(column + " IS NULL");
                continue;
            }
            const auto number = parseInteger(sought);
            if (!number)
                return std::nullopt;  // no integer field holds what is not a number
            add(column + " = ?");
            bindings.push_back({Binding::Integer, {}, *number});
        } else {
            const std::string value = defs[i].type == FieldType::Integer ? "CAST(" + column + " AS TEXT)" : column;
            if (sought.empty() && !options.partialKey) {
                add(column + " IS NULL");
                continue;
            }
            add("tess_match(" + value + ", ?, ?, ?)");
            bindings.push_back({Binding::Text, sought});
            bindings.push_back({Binding::Flag, {}, options.caseInsensitive ? 1 : 0});
            bindings.push_back({Binding::Flag, {}, options.partialKey ? 1 : 0});
        }
    }
    std::optional<std::int64_t> afterPlace;
    if (after) {
        afterPlace = placeOf(*after);
        if (!afterPlace)
            return std::nullopt;
        add("pos > ?");
        bindings.push_back({Binding::Integer, {}, *afterPlace});
    }
    Statement st = m_db->prepare("SELECT id, pos FROM tess_rows" + (where.empty() ? "" : " WHERE " + where) +
                                 " ORDER BY pos LIMIT 1");
    for (std::size_t b = 0; b < bindings.size(); ++b) {
        const int index = int(b) + 1;
        if (bindings[b].kind == Binding::Text)
            st.bindText(index, bindings[b].text);
        else
            st.bind(index, bindings[b].number);
    }
    if (!st.step())
        return std::nullopt;
    m_places[st.integer(0)] = st.integer(1);
    return st.integer(0);
}

void SqliteTable::refuseWhenReadOnly() const
{
    if (m_readOnly)
        fail(code::TableReadOnly, "The table is open read only");
}

void SqliteTable::refuseWhenLockedElsewhere(RowId id) const
{
    if (!m_held.count(id) && m_locks->heldByOtherProcess(id))
        fail(code::RowLocked, "The row is being edited in another program");
}

void SqliteTable::checkValues(const std::vector<Value>& values) const
{
    const std::vector<FieldDef>& defs = m_layout->schema().fields;
    if (values.size() != defs.size())
        fail(code::InvalidValue, "A row of " + std::to_string(values.size()) + " values for a table of " +
                                     std::to_string(defs.size()) + " fields");
    for (std::size_t i = 0; i < defs.size(); ++i) {
        if (!values[i])
            continue;
        const std::string& v = *values[i];
        if (defs[i].type == FieldType::String) {
            const auto text = Utf8::decode(v);
            if (!text)
                fail(code::InvalidValue, "Field '" + defs[i].name + "' is given bytes that are not UTF-8 text");
            for (char32_t c : *text)
                if (c < 0x20 && c != '\t')
                    fail(code::InvalidValue, "Field '" + defs[i].name + "' cannot hold line breaks or control characters");
            if (text->size() > std::size_t(defs[i].size))
                fail(code::ValueTooLong, "Value too long for field '" + defs[i].name + "': " +
                                             std::to_string(text->size()) + " characters, the field holds " +
                                             std::to_string(defs[i].size));
        } else if (defs[i].type == FieldType::Integer && !v.empty() && !parseInteger(v)) {
            fail(code::InvalidValue, "Field '" + defs[i].name + "' holds whole numbers only, not '" + v + "'");
        }
    }
}

std::string SqliteTable::assignList() const
{
    std::string out;
    for (std::size_t i = 0; i < m_layout->fieldCount(); ++i) {
        out += (out.empty() ? "" : ", ") + TableLayout::valueColumn(i) + " = ?";
        if (m_layout->hasFoldColumn(i))
            out += ", " + TableLayout::foldColumn(i) + " = ?";
    }
    return out;
}

int SqliteTable::bindValues(Statement& st, const std::vector<Value>& values, int parameter) const
{
    const std::vector<FieldDef>& defs = m_layout->schema().fields;
    for (std::size_t i = 0; i < defs.size(); ++i) {
        const Value& v = values[i];
        const bool blank = !v || v->empty();
        if (blank)
            st.bindNull(parameter++);
        else if (defs[i].type == FieldType::Memo)
            st.bindBlob(parameter++, *v);
        else if (defs[i].type == FieldType::Integer)
            st.bind(parameter++, *parseInteger(*v));
        else
            st.bindText(parameter++, *v);
        if (m_layout->hasFoldColumn(i)) {
            if (blank)
                st.bindNull(parameter++);
            else
                st.bindText(parameter++, CaseFold::fold(*v));
        }
    }
    return parameter;
}

void SqliteTable::renumber()
{
    // Two steps keep `pos` unique at every row SQLite updates: first every
    // place becomes minus its rank, then the ranks are spread out.
    m_db->exec("WITH ranked AS (SELECT id, row_number() OVER (ORDER BY pos) AS n FROM tess_rows) "
               "UPDATE tess_rows SET pos = -ranked.n FROM ranked WHERE tess_rows.id = ranked.id");
    m_db->exec("UPDATE tess_rows SET pos = -pos * " + std::to_string(kGap));
    // Remembered places of rows still there are read again when needed;
    // those of gone rows no longer mean anything.
    m_places.clear();
}

RowId SqliteTable::insert(std::optional<RowId> before, const std::vector<Value>& values)
{
    refuseWhenReadOnly();
    checkValues(values);
    WriteTransaction transaction(*m_db);
    std::int64_t place = 0;
    for (int attempt = 0;; ++attempt) {
        bool room = true;
        if (before) {
            const std::int64_t next = requirePlace(*before);
            Statement st = m_db->prepare("SELECT max(pos) FROM tess_rows WHERE pos < ?");
            st.bind(1, next);
            if (!st.step() || st.isNull(0)) {
                room = next > std::numeric_limits<std::int64_t>::min() + kGap;
                place = next - kGap;
            } else {
                const std::int64_t previous = st.integer(0);
                room = next - previous >= 2;
                place = previous + (next - previous) / 2;
            }
        } else {
            Statement st = m_db->prepare("SELECT max(pos) FROM tess_rows");
            if (!st.step() || st.isNull(0)) {
                place = kGap;
            } else {
                room = st.integer(0) < std::numeric_limits<std::int64_t>::max() - kGap;
                place = st.integer(0) + kGap;
            }
        }
        if (room)
            break;
        if (attempt > 0)
            fail(code::FileError, "No place is left in the table's order");
        renumber();
    }
    std::string columns = "pos", marks = "?";
    for (std::size_t i = 0; i < m_layout->fieldCount(); ++i) {
        columns += ", " + TableLayout::valueColumn(i);
        marks += ", ?";
        if (m_layout->hasFoldColumn(i)) {
            columns += ", " + TableLayout::foldColumn(i);
            marks += ", ?";
        }
    }
    RowId id = 0;
    {
        Statement st = m_db->prepare("INSERT INTO tess_rows(" + columns + ") VALUES (" + marks + ")");
        st.bind(1, place);
        bindValues(st, values, 2);
        st.step();
        id = sqlite3_last_insert_rowid(m_db->handle());
    }
    m_db->exec("UPDATE tess_table SET value = value + 1 WHERE key = 'rows'");
    transaction.commit();
    m_places[id] = place;
    return id;
}

void SqliteTable::update(RowId id, const std::vector<Value>& values)
{
    refuseWhenReadOnly();
    checkValues(values);
    refuseWhenLockedElsewhere(id);
    WriteTransaction transaction(*m_db);
    {
        Statement st = m_db->prepare("UPDATE tess_rows SET " + assignList() + " WHERE id = ?");
        st.bind(bindValues(st, values, 1), id);
        st.step();
    }
    if (sqlite3_changes(m_db->handle()) == 0)
        fail(code::RowDeleted, "The row has been deleted by another program");
    transaction.commit();
}

void SqliteTable::remove(RowId id)
{
    refuseWhenReadOnly();
    refuseWhenLockedElsewhere(id);
    WriteTransaction transaction(*m_db);
    {
        Statement st = m_db->prepare("DELETE FROM tess_rows WHERE id = ?");
        st.bind(1, id);
        st.step();
    }
    if (sqlite3_changes(m_db->handle()) == 0)
        fail(code::RowDeleted, "The row has been deleted by another program");
    m_db->exec("UPDATE tess_table SET value = value - 1 WHERE key = 'rows'");
    transaction.commit();
    unlock(id);
}

void SqliteTable::lock(RowId id)
{
    refuseWhenReadOnly();
    if (m_held.count(id))
        return;
    if (!m_locks->tryLock(id))
        fail(code::RowLocked, "The row is being edited in another program");
    m_held.insert(id);
}

void SqliteTable::unlock(RowId id)
{
    if (m_held.erase(id) && m_locks)
        m_locks->unlock(id);
}

}  // namespace storage
