// Start-up: the application object, its title, the main window, the loop.
#include "app/menuprincipal.h"
#include "platform/ui/application.h"
#include "resources/resources.h"

#include <QIcon>

int main(int argc, char** argv)
{
    Application app(argc, argv);
    Application::setTitle(QStringLiteral("Tessalind de Textos"));
    initTessResources();
    Application::setWindowIcon(QIcon(QStringLiteral(":/pictures/bulb.svg")));

    // The texts table is not opened here: the register window opens it.
    TMenuPrincipal mainWindow;
    mainWindow.show();
    app.exec();
    return 0;
}
