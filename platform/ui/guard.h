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

namespace guard_detail {
// The wrapper of a slot takes exactly the slot's own parameters, so that Qt
// sees a plain functor of known arity (a variadic wrapper would make Qt try
// every arity, which not every compiler allows).
template <class T>
struct Slot : Slot<decltype(&T::operator())> {};
template <class C, class R, class... A>
struct Slot<R (C::*)(A...) const> {
    template <class F>
    static auto wrap(F slot)
    {
        return [slot = std::move(slot)](A... args) mutable { guarded([&] { slot(std::forward<A>(args)...); }); };
    }
};
template <class C, class R, class... A>
struct Slot<R (C::*)(A...)> : Slot<R (C::*)(A...) const> {};
template <class C, class R, class... A>
struct Slot<R (C::*)(A...) const noexcept> : Slot<R (C::*)(A...) const> {};
template <class C, class R, class... A>
struct Slot<R (C::*)(A...) noexcept> : Slot<R (C::*)(A...) const> {};
}  // namespace guard_detail

// connect() whose slot (a lambda or other function object) runs guarded. The
// slot takes the signal's first arguments, or none.
template <class Sender, class Signal, class F>
QMetaObject::Connection connectGuarded(Sender* sender, Signal signal, const QObject* context, F slot,
                                       Qt::ConnectionType type = Qt::AutoConnection)
{
    return QObject::connect(sender, signal, context, guard_detail::Slot<F>::wrap(std::move(slot)), type);
}
