#pragma once
// The navigator's data link: turns the data source's notifications into the
// causes the navigator recomputes its buttons with. A state change is an
// opening or closing (usActiveChanged) or an editing change
// (usEditingChanged); other state changes, browse to browse, say nothing.

#include "library/dataset/datalink.h"
#include "library/wwnavtypes.h"

#include <functional>

class TwwNavDataLink : public TDataLink {
public:
    // Told of every cause; set by the navigator.
    std::function<void(TwwUpdateCause)> OnChange;

    // Takes the link's current activity and editing as the known ones, so the
    // next state change is compared with them.
    void resetKnownState();

protected:
    void stateChanged() override;
    void dataChanged() override;

private:
    void tell(TwwUpdateCause cause);

    bool m_wasActive = false;
    bool m_wasEditing = false;
};
