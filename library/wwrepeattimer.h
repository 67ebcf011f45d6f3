#pragma once
// The timer behind a held navigator button. The default one is a QTimer whose
// ticks arrive as ordinary events on the user-interface thread; tests put in a
// factory of their own to drive the ticks by a clock they control.

#include <functional>
#include <memory>

class TwwRepeatTimer {
public:
    using Factory = std::function<std::unique_ptr<TwwRepeatTimer>()>;

    virtual ~TwwRepeatTimer() = default;
    // Starts (or restarts) ticking every `milliseconds`.
    virtual void start(int milliseconds) = 0;
    // Changes the interval from the next tick on.
    virtual void setInterval(int milliseconds) = 0;
    // No more ticks until started again.
    virtual void stop() = 0;

    // Called at each tick; it must not discard the timer it runs on.
    std::function<void()> onTick;

    static std::unique_ptr<TwwRepeatTimer> create();
    // Replaces the factory; an empty one restores the QTimer. Returns the
    // previous factory.
    static Factory setFactory(Factory factory);
};
