#include "platform/richedit/richedit.h"

#include "platform/richedit/codepage.h"
#include "platform/richedit/documentunits.h"
#include "platform/richedit/pageformatter.h"
#include "platform/richedit/plaintext.h"
#include "platform/richedit/rtfreader.h"
#include "platform/richedit/rtfreaderror.h"
#include "platform/richedit/rtfwriter.h"

#include <QBuffer>
#include <QClipboard>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFileIconProvider>
#include <QFileSystemWatcher>
#include <QMimeData>
#include <QPainter>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextList>
#include <QUrl>

#include <algorithm>
#include <cmath>

namespace {

using DocumentUnits::pixelsToTwips;
using DocumentUnits::twipsToPixels;

// The clipboard formats of rich text, the first the one we offer first.
const char* const rtfMimeTypes[] = {"text/rtf", "text/richtext", "application/rtf"};

QTextListFormat::Style listStyleOf(ParaFormat::Number n)
{
    switch (n) {
    case ParaFormat::Number::Arabic: return QTextListFormat::ListDecimal;
    case ParaFormat::Number::LowerLetter: return QTextListFormat::ListLowerAlpha;
    case ParaFormat::Number::UpperLetter: return QTextListFormat::ListUpperAlpha;
    case ParaFormat::Number::LowerRoman: return QTextListFormat::ListLowerRoman;
    case ParaFormat::Number::UpperRoman: return QTextListFormat::ListUpperRoman;
    default: return QTextListFormat::ListDisc;
    }
}

ParaFormat::Number numberOf(const QTextBlock& block)
{
    const QTextList* list = block.textList();
    if (!list)
        return ParaFormat::Number::None;
    switch (list->format().style()) {
    case QTextListFormat::ListDecimal: return ParaFormat::Number::Arabic;
    case QTextListFormat::ListLowerAlpha: return ParaFormat::Number::LowerLetter;
    case QTextListFormat::ListUpperAlpha: return ParaFormat::Number::UpperLetter;
    case QTextListFormat::ListLowerRoman: return ParaFormat::Number::LowerRoman;
    case QTextListFormat::ListUpperRoman: return ParaFormat::Number::UpperRoman;
    default: return ParaFormat::Number::Bullet;
    }
}

// One paragraph's format in the control's terms.
ParaFormat paraOf(const QTextBlock& block)
{
    const QTextBlockFormat f = block.blockFormat();
    ParaFormat p;
    const Qt::Alignment a = f.alignment();
    p.alignment = a & Qt::AlignJustify   ? ParaFormat::Align::Justify
                  : a & Qt::AlignHCenter ? ParaFormat::Align::Center
                  : a & Qt::AlignRight   ? ParaFormat::Align::Right
                                         : ParaFormat::Align::Left;
    p.numbering = numberOf(block);
    const int first = block.textList() ? f.intProperty(DocumentUnits::ListFirstIndent) : pixelsToTwips(f.textIndent());
    const int left = pixelsToTwips(f.leftMargin());
    p.offset = -first;
    p.startIndent = left + first;
    p.rightIndent = pixelsToTwips(f.rightMargin());
    for (const QTextOption::Tab& t : f.tabPositions())
        p.tabs.push_back(pixelsToTwips(t.position));
    p.spaceBefore = pixelsToTwips(f.topMargin());
    p.spaceAfter = pixelsToTwips(f.bottomMargin());
    switch (f.lineHeightType()) {
    case QTextBlockFormat::ProportionalHeight: {
        const int percent = int(std::lround(f.lineHeight()));
        if (percent == 100) {
            p.lineSpacingRule = 0;
        } else if (percent == 150) {
            p.lineSpacingRule = 1;
        } else if (percent == 200) {
            p.lineSpacingRule = 2;
        } else {
            p.lineSpacingRule = 5;
            p.lineSpacing = percent / 5;
        }
        break;
    }
    case QTextBlockFormat::MinimumHeight:
        p.lineSpacingRule = 3;
        p.lineSpacing = pixelsToTwips(f.lineHeight());
        break;
    case QTextBlockFormat::FixedHeight:
        p.lineSpacingRule = 4;
        p.lineSpacing = pixelsToTwips(f.lineHeight());
        break;
    default: break;
    }
    return p;
}

CharFormat charOf(const QTextCharFormat& f, const QFont& base)
{
    CharFormat c;
    const QFont font = f.font().resolve(base);
    c.bold = font.weight() >= QFont::DemiBold;
    c.italic = font.italic();
    c.underline = font.underline();
    c.strikeOut = font.strikeOut();
    const QStringList families = f.fontFamilies().toStringList();
    c.face = families.isEmpty() ? base.family() : families.first();
    const double points = f.hasProperty(QTextFormat::FontPointSize) ? f.fontPointSize() : base.pointSizeF();
    c.sizeTwips = int(std::lround(points * 20));
    c.autoColor = !f.hasProperty(QTextFormat::ForegroundBrush) || f.foreground().style() == Qt::NoBrush;
    if (!c.autoColor)
        c.color = f.foreground().color();
    c.noBackColor = !f.hasProperty(QTextFormat::BackgroundBrush) || f.background().style() == Qt::NoBrush;
    if (!c.noBackColor)
        c.backColor = f.background().color();
    return c;
}

// Sets in `target` what `format`'s mask names; an automatic colour or no
// background clears the property.
void applyChar(QTextCharFormat& target, const CharFormat& format)
{
    if (format.mask & CharFormat::Bold)
        target.setFontWeight(format.bold ? QFont::Bold : QFont::Normal);
    if (format.mask & CharFormat::Italic)
        target.setFontItalic(format.italic);
    if (format.mask & CharFormat::Underline)
        target.setFontUnderline(format.underline);
    if (format.mask & CharFormat::StrikeOut)
        target.setFontStrikeOut(format.strikeOut);
    if (format.mask & CharFormat::Face)
        target.setFontFamilies(QStringList{format.face});
    if ((format.mask & CharFormat::Size) && format.sizeTwips > 0)
        target.setFontPointSize(format.sizeTwips / 20.0);
    if (format.mask & CharFormat::Color) {
        if (format.autoColor)
            target.clearForeground();
        else
            target.setForeground(format.color);
    }
    if (format.mask & CharFormat::BackColor) {
        if (format.noBackColor)
            target.clearBackground();
        else
            target.setBackground(format.backColor);
    }
}

QString decodePlain(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(bytes);
    if (!utf8.hasError())
        return text.startsWith(QChar(0xFEFF)) ? text.mid(1) : text;
    // Not UTF-8: the bytes of an older program, in code page 1252.
    text.clear();
    CodePage::decode(1252, bytes.constData(), int(bytes.size()), text);
    return text;
}

// The desktop's icon for a file of this name, or a plain framed box when the
// desktop has none, so an object without a picture of its own still shows.
QImage iconFor(const QString& fileName)
{
    QImage icon = QFileIconProvider().icon(QFileInfo(fileName)).pixmap(32, 32).toImage();
    if (!icon.isNull())
        return icon;
    icon = QImage(32, 32, QImage::Format_RGB32);
    icon.fill(QColor(240, 240, 240));
    QPainter painter(&icon);
    painter.setPen(QColor(96, 96, 96));
    painter.drawRect(0, 0, 31, 31);
    painter.drawLine(8, 10, 23, 10);
    painter.drawLine(8, 16, 23, 16);
    painter.drawLine(8, 22, 18, 22);
    return icon;
}

}  // namespace

