#pragma once
// Takes the desktop's "open" of web addresses for the life of the object.
#include <QDesktopServices>
#include <QObject>
#include <QStringList>
#include <QUrl>

class UrlRecorder : public QObject {
    Q_OBJECT
public:
    UrlRecorder()
    {
        QDesktopServices::setUrlHandler(QStringLiteral("https"), this, "open");
        QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "open");
    }
    ~UrlRecorder() override
    {
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    }
    QStringList opened;

public slots:
    void open(const QUrl& url) { opened << url.toString(); }
};
