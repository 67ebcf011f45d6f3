// The administrator's text commands, run as a user runs them: each test gets
// a directory of its own behind an alias of its own configuration file.
#include "tests/support/tempdir.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>

using ::testing::HasSubstr;

namespace {

struct ToolRun {
    int status = -1;
    std::string out;
    std::string err;
};

class TextCommands : public ::testing::Test {
protected:
    void SetUp() override
    {
        config = dir.file("engine.ini");
        std::ofstream(config) << "[Aliases]\nLivros=" << dir.path() << "\n";
        ASSERT_EQ(admin({"table", "create", "Livros", "Memorizar.DB"}).status, 0);
    }

    ToolRun admin(const QStringList& args)
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("TESSALIND_ENGINE_CONFIG"), QString::fromStdString(config));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        p.setProcessEnvironment(env);
        // The build puts every program in one directory.
        p.start(QCoreApplication::applicationDirPath() + QStringLiteral("/tessalind-admin"), args);
        if (!p.waitForFinished(60000))
            return {};
        return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput().toStdString(),
                p.readAllStandardError().toStdString()};
    }

    ToolRun add(const QString& title, const QString& textFile)
    {
        QStringList args = {"text", "add", "Livros", "Memorizar.DB", "--author", "Olavo Bilac", "--subject",
                            "Estrelas", "--first-line", "Ora (direis)", "--text", textFile};
        if (!title.isNull())
            args << "--title" << title;
        return admin(args);
    }

    std::string writeFile(const std::string& name, const std::string& bytes)
    {
        std::ofstream(dir.file(name), std::ios::binary) << bytes;
        return dir.file(name);
    }

    std::string list() { return admin({"text", "list", "Livros", "Memorizar.DB"}).out; }

    TempDir dir;
    std::string config;
};

}  // namespace

TEST_F(TextCommands, AddListShowAndDelete)
{
    // A memo is bytes: code page escapes, a lone high byte, no final newline.
    const std::string rtf = "{\\rtf1\\ansi Ora (direis) ouvir estrelas! Certo\\par \xE1}";
    const QString file = QString::fromStdString(writeFile("poema.rtf", rtf));
    const ToolRun first = add(QStringLiteral("Ouvir Estrelas"), file);
    ASSERT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(first.out, "1\n");
    EXPECT_EQ(add(QStringLiteral("Via L\u00e1ctea"), file).out, "2\n");

    EXPECT_EQ(list(), "1\tOuvir Estrelas\tOlavo Bilac\tEstrelas\tOra (direis)\t" + std::to_string(rtf.size()) +
                          "\n2\tVia L\xC3\xA1" "ctea\tOlavo Bilac\tEstrelas\tOra (direis)\t" +
                          std::to_string(rtf.size()) + "\n");
    EXPECT_EQ(admin({"text", "show", "Livros", "Memorizar.DB", "1", "--field", "Texto"}).out, rtf);
    EXPECT_EQ(admin({"text", "show", "Livros", "Memorizar.DB", "2", "--field", "titulo"}).out,
              "Via L\xC3\xA1" "ctea\n");
    EXPECT_THAT(admin({"text", "show", "Livros", "Memorizar.DB", "2"}).out,
                HasSubstr("Titulo: Via L\xC3\xA1" "ctea\nAutor: Olavo Bilac\n"));

    ASSERT_EQ(admin({"text", "delete", "Livros", "Memorizar.DB", "1"}).status, 0);
    EXPECT_THAT(list(), ::testing::StartsWith("1\tVia L"));
}

TEST_F(TextCommands, ListKeepsOneLinePerRowWhateverTheStringsHold)
{
    const QString file = QString::fromStdString(writeFile("t.rtf", "{\\rtf1 x}"));
    ASSERT_EQ(add(QStringLiteral("a\tb\\c"), file).status, 0);
    EXPECT_THAT(list(), ::testing::StartsWith("1\ta\\tb\\\\c\t"));
}

