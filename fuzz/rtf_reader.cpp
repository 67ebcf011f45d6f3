// Feeds arbitrary bytes to the RTF reader. Whatever it reads must write out
// and read back to the same bytes: a second write equals the first.
#include "platform/richedit/rtfreader.h"
#include "platform/richedit/rtfreaderror.h"
#include "platform/richedit/rtfwriter.h"

#include <QGuiApplication>
#include <QTextDocument>

#include <cstdint>
#include <cstdlib>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static int argc = 1;
    static char name[] = "rtf_reader";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* app = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QGuiApplication(argc, argv);
    }();
    (void)app;

    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QTextDocument doc;
    try {
        RtfReader::readDocument(bytes, doc);
    } catch (const RtfReadError&) {
        return 0;
    }
    const QByteArray first = RtfWriter::write(doc);
    QTextDocument again;
    RtfReader::readDocument(first, again);
    const QByteArray second = RtfWriter::write(again);
    if (second != first) {
        std::fprintf(stderr, "write-read-write changed the bytes:\n%s\n---\n%s\n", first.constData(), second.constData());
        std::abort();
    }
    return 0;
}
