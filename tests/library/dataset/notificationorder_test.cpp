// Every operation of the record cursor, from the states it is allowed in, with
// the notifications it fires in the order the controls rely on: the table's
// before- and after- events, and what the data source tells its controls
// (state, data, field changes). Each case starts from a fresh table of three
// texts A, B, C (or none) with the cursor placed by its setup.
#include "tests/library/dataset/cursorfixture.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <map>

namespace {

using Events = std::vector<std::string>;

struct OrderCase {
    const char* name;
    std::vector<std::string> rows;
    std::function<void(TwwTable*)> setup;
    std::function<void(TwwTable*)> operation;
    Events expected;
    const char* currentAfter;  // the title of the current row afterwards; "" for none
    TDataSetState stateAfter;
};

void PrintTo(const OrderCase& c, std::ostream* os) { *os << c.name; }

const std::vector<std::string> ABC = {"A", "B", "C"};
const std::vector<std::string> Empty = {};

// Set by a case's setup for its operation.
TBookmark savedBookmark;

void nothing(TwwTable*) {}
void atB(TwwTable* t) { t->Next(); }
void atC(TwwTable* t) { t->MoveBy(2); }
void editingB(TwwTable* t)
{
    t->Next();
    t->Edit();
    t->FieldByName(QStringLiteral("Autor"))->setAsString(QStringLiteral("Outro"));
}
void editingUntouched(TwwTable* t)
{
    t->Next();
    t->Edit();
}
void insertingUntouched(TwwTable* t)
{
    t->Next();
    t->Insert();
}
void insertingTyped(TwwTable* t)
{
    t->Next();
    t->Insert();
    CursorFixture::fill(t, "N");
}

// Leaving a changed row: the post's notifications, then the move's own.
const Events postFromEdit = {"BeforePost", "state browse", "data", "AfterPost"};
const Events postFromInsert = {"BeforePost", "state browse", "data", "AfterPost"};
const Events dropInsert = {"BeforeCancel", "BeforeScroll", "state browse", "data", "AfterCancel", "AfterScroll"};
const Events dropEdit = {"BeforeCancel", "state browse", "data", "AfterCancel"};
const Events scroll = {"BeforeScroll", "data", "AfterScroll"};
const Events insertSteps = {"BeforeInsert", "BeforeScroll", "state insert", "NewRecord", "data", "AfterInsert",
                            "AfterScroll"};

Events operator+(Events a, const Events& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const OrderCase orderCases[] = {
    // First and Last
    {"FirstFromB", ABC, atB, [](TwwTable* t) { t->First(); }, scroll, "A", dsBrowse},
    {"FirstFromChangedRow", ABC, editingB, [](TwwTable* t) { t->First(); }, postFromEdit + scroll, "A", dsBrowse},
    {"FirstFromUntouchedEdit", ABC, editingUntouched, [](TwwTable* t) { t->First(); }, dropEdit + scroll, "A",
     dsBrowse},
    {"FirstFromUntouchedInsert", ABC, insertingUntouched, [](TwwTable* t) { t->First(); }, dropInsert + scroll, "A",
     dsBrowse},
    {"FirstFromTypedInsert", ABC, insertingTyped, [](TwwTable* t) { t->First(); }, postFromInsert + scroll, "A",
     dsBrowse},
    {"LastFromA", ABC, nothing, [](TwwTable* t) { t->Last(); }, scroll, "C", dsBrowse},
    {"LastOnEmptyTable", Empty, nothing, [](TwwTable* t) { t->Last(); }, scroll, "", dsBrowse},
    // Moves by n
    {"MoveByZero", ABC, atB, [](TwwTable* t) { EXPECT_EQ(t->MoveBy(0), 0); }, {"BeforeScroll"}, "B", dsBrowse},
    {"NextFromA", ABC, nothing, [](TwwTable* t) { EXPECT_EQ(t->MoveBy(1), 1); }, scroll, "B", dsBrowse},
    {"MoveByPastTheEnd", ABC, nothing, [](TwwTable* t) { EXPECT_EQ(t->MoveBy(5), 2); }, scroll, "C", dsBrowse},
    {"PriorPastTheBeginning", ABC, atC, [](TwwTable* t) { EXPECT_EQ(t->MoveBy(-7), -2); }, scroll, "A", dsBrowse},
    // On the last row with the end flag clear, Next sets it and still scrolls.
    {"NextOnLastRowEndFlagClear", ABC, atC, [](TwwTable* t) { EXPECT_EQ(t->MoveBy(1), 0); }, scroll, "C",
     dsBrowse},
    {"NextWithEndFlagSet", ABC, [](TwwTable* t) { t->Last(); },
     [](TwwTable* t) { EXPECT_EQ(t->MoveBy(1), 0); }, {"BeforeScroll"}, "C", dsBrowse},
    {"PriorOnFirstRowBeginFlagClear", ABC, [](TwwTable* t) { t->Next(); t->Prior(); },
     [](TwwTable* t) { EXPECT_EQ(t->MoveBy(-1), 0); }, scroll, "A", dsBrowse},
    {"PriorWithBeginFlagSet", ABC, nothing, [](TwwTable* t) { EXPECT_EQ(t->MoveBy(-1), 0); }, {"BeforeScroll"},
     "A", dsBrowse},
    {"NextOnEmptyTable", Empty, nothing, [](TwwTable* t) { EXPECT_EQ(t->MoveBy(1), 0); }, {"BeforeScroll"}, "",
     dsBrowse},
    {"NextFromChangedRow", ABC, editingB, [](TwwTable* t) { EXPECT_EQ(t->MoveBy(1), 1); }, postFromEdit + scroll,
     "C", dsBrowse},
    {"MoveByZeroFromChangedRowStillStoresIt", ABC, editingB, [](TwwTable* t) { t->MoveBy(0); },
     postFromEdit + Events{"BeforeScroll"}, "B", dsBrowse},
    // Insert and Append
    {"InsertFromBrowse", ABC, atB, [](TwwTable* t) { t->Insert(); }, insertSteps, "", dsInsert},
    {"InsertFromChangedRow", ABC, editingB, [](TwwTable* t) { t->Insert(); }, postFromEdit + insertSteps, "",
     dsInsert},
    {"InsertFromUntouchedInsert", ABC, insertingUntouched, [](TwwTable* t) { t->Insert(); },
     dropInsert + insertSteps, "", dsInsert},
    {"AppendFromBrowse", ABC, nothing, [](TwwTable* t) { t->Append(); }, insertSteps, "", dsInsert},
    {"InsertOnEmptyTable", Empty, nothing, [](TwwTable* t) { t->Insert(); }, insertSteps, "", dsInsert},
    // Edit
    {"EditFromBrowse", ABC, atB, [](TwwTable* t) { t->Edit(); }, {"BeforeEdit", "state edit", "AfterEdit"}, "B",
     dsEdit},
    {"EditWhileEditing", ABC, editingB, [](TwwTable* t) { t->Edit(); }, {}, "B", dsEdit},
    {"EditWhileInserting", ABC, insertingTyped, [](TwwTable* t) { t->Edit(); }, {}, "N", dsInsert},
    {"EditOnEmptyTableInserts", Empty, nothing, [](TwwTable* t) { t->Edit(); }, insertSteps, "", dsInsert},
    // Post
    {"PostEdit", ABC, editingB, [](TwwTable* t) { t->Post(); }, postFromEdit, "B", dsBrowse},
    {"PostInsert", ABC, insertingTyped, [](TwwTable* t) { t->Post(); }, postFromInsert, "N", dsBrowse},
    {"PostUntouchedEditStoresToo", ABC, editingUntouched, [](TwwTable* t) { t->Post(); }, postFromEdit, "B",
     dsBrowse},
    // Cancel
    {"CancelEdit", ABC, editingB, [](TwwTable* t) { t->Cancel(); }, dropEdit, "B", dsBrowse},
    {"CancelInsert", ABC, insertingTyped, [](TwwTable* t) { t->Cancel(); }, dropInsert, "B", dsBrowse},
    {"CancelInBrowse", ABC, atB, [](TwwTable* t) { t->Cancel(); }, {}, "B", dsBrowse},
    {"CancelAppend", ABC, [](TwwTable* t) { t->Append(); }, [](TwwTable* t) { t->Cancel(); }, dropInsert, "C",
     dsBrowse},
    // Delete
    {"DeleteMiddleRow", ABC, atB, [](TwwTable* t) { t->Delete(); },
     {"BeforeDelete", "BeforeScroll", "data", "AfterDelete", "AfterScroll"}, "C", dsBrowse},
    {"DeleteLastRow", ABC, atC, [](TwwTable* t) { t->Delete(); },
     {"BeforeDelete", "BeforeScroll", "data", "AfterDelete", "AfterScroll"}, "B", dsBrowse},
    {"DeleteRowBeingEdited", ABC, editingB, [](TwwTable* t) { t->Delete(); },
     {"BeforeDelete", "BeforeScroll", "state browse", "data", "AfterDelete", "AfterScroll"}, "C", dsBrowse},
    {"DeleteWhileInsertingCancels", ABC, insertingTyped, [](TwwTable* t) { t->Delete(); }, dropInsert, "B",
     dsBrowse},
    {"DeleteOnlyRow", {"A"}, nothing, [](TwwTable* t) { t->Delete(); },
     {"BeforeDelete", "BeforeScroll", "data", "AfterDelete", "AfterScroll"}, "", dsBrowse},
    // Refresh: no after-scroll
    {"Refresh", ABC, atB, [](TwwTable* t) { t->Refresh(); }, {"BeforeRefresh", "data", "AfterRefresh"}, "B",
     dsBrowse},
    {"RefreshFromChangedRow", ABC, editingB, [](TwwTable* t) { t->Refresh(); },
     Events{"BeforeRefresh"} + postFromEdit + Events{"data", "AfterRefresh"}, "B", dsBrowse},
    // Bookmarks
    {"GotoBookmark", ABC, [](TwwTable* t) { t->Next(); savedBookmark = t->GetBookmark(); t->Last(); },
     [](TwwTable* t) { t->GotoBookmark(savedBookmark); }, scroll, "B", dsBrowse},
    {"GotoBookmarkFromChangedRow", ABC,
     [](TwwTable* t) { editingB(t); savedBookmark = t->GetBookmark(); },
     [](TwwTable* t) { t->GotoBookmark(savedBookmark); }, postFromEdit + scroll, "B", dsBrowse},
    {"GotoEmptyBookmark", ABC, atB, [](TwwTable* t) { t->GotoBookmark(TBookmark()); }, {}, "B", dsBrowse},
    {"GetAndFreeBookmark", ABC, atB,
     [](TwwTable* t) {
         TBookmark b = t->GetBookmark();
         EXPECT_FALSE(b.isEmpty());
         t->FreeBookmark(b);
         EXPECT_TRUE(b.isEmpty());
     },
     {}, "B", dsBrowse},
    // Row numbers
    {"GotoRowNumber", ABC, nothing, [](TwwTable* t) { t->setRecNo(3); }, scroll, "C", dsBrowse},
    {"GotoCurrentRowNumber", ABC, atB, [](TwwTable* t) { t->setRecNo(2); }, {}, "B", dsBrowse},
    {"GotoMissingRowNumber", ABC, atB, [](TwwTable* t) { t->setRecNo(9); }, {"BeforeScroll"}, "B", dsBrowse},
    {"GotoRowNumberFromChangedRow", ABC, editingB, [](TwwTable* t) { t->setRecNo(1); }, postFromEdit + scroll,
     "A", dsBrowse},
    // Locate: before-scroll comes before leaving edits
    {"LocateFound", ABC, nothing,
     [](TwwTable* t) { EXPECT_TRUE(t->Locate(QStringLiteral("Autor"), {QStringLiteral("Autor C")})); }, scroll,
     "C", dsBrowse},
    {"LocateNotFound", ABC, atB,
     [](TwwTable* t) { EXPECT_FALSE(t->Locate(QStringLiteral("Autor"), {QStringLiteral("Nobody")})); },
     {"BeforeScroll"}, "B", dsBrowse},
    {"LocateFromChangedRow", ABC, editingB,
     [](TwwTable* t) { EXPECT_TRUE(t->Locate(QStringLiteral("Titulo"), {QStringLiteral("a")}, loCaseInsensitive)); },
     Events{"BeforeScroll"} + postFromEdit + Events{"data", "AfterScroll"}, "A", dsBrowse},
    // Writing a field tells the controls of that field
    {"SetFieldWhileEditing", ABC, editingUntouched,
     [](TwwTable* t) { t->FieldByName(QStringLiteral("Assunto"))->setAsString(QStringLiteral("Outro")); },
     {"field Assunto"}, "B", dsEdit},
    // Close and open
    {"CloseFromBrowse", ABC, atB, [](TwwTable* t) { t->Close(); },
     {"BeforeClose", "state inactive", "data", "AfterClose"}, "", dsInactive},
    {"CloseDropsAChangedRow", ABC, editingB, [](TwwTable* t) { t->Close(); },
     {"BeforeClose", "state inactive", "data", "AfterClose"}, "", dsInactive},
    {"OpenAgain", ABC, [](TwwTable* t) { t->Close(); }, [](TwwTable* t) { t->Open(); },
     {"BeforeOpen", "state browse", "data", "AfterOpen", "AfterScroll"}, "A", dsBrowse},
    {"OpenEmptyTable", Empty, [](TwwTable* t) { t->Close(); }, [](TwwTable* t) { t->Open(); },
     {"BeforeOpen", "state browse", "data", "AfterOpen"}, "", dsBrowse},
};

// The begin and end flags after the cases where they are defined: set by First
// and Last and by a move that could not go further, cleared by a move that
// succeeded, kept by an operation that does not move.
struct EndFlags {
    bool bof, eof;
};
const std::map<std::string, EndFlags> endFlags = {
    {"FirstFromB", {true, false}},
    {"FirstFromChangedRow", {true, false}},
    {"FirstFromUntouchedInsert", {true, false}},
    {"LastFromA", {false, true}},
    {"LastOnEmptyTable", {true, true}},
    {"MoveByZero", {false, false}},
    {"NextFromA", {false, false}},
    {"MoveByPastTheEnd", {false, true}},
    {"PriorPastTheBeginning", {true, false}},
    {"NextOnLastRowEndFlagClear", {false, true}},
    {"NextWithEndFlagSet", {false, true}},
    {"PriorOnFirstRowBeginFlagClear", {true, false}},
    {"PriorWithBeginFlagSet", {true, false}},
    {"NextOnEmptyTable", {true, true}},
    {"NextFromChangedRow", {false, false}},
    {"DeleteOnlyRow", {true, true}},
    {"GotoBookmark", {false, false}},
    {"GotoRowNumber", {false, false}},
    {"GotoMissingRowNumber", {false, false}},
    {"LocateFound", {false, false}},
    {"OpenAgain", {true, false}},
    {"OpenEmptyTable", {true, true}},
};

class NotificationOrder : public ::testing::TestWithParam<OrderCase> {};

}  // namespace

TEST_P(NotificationOrder, FollowsTheOperationsSteps)
{
    const OrderCase& c = GetParam();
    CursorFixture fixture;
    TwwTable* table = fixture.openOn(c.rows);
    c.setup(table);
    fixture.recorder().take();
    c.operation(table);
    EXPECT_THAT(fixture.recorder().take(), ::testing::ElementsAreArray(c.expected));
    EXPECT_EQ(table->State(), c.stateAfter);
    if (table->Active()) {
        EXPECT_EQ(CursorFixture::title(table), c.currentAfter);
    }
    if (const auto flags = endFlags.find(c.name); flags != endFlags.end()) {
        EXPECT_EQ(table->Bof(), flags->second.bof);
        EXPECT_EQ(table->Eof(), flags->second.eof);
    }
}

INSTANTIATE_TEST_SUITE_P(Operations, NotificationOrder, ::testing::ValuesIn(orderCases),
                         [](const ::testing::TestParamInfo<OrderCase>& info) { return std::string(info.param.name); });
