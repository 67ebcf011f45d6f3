#include "platform/ui/application.h"

#include "platform/ui/fonts.h"
#include "platform/ui/guard.h"

Application::Application(int& argc, char** argv) : QApplication(argc, argv)
{
    installFontSubstitutions();
}

namespace {
// Kept apart from Qt's applicationDisplayName, which the X11 platform would
// append to every window caption.
QString g_title;
QString g_helpFile;
}

void Application::setTitle(const QString& title)
{
    g_title = title;
}

QString Application::title()
{
    return g_title;
}

void Application::setHelpFile(const QString& path)
{
    g_helpFile = path;
}

QString Application::helpFile()
{
    return g_helpFile;
}

void Application::terminate()
{
    QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit, Qt::QueuedConnection);
}

bool Application::notify(QObject* receiver, QEvent* event)
{
    bool result = false;
    guarded([&] { result = QApplication::notify(receiver, event); });
    return result;
}
