// The busy overlay: where it goes, what it looks like, and that showing and
// removing it let waiting events run.
#include "memorize/painelespera.h"
#include "platform/ui/panel.h"
#include "tests/support/qtprinters.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMetaObject>
#include <QWidget>

#include <memory>
#include <ostream>

// Rectangles in failure messages as left, top, width x height.
void PrintTo(const QRect& r, std::ostream* os)
{
    *os << r.x() << ", " << r.y() << ", " << r.width() << " x " << r.height();
}

namespace {

TEST(OverlayFrameGeometry, CentresAcrossAndSitsAboveTheMiddle)
{
    const struct {
        QSize outer;
        int width;
        QRect frame;
    } cases[] = {
        {{1008, 708}, 0, {384, 306, 240, 48}},
        {{1008, 709}, 0, {384, 307, 240, 48}},   // 306.5 goes up to 307
        {{1008, 91}, 0, {384, -3, 240, 48}},     // -2.5 goes down to -3
        {{1008, 92}, 0, {384, -2, 240, 48}},
        {{2400, 708}, 0, {1080, 306, 240, 48}},
        {{1007, 708}, 0, {384, 306, 240, 48}},   // 383.5
        {{1008, 708}, 300, {354, 306, 300, 48}},
        {{1009, 708}, 300, {355, 306, 300, 48}}, // 354.5
        {{101, 708}, 300, {-100, 306, 300, 48}}, // -99.5
        {{0, 0}, 0, {-120, -48, 240, 48}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(overlayFrameGeometry(c.outer, c.width), c.frame) << c.outer.width() << " x " << c.outer.height();
}

class PainelEsperaTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window = std::make_unique<QWidget>();
        window->setGeometry(40, 30, 1008, 708);
        inner = new QWidget(window.get());
        inner->setGeometry(0, 0, 1008, 708);
        window->show();
        QCoreApplication::processEvents();
    }

    Panel* frame() const { return window->findChild<Panel*>("PainelDisplay", Qt::FindDirectChildrenOnly); }
    Panel* message() const { return window->findChild<Panel*>("PainelDisplay1", Qt::FindDirectChildrenOnly); }
    QRect expectedFrame(int width) const { return overlayFrameGeometry(window->frameGeometry().size(), width); }

    std::unique_ptr<QWidget> window;
    QWidget* inner = nullptr;
};

TEST_F(PainelEsperaTest, ShowsTheDefaultOverlayOverEverythingOnTheWindow)
{
    PainelEspera(window.get(), 0, QString(), true);
    ASSERT_NE(frame(), nullptr);
    ASSERT_NE(message(), nullptr);
    const QRect place = expectedFrame(0);
    if (window->frameGeometry().size() == QSize(1008, 708)) {
        EXPECT_EQ(place, QRect(384, 306, 240, 48));
    }
    EXPECT_EQ(frame()->geometry(), place);
    EXPECT_EQ(message()->geometry(), QRect(place.x() + 3, place.y() + 3, 234, 41));

    EXPECT_EQ(frame()->bevelOuter(), BevelCut::bvRaised);
    EXPECT_EQ(frame()->bevelInner(), BevelCut::bvNone);
    EXPECT_EQ(frame()->caption(), QString());
    EXPECT_EQ(frame()->palette().color(QPalette::Window), QColor(255, 0, 0));

    EXPECT_EQ(message()->caption(), QStringLiteral("Processando Informações"));
    EXPECT_EQ(message()->bevelOuter(), BevelCut::bvLowered);
    EXPECT_EQ(message()->bevelInner(), BevelCut::bvLowered);
    EXPECT_EQ(message()->palette().color(QPalette::Window), QColor(0, 0, 0));
    EXPECT_EQ(message()->palette().color(QPalette::WindowText), QColor(255, 255, 0));
    EXPECT_EQ(message()->font().family(), QStringLiteral("Arial"));
    EXPECT_EQ(message()->font().pointSize(), 12);
    EXPECT_TRUE(message()->font().bold());

    EXPECT_TRUE(frame()->isVisible());
    EXPECT_TRUE(message()->isVisible());
    // Stacked over the window's own controls, the message over the frame.
    const QObjectList& children = window->children();
    ASSERT_GE(children.size(), 3);
    EXPECT_EQ(children.at(children.size() - 1), message());
    EXPECT_EQ(children.at(children.size() - 2), frame());
}

TEST_F(PainelEsperaTest, TakesTheWidthGivenAndKeepsThePlaceOfTheFirstShow)
{
    PainelEspera(window.get(), 300, QStringLiteral("Um"), true);
    const QRect place = expectedFrame(300);
    if (window->frameGeometry().size() == QSize(1008, 708)) {
        EXPECT_EQ(place, QRect(354, 306, 300, 48));
    }
    EXPECT_EQ(frame()->geometry(), place);
    EXPECT_EQ(message()->geometry(), QRect(place.x() + 3, place.y() + 3, 294, 41));

    // A second show only changes the message, whatever it asks for.
    window->resize(500, 400);
    PainelEspera(window.get(), 0, QStringLiteral("Dois"), true);
    EXPECT_EQ(window->findChildren<Panel*>("PainelDisplay", Qt::FindDirectChildrenOnly).size(), 1);
    EXPECT_EQ(window->findChildren<Panel*>("PainelDisplay1", Qt::FindDirectChildrenOnly).size(), 1);
    EXPECT_EQ(message()->caption(), QStringLiteral("Dois"));
    EXPECT_EQ(frame()->geometry(), place);
    EXPECT_EQ(message()->geometry(), QRect(place.x() + 3, place.y() + 3, 294, 41));
}

TEST_F(PainelEsperaTest, RemovesBothPanelsAndNothingElse)
{
    PainelEspera(window.get(), 0, QString(), false);  // nothing there: nothing changes
    EXPECT_EQ(window->children().size(), 1);
    EXPECT_EQ(window->children().at(0), inner);

    PainelEspera(window.get(), 0, QString(), true);
    PainelEspera(window.get(), 0, QString(), false);
    EXPECT_EQ(frame(), nullptr);
    EXPECT_EQ(message(), nullptr);
    EXPECT_EQ(window->children().size(), 1);
    EXPECT_EQ(window->children().at(0), inner);
}

TEST_F(PainelEsperaTest, LetsTheWaitingEventsRunOnShowAndOnRemove)
{
    for (const bool show : {true, false}) {
        bool ran = false;
        QMetaObject::invokeMethod(window.get(), [&] { ran = true; }, Qt::QueuedConnection);
        PainelEspera(window.get(), 0, QString(), show);
        EXPECT_TRUE(ran) << (show ? "show" : "remove");
    }
}

}  // namespace
