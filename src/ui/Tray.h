#pragma once
// A window of entries that remembers which entry was used most recently (scenarios,
// squads, units).
#include <cstdint>

#include "core/String.h"
#include "ui/Window.h"

class Tray : public Window {
public:
    using Window::Window;

    // Makes the named entry the most recently used one.
    void MarkMostRecentlyUsed(const String& entryName);
    const String& MostRecentlyUsed() const { return mostRecent_; }

    void Refresh() override;
    int32_t refreshCount = 0;

private:
    String mostRecent_;
};
