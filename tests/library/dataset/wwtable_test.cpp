// The record cursor's behaviour beyond the order of its notifications:
// leaving edits, the checks of a post with their messages and the control
// they send the focus to, the errors of its operations, read-only tables,
// filters, row counts and numbers, and what happens when other programs
// change the table underneath.
#include "tests/library/dataset/cursorfixture.h"

#include "library/dataset/fielddatalink.h"

#include <array>
#include <functional>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

std::string messageOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const Exception& e) {
        return e.message();
    }
    return "<no error>";
}

// Stands for the controls of a window: one link per field, recording which
// field's control was asked to take the focus.
class FocusRecorder {
public:
    explicit FocusRecorder(TwwDataSource* source)
    {
        for (const char* name : {"Titulo", "Autor", "Assunto", "PrimeiraLinha", "Texto"}) {
            auto link = std::make_unique<TFieldDataLink>();
            link->setFieldName(QString::fromLatin1(name));
            link->setDataSource(source);
            link->OnFocusRequest = [this, name] { focused.push_back(name); };
            m_links.push_back(std::move(link));
        }
    }
    std::vector<std::string> focused;

private:
    std::vector<std::unique_ptr<TFieldDataLink>> m_links;
};

}  // namespace

// ---- leaving edits

TEST(LeaveEdits, AChangedRowIsStoredBeforeTheMove)
{
    CursorFixture f;
    TwwTable* t = f.openOn({"A", "B", "C"});
    t->Next();
    t->Edit();
    t->FieldByName(QStringLiteral("Titulo"))->setAsString(QStringLiteral("B2"));
    t->Next();
    EXPECT_EQ(CursorFixture::title(t), "C");
    EXPECT_THAT(f.storedTitles(), ElementsAre("A", "B2", "C"));
}

TEST(LeaveEdits, ANewRowIsStoredBeforeTheRowThatWasCurrent)
{
    CursorFixture f;
    TwwTable* t = f.openOn({"A", "B", "C"});
    t->Next();
    t->Insert();
    CursorFixture::fill(t, "N");
    t->Last();
    EXPECT_THAT(f.storedTitles(), ElementsAre("A", "N", "B", "C"));
    t->Append();
    CursorFixture::fill(t, "Z");
    t->First();
    EXPECT_THAT(f.storedTitles(), ElementsAre("A", "N", "B", "C", "Z"));
}

TEST(LeaveEdits, AnUntouchedNewRowIsDroppedSilently)
{
    CursorFixture f;
    TwwTable* t = f.openOn({"A", "B"});
    t->Insert();
    t->Next();
    EXPECT_EQ(t->State(), dsBrowse);
    EXPECT_THAT(f.storedTitles(), ElementsAre("A", "B"));
}

TEST(LeaveEdits, AFailingPostStopsTheMoveAndKeepsTheTypedValues)
{
    CursorFixture f;
    TwwTable* t = f.openOn({"A", "B"});
    t->Edit();
    t->FieldByName(QStringLiteral("Titulo"))->Clear();
    t->FieldByName(QStringLiteral("Autor"))->setAsString(QStringLiteral("Novo"));
    f.recorder().take();
    EXPECT_EQ(messageOf([&] { t->Next(); }), "Field 'Titulo' must have a value");
    EXPECT_EQ(t->State(), dsEdit);
    EXPECT_EQ(t->FieldByName(QStringLiteral("Autor"))->AsString(), QStringLiteral("Novo"));
    EXPECT_THAT(f.recorder().take(), ElementsAre("BeforePost"));  // no scroll
    EXPECT_THAT(f.storedTitles(), ElementsAre("A", "B"));
    // The user mends the title; the next move stores the row and goes on.
    t->FieldByName(QStringLiteral("Titulo"))->setAsString(QStringLiteral("A2"));
    t->Next();
    EXPECT_EQ(CursorFixture::title(t), "B");
    EXPECT_THAT(f.storedTitles(), ElementsAre("A2", "B"));
}

// ---- the checks of a post

