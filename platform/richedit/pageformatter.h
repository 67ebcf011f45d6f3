#pragma once
// Cuts a document into pages for a device: the text is laid out at the
// device's resolution in the page's width, and a page holds the whole lines
// that fit in its height from a given position on. A paragraph that must
// start a page ends the page before it.
//
// The layout is kept between calls while the document, the width and the
// device stay the same, so stepping through a document page by page lays it
// out once.

#include <QRect>

#include <memory>

class QPainter;
class QPaintDevice;
class QTextDocument;

class PageFormatter {
public:
    explicit PageFormatter(const QTextDocument& document);
    ~PageFormatter();

    // See RichEdit::formatRange.
    int formatRange(QPaintDevice* device, QPainter* painter, const QRect& pageTwips, int start);

private:
    void prepare(QPaintDevice* device, double width);

    const QTextDocument& m_document;
    std::unique_ptr<QTextDocument> m_layout;
    int m_revision = -1;
    double m_width = -1;
    QPaintDevice* m_device = nullptr;
    int m_dpiX = 0;
    int m_dpiY = 0;
};
