#include "app/boxsobre.h"
#include "app/menuprincipal.h"
#include "library/cadmemoria.h"
#include "library/dataset/wwtable.h"
#include "library/textstable.h"
#include "platform/storage/storage.h"
#include "tests/support/tempdir.h"
#include "platform/ui/application.h"
#include "platform/ui/messagedlg.h"
#include "tests/app/urlrecorder.h"
#include "tests/support/errorrecorder.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <fstream>

namespace {

class MainWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        window.show();
        QApplication::setActiveWindow(&window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }
    template <class T>
    T* control(const char* name)
    {
        T* c = window.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    // Runs the application's loop until the program is told to end; a loop
    // still running after two seconds means the command did not end it.
    int runLoopAfter(const std::function<void()>& command)
    {
        bool timedOut = false;
        QTimer::singleShot(0, command);
        QTimer::singleShot(2000, [&] {
            timedOut = true;
            QApplication::exit(99);
        });
        const int rc = QApplication::exec();
        return timedOut ? -1 : rc;
    }

    TMenuPrincipal window;
};

TEST_F(MainWindow, LaysOutItsControlsWhereTheLayoutTableSays)
{
    struct Place {
        const char* name;
        int left, top, width, height;
    } places[] = {
        {"Panel1", 2, 0, 1001, 42},   {"BitBtn1", 8, 3, 50, 36},    {"BitBtn2", 59, 3, 50, 36},
        {"BitBtn3", 110, 3, 50, 36},  {"BitBtn5", 162, 3, 50, 36},  {"BitBtn4", 255, 3, 50, 36},
        {"Image2", 4, 42, 397, 218},  {"Image5", 3, 260, 397, 258}, {"Image6", 399, 259, 394, 259},
        {"Image4", 400, 43, 391, 216}, {"Image1", 27, 115, 206, 262}, {"Image3", 791, 42, 391, 216},
        {"Image7", 792, 257, 394, 259}, {"Image8", 3, 516, 397, 258}, {"Image9", 399, 515, 394, 259},
        {"Image10", 790, 505, 394, 259}, {"Label1", 96, 600, 62, 13}, {"Memo1", 328, 144, 412, 53},
    };
    for (const auto& p : places) {
        QWidget* w = control<QWidget>(p.name);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->geometry(), QRect(p.left, p.top, p.width, p.height)) << p.name;
    }
    EXPECT_EQ(window.centralWidget()->size(), QSize(1012, 664));
    EXPECT_EQ(window.windowTitle(), "Tessalind de Textos");
    EXPECT_EQ(control<QLabel>("Label1")->text(), "Versão 1.3");
    EXPECT_FALSE(control<QPushButton>("BitBtn3")->isVisible());
    // Later pictures lie over earlier ones; the tool bar and the notice above all.
    const QObjectList& order = window.centralWidget()->children();
    EXPECT_LT(order.indexOf(control<QLabel>("Image2")), order.indexOf(control<QLabel>("Image1")));
    EXPECT_EQ(order.back(), control<QPlainTextEdit>("Memo1"));
}

TEST_F(MainWindow, ToolBarHintsAndMenuCaptions)
{
    struct Hint {
        const char* button;
        const char* hint;
    } hints[] = {
        {"BitBtn1", "Acesso ao Cadastro de Textos"}, {"BitBtn2", "Acesso a decorar textos"},
        {"BitBtn3", "Acesso a Ajuda do Sistema"},    {"BitBtn5", "Acesso a Home-Page da Quorvane"},
        {"BitBtn4", "Sair do Programa"},
    };
    for (const auto& h : hints)
        EXPECT_EQ(control<QPushButton>(h.button)->toolTip(), QString::fromUtf8(h.hint)) << h.button;
    EXPECT_EQ(control<QPlainTextEdit>("Memo1")->toolTip(), "Acesse a Home-Page do Quorvane para maiores Informações");

    QStringList bar;
    for (QAction* a : window.menuBar()->actions())
        bar << a->text();
    EXPECT_EQ(bar, (QStringList{"&Cadastros Gerais ", "&Decorar", "&Sobre"}));
    QStringList dropDown;
    for (QAction* a : control<QMenu>("CadastrosGeais1")->actions())
        dropDown << (a->isSeparator() ? QStringLiteral("-") : a->text() + QLatin1Char('|') + a->shortcut().toString());
    EXPECT_EQ(dropDown, (QStringList{"Textos para &Decorar|F5", "-", "&Sair do Sistema|Ctrl+X"}));
}

