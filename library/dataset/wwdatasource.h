#pragma once
// The data source: the one point through which the controls of a window reach
// a table. It passes every notification of the table on to its data links, in
// the order the links joined.

#include "library/dataset/datasetstate.h"

#include <QObject>
#include <QPointer>

#include <vector>

class TDataLink;
class TField;
class TwwTable;

class TwwDataSource : public QObject {
    Q_OBJECT
public:
    explicit TwwDataSource(QObject* parent = nullptr);
    ~TwwDataSource() override;

    TwwTable* DataSet() const { return m_dataSet; }
    void setDataSet(TwwTable* dataSet);
    // Whether a control may put the cursor into edit state (default true).
    bool AutoEdit() const { return m_autoEdit; }
    void setAutoEdit(bool autoEdit) { m_autoEdit = autoEdit; }
    TDataSetState State() const;

private:
    friend class TDataLink;
    friend class TwwTable;

    void addLink(TDataLink* link);
    void removeLink(TDataLink* link);
    // Each runs over the links present when it starts; a link that leaves
    // meanwhile is skipped.
    void notifyStateChanged();
    void notifyDataChanged();
    void notifyFieldChanged(TField* field);
    void notifyUpdateData();
    bool notifyFocus(TField* field);
    template <class F>
    void forEachLink(F&& f);

    QPointer<TwwTable> m_dataSet;
    std::vector<TDataLink*> m_links;
    bool m_autoEdit = true;
};
