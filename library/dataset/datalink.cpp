#include "library/dataset/datalink.h"

#include "library/dataset/wwdatasource.h"
#include "library/dataset/wwtable.h"

TDataLink::~TDataLink()
{
    if (m_dataSource)
        m_dataSource->removeLink(this);
}

void TDataLink::setDataSource(TwwDataSource* source)
{
    if (source == m_dataSource)
        return;
    if (m_dataSource)
        m_dataSource->removeLink(this);
    m_dataSource = source;
    if (m_dataSource)
        m_dataSource->addLink(this);
    stateChanged();
    dataChanged();
}

TwwTable* TDataLink::DataSet() const { return m_dataSource ? m_dataSource->DataSet() : nullptr; }

bool TDataLink::Active() const
{
    TwwTable* table = DataSet();
    return table && table->Active();
}

TDataSetState TDataLink::State() const
{
    TwwTable* table = DataSet();
    return table ? table->State() : dsInactive;
}

bool TDataLink::Editing() const
{
    const TDataSetState state = State();
    return state == dsEdit || state == dsInsert;
}

bool TDataLink::Edit()
{
    TwwTable* table = DataSet();
    if (table && table->Active() && m_dataSource->AutoEdit() && !Editing())
        table->Edit();
    return Editing();
}
