#pragma once
// The navigator's buttons in their Index order, which is the order they are
// laid out in. The collection does not own the buttons: they are the
// navigator's children.

#include "library/wwnavtypes.h"

#include <functional>
#include <vector>

class TwwNavButton;

class TwwNavButtons {
public:
    int Count() const { return int(m_items.size()); }
    TwwNavButton* Items(int index) const { return m_items.at(std::size_t(index)); }
    // The first button of the style, or nullptr.
    TwwNavButton* find(TwwNavButtonStyle style) const;
    int indexOf(const TwwNavButton* button) const;

    void add(TwwNavButton* button);
    void remove(TwwNavButton* button);
    // Moves the button to `index` (clamped to the collection).
    void move(TwwNavButton* button, int index);
    // Forgets every button without touching them.
    std::vector<TwwNavButton*> takeAll();

    std::vector<TwwNavButton*>::const_iterator begin() const { return m_items.begin(); }
    std::vector<TwwNavButton*>::const_iterator end() const { return m_items.end(); }

    // Called after every change of membership or order.
    std::function<void()> onChanged;

private:
    void changed();

    std::vector<TwwNavButton*> m_items;
};
