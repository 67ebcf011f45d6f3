#include "app/menuprincipal.h"

#include "app/boxsobre.h"
#include "library/cadmemoria.h"
#include "platform/ui/application.h"
#include "platform/ui/guard.h"
#include "resources/resources.h"
#include "platform/ui/modal.h"
#include "platform/ui/shell.h"
#include "ui_menuprincipal.h"

#include <QMouseEvent>
#include <QScreen>

const char* const kHomePage = "https://www.quorvane.example/";

namespace {
constexpr int kClientWidth = 1012;
constexpr int kClientHeight = 664;
}  // namespace

TMenuPrincipal::TMenuPrincipal(QWidget* parent) : QMainWindow(parent), ui(std::make_unique<Ui::TMenuPrincipal>())
{
    initTessResources();
    ui->setupUi(this);
    setObjectName(QStringLiteral("MenuPrincipal"));

    // The client area is the central widget; the menu bar sits above it.
    // Its controls keep their places when the window is resized: enlarging it
    // shows more of the tiles that run past the edges.
    resize(kClientWidth, kClientHeight + ui->MainMenu1->sizeHint().height());

    // The tool bar and the notice are windows: they lie above every picture.
    ui->Panel1->raise();
    ui->Memo1->raise();

    ui->Memo1->viewport()->setCursor(Qt::PointingHandCursor);
    ui->Memo1->viewport()->installEventFilter(this);
    ui->Memo1->setFocus();

    // "&Cadastros Gerais " takes F6 but has no command of its own.
    ui->CadastrosGeais1->menuAction()->setShortcut(QKeySequence(Qt::Key_F6));
    addAction(ui->CadastrosGeais1->menuAction());

    connectGuarded(ui->TextosparaMemorizao1, &QAction::triggered, this, [this] { TextosparaMemorizao1Click(); });
    connectGuarded(ui->Memorizao1, &QAction::triggered, this, [this] { Memorizao1Click(); });
    connectGuarded(ui->BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    connectGuarded(ui->BitBtn2, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    connectGuarded(ui->Sobre1, &QAction::triggered, this, [this] { Sobre1Click(); });
    connectGuarded(ui->SairdoSistema1, &QAction::triggered, this, [this] { SairdoSistema1Click(); });
    connectGuarded(ui->BitBtn4, &QPushButton::clicked, this, [this] { BitBtn4Click(); });
    connectGuarded(ui->BitBtn5, &QPushButton::clicked, this, [this] { BitBtn5Click(); });
    connectGuarded(ui->BitBtn3, &QPushButton::clicked, this, [this] { BitBtn3Click(); });

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

TMenuPrincipal::~TMenuPrincipal() = default;

void TMenuPrincipal::TextosparaMemorizao1Click()
{
    openRegister();
}

void TMenuPrincipal::Memorizao1Click()
{
    openRegister();
}

void TMenuPrincipal::BitBtn1Click()
{
    openRegister();
}

void TMenuPrincipal::openRegister()
{
    // Creating the window opens the texts table; when that fails the error
    // ends the command here and CadMemoria keeps what it held.
    auto* window = new TCadMemoria(this);
    CadMemoria = window;
    showModalAndRelease(window);
}

void TMenuPrincipal::Sobre1Click()
{
    Boxsobre = new TBoxsobre(this);
    showModalAndRelease(Boxsobre);
}

void TMenuPrincipal::SairdoSistema1Click()
{
    Application::terminate();
}

void TMenuPrincipal::BitBtn4Click()
{
    Application::terminate();
}

void TMenuPrincipal::BitBtn5Click()
{
    shellOpenUrl(QString::fromLatin1(kHomePage));
}

void TMenuPrincipal::BitBtn3Click()
{
    Application::setHelpFile(QStringLiteral("\\BRELLIX\\TESSALIND\\TESSALIND.HLP"));
    showHelpContents(Application::helpFile(), this);
}

bool TMenuPrincipal::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ui->Memo1->viewport() && event->type() == QEvent::MouseButtonRelease) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton && ui->Memo1->viewport()->rect().contains(mouse->position().toPoint()))
            guarded([this] { BitBtn5Click(); });
    }
    return QMainWindow::eventFilter(watched, event);
}
