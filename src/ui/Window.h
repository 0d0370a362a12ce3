#pragma once
// The base of every window: its name and whether it is open. Windows are made once at
// start-up and live for the whole run.
#include <cstdint>

#include "core/String.h"

class Window {
public:
    Window() = default;
    explicit Window(const String& windowName) : name(windowName) {}
    virtual ~Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // Re-reads what the window shows.
    virtual void Refresh();

    String name;
    bool open = false;
};
