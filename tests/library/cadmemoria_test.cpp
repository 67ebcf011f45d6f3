// The register window: its layout, the table it owns, its handlers.
#include "library/cadmemoria.h"
#include "library/dataset/field.h"
#include "library/dataset/wwdbedit.h"
#include "library/dataset/wwtable.h"
#include "library/textstable.h"
#include "library/wwdbgrid.h"
#include "library/wwdbnavigator.h"
#include "library/wwnavbutton.h"
#include "memorize/telamemoria.h"
#include "ui_telamemoria.h"
#include "platform/exception.h"
#include "richtext/wwdbrichedit.h"
#include "platform/storage/storage.h"
#include "tests/support/qtprinters.h"
#include "tests/support/tempdir.h"
#include "ui_cadmemoria.h"

#include <QClipboard>
#include <QLabel>
#include <QTimer>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>

using ::testing::HasSubstr;

namespace {

// The alias "Tessalind" over a directory of the test's own.
class CadMemoriaTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ::setenv("TESSALIND_ENGINE_CONFIG", dir.file("engine.ini").c_str(), 1);
        std::ofstream(dir.file("engine.ini")) << "[Aliases]\nTessalind=" << dir.path() << "\n";
    }
    void TearDown() override { ::unsetenv("TESSALIND_ENGINE_CONFIG"); }
    void makeTable(int rows)
    {
        storage::Engine& engine = storage::Engine::instance();
        engine.createTable("Tessalind", "Memorizar.DB", TextsTable::schema());
        auto table = engine.openTable("Tessalind", "Memorizar.DB", storage::OpenMode::ReadWrite);
        for (int i = 1; i <= rows; ++i) {
            const std::string n = std::to_string(i);
            table->insert(std::nullopt, {"Título " + n, "Autor " + n, "Assunto " + n, "Linha " + n, "{\\rtf1 x}"});
        }
    }
    std::unique_ptr<TCadMemoria> open()
    {
        auto window = std::make_unique<TCadMemoria>(nullptr);
        window->show();
        window->activateWindow();
        QApplication::processEvents();
        return window;
    }

    TempDir dir;
};

