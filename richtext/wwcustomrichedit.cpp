#include "richtext/wwcustomrichedit.h"

#include "platform/richedit/rtfreaderror.h"
#include "platform/ui/application.h"
#include "platform/ui/guard.h"
#include "platform/ui/messagedlg.h"
#include "richtext/wwfinddialog.h"
#include "richtext/wwfontdialog.h"
#include "richtext/wwrichintl.h"
#include "richtext/wwrichpopupmenu.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QMimeData>
#include <QScrollBar>

#include <algorithm>

namespace {

// A face name fills at most 31 characters of a character format.
constexpr int maxFaceLength = 31;

// Removes every highlight control word ("\highlight" with its digits and the
// one space that ends it) from RTF. A backslash escaped by another one is
// literal text, so a control word starts only after an even run of them.
QByteArray withoutHighlight(const QByteArray& rtf)
{
    static const QByteArray word = QByteArrayLiteral("\\highlight");
    QByteArray out;
    out.reserve(rtf.size());
    qsizetype i = 0;
    while (i < rtf.size()) {
        if (rtf[i] != '\\') {
            out.append(rtf[i++]);
            continue;
        }
        qsizetype run = 0;
        while (i + run < rtf.size() && rtf[i + run] == '\\')
            ++run;
        // All but the last of an odd run are escaped pairs; the last one
        // starts a control word.
        out.append(rtf.constData() + i, run - (run % 2));
        i += run - (run % 2);
        if (run % 2 == 0)
            continue;
        qsizetype j = i + word.size();
        const bool isWord = rtf.mid(i, word.size()) == word &&
                            (j >= rtf.size() || !std::isalpha(static_cast<unsigned char>(rtf[j])));
        if (!isWord) {
            out.append('\\');
            ++i;
            continue;
        }
        if (j < rtf.size() && rtf[j] == '-')
            ++j;
        while (j < rtf.size() && std::isdigit(static_cast<unsigned char>(rtf[j])))
            ++j;
        if (j < rtf.size() && rtf[j] == ' ')
            ++j;
        i = j;
    }
    return out;
}

// The colour part of a character format: the window-text colour (or none)
// is the automatic colour, which follows the desktop's colours.
void withTextColor(CharFormat& f, const QColor& color)
{
    f.mask |= CharFormat::Color;
    f.autoColor = !color.isValid() || color == QApplication::palette().color(QPalette::WindowText);
    f.color = color;
}

}  // namespace

TwwCustomRichEdit::TwwCustomRichEdit(QWidget* parent)
    : RichEdit(parent),
      // All but bold, italic and underline.
      m_popupOptions(rpoPopupEdit | rpoPopupCut | rpoPopupCopy | rpoPopupPaste | rpoPopupFont | rpoPopupBullet |
                     rpoPopupParagraph | rpoPopupTabs | rpoPopupFind | rpoPopupReplace | rpoPopupInsertObject |
                     rpoPopupMSWordSpellCheck),
      // Save-and-exit through the main menu's icons.
      m_editorOptions(reoShowSaveExit | reoShowPrint | reoShowPageSetup | reoShowFormatBar | reoShowToolBar |
                      reoShowStatusBar | reoShowHints | reoShowRuler | reoShowInsertObject | reoCloseOnEscape |
                      reoFlatButtons | reoShowSpellCheck | reoShowMainMenuIcons),
      m_editorCaption(QStringLiteral("Edit Rich Text")),
      m_printJobName(Application::title())
{
    setWordWrap(true);
    setWantTabs(false);
    setHideSelection(true);
    setScrollBars(TScrollStyle::ssNone);
    m_popup = new TwwRichEditPopupMenu(*this);
    m_findDialog = new TwwFindDialog(TwwFindDialog::Kind::Find, this);
    m_replaceDialog = new TwwFindDialog(TwwFindDialog::Kind::Replace, this);
    m_fontDialog = new TwwFontDialog(this);
    for (TwwFindDialog* d : {m_findDialog, m_replaceDialog})
        connect(d, &TwwFindDialog::closed, this, &TwwCustomRichEdit::searchDialogClosed);
    connectGuarded(m_findDialog, &TwwFindDialog::findNextClicked, this, [this] {
        m_lastSearch = m_findDialog->FindText();
        FindNextMatch(*m_findDialog, false, QString());
    });
    connectGuarded(m_replaceDialog, &TwwFindDialog::findNextClicked, this, [this] {
        m_lastSearch = m_replaceDialog->FindText();
        FindNextMatch(*m_replaceDialog, false, QString());
    });
    const auto replace = [this] {
        m_lastSearch = m_replaceDialog->FindText();
        FindNextMatch(*m_replaceDialog, true, m_replaceDialog->ReplaceText());
    };
    connectGuarded(m_replaceDialog, &TwwFindDialog::replaceClicked, this, replace);
    connectGuarded(m_replaceDialog, &TwwFindDialog::replaceAllClicked, this, replace);
}