RichEdit::RichEdit(QWidget* parent) : QTextEdit(parent), m_pages(std::make_unique<PageFormatter>(*document()))
{
    setAcceptRichText(true);
    document()->setDocumentMargin(2);
    connect(this, &QTextEdit::textChanged, this, &RichEdit::contentChanged);
    connect(this, &QTextEdit::cursorPositionChanged, this, &RichEdit::selectionChange);
    connect(this, &QTextEdit::selectionChanged, this, [this] {
        // A change of the anchor alone moves no cursor position.
        emit selectionChange();
    });
}

RichEdit::~RichEdit() = default;

void RichEdit::setVersion(int version)
{
    if (version != 1 && version != 2)
        throw Exception("rich edit version must be 1 or 2, not " + std::to_string(version));
    m_version = version;
}

QString RichEdit::text() const { return PlainText::of(*document()); }

void RichEdit::setText(const QString& text)
{
    QString t = PlainText::normalizeLineBreaks(text);
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    // The document's own plain-text setter: QTextEdit's would keep the
    // caret's character format for the new text.
    document()->setPlainText(t);
    setCurrentCharFormat(QTextCharFormat());
    setTextCursor(QTextCursor(document()));
    document()->setModified(false);
}

void RichEdit::insertPlainBytes(const QByteArray& bytes, QTextCursor& cursor)
{
    QString t = PlainText::normalizeLineBreaks(decodePlain(bytes));
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    cursor.insertText(t);
}

