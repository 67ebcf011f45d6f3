// The data-bound edit on a real table: typing starts editing, Escape puts the
// field's value back, leaving the edit or a post writes its text, the field's
// size limits it, and a refused post brings the focus to it.
#include "library/dataset/wwdbedit.h"
#include "tests/library/dataset/cursorfixture.h"
#include "tests/support/errorrecorder.h"

#include <QApplication>
#include <QClipboard>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

// A window with an edit per string field, bound to the fixture's table.
class EditWindow {
public:
    explicit EditWindow(CursorFixture& fixture, const std::vector<std::string>& rows, bool readOnly = false)
    {
        fixture.createTable(rows);
        table = fixture.makeTable();
        table->setReadOnly(readOnly);
        auto* layout = new QVBoxLayout(&window);
        for (const char* name : {"Titulo", "Autor", "Assunto", "PrimeiraLinha"}) {
            auto* edit = new TwwDBEdit(&window);
            edit->setDataSource(fixture.source());
            edit->setDataField(QString::fromLatin1(name));
            layout->addWidget(edit);
            edits.push_back(edit);
        }
        other = new QLineEdit(&window);  // somewhere else to put the focus
        layout->addWidget(other);
        table->Open();
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        edits[1]->setFocus();
        QApplication::processEvents();
    }

    TwwDBEdit* title() const { return edits[0]; }
    TwwDBEdit* author() const { return edits[1]; }
    QString authorField() const { return table->FieldByName(QStringLiteral("Autor"))->AsString(); }

    QWidget window;
    TwwTable* table = nullptr;
    std::vector<TwwDBEdit*> edits;
    QLineEdit* other = nullptr;
};

struct KeyCase {
    const char* name;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    const char* text;  // what the key types
    const char* after;  // the edit's text afterwards, from "Autor A" with the caret at the end
};

void PrintTo(const KeyCase& c, std::ostream* os) { *os << c.name; }

const KeyCase startingKeys[] = {
    {"Printable", Qt::Key_X, Qt::NoModifier, "x", "Autor Ax"},
    {"Accented", Qt::Key_unknown, Qt::NoModifier, "\xC3\xA3", "Autor A\xC3\xA3"},
    {"Backspace", Qt::Key_Backspace, Qt::NoModifier, "", "Autor "},
    {"DeleteAfterHome", Qt::Key_Delete, Qt::NoModifier, "", "utor A"},
    {"Paste", Qt::Key_V, Qt::ControlModifier, "", "Autor Acolado"},
    {"Cut", Qt::Key_X, Qt::ControlModifier, "", ""},
};

class StartingKeys : public ::testing::TestWithParam<KeyCase> {};

}  // namespace

TEST_P(StartingKeys, PutTheCursorIntoEditStateAndWriteOnExit)
{
    const KeyCase& c = GetParam();
    CursorFixture f;
    EditWindow w(f, {"A", "B"});
    QApplication::clipboard()->setText(QStringLiteral("colado"));
    TwwDBEdit* edit = w.author();
    if (c.key == Qt::Key_Delete)
        edit->home(false);
    else if (c.key == Qt::Key_X && c.modifiers == Qt::ControlModifier)
        edit->selectAll();
    else
        edit->end(false);
    if (c.key == Qt::Key_unknown)  // a key with text beyond ASCII, as an input method gives it
        QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_Atilde, QString::fromUtf8(c.text), Qt::NoModifier);
    else
        QTest::keyClick(edit, c.key, c.modifiers);
    EXPECT_EQ(w.table->State(), dsEdit);
    EXPECT_EQ(edit->text(), QString::fromUtf8(c.after));
    EXPECT_EQ(w.authorField(), QStringLiteral("Autor A"));  // not written yet
    w.other->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(w.authorField(), QString::fromUtf8(c.after));
    EXPECT_EQ(w.table->State(), dsEdit);
}

INSTANTIATE_TEST_SUITE_P(Keys, StartingKeys, ::testing::ValuesIn(startingKeys),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DBEdit, MovingTheCaretDoesNotStartEditing)
{
    CursorFixture f;
    EditWindow w(f, {"A"});
    for (Qt::Key key : {Qt::Key_Left, Qt::Key_Home, Qt::Key_End, Qt::Key_Right})
        QTest::keyClick(w.author(), key);
    QTest::keyClick(w.author(), Qt::Key_C, Qt::ControlModifier);  // copy
    EXPECT_EQ(w.table->State(), dsBrowse);
}

TEST(DBEdit, EscapePutsTheFieldsValueBackAndSelectsIt)
{
    CursorFixture f;
    EditWindow w(f, {"A"});
    w.author()->end(false);
    QTest::keyClicks(w.author(), QStringLiteral("zz"));
    QTest::keyClick(w.author(), Qt::Key_Escape);
    EXPECT_EQ(w.author()->text(), QStringLiteral("Autor A"));
    EXPECT_EQ(w.author()->selectedText(), QStringLiteral("Autor A"));
    // Leaving the edit writes nothing, and a move drops the untouched edit.
    w.other->setFocus();
    w.table->Next();
    EXPECT_EQ(w.table->State(), dsBrowse);
    EXPECT_THAT(f.storedTitles(), ::testing::ElementsAre("A"));
    w.table->First();
    EXPECT_EQ(w.authorField(), QStringLiteral("Autor A"));
}

TEST(DBEdit, APostWritesTheTextOfTheEditThatStillHasTheFocus)
{
    CursorFixture f;
    EditWindow w(f, {"A", "B"});
    w.author()->selectAll();
    QTest::keyClicks(w.author(), QStringLiteral("Nova"));
    w.table->Post();
    EXPECT_EQ(w.table->State(), dsBrowse);
    auto raw = f.rawTable();
    EXPECT_EQ(raw->first()->values[1], "Nova");
    // A move shows the next row's value.
    w.table->Next();
    EXPECT_EQ(w.author()->text(), QStringLiteral("Autor B"));
}

