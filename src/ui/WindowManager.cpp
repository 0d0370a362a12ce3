// Opens and closes windows and keeps the open ones in order, back to front.
#include "ui/WindowManager.h"

#include "ui/Window.h"

void WindowManager::OpenWindow(Window* window) {
    if (window == nullptr || IsOpen(window)) return;
    open_.Append(window);
    window->open = true;
}

void WindowManager::CloseWindow(Window* window) {
    if (window == nullptr) return;
    window->open = false;
    const int index = open_.Find(window);
    if (index >= 0) open_.RemoveAt(index);
}

bool WindowManager::IsOpen(const Window* window) const {
    return window != nullptr && open_.Find(const_cast<Window*>(window)) >= 0;
}

WindowManager& GetWindowManager() {
    static WindowManager manager;
    return manager;
}