void RichEdit::streamIn(const QByteArray& bytes, Stream format, bool selectionOnly)
{
    if (format == Stream::Rtf && !RtfReader::looksLikeRtf(bytes))
        throw RtfReadError("the data is not RTF");
    if (selectionOnly) {
        QTextCursor c = textCursor();
        if (format == Stream::Rtf) {
            RtfReader::readInto(bytes, c);
            // Pictures read into the cursor's document already.
        } else {
            c.beginEditBlock();
            insertPlainBytes(bytes, c);
            c.endEditBlock();
        }
        setTextCursor(c);
        return;
    }
    if (format == Stream::Rtf) {
        QTextDocument* doc = document();
        RtfReader::readDocument(bytes, *doc);
        setTextCursor(QTextCursor(doc));
        doc->setModified(false);
    } else {
        setText(decodePlain(bytes));
    }
}

QByteArray RichEdit::streamOut(Stream format, bool selectionOnly) const
{
    const QTextCursor c = textCursor();
    if (format == Stream::Rtf)
        return selectionOnly ? RtfWriter::writeRange(*document(), c.selectionStart(), c.selectionEnd())
                             : RtfWriter::write(*document());
    const QString text = selectionOnly ? PlainText::of(*document(), c.selectionStart(), c.selectionEnd())
                                       : PlainText::of(*document());
    return text.toUtf8();
}

int RichEdit::selStart() const { return textCursor().selectionStart(); }

int RichEdit::selLength() const { return textCursor().selectionEnd() - textCursor().selectionStart(); }

void RichEdit::setSelection(int start, int length)
{
    const int end = textLength();
    start = std::clamp(start, 0, end);
    const int stop = length < 0 ? end : std::clamp(start + length, start, end);
    QTextCursor c(document());
    c.setPosition(start);
    c.setPosition(stop, QTextCursor::KeepAnchor);
    setTextCursor(c);
}

QString RichEdit::selectedPlainText() const
{
    const QTextCursor c = textCursor();
    return PlainText::of(*document(), c.selectionStart(), c.selectionEnd());
}

void RichEdit::replaceSelection(const QString& text)
{
    QTextCursor c = textCursor();
    QString t = PlainText::normalizeLineBreaks(text);
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    c.insertText(t);
    setTextCursor(c);
}

void RichEdit::clearSelection()
{
    QTextCursor c = textCursor();
    c.removeSelectedText();
    setTextCursor(c);
}

bool RichEdit::canPaste() const
{
    // Whether the clipboard holds something this control takes; a read-only
    // control answers the same (its caller may make it writable first).
    return canInsertFromMimeData(QGuiApplication::clipboard()->mimeData());
}

bool RichEdit::isModified() const { return document()->isModified(); }

void RichEdit::setModified(bool modified) { document()->setModified(modified); }