TEST(DBEdit, TakesAtMostTheFieldsSize)
{
    CursorFixture f;
    EditWindow w(f, {"A"});
    const int sizes[] = {50, 40, 25, 70};
    for (std::size_t i = 0; i < w.edits.size(); ++i)
        EXPECT_EQ(w.edits[i]->maxLength(), sizes[i]);
    w.author()->selectAll();
    QTest::keyClicks(w.author(), QString(45, QLatin1Char('y')));
    EXPECT_EQ(w.author()->text(), QString(40, QLatin1Char('y')));
    w.table->Post();
    EXPECT_EQ(w.authorField(), QString(40, QLatin1Char('y')));
}

TEST(DBEdit, PastingFromTheMenuStartsEditingToo)
{
    CursorFixture f;
    EditWindow w(f, {"A"});
    QApplication::clipboard()->setText(QStringLiteral("X"));
    w.author()->end(false);
    w.author()->paste();  // what the context menu's Paste does
    EXPECT_EQ(w.table->State(), dsEdit);
    EXPECT_EQ(w.author()->text(), QStringLiteral("Autor AX"));
    w.table->Post();
    EXPECT_EQ(w.authorField(), QStringLiteral("Autor AX"));
}

TEST(DBEdit, TypingIntoAnEmptyTableInsertsARowAndKeepsTheKey)
{
    CursorFixture f;
    EditWindow w(f, {});
    QTest::keyClicks(w.author(), QStringLiteral("Ana"));
    EXPECT_EQ(w.table->State(), dsInsert);
    EXPECT_EQ(w.author()->text(), QStringLiteral("Ana"));
}

TEST(DBEdit, ARefusedPostPutsTheFocusInTheFieldsEdit)
{
    CursorFixture f;
    EditWindow w(f, {"A"});
    w.table->Insert();
    w.author()->setFocus();
    QTest::keyClicks(w.author(), QStringLiteral("Ana"));
    ErrorRecorder errors;
    EXPECT_THROW(w.table->Post(), Exception);
    QApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), w.title());
    EXPECT_EQ(w.author()->text(), QStringLiteral("Ana"));
    EXPECT_EQ(w.table->State(), dsInsert);
}

TEST(DBEdit, OnAReadOnlyTableKeysChangeNothing)
{
    CursorFixture f;
    EditWindow w(f, {"A"}, true);
    w.author()->end(false);
    QTest::keyClicks(w.author(), QStringLiteral("zz"));
    QTest::keyClick(w.author(), Qt::Key_Backspace);
    EXPECT_EQ(w.author()->text(), QStringLiteral("Autor A"));
    EXPECT_EQ(w.table->State(), dsBrowse);
}

TEST(DBEdit, KeyDownSeesEveryKeyFirst)
{
    CursorFixture f;
    EditWindow w(f, {"A"});
    std::vector<int> keys;
    w.author()->OnKeyDown = [&](TwwDBEdit*, QKeyEvent* key) {
        keys.push_back(key->key());
        if (key->key() == Qt::Key_Return)
            key->accept();
    };
    QTest::keyClick(w.author(), Qt::Key_Return);
    QTest::keyClick(w.author(), Qt::Key_Q);
    EXPECT_THAT(keys, ::testing::ElementsAre(Qt::Key_Return, Qt::Key_Q));
    EXPECT_EQ(w.author()->text(), QStringLiteral("Autor Aq"));
}

TEST(DBEdit, ShowsTheNewRowBeforeTheAfterScrollHandlerRuns)
{
    CursorFixture f;
    EditWindow w(f, {"A", "B", "C"});
    std::vector<std::string> seen;
    w.table->AfterScroll = [&](TwwTable*) { seen.push_back(w.title()->text().toStdString()); };
    w.table->Next();
    w.table->Last();
    w.table->Prior();
    w.table->First();
    EXPECT_THAT(seen, ::testing::ElementsAre("B", "C", "B", "A"));
}

// A file whose title field is wider than the program's holds a longer title:
// the edit shows it whole instead of cutting it, and a change that keeps it
// too long is refused with the size, never stored cut.
TEST(DBEdit, AStoredValueLongerThanTheFieldIsShownWholeAndNeverStoredCut)
{
    CursorFixture f;
    storage::TableSchema wide = CursorFixture::textSchema();
    wide.fields[0].size = 70;
    f.createTable({}, wide);
    std::vector<storage::Value> row = CursorFixture::textRow("x");
    const std::string longTitle(60, 'L');
    row[0] = longTitle;
    f.rawTable()->insert(std::nullopt, row);
    TwwTable* table = f.makeTable();
    TwwDBEdit edit;
    edit.setDataSource(f.source());
    edit.setDataField(QStringLiteral("Titulo"));
    table->Open();
    EXPECT_EQ(edit.text().toStdString(), longTitle);

    ErrorRecorder errors;
    edit.end(false);
    QTest::keyClick(&edit, Qt::Key_Backspace);  // still 59 characters: too long for the program's 50
    EXPECT_THROW(table->Post(), Exception);
    EXPECT_EQ(edit.text().toStdString(), std::string(59, 'L'));
    EXPECT_EQ(f.rawTable()->first()->values[0], longTitle);
    // Shortened to fit, it is stored.
    edit.setSelection(0, 20);
    QTest::keyClick(&edit, Qt::Key_Delete);
    table->Post();
    EXPECT_EQ(f.rawTable()->first()->values[0], std::string(39, 'L'));
}
