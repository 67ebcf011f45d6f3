#include "library/dataset/fielddatalink.h"

#include "library/dataset/field.h"
#include "library/dataset/wwtable.h"

void TFieldDataLink::setFieldName(const QString& name)
{
    if (name == m_fieldName)
        return;
    m_fieldName = name;
    showValue();
}

TField* TFieldDataLink::Field() const
{
    TwwTable* table = DataSet();
    if (!table || !table->Active() || m_fieldName.isEmpty())
        return nullptr;
    return table->FindField(m_fieldName);
}

bool TFieldDataLink::CanModify() const
{
    TField* field = Field();
    return field && !field->ReadOnly() && DataSet()->CanModify();
}

bool TFieldDataLink::Edit()
{
    if (!CanModify())
        return false;
    return TDataLink::Edit();
}

void TFieldDataLink::Reset() { showValue(); }

void TFieldDataLink::stateChanged()
{
    // A control's change belongs to the edit it was made in.
    const bool editing = Editing();
    if (editing != m_editing) {
        m_editing = editing;
        m_modified = false;
    }
    if (OnStateChange)
        OnStateChange();
}

void TFieldDataLink::dataChanged() { showValue(); }

void TFieldDataLink::fieldChanged(TField* field)
{
    if (!field || field == Field())
        showValue();
}

void TFieldDataLink::updateData()
{
    if (!m_modified)
        return;
    if (Field() && OnUpdateData)
        OnUpdateData();
    m_modified = false;
}

bool TFieldDataLink::focusControl(TField* field)
{
    if (!field || field != Field() || !OnFocusRequest)
        return false;
    OnFocusRequest();
    return true;
}

void TFieldDataLink::showValue()
{
    m_modified = false;
    if (OnDataChange)
        OnDataChange();
}