CharFormat RichEdit::selectionCharFormat() const
{
    const QTextCursor c = textCursor();
    const QFont base = document()->defaultFont();
    if (!c.hasSelection()) {
        CharFormat f = charOf(c.charFormat(), base);
        f.mask = CharFormat::All;
        return f;
    }
    CharFormat result;
    bool first = true;
    unsigned same = CharFormat::All;
    const int start = c.selectionStart();
    const int end = c.selectionEnd();
    for (QTextBlock b = document()->findBlock(start); b.isValid() && b.position() < end; b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment fr = it.fragment();
            if (fr.position() + fr.length() <= start || fr.position() >= end)
                continue;
            const CharFormat f = charOf(fr.charFormat(), base);
            if (first) {
                result = f;
                first = false;
                continue;
            }
            if (f.bold != result.bold) same &= ~unsigned(CharFormat::Bold);
            if (f.italic != result.italic) same &= ~unsigned(CharFormat::Italic);
            if (f.underline != result.underline) same &= ~unsigned(CharFormat::Underline);
            if (f.strikeOut != result.strikeOut) same &= ~unsigned(CharFormat::StrikeOut);
            if (f.face != result.face) same &= ~unsigned(CharFormat::Face);
            if (f.sizeTwips != result.sizeTwips) same &= ~unsigned(CharFormat::Size);
            if (f.autoColor != result.autoColor || f.color != result.color) same &= ~unsigned(CharFormat::Color);
            if (f.noBackColor != result.noBackColor || f.backColor != result.backColor)
                same &= ~unsigned(CharFormat::BackColor);
        }
    }
    if (first)  // only paragraph ends selected
        result = charOf(c.charFormat(), base);
    result.mask = same;
    return result;
}

void RichEdit::setSelectionCharFormat(const CharFormat& request)
{
    CharFormat format = request;
    if (m_version < 2)
        format.mask &= ~unsigned(CharFormat::BackColor);  // the older control has no background colour
    QTextCursor c = textCursor();
    if (!c.hasSelection()) {
        QTextCharFormat f = c.charFormat();
        applyChar(f, format);
        c.setCharFormat(f);
        setTextCursor(c);
        return;
    }
    // Each fragment keeps what the format does not name; clearing a colour
    // cannot go through a merge, so fragments are set one by one.
    const int start = c.selectionStart();
    const int end = c.selectionEnd();
    std::vector<std::pair<int, int>> runs;
    for (QTextBlock b = document()->findBlock(start); b.isValid() && b.position() < end; b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment fr = it.fragment();
            const int from = std::max(start, fr.position());
            const int to = std::min(end, fr.position() + fr.length());
            if (from < to)
                runs.emplace_back(from, to);
        }
    c.beginEditBlock();
    for (const auto& [from, to] : runs) {
        QTextCursor r(document());
        r.setPosition(from + 1);  // a cursor's format is that of the character before it
        QTextCharFormat f = r.charFormat();
        applyChar(f, format);
        r.setPosition(from);
        r.setPosition(to, QTextCursor::KeepAnchor);
        r.setCharFormat(f);
    }
    c.endEditBlock();
}

ParaFormat RichEdit::paragraphFormat() const
{
    const QTextCursor c = textCursor();
    QTextBlock b = document()->findBlock(c.selectionStart());
    const QTextBlock last = document()->findBlock(c.selectionEnd());
    ParaFormat result = paraOf(b);
    unsigned same = ParaFormat::All;
    for (b = b.next(); b.isValid() && b.position() <= last.position(); b = b.next()) {
        const ParaFormat p = paraOf(b);
        if (p.alignment != result.alignment) same &= ~unsigned(ParaFormat::Alignment);
        if (p.numbering != result.numbering) same &= ~unsigned(ParaFormat::Numbering);
        if (p.startIndent != result.startIndent) same &= ~unsigned(ParaFormat::StartIndent);
        if (p.rightIndent != result.rightIndent) same &= ~unsigned(ParaFormat::RightIndent);
        if (p.offset != result.offset) same &= ~unsigned(ParaFormat::Offset);
        if (p.tabs != result.tabs) same &= ~unsigned(ParaFormat::TabStops);
        if (p.spaceBefore != result.spaceBefore) same &= ~unsigned(ParaFormat::SpaceBefore);
        if (p.spaceAfter != result.spaceAfter) same &= ~unsigned(ParaFormat::SpaceAfter);
        if (p.lineSpacingRule != result.lineSpacingRule || p.lineSpacing != result.lineSpacing)
            same &= ~unsigned(ParaFormat::LineSpacing);
    }
    result.mask = same;
    return result;
}

