#pragma once
// Opens and closes windows and keeps the open ones in order, back to front.
#include "core/Array.h"

class Window;

class WindowManager {
public:
    // Opens the window on top of the others; an open window stays where it is.
    void OpenWindow(Window* window);
    void CloseWindow(Window* window);
    bool IsOpen(const Window* window) const;
    // Open windows from the back one to the front one.
    const Array<Window*>& OpenWindows() const { return open_; }

private:
    Array<Window*> open_;
};

WindowManager& GetWindowManager();
