// Reading and writing a 1 MiB formatted document as RTF, against Qt's own
// HTML import and export of the same document in the same run, and the speed
// of the control's plain-text extraction.
//
// Goals: RTF read / HTML import at most 1.0; plain text at least 100 MB/s.

#include "bench/ratioreporter.h"
#include "platform/richedit/plaintext.h"
#include "platform/richedit/rtfreader.h"
#include "platform/richedit/rtfwriter.h"

#include <QGuiApplication>
#include <QTextCursor>
#include <QTextDocument>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>

namespace {

// A text like the program's: verses in paragraphs, a few runs of other
// formats in each, some accents, a line break now and then.
std::unique_ptr<QTextDocument> formattedDocument(qsizetype rtfBytes)
{
    auto doc = std::make_unique<QTextDocument>();
    doc->setDefaultFont(QFont(QStringLiteral("Arial"), 12));
    QTextCursor c(doc.get());
    QTextCharFormat plain;
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    QTextCharFormat italic;
    italic.setFontItalic(true);
    italic.setForeground(QColor(0, 0, 128));
    QTextCharFormat big;
    big.setFontPointSize(16);
    big.setFontFamilies({QStringLiteral("Courier New")});
    const QString verse = QString::fromUtf16(u"Minha terra tem palmeiras onde canta o sabiá; as aves que aqui gorjeiam ");
    for (int i = 0; RtfWriter::write(*doc).size() < rtfBytes; ++i) {
        for (int j = 0; j < 50; ++j) {
            QTextBlockFormat block;
            block.setAlignment(j % 3 == 0 ? Qt::AlignHCenter : Qt::AlignLeft);
            block.setLeftMargin((j % 4) * 24);
            block.setBottomMargin(4);
            c.insertBlock(block);
            c.insertText(verse, plain);
            c.insertText(QStringLiteral("não gorjeiam "), bold);
            c.insertText(QStringLiteral("como lá."), italic);
            c.insertText(QString(QChar::LineSeparator) + QStringLiteral("Segunda linha "), plain);
            c.insertText(QStringLiteral("maior"), big);
        }
    }
    return doc;
}

struct Fixture {
    std::unique_ptr<QTextDocument> doc = formattedDocument(1 << 20);
    QByteArray rtf = RtfWriter::write(*doc);
    QString html = doc->toHtml();
};

Fixture& fixture()
{
    static Fixture f;
    return f;
}

void rtfRead(benchmark::State& state)
{
    for (auto _ : state) {
        QTextDocument doc;
        RtfReader::readDocument(fixture().rtf, doc);
        benchmark::DoNotOptimize(doc.characterCount());
    }
    state.SetBytesProcessed(state.iterations() * fixture().rtf.size());
}

void htmlImport(benchmark::State& state)
{
    for (auto _ : state) {
        QTextDocument doc;
        doc.setHtml(fixture().html);
        benchmark::DoNotOptimize(doc.characterCount());
    }
    state.SetBytesProcessed(state.iterations() * fixture().html.size());
}

void rtfWrite(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(RtfWriter::write(*fixture().doc).size());
}

void htmlExport(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(fixture().doc->toHtml().size());
}

void plainText(benchmark::State& state)
{
    qsizetype bytes = 0;
    for (auto _ : state) {
        const QString text = PlainText::of(*fixture().doc);
        bytes = text.size() * qsizetype(sizeof(QChar));
        benchmark::DoNotOptimize(text.constData());
    }
    state.SetBytesProcessed(state.iterations() * bytes);
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QGuiApplication app(qtArgc, argv);
    benchmark::Initialize(&argc, argv);
    std::printf("document: %lld bytes of RTF, %lld characters of HTML\n", (long long)fixture().rtf.size(),
                (long long)fixture().html.size());
    for (const auto& [name, function] : std::map<std::string, void (*)(benchmark::State&)>{
             {"rtfRead", rtfRead}, {"htmlImport", htmlImport}, {"rtfWrite", rtfWrite}, {"htmlExport", htmlExport},
             {"plainText", plainText}})
        benchmark::RegisterBenchmark(name.c_str(), function)->Unit(benchmark::kMillisecond);
    RatioReporter reporter(RatioReporter::Clock::Real);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto ratio = [&](const char* a, const char* b) { return reporter.ratio(a, b); };
    std::printf("\nratios:\n");
    std::printf("  RTF read / HTML import    %6.2f  (goal: at most 1.0)\n", ratio("rtfRead", "htmlImport"));
    std::printf("  RTF write / HTML export   %6.2f\n", ratio("rtfWrite", "htmlExport"));
    if (const double bytes = reporter.bytesPerSecond("plainText"); bytes >= 0)
        std::printf("  plain text                %6.0f MB/s of UTF-16 (goal: at least 100)\n", bytes / 1e6);
    benchmark::Shutdown();
    return 0;
}