void RichEdit::setParagraphFormat(const ParaFormat& request)
{
    ParaFormat format = request;
    if (m_version < 2)  // the older control's paragraph format has no spacings
        format.mask &= ~unsigned(ParaFormat::SpaceBefore | ParaFormat::SpaceAfter | ParaFormat::LineSpacing);
    const QTextCursor c = textCursor();
    const QTextBlock firstBlock = document()->findBlock(c.selectionStart());
    const QTextBlock lastBlock = document()->findBlock(c.selectionEnd());
    QTextCursor edit(document());
    edit.beginEditBlock();
    QTextList* shared = nullptr;  // the list the selected paragraphs join
    for (QTextBlock b = firstBlock; b.isValid() && b.position() <= lastBlock.position(); b = b.next()) {
        ParaFormat p = paraOf(b);
        const unsigned m = format.mask;
        if (m & ParaFormat::Alignment) p.alignment = format.alignment;
        if (m & ParaFormat::Numbering) p.numbering = format.numbering;
        if (m & ParaFormat::StartIndent) p.startIndent = format.startIndent;
        if (m & ParaFormat::RightIndent) p.rightIndent = format.rightIndent;
        if (m & ParaFormat::Offset) p.offset = format.offset;
        if (m & ParaFormat::TabStops) {
            p.tabs.assign(format.tabs.begin(),
                          format.tabs.begin() + std::min<std::size_t>(format.tabs.size(), ParaFormat::maxTabs));
            std::sort(p.tabs.begin(), p.tabs.end());
            p.tabs.erase(std::unique(p.tabs.begin(), p.tabs.end()), p.tabs.end());
        }
        if (m & ParaFormat::SpaceBefore) p.spaceBefore = format.spaceBefore;
        if (m & ParaFormat::SpaceAfter) p.spaceAfter = format.spaceAfter;
        if (m & ParaFormat::LineSpacing) {
            p.lineSpacingRule = format.lineSpacingRule;
            p.lineSpacing = format.lineSpacing;
        }

        QTextBlockFormat f = b.blockFormat();
        f.setAlignment(DocumentUnits::alignment(int(p.alignment)));
        f.setLeftMargin(twipsToPixels(p.startIndent + p.offset));
        f.setRightMargin(twipsToPixels(p.rightIndent));
        const bool listed = p.numbering != ParaFormat::Number::None;
        if (listed) {
            f.setTextIndent(0);
            f.setProperty(DocumentUnits::ListFirstIndent, -p.offset);
        } else {
            f.setTextIndent(twipsToPixels(-p.offset));
            f.clearProperty(DocumentUnits::ListFirstIndent);
        }
        QList<QTextOption::Tab> tabs;
        for (int t : p.tabs)
            tabs.append(QTextOption::Tab(twipsToPixels(t), QTextOption::LeftTab));
        f.setTabPositions(tabs);
        f.setTopMargin(twipsToPixels(p.spaceBefore));
        f.setBottomMargin(twipsToPixels(p.spaceAfter));
        switch (p.lineSpacingRule) {
        case 1: f.setLineHeight(150, QTextBlockFormat::ProportionalHeight); break;
        case 2: f.setLineHeight(200, QTextBlockFormat::ProportionalHeight); break;
        case 3: f.setLineHeight(twipsToPixels(p.lineSpacing), QTextBlockFormat::MinimumHeight); break;
        case 4: f.setLineHeight(twipsToPixels(p.lineSpacing), QTextBlockFormat::FixedHeight); break;
        case 5:
            if (p.lineSpacing > 0 && p.lineSpacing != 20)
                f.setLineHeight(p.lineSpacing * 5.0, QTextBlockFormat::ProportionalHeight);
            else
                f.setLineHeight(0, QTextBlockFormat::SingleHeight);
            break;
        default: f.setLineHeight(0, QTextBlockFormat::SingleHeight); break;
        }
        QTextCursor at(b);
        QTextList* list = b.textList();
        if (!listed) {
            if (list)
                list->remove(b);
            f.setObjectIndex(-1);
            at.setBlockFormat(f);
            continue;
        }
        const QTextListFormat::Style style = listStyleOf(p.numbering);
        if (list && list->format().style() != style) {
            list->remove(b);
            list = nullptr;
        }
        at.setBlockFormat(f);
        if (!list) {
            if (!shared) {
                const QTextBlock prev = b.previous();
                if (prev.isValid() && prev.textList() && prev.textList()->format().style() == style)
                    shared = prev.textList();
            }
            if (shared && shared->format().style() == style) {
                shared->add(b);
            } else {
                QTextListFormat lf;
                lf.setStyle(style);
                lf.setIndent(0);
                shared = at.createList(lf);
            }
        } else {
            shared = list;
        }
    }
    edit.endEditBlock();
}