TEST_F(MainWindow, TabOrderRunsFromTheNoticeThroughTheVisibleButtons)
{
    QWidget* w = control<QWidget>("Memo1");
    EXPECT_EQ(QApplication::focusWidget(), w);
    QStringList order;
    for (int i = 0; i < 5; ++i) {
        order << w->objectName();
        w = w->nextInFocusChain();
        while (!(w->focusPolicy() & Qt::TabFocus) || !w->isVisible())
            w = w->nextInFocusChain();
    }
    EXPECT_EQ(order, (QStringList{"Memo1", "BitBtn1", "BitBtn2", "BitBtn4", "BitBtn5"}));
}

TEST_F(MainWindow, EveryExitCommandEndsTheLoopWithoutAQuestion)
{
    MessageDlgScript noQuestions;
    const std::pair<const char*, std::function<void()>> commands[] = {
        {"Ctrl+X", [this] { QTest::keyClick(&window, Qt::Key_X, Qt::ControlModifier); }},
        {"Sair do Sistema", [this] { control<QAction>("SairdoSistema1")->trigger(); }},
        {"BitBtn4", [this] { control<QPushButton>("BitBtn4")->click(); }},
        {"close box", [this] { window.close(); }},
    };
    for (const auto& [name, command] : commands) {
        window.show();
        EXPECT_EQ(runLoopAfter(command), 0) << name;
    }
    EXPECT_TRUE(noQuestions.requests().empty());
}

TEST_F(MainWindow, F6IsTakenButRunsNothing)
{
    ErrorRecorder errors;
    MessageDlgScript boxes;
    EXPECT_EQ(runLoopAfter([this] { QTest::keyClick(&window, Qt::Key_F6); }), -1);
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(boxes.requests().empty());
    EXPECT_TRUE(errors.messages().isEmpty());
}

TEST_F(MainWindow, TheGlobeAndTheNoticeBothOpenTheHomePage)
{
    UrlRecorder urls;
    control<QPushButton>("BitBtn5")->click();
    auto* memo = control<QPlainTextEdit>("Memo1");
    QTest::mouseClick(memo->viewport(), Qt::LeftButton, {}, QPoint(20, 10));
    EXPECT_EQ(urls.opened, (QStringList{kHomePage, kHomePage}));
    EXPECT_EQ(memo->viewport()->cursor().shape(), Qt::PointingHandCursor);
}

TEST_F(MainWindow, TheNoticeCannotBeChanged)
{
    auto* memo = control<QPlainTextEdit>("Memo1");
    const QString before = memo->toPlainText();
    EXPECT_EQ(before.count(QLatin1Char('\n')), 2) << "three lines";
    EXPECT_TRUE(before.contains("QUORVANE"));
    QTest::keyClicks(memo, "xyz");
    QTest::keyClick(memo, Qt::Key_Delete);
    QTest::keyClick(memo, Qt::Key_Backspace);
    EXPECT_EQ(memo->toPlainText(), before);
}

TEST_F(MainWindow, TheHiddenHelpCommandSetsTheHelpFileAndTheViewerReportsItMissing)
{
    MessageDlgScript boxes;
    EXPECT_TRUE(Application::helpFile().isEmpty());
    window.BitBtn3Click();
    EXPECT_EQ(Application::helpFile(), "\\BRELLIX\\TESSALIND\\TESSALIND.HLP");
    ASSERT_EQ(boxes.requests().size(), 1u);
    EXPECT_TRUE(boxes.requests()[0].text.contains("/BRELLIX/TESSALIND/TESSALIND.HLP"));
}

