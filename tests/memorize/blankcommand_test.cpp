// The administrator's blank command, run as the built program.
#include "memorize/press.h"
#include "memorize/words.h"
#include "tests/memorize/showtext.h"
#include "tests/support/literalpress.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <string>
#include <vector>

namespace {

struct ToolRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

ToolRun blank(const QStringList& args, const QByteArray& input)
{
    QProcess process;
    process.start(QStringLiteral(TESS_ADMIN), QStringList{QStringLiteral("blank")} + args);
    EXPECT_TRUE(process.waitForStarted(10000));
    process.write(input);
    process.closeWriteChannel();
    EXPECT_TRUE(process.waitForFinished(60000)) << "blank did not finish";
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, process.readAllStandardOutput(),
            process.readAllStandardError()};
}

std::u32string u32(const QByteArray& utf8)
{
    return QString::fromUtf8(utf8).toStdU32String();
}

struct TracedPress {
    std::int64_t words = 0, count = 0;
    std::vector<std::int64_t> draws;
};

// The "press P W=.. k=.. draws=.." lines of standard error, in order; other
// lines (the toolkit may say something) are passed over.
std::vector<TracedPress> tracedPresses(const QByteArray& err)
{
    static const QRegularExpression line(QStringLiteral("^press (\\d+) W=(\\d+) k=(-?\\d+) draws=([\\d,]*)$"));
    std::vector<TracedPress> presses;
    for (const QString& text : QString::fromUtf8(err).split(QLatin1Char('\n'))) {
        const QRegularExpressionMatch m = line.match(text);
        if (!m.hasMatch())
            continue;
        EXPECT_EQ(m.captured(1).toLongLong(), std::int64_t(presses.size() + 1)) << text.toStdString();
        TracedPress p;
        p.words = m.captured(2).toLongLong();
        p.count = m.captured(3).toLongLong();
        for (const QString& n : m.captured(4).split(QLatin1Char(','), Qt::SkipEmptyParts))
            p.draws.push_back(n.toLongLong());
        presses.push_back(p);
    }
    return presses;
}

const QByteArray kPoem = "O  sol nasce, a lua dorme.\nO gato; o rato - e o pato.\r\n"
                         "A ação é sua;   a canção,   não.\rFim";
// The poem as the drill holds it: CR LF breaks, spaces collapsed.
const std::u32string kPoemLoaded = U"O sol nasce, a lua dorme.\r\nO gato; o rato - e o pato.\r\n"
                                   U"A ação é sua; a canção, não.\r\nFim";

TEST(BlankCommand, LoadsTheTextAsTheWindowDoes)
{
    const struct {
        QByteArray in;
        std::u32string out;
    } cases[] = {
        {kPoem, kPoemLoaded},
        {"a\n\nb\r\rc\r\n\r\nd\n", U"a\r\n\r\nb\r\n\r\nc\r\n\r\nd\r\n"},
        {"\xEF\xBB\xBF" "a   b", U"a b"},  // the byte order mark goes
        {"", U""},
        {"\t tab \t", U"\t tab \t"},
    };
    for (const auto& c : cases) {
        const ToolRun run = blank({"--presses", "0"}, c.in);
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_EQ(show(u32(run.out)), show(c.out));
    }
}

// Each traced press must be the literal press with the traced draws, on the
// text the previous press left; the output is the last of them.
void expectTraceExplainsOutput(const ToolRun& run, std::int32_t percent, std::size_t presses)
{
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const std::vector<TracedPress> traced = tracedPresses(run.err);
    ASSERT_EQ(traced.size(), presses) << run.err.toStdString();
    std::u32string text = kPoemLoaded;
    for (const TracedPress& p : traced) {
        EXPECT_EQ(p.words, TotPalavras(text));
        EXPECT_EQ(p.count, drawCount(p.words, percent));
        EXPECT_LE(std::int64_t(p.draws.size()), std::max<std::int64_t>(p.count, 0));
        std::size_t i = 0;
        text = literalPress(text, std::int64_t(p.draws.size()), [&](std::int64_t words) {
            EXPECT_GE(p.draws[i], 1);
            EXPECT_LE(p.draws[i], words);
            return p.draws[i++];
        });
    }
    EXPECT_EQ(show(u32(run.out)), show(text));
}