TwwCustomRichEdit::~TwwCustomRichEdit() = default;

void TwwCustomRichEdit::setGutterWidth(int pixels) { m_gutterWidth = std::max(0, pixels); }

void TwwCustomRichEdit::setHideSelection(bool on)
{
    m_hideSelection = on;
    // Hiding the selection of an unfocused control: its inactive highlight
    // draws as plain text.
    QPalette p = palette();
    const QPalette standard = QApplication::palette(this);
    p.setColor(QPalette::Inactive, QPalette::Highlight,
               on ? standard.color(QPalette::Inactive, QPalette::Base)
                  : standard.color(QPalette::Active, QPalette::Highlight));
    p.setColor(QPalette::Inactive, QPalette::HighlightedText,
               on ? standard.color(QPalette::Inactive, QPalette::Text)
                  : standard.color(QPalette::Active, QPalette::HighlightedText));
    setPalette(p);
}

void TwwCustomRichEdit::setScrollBars(TScrollStyle bars)
{
    m_scrollBars = bars;
    const bool h = bars == TScrollStyle::ssHorizontal || bars == TScrollStyle::ssBoth;
    const bool v = bars == TScrollStyle::ssVertical || bars == TScrollStyle::ssBoth;
    setHorizontalScrollBarPolicy(h ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(v ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
}

void TwwCustomRichEdit::setTextFont(const QFont& font) { setDefaultFont(font); }

QColor TwwCustomRichEdit::FontColor() const { return palette().color(QPalette::Active, QPalette::Text); }

void TwwCustomRichEdit::setFontColor(const QColor& color)
{
    QPalette p = palette();
    p.setColor(QPalette::Text, color);
    setPalette(p);
}

void TwwCustomRichEdit::setReadOnly(bool readOnly)
{
    m_readOnly = readOnly;
    updatePlatformReadOnly();
}

void TwwCustomRichEdit::setPlatformReadOnly(bool readOnly)
{
    if (readOnly)
        setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    else
        setTextInteractionFlags(Qt::TextEditorInteraction);
}

void TwwCustomRichEdit::updatePlatformReadOnly() { setPlatformReadOnly(m_readOnly); }

// ---- clipboard

bool TwwCustomRichEdit::PasteAllowed() const
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data)
        return false;
    for (const char* metafile : {"image/x-wmf", "image/wmf", "image/x-emf", "image/emf"})
        if (data->hasFormat(QString::fromLatin1(metafile)))
            return true;
    // Asked of the content, not of the control's state: a control showing a
    // record in browse state is read-only until the paste starts the edit.
    return canInsertFromMimeData(data) && !data->hasImage();
}

void TwwCustomRichEdit::CutToClipboard()
{
    if (selLength() == 0 || ReadOnly())
        return;
    StartEditing();
    cut();
}

void TwwCustomRichEdit::PasteFromClipboard()
{
    if (!PasteAllowed() || ReadOnly())
        return;
    StartEditing();
    paste();
}

void TwwCustomRichEdit::insertFromMimeData(const QMimeData* source)
{
    // A drop or a paste with more characters than the control may hold is
    // refused whole rather than cut somewhere in the middle.
    if (m_maxLength > 0 && source) {
        const int incoming = int(source->text().size());
        if (textLength() - selLength() + incoming > m_maxLength)
            return;
    }
    RichEdit::insertFromMimeData(source);
}

