// The engine library through the program's interface: table order, cursor
// reads, locate, writes and their refusals, errors with their context lines.
#include "platform/storage/storage.h"
#include "tests/support/tempdir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace storage;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

TableSchema textsLikeSchema()
{
    TableSchema s;
    s.fields = {{"Titulo", FieldType::String, 10, true},
                {"Autor", FieldType::String, 8, true},
                {"Texto", FieldType::Memo, 240, true},
                {"Ano", FieldType::Integer, 0, false}};
    s.indexes = {{"ByTitulo", {"Titulo"}, true, false}, {"ByAutor", {"Autor"}, true, false}};
    return s;
}

std::vector<Value> row(const std::string& title, const std::string& author = "a", const Value& text = "t",
                       const Value& year = std::nullopt)
{
    return {title, author, text, year};
}

class TableTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        engine().createTable(dir.path(), "T.DB", textsLikeSchema());
        table = engine().openTable(dir.path(), "T.DB", OpenMode::ReadWrite);
    }
    static Engine& engine() { return Engine::instance(); }
    std::vector<std::string> titles(Memos memos = Memos::Skip)
    {
        std::vector<std::string> out;
        std::optional<Row> r = table->first(memos);
        while (r) {
            out.push_back(r->values[0].value_or("<blank>"));
            std::vector<Row> next = table->after(r->id, 1, memos);
            r = next.empty() ? std::nullopt : std::optional<Row>(next.front());
        }
        return out;
    }
    std::string title(const std::optional<Row>& r) { return r ? r->values[0].value_or("<blank>") : "<none>"; }

    TempDir dir;
    std::unique_ptr<Table> table;
};

TEST_F(TableTest, RowsKeepStoredOrderWithInsertsBeforeAndAppendsAtTheEnd)
{
    const RowId b = table->insert(std::nullopt, row("B"));
    table->insert(std::nullopt, row("D"));
    table->insert(b, row("A"));
    const RowId d = table->last()->id;
    table->insert(d, row("C"));
    EXPECT_THAT(titles(), ElementsAre("A", "B", "C", "D"));
    EXPECT_EQ(table->rowCount(), 4);
    EXPECT_EQ(table->rowNumber(d), 4);
    EXPECT_EQ(title(table->rowAt(3)), "C");
    EXPECT_EQ(title(table->rowAt(5)), "<none>");
    EXPECT_EQ(title(table->rowAt(0)), "<none>");
}

TEST_F(TableTest, ManyInsertsAtOneSpotSpreadThePlacesAndKeepTheOrder)
{
    const RowId end = table->insert(std::nullopt, row("end"));
    table->insert(std::nullopt, row("after"));
    // Each new row goes right before "end", so it lands after the one before:
    // far more than the room between two places allows without spreading.
    std::vector<std::string> expected;
    for (int i = 0; i < 70; ++i) {
        const std::string t = "r" + std::to_string(i);
        table->insert(end, row(t));
        expected.push_back(t);
    }
    expected.push_back("end");
    expected.push_back("after");
    EXPECT_EQ(titles(), expected);
    // And at the very front, before the first row, again and again.
    for (int i = 0; i < 30; ++i)
        table->insert(table->first()->id, row("f" + std::to_string(i)));
    EXPECT_EQ(title(table->first()), "f29");
    EXPECT_EQ(table->rowNumber(end), 30 + 71);
    EXPECT_TRUE(engine().checkTable(dir.path(), "T.DB").empty());
}

TEST_F(TableTest, SkipMovesUpToTheEndAndSaysHowFar)
{
    for (const char* t : {"A", "B", "C", "D", "E"})
        table->insert(std::nullopt, row(t));
    const RowId b = table->rowAt(2)->id;
    struct Case {
        std::int64_t n;
        const char* expected;
        std::int64_t moved;
    };
    for (const Case c : {Case{0, "B", 0}, Case{1, "C", 1}, Case{3, "E", 3}, Case{10, "E", 3}, Case{-1, "A", -1},
                         Case{-10, "A", -1}, Case{std::numeric_limits<std::int64_t>::min(), "A", -1},
                         Case{std::numeric_limits<std::int64_t>::max(), "E", 3}}) {
        std::int64_t moved = 99;
        EXPECT_EQ(title(table->skip(b, c.n, &moved)), c.expected) << c.n;
        EXPECT_EQ(moved, c.moved) << c.n;
    }
    std::int64_t moved = 99;
    const RowId e = table->last()->id;
    EXPECT_EQ(title(table->skip(e, 1, &moved)), "E");
    EXPECT_EQ(moved, 0);
}