TEST(BlankCommand, TracesTheDrawsThatMadeItsOutput)
{
    const ToolRun first = blank({"--percent", "30", "--presses", "4", "--seed", "99", "--trace"}, kPoem);
    expectTraceExplainsOutput(first, 30, 4);
    EXPECT_NE(show(u32(first.out)), show(kPoemLoaded)) << "four presses at 30 % blanked nothing";

    // The seed makes it reproducible; another seed draws otherwise.
    const ToolRun again = blank({"--percent", "30", "--presses", "4", "--seed", "99", "--trace"}, kPoem);
    EXPECT_EQ(again.out, first.out);
    EXPECT_EQ(again.err, first.err);
    const ToolRun other = blank({"--percent", "30", "--presses", "4", "--seed", "100", "--trace"}, kPoem);
    EXPECT_NE(other.err, first.err);

    // Defaults: one press at 10 %.
    expectTraceExplainsOutput(blank({"--trace", "--seed", "5"}, kPoem), 10, 1);
}

TEST(BlankCommand, EndsOnAnAbsurdPercentageWithEverythingBlankable)
{
    const ToolRun run = blank({"--percent", "2147483647", "--seed", "1", "--trace"}, kPoem);
    expectTraceExplainsOutput(run, 2147483647, 1);
    const std::u32string text = u32(run.out);
    for (std::int64_t n = 1; n <= TotPalavras(text); ++n)
        EXPECT_EQ(show(literalDraw(text, n)), show(text)) << "index " << n << " could still blank";
}

TEST(BlankCommand, ReadsAFileAsItReadsStandardInput)
{
    const QString path = QString::fromUtf8(::testing::TempDir().c_str()) + QStringLiteral("blank-poem.txt");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(kPoem);
    file.close();
    const ToolRun fromFile = blank({"--seed", "3", "--percent", "50", path}, {});
    const ToolRun fromInput = blank({"--seed", "3", "--percent", "50"}, kPoem);
    EXPECT_EQ(fromFile.exitCode, 0) << fromFile.err.toStdString();
    EXPECT_EQ(fromFile.out, fromInput.out);
    file.remove();
}

TEST(BlankCommand, RefusesBadInputWithAClearErrorAndNoOutput)
{
    const struct {
        QStringList args;
        QByteArray in;
        QString error;
    } cases[] = {
        {{}, "ab\xFF" "cd", "standard input is not valid UTF-8: the byte at offset 2"},
        {{}, "\xC0\xAF", "offset 0"},              // overlong
        {{}, "ok \xE2\x82", "offset 3"},           // cut short
        {{}, "\xED\xA0\x80", "offset 0"},          // a surrogate
        {{"--percent", "abc"}, "a b", "'abc' is not a valid integer value"},
        {{"--percent", "10 "}, "a b", "'10 ' is not a valid integer value"},
        {{"--presses", "-1"}, "a b", "--presses must be 0 or more"},
        {{"--seed", "-1"}, "a b", "--seed needs a whole number"},
        {{"--seed"}, "a b", "option --seed needs a value"},
        {{"--colour"}, "a b", "unknown option --colour"},
        {{"one", "two"}, "a b", "usage: tessalind-admin blank"},
        {{"/nonexistent/poem.txt"}, "", "cannot read /nonexistent/poem.txt"},
    };
    for (const auto& c : cases) {
        const ToolRun run = blank(c.args, c.in);
        EXPECT_EQ(run.exitCode, 1) << c.args.join(' ').toStdString();
        EXPECT_TRUE(run.out.isEmpty()) << c.args.join(' ').toStdString();
        EXPECT_TRUE(QString::fromUtf8(run.err).contains(c.error)) << run.err.toStdString();
    }
}

}  // namespace
