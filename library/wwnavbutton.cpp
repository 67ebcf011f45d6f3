#include "library/wwnavbutton.h"

#include "library/dataset/wwdatasource.h"
#include "library/dataset/wwtable.h"
#include "library/wwcustomdialog.h"
#include "library/wwdbnavigator.h"
#include "library/wwdialogregistry.h"
#include "library/wwintl.h"
#include "library/wwrepeattimer.h"
#include "platform/exception.h"
#include "platform/ui/guard.h"
#include "platform/ui/messagedlg.h"
#include "platform/ui/panel.h"
#include "resources/resources.h"

#include <QMouseEvent>
#include <QPainter>
#include <QSvgRenderer>

#include <array>

namespace {

constexpr int GlyphSize = 18;

std::array<QImage, 2 * wwNavStyleCount> loadGlyphs()
{
    initTessResources();
    std::array<QImage, 2 * wwNavStyleCount> images;
    for (int style = 0; style < wwNavStyleCount; ++style) {
        const QString base = QStringLiteral(":/pictures/navigator/WW_DBN_%1_%2.svg")
                                 .arg(QString::fromLatin1(wwNavStyleName(TwwNavButtonStyle(style))).toUpper());
        for (int disabled = 0; disabled < 2; ++disabled) {
            QImage image(GlyphSize, GlyphSize, QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::transparent);
            QSvgRenderer renderer(base.arg(disabled ? QStringLiteral("DISABLED") : QStringLiteral("ENABLED")));
            if (renderer.isValid()) {
                QPainter painter(&image);
                renderer.render(&painter);
            }
            images[std::size_t(2 * style + disabled)] = image;
        }
    }
    return images;
}

}  // namespace

TwwNavButton::TwwNavButton(TwwDBNavigator* navigator, TwwNavButtonStyle style)
    : QAbstractButton(navigator), m_navigator(navigator), m_style(style)
{
    setFocusPolicy(Qt::NoFocus);
    setMouseTracking(true);
    resize(25, 25);
    navigator->Buttons().add(this);
    refreshHint();
}

TwwNavButton::~TwwNavButton()
{
    m_navigator->Buttons().remove(this);
}

void TwwNavButton::setStyle(TwwNavButtonStyle style)
{
    m_style = style;
    refreshHint();
    update();
}

int TwwNavButton::Index() const { return m_index; }

void TwwNavButton::setIndex(int index) { m_navigator->Buttons().move(this, index); }

void TwwNavButton::setHint(const QString& hint)
{
    m_hint = hint;
    refreshHint();
}

void TwwNavButton::setShowHint(bool show)
{
    m_showHint = show;
    refreshHint();
}

void TwwNavButton::setLineBreak(bool lineBreak)
{
    m_lineBreak = lineBreak;
    m_navigator->layoutButtons();
}

QString TwwNavButton::effectiveHint() const
{
    QString hint = m_hint;
    if (hint.isEmpty() || m_navigator->Options().testFlag(noUseInternationalText))
        hint = TwwIntl::instance().Navigator.hint(m_style);
    if (m_style == nbsPriorPage || m_style == nbsNextPage)
        hint.replace(QStringLiteral("%d"), QString::number(m_navigator->pageSize()));
    return hint;
}

void TwwNavButton::refreshHint()
{
    const QString hint = effectiveHint();
    setToolTip(m_showHint ? hint : QString());
    setAccessibleName(hint);
}

bool TwwNavButton::repeats(TwwNavButtonStyle style)
{
    switch (style) {
    case nbsFirst:
    case nbsPrior:
    case nbsNext:
    case nbsLast:
    case nbsPriorPage:
    case nbsNextPage: return true;
    default: return false;
    }
}

const QImage& TwwNavButton::glyph(int index)
{
    static const std::array<QImage, 2 * wwNavStyleCount> images = loadGlyphs();
    static const QImage none;
    if (index < 0 || index >= int(images.size()))
        return none;
    return images[std::size_t(index)];
}

