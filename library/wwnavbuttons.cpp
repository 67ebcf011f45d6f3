#include "library/wwnavbuttons.h"

#include "library/wwcustomdialog.h"
#include "library/wwnavbutton.h"

#include <algorithm>

TwwNavButton* TwwNavButtons::find(TwwNavButtonStyle style) const
{
    for (TwwNavButton* button : m_items)
        if (button->Style() == style)
            return button;
    return nullptr;
}

int TwwNavButtons::indexOf(const TwwNavButton* button) const
{
    const auto it = std::find(m_items.begin(), m_items.end(), button);
    return it == m_items.end() ? -1 : int(it - m_items.begin());
}

void TwwNavButtons::changed()
{
    for (std::size_t i = 0; i < m_items.size(); ++i)
        m_items[i]->m_index = int(i);
    if (onChanged)
        onChanged();
}

void TwwNavButtons::add(TwwNavButton* button)
{
    if (indexOf(button) >= 0)
        return;
    m_items.push_back(button);
    changed();
}

void TwwNavButtons::remove(TwwNavButton* button)
{
    if (indexOf(button) < 0)
        return;
    std::erase(m_items, button);
    button->m_index = -1;
    changed();
}

void TwwNavButtons::move(TwwNavButton* button, int index)
{
    const int from = indexOf(button);
    if (from < 0)
        return;
    const int to = std::clamp(index, 0, Count() - 1);
    if (to == from)
        return;
    m_items.erase(m_items.begin() + from);
    m_items.insert(m_items.begin() + to, button);
    changed();
}

std::vector<TwwNavButton*> TwwNavButtons::takeAll()
{
    std::vector<TwwNavButton*> items;
    items.swap(m_items);
    for (TwwNavButton* button : items)
        button->m_index = -1;
    return items;
}
