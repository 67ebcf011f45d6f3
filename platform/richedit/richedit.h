#pragma once
// The rich edit control: a QTextEdit whose document is read and written as
// RTF by our own codec, with the services a rich text program asks of such a
// control, in its units. Positions are document positions (a paragraph end
// counts one); lengths are twips; plain text has CR LF line breaks.
//
// It knows nothing of any program: no database, no captions of its own.

#include "platform/richedit/charformat.h"
#include "platform/richedit/paraformat.h"
#include "platform/exception.h"

#include <QTextEdit>

#include <functional>
#include <map>
#include <memory>
#include <optional>

class PageFormatter;
class QFileSystemWatcher;
class QTemporaryDir;

class QPainter;
class QPaintDevice;

class RichEdit : public QTextEdit {
    Q_OBJECT
public:
    enum class Stream { Rtf, PlainText };
    struct FindFlags {
        bool matchCase = false;
        bool wholeWord = false;
    };
    // A picture or an embedded object at a position of the text.
    struct Object {
        int position = -1;
        QString className;  // empty for a plain picture
        QByteArray data;    // the embedded file's bytes
        QString fileName;   // the name it is opened under
    };

    explicit RichEdit(QWidget* parent = nullptr);
    ~RichEdit() override;

    // 1 or 2. Version 1 is the older control: applying a format ignores the
    // background colour and the paragraph spacings (before, after, line),
    // which it has no place for; reading and writing RTF are the same.
    int version() const { return m_version; }
    void setVersion(int version);

    // The whole plain text, CR LF between lines; setting it replaces all
    // content, drops all formatting and clears the modified flag.
    QString text() const;
    void setText(const QString& text);

    // Reads `bytes` as the whole content (clearing the modified flag) or in
    // place of the selection. RTF that does not begin as RTF raises
    // RtfReadError and changes nothing. Plain text is UTF-8 when it is valid
    // UTF-8 and code page 1252 otherwise; its line breaks become paragraphs.
    void streamIn(const QByteArray& bytes, Stream format, bool selectionOnly = false);
    // The whole content or the selection, as RTF or as UTF-8 plain text.
    QByteArray streamOut(Stream format, bool selectionOnly = false) const;

    // Selection.
    int selStart() const;
    int selLength() const;
    void setSelection(int start, int length);
    QString selectedPlainText() const;
    void replaceSelection(const QString& text);
    void clearSelection();  // deletes the selected text

    // Clipboard: copy, cut and paste are QTextEdit's slots; they carry RTF
    // (as text/rtf, text/richtext and application/rtf) and plain text. A
    // read-only control copies but neither cuts nor pastes. canPaste tells
    // whether the clipboard holds what paste takes, read-only or not.
    bool canPaste() const;

    bool isModified() const;
    void setModified(bool modified);

    // Formats of the selection (of the caret's position when it is empty).
    CharFormat selectionCharFormat() const;
    void setSelectionCharFormat(const CharFormat& format);
    ParaFormat paragraphFormat() const;
    void setParagraphFormat(const ParaFormat& format);
    // The font of text that has no font of its own: all of a text set with
    // setText.
    QFont defaultFont() const;
    void setDefaultFont(const QFont& font);

    bool canUndo() const;
    bool canRedo() const;

    // The first match of `text` in [start, end), or -1.
    int findText(const QString& text, int start, int end, FindFlags flags) const;

    // Lays out the text from `start` into a page of `pageTwips` (relative to
    // the device's printable area) on `device`, draws it with `painter` when
    // one is given, and answers the position of the first character that did
    // not fit (the text's length when all did). A page always takes at least
    // one line, so a caller stepping page by page always ends.
    int formatRange(QPaintDevice* device, QPainter* painter, const QRect& pageTwips, int start);
    // The length of the text in positions, as formatRange counts them.
    int textLength() const;

    // Embedded objects: a file carried inside the text with its picture (the
    // desktop's icon for the file when `picture` is null). The new object
    // replaces the selection and becomes the selection.
    void insertObject(const QString& className, const QString& fileName, const QByteArray& data, const QImage& picture);
    // The object when the selection is exactly one object character.
    std::optional<Object> selectedObject() const;
    QStringList objectVerbs() const;
    // Opens the selected object's file with `opener` (by default the
    // desktop's program for it) and watches the file: when it is saved, the
    // object takes its new bytes and objectChanged() is emitted.
    void doObjectVerb(int index);
    using Opener = std::function<bool(const QString& path)>;
    void setObjectOpener(Opener opener) { m_opener = std::move(opener); }

signals:
    void contentChanged();
    void selectionChange();
    void objectChanged();

protected:
    QMimeData* createMimeDataFromSelection() const override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    void insertPlainBytes(const QByteArray& bytes, QTextCursor& cursor);
    void objectFileChanged(const QString& path);

    int m_version = 2;
    Opener m_opener;
    // Files of objects opened by a verb: path -> the object's picture name.
    std::unique_ptr<QTemporaryDir> m_objectDir;
    QFileSystemWatcher* m_watcher = nullptr;
    std::map<QString, QString> m_openObjects;
    std::unique_ptr<PageFormatter> m_pages;
};