TEST_F(CadMemoriaTest, ControlsSitWhereTheLayoutPutsThem)
{
    makeTable(2);
    auto window = open();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Acesso ao Textos para Memorização"));
    EXPECT_EQ(window->size(), QSize(1002, 683));
    struct Place {
        const char* name;
        QRect geometry;
    };
    for (const Place& p : {Place{"Panel1", {4, 6, 997, 627}}, Place{"Bevel2", {7, 2, 346, 607}},
                           Place{"Bevel1", {360, 4, 625, 613}}, Place{"Label1", {13, 16, 39, 14}},
                           Place{"DBEdit1", {64, 8, 280, 21}}, Place{"Label2", {15, 43, 31, 14}},
                           Place{"DBEdit2", {64, 36, 280, 21}}, Place{"Label3", {15, 71, 47, 14}},
                           Place{"DBEdit3", {64, 64, 280, 21}}, Place{"Bevel3", {8, 96, 311, 3}},
                           Place{"Label4", {71, 111, 171, 14}}, Place{"DBEdit4", {12, 144, 335, 21}},
                           Place{"Bevel4", {8, 184, 312, 3}}, Place{"wwDBGrid1", {13, 192, 332, 353}}, Place{"Panel2", {64, 556, 185, 41}},
                           Place{"SpeedButton1", {2, 3, 180, 35}}, Place{"EditaTexto", {368, 13, 609, 595}}, Place{"BitBtn1", {886, 645, 108, 31}},
                           Place{"Panel3", {237, 644, 466, 33}}, Place{"wwDBNavigator1", {9, 4, 450, 25}}}) {
        const QWidget* w = window->findChild<QWidget*>(QString::fromLatin1(p.name));
        ASSERT_NE(w, nullptr) << p.name;
        if (std::string(p.name) != "wwDBNavigator1")  // the navigator sizes itself to its buttons
            EXPECT_EQ(w->geometry(), p.geometry) << p.name;
        else
            EXPECT_EQ(w->pos(), p.geometry.topLeft());
    }
    const Ui::TCadMemoria& ui = *window->controls();
    EXPECT_EQ(ui.Label1->text(), QStringLiteral("TÍTULO"));
    EXPECT_EQ(ui.Label4->text(), QStringLiteral("Referência da 1ª Linha do Texto"));
    EXPECT_EQ(ui.SpeedButton1->text(), QStringLiteral("&Memorizar"));
    EXPECT_EQ(ui.SpeedButton1->toolTip(), QStringLiteral("Acesso ao processo de memorização do Texto selecionado"));
    EXPECT_EQ(ui.SpeedButton1->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(ui.BitBtn1->text(), QStringLiteral("&Retornar "));
    EXPECT_TRUE(ui.BitBtn1->toolTip().isEmpty());
}

TEST_F(CadMemoriaTest, TheEditsShowTheFirstRowAndTakeAtMostTheFieldSizes)
{
    makeTable(3);
    auto window = open();
    const Ui::TCadMemoria& ui = *window->controls();
    EXPECT_EQ(ui.DBEdit1->text(), QStringLiteral("Título 1"));
    EXPECT_EQ(ui.DBEdit2->text(), QStringLiteral("Autor 1"));
    EXPECT_EQ(ui.DBEdit3->text(), QStringLiteral("Assunto 1"));
    EXPECT_EQ(ui.DBEdit4->text(), QStringLiteral("Linha 1"));
    EXPECT_EQ(ui.DBEdit1->maxLength(), 50);
    EXPECT_EQ(ui.DBEdit2->maxLength(), 40);
    EXPECT_EQ(ui.DBEdit3->maxLength(), 25);
    EXPECT_EQ(ui.DBEdit4->maxLength(), 70);
    EXPECT_EQ(window->TabMemoria->objectName(), QStringLiteral("TabMemoria"));
    EXPECT_EQ(window->TabMemoria->RecNo(), 1);
}

TEST_F(CadMemoriaTest, TheTextShowsItsRowAllSelectedAfterOpeningMovesAndPosts)
{
    storage::Engine& engine = storage::Engine::instance();
    engine.createTable("Tessalind", "Memorizar.DB", TextsTable::schema());
    {
        auto table = engine.openTable("Tessalind", "Memorizar.DB", storage::OpenMode::ReadWrite);
        table->insert(std::nullopt, {"Um", "A", "S", "L", "{\\rtf1\\ansi {\\b Negrito} primeiro\\par}"});
        table->insert(std::nullopt, {"Dois", "A", "S", "L", "segundo texto"});
    }
    auto window = open();
    TwwDBRichEdit* text = window->controls()->EditaTexto;
    EXPECT_EQ(QApplication::focusWidget(), text);
    EXPECT_EQ(text->text(), QStringLiteral("Negrito primeiro"));
    EXPECT_TRUE(text->selectionCharFormat().bold || text->document()->toHtml().contains(QStringLiteral("font-weight")));
    const auto allSelected = [&] { return text->selStart() == 0 && text->selLength() == text->textLength(); };
    EXPECT_TRUE(allSelected());
    text->setSelection(2, 0);
    window->TabMemoria->Next();
    EXPECT_EQ(text->text(), QStringLiteral("segundo texto"));  // a plain-text field reads as plain text
    EXPECT_TRUE(allSelected());
    window->controls()->DBEdit2->setFocus();
    QTest::keyClicks(window->controls()->DBEdit2, "B");
    text->setSelection(1, 0);
    window->TabMemoria->Post();
    EXPECT_TRUE(allSelected());
    EXPECT_EQ(text->MeasurementUnits(), TwwMeasurementUnits::muCentimeters);
    EXPECT_EQ(text->EditorCaption(), QStringLiteral("Inserção/Alteração/Edição de Textos para memorização"));
    EXPECT_EQ(text->toolTip(), QStringLiteral("Dê um  duplo Click na caixa do Texto para acessar o editor"));
}

TEST_F(CadMemoriaTest, TypingIntoTheTextEditsTheRowAndMovingAwayStoresIt)
{
    makeTable(2);
    auto window = open();
    TwwDBRichEdit* text = window->controls()->EditaTexto;
    text->setSelection(0, 0);
    QTest::keyClicks(text, "Novo ");
    EXPECT_EQ(window->TabMemoria->State(), dsEdit);
    window->TabMemoria->Next();
    window->TabMemoria->First();
    EXPECT_TRUE(text->text().startsWith(QStringLiteral("Novo "))) << text->text().toStdString();
    auto table = storage::Engine::instance().openTable("Tessalind", "Memorizar.DB", storage::OpenMode::ReadOnly);
    EXPECT_THAT(*table->first()->values[4], HasSubstr("Novo "));
}

// Presses "&Memorizar" and answers with the text the memorization window
// shows, closing it at once; "<none>" when no window came.
QString memorize(TCadMemoria& window)
{
    QString shown = QStringLiteral("<none>");
    QTimer::singleShot(0, [&] {
        if (auto* drill = qobject_cast<TTelaMemoria*>(QApplication::activeModalWidget())) {
            shown = drill->controls()->RichEdit1->text();
            drill->close();
        }
    });
    window.controls()->SpeedButton1->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return shown;
}

TEST_F(CadMemoriaTest, MemorizarHandsTheSelectionToANewMemorizationWindow)
{
    storage::Engine& engine = storage::Engine::instance();
    engine.createTable("Tessalind", "Memorizar.DB", TextsTable::schema());
    {
        auto table = engine.openTable("Tessalind", "Memorizar.DB", storage::OpenMode::ReadWrite);
        table->insert(std::nullopt, {"Um", "A", "S", "L", "{\\rtf1\\ansi {\\b Minha  terra}\\par tem palmeiras\\par}"});
    }
    auto window = open();
    TwwDBRichEdit* text = window->controls()->EditaTexto;
    // Right after opening the whole text goes, formatting dropped and runs of
    // spaces collapsed.
    EXPECT_EQ(memorize(*window), QStringLiteral("Minha terra\r\ntem palmeiras"));
    EXPECT_EQ(TelaMemoria, nullptr) << "released with its showing";
    // A paragraph selected by hand goes alone.
    text->setSelection(13, 13);
    EXPECT_EQ(memorize(*window), QStringLiteral("tem palmeiras"));
    // With the caret placed and nothing selected, the clipboard keeps what it
    // held before, and that is what the window shows.
    QApplication::clipboard()->setText(QStringLiteral("copiado em outro programa"));
    text->setSelection(3, 0);
    EXPECT_EQ(memorize(*window), QStringLiteral("copiado em outro programa"));
    // A text being changed goes as changed, and the row stays in edit state.
    text->setSelection(0, 0);
    QTest::keyClicks(text, "Ah ");
    window->TabMemoria->AfterScroll(window->TabMemoria);  // select all, as a move would
    EXPECT_EQ(memorize(*window), QStringLiteral("Ah Minha terra\r\ntem palmeiras"));
    EXPECT_EQ(window->TabMemoria->State(), dsEdit);
}

TEST_F(CadMemoriaTest, MemorizarOnAnEmptyTableStillOpensTheWindow)
{
    makeTable(0);
    auto window = open();
    QApplication::clipboard()->setText(QStringLiteral("texto anterior"));
    EXPECT_EQ(memorize(*window), QStringLiteral("texto anterior"));
}

TEST_F(CadMemoriaTest, TheGridListsTheFiveFieldsWithTheirTitles)
{
    makeTable(2);
    auto window = open();
    const TwwDBGrid* grid = window->controls()->wwDBGrid1;
    QStringList titles;
    for (int c = 0; c < grid->columnCount(); ++c)
        titles << grid->columnTitle(c);
    EXPECT_EQ(titles, (QStringList{"Titulo", "Autor", "Assunto", "PrimeiraLinha", "Texto"}));
    EXPECT_EQ(grid->TitleColor(), QColor(0, 0, 160));
    EXPECT_EQ(grid->DataSet(), window->TabMemoria);
    // The thumb stands for the current row: at the top on the first row.
    const QScrollBar* bar = grid->verticalScrollBar();
    EXPECT_EQ(bar->value(), bar->minimum()) << bar->minimum() << ".." << bar->maximum() << " page " << bar->pageStep();
    window->TabMemoria->Last();
    EXPECT_EQ(bar->value(), bar->maximum());
}

TEST_F(CadMemoriaTest, TheNavigatorHasItsButtonsInOrderWithTheirHints)
{
    makeTable(1);
    auto window = open();
    TwwDBNavigator* navigator = window->controls()->wwDBNavigator1;
    const std::vector<std::pair<QString, QString>> expected{
        {"wwDBNavigator1First", "Move para 1º Registro"},
        {"wwDBNavigator1PriorPage", "Retorna 10 registros"},
        {"wwDBNavigator1Prior", "Registro anterior"},
        {"wwDBNavigator1Next", "Próximo Registro"},
        {"wwDBNavigator1NextPage", "Avança 10 registros"},
        {"wwDBNavigator1Last", "Move para último Registro"},
        {"wwDBNavigator1Insert", "Insere um novo registro"},
        {"wwDBNavigator1Edit", "Altera o registro corrente"},
        {"wwDBNavigator1Post", "Grava registro"},
        {"wwDBNavigator1Delete", "Deleta o registro corrente"},
        {"wwDBNavigator1Cancel", "Cancela a modificação feita"},
        {"wwDBNavigator1Refresh", "Atualiza apresentação dos registros"},
        {"wwDBNavigator1SaveBookmark", "Salva em memória registro corrente"},
        {"wwDBNavigator1RestoreBookmark", "Retorna a posição do registro salvo"}};
    ASSERT_EQ(navigator->Buttons().Count(), int(expected.size()));
    for (int i = 0; i < int(expected.size()); ++i) {
        const TwwNavButton* button = navigator->Buttons().Items(i);
        EXPECT_EQ(button->objectName(), expected[std::size_t(i)].first);
        EXPECT_EQ(button->toolTip(), expected[std::size_t(i)].second);
    }
    EXPECT_EQ(navigator->RepeatInterval().InitialDelay, 500);
    EXPECT_EQ(navigator->RepeatInterval().Interval, 100);
}

TEST_F(CadMemoriaTest, EnterWalksTheEditsAndInsertPutsTheFocusInTheTitle)
{
    makeTable(2);
    auto window = open();
    const Ui::TCadMemoria& ui = *window->controls();
    EXPECT_EQ(QApplication::focusWidget(), ui.EditaTexto);
    ui.DBEdit1->setFocus();
    for (QWidget* next : std::vector<QWidget*>{ui.DBEdit2, ui.DBEdit3, ui.DBEdit4, ui.wwDBGrid1}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return, Qt::ShiftModifier);
        EXPECT_EQ(QApplication::focusWidget(), next);
    }
    ui.DBEdit3->setFocus();
    window->TabMemoria->Insert();
    EXPECT_EQ(QApplication::focusWidget(), ui.DBEdit1);
    EXPECT_EQ(ui.DBEdit1->text(), QString());
    EXPECT_EQ(window->TabMemoria->State(), dsInsert);
}