TEST_F(TableTest, ADeletedRowKeepsItsPlaceForMovesFromIt)
{
    for (const char* t : {"A", "B", "C"})
        table->insert(std::nullopt, row(t));
    const RowId b = table->rowAt(2)->id;
    table->remove(b);
    EXPECT_FALSE(table->read(b).has_value());
    ASSERT_EQ(table->after(b, 5).size(), 1u);
    EXPECT_EQ(title(table->after(b, 5).front()), "C");
    EXPECT_EQ(title(table->before(b, 5).front()), "A");
    EXPECT_EQ(table->rowCount(), 2);
}

TEST_F(TableTest, MemosAreBytesAsTheyAreAndSkippedWhenAsked)
{
    const std::string rtf("{\\rtf1 \xe9\x00\xff}", 10);
    const RowId id = table->insert(std::nullopt, row("A", "a", rtf, "1999"));
    EXPECT_EQ(table->read(id, Memos::Load)->values[2], rtf);
    EXPECT_EQ(table->read(id, Memos::Skip)->values[2], std::nullopt);
    EXPECT_EQ(table->read(id)->values[3], "1999");
}

TEST_F(TableTest, EmptyStringsAreBlankFields)
{
    const RowId id = table->insert(std::nullopt, row("", "", "", std::nullopt));
    EXPECT_THAT(table->read(id)->values, ElementsAre(std::nullopt, std::nullopt, std::nullopt, std::nullopt));
}

TEST_F(TableTest, LocateFindsTheFirstMatchInTableOrder)
{
    table->insert(std::nullopt, row("Água", "Bilac"));
    table->insert(std::nullopt, row("Sonho", "Camões"));
    table->insert(std::nullopt, row("ÁGUA viva", "bilac"));
    table->insert(std::nullopt, row("Mar", "CAMÕES"));
    const auto at = [&](std::optional<RowId> id) { return id ? table->rowNumber(*id) : 0; };
    struct Case {
        int field;
        const char* value;
        bool ci, partial;
        std::int64_t expected;
    };
    for (const Case c : {Case{1, "Bilac", false, false, 1}, Case{1, "bilac", false, false, 3},
                         Case{1, "BILAC", false, false, 0}, Case{1, "BILAC", true, false, 1},
                         Case{1, "camões", true, false, 2}, Case{1, "CAM", true, true, 2},
                         Case{1, "Cam", false, true, 2}, Case{1, "CAM", false, true, 4},
                         Case{0, "água", true, true, 1}, Case{0, "água v", true, true, 3},
                         Case{0, "Água", false, false, 1}, Case{0, "agua", true, false, 0},
                         Case{2, "t", false, false, 1}, Case{2, "T", true, true, 1}, Case{0, "", false, true, 1},
                         Case{0, "", false, false, 0}}) {
        EXPECT_EQ(at(table->locate({c.field}, {c.value}, {c.ci, c.partial})), c.expected)
            << c.field << " " << c.value << " ci=" << c.ci << " partial=" << c.partial;
    }
    const RowId first = table->first()->id;
    EXPECT_EQ(at(table->locate({1}, {"bilac"}, {true, false}, first)), 3);
    EXPECT_EQ(at(table->locate({0, 1}, {"mar", "camões"}, {true, false})), 4);
    EXPECT_EQ(at(table->locate({0, 1}, {"mar", "bilac"}, {true, false})), 0);
}

TEST_F(TableTest, WritesRefuseWhatTheFieldsCannotHoldAndStoreNothing)
{
    const RowId id = table->insert(std::nullopt, row("A"));
    struct Case {
        std::vector<Value> values;
        std::uint16_t code;
        const char* text;
    };
    for (const Case& c : std::vector<Case>{
             {row("12345678901"), code::ValueTooLong, "Value too long for field 'Titulo': 11 characters, the field holds 10"},
             {row("A", "ãããããããããã"), code::ValueTooLong, "Value too long for field 'Autor': 10 characters, the field holds 8"},
             {row("\xff"), code::InvalidValue, "Field 'Titulo' is given bytes that are not UTF-8 text"},
             {row("A\nB"), code::InvalidValue, "Field 'Titulo' cannot hold line breaks or control characters"},
             {row("A", "a", "t", "12x"), code::InvalidValue, "Field 'Ano' holds whole numbers only, not '12x'"},
             {{"A"}, code::InvalidValue, "A row of 1 values for a table of 4 fields"}}) {
        for (int write = 0; write < 2; ++write) {
            try {
                if (write == 0)
                    table->insert(std::nullopt, c.values);
                else
                    table->update(id, c.values);
                ADD_FAILURE() << "accepted: " << c.text;
            } catch (const EngineError& e) {
                EXPECT_EQ(e.code(), c.code);
                EXPECT_EQ(e.text(), c.text);
            }
        }
    }
    EXPECT_EQ(table->rowCount(), 1);
    EXPECT_THAT(titles(), ElementsAre("A"));
    // Exactly the size, counted in characters, is fine.
    table->update(id, row("ãããããããããã", "12345678"));
    EXPECT_EQ(title(table->read(id)), "ãããããããããã");
}

