#pragma once
// The application object: the title every error box carries, and a last guard
// around event delivery, so that an exception an event handler forgot to guard
// still reaches the error box instead of unwinding through Qt.

#include <QApplication>

class Application : public QApplication {
    Q_OBJECT
public:
    Application(int& argc, char** argv);

    // The task-bar caption and the caption of every error box. Static so that
    // message boxes find it without an application object (tests, the tool).
    static void setTitle(const QString& title);
    static QString title();

    // The help file the help command last set; empty at start.
    static void setHelpFile(const QString& path);
    static QString helpFile();

    // Asks the message loop to end: the request is queued, the loop ends when
    // it reaches it, and main() returns 0.
    static void terminate();

    bool notify(QObject* receiver, QEvent* event) override;
};