QFont RichEdit::defaultFont() const { return document()->defaultFont(); }

void RichEdit::setDefaultFont(const QFont& font)
{
    document()->setDefaultFont(font);
    setFont(font);
}

bool RichEdit::canUndo() const { return document()->isUndoAvailable(); }

bool RichEdit::canRedo() const { return document()->isRedoAvailable(); }

int RichEdit::findText(const QString& text, int start, int end, FindFlags flags) const
{
    if (text.isEmpty())
        return -1;
    end = std::min(end, textLength());
    QTextDocument::FindFlags f;
    if (flags.matchCase)
        f |= QTextDocument::FindCaseSensitively;
    if (flags.wholeWord)
        f |= QTextDocument::FindWholeWords;
    QTextCursor from(document());
    from.setPosition(std::clamp(start, 0, textLength()));
    const QTextCursor found = document()->find(text, from, f);
    if (found.isNull() || found.selectionEnd() > end)
        return -1;
    return found.selectionStart();
}

int RichEdit::formatRange(QPaintDevice* device, QPainter* painter, const QRect& pageTwips, int start)
{
    return m_pages->formatRange(device, painter, pageTwips, start);
}

int RichEdit::textLength() const { return std::max(0, document()->characterCount() - 1); }

QMimeData* RichEdit::createMimeDataFromSelection() const
{
    auto* data = new QMimeData;
    const QByteArray rtf = streamOut(Stream::Rtf, true);
    for (const char* type : rtfMimeTypes)
        data->setData(QString::fromLatin1(type), rtf);
    data->setText(selectedPlainText());
    return data;
}

bool RichEdit::canInsertFromMimeData(const QMimeData* source) const
{
    if (!source)
        return false;
    for (const char* type : rtfMimeTypes)
        if (source->hasFormat(QString::fromLatin1(type)))
            return true;
    return source->hasText();
}

void RichEdit::insertFromMimeData(const QMimeData* source)
{
    if (!source || isReadOnly())
        return;
    QTextCursor c = textCursor();
    for (const char* type : rtfMimeTypes) {
        const QString mime = QString::fromLatin1(type);
        if (!source->hasFormat(mime))
            continue;
        try {
            RtfReader::readInto(source->data(mime), c);
            setTextCursor(c);
            ensureCursorVisible();
            return;
        } catch (const RtfReadError&) {
            // Not RTF after all: take the plain text below.
        }
    }
    if (source->hasText()) {
        QString t = PlainText::normalizeLineBreaks(source->text());
        t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        c.insertText(t);
        setTextCursor(c);
        ensureCursorVisible();
    }
}

