#include "platform/richedit/rtfreader.h"

#include "platform/richedit/codepage.h"
#include "platform/richedit/documentunits.h"
#include "platform/richedit/rtfname.h"
#include "platform/richedit/rtfreaderror.h"

#include <QAtomicInt>
#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QUrl>

#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace {

using DocumentUnits::twipsToPixels;

// Groups nested deeper than this are read as skipped groups: their braces
// still count, their content is dropped. Real documents stay far below it.
constexpr int maxDepth = 256;
// Keeps numbers from text that claims absurd sizes inside the document's own
// limits; every length is clamped to this many twips either way.
constexpr int maxTwips = 31680 * 4;
constexpr int maxTabs = 32;
// Every item added to a list costs a pass over the list's items, so a list is
// kept to this many; a longer run of items continues in a new list.
constexpr int maxListItems = 1000;

enum class Dest {
    Text,        // the document's text
    Skip,        // everything dropped
    FontTable,
    ColorTable,
    ListTable,
    OverrideTable,
    Pict,
    ObjClass,
    ObjData,
    Pn,          // old-style numbering of the paragraph
};

// What a group began, so its end can finish it.
enum class Owner { None, Pict, Object, ObjClass, ObjName, Pn, FontEntry, List, ListLevel, Override };

struct CharState {
    int font = -1;  // font number, -1 for none named
    int halfPoints = 0;  // 0: the document's default size
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    int foreground = -1;  // colour table index; -1 (or an empty entry) is automatic
    int background = -1;  // -1 (or an empty entry) is none

    bool operator==(const CharState&) const = default;
};

struct ParaState {
    int align = 0;  // 0 left, 1 right, 2 centre, 3 justify
    int left = 0;
    int right = 0;
    int first = 0;
    int before = 0;
    int after = 0;
    int lineSpacing = 0;
    bool lineMultiple = false;
    std::vector<int> tabs;
    int numbering = 0;  // 0, or a QTextListFormat::Style
    int listOverride = 0;
    int listLevel = 0;
    bool pageBreakBefore = false;
};

struct State {
    Dest dest = Dest::Text;
    Owner owner = Owner::None;
    CharState chars;
    ParaState para;
    int unicodeSkip = 1;
};

struct Font {
    QString name;
    std::optional<int> codePage;  // none: the document's
};

struct Picture {
    QString kind;
    QByteArray data;
    int hexHigh = -1;
    int picw = 0, pich = 0, goalw = 0, goalh = 0, scalex = 100, scaley = 100;
};

struct Object {
    QString className;
    QString fileName;
    QByteArray data;
    int hexHigh = -1;
    int width = 0, height = 0;
    bool pictured = false;
};

enum class Word {
    Unknown,
    // destinations
    Rtf, FontTbl, ColorTbl, ListTable, ListOverrideTable, List, ListLevel, ListOverride, Pict, Object,
    ObjClass, ObjName, ObjData, Result, Pn, Field, FldRslt, ShpPict, SkipDest,
    // document
    Ansi, Mac, Pc, Pca, AnsiCpg, Deff, Uc, U, Bin,
    // fonts and colours
    F, FCharset, Cpg, Red, Green, Blue,
    // characters
    Plain, B, I, Ul, UlNone, Strike, Fs, Cf, Cb, Highlight,
    // paragraphs
    Pard, Ql, Qr, Qc, Qj, Li, Ri, Fi, Sb, Sa, Sl, SlMult, Tx, Tb, PageBb, Ls, Ilvl,
    ListId, LevelNfc, PnLvlBlt, PnLvlBody, PnDec, PnLcLtr, PnUcLtr, PnLcRm, PnUcRm,
    // pictures and objects
    PngBlip, JpegBlip, WmetaFile, EmfBlip, DibItmap, WbItmap, MacPict, PicW, PicH, PicWGoal, PicHGoal,
    PicScaleX, PicScaleY, ObjW, ObjH,
    // breaks and characters
    Par, Sect, Line, Tab, Page, Cell, Row, Char,
};

struct WordInfo {
    Word word;
    char16_t character = 0;  // for Word::Char
};

