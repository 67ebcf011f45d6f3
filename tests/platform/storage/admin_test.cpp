// The engine's commands of the administrator tool, run as a user would.
#include "platform/storage/storage.h"
#include "tests/support/tempdir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <sqlite3.h>
#include <sstream>

using namespace storage;
using ::testing::HasSubstr;

namespace {

struct Result {
    int status;
    std::string out, err;
};

class AdminTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ::setenv("TESSALIND_ENGINE_CONFIG", dir.file("engine.ini").c_str(), 1);
        std::ofstream(dir.file("engine.ini")) << "[Aliases]\nLivros=" << dir.path() << "\n";
    }
    void TearDown() override { ::unsetenv("TESSALIND_ENGINE_CONFIG"); }

    Result admin(const std::string& args)
    {
        const std::string command = std::string(TESS_ADMIN) + " " + args + " >" + dir.file("out") + " 2>" +
                                    dir.file("err");
        const int status = std::system(command.c_str());
        const auto slurp = [](const std::string& path) {
            std::ifstream in(path);
            std::stringstream s;
            s << in.rdbuf();
            return s.str();
        };
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, slurp(dir.file("out")), slurp(dir.file("err"))};
    }
    void makeTable()
    {
        TableSchema s;
        s.fields = {{"Titulo", FieldType::String, 10, true}, {"Texto", FieldType::Memo, 240, true}};
        s.indexes = {{"ByTitulo", {"Titulo"}, true, false}};
        Engine::instance().createTable("Livros", "T.DB", s);
        auto table = Engine::instance().openTable("Livros", "T.DB", OpenMode::ReadWrite);
        table->insert(std::nullopt, {"Um", "x"});
        table->insert(std::nullopt, {"Dois", "y"});
    }
    void rawSql(const std::string& sql)
    {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(dir.file("T.DB").c_str(), &db), SQLITE_OK);
        EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
        sqlite3_close(db);
    }

    TempDir dir;
};

TEST_F(AdminTest, AliasesAreListedSetAndRemoved)
{
    EXPECT_EQ(admin("alias set Outro /srv/textos").status, 0);
    EXPECT_EQ(admin("alias list").out, "Livros\t" + dir.path() + "\nOutro\t/srv/textos\n");
    EXPECT_EQ(admin("alias remove outro").status, 0);
    EXPECT_EQ(admin("alias list").out, "Livros\t" + dir.path() + "\n");
    const Result missing = admin("alias remove Outro");
    EXPECT_EQ(missing.status, 1);
    EXPECT_THAT(missing.err, HasSubstr("Unknown database alias\nAlias: Outro\n"));
    const Result usage = admin("alias set OnlyName");
    EXPECT_EQ(usage.status, 1);
    EXPECT_THAT(usage.err, HasSubstr("alias set NAME DIRECTORY"));
}

TEST_F(AdminTest, InfoShowsFieldsIndexesPicturesAndRows)
{
    makeTable();
    EXPECT_EQ(admin("table set-picture Livros T.DB Titulo '&*?'").status, 0);
    const Result info = admin("table info Livros T.DB");
    EXPECT_EQ(info.status, 0);
    EXPECT_EQ(info.out, "File: " + dir.file("T.DB") +
                            "\nRows: 2\nFields:\n  1\tTitulo\tString\t10\trequired\n  2\tTexto\tMemo\t240\trequired\n"
                            "Indexes:\n  ByTitulo\tTitulo\tcase-insensitive\nPictures:\n  Titulo\t&*?\n");
    const Result badPicture = admin("table set-picture Livros T.DB Titulo '{a,b'");
    EXPECT_EQ(badPicture.status, 1);
    EXPECT_THAT(badPicture.err, HasSubstr("{a,b"));
    EXPECT_THAT(admin("table info Livros T.DB").out, HasSubstr("Pictures:\n  Titulo\t&*?\n"));
    const Result noField = admin("table set-picture Livros T.DB Nada '#'");
    EXPECT_EQ(noField.status, 1);
    EXPECT_THAT(noField.err, HasSubstr("The table has no such field"));
    const Result noTable = admin("table info Livros Nada.DB");
    EXPECT_EQ(noTable.status, 1);
    EXPECT_THAT(noTable.err, HasSubstr("Table does not exist\nAlias: Livros\nFile: " + dir.file("Nada.DB")));
}

TEST_F(AdminTest, CheckSaysOkOrNamesEachProblem)
{
    makeTable();
    const Result sound = admin("table check Livros T.DB");
    EXPECT_EQ(sound.status, 0);
    EXPECT_EQ(sound.out, "ok\n");
    struct Case {
        const char* damage;
        const char* problem;
    };
    for (const Case c : {Case{"UPDATE tess_rows SET k1 = 'zz' WHERE id = 1",
                              "Row 1: the index key of field 'Titulo' does not match its value"},
                         Case{"UPDATE tess_rows SET v1 = 'far too long a title', k1 = 'far too long a title' WHERE id = 2",
                              "Row 2: field 'Titulo' is longer than its size"},
                         Case{"UPDATE tess_table SET value = 7 WHERE key = 'rows'",
                              "The recorded row count differs from the 2 rows stored"},
                         Case{"DROP INDEX tess_index_1", "Index 'ByTitulo' is missing"},
                         Case{"DELETE FROM tess_table WHERE key = 'format'", "no table format mark"}}) {
        std::filesystem::remove(dir.file("T.DB"));
        std::filesystem::remove(dir.file("T.DB-wal"));
        std::filesystem::remove(dir.file("T.DB-shm"));
        makeTable();
        rawSql(c.damage);
        const Result damaged = admin("table check Livros T.DB");
        EXPECT_EQ(damaged.status, 1) << c.damage;
        EXPECT_THAT(damaged.err, HasSubstr(c.problem)) << c.damage;
    }
}

}  // namespace