namespace {

struct PostCheckCase {
    const char* name;
    // Values of Titulo, Autor, Assunto, PrimeiraLinha, Texto; nullptr: blank.
    std::array<const char*, 5> values;
    const char* message;  // nullptr: the post succeeds
    const char* focused;
};

void PrintTo(const PostCheckCase& c, std::ostream* os) { *os << c.name; }

// Autor carries a picture stored in the table file: a capital, then letters.
const PostCheckCase postCheckCases[] = {
    {"AllBlankNamesTheTitle", {nullptr, nullptr, nullptr, nullptr, nullptr}, "Field 'Titulo' must have a value",
     "Titulo"},
    {"OnlyTheTitle", {"T", nullptr, nullptr, nullptr, nullptr}, "Field 'Autor' must have a value", "Autor"},
    {"NoSubject", {"T", "Ana", nullptr, "l", "x"}, "Field 'Assunto' must have a value", "Assunto"},
    {"NoFirstLine", {"T", "Ana", "s", nullptr, "x"}, "Field 'PrimeiraLinha' must have a value", "PrimeiraLinha"},
    {"NoText", {"T", "Ana", "s", "l", nullptr}, "Field 'Texto' must have a value", "Texto"},
    // The picture check runs before the required fields are looked at.
    {"PictureBeforeRequired", {nullptr, "Ana1", nullptr, nullptr, nullptr}, "Invalid characters. Field : Autor",
     "Autor"},
    {"PictureMismatch", {"T", "Ana Maria", "s", "l", "x"}, "Invalid characters. Field : Autor", "Autor"},
    {"PictureIgnoresCase", {"T", "ana", "s", "l", "x"}, nullptr, nullptr},
    {"AllGood", {"T", "Ana", "s", "l", "x"}, nullptr, nullptr},
};

class PostChecks : public ::testing::TestWithParam<PostCheckCase> {};

}  // namespace

TEST_P(PostChecks, StopAtTheFirstFailureWithItsMessageAndFocus)
{
    const PostCheckCase& c = GetParam();
    CursorFixture f;
    f.createTable({"A"});
    storage::Engine::instance().setPicture(f.alias(), "Memorizar.DB", "Autor", "&*?");
    TwwTable* t = f.makeTable();
    t->setValidateWithMask(true);
    FocusRecorder focus(f.source());
    t->Open();
    t->Insert();
    for (std::size_t i = 0; i < 5; ++i)
        if (c.values[i])
            t->Fields()[i]->setAsString(QString::fromUtf8(c.values[i]));
    if (!c.message) {
        t->Post();
        EXPECT_EQ(t->State(), dsBrowse);
        EXPECT_THAT(f.storedTitles(), ElementsAre("T", "A"));
        EXPECT_TRUE(focus.focused.empty());
        return;
    }
    EXPECT_EQ(messageOf([&] { t->Post(); }), c.message);
    EXPECT_THAT(focus.focused, ElementsAre(c.focused));
    EXPECT_EQ(t->State(), dsInsert);
    for (std::size_t i = 0; i < 5; ++i)
        EXPECT_EQ(t->Fields()[i]->AsString(), QString::fromUtf8(c.values[i] ? c.values[i] : ""));
    EXPECT_THAT(f.storedTitles(), ElementsAre("A"));
}

