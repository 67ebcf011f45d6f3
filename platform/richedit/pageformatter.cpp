#include "platform/richedit/pageformatter.h"

#include <QAbstractTextDocumentLayout>
#include <QPaintDevice>
#include <QPainter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

PageFormatter::PageFormatter(const QTextDocument& document) : m_document(document) {}

PageFormatter::~PageFormatter() = default;

void PageFormatter::prepare(QPaintDevice* device, double width)
{
    if (m_layout && m_revision == m_document.revision() && m_width == width && m_device == device &&
        m_dpiX == device->logicalDpiX() && m_dpiY == device->logicalDpiY())
        return;
    m_layout.reset(m_document.clone());
    m_layout->documentLayout()->setPaintDevice(device);
    m_layout->setDocumentMargin(0);
    m_layout->setTextWidth(width);
    (void)m_layout->size();  // lays the whole text out now
    m_revision = m_document.revision();
    m_width = width;
    m_device = device;
    m_dpiX = device->logicalDpiX();
    m_dpiY = device->logicalDpiY();
}

int PageFormatter::formatRange(QPaintDevice* device, QPainter* painter, const QRect& pageTwips, int start)
{
    const int length = std::max(0, m_document.characterCount() - 1);
    if (!device || start >= length || pageTwips.width() <= 0 || pageTwips.height() <= 0)
        return length;
    start = std::max(0, start);
    // The layout works in device pixels: the document's own lengths are
    // scaled to the device's resolution when it lays out for it.
    const double width = pageTwips.width() * device->logicalDpiX() / 1440.0;
    const double height = pageTwips.height() * device->logicalDpiY() / 1440.0;
    prepare(device, width);

    // Walk the lines from the one holding `start`.
    QTextBlock block = m_layout->findBlock(start);
    double top = -1;
    double bottom = 0;
    int next = length;
    bool stopped = false;
    for (; block.isValid() && !stopped; block = block.next()) {
        QTextLayout* layout = block.layout();
        const double blockY = layout->position().y();
        const bool breakBefore = block.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore;
        for (int i = 0; i < layout->lineCount(); ++i) {
            const QTextLine line = layout->lineAt(i);
            const int lineStart = block.position() + line.textStart();
            const int lineEnd = lineStart + line.textLength();
            if (lineEnd <= start && lineStart != start)
                continue;  // before the page
            const double lineTop = blockY + line.y();
            const double lineBottom = lineTop + line.height();
            if (top < 0) {
                top = lineTop;
                bottom = lineBottom;  // a page takes at least one line
                continue;
            }
            if ((i == 0 && breakBefore) || lineBottom - top > height) {
                next = lineStart;
                stopped = true;
                break;
            }
            bottom = lineBottom;
        }
    }
    if (painter && top >= 0) {
        painter->save();
        painter->translate(pageTwips.left() * device->logicalDpiX() / 1440.0,
                           pageTwips.top() * device->logicalDpiY() / 1440.0 - top);
        // The layout draws every paragraph that touches the clip, and the
        // lines next to the page touch it at its edges; half a device pixel
        // in keeps them off this page (a PDF would carry their text).
        m_layout->drawContents(painter, QRectF(0, top + 0.5, width, std::max(0.0, bottom - top - 1)));
        painter->restore();
    }
    return next;
}
