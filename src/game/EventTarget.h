#pragma once
// What an event is addressed to: the window that posted it. The game hands every
// dispatched event back to its target, so that a mode can intercept any command by
// number before the window acts on it. The windows of the UI implement it.
class Event;

class EventTarget {
public:
    virtual void HandleCommand(Event& event) = 0;

protected:
    ~EventTarget() = default;
};