// ---- the operation

void TwwNavButton::Click()
{
    if (OnClick)
        OnClick(this);
    if (!m_navigator->DataSource())
        throw Exception("Error, DataSource not assigned");
    TwwTable* table = m_navigator->DataSet();
    if (!table) {
        if (m_style == nbsCustom)
            return;
        throw Exception("Error, the DataSource has no DataSet");
    }
    perform(table);
}

void TwwNavButton::perform(TwwTable* table)
{
    switch (m_style) {
    case nbsFirst: table->First(); break;
    case nbsPrior: table->Prior(); break;
    case nbsNext: table->Next(); break;
    case nbsLast: table->Last(); break;
    case nbsInsert: table->Insert(); break;
    case nbsEdit: table->Edit(); break;
    case nbsPost: table->Post(); break;
    case nbsCancel: table->Cancel(); break;
    case nbsRefresh: table->Refresh(); break;
    case nbsPriorPage: table->MoveBy(-m_navigator->pageSize()); break;
    case nbsNextPage: table->MoveBy(m_navigator->pageSize()); break;
    case nbsDelete: deleteRecord(table); break;
    case nbsSaveBookmark: m_navigator->saveBookmark(table); break;
    case nbsRestoreBookmark: m_navigator->restoreBookmark(table); break;
    case nbsFilterDialog:
    case nbsRecordViewDialog:
    case nbsLocateDialog:
    case nbsSearchDialog: openDialog(table); break;
    case nbsCustom: break;
    }
}

void TwwNavButton::deleteRecord(TwwTable* table)
{
    if (m_navigator->Options().testFlag(noConfirmDelete)) {
        const int answer = messageDlg(TwwIntl::instance().Navigator.ConfirmDelete, MsgDlgType::mtConfirmation,
                                      mbOK | mbCancel, QString(), window());
        if (answer != mrOk)
            return;
    }
    table->Delete();
}

void TwwNavButton::openDialog(TwwTable* table)
{
    if (TwwCustomDialog* dialog = findDialog(table))
        dialog->Execute();
}

TwwCustomDialog* TwwNavButton::findDialog(TwwTable* table)
{
    if (m_dialog)
        return m_dialog;
    const QString className = QStringLiteral("Tww") + QString::fromLatin1(wwNavStyleName(m_style));
    const TwwDialogRegistry::Entry* entry = TwwDialogRegistry::find(className);
    if (!entry)
        return nullptr;  // no dialog of this kind in the program
    QObject* owner = m_style == nbsFilterDialog ? static_cast<QObject*>(table) : static_cast<QObject*>(m_navigator);
    for (QObject* child : owner->children()) {
        auto* dialog = qobject_cast<TwwCustomDialog*>(child);
        if (dialog && dialog->metaObject()->inherits(entry->metaObject) && dialog->GetPrimaryDataSet() == table) {
            m_dialog = dialog;
            return dialog;
        }
    }
    TwwCustomDialog* dialog = entry->create(owner);
    m_dialog = dialog;
    if (m_style == nbsSearchDialog)
        dialog->setSearchTable(table);
    else
        dialog->setDataSource(m_navigator->DataSource());
    if (OnAfterCreateDialog)
        OnAfterCreateDialog(this);
    return dialog;
}

// ---- enabled state

void TwwNavButton::UpdateState(TwwUpdateCause cause)
{
    const bool before = Enabled();
    if (OnUpdateState) {
        try {
            OnUpdateState(m_navigator, this, cause);
        } catch (...) {
            // A state handler's error must not stop the other buttons.
        }
    }
    if (cause == usDataChanged && OnRowChanged)
        OnRowChanged(this);
    if (Enabled() != before || m_style == nbsCustom)
        return;
    if (m_style == nbsRestoreBookmark && cause == usEditingChanged)
        return;
    setEnabled(computeEnabled(cause));
}

