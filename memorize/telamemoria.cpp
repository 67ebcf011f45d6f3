#include "memorize/telamemoria.h"

#include "memorize/integerconversion.h"
#include "memorize/painelespera.h"
#include "memorize/seededdraws.h"
#include "memorize/words.h"
#include "platform/exception.h"
#include "platform/ui/guard.h"
#include "resources/resources.h"
#include "ui_telamemoria.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScreen>

TTelaMemoria* TelaMemoria = nullptr;

namespace {

int g_pressCounter = 0;

// The smallest font size there is, in points. A font cannot take a size of 0
// or less: it would keep its size without a word, so the box would seem to
// have taken a size it did not.
constexpr int kMinFontSize = 1;

DrawSource drawsFromClock()
{
    return [draws = SeededDraws::fromClock()](std::int64_t count) mutable { return draws(count); };
}

std::int32_t integerOf(const QString& text) { return parseInteger(text.toStdString()); }

}  // namespace

TTelaMemoria::TTelaMemoria(QWidget* owner)
    : QDialog(owner), ui(std::make_unique<Ui::TTelaMemoria>()), m_drawsForPress(drawsFromClock)
{
    initTessResources();
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(1002, 683);

    ui->RichEdit1->setVersion(1);
    ui->RichEdit1->setDefaultFont(ui->RichEdit1->font());
    // A size typed into the box must be taken as typed: completing "1" to
    // "10" would set a size the user never asked for.
    ui->ComboBox1->setCompleter(nullptr);
    ui->UpDown1->setAssociate(ui->Ratear);
    ui->UpDown2->setAssociate(ui->Vezes);

    connectGuarded(ui->SpeedButton1, &QToolButton::clicked, this, [this] { SpeedButton1Click(); });
    connectGuarded(ui->SpeedButton3, &QToolButton::clicked, this, [this] { SpeedButton3Click(); });
    connectGuarded(ui->SpeedButton2, &QToolButton::clicked, this, [this] { SpeedButton2Click(); });
    connectGuarded(ui->SpeedButton4, &QToolButton::clicked, this, [this] { SpeedButton4Click(); });
    connectGuarded(ui->ComboBox1, &QComboBox::editTextChanged, this, [this] { ComboBox1Change(); });

    FormCreate();

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

TTelaMemoria::~TTelaMemoria()
{
    // The opener keeps a reference to the window it shows; it must not
    // outlive the window.
    if (TelaMemoria == this)
        TelaMemoria = nullptr;
}

int TTelaMemoria::pressCounter() { return g_pressCounter; }

void TTelaMemoria::setDrawsForPress(DrawsForPress source)
{
    m_drawsForPress = source ? std::move(source) : DrawsForPress(drawsFromClock);
}

void TTelaMemoria::setWritable(bool writable)
{
    RichEdit* edit = ui->RichEdit1;
    edit->setReadOnly(!writable);
    // Read-only to the user, who still selects (by mouse or keyboard),
    // copies and scrolls.
    if (!writable)
        edit->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
}

void TTelaMemoria::loadText()
{
    RichEdit* edit = ui->RichEdit1;
    setWritable(true);
    edit->clear();
    edit->paste();
    // Only the words are drilled: setting the plain text drops the pasted
    // formatting, and the text shows in the control's own font.
    edit->setText(QString::fromStdU32String(TiraEspaco(edit->text().toStdU32String())));
    setWritable(false);
}

void TTelaMemoria::FormCreate()
{
    g_pressCounter = 0;
    loadText();
}

void TTelaMemoria::SpeedButton3Click() { loadText(); }

void TTelaMemoria::SpeedButton1Click()
{
    RichEdit* edit = ui->RichEdit1;
    ui->SpeedButton1->setEnabled(false);
    PainelEspera(this, 0, QString(), true);

    std::u32string text = edit->text().toStdU32String();
    collapseSpaces(text);
    edit->setText(QString::fromStdU32String(text));
    // The words are counted and blanked on the text as the control now holds
    // it, whatever it made of a character it does not keep as given.
    text = edit->text().toStdU32String();

    const std::int32_t presses = integerOf(ui->Vezes->text());
    if (presses == g_pressCounter) {
        SpeedButton3Click();
        g_pressCounter = 0;
    } else {
        ++g_pressCounter;
        const DrawSource draws = m_drawsForPress();
        const std::int32_t percent = integerOf(ui->Ratear->text());
        // The text only changes where a draw blanks a word; setting it once
        // at the end shows what setting it after every draw would.
        PressResult result = press(std::move(text), percent, draws);
        edit->setText(QString::fromStdU32String(result.text));
    }

    ui->SpeedButton1->setEnabled(true);
    PainelEspera(this, 0, QString(), false);
}

void TTelaMemoria::SpeedButton2Click() { close(); }

void TTelaMemoria::keyPressEvent(QKeyEvent* event)
{
    // The window has no cancel button: only "Retornar" and the close box end
    // the drill, so a stray Escape does not throw the blanks away.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TTelaMemoria::SpeedButton4Click()
{
    RichEdit* edit = ui->RichEdit1;
    QFont font = edit->defaultFont();
    font.setBold(ui->SpeedButton4->isChecked());
    edit->setDefaultFont(font);
}

void TTelaMemoria::ComboBox1Change()
{
    const QString typed = ui->ComboBox1->currentText();
    const std::int32_t size = integerOf(typed);
    if (size < kMinFontSize)
        throw Exception("'" + typed.toStdString() + "' não é um tamanho de fonte válido: o menor é " +
                        std::to_string(kMinFontSize));
    RichEdit* edit = ui->RichEdit1;
    QFont font = edit->defaultFont();
    font.setPointSize(size);
    edit->setDefaultFont(font);
}
