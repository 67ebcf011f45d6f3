#include "library/wwdbnavigator.h"

#include "library/dataset/wwtable.h"
#include "library/wwnavbookmark.h"
#include "library/wwcustomdialog.h"
#include "library/wwnavbutton.h"

#include <QEvent>

#include <algorithm>
#include <climits>
#include <cstdlib>

TwwDBNavigator::TwwDBNavigator(QWidget* parent) : QWidget(parent)
{
    m_link.OnChange = [this](TwwUpdateCause cause) { linkChanged(cause); };
    m_buttons.onChanged = [this] { layoutButtons(); };
}

TwwDBNavigator::~TwwDBNavigator()
{
    m_link.OnChange = nullptr;
    m_buttons.onChanged = nullptr;
    m_bookmarks.clear();
    // The buttons go before the collection they belong to.
    for (TwwNavButton* button : m_buttons.takeAll())
        delete button;
}

void TwwDBNavigator::setDataSource(TwwDataSource* source)
{
    if (source == m_link.DataSource())
        return;
    // The link reports the new source's state and data itself; the known
    // state is taken afterwards so the next change is measured against it.
    m_link.setDataSource(source);
    m_link.resetKnownState();
    UpdateButtons(usOther);
}

TwwNavButton* TwwDBNavigator::addButton(TwwNavButtonStyle style, const QString& name, const QString& hint)
{
    auto* button = new TwwNavButton(this, style);
    button->setObjectName(name);
    button->setHint(hint);
    button->UpdateState(usOther);
    return button;
}

void TwwDBNavigator::setMoveBy(int moveBy)
{
    m_moveBy = moveBy;
    for (TwwNavButton* button : m_buttons)
        if (button->Style() == nbsPriorPage || button->Style() == nbsNextPage)
            button->refreshHint();
}

int TwwDBNavigator::pageSize() const
{
    // The absolute value of the most negative int does not fit an int.
    return m_moveBy == INT_MIN ? INT_MAX : std::abs(m_moveBy);
}

void TwwDBNavigator::setOptions(TwwNavOptions options)
{
    m_options = options;
    for (TwwNavButton* button : m_buttons)
        button->refreshHint();
}

void TwwDBNavigator::setFlat(bool flat)
{
    m_flat = flat;
    for (TwwNavButton* button : m_buttons)
        button->update();
}

void TwwDBNavigator::setLayout(TwwNavLayout layout)
{
    m_layout = layout;
    layoutButtons();
}

void TwwDBNavigator::setAutosizeStyle(TwwNavAutosizeStyle style)
{
    m_autosize = style;
    layoutButtons();
}

// ---- notifications

void TwwDBNavigator::linkChanged(TwwUpdateCause cause)
{
    if (cause == usActiveChanged && !m_link.Active())
        forgetBookmarks(nullptr);
    UpdateButtons(cause);
}

void TwwDBNavigator::UpdateButtons(TwwUpdateCause cause)
{
    const std::vector<TwwNavButton*> buttons(m_buttons.begin(), m_buttons.end());
    for (TwwNavButton* button : buttons)
        button->UpdateState(cause);
}

void TwwDBNavigator::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::EnabledChange)
        return;
    const bool enabled = isEnabled();
    for (TwwNavButton* button : m_buttons)
        button->setEnabled(enabled);
    if (enabled)
        UpdateButtons(usOther);
}

// ---- bookmarks

TwwNavBookmark* TwwDBNavigator::bookmarkEntry(TwwTable* table) const
{
    for (auto it = m_bookmarks.rbegin(); it != m_bookmarks.rend(); ++it)
        if ((*it)->Table() == table)
            return it->get();
    return nullptr;
}

void TwwDBNavigator::saveBookmark(TwwTable* table)
{
    if (TwwNavBookmark* entry = bookmarkEntry(table)) {
        entry->replace(table->GetBookmark());
    } else {
        m_bookmarks.push_back(std::make_unique<TwwNavBookmark>(table, table->GetBookmark()));
        connect(table, &QObject::destroyed, this, [this, table] {
            std::erase_if(m_bookmarks, [table](const std::unique_ptr<TwwNavBookmark>& b) {
                return !b->Table() || b->Table() == table;
            });
        });
    }
    UpdateButtons(usOther);
}

