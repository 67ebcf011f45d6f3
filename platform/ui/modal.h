#pragma once
// Windows made for one use are shown modally and then released: destroyed once
// the events already waiting have been handled, as deleteLater does.

#include <QDialog>

inline int showModalAndRelease(QDialog* window)
{
    const int result = window->exec();
    window->deleteLater();
    return result;
}
