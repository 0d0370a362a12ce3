// Opens, closes and raises the windows and hands input to them.
#include "ui/WindowManager.h"

#include "game/Game.h"
#include "platform/window/Keys.h"
#include "ui/UiServices.h"
#include "ui/Window.h"

namespace {

constexpr int32_t kMusicKey = 'M';

bool IsFrontEndMenu(const Window* window) {
    return window != nullptr && (window->name.EqualsNoCase("MainMenu") || window->name.EqualsNoCase("PlayerMenu") ||
                                 window->name.EqualsNoCase("GameMenu"));
}

}  // namespace

WindowManager::WindowManager() : registered_(kInitialCapacity), open_(kInitialCapacity), capture_(kInitialCapacity) {}

void WindowManager::RegisterWindow(Window* window) {
    if (window != nullptr) registered_.AddUnique(window);
}

void WindowManager::ForgetWindow(Window* window) {
    Remove(registered_, window);
    Remove(open_, window);
    Remove(capture_, window);
    Remove(returnStack_, window);
    if (focus_ == window) focus_ = nullptr;
}

void WindowManager::OpenOnList(Window* window) {
    window->EnsureResources();
    open_.AddUnique(window);
    window->open = true;
    window->OnOpen();
}

void WindowManager::OpenWindow(Window* window) {
    if (window != nullptr) OpenOnList(window);
}

void WindowManager::OpenWindows(std::initializer_list<Window*> windows) {
    for (Window* window : windows) OpenWindow(window);
}

void WindowManager::OpenWindowAt(Window* window, const Point& point) {
    if (window == nullptr) return;
    window->EnsureResources();
    window->MoveTo(point);
    window->UpdateLayout();
    OpenOnList(window);
}

void WindowManager::CloseWindow(Window* window) {
    if (window == nullptr) return;
    if (window->open) window->OnClose();
    window->open = false;
    Remove(capture_, window);
    RemoveFromOpenList(window);
}

void WindowManager::CloseAllWindows() {
    capture_.Clear();
    while (!open_.IsEmpty()) CloseWindow(open_[0]);
}

void WindowManager::BringToFront(Window* window) {
    if (window == nullptr) return;
    Remove(capture_, window);
    capture_.Append(window);
    RaiseWindow(window);
}

void WindowManager::RemoveFromFocusOrder(Window* window) { Remove(capture_, window); }

bool WindowManager::IsCapturingMouse(const Window* window) const {
    return window != nullptr && capture_.Find(const_cast<Window*>(window)) >= 0;
}

void WindowManager::RaiseWindow(Window* window) { RaiseAt(open_.Find(window)); }

void WindowManager::RaiseAt(int index) {
    if (index >= 0 && index < open_.Count()) MoveToEnd(open_, index);
}

void WindowManager::RemoveFromOpenList(Window* window) { Remove(open_, window); }

Window* WindowManager::TopWindow() const { return open_.IsEmpty() ? nullptr : open_[open_.Count() - 1]; }

Window* WindowManager::WindowAt(const Point& point) const {
    for (int i = capture_.Count() - 1; i >= 0; --i) {
        if (!capture_[i]->passesInput) return capture_[i];
    }
    for (int i = open_.Count() - 1; i >= 0; --i) {
        if (open_[i]->ContainsPoint(point)) return open_[i];
    }
    return nullptr;
}

void WindowManager::SetFocusWindow(Window* window) {
    if (window == focus_) return;
    if (focus_ != nullptr) focus_->SetNormalColour();
    if (window != nullptr) window->SetHighlightColour();
    focus_ = window;
}

Window* WindowManager::FindWindowByName(const String& name) const {
    for (Window* window : registered_) {
        if (window->name.EqualsNoCase(name.CStr())) return window;
    }
    return nullptr;
}

void WindowManager::NotifyAll() {
    for (int i = 0; i < registered_.Count(); ++i) {
        registered_[i]->ForgetStaleResources();
        registered_[i]->Refresh();
    }
}

void WindowManager::PushReturnWindow(Window* window) {
    if (window != nullptr) returnStack_.Append(window);
}

