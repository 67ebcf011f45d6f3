#include "memorize/painelespera.h"

#include "platform/exception.h"
#include "platform/ui/panel.h"

#include <QCoreApplication>
#include <QFont>
#include <QPalette>
#include <QWidget>

#include <algorithm>

namespace {

const QString kFrameName = QStringLiteral("PainelDisplay");
const QString kMessageName = QStringLiteral("PainelDisplay1");
constexpr int kDefaultWidth = 240;
constexpr int kFrameHeight = 48;
constexpr int kMessageHeight = 41;
constexpr int kMargin = 3;

Panel* ownedPanel(QWidget* window, const QString& name)
{
    return window->findChild<Panel*>(name, Qt::FindDirectChildrenOnly);
}

// Half of `twice`, a half going away from zero (613 gives 307, -5 gives -3).
int halfAwayFromZero(long long twice)
{
    return int(twice >= 0 ? (twice + 1) / 2 : -((-twice + 1) / 2));
}

void setFill(QWidget* panel, const QColor& colour)
{
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, colour);
    panel->setPalette(palette);
}

}  // namespace

QRect overlayFrameGeometry(QSize outer, int width)
{
    const int w = width == 0 ? kDefaultWidth : width;
    // H / 2 - 48 and B / 2 - w / 2, each taken as a whole half before rounding.
    const int top = halfAwayFromZero(static_cast<long long>(outer.height()) - 2 * kFrameHeight);
    const int left = halfAwayFromZero(static_cast<long long>(outer.width()) - w);
    return QRect(left, top, w, kFrameHeight);
}

void PainelEspera(QWidget* window, int width, const QString& message, bool show)
{
    if (!window)
        throw Exception("the busy overlay needs a window to cover");
    if (!show) {
        delete ownedPanel(window, kFrameName);
        delete ownedPanel(window, kMessageName);
        QCoreApplication::processEvents();
        return;
    }

    const QString text = message.isEmpty() ? QStringLiteral("Processando Informações") : message;
    Panel* frame = ownedPanel(window, kFrameName);
    QRect place = frame ? frame->geometry() : overlayFrameGeometry(window->frameGeometry().size(), width);
    if (!frame) {
        frame = new Panel(window);
        frame->hide();  // placed on the window with the message panel
        frame->setObjectName(kFrameName);
        frame->setBevelInner(BevelCut::bvNone);
        frame->setBevelOuter(BevelCut::bvRaised);
        setFill(frame, QColor(255, 0, 0));
        frame->setGeometry(place.x(), place.y(), std::max(0, place.width()), kFrameHeight);
    }

    if (Panel* shown = ownedPanel(window, kMessageName)) {
        shown->setCaption(text);
        shown->setAccessibleName(text);
    } else {
        Panel* panel = new Panel(window);
        panel->hide();
        panel->setObjectName(kMessageName);
        panel->setBevelInner(BevelCut::bvLowered);
        panel->setBevelOuter(BevelCut::bvLowered);
        QFont font(QStringLiteral("Arial"));
        font.setPointSize(12);
        font.setBold(true);
        panel->setFont(font);
        QPalette palette = panel->palette();
        palette.setColor(QPalette::WindowText, QColor(255, 255, 0));
        panel->setPalette(palette);
        panel->setCaption(text);
        panel->setAccessibleName(text);
        setFill(panel, QColor(0, 0, 0));
        panel->setGeometry(place.x() + kMargin, place.y() + kMargin, std::max(0, place.width() - 2 * kMargin),
                           kMessageHeight);
        frame->show();
        frame->raise();
        panel->show();
        panel->raise();
    }
    QCoreApplication::processEvents();
}
