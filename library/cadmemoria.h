#pragma once
// The register window: the library of texts, one record at a time, with the
// record navigator. It owns the texts table, open exactly as long as the
// window exists: creating the window opens it (an error there fails the
// creation), destroying the window closes it and drops a row still being
// edited.
#include <QDialog>

#include <memory>

namespace Ui {
class TCadMemoria;
}
class TField;
class TwwDBEdit;
class TwwDataSource;
class TwwTable;
class QKeyEvent;

class TCadMemoria : public QDialog {
    Q_OBJECT
public:
    explicit TCadMemoria(QWidget* owner);
    ~TCadMemoria() override;

    TwwTable* TabMemoria = nullptr;
    TField* TabMemoriaTitulo = nullptr;
    TField* TabMemoriaAutor = nullptr;
    TField* TabMemoriaAssunto = nullptr;
    TField* TabMemoriaPrimeiraLinha = nullptr;
    TField* TabMemoriaTexto = nullptr;
    TwwDataSource* wwDataSource1 = nullptr;

    // The window's controls, by their layout names.
    Ui::TCadMemoria* controls() const { return ui.get(); }

    void FormShow();
    void TabMemoriaAfterScroll(TwwTable* DataSet);
    void TabMemoriaBeforeInsert(TwwTable* DataSet);
    void TabMemoriaBeforePost(TwwTable* DataSet);
    void DBEdit1KeyDown(TwwDBEdit* Sender, QKeyEvent* Key);
    void SpeedButton1Click();
    void BitBtn1Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void setUpNavigator();
    void setUpGrid();
    void setUpText();
    void selectAllText();

    std::unique_ptr<Ui::TCadMemoria> ui;
};

// The window of the register command in progress (set by the main window).
extern TCadMemoria* CadMemoria;
