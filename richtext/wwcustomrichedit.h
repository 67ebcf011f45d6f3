#pragma once
// The rich edit of the rich-text windows: the platform control with the
// properties a text window configures, the formatting and search commands,
// and the default context menu. Unbound; TwwDBRichEdit adds the binding to a
// field through the hooks below (StartEditing, IsLoaded, HasField, ...),
// which here answer for a control that is always loaded and never bound.
//
// Lengths at every interface are twips; MeasurementUnits only decides what
// the user sees and types.

#include "platform/richedit/richedit.h"
#include "richtext/measurementunits.h"
#include "richtext/wwrichedittypes.h"

#include <QColor>
#include <QPointer>

class TwwFindDialog;
class TwwFontDialog;
class TwwRichEditPopupMenu;

class TwwCustomRichEdit : public RichEdit {
    Q_OBJECT
public:
    explicit TwwCustomRichEdit(QWidget* parent = nullptr);
    ~TwwCustomRichEdit() override;

    // Properties.
    TwwRichEditPopupOptions PopupOptions() const { return m_popupOptions; }
    void setPopupOptions(TwwRichEditPopupOptions options) { m_popupOptions = options; }
    TwwRichEditOptions EditorOptions() const { return m_editorOptions; }
    void setEditorOptions(TwwRichEditOptions options) { m_editorOptions = options; }
    QString EditorCaption() const { return m_editorCaption; }
    void setEditorCaption(const QString& caption) { m_editorCaption = caption; }
    TwwFormPosition EditorPosition() const { return m_editorPosition; }
    void setEditorPosition(const TwwFormPosition& position) { m_editorPosition = position; }
    TwwMeasurementUnits MeasurementUnits() const { return m_units; }
    void setMeasurementUnits(TwwMeasurementUnits units) { m_units = units; }
    TwwPrintMargins PrintMargins() const { return m_printMargins; }
    void setPrintMargins(const TwwPrintMargins& margins) { m_printMargins = margins; }
    QString PrintJobName() const { return m_printJobName; }
    void setPrintJobName(const QString& name) { m_printJobName = name; }
    int PrintPageSize() const { return m_printPageSize; }
    void setPrintPageSize(int size) { m_printPageSize = size; }
    TwwRichEditWidth EditWidth() const { return m_editWidth; }
    void setEditWidth(TwwRichEditWidth width) { m_editWidth = width; }
    int RichEditVersion() const { return version(); }
    void setRichEditVersion(int v) { setVersion(v); }
    TwwRichEditOleOptions OleOptions() const { return m_oleOptions; }
    void setOleOptions(TwwRichEditOleOptions options) { m_oleOptions = options; }
    QColor HighlightColor() const { return m_highlightColor; }
    void setHighlightColor(const QColor& color) { m_highlightColor = color; }
    int GutterWidth() const { return m_gutterWidth; }
    void setGutterWidth(int pixels);
    bool WordWrap() const { return lineWrapMode() != NoWrap; }
    void setWordWrap(bool on) { setLineWrapMode(on ? WidgetWidth : NoWrap); }
    bool WantReturns() const { return m_wantReturns; }
    void setWantReturns(bool on) { m_wantReturns = on; }
    bool WantTabs() const { return !tabChangesFocus(); }
    void setWantTabs(bool on) { setTabChangesFocus(!on); }
    bool HideSelection() const { return m_hideSelection; }
    void setHideSelection(bool on);
    // 0: no limit of the control's own.
    int MaxLength() const { return m_maxLength; }
    void setMaxLength(int length) { m_maxLength = length; }
    enum class TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
    TScrollStyle ScrollBars() const { return m_scrollBars; }
    void setScrollBars(TScrollStyle bars);
    bool AutoURLDetect() const { return m_autoUrlDetect; }
    void setAutoURLDetect(bool on) { m_autoUrlDetect = on; }
    // The control's font, which text without a font of its own shows in, and
    // its colour (the window-text colour unless set).
    void setTextFont(const QFont& font);
    QColor FontColor() const;
    void setFontColor(const QColor& color);

    // Whether the user may change the text. A bound control also asks its
    // field and table.
    virtual bool ReadOnly() const { return m_readOnly; }
    void setReadOnly(bool readOnly);

