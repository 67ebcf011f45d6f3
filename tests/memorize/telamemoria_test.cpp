// The memorization window: its layout, the text it takes from the clipboard,
// and the press cycle held against the literal routines.
#include "memorize/telamemoria.h"

#include "memorize/press.h"
#include "memorize/seededdraws.h"
#include "memorize/words.h"
#include "platform/richedit/richedit.h"
#include "platform/ui/modal.h"
#include "platform/ui/panel.h"
#include "platform/ui/updown.h"
#include "tests/support/errorrecorder.h"
#include "tests/support/literalpress.h"
#include "tests/support/qtprinters.h"
#include "ui_telamemoria.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QTest>
#include <QTextBlock>
#include <QPointer>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <vector>

void PrintTo(const QRect& r, std::ostream* os)
{
    *os << r.x() << ", " << r.y() << ", " << r.width() << " x " << r.height();
}

namespace {

using U = std::u32string;

U u(const QString& s) { return s.toStdU32String(); }

void putOnClipboard(const QString& plain, const QByteArray& rtf = {})
{
    auto* data = new QMimeData;
    if (!rtf.isEmpty())
        data->setData(QStringLiteral("text/rtf"), rtf);
    if (!plain.isNull())
        data->setText(plain);
    QApplication::clipboard()->setMimeData(data);
}

// A text of `separators` spaces between distinct words, on one line.
QString wordsWithSpaces(int separators)
{
    QStringList words;
    for (int i = 0; i <= separators; ++i)
        words << QStringLiteral("palavra%1").arg(i, 3, 10, QLatin1Char('0'));
    return words.join(QLatin1Char(' '));
}

const QString kPoem = QStringLiteral(
    "Minha terra tem palmeiras,  onde canta o Sabiá;\r\n"
    "As aves, que aqui gorjeiam, não gorjeiam como lá.\r\n"
    "Nosso céu tem mais estrelas, nossas várzeas têm mais flores,\r\n"
    "nossos bosques têm mais vida, nossa vida mais amores.");

class TelaMemoriaTest : public ::testing::Test {
protected:
    void TearDown() override { QApplication::clipboard()->clear(); }

    // Opens the window over what the clipboard holds; every press then
    // draws from a generator seeded by the press's number, so the literal
    // routines can repeat it.
    std::unique_ptr<TTelaMemoria> open(bool shown = false)
    {
        auto window = std::make_unique<TTelaMemoria>(nullptr);
        window->setDrawsForPress([this] {
            ++pressesDrawn;
            const std::uint64_t seed = 7000 + std::uint64_t(pressesDrawn);
            seeds.push_back(seed);
            return DrawSource([draws = SeededDraws(seed), this](std::int64_t count) mutable {
                ++drawsMade;
                return draws(count);
            });
        });
        if (shown) {
            window->show();
            window->activateWindow();
            QApplication::processEvents();
        }
        return window;
    }

    static RichEdit* text(TTelaMemoria& w) { return w.controls()->RichEdit1; }
    static bool overlayOn(TTelaMemoria& w)
    {
        return w.findChild<Panel*>(QStringLiteral("PainelDisplay"), Qt::FindDirectChildrenOnly) != nullptr;
    }
    // What the literal routines make of `before` with the draws of the press
    // that was seeded last.
    U literalOf(const U& before, int percent) const
    {
        SeededDraws draws(seeds.back());
        return literalPress(before, drawCount(TotPalavras(before), percent), draws);
    }

