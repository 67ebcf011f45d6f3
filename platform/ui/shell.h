#pragma once
// The desktop's services the program asks for: opening a web address in the
// user's browser, and showing a help file's contents.

#include <QString>

class QWidget;

// Opens the address with the desktop's default handler. Like a shell request,
// its outcome is not reported.
void shellOpenUrl(const QString& address);

// Shows the contents of a help file given as a path from the root of the
// current drive ("\DIR\FILE.HLP", either slash). The help viewer reports its
// own problems: a missing file gets a message box.
void showHelpContents(const QString& helpFile, QWidget* owner);
