#include "library/dataset/wwdatasource.h"

#include "library/dataset/datalink.h"
#include "library/dataset/wwtable.h"

#include <algorithm>

TwwDataSource::TwwDataSource(QObject* parent) : QObject(parent) {}

TwwDataSource::~TwwDataSource()
{
    if (m_dataSet)
        m_dataSet->removeDataSource(this);
    for (TDataLink* link : m_links)
        link->m_dataSource = nullptr;
}

void TwwDataSource::setDataSet(TwwTable* dataSet)
{
    if (dataSet == m_dataSet)
        return;
    if (m_dataSet)
        m_dataSet->removeDataSource(this);
    m_dataSet = dataSet;
    if (m_dataSet)
        m_dataSet->addDataSource(this);
    notifyStateChanged();
    notifyDataChanged();
}

TDataSetState TwwDataSource::State() const { return m_dataSet ? m_dataSet->State() : dsInactive; }

void TwwDataSource::addLink(TDataLink* link)
{
    if (std::find(m_links.begin(), m_links.end(), link) == m_links.end())
        m_links.push_back(link);
}

void TwwDataSource::removeLink(TDataLink* link) { std::erase(m_links, link); }

template <class F>
void TwwDataSource::forEachLink(F&& f)
{
    const std::vector<TDataLink*> links = m_links;
    for (TDataLink* link : links)
        if (std::find(m_links.begin(), m_links.end(), link) != m_links.end())
            f(link);
}

void TwwDataSource::notifyStateChanged()
{
    forEachLink([](TDataLink* link) { link->stateChanged(); });
}

void TwwDataSource::notifyDataChanged()
{
    forEachLink([](TDataLink* link) { link->dataChanged(); });
}

void TwwDataSource::notifyFieldChanged(TField* field)
{
    forEachLink([field](TDataLink* link) { link->fieldChanged(field); });
}

void TwwDataSource::notifyUpdateData()
{
    forEachLink([](TDataLink* link) { link->updateData(); });
}

bool TwwDataSource::notifyFocus(TField* field)
{
    const std::vector<TDataLink*> links = m_links;
    for (TDataLink* link : links)
        if (std::find(m_links.begin(), m_links.end(), link) != m_links.end() && link->focusControl(field))
            return true;
    return false;
}