namespace {

struct FailingCase {
    const char* name;
    QStringList args;  // after the program's name
    const char* message;
};

void PrintTo(const FailingCase& c, std::ostream* os) { *os << c.name; }

const QString longTitle(51, QLatin1Char('t'));

const FailingCase failingCases[] = {
    {"NoTitle",
     {"text", "add", "Livros", "Memorizar.DB", "--author", "A", "--subject", "S", "--first-line", "F", "--text",
      "@TEXT@"},
     "Field 'Titulo' must have a value"},
    {"NoText", {"text", "add", "Livros", "Memorizar.DB", "--title", "T", "--author", "A", "--subject", "S",
                "--first-line", "F"},
     "Field 'Texto' must have a value"},
    {"TitleTooLong",
     {"text", "add", "Livros", "Memorizar.DB", "--title", longTitle, "--author", "A", "--subject", "S",
      "--first-line", "F", "--text", "@TEXT@"},
     "TabMemoria: Value for field 'Titulo' is 51 characters long; the field holds at most 50"},
    {"TextFileMissing",
     {"text", "add", "Livros", "Memorizar.DB", "--title", "T", "--author", "A", "--subject", "S", "--first-line",
      "F", "--text", "/nonexistent/poem.rtf"},
     "cannot read /nonexistent/poem.rtf"},
    {"UnknownOption", {"text", "add", "Livros", "Memorizar.DB", "--titel", "T"}, "unknown option --titel"},
    {"UnknownAlias", {"text", "list", "Ninguem", "Memorizar.DB"}, "Unknown database alias\nAlias: Ninguem"},
    {"TableExists", {"table", "create", "Livros", "Memorizar.DB"}, "The table already exists"},
    {"ShowPastTheEnd", {"text", "show", "Livros", "Memorizar.DB", "2"}, "there is no row 2: the table has 1 row"},
    {"ShowRowZero", {"text", "show", "Livros", "Memorizar.DB", "0"}, "'0' is not a row number"},
    {"ShowUnknownField", {"text", "show", "Livros", "Memorizar.DB", "1", "--field", "Ano"},
     "TabMemoria: Field 'Ano' not found"},
    {"DeleteNotANumber", {"text", "delete", "Livros", "Memorizar.DB", "um"}, "'um' is not a row number"},
    {"DeletePastTheEnd", {"text", "delete", "Livros", "Memorizar.DB", "7"}, "there is no row 7"},
};

class TextCommandFailures : public TextCommands, public ::testing::WithParamInterface<FailingCase> {};

}  // namespace

TEST_P(TextCommandFailures, GoToStandardErrorWithStatusOneAndStoreNothing)
{
    const QString file = QString::fromStdString(writeFile("t.rtf", "{\\rtf1 x}"));
    ASSERT_EQ(add(QStringLiteral("Existente"), file).status, 0);
    const std::string before = list();
    QStringList args = GetParam().args;
    args.replaceInStrings(QStringLiteral("@TEXT@"), file);
    const ToolRun run = admin(args);
    EXPECT_EQ(run.status, 1);
    EXPECT_THAT(run.err, HasSubstr(std::string("tessalind-admin: ") + GetParam().message));
    EXPECT_EQ(list(), before);
}

INSTANTIATE_TEST_SUITE_P(Table, TextCommandFailures, ::testing::ValuesIn(failingCases),
                         [](const auto& info) { return std::string(info.param.name); });

// A copy of the tool in a directory with no engine library beside it, nor in
// ../lib, and no DLLPATH: opening a table fails with the engine start error.
TEST_F(TextCommands, AMissingEngineLibraryFailsWithTheStartError)
{
    const QString copy = QString::fromStdString(dir.file("tessalind-admin"));
    ASSERT_TRUE(QFile::copy(QCoreApplication::applicationDirPath() + QStringLiteral("/tessalind-admin"), copy));
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TESSALIND_ENGINE_CONFIG"), QString::fromStdString(config));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.remove(QStringLiteral("LD_LIBRARY_PATH"));
    p.setProcessEnvironment(env);
    p.start(copy, {"text", "list", "Livros", "Memorizar.DB"});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 1);
    EXPECT_THAT(p.readAllStandardError().toStdString(),
                HasSubstr("tessalind-admin: An error occurred while attempting to initialize the database engine "
                          "(error $3e01)"));
}
