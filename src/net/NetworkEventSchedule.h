#pragma once
// The client's timed battle events between receipt and application. Events wait in
// arrival order until the client's clock plus the frame time reaches their stamp; those
// due in one frame are applied in arrival order, whatever their stamps. A server that
// stamps far ahead, or floods, cannot make the client hold events without bound.
#include <cstddef>
#include <vector>

#include "net/NetworkEvent.h"
#include "net/NetworkEventApplier.h"

class NetworkEventSchedule {
public:
    // Stamps further ahead of the client's clock than this are refused.
    static constexpr float kMaxLeadSeconds = 60.0f;
    static constexpr size_t kMaxPending = 100000;

    NetworkEventSchedule();

    // A cleared record from the pool, for a receiver to fill and Queue.
    NetworkEvent* Allocate();
    // Appends a filled record to the pending list, or releases it (and logs) when its
    // stamp is not finite or too far ahead, or the list is full. True when queued.
    bool Queue(NetworkEvent* event, float clientClock);

    // Moves every pending event stamped no later than clock + frameTime to the due list.
    void MoveDueEvents(float clientClock, float frameTime);
    // Applies the due events in order, then returns them all to the pool.
    void ApplyDueEvents(NetworkEventApplier& applier);
    // Drops every pending and due event (client stop, leaving, a new world, results).
    void DiscardPending();

    size_t PendingCount() const { return pending_.size(); }
    size_t DueCount() const { return due_.size(); }

private:
    void Release(NetworkEvent* event);

    NetworkEventMemoryBlock pool_;
    std::vector<NetworkEvent*> pending_;
    std::vector<NetworkEvent*> due_;
};
