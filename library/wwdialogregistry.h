#pragma once
// The classes of record dialogs, entered by name at start-up so the navigator
// can find the class for a button style ("TwwLocateDialog") without knowing
// the dialogs. A name nobody registered finds nothing.

#include <QMetaObject>
#include <QString>

#include <functional>
#include <map>

class QObject;
class TwwCustomDialog;

class TwwDialogRegistry {
public:
    using Factory = std::function<TwwCustomDialog*(QObject* owner)>;
    struct Entry {
        const QMetaObject* metaObject = nullptr;
        Factory create;
    };

    // Registers T under its class name; a later registration of the same name
    // replaces the earlier one.
    template <class T>
    static void registerClass()
    {
        registerClass(&T::staticMetaObject, [](QObject* owner) -> TwwCustomDialog* { return new T(owner); });
    }
    static void registerClass(const QMetaObject* metaObject, Factory create);
    // Registers a class under another name than its own (a stand-in).
    static void registerClass(const QString& className, const QMetaObject* metaObject, Factory create);
    static void unregisterClass(const QString& className);

    // nullptr when no class of that name is registered.
    static const Entry* find(const QString& className);

private:
    static std::map<QString, Entry>& entries();
};