void TwwCustomRichEdit::dragEnterEvent(QDragEnterEvent* event)
{
    if (IsLoaded() && !ReadOnly() && isReadOnly()) {
        m_dragOpened = true;
        setPlatformReadOnly(false);
    }
    RichEdit::dragEnterEvent(event);
}

void TwwCustomRichEdit::dragLeaveEvent(QDragLeaveEvent* event)
{
    RichEdit::dragLeaveEvent(event);
    if (m_dragOpened) {
        m_dragOpened = false;
        updatePlatformReadOnly();
    }
}

void TwwCustomRichEdit::dropEvent(QDropEvent* event)
{
    guarded([&] {
        if (m_dragOpened) {
            m_dragOpened = false;
            // Starting the edit makes the control writable again; when the
            // record refuses, the control goes back to read-only and the
            // drop is refused with it.
            updatePlatformReadOnly();
            StartEditing();
            updatePlatformReadOnly();
        }
    });
    RichEdit::dropEvent(event);
}

// ---- keys

bool TwwCustomRichEdit::keyChangesText(const QKeyEvent* event) const
{
    if (event->matches(QKeySequence::Paste) || event->matches(QKeySequence::Cut))
        return true;
    const Qt::KeyboardModifiers mods = event->modifiers();
    switch (event->key()) {
    case Qt::Key_Delete:
    case Qt::Key_Backspace:
        return true;
    case Qt::Key_Insert:
        return mods == Qt::ShiftModifier;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return m_wantReturns;
    case Qt::Key_Tab:
        return WantTabs();
    default:
        break;
    }
    // Of the control characters, only paste (Ctrl+V) and cut (Ctrl+X)
    // change a text here; Ctrl+H, Ctrl+J and Ctrl+M type nothing, so they
    // must not put a record into editing.
    if (mods & (Qt::ControlModifier | Qt::MetaModifier))
        return event->key() == Qt::Key_V || event->key() == Qt::Key_X;
    const QString text = event->text();
    return !text.isEmpty() && text.at(0).unicode() >= 32 && text.at(0).unicode() != 127;
}

void TwwCustomRichEdit::keyPressEvent(QKeyEvent* event)
{
    guarded([&] {
        const bool pasteKey = event->matches(QKeySequence::Paste) ||
                              (event->key() == Qt::Key_Insert && event->modifiers() == Qt::ShiftModifier);
        if (pasteKey && !PasteAllowed()) {
            event->accept();
            return;
        }
        if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && !m_wantReturns) {
            event->ignore();  // the window's default button may want it
            return;
        }
        if (keyChangesText(event) && IsLoaded()) {
            const QString typed = event->text();
            const bool inserts = !typed.isEmpty() && typed.at(0).unicode() >= 32;
            if (inserts && m_maxLength > 0 && textLength() - selLength() >= m_maxLength) {
                event->accept();
                return;
            }
            StartEditing();
        }
        RichEdit::keyPressEvent(event);
    });
}

void TwwCustomRichEdit::contextMenuEvent(QContextMenuEvent* event)
{
    guarded([&] {
        PreparePopupMenu();
        m_popup->exec(event->globalPos());
    });
}

void TwwCustomRichEdit::PreparePopupMenu() { m_popup->Prepare(); }

// ---- character formats

void TwwCustomRichEdit::ToggleCharEffect(TwwCharEffect effect, bool on)
{
    StartEditing();
    CharFormat f = selectionCharFormat();
    const unsigned bit = effect;
    f.mask = bit;
    switch (effect) {
    case ceBold: f.bold = on; break;
    case ceItalic: f.italic = on; break;
    case ceUnderline: f.underline = on; break;
    case ceStrikeOut: f.strikeOut = on; break;
    }
    setSelectionCharFormat(f);
}

