#include "library/textstable.h"

#include "library/dataset/memofield.h"
#include "library/dataset/stringfield.h"
#include "library/dataset/wwtable.h"
#include "library/textsinstaller.h"

namespace {

struct Column {
    const char* name;
    storage::FieldType type;
    int size;
    int displayWidth;
};

// Every field is required; the memo keeps 240 bytes inside the row.
constexpr Column Columns[] = {
    {"Titulo", storage::FieldType::String, 50, 50},
    {"Autor", storage::FieldType::String, 40, 40},
    {"Assunto", storage::FieldType::String, 25, 25},
    {"PrimeiraLinha", storage::FieldType::String, 70, 70},
    {"Texto", storage::FieldType::Memo, 240, 10},
};

}  // namespace

storage::TableSchema TextsTable::schema()
{
    storage::TableSchema schema;
    for (const Column& c : Columns)
        schema.fields.push_back({c.name, c.type, c.size, true});
    for (const char* indexed : {"Titulo", "Autor", "Assunto"})
        schema.indexes.push_back({indexed, {indexed}, true, false});
    return schema;
}

TwwTable* TextsTable::make(QObject* owner, const QString& objectName, const QString& databaseName,
                           const QString& tableName)
{
    auto* table = new TwwTable(owner);
    table->setObjectName(objectName);
    table->setDatabaseName(databaseName);
    table->setTableName(tableName);
    for (const Column& c : Columns) {
        TField* field = c.type == storage::FieldType::Memo ? static_cast<TField*>(new TMemoField(table))
                                                            : static_cast<TField*>(new TStringField(table));
        field->setObjectName(objectName + QString::fromLatin1(c.name));
        field->setFieldName(QString::fromLatin1(c.name));
        field->setSize(c.size);
        field->setDisplayWidth(c.displayWidth);
        field->setRequired(true);
        field->setDataSet(table);
    }
    // Shared, checked against the table's stored pictures at every post; the
    // program has no masks of its own.
    table->setReadOnly(false);
    table->setExclusive(false);
    table->setSyncSQLByRange(false);
    table->setNarrowSearch(false);
    table->setValidateWithMask(true);
    table->setPictureMasks({});
    return table;
}

TwwTable* TextsTable::makeTabMemoria(QObject* owner)
{
    const QString database = QStringLiteral("Tessalind");
    const QString tableName = QStringLiteral("Memorizar.DB");
    TextsInstaller::installIfMissing(database, tableName);
    return make(owner, QStringLiteral("TabMemoria"), database, tableName);
}

QStringList TextsTable::gridColumns()
{
    return {QStringLiteral("Titulo\t50\tTitulo"), QStringLiteral("Autor\t40\tAutor"),
            QStringLiteral("Assunto\t25\tAssunto"), QStringLiteral("PrimeiraLinha\t70\tPrimeiraLinha"),
            QStringLiteral("Texto\t10\tTexto")};
}
