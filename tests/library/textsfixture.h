#pragma once
// A texts table with numbered rows ("T1", "T2", ...) in a temporary
// directory, opened through a data source, for the tests of the controls.
#include "library/dataset/field.h"
#include "library/dataset/wwdatasource.h"
#include "library/dataset/wwtable.h"
#include "library/textstable.h"
#include "platform/storage/storage.h"
#include "tests/support/errorrecorder.h"
#include "tests/support/tempdir.h"

#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

class TextsFixture : public ::testing::Test {
protected:
    // The table is created with `rows` rows and opened.
    void openWith(int rows, const std::string& memo = "{\\rtf1 poem}")
    {
        storage::Engine& engine = storage::Engine::instance();
        engine.createTable(dir.path(), "Memorizar.DB", TextsTable::schema());
        {
            std::unique_ptr<storage::Table> t = engine.openTable(dir.path(), "Memorizar.DB", storage::OpenMode::ReadWrite);
            for (int i = 1; i <= rows; ++i) {
                const std::string n = std::to_string(i);
                t->insert(std::nullopt, {"T" + n, "A" + n, "S" + n, "L" + n, memo});
            }
        }
        table = TextsTable::make(&window, QStringLiteral("TabMemoria"), QString::fromStdString(dir.path()),
                                 QStringLiteral("Memorizar.DB"));
        source = new TwwDataSource(&window);
        source->setDataSet(table);
        table->Open();
    }
    QString title() const { return table->FieldByName(QStringLiteral("Titulo"))->AsString(); }
    TField* field(const char* name) const { return table->FieldByName(QString::fromLatin1(name)); }

    TempDir dir;
    ErrorRecorder errors;
    QWidget window;
    TwwTable* table = nullptr;
    TwwDataSource* source = nullptr;
};
