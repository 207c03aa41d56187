// When written frames are heard, as a sound server takes a stream: PulseAudio takes about 12
// periods at once when a stream starts and then one period whenever one has played.
#include "platform/audio/StreamClock.h"

#include <gtest/gtest.h>

namespace {

using Clock = StreamClock::Clock;
using std::chrono::microseconds;
using std::chrono::milliseconds;

constexpr int kRate = 44100;
constexpr std::size_t kPeriod = 1024;
constexpr int kBurst = 12;  // periods a fresh stream takes at once
const Clock::duration kPeriodTime = std::chrono::duration_cast<Clock::duration>(
    std::chrono::duration<double>(double(kPeriod) / kRate));

double ms(Clock::duration duration) { return std::chrono::duration<double, std::milli>(duration).count(); }

class StreamClockTest : public ::testing::Test {
protected:
    /// A write at now, rendered in 50 µs: how long until its first frame is heard.
    Clock::duration write(Clock::time_point now)
    {
        const auto heard = m_clock.write(now, kPeriod);
        m_clock.handedOver(now + microseconds(50));
        return heard - now;
    }
    /// A fresh stream's first burst from start; the time of its last write.
    Clock::time_point burst(Clock::time_point start)
    {
        for (int n = 0; n < kBurst; ++n)
            EXPECT_NEAR(ms(write(start + n * microseconds(60))), ms(n * kPeriodTime - n * microseconds(60)), 0.01);
        return start + (kBurst - 1) * microseconds(60);
    }

    StreamClock m_clock{kRate};
    const Clock::time_point m_start = Clock::now();
};

TEST_F(StreamClockTest, AStreamThatTheServerPacesIsHeardAfterWhatItTookAtOnce)
{
    burst(m_start);
    // Then the server asks for a period once one has played: the thread waited for it.
    const auto firstWait = m_start + milliseconds(18);
    const Clock::duration held = write(firstWait);
    EXPECT_NEAR(ms(held), kBurst * ms(kPeriodTime) - 18, 0.1);
    for (int n = 1; n < 100; ++n)
        EXPECT_NEAR(ms(write(firstWait + n * kPeriodTime)), ms(held), 0.1);
}

TEST_F(StreamClockTest, AServerWhoseClockRunsSlowerIsFollowedForHours)
{
    burst(m_start);
    const auto firstWait = m_start + milliseconds(18);
    const Clock::duration held = write(firstWait);
    // 100 ppm slow, as a sound card's crystal may be: 360 ms in an hour.
    const auto slowPeriod = std::chrono::duration_cast<Clock::duration>(kPeriodTime * 1.0001);
    const int periods = static_cast<int>(std::chrono::hours(1) / kPeriodTime);
    Clock::duration last{};
    for (int n = 1; n <= periods; ++n)
        last = write(firstWait + n * slowPeriod);
    EXPECT_NEAR(ms(last), ms(held), 0.5);
}

TEST_F(StreamClockTest, AStreamThatRanDryStartsOverWithTheNextWrite)
{
    const auto end = burst(m_start);
    // Nothing written for longer than it held (a thread held, or too slow): heard at once.
    const auto again = end + milliseconds(400);
    EXPECT_EQ(write(again), Clock::duration::zero());
    EXPECT_NEAR(ms(write(again + microseconds(60))), ms(kPeriodTime) - 0.06, 0.01);
}

TEST_F(StreamClockTest, AParkedDeviceThatResumesBeforeItsStreamRanDryGoesOn)
{
    burst(m_start);
    const auto firstWait = m_start + milliseconds(18);
    const Clock::duration held = write(firstWait);
    // Parked for 100 ms: the wait was not the server's, which played on meanwhile.
    m_clock.resume();
    const auto resumed = firstWait + milliseconds(100);
    EXPECT_NEAR(ms(write(resumed)), ms(held + kPeriodTime) - 100, 0.1);
}

}  // namespace
