#include "library/dataset/field.h"

#include "library/dataset/wwtable.h"

TField::TField(storage::FieldType type, QObject* parent) : QObject(parent), m_dataType(type) {}

TField::~TField()
{
    if (m_dataSet)
        m_dataSet->removeField(this);
}

void TField::setDataSet(TwwTable* dataSet)
{
    if (dataSet == m_dataSet)
        return;
    if ((m_dataSet && m_dataSet->Active()) || (dataSet && dataSet->Active()))
        fail(QStringLiteral("Cannot change the table of field '%1' while it is open").arg(m_fieldName));
    if (m_dataSet)
        m_dataSet->removeField(this);
    m_dataSet = dataSet;
    if (m_dataSet)
        m_dataSet->addField(this);
}

bool TField::IsNull() const
{
    const storage::Value& value = rawValue();
    return !value || value->empty();
}

void TField::Clear() { setRawValue(std::nullopt); }

void TField::FocusControl()
{
    if (m_dataSet)
        m_dataSet->focusField(this);
}

const storage::Value& TField::rawValue() const
{
    static const storage::Value none;
    if (!m_dataSet || m_column < 0)
        return none;
    return m_dataSet->valueAt(m_column);
}

void TField::setRawValue(storage::Value value)
{
    if (!m_dataSet)
        throw Exception(QStringLiteral("Field '%1' has no dataset").arg(m_fieldName).toStdString());
    if (value && value->empty())
        value.reset();
    m_dataSet->setValueAt(this, std::move(value));
}

void TField::fail(const QString& message) const
{
    if (m_dataSet)
        throw m_dataSet->error(message);
    throw Exception(message.toStdString());
}
