#pragma once

#include "platform/audio/DeviceClock.h"

#include <algorithm>
#include <optional>
#include <vector>

/// A DeviceClock whose time stands still until the test steps it: advance() moves it on and
/// calls back, in time order and each at its time, every timer that falls due on the way.
/// The test's own thread only.
class SteppedClock final : public DeviceClock {
public:
    TimePoint now() const override { return m_now; }

    std::unique_ptr<Timer> timer(TimerMode mode, std::function<void()> timeout) override
    {
        return std::make_unique<SteppedTimer>(*this, mode, std::move(timeout));
    }

    /// Moves time on by step; a call back may start and stop timers, its own included.
    void advance(std::chrono::milliseconds step)
    {
        const TimePoint target = m_now + step;
        while (SteppedTimer* next = nextDue(target)) {
            m_now = *next->m_due;
            if (next->m_mode == TimerMode::Repeating)
                *next->m_due += next->m_interval;
            else
                next->m_due.reset();
            next->m_timeout();
        }
        m_now = target;
    }

    /// How long until the next call back; nothing while no timer runs.
    std::optional<std::chrono::milliseconds> nextCallIn() const
    {
        const SteppedTimer* next = nextDue(TimePoint::max());
        if (!next)
            return std::nullopt;
        return std::chrono::duration_cast<std::chrono::milliseconds>(*next->m_due - m_now);
    }

private:
    class SteppedTimer final : public Timer {
    public:
        SteppedTimer(SteppedClock& clock, TimerMode mode, std::function<void()> timeout)
            : m_clock(clock), m_mode(mode), m_timeout(std::move(timeout))
        {
            m_clock.m_timers.push_back(this);
        }
        ~SteppedTimer() override { std::erase(m_clock.m_timers, this); }

        void start(std::chrono::milliseconds interval) override
        {
            m_interval = interval;
            m_due = m_clock.m_now + interval;
        }
        void stop() override { m_due.reset(); }

        SteppedClock& m_clock;
        const TimerMode m_mode;
        const std::function<void()> m_timeout;
        std::chrono::milliseconds m_interval{0};
        std::optional<TimePoint> m_due;  // nothing while stopped
    };

    /// The running timer due first, at or before limit; the one made first among equals.
    SteppedTimer* nextDue(TimePoint limit) const
    {
        SteppedTimer* first = nullptr;
        for (SteppedTimer* timer : m_timers) {
            if (timer->m_due && *timer->m_due <= limit && (!first || *timer->m_due < *first->m_due))
                first = timer;
        }
        return first;
    }

    TimePoint m_now;
    std::vector<SteppedTimer*> m_timers;
};