INSTANTIATE_TEST_SUITE_P(Table, PostChecks, ::testing::ValuesIn(postCheckCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PostPictures, TheProgramsMasksOverrideTheStoredOnesAndCanBeSwitchedOff)
{
    CursorFixture f;
    f.createTable({"A"});
    storage::Engine::instance().setPicture(f.alias(), "Memorizar.DB", "Autor", "###");
    TwwTable* t = f.makeTable();
    t->setValidateWithMask(false);
    t->Open();
    t->Edit();
    t->FieldByName(QStringLiteral("Autor"))->setAsString(QStringLiteral("Ana"));
    t->Post();  // no masks checked

    t->setValidateWithMask(true);
    t->Edit();
    t->FieldByName(QStringLiteral("Autor"))->setAsString(QStringLiteral("Bia"));
    EXPECT_EQ(messageOf([&] { t->Post(); }), "Invalid characters. Field : Autor");
    t->setPictureMasks({QStringLiteral("autor\t&??")});
    t->Post();
    EXPECT_EQ(t->State(), dsBrowse);
}

// The engine refuses to store an invalid picture, so a bad mask here comes
// from the program's own list (or a damaged file): it must not pass as checked.
TEST(PostPictures, AnInvalidPictureFailsThePostWithItsOwnError)
{
    CursorFixture f;
    f.createTable({"A"});
    TwwTable* t = f.makeTable();
    t->setValidateWithMask(true);
    t->setPictureMasks({QStringLiteral("Assunto\t{a,b")});
    t->Open();
    t->Edit();
    t->FieldByName(QStringLiteral("Assunto"))->setAsString(QStringLiteral("a"));
    EXPECT_THAT(messageOf([&] { t->Post(); }), HasSubstr("Invalid picture '{a,b'"));
    EXPECT_EQ(t->State(), dsEdit);
}

TEST(PostRefusals, TheEnginesRefusalFailsThePostAndKeepsTheEdit)
{
    CursorFixture f;
    TwwTable* t = f.openOn({"A", "B"});
    t->Edit();
    t->FieldByName(QStringLiteral("Autor"))->setAsString(QStringLiteral("Outro"));
    // Another program deletes the row meanwhile.
    auto other = f.rawTable();
    other->remove(other->first()->id);
    const std::string message = messageOf([&] { t->Post(); });
    EXPECT_THAT(message, HasSubstr("deleted"));
    EXPECT_EQ(t->State(), dsEdit);
    EXPECT_EQ(t->FieldByName(QStringLiteral("Autor"))->AsString(), QStringLiteral("Outro"));
    t->Cancel();
    EXPECT_EQ(CursorFixture::title(t), "B");
}

TEST(PostRefusals, AnOverlongValueIsRefusedAndNothingChanges)
{
    CursorFixture f;
    TwwTable* t = f.openOn({"A"});
    t->Edit();
    const QString tooLong(41, QLatin1Char('x'));
    EXPECT_EQ(messageOf([&] { t->FieldByName(QStringLiteral("Autor"))->setAsString(tooLong); }),
              "TabMemoria: Value for field 'Autor' is 41 characters long; the field holds at most 40");
    EXPECT_EQ(t->FieldByName(QStringLiteral("Autor"))->AsString(), QStringLiteral("Autor A"));
    // Characters, not bytes, are counted: 40 accented letters fit.
    t->FieldByName(QStringLiteral("Autor"))->setAsString(QString(40, QChar(0x00E3)));
    t->Post();
    EXPECT_EQ(t->FieldByName(QStringLiteral("Autor"))->AsString(), QString(40, QChar(0x00E3)));
}

// The table file's sizes are its own: a file whose title holds fewer
// characters than the program's field refuses the longer title at the store.
TEST(PostRefusals, AFieldSmallerInTheFileThanInTheProgramIsCheckedByTheEngine)
{
    CursorFixture f;
    storage::TableSchema s = CursorFixture::textSchema();
    s.fields[0].size = 10;
    f.createTable({"A"}, s);
    TwwTable* t = f.makeTable();
    t->Open();
    t->Edit();
    t->FieldByName(QStringLiteral("Titulo"))->setAsString(QString(20, QLatin1Char('t')));
    EXPECT_THAT(messageOf([&] { t->Post(); }), ::testing::StartsWith("Value too long for field 'Titulo'"));
    EXPECT_EQ(t->State(), dsEdit);
    EXPECT_THAT(f.storedTitles(), ElementsAre("A"));
}

// ---- the failure table

namespace {

struct FailureCase {
    const char* name;
    std::function<void(CursorFixture&)> run;
    const char* message;
};

void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.name; }

storage::TableSchema withoutField(const char* name)
{
    storage::TableSchema s = CursorFixture::textSchema();
    std::erase_if(s.fields, [name](const storage::FieldDef& d) { return d.name == name; });
    return s;
}

const FailureCase failureCases[] = {
    {"AliasNotDefined",
     [](CursorFixture& f) {
         TwwTable* t = f.makeTable();
         t->setDatabaseName(QStringLiteral("Ninguem"));
         t->Open();
     },
     "Unknown database alias\nAlias: Ninguem"},
    {"TableFileMissing", [](CursorFixture& f) { f.makeTable("Outra.DB")->Open(); }, "Table does not exist\nAlias: "},
    {"FieldMissing",
     [](CursorFixture& f) {
         f.createTable({"A"}, withoutField("PrimeiraLinha"));
         f.makeTable()->Open();
     },
     "TabMemoria: Field 'PrimeiraLinha' not found"},
    {"FieldOfAnotherType",
     [](CursorFixture& f) {
         storage::TableSchema s = CursorFixture::textSchema();
         s.fields[4].type = storage::FieldType::String;
         s.fields[4].size = 10;
         f.createTable({}, s);
         f.makeTable()->Open();
     },
     "TabMemoria: Type mismatch for field 'Texto', expecting: Memo actual: String"},
    {"DeleteOnEmptyTable", [](CursorFixture& f) { f.openOn({})->Delete(); },
     "TabMemoria: Cannot perform this operation on an empty dataset"},
    {"PostInBrowse", [](CursorFixture& f) { f.openOn({"A"})->Post(); },
     "TabMemoria: Dataset not in edit or insert mode"},
    {"SetFieldInBrowse",
     [](CursorFixture& f) { f.openOn({"A"})->FieldByName(QStringLiteral("Titulo"))->setAsString("x"); },
     "TabMemoria: Dataset not in edit or insert mode"},
    {"MoveWhileClosed", [](CursorFixture& f) { f.makeTable()->Next(); },
     "TabMemoria: Cannot perform this operation on a closed dataset"},
    {"UnknownFieldName", [](CursorFixture& f) { f.openOn({"A"})->FieldByName(QStringLiteral("Ano")); },
     "TabMemoria: Field 'Ano' not found"},
    {"BookmarkOfADeletedRow",
     [](CursorFixture& f) {
         TwwTable* t = f.openOn({"A", "B"});
         const TBookmark b = t->GetBookmark();
         t->Delete();
         t->GotoBookmark(b);
     },
     "TabMemoria: Record not found"},
};

class Failures : public ::testing::TestWithParam<FailureCase> {};

}  // namespace