void WindowManager::ReturnToPreviousWindow() {
    if (returnStack_.IsEmpty()) return;
    Window* previous = returnStack_[returnStack_.Count() - 1];
    returnStack_.RemoveAt(returnStack_.Count() - 1);
    CloseAllWindows();
    OpenOnList(previous);
}

void WindowManager::DestroyAllWindows() {
    CloseAllWindows();
    returnStack_.Clear();
    SetFocusWindow(nullptr);
    for (Window* window : registered_) window->ReleaseResources();
}

bool WindowManager::IsOpen(const Window* window) const {
    return window != nullptr && open_.Find(const_cast<Window*>(window)) >= 0;
}

bool WindowManager::ClaimsEscape(const InputEvent& input) {
    if (input.code != win::kKeyEscape) return false;
    const Window* reached = WindowAt(Point(input.x, input.y));
    const bool taken = reached != nullptr && reached->open && reached->TakesEscape();
    if (input.kind == kInputDown) escapeClaimed_ = taken;
    if (input.kind != kInputCharacter) return taken;
    const bool claimed = taken || escapeClaimed_;
    escapeClaimed_ = false;
    return claimed;
}

bool WindowManager::OfferInput(const InputEvent& input) {
    // A handler may close windows or open others, so each walk works on a copy.
    const Array<Window*> capturing = capture_;
    for (int i = capturing.Count() - 1; i >= 0; --i) {
        Window* window = capturing[i];
        if (capture_.Find(window) < 0) continue;
        const bool handled = window->HandleMouse(input);
        if (handled || !window->passesInput) return true;
    }
    const Point point(input.x, input.y);
    const Array<Window*> windows = open_;
    for (int i = windows.Count() - 1; i >= 0; --i) {
        Window* window = windows[i];
        if (!window->open || capture_.Find(window) >= 0 || !window->ContainsPoint(point)) continue;
        if (!window->HandleMouse(input)) continue;
        if (capture_.IsEmpty() && !window->fullScreen) RaiseWindow(window);
        return true;
    }
    Window* top = TopWindow();
    if (IsFrontEndMenu(top) && input.IsKeyDown(kMusicKey)) ToggleMusic();
    const bool leftButton = (input.kind == kInputDown || input.kind == kInputUp) && input.code == kInputButtonLeft;
    if (top != nullptr && top->name.EqualsNoCase("MainMenu") && leftButton) top->HandleMouse(input);
    return false;
}

void WindowManager::BroadcastInput(const InputEvent& input) {
    if (input.kind == kInputFrameTick) AdvanceUiFrameCounter();
    const Array<Window*> windows = open_;
    for (int i = windows.Count() - 1; i >= 0; --i) {
        if (windows[i]->open) windows[i]->HandleMouse(input);
    }
}

void WindowManager::HoverAt(const Point& point) {
    Window* window = WindowAt(point);
    if (window == nullptr) return;
    window->HitTestControls(point);
    if (!window->fullScreen) RaiseWindow(window);
}

void WindowManager::UpdateFocus(const Point& pointer) {
    if (!capture_.IsEmpty()) {
        SetFocusWindow(capture_[capture_.Count() - 1]);
        return;
    }
    for (int i = open_.Count() - 1; i >= 0; --i) {
        Window* window = open_[i];
        if (!window->ContainsPoint(pointer)) continue;
        if (!window->fullScreen) RaiseWindow(window);
        SetFocusWindow(window);
        return;
    }
}

void WindowManager::RenderAll() {
    const Array<Window*> windows = open_;
    for (Window* window : windows) window->Render();
}

void WindowManager::Remove(Array<Window*>& list, const Window* window) {
    const int index = list.Find(const_cast<Window*>(window));
    if (index >= 0) list.RemoveAt(index);
}

void WindowManager::MoveToEnd(Array<Window*>& list, int index) {
    Window* window = list[index];
    list.RemoveAt(index);
    list.Append(window);
}

WindowManager& GetWindowManager() {
    static WindowManager manager;
    return manager;
}