const std::unordered_map<std::string_view, WordInfo>& words()
{
    static const std::unordered_map<std::string_view, WordInfo> table = {
        {"rtf", {Word::Rtf}}, {"fonttbl", {Word::FontTbl}}, {"colortbl", {Word::ColorTbl}},
        {"listtable", {Word::ListTable}}, {"listoverridetable", {Word::ListOverrideTable}},
        {"list", {Word::List}}, {"listlevel", {Word::ListLevel}}, {"listoverride", {Word::ListOverride}},
        {"pict", {Word::Pict}}, {"object", {Word::Object}}, {"objclass", {Word::ObjClass}},
        {"objdata", {Word::ObjData}}, {"result", {Word::Result}}, {"pn", {Word::Pn}},
        {"field", {Word::Field}}, {"fldrslt", {Word::FldRslt}}, {"shppict", {Word::ShpPict}},
        {"shprslt", {Word::FldRslt}}, {"shp", {Word::Field}},
        // Destinations that hold no text of the document.
        {"info", {Word::SkipDest}}, {"stylesheet", {Word::SkipDest}}, {"header", {Word::SkipDest}},
        {"headerl", {Word::SkipDest}}, {"headerr", {Word::SkipDest}}, {"headerf", {Word::SkipDest}},
        {"footer", {Word::SkipDest}}, {"footerl", {Word::SkipDest}}, {"footerr", {Word::SkipDest}},
        {"footerf", {Word::SkipDest}}, {"footnote", {Word::SkipDest}}, {"annotation", {Word::SkipDest}},
        {"atnid", {Word::SkipDest}}, {"atnauthor", {Word::SkipDest}}, {"pgdsctbl", {Word::SkipDest}},
        {"rsidtbl", {Word::SkipDest}}, {"xmlnstbl", {Word::SkipDest}}, {"listtext", {Word::SkipDest}},
        {"pntext", {Word::SkipDest}}, {"fldinst", {Word::SkipDest}}, {"themedata", {Word::SkipDest}},
        {"colorschememapping", {Word::SkipDest}}, {"latentstyles", {Word::SkipDest}},
        {"datastore", {Word::SkipDest}}, {"generator", {Word::SkipDest}}, {"bkmkstart", {Word::SkipDest}},
        {"bkmkend", {Word::SkipDest}}, {"ftnsep", {Word::SkipDest}}, {"ftnsepc", {Word::SkipDest}},
        {"aftnsep", {Word::SkipDest}}, {"aftnsepc", {Word::SkipDest}}, {"template", {Word::SkipDest}},
        {"filetbl", {Word::SkipDest}}, {"revtbl", {Word::SkipDest}}, {"userprops", {Word::SkipDest}},
        {"mmathPr", {Word::SkipDest}}, {"pnseclvl", {Word::SkipDest}}, {"txe", {Word::SkipDest}},
        {"xe", {Word::SkipDest}}, {"tc", {Word::SkipDest}}, {"docvar", {Word::SkipDest}},
        {"objalias", {Word::SkipDest}}, {"objsect", {Word::SkipDest}}, {"objname", {Word::ObjName}},
        {"objtime", {Word::SkipDest}}, {"picprop", {Word::SkipDest}}, {"blipuid", {Word::SkipDest}},
        {"leveltext", {Word::SkipDest}}, {"levelnumbers", {Word::SkipDest}}, {"listname", {Word::SkipDest}},
        {"nonshppict", {Word::SkipDest}}, {"shpinst", {Word::SkipDest}}, {"nonesttables", {Word::SkipDest}},
        {"falt", {Word::SkipDest}}, {"panose", {Word::SkipDest}}, {"fname", {Word::SkipDest}},
        {"author", {Word::SkipDest}}, {"operator", {Word::SkipDest}}, {"title", {Word::SkipDest}},
        {"subject", {Word::SkipDest}}, {"keywords", {Word::SkipDest}}, {"comment", {Word::SkipDest}},
        {"doccomm", {Word::SkipDest}}, {"company", {Word::SkipDest}}, {"category", {Word::SkipDest}},
        {"manager", {Word::SkipDest}}, {"hlinkbase", {Word::SkipDest}}, {"formfield", {Word::SkipDest}},
        {"datafield", {Word::SkipDest}}, {"sv", {Word::SkipDest}}, {"sn", {Word::SkipDest}},
        {"pntxta", {Word::SkipDest}}, {"pntxtb", {Word::SkipDest}},
        {"ansi", {Word::Ansi}}, {"mac", {Word::Mac}}, {"pc", {Word::Pc}}, {"pca", {Word::Pca}},
        {"ansicpg", {Word::AnsiCpg}}, {"deff", {Word::Deff}}, {"uc", {Word::Uc}}, {"u", {Word::U}},
        {"bin", {Word::Bin}},
        {"f", {Word::F}}, {"fcharset", {Word::FCharset}}, {"cpg", {Word::Cpg}}, {"red", {Word::Red}},
        {"green", {Word::Green}}, {"blue", {Word::Blue}},
        {"plain", {Word::Plain}}, {"b", {Word::B}}, {"i", {Word::I}}, {"ul", {Word::Ul}},
        {"uld", {Word::Ul}}, {"uldash", {Word::Ul}}, {"uldashd", {Word::Ul}}, {"uldashdd", {Word::Ul}},
        {"uldb", {Word::Ul}}, {"ulhwave", {Word::Ul}}, {"ulldash", {Word::Ul}}, {"ulth", {Word::Ul}},
        {"ulthd", {Word::Ul}}, {"ulthdash", {Word::Ul}}, {"ulthdashd", {Word::Ul}},
        {"ulthdashdd", {Word::Ul}}, {"ulthldash", {Word::Ul}}, {"ululdbwave", {Word::Ul}},
        {"ulw", {Word::Ul}}, {"ulwave", {Word::Ul}}, {"ulnone", {Word::UlNone}},
        {"strike", {Word::Strike}}, {"striked", {Word::Strike}}, {"fs", {Word::Fs}}, {"cf", {Word::Cf}},
        {"cb", {Word::Cb}}, {"chcbpat", {Word::Cb}}, {"highlight", {Word::Highlight}},
        {"pard", {Word::Pard}}, {"ql", {Word::Ql}}, {"qr", {Word::Qr}}, {"qc", {Word::Qc}},
        {"qj", {Word::Qj}}, {"qd", {Word::Qj}}, {"li", {Word::Li}}, {"lin", {Word::Li}},
        {"ri", {Word::Ri}}, {"rin", {Word::Ri}}, {"fi", {Word::Fi}}, {"sb", {Word::Sb}},
        {"sa", {Word::Sa}}, {"sl", {Word::Sl}}, {"slmult", {Word::SlMult}}, {"tx", {Word::Tx}},
        {"tb", {Word::Tb}}, {"pagebb", {Word::PageBb}}, {"ls", {Word::Ls}}, {"ilvl", {Word::Ilvl}},
        {"listid", {Word::ListId}}, {"levelnfc", {Word::LevelNfc}}, {"levelnfcn", {Word::LevelNfc}},
        {"pnlvlblt", {Word::PnLvlBlt}}, {"pnlvlbody", {Word::PnLvlBody}}, {"pnlvlcont", {Word::PnLvlBody}},
        {"pndec", {Word::PnDec}}, {"pnlcltr", {Word::PnLcLtr}}, {"pnucltr", {Word::PnUcLtr}},
        {"pnlcrm", {Word::PnLcRm}}, {"pnucrm", {Word::PnUcRm}},
        {"pngblip", {Word::PngBlip}}, {"jpegblip", {Word::JpegBlip}}, {"wmetafile", {Word::WmetaFile}},
        {"emfblip", {Word::EmfBlip}}, {"dibitmap", {Word::DibItmap}}, {"wbitmap", {Word::WbItmap}},
        {"macpict", {Word::MacPict}}, {"picw", {Word::PicW}}, {"pich", {Word::PicH}},
        {"picwgoal", {Word::PicWGoal}}, {"pichgoal", {Word::PicHGoal}}, {"picscalex", {Word::PicScaleX}},
        {"picscaley", {Word::PicScaleY}}, {"objw", {Word::ObjW}}, {"objh", {Word::ObjH}},
        {"par", {Word::Par}}, {"sect", {Word::Sect}}, {"line", {Word::Line}}, {"tab", {Word::Tab}},
        {"page", {Word::Page}}, {"cell", {Word::Cell}}, {"nestcell", {Word::Cell}}, {"row", {Word::Row}},
        {"nestrow", {Word::Row}},
        {"bullet", {Word::Char, 0x2022}}, {"emdash", {Word::Char, 0x2014}},
        {"endash", {Word::Char, 0x2013}}, {"lquote", {Word::Char, 0x2018}},
        {"rquote", {Word::Char, 0x2019}}, {"ldblquote", {Word::Char, 0x201C}},
        {"rdblquote", {Word::Char, 0x201D}}, {"emspace", {Word::Char, 0x2003}},
        {"enspace", {Word::Char, 0x2002}}, {"qmspace", {Word::Char, 0x2005}},
        {"zwj", {Word::Char, 0x200D}}, {"zwnj", {Word::Char, 0x200C}}, {"zwbo", {Word::Char, 0x200B}},
        {"zwnbo", {Word::Char, 0x2060}}, {"ltrmark", {Word::Char, 0x200E}},
        {"rtlmark", {Word::Char, 0x200F}},
    };
    return table;
}