TEST_P(Failures, GiveTheirMessage)
{
    CursorFixture f;
    EXPECT_THAT(messageOf([&] { GetParam().run(f); }), ::testing::StartsWith(GetParam().message));
}

INSTANTIATE_TEST_SUITE_P(Table, Failures, ::testing::ValuesIn(failureCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Failures, AFailedOpeningLeavesTheTableClosedAndReusable)
{
    CursorFixture f;
    f.createTable({"A"}, withoutField("Autor"));
    TwwTable* t = f.makeTable();
    EXPECT_THROW(t->Open(), Exception);
    EXPECT_FALSE(t->Active());
    EXPECT_EQ(t->FieldByName(QStringLiteral("Titulo"))->FieldNo(), 0);
    t->setTableName(QStringLiteral("Outra.DB"));
    f.createTable({"Z"}, CursorFixture::textSchema(), "Outra.DB");
    t->Open();
    EXPECT_EQ(CursorFixture::title(t), "Z");
}

// ---- read-only tables

namespace {

// Each operation that changes the table, on a read-only table of one row.
void expectReadOnlyRefusals(TwwTable* t)
{
    const char* readOnly = "TabMemoria: Cannot modify a read-only dataset";
    EXPECT_FALSE(t->CanModify());
    EXPECT_EQ(messageOf([&] { t->Insert(); }), readOnly);
    EXPECT_EQ(messageOf([&] { t->Append(); }), readOnly);
    EXPECT_EQ(messageOf([&] { t->Edit(); }), readOnly);
    EXPECT_EQ(messageOf([&] { t->Delete(); }), readOnly);
    EXPECT_EQ(t->State(), dsBrowse);
    // Browsing still works.
    t->Last();
    EXPECT_EQ(CursorFixture::title(t), "B");
}

}  // namespace

TEST(ReadOnly, ATableOpenedReadOnlyRefusesChanges)
{
    CursorFixture f;
    f.createTable({"A", "B"});
    TwwTable* t = f.makeTable();
    t->setReadOnly(true);
    t->Open();
    expectReadOnlyRefusals(t);
}

TEST(ReadOnly, AFileThatCanOnlyBeReadOpensReadOnly)
{
    // Root writes files whatever their mode, so chmod cannot make the file
    // read-only for it: this case needs an ordinary user.
    if (::geteuid() == 0)
        GTEST_SKIP() << "running as root, where a file's mode does not stop writes";
    CursorFixture f;
    f.createTable({"A", "B"});
    const std::string path = f.dir().file("Memorizar.DB");
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    TwwTable* t = f.makeTable();
    t->Open();
    expectReadOnlyRefusals(t);
}

// ---- filters, counts and numbers

TEST(Filters, HideRowsFromEveryMoveAndFromTheCount)
{
    CursorFixture f;
    TwwTable* t = f.openOn({"A", "B", "C", "D", "E"});
    // Hides B and D; the filter reads the row it is asked about through the fields.
    t->setOnFilterRecord([](TwwTable* table, bool& accept) {
        const std::string title = CursorFixture::title(table);
        accept = title != "B" && title != "D";
    });
    EXPECT_EQ(t->RecordCount(), 5);  // not yet filtered
    t->setFiltered(true);
    EXPECT_EQ(CursorFixture::title(t), "A");
    EXPECT_FALSE(t->IsSequenced());
    EXPECT_EQ(t->RecordCount(), 3);
    std::vector<std::string> seen;
    for (t->First(); !t->Eof(); t->Next())
        seen.push_back(CursorFixture::title(t));
    EXPECT_THAT(seen, ElementsAre("A", "C", "E"));
    EXPECT_EQ(t->MoveBy(-5), -2);
    EXPECT_TRUE(t->Bof());
    EXPECT_FALSE(t->Locate(QStringLiteral("Titulo"), {QStringLiteral("D")}));
    EXPECT_TRUE(t->Locate(QStringLiteral("Titulo"), {QStringLiteral("E")}));
    t->setRecNo(2);
    EXPECT_EQ(CursorFixture::title(t), "C");
    EXPECT_EQ(t->RecNo(), 2);
    // Deleting C makes the next visible row current, skipping D.
    t->Delete();
    EXPECT_EQ(CursorFixture::title(t), "E");
    t->setFiltered(false);
    EXPECT_TRUE(t->IsSequenced());
    EXPECT_EQ(t->RecordCount(), 4);
}

TEST(Filters, AFilterOnTheMemoSeesTheMemo)
{
    CursorFixture f;
    TwwTable* t = f.openOn({"A", "B", "C"});
    t->setOnFilterRecord([](TwwTable* table, bool& accept) {
        accept = table->FieldByName(QStringLiteral("Texto"))->AsString().contains(QLatin1Char('B'));
    });
    t->setFiltered(true);
    EXPECT_EQ(CursorFixture::title(t), "B");
    EXPECT_EQ(t->RecordCount(), 1);
}

TEST(RowNumbers, CountAndNumberFollowTheTableOrder)
{
    CursorFixture f;
    f.createTable({"A", "B", "C"});
    TwwTable* t = f.makeTable();
    EXPECT_EQ(t->RecordCount(), -1);
    EXPECT_EQ(t->RecNo(), -1);
    t->Open();
    EXPECT_EQ(t->RecordCount(), 3);
    std::vector<std::int64_t> numbers;
    for (; !t->Eof(); t->Next())
        numbers.push_back(t->RecNo());
    EXPECT_THAT(numbers, ElementsAre(1, 2, 3));
    t->Insert();
    EXPECT_EQ(t->RecNo(), -1);
    CursorFixture::fill(t, "N");
    t->Post();
    EXPECT_EQ(t->RecNo(), 3);  // inserted before C
    EXPECT_EQ(t->RecordCount(), 4);
}

// ---- other programs and odd moments

TEST(Concurrency, EditReadsTheRowAgainAfterLockingIt)
{
    CursorFixture f;
    TwwTable* t = f.openOn({"A"});
    auto other = f.rawTable();
    std::vector<storage::Value> values = CursorFixture::textRow("A");
    values[1] = "Mudado";
    other->update(other->first()->id, values);
    EXPECT_EQ(t->FieldByName(QStringLiteral("Autor"))->AsString(), QStringLiteral("Autor A"));
    t->Edit();
    EXPECT_EQ(t->FieldByName(QStringLiteral("Autor"))->AsString(), QStringLiteral("Mudado"));
    EXPECT_THAT(f.recorder().take(), ElementsAre("BeforeEdit", "state edit", "field *", "AfterEdit"));
}

TEST(Concurrency, EditOfARowDeletedMeanwhileFails)
{
    CursorFixture f;
    TwwTable* t = f.openOn({"A", "B"});
    auto other = f.rawTable();
    other->remove(other->first()->id);
    EXPECT_EQ(messageOf([&] { t->Edit(); }), "TabMemoria: Record not found");
    EXPECT_EQ(t->State(), dsBrowse);
    t->Refresh();
    EXPECT_EQ(CursorFixture::title(t), "B");
}

TEST(Lifecycle, AnErrorInTheNewRecordHandlerPutsTheCursorBack)
{
    CursorFixture f;
    TwwTable* t = f.openOn({"A", "B"});
    t->Next();
    t->OnNewRecord = [](TwwTable*) { throw Exception("no"); };
    EXPECT_EQ(messageOf([&] { t->Insert(); }), "no");
    EXPECT_EQ(t->State(), dsBrowse);
    EXPECT_EQ(CursorFixture::title(t), "B");
    EXPECT_EQ(t->RecNo(), 2);
}

TEST(Lifecycle, DestroyingTheTableDropsAPendingChangeWithoutCloseEvents)
{
    CursorFixture f;
    TwwTable* t = f.openOn({"A"});
    std::vector<std::string> events;
    t->BeforeClose = [&](TwwTable*) { events.push_back("BeforeClose"); };
    t->AfterClose = [&](TwwTable*) { events.push_back("AfterClose"); };
    t->Append();
    CursorFixture::fill(t, "N");
    f.destroyTable();
    EXPECT_TRUE(events.empty());
    EXPECT_THAT(f.storedTitles(), ElementsAre("A"));
}

// ---- the window of rows a grid shows

namespace {

struct WindowCase {
    const char* name;
    std::function<void(TwwTable*)> steps;
    const char* rows;  // the window's titles, "_" for the blank new row
    int active;
};

void PrintTo(const WindowCase& c, std::ostream* os) { *os << c.name; }

const WindowCase windowCases[] = {
    {"AtOpen", [](TwwTable*) {}, "1 2 3 4", 0},
    {"Next", [](TwwTable* t) { t->Next(); }, "1 2 3 4", 1},
    {"NextPastTheWindow", [](TwwTable* t) { t->MoveBy(5); }, "3 4 5 6", 3},
    {"Last", [](TwwTable* t) { t->Last(); }, "7 8 9 10", 3},
    {"LastThenPrior", [](TwwTable* t) { t->Last(); t->Prior(); }, "7 8 9 10", 2},
    {"RowNumberCentres", [](TwwTable* t) { t->setRecNo(6); }, "5 6 7 8", 1},
    {"RowNumberNearTheEnd", [](TwwTable* t) { t->setRecNo(10); }, "7 8 9 10", 3},
    {"InsertStandsBeforeTheCurrentRow", [](TwwTable* t) { t->Next(); t->Insert(); }, "1 _ 2 3", 1},
    {"InsertOnTheFirstRow", [](TwwTable* t) { t->Insert(); }, "_ 1 2 3", 0},
    {"AppendStandsAfterTheLastRow", [](TwwTable* t) { t->Append(); }, "8 9 10 _", 3},
    {"CancelledInsertLeavesNoGap", [](TwwTable* t) { t->Next(); t->Insert(); t->Cancel(); }, "1 2 3 4", 1},
    {"PostedInsertShowsTheNewRow",
     [](TwwTable* t) {
         t->Next();
         t->Insert();
         CursorFixture::fill(t, "N");
         t->Post();
     },
     "1 N 2 3", 1},
    {"DeleteShowsTheNextRow", [](TwwTable* t) { t->Next(); t->Delete(); }, "1 3 4 5", 1},
    {"DeleteTheLastRow", [](TwwTable* t) { t->Last(); t->Delete(); }, "6 7 8 9", 3},
    {"EditShowsTypedValues",
     [](TwwTable* t) {
         t->Edit();
         t->FieldByName(QStringLiteral("Titulo"))->setAsString(QStringLiteral("E"));
     },
     "E 2 3 4", 0},
};

class RowWindow : public ::testing::TestWithParam<WindowCase> {};

}  // namespace

TEST_P(RowWindow, FollowsTheCursor)
{
    CursorFixture f;
    std::vector<std::string> titles;
    for (int i = 1; i <= 10; ++i)
        titles.push_back(std::to_string(i));
    f.createTable(titles);
    TwwTable* t = f.makeTable();
    t->setBufferCount(4);
    t->Open();
    GetParam().steps(t);
    std::string rows;
    for (const storage::Row& row : t->BufferRows())
        rows += (rows.empty() ? "" : " ") + row.values[0].value_or("_");
    EXPECT_EQ(rows, GetParam().rows);
    EXPECT_EQ(t->ActiveRecord(), GetParam().active);
    ASSERT_LT(std::size_t(t->ActiveRecord()), t->BufferRows().size());
    const std::string current = CursorFixture::title(t);
    EXPECT_EQ(t->BufferRows()[std::size_t(t->ActiveRecord())].values[0].value_or("_"), current.empty() ? "_" : current);
}

INSTANTIATE_TEST_SUITE_P(Table, RowWindow, ::testing::ValuesIn(windowCases),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- Locate

namespace {

struct LocateCase {
    const char* name;
    const char* fields;
    QStringList values;
    TLocateOptions options;
    const char* found;  // the title found, nullptr: not found and the cursor stays on B
};

void PrintTo(const LocateCase& c, std::ostream* os) { *os << c.name; }

const LocateCase locateCases[] = {
    {"Exact", "Autor", {"Autor C"}, {}, "C"},
    {"ExactHeedsCase", "Autor", {"autor c"}, {}, nullptr},
    {"CaseInsensitive", "Autor", {"AUTOR C"}, loCaseInsensitive, "C"},
    {"AccentsFoldToo", "Titulo", {"\u00c7\u00c3O"}, loCaseInsensitive, "\u00e7\u00e3o"},
    {"PartialKey", "PrimeiraLinha", {"Linha de \u00e7"}, loPartialKey, "\u00e7\u00e3o"},
    {"PartialIsAPrefixNotAPart", "PrimeiraLinha", {"de C"}, loPartialKey, nullptr},
    {"PartialAndCaseInsensitive", "Titulo", {"\u00c7"}, loPartialKey | loCaseInsensitive, "\u00e7\u00e3o"},
    {"TwoFields", "Titulo;Autor", {"A", "Autor A"}, {}, "A"},
    {"TwoFieldsOneDiffers", "Titulo;Autor", {"A", "Autor C"}, {}, nullptr},
    {"TheFirstMatchInTableOrder", "Assunto", {"Assunto"}, {}, "A"},
};

class Locating : public ::testing::TestWithParam<LocateCase> {};

}  // namespace

TEST_P(Locating, FindsTheFirstMatchingRowOrStays)
{
    const LocateCase& c = GetParam();
    CursorFixture f;
    TwwTable* t = f.openOn({"A", "B", "C", "\xC3\xA7\xC3\xA3o"});
    t->Next();
    EXPECT_EQ(t->Locate(QString::fromLatin1(c.fields), c.values, c.options), c.found != nullptr);
    EXPECT_EQ(CursorFixture::title(t), c.found ? QString::fromUtf8(c.found).toStdString() : "B");
}

INSTANTIATE_TEST_SUITE_P(Table, Locating, ::testing::ValuesIn(locateCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Locating, AValueForEachFieldIsNeeded)
{
    CursorFixture f;
    TwwTable* t = f.openOn({"A"});
    EXPECT_EQ(messageOf([&] { t->Locate(QStringLiteral("Titulo;Autor"), {QStringLiteral("A")}); }),
              "TabMemoria: Locate needs one value for each of the fields 'Titulo;Autor'");
    EXPECT_EQ(messageOf([&] { t->Locate(QStringLiteral("Ano"), {QStringLiteral("1")}); }),
              "TabMemoria: Field 'Ano' not found");
}
