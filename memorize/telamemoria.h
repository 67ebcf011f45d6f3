#pragma once
// The memorization window: the text handed over on the clipboard, drilled by
// blanking a share of its words at each press of "Sumir Palavras". The blanks
// accumulate press after press; the press after the chosen number of them
// brings the whole text back (from the clipboard again) and the cycle starts
// over.
//
// The rich edit's plain text is the drill's only state: nothing else keeps
// the text, so "Texto Inteiro" and the automatic restore paste whatever the
// clipboard holds at that moment.
//
// A press that meets a number it cannot read stops where it is, as every
// handler does on an error: the button stays disabled and the busy overlay
// stays up until the window closes, while "Texto Inteiro", "Retornar", the
// bold toggle and the size box go on working.

#include "memorize/press.h"

#include <QDialog>

#include <functional>
#include <memory>

namespace Ui {
class TTelaMemoria;
}

class QKeyEvent;

class TTelaMemoria : public QDialog {
    Q_OBJECT
public:
    // Loads the text from the clipboard at once.
    explicit TTelaMemoria(QWidget* owner);
    ~TTelaMemoria() override;

    // The window's controls, by their layout names.
    Ui::TTelaMemoria* controls() const { return ui.get(); }

    void FormCreate();
    void SpeedButton1Click();
    void SpeedButton3Click();
    void SpeedButton2Click();
    void SpeedButton4Click();
    void ComboBox1Change();

    // The blanking presses made since the window was last opened or the
    // text last came back by itself; one count for the whole program.
    static int pressCounter();

    // Where each blanking press takes its draws. By default every press gets
    // a generator freshly seeded from the clock; tests give fixed draws.
    using DrawsForPress = std::function<DrawSource()>;
    void setDrawsForPress(DrawsForPress source);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void loadText();
    void setWritable(bool writable);

    std::unique_ptr<Ui::TTelaMemoria> ui;
    DrawsForPress m_drawsForPress;
};

// The memorization window being shown (set by the register window).
extern TTelaMemoria* TelaMemoria;
