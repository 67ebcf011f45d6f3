// A row one program edits cannot be edited by another, through the record
// cursor on both sides.
#include "library/dataset/field.h"
#include "library/dataset/wwtable.h"
#include "library/textstable.h"
#include "platform/storage/storage.h"
#include "tests/support/probe.h"
#include "tests/support/tempdir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

namespace {

class RowLockTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        storage::Engine& engine = storage::Engine::instance();
        engine.createTable(dir.path(), "Memorizar.DB", TextsTable::schema());
        auto t = engine.openTable(dir.path(), "Memorizar.DB", storage::OpenMode::ReadWrite);
        first = t->insert(std::nullopt, {"Um", "A", "S", "L", "x"});
        t->insert(std::nullopt, {"Dois", "A", "S", "L", "y"});
        table.reset(TextsTable::make(nullptr, QStringLiteral("TabMemoria"), QString::fromStdString(dir.path()),
                                     QStringLiteral("Memorizar.DB")));
        table->Open();
    }
    // Another process tries to edit the row; its answer: "locked" or "error CODE".
    std::string otherProcessEdits(storage::RowId id)
    {
        const std::string command = std::string(TESS_STORAGE_PROBE) + " edit '" + dir.path() + "' Memorizar.DB " +
                                    std::to_string(id);
        FILE* pipe = ::popen(command.c_str(), "r");
        char line[128] = {0};
        if (!pipe || !std::fgets(line, sizeof line, pipe))
            line[0] = 0;
        if (pipe)
            ::pclose(pipe);
        std::string answer = line;
        if (!answer.empty() && answer.back() == '\n')
            answer.pop_back();
        return answer;
    }

    TempDir dir;
    std::unique_ptr<TwwTable> table;
    storage::RowId first = 0;
};

TEST_F(RowLockTest, TheRowInEditStateIsLockedUntilPostCancelOrClose)
{
    table->Edit();
    EXPECT_EQ(otherProcessEdits(first), "error 2901");
    table->FieldByName(QStringLiteral("Autor"))->setAsString(QStringLiteral("B"));
    table->Post();
    EXPECT_EQ(otherProcessEdits(first), "locked");

    table->Edit();
    EXPECT_EQ(otherProcessEdits(first), "error 2901");
    table->Cancel();
    EXPECT_EQ(otherProcessEdits(first), "locked");

    table->Edit();
    table->Close();
    EXPECT_EQ(otherProcessEdits(first), "locked");
}

TEST_F(RowLockTest, MovingAwayReleasesTheRowItLeaves)
{
    table->Edit();
    table->Next();  // nothing typed: the edit is cancelled, the lock goes
    EXPECT_EQ(otherProcessEdits(first), "locked");
}

TEST_F(RowLockTest, EditingARowAnotherProgramEditsFailsWithTheEnginesErrorAndStaysInBrowse)
{
    Probe holder({"hold", dir.path(), "Memorizar.DB", std::to_string(first)});
    ASSERT_EQ(holder.readLine(), "locked");
    try {
        table->Edit();
        ADD_FAILURE() << "the row was edited twice";
    } catch (const storage::EngineError& e) {
        EXPECT_EQ(e.code(), storage::code::RowLocked);
        EXPECT_EQ(e.message(), "The row is being edited in another program\nDirectory: " + dir.path() +
                                   "\nFile: " + dir.file("Memorizar.DB"));
    }
    EXPECT_EQ(table->State(), dsBrowse);
    // The other row is free, and the first is once its holder is gone.
    table->Next();
    table->Edit();
    EXPECT_EQ(table->State(), dsEdit);
    table->Cancel();
    holder.kill();
    table->First();
    table->Edit();
    EXPECT_EQ(table->State(), dsEdit);
}

}  // namespace