int clampTwips(long long v) { return int(std::clamp<long long>(v, -maxTwips, maxTwips)); }

QAtomicInt pictureSerial;

class Parser {
public:
    Parser(QTextCursor& cursor, bool wholeDocument) : m_cursor(cursor), m_whole(wholeDocument) {}

    void run(const QByteArray& bytes);

private:
    State& top() { return m_stack.back(); }
    void pushGroup();
    void popGroup();
    void controlWord(std::string_view name, bool hasParam, long long param);
    void controlSymbol(char c);
    void hexByte(unsigned char b);
    void textByte(unsigned char b);
    bool consumeSkip();
    bool skipFallbackByte(unsigned char b);
    void appendTextByte(unsigned char b);

    int codePage() const;
    void flushBytes();
    void flushText();
    void appendText(QChar c);
    void beginContent();
    void finishDocument();
    void endParagraph();
    void applyParagraph();
    QTextCharFormat charFormat(const CharState& s);
    QTextBlockFormat blockFormat(const ParaState& p) const;
    int listStyle(const ParaState& p) const;
    void finishPicture();
    void finishObject();
    void insertObjectCharacter(QTextImageFormat format);

    QTextCursor& m_cursor;
    bool m_whole;
    const char* m_data = nullptr;
    qsizetype m_size = 0;
    qsizetype m_pos = 0;

    std::vector<State> m_stack;
    int m_overflow = 0;  // groups opened beyond maxDepth and not yet closed
    bool m_ended = false;
    bool m_optionalNext = false;  // a \* was just read

    int m_ansiCodePage = 1252;
    int m_defaultFont = -1;
    std::map<int, Font> m_fonts;
    int m_fontDraftNumber = -1;
    std::optional<int> m_fontDraftCharset;
    std::optional<int> m_fontDraftCpg;
    QByteArray m_fontDraftName;  // bytes of the name not yet decoded
    QString m_fontDraftText;     // the name decoded so far
    std::vector<QColor> m_colors;  // index 0 is automatic
    int m_red = 0, m_green = 0, m_blue = 0;
    bool m_colorSet = false;

    std::map<int, std::vector<int>> m_lists;  // list id -> level number formats
    std::map<int, int> m_overrides;           // \ls number -> list id
    int m_listDraftId = 0;
    std::vector<int> m_listDraftLevels;
    int m_overrideDraftList = 0;
    int m_overrideDraftLs = 0;

    Picture m_picture;
    bool m_inPicture = false;
    Object m_object;
    int m_objectDepth = 0;  // nesting of \object groups being read
    QByteArray m_objClassBytes;

    int m_skip = 0;              // characters still to drop after \u
    bool m_skipTrailByte = false;
    QByteArray m_bytes;          // undecoded text bytes
    int m_bytesCodePage = 1252;
    QString m_text;              // decoded, not yet inserted
    CharState m_textState;
    bool m_haveFormat = false;
    CharState m_formatState;
    QTextCharFormat m_format;

    bool m_pendingBlock = false;  // a paragraph ended; the next content opens a new one
    bool m_pendingCellTab = false;
    bool m_pageBreakNext = false;
    bool m_blockHasContent = false;
};

void Parser::run(const QByteArray& bytes)
{
    m_data = bytes.constData();
    m_size = bytes.size();
    m_stack.reserve(64);
    m_stack.push_back(State{});
    m_stack.back().dest = Dest::Skip;  // outside the document's group

    while (m_pos < m_size && !m_ended) {
        const unsigned char c = static_cast<unsigned char>(m_data[m_pos++]);
        switch (c) {
        case '{': pushGroup(); break;
        case '}': popGroup(); break;
        case '\\': {
            if (m_pos >= m_size)
                break;
            const char n = m_data[m_pos];
            if ((n >= 'a' && n <= 'z') || (n >= 'A' && n <= 'Z')) {
                const qsizetype start = m_pos;
                while (m_pos < m_size && ((m_data[m_pos] >= 'a' && m_data[m_pos] <= 'z') ||
                                          (m_data[m_pos] >= 'A' && m_data[m_pos] <= 'Z')))
                    ++m_pos;
                // Words are at most 32 letters; a longer one is no word we know.
                std::string_view name(m_data + start, std::size_t(std::min<qsizetype>(m_pos - start, 40)));
                bool hasParam = false;
                bool negative = false;
                long long param = 0;
                if (m_pos < m_size && m_data[m_pos] == '-' && m_pos + 1 < m_size && m_data[m_pos + 1] >= '0' &&
                    m_data[m_pos + 1] <= '9') {
                    negative = true;
                    ++m_pos;
                }
                int digits = 0;
                while (m_pos < m_size && m_data[m_pos] >= '0' && m_data[m_pos] <= '9') {
                    // Parameters are at most 10 digits; more are read and clamped.
                    if (digits < 10)
                        param = param * 10 + (m_data[m_pos] - '0');
                    ++digits;
                    ++m_pos;
                }
                hasParam = digits > 0;
                param = std::clamp<long long>(negative ? -param : param, INT32_MIN, INT32_MAX);
                if (m_pos < m_size && m_data[m_pos] == ' ')
                    ++m_pos;
                controlWord(name, hasParam, param);
            } else {
                ++m_pos;
                if (n == '\'') {
                    auto hex = [](char h) -> int {
                        if (h >= '0' && h <= '9') return h - '0';
                        if (h >= 'a' && h <= 'f') return h - 'a' + 10;
                        if (h >= 'A' && h <= 'F') return h - 'A' + 10;
                        return -1;
                    };
                    int value = 0;
                    int got = 0;
                    while (got < 2 && m_pos < m_size && hex(m_data[m_pos]) >= 0) {
                        value = value * 16 + hex(m_data[m_pos++]);
                        ++got;
                    }
                    if (got == 2)
                        hexByte(static_cast<unsigned char>(value));
                } else {
                    controlSymbol(n);
                }
            }
            break;
        }
        case '\r':
        case '\n':
        case 0:
            break;
        default: textByte(c); break;
        }
    }

    if (m_stack.size() > 1)
        finishDocument();  // cut off before its closing brace
}

