#include "platform/ui/shell.h"

#include "platform/ui/messagedlg.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

void shellOpenUrl(const QString& address)
{
    QDesktopServices::openUrl(QUrl(address));
}

void showHelpContents(const QString& helpFile, QWidget* owner)
{
    // There are no drives here: "from the root of the current drive" is the
    // root of the file system.
    QString path = QDir::fromNativeSeparators(QString(helpFile).replace(QLatin1Char('\\'), QLatin1Char('/')));
    if (!path.startsWith(QLatin1Char('/')))
        path.prepend(QLatin1Char('/'));
    if (!QFileInfo::exists(path)) {
        messageDlg(QStringLiteral("Cannot find the help file %1.").arg(path), MsgDlgType::mtError, mbOK,
                   QStringLiteral("Help"), owner);
        return;
    }
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        messageDlg(QStringLiteral("No program is set up to show the help file %1.").arg(path), MsgDlgType::mtError,
                   mbOK, QStringLiteral("Help"), owner);
}
