#pragma once
// A data link: how a control hears from the record cursor it shows. A control
// holds one, connects it to a data source, and is told, in the order the table
// fires them, of
//  - a state change (opened, closed, browse, edit, insert),
//  - a data change (a new current row, or the rows read again),
//  - a field change (one field written; nullptr when the whole row changed),
// and is asked to write its value into its field (before a post, when edits
// are left) and to take the input focus for a field a post check refused.

#include "library/dataset/datasetstate.h"

class TField;
class TwwDataSource;
class TwwTable;

class TDataLink {
public:
    TDataLink() = default;
    virtual ~TDataLink();
    TDataLink(const TDataLink&) = delete;
    TDataLink& operator=(const TDataLink&) = delete;

    TwwDataSource* DataSource() const { return m_dataSource; }
    void setDataSource(TwwDataSource* source);
    // The table behind the data source, or nullptr.
    TwwTable* DataSet() const;
    bool Active() const;
    TDataSetState State() const;
    // The cursor is in edit or insert state.
    bool Editing() const;
    // Puts the cursor into edit state when the data source lets controls do
    // that; true when the cursor is then in edit or insert state.
    bool Edit();

protected:
    friend class TwwDataSource;

    virtual void stateChanged() {}
    virtual void dataChanged() {}
    virtual void fieldChanged(TField* field) { (void)field; }
    virtual void updateData() {}
    // True when this link's control took the focus for the field.
    virtual bool focusControl(TField* field)
    {
        (void)field;
        return false;
    }

private:
    TwwDataSource* m_dataSource = nullptr;
};