void Parser::finishDocument()
{
    flushText();
    if (m_whole) {
        if (!m_pendingBlock)
            applyParagraph();
    } else if (m_pendingBlock) {
        m_cursor.insertBlock();
        m_pendingBlock = false;
    }
}

void Parser::pushGroup()
{
    m_optionalNext = false;
    if (m_overflow > 0 || int(m_stack.size()) >= maxDepth) {
        ++m_overflow;
        return;
    }
    flushBytes();
    m_skip = 0;
    State s = top();
    s.owner = Owner::None;
    if (m_stack.size() == 1)
        s.dest = Dest::Text;  // the document's own group
    if (s.dest == Dest::Pict || s.dest == Dest::ObjClass || s.dest == Dest::ObjData)
        s.dest = Dest::Skip;
    m_stack.push_back(std::move(s));
}

void Parser::popGroup()
{
    m_optionalNext = false;
    if (m_overflow > 0) {
        --m_overflow;
        return;
    }
    flushBytes();
    m_skip = 0;
    if (m_stack.size() <= 1) {
        m_ended = true;
        return;
    }
    if (m_stack.size() == 2)
        finishDocument();  // the last paragraph takes the formats of its own group
    const State closing = std::move(m_stack.back());
    m_stack.pop_back();
    switch (closing.owner) {
    case Owner::Pict: finishPicture(); break;
    case Owner::Object: finishObject(); break;
    case Owner::Pn:
        top().para.numbering = closing.para.numbering;
        top().para.listOverride = 0;
        break;
    case Owner::FontEntry:
        if (m_fontDraftNumber >= 0 && (!m_fontDraftName.isEmpty() || !m_fontDraftText.isEmpty()))
            controlSymbol(';');  // an entry closed without its ';'
        break;
    case Owner::ObjClass:
    case Owner::ObjName: {
        QString name;
        CodePage::decode(m_ansiCodePage, m_objClassBytes.constData(), int(m_objClassBytes.size()), name);
        (closing.owner == Owner::ObjClass ? m_object.className : m_object.fileName) = RtfName::clean(name);
        m_objClassBytes.clear();
        break;
    }
    case Owner::ListLevel: break;
    case Owner::List:
        if (m_listDraftId != 0)
            m_lists[m_listDraftId] = m_listDraftLevels;
        m_listDraftLevels.clear();
        m_listDraftId = 0;
        break;
    case Owner::Override:
        if (m_overrideDraftLs != 0)
            m_overrides[m_overrideDraftLs] = m_overrideDraftList;
        m_overrideDraftLs = m_overrideDraftList = 0;
        break;
    case Owner::None: break;
    }
    if (m_stack.size() == 1)
        m_ended = true;  // the document's group closed; what follows is not RTF
}

bool Parser::consumeSkip()
{
    if (m_skip <= 0)
        return false;
    --m_skip;
    return true;
}

int Parser::codePage() const
{
    const CharState& s = m_stack.back().chars;
    auto it = m_fonts.find(s.font);
    if (it != m_fonts.end() && it->second.codePage)
        return *it->second.codePage;
    return m_ansiCodePage;
}

void Parser::textByte(unsigned char b)
{
    if (m_overflow > 0)
        return;  // inside groups nested beyond the limit
    State& s = top();
    switch (s.dest) {
    case Dest::Text:
        if (skipFallbackByte(b))
            return;
        if (b == '\t')
            appendText(QChar('\t'));
        else if (b >= 0x20)
            appendTextByte(b);
        return;
    case Dest::FontTable:
        if (consumeSkip())
            return;
        if (b == ';')
            controlSymbol(';');
        else if (b >= 0x20)
            m_fontDraftName.append(char(b));
        return;
    case Dest::ColorTable:
        if (b == ';')
            controlSymbol(';');
        return;
    case Dest::Pict:
    case Dest::ObjData: {
        int v = -1;
        if (b >= '0' && b <= '9') v = b - '0';
        else if (b >= 'a' && b <= 'f') v = b - 'a' + 10;
        else if (b >= 'A' && b <= 'F') v = b - 'A' + 10;
        if (v < 0)
            return;
        int& high = s.dest == Dest::Pict ? m_picture.hexHigh : m_object.hexHigh;
        QByteArray& data = s.dest == Dest::Pict ? m_picture.data : m_object.data;
        if (high < 0) {
            high = v;
        } else {
            data.append(char(high * 16 + v));
            high = -1;
        }
        return;
    }
    case Dest::ObjClass:
        if (b >= 0x20)
            m_objClassBytes.append(char(b));
        return;
    default: return;
    }
}

// A byte of the fallback after \u: one character, which in a double-byte
// code page may be two bytes.
bool Parser::skipFallbackByte(unsigned char b)
{
    if (m_skipTrailByte) {
        m_skipTrailByte = false;
        return true;
    }
    if (consumeSkip()) {
        m_skipTrailByte = CodePage::isLeadByte(codePage(), b);
        return true;
    }
    return false;
}

// A byte of text, decoded later in the code page of its run.
void Parser::appendTextByte(unsigned char b)
{
    const int cp = codePage();
    if (!m_bytes.isEmpty() && cp != m_bytesCodePage)
        flushBytes();
    if (m_bytes.isEmpty()) {
        // Text is appended under the current format; a new format flushes what came before.
        if (!m_text.isEmpty() && !(m_textState == top().chars))
            flushText();
        m_textState = top().chars;
        m_bytesCodePage = cp;
    }
    m_bytes.append(char(b));
}

void Parser::hexByte(unsigned char b)
{
    if (m_overflow > 0)
        return;
    State& s = top();
    if (s.dest == Dest::Text) {
        if (!skipFallbackByte(b))
            appendTextByte(b);
    } else if (s.dest == Dest::FontTable) {
        if (!consumeSkip())
            m_fontDraftName.append(char(b));
    } else if (s.dest == Dest::ObjClass) {
        m_objClassBytes.append(char(b));
    }
}

