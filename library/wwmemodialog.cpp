#include "library/wwmemodialog.h"

#include "library/wwintl.h"
#include "resources/resources.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>

namespace {

constexpr int Margin = 6;        // memo to the dialog's left and top edges
constexpr int ButtonGap = 17;    // memo to the OK button
constexpr int BottomMargin = 8;  // OK button to the dialog's bottom edge

}  // namespace

TwwMemoDialog::TwwMemoDialog(const QString& caption, const QString& text, const QFont& font, QWidget* parent)
    : QDialog(parent), m_memo(new QPlainTextEdit(this)), m_ok(new QPushButton(this))
{
    initTessResources();
    setWindowTitle(QString(caption).replace(QLatin1Char('~'), QLatin1Char(' ')));
    setSizeGripEnabled(true);
    resize(561, 395);

    m_memo->setObjectName(QStringLiteral("Memo"));
    m_memo->setFont(font);
    m_memo->setPlainText(text);
    m_memo->setReadOnly(true);
    m_memo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_memo->setAccessibleName(windowTitle());
    m_memo->installEventFilter(this);

    m_ok->setObjectName(QStringLiteral("OKBtn"));
    m_ok->setText(TwwIntl::instance().Grid.MemoDialogOK);
    m_ok->setIcon(QIcon(QStringLiteral(":/pictures/tick.svg")));
    m_ok->resize(75, 25);
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);

    if (QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    placeControls();
}

void TwwMemoDialog::placeControls()
{
    const int buttonTop = height() - BottomMargin - m_ok->height();
    m_memo->setGeometry(Margin, Margin, width() - 2 * Margin, buttonTop - ButtonGap - Margin);
    m_ok->move((width() - m_ok->width()) / 2, buttonTop);
}

void TwwMemoDialog::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    placeControls();
}

bool TwwMemoDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_memo && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool ctrlEnter = (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
                               key->modifiers().testFlag(Qt::ControlModifier);
        if (key->key() == Qt::Key_Escape || key->key() == Qt::Key_F2 || ctrlEnter) {
            accept();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
