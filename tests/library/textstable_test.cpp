// The texts table: its schema, the table object the register window gets, and
// the first-run installer that only acts on the engine's built-in
// configuration.
#include "library/dataset/field.h"
#include "library/dataset/wwtable.h"
#include "library/textsinstaller.h"
#include "library/textstable.h"
#include "platform/storage/storage.h"
#include "tests/support/tempdir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QObject>

#include <cstdlib>
#include <filesystem>
#include <fstream>

using ::testing::ElementsAre;

namespace {

// Points the engine's configuration at a fresh home for the length of a test:
// the XDG directories under a temporary directory, and either no
// configuration file at all (the built-in default) or one of the test's own.
class EngineHome {
public:
    explicit EngineHome(bool withConfigFile)
    {
        ::setenv("XDG_DATA_HOME", dir.file("data").c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", dir.file("config").c_str(), 1);
        if (withConfigFile) {
            std::filesystem::create_directories(dir.file("aliased"));
            std::ofstream(dir.file("engine.ini")) << "[Aliases]\nTessalind=" << dir.file("aliased") << "\n";
            ::setenv("TESSALIND_ENGINE_CONFIG", dir.file("engine.ini").c_str(), 1);
        } else {
            ::unsetenv("TESSALIND_ENGINE_CONFIG");
        }
    }
    std::string defaultTable() const { return dir.file("data") + "/tessalind/Memorizar.DB"; }

    TempDir dir;
};

QStringList fieldSummary(TwwTable* table)
{
    QStringList out;
    for (TField* f : table->Fields())
        out << QStringLiteral("%1 %2 %3 %4 %5 %6")
                   .arg(f->objectName(), f->FieldName(), QString::fromUtf8(storage::fieldTypeName(f->DataType())))
                   .arg(f->Size())
                   .arg(f->DisplayWidth())
                   .arg(f->Required() ? "required" : "optional");
    return out;
}

}  // namespace

TEST(TextsTable, SchemaHoldsTheFiveRequiredFieldsAndThreeSearchIndexes)
{
    const storage::TableSchema s = TextsTable::schema();
    std::vector<std::string> fields;
    for (const storage::FieldDef& d : s.fields)
        fields.push_back(d.name + " " + storage::fieldTypeName(d.type) + " " + std::to_string(d.size) +
                         (d.required ? " required" : " optional"));
    EXPECT_THAT(fields, ElementsAre("Titulo String 50 required", "Autor String 40 required",
                                    "Assunto String 25 required", "PrimeiraLinha String 70 required",
                                    "Texto Memo 240 required"));
    ASSERT_EQ(s.indexes.size(), 3u);
    for (const storage::IndexDef& index : s.indexes) {
        EXPECT_TRUE(index.caseInsensitive) << index.name;
        EXPECT_FALSE(index.unique) << index.name;  // two texts may share a title
        ASSERT_EQ(index.fields.size(), 1u);
    }
    EXPECT_TRUE(s.pictures.empty());
}

TEST(TextsTable, TabMemoriaHasItsSettingsAndPersistentFields)
{
    EngineHome home(true);  // a configuration of its own: nothing is installed
    QObject owner;
    TwwTable* table = TextsTable::makeTabMemoria(&owner);
    EXPECT_EQ(table->parent(), &owner);
    EXPECT_EQ(table->objectName(), QStringLiteral("TabMemoria"));
    EXPECT_EQ(table->DatabaseName(), QStringLiteral("Tessalind"));
    EXPECT_EQ(table->TableName(), QStringLiteral("Memorizar.DB"));
    EXPECT_FALSE(table->Active());
    EXPECT_FALSE(table->ReadOnly());
    EXPECT_FALSE(table->Exclusive());
    EXPECT_FALSE(table->SyncSQLByRange());
    EXPECT_FALSE(table->NarrowSearch());
    EXPECT_TRUE(table->ValidateWithMask());
    EXPECT_TRUE(table->PictureMasks().isEmpty());
    EXPECT_THAT(fieldSummary(table),
                ElementsAre("TabMemoriaTitulo Titulo String 50 50 required",
                            "TabMemoriaAutor Autor String 40 40 required",
                            "TabMemoriaAssunto Assunto String 25 25 required",
                            "TabMemoriaPrimeiraLinha PrimeiraLinha String 70 70 required",
                            "TabMemoriaTexto Texto Memo 240 10 required"));
    EXPECT_FALSE(std::filesystem::exists(home.dir.file("aliased") + "/Memorizar.DB"));
}

TEST(TextsInstaller, OnTheDefaultConfigurationTheFirstOpeningFindsTheTextsOnce)
{
    EngineHome home(false);
    ASSERT_TRUE(storage::Engine::instance().usingDefaultConfiguration());
    QObject owner;
    TwwTable* table = TextsTable::makeTabMemoria(&owner);
    ASSERT_TRUE(std::filesystem::exists(home.defaultTable()));
    table->Open();
    int count = 0;
    const TextsInstaller::Text* texts = TextsInstaller::texts(&count);
    ASSERT_EQ(table->RecordCount(), count);
    for (int i = 0; i < count; ++i, table->Next()) {
        EXPECT_EQ(table->FieldByName(QStringLiteral("Titulo"))->AsString(), QString::fromUtf8(texts[i].titulo));
        EXPECT_EQ(table->FieldByName(QStringLiteral("Autor"))->AsString(), QString::fromUtf8(texts[i].autor));
        const QString rtf = table->FieldByName(QStringLiteral("Texto"))->AsString();
        EXPECT_TRUE(rtf.startsWith(QStringLiteral("{\\rtf1\\ansi"))) << i;
        EXPECT_TRUE(rtf.endsWith(QLatin1Char('}'))) << i;
        // Every installed text would pass a post: each field has a value.
        for (TField* f : table->Fields())
            EXPECT_FALSE(f->IsNull()) << i << " " << f->FieldName().toStdString();
    }
    table->Close();
    // A second opening (and a table the user emptied) installs nothing again.
    table->Open();
    while (!table->IsEmpty())
        table->Delete();
    table->Close();
    EXPECT_FALSE(TextsInstaller::installIfMissing(QStringLiteral("Tessalind"), QStringLiteral("Memorizar.DB")));
    table->Open();
    EXPECT_TRUE(table->IsEmpty());
}

TEST(TextsInstaller, WithAConfigurationFileNothingIsInstalled)
{
    EngineHome home(true);
    EXPECT_FALSE(TextsInstaller::installIfMissing(QStringLiteral("Tessalind"), QStringLiteral("Memorizar.DB")));
    EXPECT_FALSE(std::filesystem::exists(home.dir.file("aliased") + "/Memorizar.DB"));
    EXPECT_FALSE(std::filesystem::exists(home.defaultTable()));
}