void Parser::flushBytes()
{
    if (m_bytes.isEmpty())
        return;
    CodePage::decode(m_bytesCodePage, m_bytes.constData(), int(m_bytes.size()), m_text);
    m_bytes.clear();
}

void Parser::appendText(QChar c)
{
    flushBytes();
    const CharState& s = top().chars;
    if (!m_text.isEmpty() && !(m_textState == s))
        flushText();
    m_textState = s;
    m_text.append(c);
}

void Parser::flushText()
{
    flushBytes();
    if (m_text.isEmpty())
        return;
    beginContent();
    m_cursor.insertText(m_text, charFormat(m_textState));
    m_text.clear();
    m_blockHasContent = true;
}

void Parser::beginContent()
{
    if (m_pendingBlock) {
        // A new paragraph of a whole document starts from nothing: inheriting
        // the previous one's list would make every item cost a pass over it.
        if (m_whole)
            m_cursor.insertBlock(QTextBlockFormat());
        else
            m_cursor.insertBlock();
        m_pendingBlock = false;
        m_blockHasContent = false;
    }
    if (m_pendingCellTab) {
        m_pendingCellTab = false;
        m_cursor.insertText(QStringLiteral("\t"), charFormat(m_textState));
    }
}

void Parser::endParagraph()
{
    m_pendingCellTab = false;  // the row's last cell ends with the paragraph
    flushText();
    beginContent();
    applyParagraph();
    m_pendingBlock = true;
}

QTextCharFormat Parser::charFormat(const CharState& s)
{
    if (m_haveFormat && m_formatState == s)
        return m_format;
    QTextCharFormat f;
    auto font = m_fonts.find(s.font);
    if (font != m_fonts.end() && !font->second.name.isEmpty())
        f.setFontFamilies(QStringList{font->second.name});
    if (s.halfPoints > 0)
        f.setFontPointSize(s.halfPoints / 2.0);
    f.setFontWeight(s.bold ? QFont::Bold : QFont::Normal);
    f.setFontItalic(s.italic);
    f.setFontUnderline(s.underline);
    f.setFontStrikeOut(s.strike);
    // An entry without red, green or blue is the automatic colour: no colour of its own.
    if (s.foreground >= 0 && s.foreground < int(m_colors.size()) && m_colors[std::size_t(s.foreground)].isValid())
        f.setForeground(m_colors[std::size_t(s.foreground)]);
    if (s.background >= 0 && s.background < int(m_colors.size()) && m_colors[std::size_t(s.background)].isValid())
        f.setBackground(m_colors[std::size_t(s.background)]);
    m_format = f;
    m_formatState = s;
    m_haveFormat = true;
    return f;
}

int Parser::listStyle(const ParaState& p) const
{
    if (p.listOverride == 0)
        return p.numbering;
    auto ov = m_overrides.find(p.listOverride);
    const std::vector<int>* levels = nullptr;
    if (ov != m_overrides.end()) {
        auto list = m_lists.find(ov->second);
        if (list != m_lists.end())
            levels = &list->second;
    }
    if (!levels || levels->empty())
        return QTextListFormat::ListDisc;
    const int nfc = (*levels)[std::size_t(std::clamp(p.listLevel, 0, int(levels->size()) - 1))];
    switch (nfc) {
    case 23: return QTextListFormat::ListDisc;
    case 255: return 0;
    case 1: return QTextListFormat::ListUpperRoman;
    case 2: return QTextListFormat::ListLowerRoman;
    case 3: return QTextListFormat::ListUpperAlpha;
    case 4: return QTextListFormat::ListLowerAlpha;
    default: return QTextListFormat::ListDecimal;
    }
}

QTextBlockFormat Parser::blockFormat(const ParaState& p) const
{
    QTextBlockFormat f;
    f.setAlignment(DocumentUnits::alignment(p.align));
    f.setLeftMargin(twipsToPixels(p.left));
    f.setRightMargin(twipsToPixels(p.right));
    f.setTopMargin(twipsToPixels(p.before));
    f.setBottomMargin(twipsToPixels(p.after));
    if (listStyle(p) != 0) {
        f.setTextIndent(0);
        f.setProperty(DocumentUnits::ListFirstIndent, p.first);
    } else {
        f.setTextIndent(twipsToPixels(p.first));
    }
    if (p.lineMultiple && p.lineSpacing > 0)
        f.setLineHeight(p.lineSpacing * 100.0 / 240.0, QTextBlockFormat::ProportionalHeight);
    else if (p.lineSpacing > 0)
        f.setLineHeight(twipsToPixels(p.lineSpacing), QTextBlockFormat::MinimumHeight);
    else if (p.lineSpacing < 0)
        f.setLineHeight(twipsToPixels(-p.lineSpacing), QTextBlockFormat::FixedHeight);
    if (!p.tabs.empty()) {
        QList<QTextOption::Tab> tabs;
        for (int t : p.tabs)
            tabs.append(QTextOption::Tab(twipsToPixels(t), QTextOption::LeftTab));
        f.setTabPositions(tabs);
    }
    if (p.pageBreakBefore)
        f.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    return f;
}

void Parser::applyParagraph()
{
    const ParaState& p = top().para;
    QTextBlockFormat f = blockFormat(p);
    if (m_pageBreakNext) {
        f.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        m_pageBreakNext = false;
    }
    m_cursor.setBlockFormat(f);
    QTextBlock block = m_cursor.block();
    if (block.length() <= 1)
        m_cursor.setBlockCharFormat(charFormat(top().chars));
    const int style = listStyle(p);
    if (style != 0) {
        QTextBlock previous = block.previous();
        QTextList* list = previous.isValid() ? previous.textList() : nullptr;
        if (list && list->format().style() == QTextListFormat::Style(style) && list->count() < maxListItems) {
            list->add(block);
        } else {
            QTextListFormat lf;
            lf.setStyle(QTextListFormat::Style(style));
            lf.setIndent(0);
            m_cursor.createList(lf);
        }
    }
}

void Parser::insertObjectCharacter(QTextImageFormat format)
{
    flushText();
    beginContent();
    // The picture carries the character format around it, as text would.
    format.merge(charFormat(top().chars));
    m_cursor.insertImage(format);
    m_blockHasContent = true;
}

