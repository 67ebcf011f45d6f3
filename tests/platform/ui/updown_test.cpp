// The up-down spinner: where a step starts from, where it stops, and how its
// buttons and its edit's arrow keys drive it.
#include "platform/ui/updown.h"
#include "tests/support/qtprinters.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <climits>

namespace {

struct Spinner {
    QWidget window;
    QLineEdit* edit = new QLineEdit(&window);
    UpDown* spinner = new UpDown(&window);

    Spinner(int min, int max, int increment, int position)
    {
        spinner->setMin(min);
        spinner->setMax(max);
        spinner->setIncrement(increment);
        spinner->setPosition(position);
        spinner->setAssociate(edit);
        spinner->setGeometry(40, 0, 15, 21);
        edit->setGeometry(0, 0, 40, 21);
    }
};

TEST(UpDown, StepsFromTheEditsNumberWithinTheRange)
{
    const struct {
        const char* what;
        int min, max, increment, position;
        const char* typed;  // null: the text the spinner wrote
        int steps;
        const char* shown;
    } cases[] = {
        {"up by the increment", 10, 80, 10, 10, nullptr, 1, "20"},
        {"down by the increment", 10, 80, 10, 40, nullptr, -1, "30"},
        {"stops at the highest", 10, 80, 10, 80, nullptr, 1, "80"},
        {"stops at the lowest", 10, 80, 10, 10, nullptr, -1, "10"},
        {"a part step stops at the end", 10, 80, 10, 75, nullptr, 1, "80"},
        {"from a typed number", 10, 80, 10, 10, "35", 1, "45"},
        {"from a typed number with spaces", 5, 20, 1, 5, " 12 ", -1, "11"},
        {"a typed number above the range comes into it first", 10, 80, 10, 10, "200", -1, "70"},
        {"a typed number below the range comes into it first", 10, 80, 10, 50, "-7", 1, "20"},
        {"from its own position when the text is no number", 5, 20, 1, 9, "nove", 1, "10"},
        {"from its own position when the text is empty", 5, 20, 1, 9, "", -1, "8"},
        {"a huge step stops at the end instead of wrapping", INT_MIN, INT_MAX, INT_MAX, INT_MAX - 1, nullptr, 1,
         "2147483647"},
        {"a huge step down stops at the lowest", INT_MIN, INT_MAX, INT_MAX, INT_MIN + 1, nullptr, -1,
         "-2147483648"},
    };
    for (const auto& c : cases) {
        Spinner s(c.min, c.max, c.increment, c.position);
        if (c.typed)
            s.edit->setText(QString::fromLatin1(c.typed));
        s.spinner->step(c.steps);
        EXPECT_EQ(s.edit->text(), QString::fromLatin1(c.shown)) << c.what;
        EXPECT_EQ(s.spinner->position(), s.edit->text().toInt()) << c.what;
    }
}

TEST(UpDown, WritesItsPositionIntoTheEditAndKeepsItInRange)
{
    Spinner s(10, 80, 10, 10);
    EXPECT_EQ(s.edit->text(), QStringLiteral("10"));
    s.spinner->setPosition(500);
    EXPECT_EQ(s.spinner->position(), 80);
    EXPECT_EQ(s.edit->text(), QStringLiteral("80"));
    s.spinner->setMax(50);
    EXPECT_EQ(s.spinner->position(), 50);
    EXPECT_EQ(s.edit->text(), QStringLiteral("50"));

    // A second edit takes the position at once; the first is left alone.
    QLineEdit other(&s.window);
    s.spinner->setAssociate(&other);
    EXPECT_EQ(other.text(), QStringLiteral("50"));
    s.spinner->step(1);
    EXPECT_EQ(s.edit->text(), QStringLiteral("50"));
    QTest::keyClick(s.edit, Qt::Key_Up);
    EXPECT_EQ(other.text(), QStringLiteral("50"));
}

TEST(UpDown, ArrowKeysInTheEditStepItAndOtherKeysType)
{
    Spinner s(5, 20, 1, 5);
    s.window.show();
    QSignalSpy changes(s.spinner, &UpDown::positionChanged);
    QTest::keyClick(s.edit, Qt::Key_Up);
    QTest::keyClick(s.edit, Qt::Key_Up);
    EXPECT_EQ(s.edit->text(), QStringLiteral("7"));
    QTest::keyClick(s.edit, Qt::Key_Down);
    EXPECT_EQ(s.edit->text(), QStringLiteral("6"));
    EXPECT_EQ(changes.count(), 3);

    // The edit takes any text; the spinner keeps its position until a step.
    s.edit->selectAll();
    QTest::keyClicks(s.edit, QStringLiteral("x1"));
    EXPECT_EQ(s.edit->text(), QStringLiteral("x1"));
    EXPECT_EQ(s.spinner->position(), 6);

    // A disabled spinner leaves the arrow keys to the edit.
    s.spinner->setEnabled(false);
    QTest::keyClick(s.edit, Qt::Key_Up);
    EXPECT_EQ(s.edit->text(), QStringLiteral("x1"));
}

TEST(UpDown, UpperHalfStepsUpLowerHalfDownAndHoldingRepeats)
{
    Spinner s(0, 1000, 1, 100);
    s.window.show();
    QTest::mouseClick(s.spinner, Qt::LeftButton, {}, QPoint(7, 4));
    EXPECT_EQ(s.edit->text(), QStringLiteral("101"));
    QTest::mouseClick(s.spinner, Qt::LeftButton, {}, QPoint(7, 17));
    QTest::mouseClick(s.spinner, Qt::LeftButton, {}, QPoint(7, 17));
    EXPECT_EQ(s.edit->text(), QStringLiteral("99"));
    EXPECT_EQ(s.spinner->focusPolicy(), Qt::NoFocus);

    QTest::mousePress(s.spinner, Qt::LeftButton, {}, QPoint(7, 4));
    QTRY_VERIFY(s.spinner->position() >= 102);
    QTest::mouseRelease(s.spinner, Qt::LeftButton, {}, QPoint(7, 4));
    const int released = s.spinner->position();
    QTest::qWait(250);
    EXPECT_EQ(s.spinner->position(), released);
}

}  // namespace
