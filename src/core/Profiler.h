#pragma once
// Frame time and named timing zones. Zones sum their time over a period of one second;
// at the period's end the sums become the "last period" figures that the overlay shows
// per frame.
#include <cstdint>
#include <vector>

#include "core/Array.h"
#include "core/String.h"
#include "core/Timer.h"

struct ProfilerZone {
    String name;
    double total = 0;     // seconds in the current period, children included
    double children = 0;  // seconds of zones entered inside this one
    int32_t entries = 0;
    double lastTotal = 0;
    double lastChildren = 0;
    int32_t lastEntries = 0;

    void RollOver();
};

// One zone as the overlay shows it: figures per frame of the last period.
struct ProfilerRow {
    const char* name = "";
    double timeMs = 0;
    double selfMs = 0;
    double childMs = 0;
    double entries = 0;
};

class Profiler {
public:
    static constexpr double kPeriod = 1.0;

    // Sort keys of the overlay, in the order its key steps through them.
    enum SortKey : int32_t { kByTotal = 0, kByChildren = 1, kBySelf = 2, kByEntries = 3 };

    explicit Profiler(TimeSource source = TimeSource::System());
    ~Profiler();
    Profiler(const Profiler&) = delete;
    Profiler& operator=(const Profiler&) = delete;

    // Once per frame: measures the frame and ends the period once it has lasted kPeriod.
    void NextFrame();

    // The zone of that name, made on first use; it lives as long as the profiler.
    ProfilerZone* Zone(const char* name);
    // Zones nest: time spent inside an entered zone also counts as its parent's child time.
    void Enter(ProfilerZone* zone);
    void Leave();

    // The zones in descending order of the key's last-period value.
    void SortZones(Array<ProfilerZone*>& result, int32_t sortKey) const;
    void SortZones(Array<ProfilerZone*>& result) const { SortZones(result, sortMode_); }

    // The overlay's figures: all 0 until the first period has ended.
    ProfilerRow Row(const ProfilerZone& zone) const;
    void Rows(std::vector<ProfilerRow>& rows, int32_t sortKey) const;
    double FramesPerSecond() const;
    double FrameTimeMs() const { return frameTime_ * 1000.0; }

    int32_t SortMode() const { return sortMode_; }
    void SetSortMode(int32_t mode) { sortMode_ = mode; }
    double FrameTime() const { return frameTime_; }
    int32_t FramesOfLastPeriod() const { return framesOfLastPeriod_; }
    double TimeOfLastPeriod() const { return timeOfLastPeriod_; }
    int32_t FramesInPeriod() const { return framesInPeriod_; }
    double TimeInPeriod() const { return timeInPeriod_; }

private:
    struct OpenZone {
        ProfilerZone* zone;
        uint64_t start;
    };

    double Seconds(uint64_t from, uint64_t to) const;
    // Per frame of the last period, in milliseconds.
    double PerFrameMs(double seconds) const;

    TimeSource source_;
    uint64_t frequency_ = 0;
    Array<ProfilerZone*> zones_;
    std::vector<OpenZone> open_;
    uint64_t previousCounter_ = 0;
    double frameTime_ = 0;
    int32_t framesInPeriod_ = 0;
    double timeInPeriod_ = 0;
    uint64_t ticksInPeriod_ = 0;
    int32_t framesOfLastPeriod_ = 0;
    double timeOfLastPeriod_ = 0;
    int32_t sortMode_ = kByTotal;
};

// Enters a zone for the life of the scope.
class ProfileScope {
public:
    ProfileScope(Profiler& profiler, ProfilerZone* zone) : profiler_(profiler) { profiler_.Enter(zone); }
    ~ProfileScope() { profiler_.Leave(); }
    ProfileScope(const ProfileScope&) = delete;
    ProfileScope& operator=(const ProfileScope&) = delete;

private:
    Profiler& profiler_;
};