void RichEdit::insertObject(const QString& className, const QString& fileName, const QByteArray& data,
                            const QImage& picture)
{
    static int serial = 0;
    const QString name = QStringLiteral("richedit-object:%1").arg(++serial);
    QTextImageFormat f;
    f.setName(name);
    f.setProperty(DocumentUnits::ObjectClass, className.isEmpty() ? QStringLiteral("Package") : className);
    f.setProperty(DocumentUnits::ObjectData, data);
    f.setProperty(DocumentUnits::ObjectFileName, QFileInfo(fileName).fileName());
    const QImage shown = picture.isNull() ? iconFor(fileName) : picture;
    {
        document()->addResource(QTextDocument::ImageResource, QUrl(name), shown);
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        shown.save(&buffer, "PNG");
        f.setProperty(DocumentUnits::PictureData, png);
        f.setProperty(DocumentUnits::PictureKind, QStringLiteral("png"));
        f.setProperty(DocumentUnits::PicturePixelWidth, shown.width());
        f.setProperty(DocumentUnits::PicturePixelHeight, shown.height());
        f.setWidth(shown.width());
        f.setHeight(shown.height());
    }
    QTextCursor c = textCursor();
    c.insertImage(f);
    c.setPosition(c.position() - 1, QTextCursor::KeepAnchor);
    setTextCursor(c);
}

std::optional<RichEdit::Object> RichEdit::selectedObject() const
{
    const QTextCursor c = textCursor();
    if (c.selectionEnd() - c.selectionStart() != 1)
        return std::nullopt;
    QTextCursor at(document());
    at.setPosition(c.selectionEnd());
    const QTextCharFormat f = at.charFormat();
    if (!f.isImageFormat() || !f.hasProperty(DocumentUnits::ObjectClass))
        return std::nullopt;
    Object o;
    o.position = c.selectionStart();
    o.className = f.stringProperty(DocumentUnits::ObjectClass);
    o.data = f.property(DocumentUnits::ObjectData).toByteArray();
    o.fileName = f.stringProperty(DocumentUnits::ObjectFileName);
    if (o.fileName.isEmpty())
        o.fileName = QStringLiteral("object.bin");
    return o;
}

QStringList RichEdit::objectVerbs() const
{
    return selectedObject() ? QStringList{QStringLiteral("&Open")} : QStringList{};
}

void RichEdit::doObjectVerb(int index)
{
    const std::optional<Object> object = selectedObject();
    if (!object || index < 0 || index >= int(objectVerbs().size()))
        throw Exception("Invalid Verb");
    if (!m_objectDir) {
        m_objectDir = std::make_unique<QTemporaryDir>();
        if (!m_objectDir->isValid())
            throw Exception("cannot make a folder for the object's file");
        m_watcher = new QFileSystemWatcher(this);
        connect(m_watcher, &QFileSystemWatcher::fileChanged, this, &RichEdit::objectFileChanged);
    }
    QTextCursor at(document());
    at.setPosition(object->position + 1);
    const QString name = at.charFormat().toImageFormat().name();
    // Each object opens in a folder of its own, under its own file name.
    const QString folder = m_objectDir->filePath(QString::number(qHash(name)));
    QDir().mkpath(folder);
    const QString path = QDir(folder).filePath(object->fileName);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(object->data) != object->data.size())
        throw Exception("cannot write the object's file " + path.toStdString());
    file.close();
    m_openObjects[path] = name;
    m_watcher->addPath(path);
    const bool opened = m_opener ? m_opener(path) : QDesktopServices::openUrl(QUrl::fromLocalFile(path));
    if (!opened)
        throw Exception("no program opens " + object->fileName.toStdString());
}

void RichEdit::objectFileChanged(const QString& path)
{
    const auto it = m_openObjects.find(path);
    if (it == m_openObjects.end())
        return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;  // saved by replacing: the watcher sees the new file next time
    const QByteArray data = file.readAll();
    if (!m_watcher->files().contains(path))
        m_watcher->addPath(path);
    for (QTextBlock b = document()->begin(); b.isValid(); b = b.next())
        for (auto f = b.begin(); !f.atEnd(); ++f) {
            const QTextFragment fr = f.fragment();
            QTextImageFormat image = fr.charFormat().toImageFormat();
            if (!image.isValid() || image.name() != it->second)
                continue;
            if (image.property(DocumentUnits::ObjectData).toByteArray() == data)
                return;
            image.setProperty(DocumentUnits::ObjectData, data);
            QTextCursor c(document());
            c.setPosition(fr.position());
            c.setPosition(fr.position() + 1, QTextCursor::KeepAnchor);
            c.setCharFormat(image);
            document()->setModified(true);
            emit objectChanged();
            return;
        }
}