TEST_F(CadMemoriaTest, ClosingTheWindowDropsARowBeingEdited)
{
    makeTable(1);
    {
        auto window = open();
        const Ui::TCadMemoria& ui = *window->controls();
        ui.DBEdit1->setFocus();
        ui.DBEdit1->selectAll();
        QTest::keyClicks(ui.DBEdit1, "Outro");
        EXPECT_EQ(window->TabMemoria->State(), dsEdit);
        QTest::mouseClick(ui.BitBtn1, Qt::LeftButton);
        EXPECT_FALSE(window->isVisible());
    }
    auto table = storage::Engine::instance().openTable("Tessalind", "Memorizar.DB", storage::OpenMode::ReadOnly);
    EXPECT_EQ(table->first()->values[0], "Título 1");
    // The next opening starts again on the first row, unedited.
    auto again = open();
    EXPECT_EQ(again->controls()->DBEdit1->text(), QStringLiteral("Título 1"));
    EXPECT_EQ(again->TabMemoria->State(), dsBrowse);
}

TEST_F(CadMemoriaTest, ATableThatCannotBeOpenedFailsTheCreation)
{
    try {
        TCadMemoria window(nullptr);
        ADD_FAILURE();
    } catch (const storage::EngineError& e) {
        EXPECT_EQ(e.message(), "Table does not exist\nAlias: Tessalind\nFile: " + dir.file("Memorizar.DB"));
    }
    ::setenv("TESSALIND_ENGINE_CONFIG", dir.file("other.ini").c_str(), 1);
    std::ofstream(dir.file("other.ini")) << "[Aliases]\nOutro=/x\n";
    try {
        TCadMemoria window(nullptr);
        ADD_FAILURE();
    } catch (const storage::EngineError& e) {
        EXPECT_EQ(e.message(), "Unknown database alias\nAlias: Tessalind");
    }
}

TEST_F(CadMemoriaTest, WithoutAnyConfigurationTheFirstOpeningInstallsTheTexts)
{
    ::unsetenv("TESSALIND_ENGINE_CONFIG");
    ::setenv("XDG_CONFIG_HOME", dir.file("config").c_str(), 1);
    ::setenv("XDG_DATA_HOME", dir.file("data").c_str(), 1);
    auto window = open();
    EXPECT_GE(window->TabMemoria->RecordCount(), 3);
    EXPECT_FALSE(window->controls()->DBEdit1->text().isEmpty());
    EXPECT_TRUE(std::filesystem::exists(dir.file("data") + "/tessalind/Memorizar.DB"));
    if (const char* shots = std::getenv("TESS_SCREENSHOT_DIR"))
        window->grab().save(QString::fromLocal8Bit(shots) + QStringLiteral("/cadmemoria.png"));
}

}  // namespace
