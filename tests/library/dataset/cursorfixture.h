#pragma once
// A texts-like table in a fresh directory reached through an alias of its own,
// a table component over it with the five fields of a text, and a recorder of
// every notification the component and its data source give, in order.
//
// The engine reads its configuration at every call, so each fixture points
// TESSALIND_ENGINE_CONFIG at a file of its own before touching the engine.
#include "library/dataset/datalink.h"
#include "library/dataset/field.h"
#include "library/dataset/memofield.h"
#include "library/dataset/stringfield.h"
#include "library/dataset/wwdatasource.h"
#include "library/dataset/wwtable.h"
#include "platform/storage/storage.h"
#include "tests/support/tempdir.h"

#include <QString>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

// Hears what a control hears, and the table's own events, in one list.
class NotificationRecorder : public TDataLink {
public:
    explicit NotificationRecorder(TwwTable* table) : m_table(table)
    {
        const auto hook = [this](TwwTable::TDataSetNotifyEvent& event, const char* name) {
            event = [this, name](TwwTable*) { events.push_back(name); };
        };
        hook(table->BeforeOpen, "BeforeOpen");
        hook(table->AfterOpen, "AfterOpen");
        hook(table->BeforeClose, "BeforeClose");
        hook(table->AfterClose, "AfterClose");
        hook(table->BeforeInsert, "BeforeInsert");
        hook(table->AfterInsert, "AfterInsert");
        hook(table->BeforeEdit, "BeforeEdit");
        hook(table->AfterEdit, "AfterEdit");
        hook(table->BeforePost, "BeforePost");
        hook(table->AfterPost, "AfterPost");
        hook(table->BeforeCancel, "BeforeCancel");
        hook(table->AfterCancel, "AfterCancel");
        hook(table->BeforeDelete, "BeforeDelete");
        hook(table->AfterDelete, "AfterDelete");
        hook(table->BeforeScroll, "BeforeScroll");
        hook(table->AfterScroll, "AfterScroll");
        hook(table->BeforeRefresh, "BeforeRefresh");
        hook(table->AfterRefresh, "AfterRefresh");
        hook(table->OnNewRecord, "NewRecord");
    }

    std::vector<std::string> take()
    {
        std::vector<std::string> out;
        out.swap(events);
        return out;
    }

    std::vector<std::string> events;

protected:
    void stateChanged() override
    {
        static const char* const names[] = {"inactive", "browse", "edit", "insert"};
        events.push_back(std::string("state ") + names[State()]);
    }
    void dataChanged() override { events.push_back("data"); }
    void fieldChanged(TField* field) override
    {
        events.push_back("field " + (field ? field->FieldName().toStdString() : std::string("*")));
    }

private:
    TwwTable* m_table;
};

class CursorFixture {
public:
    CursorFixture()
    {
        static int serial = 0;
        m_alias = "Testes" + std::to_string(++serial);
        const std::string config = m_dir.file("engine.ini");
        std::ofstream(config) << "[Aliases]\n" << m_alias << "=" << m_dir.path() << "\n";
        ::setenv("TESSALIND_ENGINE_CONFIG", config.c_str(), 1);
    }

    static storage::TableSchema textSchema()
    {
        storage::TableSchema schema;
        schema.fields = {{"Titulo", storage::FieldType::String, 50, true},
                         {"Autor", storage::FieldType::String, 40, true},
                         {"Assunto", storage::FieldType::String, 25, true},
                         {"PrimeiraLinha", storage::FieldType::String, 70, true},
                         {"Texto", storage::FieldType::Memo, 240, true}};
        return schema;
    }

    static std::vector<storage::Value> textRow(const std::string& title)
    {
        return {title, "Autor " + title, "Assunto", "Linha de " + title, "{\\rtf1 " + title + "}"};
    }

    // The table file with a row per title, written straight through the engine.
    void createTable(const std::vector<std::string>& titles, storage::TableSchema schema = textSchema(),
                     const std::string& name = "Memorizar.DB")
    {
        storage::Engine& engine = storage::Engine::instance();
        engine.createTable(m_alias, name, schema);
        auto table = engine.openTable(m_alias, name, storage::OpenMode::ReadWrite);
        for (const std::string& title : titles) {
            std::vector<storage::Value> values = textRow(title);
            values.resize(schema.fields.size(), std::string("x"));
            table->insert(std::nullopt, values);
        }
    }

    std::unique_ptr<storage::Table> rawTable(const std::string& name = "Memorizar.DB") const
    {
        return storage::Engine::instance().openTable(m_alias, name, storage::OpenMode::ReadWrite);
    }

    std::vector<std::string> storedTitles() const
    {
        std::vector<std::string> out;
        auto table = rawTable();
        for (std::optional<storage::Row> r = table->first(storage::Memos::Skip); r;) {
            out.push_back(r->values[0].value_or("<blank>"));
            const std::vector<storage::Row> next = table->after(r->id, 1);
            r = next.empty() ? std::nullopt : std::optional<storage::Row>(next.front());
        }
        return out;
    }

    // A closed component named TabMemoria with the five fields of a text.
    TwwTable* makeTable(const std::string& name = "Memorizar.DB")
    {
        m_table = std::make_unique<TwwTable>();
        m_table->setObjectName(QStringLiteral("TabMemoria"));
        m_table->setDatabaseName(QString::fromStdString(m_alias));
        m_table->setTableName(QString::fromStdString(name));
        const auto add = [this](TField* field, const char* fieldName, int size) {
            field->setFieldName(QString::fromLatin1(fieldName));
            field->setSize(size);
            field->setRequired(true);
            field->setDataSet(m_table.get());
        };
        add(new TStringField(m_table.get()), "Titulo", 50);
        add(new TStringField(m_table.get()), "Autor", 40);
        add(new TStringField(m_table.get()), "Assunto", 25);
        add(new TStringField(m_table.get()), "PrimeiraLinha", 70);
        add(new TMemoField(m_table.get()), "Texto", 240);
        m_source = std::make_unique<TwwDataSource>();
        m_source->setDataSet(m_table.get());
        m_recorder = std::make_unique<NotificationRecorder>(m_table.get());
        m_recorder->setDataSource(m_source.get());
        m_recorder->take();
        return m_table.get();
    }

    // The component opened on rows with these titles, its events not yet heard.
    TwwTable* openOn(const std::vector<std::string>& titles)
    {
        createTable(titles);
        TwwTable* table = makeTable();
        table->Open();
        m_recorder->take();
        return table;
    }

    // Fills every field of the current row being edited or inserted.
    static void fill(TwwTable* table, const std::string& title)
    {
        const std::vector<storage::Value> values = textRow(title);
        for (int i = 0; i < table->FieldCount(); ++i)
            table->Fields()[std::size_t(i)]->setAsString(QString::fromStdString(*values[std::size_t(i)]));
    }

    static std::string title(TwwTable* table)
    {
        return table->FieldByName(QStringLiteral("Titulo"))->AsString().toStdString();
    }

    const std::string& alias() const { return m_alias; }
    const TempDir& dir() const { return m_dir; }
    TwwTable* table() const { return m_table.get(); }
    TwwDataSource* source() const { return m_source.get(); }
    NotificationRecorder& recorder() { return *m_recorder; }
    // Destroys the component (as closing the window that owns it does).
    void destroyTable()
    {
        m_recorder.reset();
        m_table.reset();
    }

private:
    TempDir m_dir;
    std::string m_alias;
    std::unique_ptr<TwwTable> m_table;
    std::unique_ptr<TwwDataSource> m_source;
    std::unique_ptr<NotificationRecorder> m_recorder;
};
