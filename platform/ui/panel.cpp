#include "platform/ui/panel.h"

#include <QPainter>

QRect drawBevel(QPainter& painter, QRect r, BevelCut cut, const QPalette& palette)
{
    if (cut == BevelCut::bvNone)
        return r;
    const QColor topLeft = cut == BevelCut::bvRaised ? palette.color(QPalette::Light) : palette.color(QPalette::Dark);
    const QColor bottomRight = cut == BevelCut::bvRaised ? palette.color(QPalette::Dark) : palette.color(QPalette::Light);
    painter.setPen(topLeft);
    painter.drawLine(r.topLeft(), r.topRight());
    painter.drawLine(r.topLeft(), r.bottomLeft());
    painter.setPen(bottomRight);
    painter.drawLine(r.bottomLeft(), r.bottomRight());
    painter.drawLine(r.topRight(), r.bottomRight());
    return r.adjusted(1, 1, -1, -1);
}

Panel::Panel(QWidget* parent) : QWidget(parent)
{
    setAutoFillBackground(true);
}

void Panel::setBevelOuter(BevelCut cut)
{
    m_outer = cut;
    update();
}

void Panel::setBevelInner(BevelCut cut)
{
    m_inner = cut;
    update();
}

void Panel::setCaption(const QString& caption)
{
    m_caption = caption;
    update();
}

void Panel::setCaptionVisible(bool visible)
{
    m_captionVisible = visible;
    update();
}

void Panel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QRect r = drawBevel(painter, rect(), m_outer, palette());
    r = drawBevel(painter, r, m_inner, palette());
    if (m_captionVisible && !m_caption.isEmpty()) {
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(r, Qt::AlignCenter, m_caption);
    }
}