TEST_F(TableTest, ChangesOfAnotherConnectionAreSeenAtTheNextRead)
{
    const RowId id = table->insert(std::nullopt, row("A"));
    auto other = engine().openTable(dir.path(), "T.DB", OpenMode::ReadWrite);
    other->update(id, row("B"));
    other->insert(std::nullopt, row("C"));
    EXPECT_EQ(title(table->read(id)), "B");
    EXPECT_EQ(table->rowCount(), 2);
    other->remove(id);
    try {
        table->update(id, row("X"));
        ADD_FAILURE();
    } catch (const EngineError& e) {
        EXPECT_EQ(e.code(), code::RowDeleted);
    }
    EXPECT_THAT(titles(), ElementsAre("C"));
}

TEST_F(TableTest, AReadOnlyOpeningReadsButRefusesEveryWrite)
{
    const RowId id = table->insert(std::nullopt, row("A"));
    auto reader = engine().openTable(dir.path(), "T.DB", OpenMode::ReadOnly);
    EXPECT_TRUE(reader->readOnly());
    EXPECT_EQ(title(reader->first()), "A");
    const std::vector<std::function<void()>> writes{[&] { reader->insert(std::nullopt, row("B")); },
                                                    [&] { reader->update(id, row("B")); },
                                                    [&] { reader->remove(id); }, [&] { reader->lock(id); }};
    for (const auto& write : writes) {
        try {
            write();
            ADD_FAILURE();
        } catch (const EngineError& e) {
            EXPECT_EQ(e.code(), code::TableReadOnly);
        }
    }
    EXPECT_EQ(table->rowCount(), 1);
}

TEST_F(TableTest, SchemaIsRecordedInTheFile)
{
    table.reset();
    auto reopened = engine().openTable(dir.path(), "T.DB", OpenMode::ReadWrite);
    const TableSchema& s = reopened->schema();
    ASSERT_EQ(s.fields.size(), 4u);
    EXPECT_EQ(s.fields[1].name, "Autor");
    EXPECT_EQ(s.fields[1].size, 8);
    EXPECT_TRUE(s.fields[1].required);
    EXPECT_EQ(s.fields[2].type, FieldType::Memo);
    EXPECT_FALSE(s.fields[3].required);
    ASSERT_EQ(s.indexes.size(), 2u);
    EXPECT_EQ(s.indexes[1].name, "ByAutor");
    EXPECT_THAT(s.indexes[1].fields, ElementsAre("Autor"));
    EXPECT_TRUE(s.indexes[1].caseInsensitive);
    EXPECT_TRUE(s.pictures.empty());
    engine().setPicture(dir.path(), "T.DB", "ano", "####");
    auto again = engine().openTable(dir.path(), "T.DB", OpenMode::ReadOnly);
    ASSERT_EQ(again->schema().pictures.size(), 1u);
    EXPECT_EQ(again->schema().pictures[0].field, "Ano");
    EXPECT_EQ(again->schema().pictures[0].picture, "####");
    engine().setPicture(dir.path(), "T.DB", "Ano", "");
    EXPECT_TRUE(engine().openTable(dir.path(), "T.DB", OpenMode::ReadOnly)->schema().pictures.empty());
}

// Runs `check` as a user who may not write the test's files: this process
// when it is not root, else a child turned into "nobody" (root writes files
// whatever their mode). `check` returns what went wrong, empty when nothing.
std::string asUserWithoutWriteRights(const std::function<std::string()>& check)
{
    if (::geteuid() != 0)
        return check();
    int fds[2];
    if (::pipe(fds) != 0)
        return "pipe failed";
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        std::string result = (::setgid(65534) == 0 && ::setuid(65534) == 0) ? check() : "cannot become nobody";
        if (::write(fds[1], result.data(), result.size()) < 0)
            ::_exit(3);
        ::_exit(0);
    }
    ::close(fds[1]);
    std::string result;
    char buffer[512];
    for (ssize_t n; (n = ::read(fds[0], buffer, sizeof buffer)) > 0;)
        result.append(buffer, std::size_t(n));
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    return result;
}