void TwwCustomRichEdit::SetSelectionFace(const QString& name)
{
    const QString face = name.left(maxFaceLength);
    const CharFormat current = selectionCharFormat();
    if ((current.mask & CharFormat::Face) && current.face == face)
        return;
    CharFormat f;
    f.mask = CharFormat::Face;
    f.face = face;
    setSelectionCharFormat(f);
}

void TwwCustomRichEdit::SetSelectionSize(int points)
{
    CharFormat f;
    f.mask = CharFormat::Size;
    f.sizeTwips = points * 20;
    setSelectionCharFormat(f);
}

void TwwCustomRichEdit::SetSelectionColor(const QColor& color)
{
    CharFormat f;
    withTextColor(f, color);
    setSelectionCharFormat(f);
}

void TwwCustomRichEdit::ShowFontDialog()
{
    const CharFormat current = selectionCharFormat();
    QFont font(current.face.isEmpty() ? defaultFont().family() : current.face);
    font.setPointSizeF(current.sizeTwips > 0 ? current.sizeTwips / 20.0 : defaultFont().pointSizeF());
    font.setBold(current.bold);
    font.setItalic(current.italic);
    font.setUnderline(current.underline);
    font.setStrikeOut(current.strikeOut);
    m_fontDialog->setSelectedFont(font);
    std::optional<QColor> color;
    if (current.mask & CharFormat::Color)
        color = current.autoColor ? QColor() : current.color;
    m_fontDialog->setSelectedColor(color);
    if (m_fontDialog->exec() != QDialog::Accepted)
        return;
    StartEditing();
    const QFont chosen = m_fontDialog->SelectedFont();
    CharFormat f;
    f.mask = CharFormat::Face | CharFormat::Size | CharFormat::Bold | CharFormat::Italic | CharFormat::Underline |
             CharFormat::StrikeOut;
    f.face = chosen.family().left(maxFaceLength);
    f.sizeTwips = int(std::lround(chosen.pointSizeF() * 20));
    f.bold = chosen.bold();
    f.italic = chosen.italic();
    f.underline = chosen.underline();
    f.strikeOut = chosen.strikeOut();
    if (m_fontDialog->ColorChanged())
        withTextColor(f, m_fontDialog->SelectedColor());
    setSelectionCharFormat(f);
}

void TwwCustomRichEdit::SetHighlight(bool on)
{
    if (!on)
        RemoveHighlight();
    if (version() >= 2) {
        CharFormat f;
        f.mask = CharFormat::BackColor;
        f.noBackColor = false;
        f.backColor = on ? m_highlightColor : palette().color(QPalette::Base);
        setSelectionCharFormat(f);
    }
    setSelection(selStart(), 0);
}

void TwwCustomRichEdit::RemoveHighlight()
{
    const int start = selStart();
    if (selLength() == 0)
        return;
    const QByteArray rtf = withoutHighlight(streamOut(Stream::Rtf, true));
    streamIn(rtf, Stream::Rtf, true);
    // The text read back stands where the selection stood: select it again.
    const int end = textCursor().position();
    setSelection(start, end - start);
}

// ---- paragraph formats

void TwwCustomRichEdit::SetBullets(bool on)
{
    StartEditing();
    ParaFormat f;
    if (on) {
        f.mask = ParaFormat::Numbering | ParaFormat::Offset;
        f.numbering = ParaFormat::Number::Bullet;
        f.offset = 720;
        setParagraphFormat(f);
        return;
    }
    f.mask = ParaFormat::Offset;
    f.offset = 0;
    setParagraphFormat(f);
    f.mask = ParaFormat::Numbering;
    f.numbering = ParaFormat::Number::None;
    setParagraphFormat(f);
}