    ErrorRecorder errors;
    int pressesDrawn = 0;
    std::int64_t drawsMade = 0;
    std::vector<std::uint64_t> seeds;
};

TEST_F(TelaMemoriaTest, LayoutFollowsTheTable)
{
    putOnClipboard(QStringLiteral("x"));
    auto window = open();
    EXPECT_EQ(window->objectName(), QStringLiteral("TelaMemoria"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Janela de Memorização do Texto selecionado"));
    EXPECT_EQ(window->size(), QSize(1002, 683));
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
    EXPECT_EQ(window->font().family(), QStringLiteral("MS Sans Serif"));
    EXPECT_EQ(window->font().pointSize(), 8);

    const struct {
        const char* name;
        const char* parent;
        QRect geometry;
    } controls[] = {
        {"Panel1", "TelaMemoria", {3, 2, 998, 668}},    {"Panel5", "Panel1", {4, 4, 845, 654}},
        {"SpeedButton4", "Panel5", {7, 2, 41, 27}},     {"ComboBox1", "Panel5", {59, 2, 62, 26}},
        {"RichEdit1", "Panel5", {3, 33, 838, 617}},     {"Panel2", "Panel1", {864, 4, 125, 654}},
        {"SpeedButton1", "Panel2", {5, 6, 114, 75}},    {"SpeedButton3", "Panel2", {5, 87, 114, 78}},
        {"Panel3", "Panel2", {4, 173, 114, 88}},        {"Label1", "Panel3", {8, 12, 100, 13}},
        {"Ratear", "Panel3", {29, 46, 32, 21}},         {"UpDown1", "Panel3", {61, 46, 15, 21}},
        {"Panel4", "Panel2", {5, 265, 113, 93}},        {"Label2", "Panel4", {16, 2, 95, 89}},
        {"Vezes", "Panel4", {29, 52, 32, 21}},          {"UpDown2", "Panel4", {61, 52, 15, 21}},
        {"SpeedButton2", "Panel2", {7, 572, 112, 53}},
    };
    for (const auto& c : controls) {
        const QWidget* widget = window->findChild<QWidget*>(QString::fromLatin1(c.name));
        ASSERT_NE(widget, nullptr) << c.name;
        EXPECT_EQ(widget->parentWidget()->objectName(), QString::fromLatin1(c.parent)) << c.name;
        EXPECT_EQ(widget->geometry(), c.geometry) << c.name;
        // A label says its own text; every other control is named for
        // the person who cannot see it.
        if (!widget->inherits("Panel") && !widget->inherits("QLabel")) {
            EXPECT_FALSE(widget->accessibleName().isEmpty()) << c.name;
        }
    }

    const struct {
        const char* name;
        BevelCut outer, inner;
    } panels[] = {
        {"Panel1", BevelCut::bvRaised, BevelCut::bvNone},   {"Panel5", BevelCut::bvNone, BevelCut::bvLowered},
        {"Panel2", BevelCut::bvRaised, BevelCut::bvRaised}, {"Panel3", BevelCut::bvRaised, BevelCut::bvLowered},
        {"Panel4", BevelCut::bvRaised, BevelCut::bvLowered},
    };
    for (const auto& p : panels) {
        const Panel* panel = window->findChild<Panel*>(QString::fromLatin1(p.name));
        ASSERT_NE(panel, nullptr) << p.name;
        EXPECT_EQ(panel->bevelOuter(), p.outer) << p.name;
        EXPECT_EQ(panel->bevelInner(), p.inner) << p.name;
        EXPECT_FALSE(panel->captionVisible()) << p.name;
    }

    const Ui::TTelaMemoria* ui = window->controls();
    const struct {
        QToolButton* button;
        const char* caption;
        const char* hint;
    } buttons[] = {
        {ui->SpeedButton1, "&Sumir Palavras", "A cada click desaparece palavras conforme percentual do rateamento "},
        {ui->SpeedButton3, "&Texto Inteiro", "Este botão tem por finalidade em retornar o texto original selecionado"},
        {ui->SpeedButton2, "&Retornar", ""},
    };
    for (const auto& b : buttons) {
        EXPECT_EQ(b.button->text(), QString::fromUtf8(b.caption));
        EXPECT_EQ(b.button->toolTip(), QString::fromUtf8(b.hint)) << b.caption;
        EXPECT_EQ(b.button->font().family(), QStringLiteral("Arial")) << b.caption;
        EXPECT_EQ(b.button->font().pointSize(), 8) << b.caption;
        EXPECT_TRUE(b.button->font().bold()) << b.caption;
        EXPECT_EQ(b.button->palette().color(QPalette::ButtonText), QColor(0, 0, 128)) << b.caption;
        EXPECT_FALSE(b.button->icon().isNull()) << b.caption;
    }
    // Only the blanking button has a look of its own when disabled.
    const QSize iconSize = ui->SpeedButton1->iconSize();
    EXPECT_NE(ui->SpeedButton1->icon().pixmap(iconSize, QIcon::Disabled).toImage(),
              QIcon(ui->SpeedButton1->icon().pixmap(iconSize)).pixmap(iconSize, QIcon::Disabled).toImage());

    EXPECT_EQ(ui->SpeedButton4->text(), QStringLiteral("N"));
    EXPECT_EQ(ui->SpeedButton4->toolTip(), QStringLiteral("Habilita/desabilita o negrito do fonte"));
    EXPECT_EQ(ui->SpeedButton4->font().pointSize(), 18);
    EXPECT_TRUE(ui->SpeedButton4->font().bold());
    EXPECT_TRUE(ui->SpeedButton4->isCheckable());
    EXPECT_TRUE(ui->SpeedButton4->isChecked());

    EXPECT_EQ(ui->ComboBox1->currentText(), QStringLiteral("12"));
    EXPECT_TRUE(ui->ComboBox1->isEditable());
    EXPECT_EQ(ui->ComboBox1->font().family(), QStringLiteral("Courier New1"));
    EXPECT_EQ(ui->ComboBox1->font().pointSize(), 12);
    EXPECT_EQ(ui->ComboBox1->toolTip(), QStringLiteral("Altera o tamanho do fonte"));
    QStringList sizes;
    for (int i = 0; i < ui->ComboBox1->count(); ++i)
        sizes << ui->ComboBox1->itemText(i);
    EXPECT_EQ(sizes, QStringList({"8", "9", "10", "11", "12", "14", "16", "18", "20", "22", "24", "26", "28", "36",
                                  "48", "72"}));

    for (QLabel* label : {ui->Label1, ui->Label2}) {
        EXPECT_EQ(label->font().family(), QStringLiteral("MS Sans Serif"));
        EXPECT_EQ(label->font().pointSize(), 8);
        EXPECT_TRUE(label->font().bold());
    }
    EXPECT_EQ(ui->Label1->text(), QStringLiteral("% de Rateamento"));
    EXPECT_EQ(ui->Label2->text(), QStringLiteral("Nº vezes para acesso Aleatório"));
    EXPECT_TRUE(ui->Label2->wordWrap());

    EXPECT_EQ(ui->Ratear->text(), QStringLiteral("10"));
    EXPECT_EQ(ui->Ratear->toolTip(), QStringLiteral("Controle o percentual de Rateamento para memorização"));
    EXPECT_EQ(ui->Vezes->text(), QStringLiteral("5"));
    EXPECT_EQ(ui->Vezes->toolTip(), QStringLiteral("Quantidade de clicks do mouse"));
    const struct {
        UpDown* spinner;
        QLineEdit* edit;
        int min, max, increment, position;
    } spinners[] = {{ui->UpDown1, ui->Ratear, 10, 80, 10, 10}, {ui->UpDown2, ui->Vezes, 5, 20, 1, 5}};
    for (const auto& s : spinners) {
        EXPECT_EQ(s.spinner->associate(), s.edit);
        EXPECT_EQ(s.spinner->min(), s.min);
        EXPECT_EQ(s.spinner->max(), s.max);
        EXPECT_EQ(s.spinner->increment(), s.increment);
        EXPECT_EQ(s.spinner->position(), s.position);
    }

    RichEdit* edit = ui->RichEdit1;
    EXPECT_EQ(edit->version(), 1);
    EXPECT_TRUE(edit->isReadOnly());
    EXPECT_EQ(edit->defaultFont().family(), QStringLiteral("Arial"));
    EXPECT_EQ(edit->defaultFont().pointSize(), 12);
    EXPECT_FALSE(edit->defaultFont().bold());
    EXPECT_EQ(edit->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(edit->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(edit->lineWrapMode(), QTextEdit::WidgetWidth);
    // Read-only, but the user still selects and copies with the keyboard.
    EXPECT_TRUE(edit->textInteractionFlags() & Qt::TextSelectableByKeyboard);
}

TEST_F(TelaMemoriaTest, TabVisitsTheEditsTheTextAndTheSizeBoxOnly)
{
    putOnClipboard(kPoem);
    auto window = open(true);
    const Ui::TTelaMemoria* ui = window->controls();
    ui->Ratear->setFocus();
    QApplication::processEvents();
    const QWidget* expected[] = {ui->Vezes, ui->RichEdit1, ui->ComboBox1, ui->Ratear};
    for (const QWidget* next : expected) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* focus = QApplication::focusWidget();
        // The box's line edit has the focus on the box's behalf.
        if (focus && focus->parentWidget() == ui->ComboBox1)
            focus = ui->ComboBox1;
        ASSERT_EQ(focus, next) << (focus ? focus->objectName().toStdString() : "nothing");
    }
    for (QWidget* w : std::initializer_list<QWidget*>{ui->SpeedButton1, ui->SpeedButton2, ui->SpeedButton3,
                                                      ui->SpeedButton4, ui->UpDown1, ui->UpDown2, ui->Panel1,
                                                      ui->Panel2, ui->Panel3, ui->Panel4, ui->Panel5})
        EXPECT_EQ(w->focusPolicy(), Qt::NoFocus) << w->objectName().toStdString();
}

TEST_F(TelaMemoriaTest, AltLettersRunTheThreeButtons)
{
    putOnClipboard(wordsWithSpaces(40));
    auto window = open(true);
    RichEdit* edit = text(*window);
    const QString whole = edit->text();

    QTest::keyClick(window.get(), Qt::Key_S, Qt::AltModifier);
    QTRY_COMPARE(TTelaMemoria::pressCounter(), 1);
    EXPECT_NE(edit->text(), whole);

    QTest::keyClick(window.get(), Qt::Key_T, Qt::AltModifier);
    QTRY_COMPARE(edit->text(), whole);

    // Escape is no way out: the drill ends by "Retornar" or the close box.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_TRUE(window->isVisible());

    QTest::keyClick(window.get(), Qt::Key_R, Qt::AltModifier);
    QTRY_VERIFY(!window->isVisible());
    EXPECT_TRUE(errors.messages().isEmpty()) << errors.messages().join(QStringLiteral("; ")).toStdString();
}

TEST_F(TelaMemoriaTest, LoadKeepsThePlainTextOfWhatTheRegisterWindowCopied)
{
    // The register window's hand-off: its rich edit copies a formatted
    // selection to the clipboard as RTF and plain text.
    RichEdit source;
    source.streamIn("{\\rtf1\\ansi{\\fonttbl{\\f0 Times New Roman;}}\\f0\\fs48 {\\b Minha}   terra "
                    "{\\i tem}\\par palmeiras,    onde\\line canta\\par}",
                    RichEdit::Stream::Rtf);
    source.selectAll();
    source.copy();
    ASSERT_TRUE(QApplication::clipboard()->mimeData()->hasFormat(QStringLiteral("text/rtf")));

    auto window = open();
    RichEdit* edit = text(*window);
    EXPECT_EQ(edit->text(), QStringLiteral("Minha terra tem\r\npalmeiras, onde\r\ncanta"));
    // Nothing of the pasted formatting is left: every character shows in
    // the control's own Arial 12 regular.
    for (QTextBlock b = edit->document()->begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            EXPECT_FALSE(f.hasProperty(QTextFormat::FontWeight)) << it.fragment().text().toStdString();
            EXPECT_FALSE(f.hasProperty(QTextFormat::FontItalic)) << it.fragment().text().toStdString();
            EXPECT_FALSE(f.hasProperty(QTextFormat::FontPointSize)) << it.fragment().text().toStdString();
            EXPECT_FALSE(f.hasProperty(QTextFormat::FontFamilies)) << it.fragment().text().toStdString();
        }
    EXPECT_EQ(edit->defaultFont().family(), QStringLiteral("Arial"));
    EXPECT_EQ(edit->defaultFont().pointSize(), 12);
    EXPECT_FALSE(edit->defaultFont().bold());
    EXPECT_TRUE(edit->isReadOnly());
    EXPECT_EQ(TTelaMemoria::pressCounter(), 0);
}

TEST_F(TelaMemoriaTest, LoadTakesPlainTextAndWhatTheClipboardLacks)
{
    const struct {
        const char* what;
        QString plain;
        QByteArray rtf;
        QString shown;
    } cases[] = {
        {"plain text only", QStringLiteral("um   dois\ntrês    quatro"), {}, QStringLiteral("um dois\r\ntrês quatro")},
        {"RTF before plain text", QStringLiteral("ignored"), "{\\rtf1 rich   text}", QStringLiteral("rich text")},
        {"bytes that are not RTF", QStringLiteral("the  plain"), "not rtf", QStringLiteral("the plain")},
        {"nothing", QString(), {}, QString()},
    };
    for (const auto& c : cases) {
        QApplication::clipboard()->clear();
        if (!c.plain.isNull() || !c.rtf.isEmpty())
            putOnClipboard(c.plain, c.rtf);
        auto window = open();
        EXPECT_EQ(text(*window)->text(), c.shown) << c.what;
    }
    EXPECT_TRUE(errors.messages().isEmpty()) << errors.messages().join(QStringLiteral("; ")).toStdString();
}

TEST_F(TelaMemoriaTest, PressCycleBlanksAccumulatesAndRestores)
{
    putOnClipboard(kPoem);
    auto window = open();
    RichEdit* edit = text(*window);
    const U whole = u(edit->text());
    ASSERT_EQ(whole, TiraEspaco(u(kPoem)));

    // Presses 1 to 5 blank, each on what the previous left; 6 restores; 7
    // blanks the whole text again.
    U expected = whole;
    for (int pressNo = 1; pressNo <= 7; ++pressNo) {
        const U before = u(edit->text());
        window->SpeedButton1Click();
        if (pressNo == 6) {
            EXPECT_EQ(TTelaMemoria::pressCounter(), 0);
            EXPECT_EQ(u(edit->text()), whole);
            expected = whole;
            continue;
        }
        expected = literalOf(before, 10);
        EXPECT_EQ(TTelaMemoria::pressCounter(), pressNo == 7 ? 1 : pressNo);
        EXPECT_EQ(u(edit->text()), expected) << "press " << pressNo;
        EXPECT_NE(u(edit->text()), before) << "press " << pressNo;
        EXPECT_TRUE(window->controls()->SpeedButton1->isEnabled());
        EXPECT_FALSE(overlayOn(*window));
    }
    EXPECT_EQ(pressesDrawn, 6);  // the restoring press draws nothing
    EXPECT_TRUE(errors.messages().isEmpty()) << errors.messages().join(QStringLiteral("; ")).toStdString();
}

TEST_F(TelaMemoriaTest, PressCollapsesSpacesTypedIntoTheClipboardTextFirst)
{
    // Blanking never makes runs of spaces, but the press collapses them all
    // the same before it counts, so W is that of the collapsed text.
    putOnClipboard(QStringLiteral("a b c d e f g h i j k l"));
    auto window = open();
    text(*window)->setText(QStringLiteral("um    dois  três quatro cinco seis sete oito nove dez onze doze"));
    const U collapsed = TiraEspaco(u(text(*window)->text()));
    window->controls()->Ratear->setText(QStringLiteral("50"));
    window->SpeedButton1Click();
    EXPECT_EQ(u(text(*window)->text()), literalOf(collapsed, 50));
    EXPECT_EQ(drawsMade, drawCount(11, 50));
}

TEST_F(TelaMemoriaTest, TextoInteiroRestoresWithoutTouchingTheCounter)
{
    putOnClipboard(kPoem);
    auto window = open();
    RichEdit* edit = text(*window);
    const QString whole = edit->text();
    window->SpeedButton1Click();
    window->SpeedButton1Click();
    ASSERT_NE(edit->text(), whole);
    window->SpeedButton3Click();
    EXPECT_EQ(edit->text(), whole);
    EXPECT_TRUE(edit->isReadOnly());
    EXPECT_EQ(TTelaMemoria::pressCounter(), 2);
    // The automatic restore still comes when the counter reaches Vezes.
    for (int i = 0; i < 3; ++i)
        window->SpeedButton1Click();
    EXPECT_EQ(TTelaMemoria::pressCounter(), 5);
    window->SpeedButton1Click();
    EXPECT_EQ(TTelaMemoria::pressCounter(), 0);
    EXPECT_EQ(edit->text(), whole);
}

TEST_F(TelaMemoriaTest, WhateverTheClipboardHoldsAtARestoreBecomesTheText)
{
    putOnClipboard(kPoem);
    auto window = open();
    RichEdit* edit = text(*window);
    window->controls()->Vezes->setText(QStringLiteral("1"));
    window->SpeedButton1Click();

    // A selection copied from the read-only text itself.
    edit->setSelection(0, 5);
    edit->copy();
    window->SpeedButton1Click();  // counter 1 = Vezes: the restore
    EXPECT_EQ(edit->text(), kPoem.left(5));
    EXPECT_EQ(TTelaMemoria::pressCounter(), 0);

    // Something copied in another program while the window is open.
    putOnClipboard(QStringLiteral("outro   texto"));
    window->SpeedButton3Click();
    EXPECT_EQ(edit->text(), QStringLiteral("outro texto"));
}

TEST_F(TelaMemoriaTest, VezesDecidesWhenTheRestoreComes)
{
    putOnClipboard(wordsWithSpaces(60));
    const struct {
        const char* what;
        std::vector<const char*> vezes;  // the box's text before each press
        std::vector<int> counters;       // the counter after each press
    } cases[] = {
        {"0 restores at every press", {"0", "0", "0"}, {0, 0, 0}},
        {"below the counter it is never reached", {"5", "5", "5", "2", "2", "2"}, {1, 2, 3, 4, 5, 6}},
        {"set above the counter it comes again", {"5", "5", "5", "2", "4", "4", "4"}, {1, 2, 3, 4, 0, 1, 2}},
        {"3", {"3", "3", "3", "3", "3"}, {1, 2, 3, 0, 1}},
    };
    for (const auto& c : cases) {
        auto window = open();
        const QString whole = text(*window)->text();
        for (std::size_t i = 0; i < c.vezes.size(); ++i) {
            window->controls()->Vezes->setText(QString::fromLatin1(c.vezes[i]));
            window->SpeedButton1Click();
            EXPECT_EQ(TTelaMemoria::pressCounter(), c.counters[i]) << c.what << ", press " << i + 1;
            if (c.counters[i] == 0)
                EXPECT_EQ(text(*window)->text(), whole) << c.what << ", press " << i + 1;
            else
                EXPECT_NE(text(*window)->text(), whole) << c.what << ", press " << i + 1;
        }
    }
}

TEST_F(TelaMemoriaTest, RatearGivesTheNumberOfDraws)
{
    const struct {
        int separators;
        const char* ratear;
        std::int64_t draws;
    } cases[] = {
        {25, "10", 2},  // 2.5 goes to the even 2
        {35, "10", 4},  // 3.5 goes to the even 4
        {5, "10", 0},   // 0.5 goes to 0
        {40, "0", 0},     {40, "-20", 0},
        {100, "150", 150},  // more draws than separators
    };
    for (const auto& c : cases) {
        putOnClipboard(wordsWithSpaces(c.separators));
        auto window = open();
        window->controls()->Ratear->setText(QString::fromLatin1(c.ratear));
        const U before = u(text(*window)->text());
        drawsMade = 0;
        window->SpeedButton1Click();
        EXPECT_EQ(drawsMade, c.draws) << c.separators << " separators at " << c.ratear;
        EXPECT_EQ(TTelaMemoria::pressCounter(), 1) << c.separators << " separators at " << c.ratear;
        EXPECT_EQ(u(text(*window)->text()), literalOf(before, std::atoi(c.ratear)))
            << c.separators << " separators at " << c.ratear;
    }
}

TEST_F(TelaMemoriaTest, AClipboardWithoutTextStillCountsAndRestores)
{
    for (const bool picture : {false, true}) {
        QApplication::clipboard()->clear();
        if (picture) {
            QImage image(8, 8, QImage::Format_RGB32);
            image.fill(Qt::red);
            QApplication::clipboard()->setImage(image);
        }
        auto window = open();
        for (int pressNo = 1; pressNo <= 6; ++pressNo) {
            window->SpeedButton1Click();
            EXPECT_EQ(TTelaMemoria::pressCounter(), pressNo % 6) << (picture ? "a picture" : "nothing");
            EXPECT_TRUE(text(*window)->text().isEmpty()) << (picture ? "a picture" : "nothing");
        }
    }
    EXPECT_EQ(drawsMade, 0);
    EXPECT_TRUE(errors.messages().isEmpty()) << errors.messages().join(QStringLiteral("; ")).toStdString();
}

TEST_F(TelaMemoriaTest, AnUnreadableNumberStopsThePressWhereItIs)
{
    const struct {
        const char* vezes;
        const char* ratear;
        const char* message;
        int counter;  // after the failed press, which follows one good one
    } cases[] = {
        {"", "10", "'' is not a valid integer value", 1},
        {"cinco", "10", "'cinco' is not a valid integer value", 1},
        {"5", "10 ", "'10 ' is not a valid integer value", 2},
        {"5", "1,5", "'1,5' is not a valid integer value", 2},
    };
    for (const auto& c : cases) {
        putOnClipboard(QStringLiteral("  um  dois, três; quatro - cinco. seis sete oito nove dez"));
        auto window = open();
        window->SpeedButton1Click();
        const QString afterFirst = text(*window)->text();
        // Runs of spaces typed back into the text show what the press did
        // before it stopped: it collapses them first.
        text(*window)->setText(afterFirst + QStringLiteral("   fim"));
        window->controls()->Vezes->setText(QString::fromLatin1(c.vezes));
        window->controls()->Ratear->setText(QString::fromLatin1(c.ratear));
        errors.clear();

        // Through the button, as the user presses it, so the error reaches
        // the error box's handler.
        window->controls()->SpeedButton1->click();
        EXPECT_EQ(errors.messages(), QStringList{QString::fromUtf8(c.message)}) << c.vezes << "/" << c.ratear;
        EXPECT_EQ(TTelaMemoria::pressCounter(), c.counter) << c.vezes << "/" << c.ratear;
        EXPECT_EQ(text(*window)->text(), afterFirst + QStringLiteral(" fim")) << c.vezes << "/" << c.ratear;
        EXPECT_FALSE(window->controls()->SpeedButton1->isEnabled()) << c.vezes << "/" << c.ratear;
        EXPECT_TRUE(overlayOn(*window)) << c.vezes << "/" << c.ratear;

        // The rest of the window goes on working.
        window->controls()->SpeedButton3->click();
        EXPECT_EQ(text(*window)->text(), QStringLiteral(" um dois, três; quatro - cinco. seis sete oito nove dez"));
        window->controls()->SpeedButton4->click();
        EXPECT_FALSE(text(*window)->defaultFont().bold());
        window->controls()->ComboBox1->setEditText(QStringLiteral("20"));
        EXPECT_EQ(text(*window)->defaultFont().pointSize(), 20);
        EXPECT_EQ(errors.messages().size(), 1) << errors.messages().join(QStringLiteral("; ")).toStdString();
    }
}

TEST_F(TelaMemoriaTest, AClickWaitingWhenTheOverlayShowsRunsInsideThePress)
{
    putOnClipboard(kPoem);
    auto window = open();
    RichEdit* edit = text(*window);
    const U whole = u(edit->text());
    window->SpeedButton1Click();
    ASSERT_NE(u(edit->text()), whole);

    // "Texto Inteiro" clicked while the press is on its way: it runs when the
    // overlay shows, with the blanking button already disabled, and the
    // press then blanks the whole text it brought back.
    bool buttonEnabled = true;
    bool overlayShown = false;
    QMetaObject::invokeMethod(
        window.get(),
        [&] {
            buttonEnabled = window->controls()->SpeedButton1->isEnabled();
            overlayShown = overlayOn(*window);
            window->controls()->SpeedButton3->click();
        },
        Qt::QueuedConnection);
    window->SpeedButton1Click();
    EXPECT_FALSE(buttonEnabled);
    EXPECT_TRUE(overlayShown);
    EXPECT_EQ(TTelaMemoria::pressCounter(), 2);
    EXPECT_EQ(u(edit->text()), literalOf(whole, 10));
    EXPECT_TRUE(window->controls()->SpeedButton1->isEnabled());
    EXPECT_FALSE(overlayOn(*window));
}

TEST_F(TelaMemoriaTest, BoldToggleFirstReleasesThenMakesTheTextBold)
{
    putOnClipboard(kPoem);
    auto window = open(true);
    QToolButton* toggle = window->controls()->SpeedButton4;
    RichEdit* edit = text(*window);
    const QImage regular = edit->viewport()->grab().toImage();

    QTest::mouseClick(toggle, Qt::LeftButton);
    EXPECT_FALSE(toggle->isChecked());
    EXPECT_FALSE(edit->defaultFont().bold());
    EXPECT_EQ(edit->viewport()->grab().toImage(), regular);

    QTest::mouseClick(toggle, Qt::LeftButton);
    EXPECT_TRUE(toggle->isChecked());
    EXPECT_TRUE(edit->defaultFont().bold());
    EXPECT_NE(edit->viewport()->grab().toImage(), regular);

    // The blanked text a press sets, and the whole text a restore pastes,
    // keep the bold face and a chosen size: they belong to the control.
    window->controls()->ComboBox1->setEditText(QStringLiteral("20"));
    const auto shownFont = [&] { return QFontInfo(edit->document()->begin().begin().fragment().charFormat().font()); };
    window->SpeedButton1Click();
    EXPECT_TRUE(shownFont().bold());
    EXPECT_EQ(shownFont().pointSize(), 20);
    window->SpeedButton3Click();
    EXPECT_TRUE(shownFont().bold());
    EXPECT_EQ(shownFont().pointSize(), 20);

    QTest::mouseClick(toggle, Qt::LeftButton);
    EXPECT_FALSE(edit->defaultFont().bold());
}

TEST_F(TelaMemoriaTest, SizeBoxFollowsEveryTextItPassesThrough)
{
    putOnClipboard(kPoem);
    auto window = open(true);
    QComboBox* box = window->controls()->ComboBox1;
    RichEdit* edit = text(*window);

    // Typing 14 over 12: the empty box is an error, then 1, then 14.
    QLineEdit* line = box->lineEdit();
    line->setFocus();
    line->selectAll();
    QTest::keyClick(line, Qt::Key_Backspace);
    EXPECT_EQ(errors.messages(), QStringList{QStringLiteral("'' is not a valid integer value")});
    EXPECT_EQ(edit->defaultFont().pointSize(), 12);
    QTest::keyClick(line, Qt::Key_1);
    EXPECT_EQ(box->currentText(), QStringLiteral("1"));
    EXPECT_EQ(edit->defaultFont().pointSize(), 1);
    QTest::keyClick(line, Qt::Key_4);
    EXPECT_EQ(edit->defaultFont().pointSize(), 14);

    // Picking from the list.
    box->setCurrentIndex(box->findText(QStringLiteral("36")));
    EXPECT_EQ(edit->defaultFont().pointSize(), 36);

    // Sizes no font can have leave the size as it was, with an error.
    errors.clear();
    const struct {
        const char* typed;
        const char* message;
    } refused[] = {
        {"1x", "'1x' is not a valid integer value"},
        {"0", "'0' não é um tamanho de fonte válido: o menor é 1"},
        {"-3", "'-3' não é um tamanho de fonte válido: o menor é 1"},
    };
    for (const auto& r : refused) {
        errors.clear();
        box->setEditText(QString::fromLatin1(r.typed));
        EXPECT_EQ(errors.messages(), QStringList{QString::fromUtf8(r.message)}) << r.typed;
        EXPECT_EQ(edit->defaultFont().pointSize(), 36) << r.typed;
    }
    box->setEditText(QStringLiteral("$10"));
    EXPECT_EQ(edit->defaultFont().pointSize(), 16);
    box->setEditText(QStringLiteral("400"));
    EXPECT_EQ(edit->defaultFont().pointSize(), 400);
}

TEST_F(TelaMemoriaTest, RetornarEndsTheModalShowingAndTheReleasedWindowTakesItsReferenceAlong)
{
    putOnClipboard(kPoem);
    // As the register window opens it: a new window in the module-level
    // reference, shown modally and released when the showing ends.
    TelaMemoria = new TTelaMemoria(nullptr);
    QPointer<TTelaMemoria> window = TelaMemoria;
    QTimer::singleShot(0, window, [&] {
        EXPECT_TRUE(window->isVisible());
        window->controls()->SpeedButton2->click();
    });
    showModalAndRelease(window.data());
    ASSERT_FALSE(window.isNull());  // released once the waiting events ran
    EXPECT_FALSE(window->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull());
    EXPECT_EQ(TelaMemoria, nullptr);
}

}  // namespace