void TwwDBNavigator::restoreBookmark(TwwTable* table)
{
    TwwNavBookmark* found = nullptr;
    for (auto it = m_bookmarks.rbegin(); it != m_bookmarks.rend() && !found; ++it)
        if ((*it)->Table() == table && (*it)->valid())
            found = it->get();
    if (!found)
        return;
    // A pending change is stored first, outside the silent part: a post the
    // checks refuse is the user's to see, and must not cost the saved place.
    table->CheckBrowseMode();
    try {
        table->GotoBookmark(found->Bookmark());
    } catch (...) {
        forgetBookmarks(table);
        UpdateButtons(usOther);
    }
}

bool TwwDBNavigator::hasValidBookmark(TwwTable* table) const
{
    return std::any_of(m_bookmarks.begin(), m_bookmarks.end(),
                       [table](const std::unique_ptr<TwwNavBookmark>& b) { return b->Table() == table && b->valid(); });
}

// nullptr forgets the entries of every table that is gone or closed.
void TwwDBNavigator::forgetBookmarks(TwwTable* table)
{
    std::erase_if(m_bookmarks, [table](const std::unique_ptr<TwwNavBookmark>& b) {
        if (table)
            return b->Table() == table;
        return !b->Table() || !b->Table()->Active();
    });
}

// ---- layout

void TwwDBNavigator::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (!m_layingOut)
        layoutButtons();
}

void TwwDBNavigator::layoutButtons()
{
    if (m_layingOut)
        return;
    m_layingOut = true;
    const bool horizontal = m_layout == nlHorizontal;
    // Only buttons of a fixed size wrap at the navigator's edge. A navigator
    // that sizes itself, or sizes its buttons, breaks lines at LineBreak only.
    const int limit = m_autosize != asNone ? INT_MAX : (horizontal ? width() : height());

    // Rows (columns when vertical) of buttons, as they break.
    std::vector<std::vector<TwwNavButton*>> lines(1);
    int along = 0;
    for (TwwNavButton* button : m_buttons) {
        const int extent = horizontal ? button->width() : button->height();
        const bool crosses = along > 0 && along + extent > limit;
        if ((button->LineBreak() || crosses) && !lines.back().empty()) {
            lines.emplace_back();
            along = 0;
        }
        lines.back().push_back(button);
        along += extent;
    }

    if (m_autosize == asSizeNavButtons && m_buttons.Count() > 0) {
        // The buttons share the navigator's area, line by line.
        const int lineCount = int(lines.size());
        for (int l = 0; l < lineCount; ++l) {
            const std::vector<TwwNavButton*>& line = lines[std::size_t(l)];
            const int n = int(line.size());
            for (int i = 0; i < n; ++i) {
                if (horizontal) {
                    const int x0 = width() * i / n, x1 = width() * (i + 1) / n;
                    const int y0 = height() * l / lineCount, y1 = height() * (l + 1) / lineCount;
                    line[std::size_t(i)]->setGeometry(x0, y0, x1 - x0, y1 - y0);
                } else {
                    const int y0 = height() * i / n, y1 = height() * (i + 1) / n;
                    const int x0 = width() * l / lineCount, x1 = width() * (l + 1) / lineCount;
                    line[std::size_t(i)]->setGeometry(x0, y0, x1 - x0, y1 - y0);
                }
            }
        }
        m_layingOut = false;
        return;
    }

    int right = 0, bottom = 0, across = 0;
    for (const std::vector<TwwNavButton*>& line : lines) {
        int pos = 0, thickness = 0;
        for (TwwNavButton* button : line) {
            if (horizontal) {
                button->move(pos, across);
                pos += button->width();
                thickness = std::max(thickness, button->height());
            } else {
                button->move(across, pos);
                pos += button->height();
                thickness = std::max(thickness, button->width());
            }
            right = std::max(right, button->geometry().right() + 1);
            bottom = std::max(bottom, button->geometry().bottom() + 1);
        }
        across += thickness;
    }
    if (m_autosize == asSizeNavigator && m_buttons.Count() > 0)
        resize(right, bottom);
    m_layingOut = false;
}
