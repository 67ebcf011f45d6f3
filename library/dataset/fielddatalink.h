#pragma once
// The data link of a control that shows one field. It keeps the control's
// modified mark: a change the control made since it last showed the field's
// value. Only a modified control writes its value back, so a control nobody
// typed into never overwrites what another control or the program stored.

#include "library/dataset/datalink.h"

#include <QString>

#include <functional>

class TFieldDataLink : public TDataLink {
public:
    QString FieldName() const { return m_fieldName; }
    void setFieldName(const QString& name);
    // The bound field of the open table, or nullptr.
    TField* Field() const;
    // The field exists and may be changed by a control.
    bool CanModify() const;
    // Starts editing when allowed (see TDataLink::Edit); false when the field
    // cannot be changed.
    bool Edit();

    // The control changed its content.
    void Modified() { m_modified = true; }
    bool IsModified() const { return m_modified; }
    // Shows the field's value again, dropping the control's change.
    void Reset();
    // Writes the control's change into the field, when it has one.
    void UpdateRecord() { updateData(); }

    std::function<void()> OnDataChange;     // show the field's value
    std::function<void()> OnUpdateData;     // write the control's value into the field
    std::function<void()> OnStateChange;    // state of the cursor changed
    std::function<void()> OnFocusRequest;   // take the input focus

protected:
    void stateChanged() override;
    void dataChanged() override;
    void fieldChanged(TField* field) override;
    void updateData() override;
    bool focusControl(TField* field) override;

private:
    void showValue();

    QString m_fieldName;
    bool m_modified = false;
    bool m_editing = false;
};
