#include "library/wwdialogregistry.h"

std::map<QString, TwwDialogRegistry::Entry>& TwwDialogRegistry::entries()
{
    static std::map<QString, Entry> map;
    return map;
}

void TwwDialogRegistry::registerClass(const QMetaObject* metaObject, Factory create)
{
    registerClass(QString::fromLatin1(metaObject->className()), metaObject, std::move(create));
}

void TwwDialogRegistry::registerClass(const QString& className, const QMetaObject* metaObject, Factory create)
{
    entries()[className] = Entry{metaObject, std::move(create)};
}

void TwwDialogRegistry::unregisterClass(const QString& className) { entries().erase(className); }

const TwwDialogRegistry::Entry* TwwDialogRegistry::find(const QString& className)
{
    const auto it = entries().find(className);
    return it == entries().end() ? nullptr : &it->second;
}
