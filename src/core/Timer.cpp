#include "core/Timer.h"

#include "platform/sys/Clock.h"

TimeSource TimeSource::System() { return TimeSource{&sys::CounterTicks, &sys::CounterFrequency, &sys::TickCount}; }

Timer::Timer(bool useCounter, TimeSource source) : source_(source) {
    if (useCounter) {
        frequency_ = source_.counterFrequency();
        usesCounter_ = frequency_ != 0;
    }
}

uint64_t Timer::Now() const {
    if (stopped_) return stopStamp_;
    return usesCounter_ ? source_.counterTicks() : source_.tickCount();
}

float Timer::Seconds(uint64_t from, uint64_t to) const {
    if (usesCounter_) return static_cast<float>(static_cast<double>(to - from) / static_cast<double>(frequency_));
    // The tick count wraps at 2^32: the unsigned 32-bit difference is still right.
    const uint32_t ms = static_cast<uint32_t>(to) - static_cast<uint32_t>(from);
    return static_cast<float>(ms) * 0.001f;
}

void Timer::Start() {
    if (started_ && stopped_) {
        stopped_ = false;
        uint64_t paused = Now() - stopStamp_;
        if (!usesCounter_) paused = static_cast<uint32_t>(paused);
        start_ += paused;
        lastStamp_ += paused;
        return;
    }
    stopped_ = false;
    started_ = true;
    start_ = lastStamp_ = Now();
}

void Timer::Stop() {
    if (!started_ || stopped_) return;
    stopStamp_ = Now();
    stopped_ = true;
}

float Timer::GetDelta() {
    const uint64_t now = Now();
    const float delta = Seconds(lastStamp_, now);
    lastStamp_ = now;
    return delta;
}

float Timer::GetElapsed() const { return Seconds(start_, Now()); }
