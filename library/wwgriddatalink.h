#pragma once
// The data link of a control that shows many rows of a table: it hears every
// notification and hands it to the control's callbacks.

#include "library/dataset/datalink.h"

#include <functional>

class TwwGridDataLink : public TDataLink {
public:
    std::function<void()> OnStateChange;
    std::function<void()> OnDataChange;
    std::function<void(TField*)> OnFieldChange;

protected:
    void stateChanged() override
    {
        if (OnStateChange)
            OnStateChange();
    }
    void dataChanged() override
    {
        if (OnDataChange)
            OnDataChange();
    }
    void fieldChanged(TField* field) override
    {
        if (OnFieldChange)
            OnFieldChange(field);
    }
};
