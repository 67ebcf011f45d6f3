#pragma once
// The default context menu of a rich edit. It is built once, with the
// control; every time it opens, Prepare() sets which items show, which are
// enabled and which are checked, from the control's PopupOptions and its
// selection. A read-only control narrows the options to Edit, Cut, Copy,
// Paste and Find for that preparation only.
//
// The menu holds only the items whose commands this control offers; an
// option whose item is absent counts as not set, so separators never stand
// beside nothing.

#include "richtext/wwrichedittypes.h"

#include <QMenu>

class QAction;
class TwwCustomRichEdit;

class TwwRichEditPopupMenu : public QMenu {
    Q_OBJECT
public:
    explicit TwwRichEditPopupMenu(TwwCustomRichEdit& edit);

    void Prepare();

    // Options whose items this menu holds.
    static TwwRichEditPopupOptions availableOptions();

    QAction* cutItem() const { return m_cut; }
    QAction* copyItem() const { return m_copy; }
    QAction* pasteItem() const { return m_paste; }
    QAction* boldItem() const { return m_bold; }
    QAction* italicItem() const { return m_italic; }
    QAction* underlineItem() const { return m_underline; }
    QAction* fontItem() const { return m_font; }
    QAction* bulletItem() const { return m_bullet; }
    QAction* findItem() const { return m_find; }
    QAction* replaceItem() const { return m_replace; }

private:
    QAction* addItem(const char* name, const QString& caption);
    QAction* addSeparatorItem(const char* name);

    TwwCustomRichEdit& m_edit;
    QAction* m_cut;
    QAction* m_copy;
    QAction* m_paste;
    QAction* m_sepClipboard;
    QAction* m_bold;
    QAction* m_italic;
    QAction* m_underline;
    QAction* m_sepEffects;
    QAction* m_font;
    QAction* m_bullet;
    QAction* m_sepSearch;
    QAction* m_find;
    QAction* m_replace;
};
