#include "richtext/wwrichpopupmenu.h"

#include "platform/ui/guard.h"
#include "richtext/wwcustomrichedit.h"
#include "richtext/wwrichintl.h"

#include <QAction>

namespace {

constexpr TwwRichEditPopupOptions range(int first, int last)
{
    unsigned bits = 0;
    for (int n = first; n <= last; ++n)
        bits |= popupOptionNumber(n);
    return TwwRichEditPopupOptions::fromInt(int(bits));
}

}  // namespace

TwwRichEditPopupOptions TwwRichEditPopupMenu::availableOptions()
{
    return rpoPopupCut | rpoPopupCopy | rpoPopupPaste | rpoPopupBold | rpoPopupItalic | rpoPopupUnderline |
           rpoPopupFont | rpoPopupBullet | rpoPopupFind | rpoPopupReplace;
}

TwwRichEditPopupMenu::TwwRichEditPopupMenu(TwwCustomRichEdit& edit) : QMenu(&edit), m_edit(edit)
{
    setObjectName(QStringLiteral("PopupMenu"));
    const TwwRichEditPopupMenuLabels& t = TwwRichEditIntl::instance().PopupMenuLabels;
    m_cut = addItem("Cut1", t.Cut);
    m_copy = addItem("Copy1", t.Copy);
    m_paste = addItem("Paste1", t.Paste);
    m_sepClipboard = addSeparatorItem("N2");
    m_bold = addItem("Bold1", t.Bold);
    m_italic = addItem("Italic1", t.Italic);
    m_underline = addItem("Underline1", t.Underline);
    m_sepEffects = addSeparatorItem("N3");
    m_font = addItem("Font1", t.Font);
    m_bullet = addItem("BulletStyle1", t.BulletStyle);
    m_sepSearch = addSeparatorItem("N4");
    m_find = addItem("Find1", t.Find);
    m_replace = addItem("Replace1", t.Replace);
    for (QAction* a : {m_bold, m_italic, m_underline, m_bullet})
        a->setCheckable(true);

    TwwCustomRichEdit* e = &m_edit;
    connectGuarded(m_cut, &QAction::triggered, this, [e] { e->CutToClipboard(); });
    connectGuarded(m_copy, &QAction::triggered, this, [e] { e->CopyToClipboard(); });
    connectGuarded(m_paste, &QAction::triggered, this, [e] { e->PasteFromClipboard(); });
    // A checkable item has flipped its check when it triggers: the new check
    // is the opposite of the one shown, which is what the command applies.
    connectGuarded(m_bold, &QAction::triggered, this, [e](bool on) { e->ToggleCharEffect(ceBold, on); });
    connectGuarded(m_italic, &QAction::triggered, this, [e](bool on) { e->ToggleCharEffect(ceItalic, on); });
    connectGuarded(m_underline, &QAction::triggered, this, [e](bool on) { e->ToggleCharEffect(ceUnderline, on); });
    connectGuarded(m_font, &QAction::triggered, this, [e] { e->ShowFontDialog(); });
    connectGuarded(m_bullet, &QAction::triggered, this, [e](bool on) { e->SetBullets(on); });
    connectGuarded(m_find, &QAction::triggered, this, [e] { e->ShowFindDialog(); });
    connectGuarded(m_replace, &QAction::triggered, this, [e] { e->ShowReplaceDialog(); });
}

QAction* TwwRichEditPopupMenu::addItem(const char* name, const QString& caption)
{
    QAction* a = addAction(caption);
    a->setObjectName(QString::fromLatin1(name));
    return a;
}

QAction* TwwRichEditPopupMenu::addSeparatorItem(const char* name)
{
    QAction* a = addSeparator();
    a->setObjectName(QString::fromLatin1(name));
    return a;
}

void TwwRichEditPopupMenu::Prepare()
{
    // The spelling item belongs to another kind of control: the option is
    // dropped from the configured set for good.
    m_edit.setPopupOptions(m_edit.PopupOptions() & ~TwwRichEditPopupOptions(rpoPopupMSWordSpellCheck));
    const bool readOnly = m_edit.ReadOnly();
    TwwRichEditPopupOptions o = m_edit.PopupOptions() & availableOptions();
    if (readOnly)
        o &= rpoPopupEdit | rpoPopupCut | rpoPopupCopy | rpoPopupPaste | rpoPopupFind;
    const auto any = [&o](TwwRichEditPopupOptions set) { return bool(o & set); };

    // Items this menu does not hold (the editor, paragraph, tabs, objects)
    // count as hidden in the separators' rules, so the separator that would
    // follow the editor's item never shows.
    const bool insertObjectShown = false;

    const bool hasSelection = m_edit.selLength() > 0;
    m_cut->setVisible(o & rpoPopupCut);
    m_cut->setEnabled(hasSelection && !readOnly);
    m_copy->setVisible(o & rpoPopupCopy);
    m_copy->setEnabled(hasSelection);
    m_paste->setVisible(o & rpoPopupPaste);
    m_paste->setEnabled(m_edit.PasteAllowed() && !readOnly);
    m_sepClipboard->setVisible(any(range(2, 4)) && any(range(5, 15)));

    const CharFormat chars = m_edit.selectionCharFormat();
    m_bold->setVisible(o & rpoPopupBold);
    m_bold->setChecked((chars.mask & CharFormat::Bold) && chars.bold);
    m_italic->setVisible(o & rpoPopupItalic);
    m_italic->setChecked((chars.mask & CharFormat::Italic) && chars.italic);
    m_underline->setVisible(o & rpoPopupUnderline);
    m_underline->setChecked((chars.mask & CharFormat::Underline) && chars.underline);
    m_sepEffects->setVisible(any(range(5, 7)) && any(range(8, 15)));

    m_font->setVisible(o & rpoPopupFont);
    m_bullet->setVisible(o & rpoPopupBullet);
    m_bullet->setChecked(m_edit.paragraphFormat().numbering != ParaFormat::Number::None);
    m_sepSearch->setVisible(any(range(8, 11)) && (any(range(12, 13)) || insertObjectShown));

    m_find->setVisible(o & rpoPopupFind);
    m_replace->setVisible(o & rpoPopupReplace);
}
