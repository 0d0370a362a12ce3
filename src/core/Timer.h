#pragma once
// Seconds for the game clock, the start-up loader and network time-outs.
#include <cstdint>

// Where a timer reads the time. The default reads the platform clocks; tests pass their
// own functions so that deltas and clock wraps are exact.
struct TimeSource {
    uint64_t (*counterTicks)();
    uint64_t (*counterFrequency)();
    uint32_t (*tickCount)();

    static TimeSource System();
};

class Timer {
public:
    // With useCounter the high-resolution counter is used when it reports a frequency;
    // otherwise the millisecond tick count.
    explicit Timer(bool useCounter = true, TimeSource source = TimeSource::System());

    bool UsesCounter() const { return usesCounter_; }
    bool IsStopped() const { return stopped_; }

    // Starts the timer at zero; on a stopped timer, resumes it so that the stopped
    // interval does not count.
    void Start();
    // Freezes the timer: deltas and elapsed time stay at the moment of the stop.
    void Stop();

    // Seconds since the previous delta, or since Start for the first one.
    float GetDelta();
    // Seconds from Start to now; the stamps do not move.
    float GetElapsed() const;

private:
    uint64_t Now() const;
    // Seconds between two stamps of the active clock.
    float Seconds(uint64_t from, uint64_t to) const;

    TimeSource source_;
    bool usesCounter_ = false;
    uint64_t frequency_ = 0;
    bool started_ = false;
    bool stopped_ = false;
    uint64_t stopStamp_ = 0;
    uint64_t lastStamp_ = 0;
    uint64_t start_ = 0;
};
