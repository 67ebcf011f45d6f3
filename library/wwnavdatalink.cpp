#include "library/wwnavdatalink.h"

void TwwNavDataLink::resetKnownState()
{
    m_wasActive = Active();
    m_wasEditing = Editing();
}

void TwwNavDataLink::tell(TwwUpdateCause cause)
{
    if (OnChange)
        OnChange(cause);
}

void TwwNavDataLink::stateChanged()
{
    const bool active = Active();
    const bool editing = Editing();
    const bool activeChanged = active != m_wasActive;
    const bool editingChanged = editing != m_wasEditing;
    m_wasActive = active;
    m_wasEditing = editing;
    if (activeChanged)
        tell(usActiveChanged);
    else if (editingChanged)
        tell(usEditingChanged);
}

void TwwNavDataLink::dataChanged() { tell(usDataChanged); }
