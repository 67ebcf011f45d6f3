#pragma once
// The one way exceptions leave the program's code. Every entry point from Qt
// (a slot bound to a signal, an overridden event handler, a timer callback)
// runs its body through guarded(): an exception ends the body where it was
// raised and reaches the application's exception handler, which by default
// shows the error box, and the program goes on. No exception crosses a Qt frame.

#include <QObject>
#include <QString>

#include <exception>
#include <functional>
#include <type_traits>
#include <utility>

// The text the error box shows for an error: its message, with a full stop
// appended when its last character sorts above the full stop.
QString errorBoxText(const QString& message);

// The message of an exception in flight (UTF-8 what(), or a fixed text for
// something that is not a std::exception).
QString exceptionMessage(const std::exception_ptr& error);

// Replaces the handler; a null handler restores the default error box.
// Returns the previous one so tests can put it back.
using ExceptionHandler = std::function<void(const QString& message)>;
ExceptionHandler setExceptionHandler(ExceptionHandler handler);

// Hands an exception to the current handler.
void handleException(const std::exception_ptr& error) noexcept;

// The default handler: the error box, titled with the application title, with
// an error icon and an OK button.
void showErrorBox(const QString& message);

template <class F>
void guarded(F&& body) noexcept
{
    try {
        std::forward<F>(body)();
    } catch (...) {
        handleException(std::current_exception());
    }
}

// connect() whose slot runs guarded. The slot takes all of the signal's
// arguments or none.
template <class Sender, class Signal, class F>
QMetaObject::Connection connectGuarded(Sender* sender, Signal signal, const QObject* context, F slot,
                                       Qt::ConnectionType type = Qt::AutoConnection)
{
    return QObject::connect(
        sender, signal, context,
        [slot = std::move(slot)](auto&&... args) mutable {
            guarded([&] {
                // A slot may take the signal's arguments or none of them.
                if constexpr (std::is_invocable_v<F&, decltype(args)...>)
                    slot(std::forward<decltype(args)>(args)...);
                else
                    slot();
            });
        },
        type);
}
