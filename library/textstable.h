#pragma once
// The texts table: its schema, and the table object the register window uses,
// with its five persistent fields.
//
// Rows come in stored order (the table has no primary index); the three
// secondary indexes serve searches by title, author and subject and ignore
// case.

#include "platform/storage/storage.h"

#include <QObject>
#include <QString>
#include <QStringList>

class TwwTable;

class TextsTable {
public:
    static storage::TableSchema schema();

    // A closed table object `objectName` over databaseName/tableName with the
    // fields <objectName>Titulo, <objectName>Autor, <objectName>Assunto,
    // <objectName>PrimeiraLinha and <objectName>Texto, children of the table,
    // opened shared and checking stored pictures at each post. Whatever
    // writes texts goes through one of these, so every text meets the same
    // checks.
    static TwwTable* make(QObject* owner, const QString& objectName, const QString& databaseName,
                          const QString& tableName);

    // TabMemoria over "Tessalind"/"Memorizar.DB", installing the table with its
    // first texts when the engine runs on its built-in configuration and the
    // table is not there yet. The caller wires its handlers, then opens it.
    static TwwTable* makeTabMemoria(QObject* owner);

    // The texts grid's column list: field, width in characters and title of
    // each column, tab-separated, in display order.
    static QStringList gridColumns();
};