// Opening a file the user cannot write: read-write is refused with the
// read-only code, so that the caller opens again read-only; that reads.
std::string readOnlyChecks(const std::string& directory)
{
    try {
        Engine::instance().openTable(directory, "T.DB", OpenMode::ReadWrite);
        return "a read-write opening was allowed";
    } catch (const EngineError& e) {
        if (e.code() != code::TableReadOnly)
            return "read-write opening failed with " + std::to_string(e.code()) + ": " + e.message();
    }
    try {
        auto table = Engine::instance().openTable(directory, "T.DB", OpenMode::ReadOnly);
        if (!table->first() || table->first()->values[0] != "A")
            return "the read-only table does not show its row";
        if (table->rowCount() != 1)
            return "wrong row count";
    } catch (const std::exception& e) {
        return std::string("read-only opening failed: ") + e.what();
    }
    return {};
}

TEST_F(TableTest, AFileTheUserCannotWriteOpensReadOnly)
{
    table->insert(std::nullopt, row("A"));
    table.reset();
    // The file itself not writable, in a directory that is.
    ::chmod(dir.path().c_str(), 0777);
    ::chmod(dir.file("T.DB").c_str(), 0444);
    EXPECT_EQ(asUserWithoutWriteRights([&] { return readOnlyChecks(dir.path()); }), "");
    // Neither the file nor its directory writable.
    ::chmod(dir.path().c_str(), 0555);
    EXPECT_EQ(asUserWithoutWriteRights([&] { return readOnlyChecks(dir.path()); }), "");
    ::chmod(dir.path().c_str(), 0700);
}

class EngineErrorsTest : public ::testing::Test {
protected:
    static Engine& engine() { return Engine::instance(); }
    TempDir dir;
};

TEST_F(EngineErrorsTest, OpeningFailuresNameTheirPlace)
{
    try {
        engine().openTable(dir.path(), "Memorizar.DB", OpenMode::ReadWrite);
        ADD_FAILURE();
    } catch (const EngineError& e) {
        EXPECT_EQ(e.code(), code::TableNotFound);
        EXPECT_EQ(e.message(), "Table does not exist\nDirectory: " + dir.path() + "\nFile: " + dir.file("Memorizar.DB"));
    }
    std::ofstream(dir.file("Junk.DB")) << "not a table at all, just some text that is long enough\n";
    try {
        engine().openTable(dir.path(), "Junk.DB", OpenMode::ReadWrite);
        ADD_FAILURE();
    } catch (const EngineError& e) {
        EXPECT_EQ(e.code(), code::BadFile);
        EXPECT_THAT(e.message(), HasSubstr(dir.file("Junk.DB")));
    }
    for (const char* name : {"", "..", "a/b"}) {
        try {
            engine().openTable(dir.path(), name, OpenMode::ReadWrite);
            ADD_FAILURE() << name;
        } catch (const EngineError& e) {
            EXPECT_EQ(e.code(), code::InvalidValue) << name;
        }
    }
}

TEST_F(EngineErrorsTest, CreatingRefusesAnExistingTableAndABadSchema)
{
    engine().createTable(dir.path(), "T.DB", textsLikeSchema());
    try {
        engine().createTable(dir.path(), "T.DB", textsLikeSchema());
        ADD_FAILURE();
    } catch (const EngineError& e) {
        EXPECT_EQ(e.code(), code::TableExists);
    }
    TableSchema twice = textsLikeSchema();
    twice.fields.push_back({"titulo", FieldType::String, 5, false});
    TableSchema badIndex = textsLikeSchema();
    badIndex.indexes.push_back({"X", {"Nada"}, true, false});
    TableSchema noSize = textsLikeSchema();
    noSize.fields[0].size = 0;
    for (const TableSchema& s : {twice, badIndex, noSize}) {
        try {
            engine().createTable(dir.path(), "U.DB", s);
            ADD_FAILURE();
        } catch (const EngineError& e) {
            EXPECT_EQ(e.code(), code::InvalidSchema);
        }
        EXPECT_FALSE(engine().tableExists(dir.path(), "U.DB"));
    }
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()) == false);
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        EXPECT_THAT(entry.path().filename().string(), ::testing::StartsWith("T.DB"));
}

TEST(EngineErrorTest, MessageIsTheTextThenEachContextLine)
{
    EXPECT_EQ(EngineError(0x2501, "Unknown database alias", {"Alias: X"}).message(), "Unknown database alias\nAlias: X");
    EXPECT_EQ(EngineError(0x2e01, "").message(), "Database engine error $2e01");
    EXPECT_EQ(EngineInitError(0x3e01).message(),
              "An error occurred while attempting to initialize the database engine (error $3e01)");
}

}  // namespace
