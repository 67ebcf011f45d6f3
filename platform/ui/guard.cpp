#include "platform/ui/guard.h"

#include "platform/ui/messagedlg.h"

#include "platform/ui/application.h"

#include <QApplication>

namespace {
ExceptionHandler g_handler;
}

QString errorBoxText(const QString& message)
{
    if (!message.isEmpty() && message.back() > QLatin1Char('.'))
        return message + QLatin1Char('.');
    return message;
}

QString exceptionMessage(const std::exception_ptr& error)
{
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    } catch (...) {
        return QStringLiteral("Unknown error");
    }
}

ExceptionHandler setExceptionHandler(ExceptionHandler handler)
{
    return std::exchange(g_handler, std::move(handler));
}

void showErrorBox(const QString& message)
{
    messageDlg(errorBoxText(message), MsgDlgType::mtError, mbOK, Application::title());
}

void handleException(const std::exception_ptr& error) noexcept
{
    try {
        const QString message = exceptionMessage(error);
        if (g_handler)
            g_handler(message);
        else
            showErrorBox(message);
    } catch (...) {
        // A handler that fails has nowhere left to report to.
    }
}