void Parser::finishPicture()
{
    m_inPicture = false;
    Picture pic = std::move(m_picture);
    m_picture = Picture{};
    QTextImageFormat f;
    QImage image;
    if (pic.kind == QLatin1String("png") || pic.kind == QLatin1String("jpeg")) {
        QBuffer buffer(&pic.data);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer, pic.kind == QLatin1String("png") ? "png" : "jpeg");
        reader.setAutoTransform(false);
        image = reader.read();
    }
    // Display size: the goal size in twips, scaled; else the stored size.
    int widthTwips = pic.goalw > 0 ? pic.goalw : 0;
    int heightTwips = pic.goalh > 0 ? pic.goalh : 0;
    if (widthTwips == 0)
        widthTwips = !image.isNull() ? image.width() * DocumentUnits::twipsPerPixel
                                     : (pic.kind == QLatin1String("png") || pic.kind == QLatin1String("jpeg")
                                            ? pic.picw * DocumentUnits::twipsPerPixel
                                            : int(pic.picw * 1440LL / 2540));
    if (heightTwips == 0)
        heightTwips = !image.isNull() ? image.height() * DocumentUnits::twipsPerPixel
                                      : (pic.kind == QLatin1String("png") || pic.kind == QLatin1String("jpeg")
                                             ? pic.pich * DocumentUnits::twipsPerPixel
                                             : int(pic.pich * 1440LL / 2540));
    // Scales are percentages; writers use well over 1000 for small bitmaps.
    widthTwips = int(std::clamp<long long>(widthTwips * (long long)std::clamp(pic.scalex, 1, 100000) / 100, 0, maxTwips));
    heightTwips = int(std::clamp<long long>(heightTwips * (long long)std::clamp(pic.scaley, 1, 100000) / 100, 0, maxTwips));
    const QString name = QStringLiteral("rtfpicture:%1").arg(pictureSerial.fetchAndAddRelaxed(1));
    if (!image.isNull())
        m_cursor.document()->addResource(QTextDocument::ImageResource, QUrl(name), image);
    f.setName(name);
    f.setWidth(twipsToPixels(widthTwips));
    f.setHeight(twipsToPixels(heightTwips));
    f.setProperty(DocumentUnits::PictureData, pic.data);
    f.setProperty(DocumentUnits::PictureKind, pic.kind);
    f.setProperty(DocumentUnits::PicturePixelWidth, pic.picw);
    f.setProperty(DocumentUnits::PicturePixelHeight, pic.pich);
    if (m_objectDepth > 0) {
        if (m_object.pictured)
            return;  // an object shows one picture; later ones are alternatives
        m_object.pictured = true;
        f.setProperty(DocumentUnits::ObjectClass, m_object.className);
        f.setProperty(DocumentUnits::ObjectData, m_object.data);
        if (!m_object.fileName.isEmpty())
            f.setProperty(DocumentUnits::ObjectFileName, m_object.fileName);
    }
    insertObjectCharacter(f);
}

void Parser::finishObject()
{
    --m_objectDepth;
    if (m_objectDepth > 0)
        return;
    Object obj = std::move(m_object);
    m_object = Object{};
    if (obj.pictured)
        return;
    // An object without a result picture keeps its place and its data as a box.
    QTextImageFormat f;
    f.setName(QStringLiteral("rtfpicture:%1").arg(pictureSerial.fetchAndAddRelaxed(1)));
    f.setWidth(twipsToPixels(std::clamp(obj.width, 0, maxTwips)));
    f.setHeight(twipsToPixels(std::clamp(obj.height, 0, maxTwips)));
    f.setProperty(DocumentUnits::ObjectClass, obj.className);
    f.setProperty(DocumentUnits::ObjectData, obj.data);
    if (!obj.fileName.isEmpty())
        f.setProperty(DocumentUnits::ObjectFileName, obj.fileName);
    insertObjectCharacter(f);
}

void Parser::controlSymbol(char c)
{
    if (m_overflow > 0)
        return;
    State& s = top();
    if (c == '*') {
        m_optionalNext = true;
        return;
    }
    if (s.dest == Dest::FontTable && c == ';') {
        if (m_fontDraftNumber >= 0) {
            Font font;
            font.codePage = m_fontDraftCpg ? m_fontDraftCpg
                                           : (m_fontDraftCharset ? CodePage::forCharset(*m_fontDraftCharset)
                                                                 : std::nullopt);
            const int cp = font.codePage.value_or(m_ansiCodePage);
            QString name = m_fontDraftText;
            CodePage::decode(cp, m_fontDraftName.constData(), int(m_fontDraftName.size()), name);
            font.name = RtfName::clean(name);
            m_fonts[m_fontDraftNumber] = font;
        }
        m_fontDraftNumber = -1;
        m_fontDraftName.clear();
        m_fontDraftText.clear();
        m_fontDraftCharset.reset();
        m_fontDraftCpg.reset();
        return;
    }
    if (s.dest == Dest::ColorTable && c == ';') {
        m_colors.push_back(m_colorSet ? QColor(m_red, m_green, m_blue) : QColor());
        m_red = m_green = m_blue = 0;
        m_colorSet = false;
        return;
    }
    if (s.dest == Dest::FontTable || s.dest == Dest::ObjClass) {
        if (c == '\\' || c == '{' || c == '}')
            (s.dest == Dest::FontTable ? m_fontDraftName : m_objClassBytes).append(c);
        return;
    }
    if (s.dest != Dest::Text)
        return;
    if (m_skipTrailByte)
        m_skipTrailByte = false;
    if (consumeSkip())
        return;
    switch (c) {
    case '\\':
    case '{':
    case '}':
        appendText(QChar(c));
        break;
    case '~': appendText(QChar(0x00A0)); break;
    case '-': appendText(QChar(0x00AD)); break;
    case '_': appendText(QChar(0x2011)); break;
    case '\t': appendText(QChar('\t')); break;
    case '\n':
    case '\r': endParagraph(); break;  // a backslash before a line end is a \par
    default: break;
    }
}

