#include "platform/richedit/richedit.h"

#include "tests/support/qtprinters.h"

#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

namespace {

// The printable area of the printer, in twips.
QRect pageTwips(QPrinter& printer)
{
    const QRect px = printer.pageLayout().paintRectPixels(printer.resolution());
    return QRect(0, 0, px.width() * 1440 / printer.resolution(), px.height() * 1440 / printer.resolution());
}

// Page after page as a caller prints: from 0, until a page makes no progress
// or reaches the end. Answers where each page started.
std::vector<int> pages(RichEdit& edit, QPrinter& printer, QPainter* painter, const QRect& rect)
{
    std::vector<int> starts;
    int position = 0;
    for (;;) {
        starts.push_back(position);
        const int next = edit.formatRange(&printer, painter, rect, position);
        if (next <= position || next >= edit.textLength())
            break;
        if (painter)
            printer.newPage();
        position = next;
    }
    return starts;
}

QString pdfPageText(const QString& pdf, int page)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"),
            {QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"), QString::number(page), pdf,
             QStringLiteral("-")});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

class RichEditPrint : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath(QStringLiteral("out.pdf")));
        printer.setPageSize(QPageSize(QPageSize::A5));
        printer.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
    }
    QTemporaryDir dir;
    QPrinter printer{QPrinter::HighResolution};
};

TEST_F(RichEditPrint, PagesMeasuredAndDrawnBreakAtTheSameLinesAndHoldEveryLineOnce)
{
    RichEdit edit;
    edit.setDefaultFont(QFont(QStringLiteral("DejaVu Sans"), 12));
    QStringList lines;
    for (int i = 1; i <= 120; ++i)
        lines << QStringLiteral("Line%1").arg(i);
    edit.setText(lines.join('\n'));
    const QRect rect = pageTwips(printer);

    const std::vector<int> measured = pages(edit, printer, nullptr, rect);
    ASSERT_GE(measured.size(), 3u) << "120 lines of 12 points need several A5 pages";
    QPainter painter(&printer);
    const std::vector<int> drawn = pages(edit, printer, &painter, rect);
    painter.end();
    EXPECT_EQ(drawn, measured);

    const QString pdf = printer.outputFileName();

    int expectedLine = 1;
    for (std::size_t page = 0; page < drawn.size(); ++page) {
        const QStringList got = pdfPageText(pdf, int(page) + 1).split('\n', Qt::SkipEmptyParts);
        ASSERT_FALSE(got.isEmpty()) << "page " << page + 1;
        // Each page starts where formatRange said, and lines follow in order.
        edit.setSelection(drawn[page], 8);
        EXPECT_TRUE(edit.selectedPlainText().startsWith(got.first().trimmed())) << page + 1;
        for (const QString& line : got) {
            if (line.trimmed().isEmpty() || line.startsWith(QChar(0x0C)))
                continue;
            EXPECT_EQ(line.trimmed(), QStringLiteral("Line%1").arg(expectedLine)) << "page " << page + 1;
            ++expectedLine;
        }
    }
    EXPECT_EQ(expectedLine, 121) << "every line printed once";
}

TEST_F(RichEditPrint, APageBreakStartsANewPageAndAPageTakesAtLeastOneLine)
{
    RichEdit edit;
    edit.streamIn(R"({\rtf1 first\par\page second\par third})", RichEdit::Stream::Rtf);
    const QRect rect = pageTwips(printer);
    const int second = edit.formatRange(&printer, nullptr, rect, 0);
    edit.setSelection(second, 6);
    EXPECT_EQ(edit.selectedPlainText(), QStringLiteral("second"));
    EXPECT_EQ(edit.formatRange(&printer, nullptr, rect, second), edit.textLength());

    const QRect tiny(0, 0, rect.width(), 20);  // lower than any line
    int position = 0;
    int count = 0;
    while (position < edit.textLength() && count < 10) {
        const int next = edit.formatRange(&printer, nullptr, tiny, position);
        ASSERT_GT(next, position) << "always progress";
        position = next;
        ++count;
    }
    EXPECT_EQ(count, 3) << "one line a page";
}

}  // namespace
