#include "net/NetworkEventSchedule.h"

#include <cmath>
#include <string>

#include "core/Debugger.h"

NetworkEventSchedule::NetworkEventSchedule() { pool_.Preallocate(); }

NetworkEvent* NetworkEventSchedule::Allocate() {
    NetworkEvent* event = pool_.Allocate();
    event->Reset();
    return event;
}

bool NetworkEventSchedule::Queue(NetworkEvent* event, float clientClock) {
    const char* refusal = nullptr;
    if (!std::isfinite(event->time))
        refusal = "a stamp that is not a number";
    else if (event->time > clientClock + kMaxLeadSeconds)
        refusal = "a stamp too far ahead";
    else if (pending_.size() >= kMaxPending)
        refusal = "too many pending events";
    if (refusal == nullptr) {
        pending_.push_back(event);
        return true;
    }
    Debugger::Instance().Line(std::string("Network event dropped: ") + refusal);
    Release(event);
    return false;
}

void NetworkEventSchedule::MoveDueEvents(float clientClock, float frameTime) {
    const float horizon = clientClock + frameTime;
    size_t kept = 0;
    for (NetworkEvent* event : pending_) {
        if (event->time <= horizon)
            due_.push_back(event);
        else
            pending_[kept++] = event;
    }
    pending_.resize(kept);
}

void NetworkEventSchedule::ApplyDueEvents(NetworkEventApplier& applier) {
    // Applying may queue nothing here, but it may discard (a results event ends the
    // battle), so the due list is taken first.
    std::vector<NetworkEvent*> applying;
    applying.swap(due_);
    for (NetworkEvent* event : applying) applier.Apply(*event);
    for (NetworkEvent* event : applying) Release(event);
    pool_.Flush();
}

void NetworkEventSchedule::DiscardPending() {
    for (NetworkEvent* event : pending_) Release(event);
    for (NetworkEvent* event : due_) Release(event);
    pending_.clear();
    due_.clear();
    pool_.Flush();
}

void NetworkEventSchedule::Release(NetworkEvent* event) { pool_.Release(event); }