TEST_F(MainWindow, SobreOpensTheAboutBoxModallyAndReleasesIt)
{
    QPointer<TBoxsobre> seen;
    bool mainWindowBlocked = false;
    QTimer::singleShot(0, [&] {
        seen = qobject_cast<TBoxsobre*>(QApplication::activeModalWidget());
        mainWindowBlocked = seen && !window.isEnabled() ? true : QApplication::activeModalWidget() != nullptr;
        if (seen)
            seen->findChild<QPushButton*>("OKButton")->click();
    });
    control<QAction>("Sobre1")->trigger();
    ASSERT_FALSE(seen.isNull());
    EXPECT_TRUE(mainWindowBlocked);
    EXPECT_EQ(Boxsobre, seen.data());
    EXPECT_EQ(seen->parentWidget(), &window);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(seen.isNull()) << "released after its showing";
}

// The four register commands, over an alias of the test's own.
class RegisterCommands : public MainWindow {
protected:
    void SetUp() override
    {
        ::setenv("TESSALIND_ENGINE_CONFIG", dir.file("engine.ini").c_str(), 1);
        std::ofstream(dir.file("engine.ini")) << "[Aliases]\nTessalind=" << dir.path() << "\n";
        MainWindow::SetUp();
    }
    void TearDown() override { ::unsetenv("TESSALIND_ENGINE_CONFIG"); }
    void makeTable()
    {
        storage::Engine::instance().createTable("Tessalind", "Memorizar.DB", TextsTable::schema());
        auto table = storage::Engine::instance().openTable("Tessalind", "Memorizar.DB", storage::OpenMode::ReadWrite);
        table->insert(std::nullopt, {"Um", "A", "S", "L", "{\\rtf1 x}"});
    }
    // Runs a command; a register window it opens is noted and closed at once.
    QPointer<TCadMemoria> run(const std::function<void()>& command, bool* blocked = nullptr)
    {
        QPointer<TCadMemoria> seen;
        QTimer::singleShot(0, [&] {
            seen = qobject_cast<TCadMemoria*>(QApplication::activeModalWidget());
            if (blocked)
                *blocked = seen && QApplication::activeModalWidget() != &window;
            if (seen)
                seen->close();
        });
        command();
        return seen;
    }

    TempDir dir;
    ErrorRecorder errors;
};

TEST_F(RegisterCommands, EachOpensTheRegisterWindowModallyAndReleasesIt)
{
    makeTable();
    const std::vector<std::pair<const char*, std::function<void()>>> commands{
        {"F5 entry", [&] { control<QAction>("TextosparaMemorizao1")->trigger(); }},
        {"Decorar", [&] { control<QAction>("Memorizao1")->trigger(); }},
        {"BitBtn1", [&] { control<QPushButton>("BitBtn1")->click(); }},
        {"BitBtn2", [&] { control<QPushButton>("BitBtn2")->click(); }},
        {"F5 key", [&] {
             QApplication::setActiveWindow(&window);
             QTest::keyClick(&window, Qt::Key_F5);
         }}};
    for (const auto& [name, command] : commands) {
        bool blocked = false;
        QPointer<TCadMemoria> seen = run(command, &blocked);
        ASSERT_FALSE(seen.isNull()) << name;
        EXPECT_TRUE(blocked) << name;
        EXPECT_EQ(CadMemoria, seen.data()) << name;
        EXPECT_EQ(seen->parentWidget(), &window) << name;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(seen.isNull()) << name << ": released after its showing";
    }
    EXPECT_TRUE(errors.messages().isEmpty());
}

TEST_F(RegisterCommands, ATableThatCannotBeOpenedShowsTheErrorEveryTimeAndNothingElse)
{
    CadMemoria = nullptr;
    for (int attempt = 0; attempt < 2; ++attempt) {
        EXPECT_TRUE(run([&] { control<QPushButton>("BitBtn2")->click(); }).isNull());
        EXPECT_EQ(CadMemoria, nullptr);
        EXPECT_TRUE(window.isEnabled());
    }
    const QString expected = QStringLiteral("Table does not exist\nAlias: Tessalind\nFile: ") +
                             QString::fromStdString(dir.file("Memorizar.DB"));
    EXPECT_EQ(errors.messages(), (QStringList{expected, expected}));
}

}  // namespace
