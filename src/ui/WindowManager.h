#pragma once
// Holds every window ever made, the open ones in drawing order (the last is on top), the
// windows holding the mouse capture, the focused window and a stack of screens to return
// to. It opens, closes and raises windows, hands input to them and answers which window
// is under the pointer.
#include <initializer_list>
#include <cstdint>

#include "core/Array.h"
#include "core/Point.h"
#include "core/String.h"
#include "engine/InputEvent.h"

class Window;

class WindowManager {
public:
    // Room for this many windows before a list grows.
    static constexpr int kInitialCapacity = 32;

    WindowManager();
    WindowManager(const WindowManager&) = delete;
    WindowManager& operator=(const WindowManager&) = delete;

    void RegisterWindow(Window* window);
    // A window being destroyed leaves every list (tests make windows on the stack).
    void ForgetWindow(Window* window);
    // Opening an open window runs its OnOpen again without moving it.
    void OpenWindow(Window* window);
    void OpenWindows(std::initializer_list<Window*> windows);
    void OpenWindowAt(Window* window, const Point& point);
    void CloseWindow(Window* window);
    void CloseAllWindows();
    // The window takes the mouse capture and comes to the top.
    void BringToFront(Window* window);
    // Gives up the mouse capture.
    void RemoveFromFocusOrder(Window* window);
    bool IsCapturingMouse(const Window* window) const;
    void RaiseWindow(Window* window);
    void RaiseAt(int index);
    void RemoveFromOpenList(Window* window);
    Window* TopWindow() const;
    // The capturing window that takes all input, else the topmost open window containing
    // the point, else none.
    Window* WindowAt(const Point& point) const;
    void SetFocusWindow(Window* window);
    Window* FocusWindow() const { return focus_; }
    Window* FindWindowByName(const String& name) const;
    // Every registered window refreshes, open or not.
    void NotifyAll();
    void PushReturnWindow(Window* window);
    // Back one screen: every window closes and the last pushed one opens alone. Nothing
    // happens with an empty stack.
    void ReturnToPreviousWindow();
    bool IsOpen(const Window* window) const;
    // Whether the input is an Escape that the window it reaches (the capturing one, else the
    // one under the pointer) takes to close itself: its key, or the character that follows
    // the key it took, when the window has already closed.
    bool ClaimsEscape(const InputEvent& input);
    // Shutdown, before the renderer goes: every window closes and lets go of its renderer
    // resources, and the return stack and focus are emptied. The windows themselves live
    // as long as the program and stay registered, so a later start-up finds them again
    // and they remake their resources on the new renderer.
    void DestroyAllWindows();

    // One input record, as the game's input step hands it out. OfferInput: the capturing
    // windows, then the open windows under the pointer; true when one consumed it.
    bool OfferInput(const InputEvent& input);
    // Pointer moves and frame ticks reach every open window, top to bottom.
    void BroadcastInput(const InputEvent& input);
    // After a frame tick: the window under the pointer hovers its controls and comes up.
    void HoverAt(const Point& point);
    // After the input step: the capturing window, else the one under the pointer, gets
    // the focus.
    void UpdateFocus(const Point& pointer);
    // Every open window, back to front.
    void RenderAll();

    const Array<Window*>& RegisteredWindows() const { return registered_; }
    // Open windows from the back one to the front one.
    const Array<Window*>& OpenWindows() const { return open_; }
    const Array<Window*>& CaptureList() const { return capture_; }
    const Array<Window*>& ReturnStack() const { return returnStack_; }

private:
    void OpenOnList(Window* window);
    static void Remove(Array<Window*>& list, const Window* window);
    static void MoveToEnd(Array<Window*>& list, int index);

    Array<Window*> registered_;
    Array<Window*> open_;
    Array<Window*> capture_;
    Window* focus_ = nullptr;
    bool escapeClaimed_ = false;
    Array<Window*> returnStack_;
};

WindowManager& GetWindowManager();
