#include "app/boxsobre.h"
#include "tests/support/qtprinters.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// Shows a box as its opener does, runs `during` inside its modal loop, and
// returns whether the box was still open after `during`.
bool whileShown(const std::function<void(TBoxsobre&)>& during)
{
    TBoxsobre box(nullptr);
    Boxsobre = &box;
    bool stillOpen = false;
    QTimer::singleShot(0, [&] {
        during(box);
        stillOpen = box.isVisible();
        box.done(QDialog::Rejected);
    });
    box.exec();
    Boxsobre = nullptr;
    return stillOpen;
}

QLabel* picture(TBoxsobre& box, const char* name) { return box.findChild<QLabel*>(name); }

TEST(AboutBox, TheBookPagesSwapEveryTickStartingTheSameWayAtEveryOpening)
{
    for (int opening = 0; opening < 2; ++opening) {
        std::vector<std::pair<bool, bool>> seen;
        whileShown([&](TBoxsobre& box) {
            seen.push_back({picture(box, "livro1")->isVisible(), picture(box, "livro2")->isVisible()});
            for (int tick = 0; tick < 3; ++tick) {
                box.Timer1Timer();
                seen.push_back({picture(box, "livro1")->isVisible(), picture(box, "livro2")->isVisible()});
            }
        });
        const std::vector<std::pair<bool, bool>> expected{{true, true}, {false, true}, {true, false}, {false, true}};
        EXPECT_EQ(seen, expected) << "opening " << opening;
    }
}

TEST(AboutBox, TheTimerTicksEveryHalfSecond)
{
    whileShown([](TBoxsobre& box) {
        QTest::qWait(1150);
        EXPECT_FALSE(picture(box, "livro2")->isVisible()) << "two ticks: livro1 alone";
        EXPECT_TRUE(picture(box, "livro1")->isVisible());
    });
}

TEST(AboutBox, EscapeAndEnterInTheTextDoNotCloseItButEnterOnOkDoes)
{
    EXPECT_TRUE(whileShown([](TBoxsobre& box) {
        QWidget* memo = box.findChild<QTextEdit*>("Memo1");
        EXPECT_EQ(box.focusWidget(), memo);
        QTest::keyClick(memo, Qt::Key_Escape);
        QTest::keyClick(memo, Qt::Key_Return);
    }));
    EXPECT_FALSE(whileShown([](TBoxsobre& box) {
        auto* ok = box.findChild<QPushButton*>("OKButton");
        ok->setFocus();
        QTest::keyClick(ok, Qt::Key_Return);
    }));
}

TEST(AboutBox, ItsTextIsFixedAndNamesTheHomePage)
{
    whileShown([](TBoxsobre& box) {
        auto* memo = box.findChild<QTextEdit*>("Memo1");
        const QStringList lines = memo->toPlainText().split('\n');
        ASSERT_EQ(lines.size(), 10);
        EXPECT_EQ(lines[0], "Este Programa executa rotinas de gerenciamento para Decorar Textos");
        EXPECT_EQ(lines[1], "de  Acordo  com as técnicas apresentadas em QUORVANE.");
        EXPECT_EQ(lines[9], "Home-page: https://www.quorvane.example/");
        const QString before = memo->toPlainText();
        QTest::keyClicks(memo, "abc");
        EXPECT_EQ(memo->toPlainText(), before);
        EXPECT_EQ(box.windowTitle(), "Sobre o Calvenor");
        EXPECT_EQ(box.size(), QSize(483, 344));
    });
}

}  // namespace
