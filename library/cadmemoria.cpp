#include "library/cadmemoria.h"

#include "library/dataset/field.h"
#include "library/dataset/wwdatasource.h"
#include "library/dataset/wwtable.h"
#include "library/textstable.h"
#include "library/wwdbgrid.h"
#include "library/wwdbnavigator.h"
#include "library/wwdialogregistry.h"
#include "library/wwnavbutton.h"
#include "memorize/telamemoria.h"
#include "platform/ui/guard.h"
#include "platform/ui/modal.h"
#include "resources/resources.h"
#include "richtext/wwdbrichedit.h"
#include "ui_cadmemoria.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>

TCadMemoria* CadMemoria = nullptr;

namespace {

struct NavButton {
    TwwNavButtonStyle style;
    const char* name;
    const char* hint;
};

// The navigator's buttons, left to right: the page moves sit around the
// one-record moves, and Edit and Post come before Delete.
const NavButton kNavButtons[] = {
    {nbsFirst, "wwDBNavigator1First", "Move para 1º Registro"},
    {nbsPriorPage, "wwDBNavigator1PriorPage", "Retorna 10 registros"},
    {nbsPrior, "wwDBNavigator1Prior", "Registro anterior"},
    {nbsNext, "wwDBNavigator1Next", "Próximo Registro"},
    {nbsNextPage, "wwDBNavigator1NextPage", "Avança 10 registros"},
    {nbsLast, "wwDBNavigator1Last", "Move para último Registro"},
    {nbsInsert, "wwDBNavigator1Insert", "Insere um novo registro"},
    {nbsEdit, "wwDBNavigator1Edit", "Altera o registro corrente"},
    {nbsPost, "wwDBNavigator1Post", "Grava registro"},
    {nbsDelete, "wwDBNavigator1Delete", "Deleta o registro corrente"},
    {nbsCancel, "wwDBNavigator1Cancel", "Cancela a modificação feita"},
    {nbsRefresh, "wwDBNavigator1Refresh", "Atualiza apresentação dos registros"},
    {nbsSaveBookmark, "wwDBNavigator1SaveBookmark", "Salva em memória registro corrente"},
    {nbsRestoreBookmark, "wwDBNavigator1RestoreBookmark", "Retorna a posição do registro salvo"},
    {nbsFilterDialog, "wwDBNavigator1FilterDialog", "Filtra o Arquivo"},
    {nbsRecordViewDialog, "wwDBNavigator1RecordViewDialog", "Visualiza o registro corrente"},
    {nbsLocateDialog, "wwDBNavigator1LocateDialog", "Localiza o registro específico"},
    {nbsSearchDialog, "wwDBNavigator1SearchDialog", "Procura no arquivo"},
};

bool isDialogStyle(TwwNavButtonStyle style)
{
    return style == nbsFilterDialog || style == nbsRecordViewDialog || style == nbsLocateDialog ||
           style == nbsSearchDialog;
}

}  // namespace

TCadMemoria::TCadMemoria(QWidget* owner) : QDialog(owner), ui(std::make_unique<Ui::TCadMemoria>())
{
    initTessResources();
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(1002, 683);

    TabMemoria = TextsTable::makeTabMemoria(this);
    TabMemoriaTitulo = TabMemoria->FindField(QStringLiteral("Titulo"));
    TabMemoriaAutor = TabMemoria->FindField(QStringLiteral("Autor"));
    TabMemoriaAssunto = TabMemoria->FindField(QStringLiteral("Assunto"));
    TabMemoriaPrimeiraLinha = TabMemoria->FindField(QStringLiteral("PrimeiraLinha"));
    TabMemoriaTexto = TabMemoria->FindField(QStringLiteral("Texto"));
    wwDataSource1 = new TwwDataSource(this);
    wwDataSource1->setObjectName(QStringLiteral("wwDataSource1"));
    wwDataSource1->setDataSet(TabMemoria);

    TabMemoria->BeforeInsert = [this](TwwTable* t) { TabMemoriaBeforeInsert(t); };
    TabMemoria->BeforePost = [this](TwwTable* t) { TabMemoriaBeforePost(t); };
    TabMemoria->AfterPost = [this](TwwTable* t) { TabMemoriaAfterScroll(t); };
    TabMemoria->AfterScroll = [this](TwwTable* t) { TabMemoriaAfterScroll(t); };

    const std::pair<TwwDBEdit*, const char*> edits[] = {{ui->DBEdit1, "Titulo"},
                                                         {ui->DBEdit2, "Autor"},
                                                         {ui->DBEdit3, "Assunto"},
                                                         {ui->DBEdit4, "PrimeiraLinha"}};
    for (const auto& [edit, field] : edits) {
        edit->setDataSource(wwDataSource1);
        edit->setDataField(QString::fromLatin1(field));
        edit->OnKeyDown = [this](TwwDBEdit* sender, QKeyEvent* key) { DBEdit1KeyDown(sender, key); };
    }
    setUpNavigator();
    setUpGrid();
    setUpText();

    connectGuarded(ui->SpeedButton1, &QToolButton::clicked, this, [this] { SpeedButton1Click(); });
    connectGuarded(ui->BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });

    // The table opens last, with every control bound, so that they all show
    // the first row; an error here fails the window's creation.
    TabMemoria->Open();

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

