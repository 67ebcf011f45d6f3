#pragma once
// The about box: the product's name, what the program does and whose method
// it follows, and a book whose page turns (two pictures swapping every half
// second).

#include <QDialog>

#include <memory>

namespace Ui {
class TBoxsobre;
}

class TBoxsobre : public QDialog {
    Q_OBJECT

public:
    // Raises "Not enough timers available" when no timer can be had.
    explicit TBoxsobre(QWidget* owner);
    ~TBoxsobre() override;

    void FormShow();
    void Timer1Timer();
    void OKButtonClick();

    // The animation phase: one flag for the whole program, false at start.
    static bool phase();

protected:
    void showEvent(QShowEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::unique_ptr<Ui::TBoxsobre> ui;
    int m_timer = 0;
};

// The about box being shown, set by its opener at every opening.
extern TBoxsobre* Boxsobre;