void TwwCustomRichEdit::SetParagraphFormat(unsigned mask, const QString& alignment, int spacingIndex,
                                           int lineSpacing, int spaceAfter, int spaceBefore, const int* tabs,
                                           int tabCount, int startIndent, int rightIndent, int offset, bool bullet)
{
    StartEditing();
    const TwwRichEditIntl& t = TwwRichEditIntl::instance();
    ParaFormat f;
    f.mask = mask & ParaFormat::All;
    if (version() < 2)  // the short record has no spacings
        f.mask &= ~unsigned(ParaFormat::SpaceBefore | ParaFormat::SpaceAfter | ParaFormat::LineSpacing);
    f.numbering = bullet ? ParaFormat::Number::Bullet : ParaFormat::Number::None;
    f.startIndent = startIndent;
    f.rightIndent = rightIndent;
    f.offset = offset;
    f.alignment = alignment == t.AlignLeft      ? ParaFormat::Align::Left
                  : alignment == t.AlignRight   ? ParaFormat::Align::Right
                  : alignment == t.AlignJustify ? ParaFormat::Align::Justify
                                                : ParaFormat::Align::Center;
    if (spacingIndex == 1 || spacingIndex == 2) {
        f.lineSpacingRule = 5;
        f.lineSpacing = spacingIndex == 1 ? 30 : 40;
    } else {
        f.lineSpacingRule = spacingIndex;
        f.lineSpacing = lineSpacing;
    }
    const int count = std::clamp(tabCount, 0, ParaFormat::maxTabs);
    if (tabs)
        f.tabs.assign(tabs, tabs + count);
    f.spaceBefore = spaceBefore;
    f.spaceAfter = spaceAfter;
    setParagraphFormat(f);
}

// ---- search

void TwwCustomRichEdit::openSearchDialog(TwwFindDialog& dialog)
{
    const QString selected = selectedPlainText();
    const bool usable = !selected.isEmpty() && !selected.contains(QLatin1Char('\r')) &&
                        !selected.contains(QLatin1Char('\n'));
    dialog.setFindText(usable ? selected : m_lastSearch);
    m_wrapped = false;
    m_searchStart = selStart();
    if (!dialog.isVisible()) {
        if (m_openSearchDialogs++ == 0) {
            m_savedHideSelection = m_hideSelection;
            setHideSelection(false);
        }
    }
    dialog.show();
    dialog.raise();
    dialog.activateWindow();
}

void TwwCustomRichEdit::searchDialogClosed()
{
    if (m_openSearchDialogs > 0 && --m_openSearchDialogs == 0)
        setHideSelection(m_savedHideSelection);
}

void TwwCustomRichEdit::ShowFindDialog() { openSearchDialog(*m_findDialog); }

void TwwCustomRichEdit::ShowReplaceDialog() { openSearchDialog(*m_replaceDialog); }

void TwwCustomRichEdit::FindNext() { FindNextMatch(*m_findDialog, false, QString()); }

int TwwCustomRichEdit::searchFrom(const QString& text, int position, bool matchCase, bool wholeWord) const
{
    const int length = textLength();
    return findText(text, position, position + length, FindFlags{matchCase, wholeWord});
}

void TwwCustomRichEdit::FindNextMatch(TwwFindDialog& dialog, bool replacing, const QString& replacement)
{
    const QString what = dialog.FindText();
    const bool matchCase = dialog.MatchCase();
    const bool wholeWord = dialog.WholeWord();
    // A control the user may not change is searched but never replaced in.
    replacing = replacing && !ReadOnly();
    for (;;) {
        if (replacing && !what.isEmpty() && selLength() == int(what.size()) &&
            searchFrom(what, selStart(), matchCase, wholeWord) == selStart()) {
            replaceSelection(replacement);
            if (m_wrapped)
                m_searchStart += int(replacement.size()) - int(what.size());
        }
        int found = searchFrom(what, selStart() + 1, matchCase, wholeWord);
        if (m_wrapped && found > m_searchStart)
            found = -1;
        if (!m_wrapped && found < 0 && selStart() > 0) {
            found = searchFrom(what, 0, matchCase, wholeWord);
            m_wrapped = true;
            if (found > m_searchStart)
                found = -1;
        }
        if (found < 0) {
            messageDlg(TwwRichEditIntl::instance().NoMoreMatches, MsgDlgType::mtInformation, mbOK);
            m_searchStart = selStart();
            m_wrapped = false;
            return;
        }
        setSelection(found, int(what.size()));
        ensureCursorVisible();
        if (!dialog.ReplaceAllPressed())
            return;
    }
}
