#include "app/boxsobre.h"

#include "app/menuprincipal.h"
#include "platform/exception.h"
#include "platform/ui/guard.h"
#include "resources/resources.h"
#include "ui_boxsobre.h"

#include <QKeyEvent>
#include <QScreen>
#include <QTimerEvent>

TBoxsobre* Boxsobre = nullptr;

namespace {
bool g_phase = false;
constexpr int kTimer1Interval = 500;
}  // namespace

bool TBoxsobre::phase() { return g_phase; }

TBoxsobre::TBoxsobre(QWidget* owner) : QDialog(owner), ui(std::make_unique<Ui::TBoxsobre>())
{
    initTessResources();
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(483, 344);
    ui->ProductName->adjustSize();
    ui->Comments->adjustSize();
    ui->Label1->adjustSize();

    // The last line names the home page; the address is the application's.
    ui->Memo1->setPlainText(ui->Memo1->toPlainText().trimmed() + QLatin1Char(' ') + QString::fromLatin1(kHomePage));
    QTextCursor all(ui->Memo1->document());
    all.select(QTextCursor::Document);
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    all.mergeBlockFormat(centred);

    // The text box takes Enter for itself, so Enter presses OK only from OK.
    ui->Memo1->installEventFilter(this);

    connectGuarded(ui->OKButton, &QPushButton::clicked, this, [this] { OKButtonClick(); });

    m_timer = startTimer(kTimer1Interval);
    if (m_timer == 0)
        throw Exception("Not enough timers available");

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

TBoxsobre::~TBoxsobre() = default;

void TBoxsobre::FormShow()
{
    g_phase = true;
}

void TBoxsobre::Timer1Timer()
{
    if (g_phase) {
        ui->livro1->hide();
        ui->livro2->show();
        g_phase = false;
    } else {
        ui->livro1->show();
        ui->livro2->hide();
        g_phase = true;
    }
}

void TBoxsobre::OKButtonClick()
{
    setResult(QDialog::Accepted);
    Boxsobre->accept();
}

void TBoxsobre::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        // The text box is first in the tab order, ahead of the default button.
        ui->Memo1->setFocus();
        guarded([this] { FormShow(); });
    }
}

void TBoxsobre::timerEvent(QTimerEvent* event)
{
    if (event->timerId() == m_timer)
        guarded([this] { Timer1Timer(); });
    else
        QDialog::timerEvent(event);
}

void TBoxsobre::keyPressEvent(QKeyEvent* event)
{
    // The box has no cancel button: Escape does not close it.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TBoxsobre::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ui->Memo1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter)
            return true;
    }
    return QDialog::eventFilter(watched, event);
}