TCadMemoria::~TCadMemoria() = default;

void TCadMemoria::setUpNavigator()
{
    TwwDBNavigator* navigator = ui->wwDBNavigator1;
    navigator->setDataSource(wwDataSource1);
    navigator->setMoveBy(10);
    navigator->setRepeatInterval(TwwNavRepeatInterval{500, 100});
    for (const NavButton& button : kNavButtons) {
        // A dialog button joins once its dialog class is registered; until
        // then it would do nothing, so it is left out.
        if (isDialogStyle(button.style) &&
            !TwwDialogRegistry::find(QStringLiteral("Tww") + QString::fromLatin1(wwNavStyleName(button.style))))
            continue;
        navigator->addButton(button.style, QString::fromLatin1(button.name), QString::fromUtf8(button.hint));
    }
}

void TCadMemoria::setUpGrid()
{
    TwwDBGrid* grid = ui->wwDBGrid1;
    grid->setSelected(TextsTable::gridColumns());
    grid->setTitleColor(QColor(0, 0, 160));
    QFont titleFont(QStringLiteral("MS Sans Serif"), 8);
    grid->setTitleFont(titleFont);
    grid->setTitleLines(1);
    grid->setDataSource(wwDataSource1);
}

void TCadMemoria::setUpText()
{
    TwwDBRichEdit* text = ui->EditaTexto;
    text->setDataSource(wwDataSource1);
    text->setDataField(QStringLiteral("Texto"));
    text->setScrollBars(TwwCustomRichEdit::TScrollStyle::ssBoth);
    text->setAutoURLDetect(false);
    text->setRichEditVersion(2);
    text->setPopupOptions(rpoPopupEdit | rpoPopupCut | rpoPopupCopy | rpoPopupPaste | rpoPopupBold | rpoPopupItalic |
                          rpoPopupUnderline | rpoPopupFont | rpoPopupBullet | rpoPopupParagraph | rpoPopupTabs |
                          rpoPopupFind | rpoPopupReplace | rpoPopupInsertObject);
    text->setEditorOptions(reoShowLoad | reoShowSaveAs | reoShowSaveExit | reoShowPrint | reoShowPageSetup |
                           reoShowFormatBar | reoShowToolBar | reoShowStatusBar | reoShowHints | reoShowRuler |
                           reoShowInsertObject | reoCloseOnEscape | reoFlatButtons);
    text->setEditorCaption(QStringLiteral("Inserção/Alteração/Edição de Textos para memorização"));
    text->setEditorPosition(TwwFormPosition{0, 0, 0, 0});
    text->setMeasurementUnits(TwwMeasurementUnits::muCentimeters);
    text->setPrintMargins(TwwPrintMargins{1.0, 1.0, 1.0, 1.0});
    text->setTextFont(QFont(QStringLiteral("MS Sans Serif"), 12));
}

void TCadMemoria::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    guarded([this] { FormShow(); });
}

void TCadMemoria::FormShow()
{
    selectAllText();
    ui->EditaTexto->setFocus(Qt::OtherFocusReason);
}

void TCadMemoria::TabMemoriaAfterScroll(TwwTable*)
{
    selectAllText();
}

void TCadMemoria::TabMemoriaBeforeInsert(TwwTable*)
{
    ui->DBEdit1->setFocus(Qt::OtherFocusReason);
}

void TCadMemoria::TabMemoriaBeforePost(TwwTable*)
{
    // An empty hook: the table's own checks follow it.
}

void TCadMemoria::DBEdit1KeyDown(TwwDBEdit*, QKeyEvent* Key)
{
    if (Key->key() != Qt::Key_Return && Key->key() != Qt::Key_Enter)
        return;
    Key->accept();
    focusNextPrevChild(true);
}

void TCadMemoria::SpeedButton1Click()
{
    // The hand-off checks nothing: whatever is selected goes, as rich text
    // and plain text; with nothing selected the clipboard keeps what it held.
    ui->EditaTexto->CopyToClipboard();
    auto* window = new TTelaMemoria(this);
    TelaMemoria = window;
    showModalAndRelease(window);
}

void TCadMemoria::BitBtn1Click()
{
    close();
}

void TCadMemoria::selectAllText()
{
    TwwDBRichEdit* text = ui->EditaTexto;
    text->setSelection(0, text->textLength());
}
