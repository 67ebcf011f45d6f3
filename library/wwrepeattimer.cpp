#include "library/wwrepeattimer.h"

#include "platform/ui/guard.h"

#include <QTimer>

namespace {

class QtRepeatTimer : public TwwRepeatTimer {
public:
    QtRepeatTimer()
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            guarded([this] {
                if (onTick)
                    onTick();
            });
        });
    }
    void start(int milliseconds) override { m_timer.start(milliseconds); }
    void setInterval(int milliseconds) override { m_timer.setInterval(milliseconds); }
    void stop() override { m_timer.stop(); }

private:
    QTimer m_timer;
};

TwwRepeatTimer::Factory& currentFactory()
{
    static TwwRepeatTimer::Factory factory;
    return factory;
}

}  // namespace

std::unique_ptr<TwwRepeatTimer> TwwRepeatTimer::create()
{
    if (currentFactory())
        return currentFactory()();
    return std::make_unique<QtRepeatTimer>();
}

TwwRepeatTimer::Factory TwwRepeatTimer::setFactory(Factory factory)
{
    Factory previous = std::move(currentFactory());
    currentFactory() = std::move(factory);
    return previous;
}
