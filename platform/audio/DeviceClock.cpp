#include "platform/audio/DeviceClock.h"

#include <QTimer>

namespace {

class QtTimer final : public DeviceClock::Timer {
public:
    QtTimer(DeviceClock::TimerMode mode, std::function<void()> timeout)
    {
        m_timer.setSingleShot(mode == DeviceClock::TimerMode::SingleShot);
        m_timer.callOnTimeout(std::move(timeout));
    }

    void start(std::chrono::milliseconds interval) override { m_timer.start(interval); }
    void stop() override { m_timer.stop(); }

private:
    QTimer m_timer;
};

}  // namespace

DeviceClock::TimePoint EventLoopClock::now() const { return OutputDevice::Clock::now(); }

std::unique_ptr<DeviceClock::Timer> EventLoopClock::timer(TimerMode mode, std::function<void()> timeout)
{
    return std::make_unique<QtTimer>(mode, std::move(timeout));
}
