#include "platform/ui/updown.h"

#include "platform/ui/guard.h"
#include "platform/ui/panel.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <QTimer>

#include <algorithm>

namespace {

// The first repeat comes later than the following ones, as with a held key.
constexpr int kFirstRepeatMs = 400;
constexpr int kRepeatMs = 100;

}  // namespace

UpDown::UpDown(QWidget* parent) : QWidget(parent), m_repeat(new QTimer(this))
{
    setFocusPolicy(Qt::NoFocus);
    connectGuarded(m_repeat, &QTimer::timeout, this, [this] { repeatStep(); });
}

int UpDown::clamp(long long value) const
{
    const long long lo = std::min(m_min, m_max);
    const long long hi = std::max(m_min, m_max);
    return int(std::clamp(value, lo, hi));
}

void UpDown::setMin(int min)
{
    m_min = min;
    setPosition(m_position);
}

void UpDown::setMax(int max)
{
    m_max = max;
    setPosition(m_position);
}

void UpDown::setIncrement(int increment) { m_increment = increment; }

void UpDown::setPosition(int position)
{
    const int p = clamp(position);
    const bool changed = p != m_position;
    m_position = p;
    writeAssociate();
    if (changed)
        emit positionChanged(m_position);
}

void UpDown::setAssociate(QLineEdit* edit)
{
    if (m_associate)
        m_associate->removeEventFilter(this);
    m_associate = edit;
    if (m_associate) {
        m_associate->installEventFilter(this);
        connect(m_associate, &QObject::destroyed, this, [this] { m_associate = nullptr; });
    }
    writeAssociate();
}

void UpDown::writeAssociate()
{
    const QString text = QString::number(m_position);
    if (m_associate && m_associate->text() != text)
        m_associate->setText(text);
}

void UpDown::step(int count)
{
    long long from = m_position;
    if (m_associate) {
        bool ok = false;
        const int typed = m_associate->text().trimmed().toInt(&ok);
        if (ok)
            from = clamp(typed);
    }
    // In 64 bits: a large increment near the ends must stop at the end, not
    // wrap round to the other one.
    const int p = clamp(from + static_cast<long long>(m_increment) * count);
    const bool changed = p != m_position;
    m_position = p;
    writeAssociate();
    if (changed)
        emit positionChanged(m_position);
}

void UpDown::repeatStep()
{
    if (m_pressed == 0 || !isEnabled()) {
        m_repeat->stop();
        return;
    }
    m_repeat->setInterval(kRepeatMs);
    step(m_pressed);
}

void UpDown::mousePressEvent(QMouseEvent* event)
{
    guarded([&] {
        if (event->button() != Qt::LeftButton)
            return;
        m_pressed = event->position().y() < height() / 2.0 ? 1 : -1;
        update();
        step(m_pressed);
        m_repeat->start(kFirstRepeatMs);
    });
}

void UpDown::mouseReleaseEvent(QMouseEvent* event)
{
    guarded([&] {
        if (event->button() != Qt::LeftButton)
            return;
        m_pressed = 0;
        m_repeat->stop();
        update();
    });
}

bool UpDown::eventFilter(QObject* watched, QEvent* event)
{
    bool consumed = false;
    guarded([&] {
        if (watched != m_associate || event->type() != QEvent::KeyPress || !isEnabled())
            return;
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            step(key == Qt::Key_Up ? 1 : -1);
            consumed = true;
        }
    });
    return consumed;
}

void UpDown::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const int half = height() / 2;
    const QRect halves[2] = {QRect(0, 0, width(), half), QRect(0, half, width(), height() - half)};
    for (int i = 0; i < 2; ++i) {
        const bool down = m_pressed == (i == 0 ? 1 : -1);
        painter.fillRect(halves[i], palette().color(QPalette::Button));
        QRect r = drawBevel(painter, halves[i], down ? BevelCut::bvLowered : BevelCut::bvRaised, palette());
        QStyleOption arrow;
        arrow.initFrom(this);
        arrow.rect = r.adjusted(2, 1, -2, -1).translated(down ? 1 : 0, down ? 1 : 0);
        style()->drawPrimitive(i == 0 ? QStyle::PE_IndicatorArrowUp : QStyle::PE_IndicatorArrowDown, &arrow,
                               &painter, this);
    }
}
