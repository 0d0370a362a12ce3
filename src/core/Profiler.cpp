#include "core/Profiler.h"

#include <cassert>
#include <utility>

namespace {

double KeyOf(const ProfilerZone& zone, int32_t sortKey) {
    switch (sortKey) {
        case Profiler::kByChildren: return zone.lastChildren;
        case Profiler::kBySelf: return zone.lastTotal - zone.lastChildren;
        case Profiler::kByEntries: return zone.lastEntries;
        default: return zone.lastTotal;
    }
}

}  // namespace

void ProfilerZone::RollOver() {
    lastTotal = total;
    lastChildren = children;
    lastEntries = entries;
    total = 0;
    children = 0;
    entries = 0;
}

Profiler::Profiler(TimeSource source)
    : source_(source), frequency_(source.counterFrequency()), previousCounter_(source.counterTicks()) {}

Profiler::~Profiler() {
    for (ProfilerZone* zone : zones_) delete zone;
}

double Profiler::Seconds(uint64_t from, uint64_t to) const {
    // Without a counter frequency nothing can be measured: every time reads 0.
    if (frequency_ == 0) return 0;
    return static_cast<double>(to - from) / static_cast<double>(frequency_);
}

void Profiler::NextFrame() {
    const uint64_t now = source_.counterTicks();
    frameTime_ = Seconds(previousCounter_, now);
    ++framesInPeriod_;
    // The period is summed in whole ticks: frames of 0.3, 0.3, 0.3 and 0.1 s end it on
    // the fourth frame, where a sum of doubles would fall just short of one second.
    ticksInPeriod_ += now - previousCounter_;
    previousCounter_ = now;
    timeInPeriod_ = Seconds(0, ticksInPeriod_);
    if (frequency_ == 0 || static_cast<double>(ticksInPeriod_) < kPeriod * static_cast<double>(frequency_)) return;
    for (ProfilerZone* zone : zones_) zone->RollOver();
    timeOfLastPeriod_ = timeInPeriod_;
    framesOfLastPeriod_ = framesInPeriod_;
    timeInPeriod_ = 0;
    ticksInPeriod_ = 0;
    framesInPeriod_ = 0;
}

ProfilerZone* Profiler::Zone(const char* name) {
    for (ProfilerZone* zone : zones_) {
        if (zone->name == name) return zone;
    }
    ProfilerZone* zone = new ProfilerZone;
    zone->name = name;
    zones_.Append(zone);
    return zone;
}

void Profiler::Enter(ProfilerZone* zone) { open_.push_back(OpenZone{zone, source_.counterTicks()}); }

void Profiler::Leave() {
    if (open_.empty()) {
        assert(!"Profiler::Leave without Enter");
        return;
    }
    const OpenZone left = open_.back();
    open_.pop_back();
    const double elapsed = Seconds(left.start, source_.counterTicks());
    left.zone->total += elapsed;
    ++left.zone->entries;
    if (!open_.empty()) open_.back().zone->children += elapsed;
}

void Profiler::SortZones(Array<ProfilerZone*>& result, int32_t sortKey) const {
    result = zones_;
    // An exchange sort: the overlay's order of equal rows depends on it.
    for (int i = 0; i < result.Count(); ++i) {
        for (int j = i + 1; j < result.Count(); ++j) {
            if (KeyOf(*result[j], sortKey) > KeyOf(*result[i], sortKey)) std::swap(result[i], result[j]);
        }
    }
}

double Profiler::PerFrameMs(double seconds) const {
    // Before the first period ends there is nothing to divide by.
    if (framesOfLastPeriod_ == 0) return 0;
    return seconds * 1000.0 / framesOfLastPeriod_;
}

ProfilerRow Profiler::Row(const ProfilerZone& zone) const {
    ProfilerRow row;
    row.name = zone.name.CStr();
    row.timeMs = PerFrameMs(zone.lastTotal);
    row.selfMs = PerFrameMs(zone.lastTotal - zone.lastChildren);
    row.childMs = PerFrameMs(zone.lastChildren);
    row.entries = framesOfLastPeriod_ == 0 ? 0 : static_cast<double>(zone.lastEntries) / framesOfLastPeriod_;
    return row;
}

void Profiler::Rows(std::vector<ProfilerRow>& rows, int32_t sortKey) const {
    Array<ProfilerZone*> sorted;
    SortZones(sorted, sortKey);
    rows.clear();
    for (const ProfilerZone* zone : sorted) rows.push_back(Row(*zone));
}

double Profiler::FramesPerSecond() const {
    if (timeOfLastPeriod_ <= 0) return 0;
    return framesOfLastPeriod_ / timeOfLastPeriod_;
}