    // Hooks of a bound control.
    // Makes sure the record is being edited before a change; nothing here.
    virtual void StartEditing() {}
    // Writes the content into the field; nothing here.
    virtual void StoreRichText() {}
    // The control holds its record's text (always, unbound).
    virtual bool IsLoaded() const { return true; }
    virtual bool HasField() const { return false; }
    virtual void LoadRichText() {}

    // Clipboard and selection, starting the edit first where they change text.
    void CutToClipboard();
    void CopyToClipboard() { copy(); }
    void PasteFromClipboard();
    bool PasteAllowed() const;

    // Character formats of the selection.
    void ToggleCharEffect(TwwCharEffect effect, bool on);
    void SetSelectionFace(const QString& name);
    void SetSelectionSize(int points);
    // The window-text colour is applied as the automatic colour.
    void SetSelectionColor(const QColor& color);
    void ShowFontDialog();
    void SetHighlight(bool on);
    void RemoveHighlight();

    // Paragraph formats of the selected paragraphs.
    void SetBullets(bool on);
    // `mask` is a set of ParaFormat fields; `alignment` is one of the
    // paragraph dialog's names (any unknown name centres); spacing index 1
    // and 2 are one and a half and double lines.
    void SetParagraphFormat(unsigned mask, const QString& alignment, int spacingIndex, int lineSpacing,
                            int spaceAfter, int spaceBefore, const int* tabs, int tabCount, int startIndent,
                            int rightIndent, int offset, bool bullet);

    // Search.
    void ShowFindDialog();
    void ShowReplaceDialog();
    // The find-next command of menus and keys: the find dialog's text and
    // settings from the selection on.
    void FindNext();
    void FindNextMatch(TwwFindDialog& dialog, bool replacing, const QString& replacement);
    TwwFindDialog* FindDialog() const { return m_findDialog; }
    TwwFindDialog* ReplaceDialog() const { return m_replaceDialog; }
    TwwFontDialog* FontDialog() const { return m_fontDialog; }
    QString LastSearchText() const { return m_lastSearch; }

    // The context menu, prepared as it would be for opening.
    TwwRichEditPopupMenu* PopupMenu() const { return m_popup; }
    void PreparePopupMenu();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;
    // A drop onto a text that is not being edited yet starts the edit when
    // it lands, not while the drag passes over.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

    // Sets the platform control's own read-only flag; a read-only control
    // still moves its caret and selects with the keyboard.
    void setPlatformReadOnly(bool readOnly);
    // Recomputes the platform flag; unbound: the control's own flag.
    virtual void updatePlatformReadOnly();
    // Keys that change the text, which start editing before they act.
    bool keyChangesText(const QKeyEvent* event) const;

private:
    int searchFrom(const QString& text, int position, bool matchCase, bool wholeWord) const;
    void openSearchDialog(TwwFindDialog& dialog);
    void searchDialogClosed();

    TwwRichEditPopupOptions m_popupOptions;
    TwwRichEditOptions m_editorOptions;
    QString m_editorCaption;
    TwwFormPosition m_editorPosition;
    TwwMeasurementUnits m_units = TwwMeasurementUnits::muInches;
    TwwPrintMargins m_printMargins;
    QString m_printJobName;
    int m_printPageSize = 1;
    TwwRichEditWidth m_editWidth = rewWindowSize;
    TwwRichEditOleOptions m_oleOptions = reoAdjustPopupMenu;
    QColor m_highlightColor{255, 255, 0};
    int m_gutterWidth = 3;
    bool m_wantReturns = true;
    bool m_hideSelection = true;
    int m_maxLength = 0;
    TScrollStyle m_scrollBars = TScrollStyle::ssNone;
    bool m_autoUrlDetect = false;
    bool m_readOnly = false;
    bool m_dragOpened = false;  // writable for a drag passing over

    // Search state.
    QString m_lastSearch;
    int m_searchStart = 0;
    bool m_wrapped = false;
    bool m_savedHideSelection = true;
    int m_openSearchDialogs = 0;

    TwwRichEditPopupMenu* m_popup = nullptr;
    TwwFindDialog* m_findDialog = nullptr;
    TwwFindDialog* m_replaceDialog = nullptr;
    TwwFontDialog* m_fontDialog = nullptr;
};
