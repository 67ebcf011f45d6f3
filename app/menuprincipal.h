#pragma once
// The main window: a launcher with a menu, a tool bar of picture buttons, a
// decorative background, the maker's notice (a click opens the home page) and
// the version label. It holds no data of its own.

#include <QMainWindow>

#include <memory>

namespace Ui {
class TMenuPrincipal;
}

// The maker's home page, opened by the globe button and the notice.
extern const char* const kHomePage;

class TMenuPrincipal : public QMainWindow {
    Q_OBJECT

public:
    explicit TMenuPrincipal(QWidget* parent = nullptr);
    ~TMenuPrincipal() override;

    // The four register commands: the menu's F5 entry, "&Decorar", and the
    // first two tool-bar buttons, which share BitBtn1Click.
    void TextosparaMemorizao1Click();
    void Memorizao1Click();
    void BitBtn1Click();
    void Sobre1Click();
    void SairdoSistema1Click();
    void BitBtn4Click();
    void BitBtn5Click();
    void BitBtn3Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Opens the register window modally and releases it when it closes.
    void openRegister();

    std::unique_ptr<Ui::TMenuPrincipal> ui;
};
