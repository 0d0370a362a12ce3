#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

#include "net/NetworkEventSchedule.h"

namespace {

struct Recorder : NetworkEventApplier {
    void Apply(const NetworkEvent& event) override {
        applied.push_back(event.value);
        if (onApply) onApply(event);
    }
    std::vector<uint32_t> applied;
    std::function<void(const NetworkEvent&)> onApply;
};

void QueueEvent(NetworkEventSchedule& schedule, uint32_t id, float stamp, float clock) {
    NetworkEvent* event = schedule.Allocate();
    event->kind = NetworkEventKind::BallUpdate;
    event->value = id;
    event->time = stamp;
    schedule.Queue(event, clock);
}

}  // namespace

TEST(NetworkEventSchedule, EventsApplyOnceClockPlusFrameReachesThemInArrivalOrder) {
    NetworkEventSchedule schedule;
    Recorder recorder;
    // Quarter seconds add up exactly in floats.
    QueueEvent(schedule, 1, 10.75f, 10.0f);  // 0.75 s ahead
    QueueEvent(schedule, 2, 9.0f, 10.0f);    // already past: next update
    QueueEvent(schedule, 3, 11.0f, 10.0f);
    QueueEvent(schedule, 4, 10.875f, 10.0f);  // earlier stamp than 3, but arrived later

    float clock = 10.0f;
    const float frame = 0.25f;
    std::vector<std::vector<uint32_t>> perFrame;
    for (int i = 0; i < 5; ++i) {
        schedule.MoveDueEvents(clock, frame);
        recorder.applied.clear();
        schedule.ApplyDueEvents(recorder);
        perFrame.push_back(recorder.applied);
        clock += frame;
    }
    // Clock + frame: 10.25, 10.5, 10.75 (event 1 is due), 11.0 (3 and 4, in arrival order).
    EXPECT_EQ(perFrame[0], std::vector<uint32_t>({2}));
    EXPECT_EQ(perFrame[1], std::vector<uint32_t>{});
    EXPECT_EQ(perFrame[2], std::vector<uint32_t>({1}));
    EXPECT_EQ(perFrame[3], std::vector<uint32_t>({3, 4}));
    EXPECT_EQ(schedule.PendingCount(), 0u);
}

TEST(NetworkEventSchedule, RefusesStampsFarAheadOrNotNumbersAndCapsThePendingList) {
    NetworkEventSchedule schedule;
    QueueEvent(schedule, 1, 100.0f + NetworkEventSchedule::kMaxLeadSeconds, 100.0f);
    QueueEvent(schedule, 2, 100.1f + NetworkEventSchedule::kMaxLeadSeconds, 100.0f);
    QueueEvent(schedule, 3, std::numeric_limits<float>::quiet_NaN(), 100.0f);
    QueueEvent(schedule, 4, std::numeric_limits<float>::infinity(), 100.0f);
    EXPECT_EQ(schedule.PendingCount(), 1u);

    for (size_t i = 1; i < NetworkEventSchedule::kMaxPending + 10; ++i) QueueEvent(schedule, 9, 150.0f, 100.0f);
    EXPECT_EQ(schedule.PendingCount(), NetworkEventSchedule::kMaxPending);
    schedule.DiscardPending();
    EXPECT_EQ(schedule.PendingCount(), 0u);
}

TEST(NetworkEventSchedule, AnApplierThatDiscardsMidwayLosesOnlyThePendingEvents) {
    NetworkEventSchedule schedule;
    Recorder recorder;
    for (uint32_t id = 1; id <= 3; ++id) QueueEvent(schedule, id, 1.0f, 1.0f);
    QueueEvent(schedule, 4, 5.0f, 1.0f);
    // The results event ends the battle: everything still waiting goes.
    recorder.onApply = [&](const NetworkEvent& event) {
        if (event.value == 2) schedule.DiscardPending();
    };
    schedule.MoveDueEvents(1.0f, 0.1f);
    schedule.ApplyDueEvents(recorder);
    EXPECT_EQ(recorder.applied, std::vector<uint32_t>({1, 2, 3}));
    EXPECT_EQ(schedule.PendingCount(), 0u);
    // The records came back to the pool cleared for reuse.
    NetworkEvent* reused = schedule.Allocate();
    EXPECT_EQ(reused->kind, NetworkEventKind::None);
    EXPECT_EQ(reused->value, 0u);
}