void Parser::controlWord(std::string_view name, bool hasParam, long long param)
{
    const bool optional = m_optionalNext;
    m_optionalNext = false;
    auto found = words().find(name);
    const WordInfo info = found == words().end() ? WordInfo{Word::Unknown} : found->second;
    State& s = top();
    const int p = int(param);
    const bool on = !hasParam || param != 0;

    if (info.word == Word::Bin) {
        // Binary data: its bytes are no RTF, whatever destination holds them.
        const qsizetype n = std::clamp<qsizetype>(hasParam ? qsizetype(param) : 0, 0, m_size - m_pos);
        if (s.dest == Dest::Pict)
            m_picture.data.append(m_data + m_pos, n);
        else if (s.dest == Dest::ObjData)
            m_object.data.append(m_data + m_pos, n);
        m_pos += n;
        return;
    }
    if (s.dest == Dest::Skip || m_overflow > 0)
        return;
    if (optional && (info.word == Word::Unknown || s.dest != Dest::Text)) {
        // An optional destination this reader does not know: drop it.
        if (s.dest != Dest::ListTable && s.dest != Dest::OverrideTable)
            flushText();
        s.dest = Dest::Skip;
        return;
    }
    if (s.dest == Dest::Text && m_skip > 0 && info.word != Word::Unknown && info.word != Word::Par) {
        // A control word stands for one character of an \u fallback.
        if (info.word == Word::Char || info.word == Word::Tab || info.word == Word::Line) {
            --m_skip;
            return;
        }
    }
    flushBytes();

    switch (info.word) {
    case Word::Unknown: return;
    // --- destinations
    case Word::Rtf: return;
    case Word::FontTbl: s.dest = Dest::FontTable; return;
    case Word::ColorTbl: s.dest = Dest::ColorTable; m_colors.clear(); return;
    case Word::ListTable: s.dest = Dest::ListTable; return;
    case Word::ListOverrideTable: s.dest = Dest::OverrideTable; return;
    case Word::List:
        if (s.dest == Dest::ListTable) {
            s.owner = Owner::List;
            m_listDraftLevels.clear();
            m_listDraftId = 0;
        }
        return;
    case Word::ListLevel:
        if (s.dest == Dest::ListTable) {
            s.owner = Owner::ListLevel;
            m_listDraftLevels.push_back(0);
        }
        return;
    case Word::ListOverride:
        if (s.dest == Dest::OverrideTable) {
            s.owner = Owner::Override;
            m_overrideDraftLs = m_overrideDraftList = 0;
        }
        return;
    case Word::ListId:
        if (s.dest == Dest::ListTable)
            m_listDraftId = p;
        else if (s.dest == Dest::OverrideTable)
            m_overrideDraftList = p;
        return;
    case Word::LevelNfc:
        if (s.dest == Dest::ListTable && !m_listDraftLevels.empty())
            m_listDraftLevels.back() = p;
        return;
    case Word::Pict:
        if (s.dest != Dest::Text || m_inPicture)
            return;
        flushText();
        s.dest = Dest::Pict;
        s.owner = Owner::Pict;
        m_inPicture = true;
        m_picture = Picture{};
        return;
    case Word::Object:
        if (s.dest != Dest::Text)
            return;
        flushText();
        s.owner = Owner::Object;
        if (m_objectDepth++ == 0)
            m_object = Object{};
        return;
    case Word::ObjClass:
    case Word::ObjName:
        if (m_objectDepth > 0) {
            s.dest = Dest::ObjClass;
            m_objClassBytes.clear();
            s.owner = info.word == Word::ObjClass ? Owner::ObjClass : Owner::ObjName;
        } else {
            s.dest = Dest::Skip;
        }
        return;
    case Word::ObjData:
        s.dest = m_objectDepth > 0 ? Dest::ObjData : Dest::Skip;
        return;
    case Word::Result:
    case Word::Field:
    case Word::FldRslt:
    case Word::ShpPict:
        return;  // their text is the document's
    case Word::Pn:
        if (s.dest == Dest::Text) {
            s.dest = Dest::Pn;
            s.owner = Owner::Pn;
            s.para.numbering = QTextListFormat::ListDisc;
        }
        return;
    case Word::SkipDest:
        if (s.dest == Dest::Text)
            flushText();
        s.dest = Dest::Skip;
        return;
    // --- document
    case Word::Ansi: m_ansiCodePage = 1252; return;
    case Word::Mac: m_ansiCodePage = 10000; return;
    case Word::Pc: m_ansiCodePage = 437; return;
    case Word::Pca: m_ansiCodePage = 850; return;
    case Word::AnsiCpg:
        if (hasParam && p > 0)
            m_ansiCodePage = p;
        return;
    case Word::Deff:
        m_defaultFont = p;
        return;
    case Word::Uc: s.unicodeSkip = std::clamp(p, 0, 10); return;
    case Word::U:
        if (s.dest == Dest::ObjClass) {
            // Class names are plain identifiers; keep the fallback instead.
            return;
        }
        if (s.dest == Dest::Text || s.dest == Dest::FontTable) {
            int v = std::clamp(p, -32768, 65535);
            if (v < 0)
                v += 65536;
            if (s.dest == Dest::FontTable) {
                // The bytes before it are in the font's code page; decode them first.
                const std::optional<int> cp = m_fontDraftCpg ? m_fontDraftCpg
                                                             : (m_fontDraftCharset ? CodePage::forCharset(*m_fontDraftCharset)
                                                                                   : std::nullopt);
                CodePage::decode(cp.value_or(m_ansiCodePage), m_fontDraftName.constData(),
                                 int(m_fontDraftName.size()), m_fontDraftText);
                m_fontDraftName.clear();
                if (v != 0)
                    m_fontDraftText.append(QChar(char16_t(v)));
            } else if (v != 0) {
                appendText(QChar(char16_t(v)));
            }
            m_skip = s.unicodeSkip;
        }
        return;
    // --- fonts and colours
    case Word::F:
        if (s.dest == Dest::FontTable) {
            if (m_fontDraftNumber >= 0 && (!m_fontDraftName.isEmpty() || !m_fontDraftText.isEmpty()))
                controlSymbol(';');
            m_fontDraftNumber = p;
            m_fontDraftName.clear();
            m_fontDraftText.clear();
            m_fontDraftCharset.reset();
            m_fontDraftCpg.reset();
            s.owner = Owner::FontEntry;
        } else if (s.dest == Dest::Text || s.dest == Dest::Pn) {
            s.chars.font = p;
        }
        return;
    case Word::FCharset:
        if (s.dest == Dest::FontTable)
            m_fontDraftCharset = p;
        return;
    case Word::Cpg:
        if (s.dest == Dest::FontTable && p > 0)
            m_fontDraftCpg = p;
        return;
    case Word::Red: m_red = std::clamp(p, 0, 255); m_colorSet = true; return;
    case Word::Green: m_green = std::clamp(p, 0, 255); m_colorSet = true; return;
    case Word::Blue: m_blue = std::clamp(p, 0, 255); m_colorSet = true; return;
    default: break;
    }

    if (s.dest == Dest::Pict) {
        switch (info.word) {
        case Word::PngBlip: m_picture.kind = QStringLiteral("png"); break;
        case Word::JpegBlip: m_picture.kind = QStringLiteral("jpeg"); break;
        case Word::WmetaFile: m_picture.kind = QStringLiteral("wmf"); break;
        case Word::EmfBlip: m_picture.kind = QStringLiteral("emf"); break;
        case Word::DibItmap: m_picture.kind = QStringLiteral("dib"); break;
        case Word::WbItmap: m_picture.kind = QStringLiteral("bmp"); break;
        case Word::MacPict: m_picture.kind = QStringLiteral("pict"); break;
        case Word::PicW: m_picture.picw = std::clamp(p, 0, maxTwips); break;
        case Word::PicH: m_picture.pich = std::clamp(p, 0, maxTwips); break;
        case Word::PicWGoal: m_picture.goalw = std::clamp(p, 0, maxTwips); break;
        case Word::PicHGoal: m_picture.goalh = std::clamp(p, 0, maxTwips); break;
        case Word::PicScaleX: m_picture.scalex = p; break;
        case Word::PicScaleY: m_picture.scaley = p; break;
        default: break;
        }
        return;
    }
    if (info.word == Word::ObjW || info.word == Word::ObjH) {
        if (m_objectDepth > 0)
            (info.word == Word::ObjW ? m_object.width : m_object.height) = std::clamp(p, 0, maxTwips);
        return;
    }
    if (s.dest == Dest::OverrideTable) {
        if (info.word == Word::Ls)
            m_overrideDraftLs = p;
        return;
    }
    if (s.dest == Dest::Pn) {
        switch (info.word) {
        case Word::PnLvlBlt: s.para.numbering = QTextListFormat::ListDisc; break;
        case Word::PnLvlBody:
        case Word::PnDec: s.para.numbering = QTextListFormat::ListDecimal; break;
        case Word::PnLcLtr: s.para.numbering = QTextListFormat::ListLowerAlpha; break;
        case Word::PnUcLtr: s.para.numbering = QTextListFormat::ListUpperAlpha; break;
        case Word::PnLcRm: s.para.numbering = QTextListFormat::ListLowerRoman; break;
        case Word::PnUcRm: s.para.numbering = QTextListFormat::ListUpperRoman; break;
        default: break;
        }
        return;
    }
    if (s.dest != Dest::Text)
        return;

    CharState& c = s.chars;
    ParaState& para = s.para;
    switch (info.word) {
    case Word::Plain: c = CharState{}; c.font = m_defaultFont; return;
    case Word::B: c.bold = on; return;
    case Word::I: c.italic = on; return;
    case Word::Ul: c.underline = on; return;
    case Word::UlNone: c.underline = false; return;
    case Word::Strike: c.strike = on; return;
    case Word::Fs: c.halfPoints = hasParam ? std::clamp(p, 0, 3276) : 24; return;
    case Word::Cf: c.foreground = std::clamp(p, 0, 65535); return;
    case Word::Cb:
    case Word::Highlight: c.background = std::clamp(p, 0, 65535); return;
    case Word::Pard: {
        para = ParaState{};
        return;
    }
    case Word::Ql: para.align = 0; return;
    case Word::Qr: para.align = 1; return;
    case Word::Qc: para.align = 2; return;
    case Word::Qj: para.align = 3; return;
    case Word::Li: para.left = clampTwips(p); return;
    case Word::Ri: para.right = clampTwips(p); return;
    case Word::Fi: para.first = clampTwips(p); return;
    case Word::Sb: para.before = std::clamp(p, 0, maxTwips); return;
    case Word::Sa: para.after = std::clamp(p, 0, maxTwips); return;
    case Word::Sl: para.lineSpacing = hasParam ? clampTwips(p) : 0; return;
    case Word::SlMult: para.lineMultiple = on; return;
    case Word::Tx:
    case Word::Tb:
        if (int(para.tabs.size()) < maxTabs) {
            const int t = std::clamp(p, 0, maxTwips);
            auto at = std::lower_bound(para.tabs.begin(), para.tabs.end(), t);
            if (at == para.tabs.end() || *at != t)
                para.tabs.insert(at, t);
        }
        return;
    case Word::PageBb: para.pageBreakBefore = on; return;
    case Word::Ls: para.listOverride = p; para.numbering = QTextListFormat::ListDisc; return;
    case Word::Ilvl: para.listLevel = std::clamp(p, 0, 8); return;
    case Word::Par:
    case Word::Sect:
    case Word::Row:
        if (consumeSkip())
            return;
        endParagraph();
        return;
    case Word::Page:
        // A page break starts the next paragraph on a new page; right after a
        // paragraph end it makes no paragraph of its own.
        flushText();
        if (!m_pendingBlock)
            endParagraph();
        m_pageBreakNext = true;
        return;
    case Word::Line: appendText(QChar(QChar::LineSeparator)); return;
    case Word::Tab: appendText(QChar('\t')); return;
    case Word::Cell:
        flushText();
        beginContent();
        m_pendingCellTab = true;
        return;
    case Word::Char: appendText(QChar(info.character)); return;
    default: return;
    }
}

}  // namespace

bool RtfReader::looksLikeRtf(const QByteArray& bytes)
{
    qsizetype i = 0;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        i = 3;
    while (i < bytes.size() && (bytes[i] == ' ' || bytes[i] == '\t' || bytes[i] == '\r' || bytes[i] == '\n'))
        ++i;
    return bytes.mid(i, 5) == "{\\rtf";
}

void RtfReader::readDocument(const QByteArray& bytes, QTextDocument& document)
{
    if (!looksLikeRtf(bytes))
        throw RtfReadError("the data is not RTF");
    // A new whole content starts a new history: recording every insertion
    // for undo would only cost time and memory.
    const bool undo = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);
    document.clear();
    QTextCursor cursor(&document);
    cursor.beginEditBlock();
    Parser(cursor, true).run(bytes);
    cursor.endEditBlock();
    document.setUndoRedoEnabled(undo);
}

void RtfReader::readInto(const QByteArray& bytes, QTextCursor& cursor)
{
    if (!looksLikeRtf(bytes))
        throw RtfReadError("the data is not RTF");
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    Parser(cursor, false).run(bytes);
    cursor.endEditBlock();
}
