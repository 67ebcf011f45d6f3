#pragma once
// A field object: one column of a table as the program sees it. Persistent
// fields are made by their owner before the table opens and bound to the
// table's columns by name at every opening; a table opened without any makes
// one per column itself and drops them again at close.
//
// A field reads and writes the table's current row (or the row a record filter
// is looking at). Writing is allowed only in edit or insert state; it sets the
// table's modified mark and tells the controls of the change.

#include "platform/storage/storage.h"

#include <QObject>
#include <QString>

class TwwTable;

class TField : public QObject {
    Q_OBJECT
public:
    ~TField() override;

    // The table this field belongs to; joins its field list at the end.
    // Only while the table is closed.
    TwwTable* DataSet() const { return m_dataSet; }
    void setDataSet(TwwTable* dataSet);

    QString FieldName() const { return m_fieldName; }
    void setFieldName(const QString& name) { m_fieldName = name; }

    storage::FieldType DataType() const { return m_dataType; }

    bool Required() const { return m_required; }
    void setRequired(bool required) { m_required = required; }
    // Characters for a string; bytes kept inside the row for a memo.
    int Size() const { return m_size; }
    void setSize(int size) { m_size = size; }
    // Characters a grid column gives the field.
    int DisplayWidth() const { return m_displayWidth; }
    void setDisplayWidth(int width) { m_displayWidth = width; }
    bool ReadOnly() const { return m_readOnly; }
    void setReadOnly(bool readOnly) { m_readOnly = readOnly; }

    // Position of the bound column, from 1; 0 while the table is closed.
    int FieldNo() const { return m_column + 1; }

    virtual QString AsString() const = 0;
    // An empty string stores no value.
    virtual void setAsString(const QString& value) = 0;

    // An empty string or an empty memo counts as no value.
    bool IsNull() const;
    void Clear();

    // Asks the control bound to this field to take the input focus.
    void FocusControl();

protected:
    TField(storage::FieldType type, QObject* parent);

    // The stored form of the value: UTF-8 for strings, the bytes of a memo.
    const storage::Value& rawValue() const;
    void setRawValue(storage::Value value);
    // An error raised in this field's name, prefixed with its table's name.
    [[noreturn]] void fail(const QString& message) const;

private:
    friend class TwwTable;

    TwwTable* m_dataSet = nullptr;
    QString m_fieldName;
    storage::FieldType m_dataType;
    bool m_required = false;
    int m_size = 0;
    int m_displayWidth = 10;
    bool m_readOnly = false;
    int m_column = -1;  // set by the table while it is open
};
