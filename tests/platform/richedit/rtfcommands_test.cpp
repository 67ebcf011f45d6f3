// The administrator's rtf commands, run as a user runs them: no display.
#include "tests/support/qtprinters.h"

#include <QProcess>
#include <QCoreApplication>
#include <QFile>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct AdminRun {
    int status;
    QByteArray out;
    QByteArray err;
};

AdminRun admin(const QStringList& args)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    p.setProcessEnvironment(env);
    // The tool is built into the same folder as this test.
    p.start(QCoreApplication::applicationDirPath() + QStringLiteral("/tessalind-admin"), args);
    p.waitForFinished(60000);
    return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
}

class RtfCommands : public ::testing::Test {
protected:
    QString file(const char* name, const QByteArray& bytes)
    {
        const QString path = dir.filePath(QString::fromLatin1(name));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }
    QTemporaryDir dir;
};

TEST_F(RtfCommands, TextGivesThePlainTextOfRtfOrOfPlainText)
{
    struct Case {
        const char* name;
        QByteArray bytes;
        QByteArray text;
    };
    for (const Case& c : {Case{"a.rtf", R"({\rtf1 caf\'e9\par {\b x}\line y\par})", "caf\xc3\xa9\r\nx\r\ny"},
                          Case{"b.txt", "plain\nlines\r\n", "plain\r\nlines\r\n"},
                          Case{"c.txt", "Caf\xe9", "Caf\xc3\xa9"}}) {
        const AdminRun r = admin({QStringLiteral("rtf"), QStringLiteral("text"), file(c.name, c.bytes)});
        EXPECT_EQ(r.status, 0) << c.name << r.err.constData();
        EXPECT_EQ(r.out, c.text) << c.name;
    }
}

TEST_F(RtfCommands, WriteGivesRtfThatReadsBackTheSame)
{
    const QString source = file("a.rtf", R"({\rtf1{\fonttbl{\f0 Arial;}}\f0\fs28 one {\b two}\par three\par})");
    const AdminRun first = admin({QStringLiteral("rtf"), QStringLiteral("write"), source});
    ASSERT_EQ(first.status, 0) << first.err.constData();
    EXPECT_TRUE(first.out.startsWith("{\\rtf1"));
    EXPECT_TRUE(first.out.contains("\\b two"));
    EXPECT_TRUE(first.out.contains("Arial"));
    const AdminRun second = admin({QStringLiteral("rtf"), QStringLiteral("write"), file("b.rtf", first.out)});
    EXPECT_EQ(second.out, first.out);
}

TEST_F(RtfCommands, FailuresAreReportedWithAStatus)
{
    for (const QStringList& args : {QStringList{QStringLiteral("rtf"), QStringLiteral("text")},
                                    QStringList{QStringLiteral("rtf"), QStringLiteral("write"), dir.filePath("missing")},
                                    QStringList{QStringLiteral("rtf"), QStringLiteral("text"), QStringLiteral("a"),
                                                QStringLiteral("b")}}) {
        const AdminRun r = admin(args);
        EXPECT_EQ(r.status, 1) << args.join(' ').toStdString();
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_FALSE(r.err.isEmpty());
    }
}

}  // namespace
