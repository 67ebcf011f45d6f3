// The engine between processes: row locks held by another process, and a
// writer killed in the middle of its writes.
#include "platform/storage/storage.h"
#include "tests/support/probe.h"
#include "tests/support/tempdir.h"

#include <gtest/gtest.h>

using namespace storage;

namespace {

TableSchema schema()
{
    TableSchema s;
    s.fields = {{"Titulo", FieldType::String, 20, true}, {"Autor", FieldType::String, 20, false},
                {"Texto", FieldType::Memo, 240, false}};
    s.indexes = {{"ByTitulo", {"Titulo"}, true, false}};
    return s;
}

class ProcessesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Engine::instance().createTable(dir.path(), "T.DB", schema());
        table = Engine::instance().openTable(dir.path(), "T.DB", OpenMode::ReadWrite);
        id = table->insert(std::nullopt, {"A", "a", "x"});
    }
    std::string edit() { return Probe({"edit", dir.path(), "T.DB", std::to_string(id)}).readLine(); }

    TempDir dir;
    std::unique_ptr<Table> table;
    RowId id = 0;
};

TEST_F(ProcessesTest, ARowOneProcessEditsCannotBeEditedByAnother)
{
    table->lock(id);
    EXPECT_EQ(edit(), "error 2901");
    table->unlock(id);
    EXPECT_EQ(edit(), "locked");
    // Closing the table lets its locks go too.
    table->lock(id);
    table.reset();
    EXPECT_EQ(edit(), "locked");
}

TEST_F(ProcessesTest, ALockHeldElsewhereStopsEditsAndWritesAndGoesWithItsProcess)
{
    Probe holder({"hold", dir.path(), "T.DB", std::to_string(id)});
    ASSERT_EQ(holder.readLine(), "locked");
    for (int attempt = 0; attempt < 3; ++attempt) {
        try {
            if (attempt == 0)
                table->lock(id);
            else if (attempt == 1)
                table->update(id, {"B", "b", "y"});
            else
                table->remove(id);
            ADD_FAILURE() << attempt;
        } catch (const EngineError& e) {
            EXPECT_EQ(e.code(), code::RowLocked);
            EXPECT_EQ(e.text(), "The row is being edited in another program");
        }
    }
    EXPECT_EQ(table->read(id)->values[0], "A");
    holder.kill();
    table->lock(id);
    table->update(id, {"B", "b", "y"});
    EXPECT_EQ(table->read(id)->values[0], "B");
}

TEST_F(ProcessesTest, AWriterKilledMidwayLosesNothingItAcknowledged)
{
    for (int killAfter : {40, 157, 333}) {
        std::vector<RowId> acknowledged;
        {
            Probe writer({"insert-loop", dir.path(), "T.DB"});
            while (int(acknowledged.size()) < killAfter) {
                const std::string line = writer.readLine();
                ASSERT_NE(line, "<eof>");
                ASSERT_EQ(line.find("error"), std::string::npos) << line;
                acknowledged.push_back(std::stoll(line));
            }
            writer.kill();
        }
        auto reopened = Engine::instance().openTable(dir.path(), "T.DB", OpenMode::ReadWrite);
        for (RowId ack : acknowledged)
            ASSERT_TRUE(reopened->read(ack).has_value()) << "row " << ack << " was acknowledged but is lost";
        EXPECT_GE(reopened->rowCount(), std::int64_t(acknowledged.size()) + 1);
        EXPECT_TRUE(Engine::instance().checkTable(dir.path(), "T.DB").empty());
        // The table takes writes again at once.
        reopened->insert(std::nullopt, {"after", "", ""});
    }
}

}  // namespace
