#include "library/wwdialogregistry.h"

std::map<QString, TwwDialogRegistry::Entry>& TwwDialogRegistry::entries()
{
    static std::map<QString, Entry> map;
    return map;
}

void TwwDialogRegistry::registerClass(const QMetaObject* metaObject, Factory create)
{
    entries()[QString::fromLatin1(metaObject->className())] = Entry{metaObject, std::move(create)};
}

void TwwDialogRegistry::unregisterClass(const QString& className) { entries().erase(className); }

const TwwDialogRegistry::Entry* TwwDialogRegistry::find(const QString& className)
{
    const auto it = entries().find(className);
    return it == entries().end() ? nullptr : &it->second;
}
