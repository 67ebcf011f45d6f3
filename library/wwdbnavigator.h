#pragma once
// The record navigator: a row of picture buttons bound to a data source, each
// performing one operation on its table's record cursor (moving, changing
// data, keeping one place per table, opening a record dialog).
//
// Every notification of the data source recomputes the enabled state of every
// button. The navigator keeps one saved place per table; entries go when their
// table is closed or destroyed, when restoring fails, and with the navigator.

#include "library/wwnavbuttons.h"
#include "library/wwnavdatalink.h"
#include "library/wwnavtypes.h"

#include <QWidget>

#include <memory>
#include <vector>

class TwwDataSource;
class TwwNavBookmark;
class TwwNavButton;
class TwwTable;

class TwwDBNavigator : public QWidget {
    Q_OBJECT
public:
    explicit TwwDBNavigator(QWidget* parent = nullptr);
    ~TwwDBNavigator() override;

    TwwDataSource* DataSource() const { return m_link.DataSource(); }
    void setDataSource(TwwDataSource* source);
    // The data source's table, or nullptr.
    TwwTable* DataSet() const { return m_link.DataSet(); }

    TwwNavButtons& Buttons() { return m_buttons; }
    const TwwNavButtons& Buttons() const { return m_buttons; }
    // A new button of the style at the end, with its object name and own hint.
    TwwNavButton* addButton(TwwNavButtonStyle style, const QString& name = QString(),
                            const QString& hint = QString());

    // The page size of the page buttons; only its absolute value is used.
    int MoveBy() const { return m_moveBy; }
    void setMoveBy(int moveBy);
    // |MoveBy|, kept within the range a move takes.
    int pageSize() const;
    TwwNavOptions Options() const { return m_options; }
    void setOptions(TwwNavOptions options);
    TwwNavRepeatInterval RepeatInterval() const { return m_repeatInterval; }
    void setRepeatInterval(TwwNavRepeatInterval interval) { m_repeatInterval = interval; }
    bool Flat() const { return m_flat; }
    void setFlat(bool flat);
    TwwNavLayout Layout() const { return m_layout; }
    void setLayout(TwwNavLayout layout);
    TwwNavAutosizeStyle AutosizeStyle() const { return m_autosize; }
    void setAutosizeStyle(TwwNavAutosizeStyle style);

    // Data link active (data source with an open table).
    bool linkActive() const { return m_link.Active(); }
    // The data source is in edit or insert state.
    bool editing() const { return m_link.Editing(); }

    // Recomputes every button.
    void UpdateButtons(TwwUpdateCause cause);

    // The bookmark list.
    void saveBookmark(TwwTable* table);
    void restoreBookmark(TwwTable* table);
    bool hasValidBookmark(TwwTable* table) const;
    void forgetBookmarks(TwwTable* table);
    int bookmarkCount() const { return int(m_bookmarks.size()); }

    // Places the buttons in Index order and, with asSizeNavigator, sizes the
    // navigator to them.
    void layoutButtons();

protected:
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void linkChanged(TwwUpdateCause cause);
    TwwNavBookmark* bookmarkEntry(TwwTable* table) const;

    TwwNavDataLink m_link;
    TwwNavButtons m_buttons;
    std::vector<std::unique_ptr<TwwNavBookmark>> m_bookmarks;
    int m_moveBy = 10;
    TwwNavOptions m_options = noConfirmDelete;
    TwwNavRepeatInterval m_repeatInterval;
    bool m_flat = true;
    TwwNavLayout m_layout = nlHorizontal;
    TwwNavAutosizeStyle m_autosize = asSizeNavigator;
    bool m_layingOut = false;
};
