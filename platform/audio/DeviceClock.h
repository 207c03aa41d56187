#pragma once

#include "platform/audio/OutputDevice.h"

#include <chrono>
#include <functional>
#include <memory>

/// Time for the life of sound devices (OutputDevices): what time it is, and timers that call
/// back a while later. EventLoopClock is the real one; tests step a clock of their own instead
/// of waiting for time to pass.
///
/// Threads: one thread, the one whose timers call back.
class DeviceClock {
public:
    using TimePoint = OutputDevice::Clock::time_point;

    /// Calls back a while after it was started, on the clock's thread, never from within
    /// start() or stop().
    class Timer {
    public:
        virtual ~Timer() = default;
        /// Calls back interval (more than 0 ms) from now, and a repeating timer every interval
        /// after that; a timer started again counts from now.
        virtual void start(std::chrono::milliseconds interval) = 0;
        /// No call back until it is started again; stopping a stopped timer does nothing.
        virtual void stop() = 0;
    };
    enum class TimerMode { SingleShot, Repeating };

    virtual ~DeviceClock() = default;

    virtual TimePoint now() const = 0;
    /// A stopped timer that calls timeout; it must not outlive this clock.
    virtual std::unique_ptr<Timer> timer(TimerMode mode, std::function<void()> timeout) = 0;
};

/// The steady clock's time, and Qt's timers, which call back from the event loop of the thread
/// that made them (without one running, they never do).
class EventLoopClock final : public DeviceClock {
public:
    TimePoint now() const override;
    std::unique_ptr<Timer> timer(TimerMode mode, std::function<void()> timeout) override;
};
