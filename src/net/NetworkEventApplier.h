#pragma once
// What applying a due timed event does to the world: the network game implements it.
struct NetworkEvent;

class NetworkEventApplier {
public:
    virtual ~NetworkEventApplier() = default;
    virtual void Apply(const NetworkEvent& event) = 0;
};