bool TwwNavButton::computeEnabled(TwwUpdateCause) const
{
    TwwTable* table = m_navigator->DataSet();
    if (!m_navigator->DataSource() || !table)
        return false;
    const bool a = m_navigator->linkActive() && m_navigator->isEnabled();
    if (!a)
        return false;
    const bool canModify = table->CanModify();
    switch (m_style) {
    case nbsFirst:
    case nbsPrior:
    case nbsPriorPage: return !table->Bof();
    case nbsNext:
    case nbsLast:
    case nbsNextPage: return !table->Eof();
    case nbsInsert:
    case nbsRefresh: return canModify;
    case nbsEdit: return canModify && !m_navigator->editing();
    case nbsPost:
    case nbsCancel: return canModify && m_navigator->editing();
    case nbsDelete: return canModify && !(table->Bof() && table->Eof());
    case nbsSaveBookmark: return true;
    case nbsRestoreBookmark: return m_navigator->hasValidBookmark(table);
    case nbsFilterDialog:
    case nbsRecordViewDialog:
    case nbsLocateDialog:
    case nbsSearchDialog: return !m_dialog || m_dialog->GetPrimaryDataSet() != nullptr;
    case nbsCustom: break;
    }
    return Enabled();
}

// ---- mouse and repeat

void TwwNavButton::press()
{
    m_held = true;
    m_over = true;
    setDown(true);
    if (repeats(m_style))
        startRepeat();
    update();
}

void TwwNavButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        press();
}

// Single clicks only: the second press of a double click is a press like any.
void TwwNavButton::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        press();
}

void TwwNavButton::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_held)
        return;
    const bool over = rect().contains(event->position().toPoint());
    if (over == m_over)
        return;
    m_over = over;
    setDown(over);
    if (!over)
        stopRepeat();
    else if (repeats(m_style))
        startRepeat();
}

void TwwNavButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !m_held)
        return;
    m_held = false;
    m_over = false;
    stopRepeat();
    setDown(false);
    update();
    if (rect().contains(event->position().toPoint()) && isEnabled())
        guarded([this] { Click(); });
}

void TwwNavButton::enterEvent(QEnterEvent* event)
{
    m_hover = true;
    update();
    QAbstractButton::enterEvent(event);
}

void TwwNavButton::leaveEvent(QEvent* event)
{
    m_hover = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void TwwNavButton::startRepeat()
{
    stopRepeat();
    m_retired.reset();
    m_timer = TwwRepeatTimer::create();
    m_timer->onTick = [this] {
        m_inTick = true;
        guarded([this] { repeatTick(); });
        m_inTick = false;
    };
    m_timer->start(m_navigator->RepeatInterval().InitialDelay);
}

void TwwNavButton::stopRepeat()
{
    if (!m_timer)
        return;
    m_timer->stop();
    // A timer cannot be destroyed from inside its own tick; it is kept, idle,
    // until the next start or the button's end.
    if (m_inTick)
        m_retired = std::move(m_timer);
    else
        m_timer.reset();
}

void TwwNavButton::repeatTick()
{
    if (!m_held || !m_over || !isEnabled()) {
        stopRepeat();
        return;
    }
    m_timer->setInterval(m_navigator->RepeatInterval().Interval);
    try {
        Click();
    } catch (...) {
        stopRepeat();
        throw;
    }
}

// ---- painting

void TwwNavButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const bool enabled = isEnabled();
    const bool down = isDown();
    if (down)
        drawBevel(painter, rect(), BevelCut::bvLowered, palette());
    else if (!m_navigator->Flat() || (m_hover && enabled))
        drawBevel(painter, rect(), BevelCut::bvRaised, palette());
    if (m_style == nbsCustom)
        return;
    const QImage& image = glyph(2 * int(m_style) + (enabled ? 0 : 1));
    QPoint at((width() - image.width()) / 2, (height() - image.height()) / 2);
    if (down)
        at += QPoint(1, 1);
    painter.drawImage(at, image);
}
