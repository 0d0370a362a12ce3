#pragma once
// The program's one window: its title, size and full-screen state, the cursor, the pointer,
// the key state, and the pump that turns input into Message records. Two backends share
// all the translation: SdlWindow (a real SDL window; headless under
// SDL_VIDEODRIVER=offscreen or dummy) and ScriptedWindow, whose input a test supplies.
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/window/Keys.h"
#include "platform/window/Message.h"

struct SDL_Window;

namespace win {

// ScriptedGl: input as Scripted, but the window carries a hidden SDL window with an
// OpenGL-capable surface, so that a test scripts the input while the picture is drawn
// for real (under SDL_VIDEODRIVER=offscreen no display is needed).
enum class WindowBackend { Sdl, Scripted, ScriptedGl };

struct WindowDesc {
    std::string title;
    int width = 1024;  // client size; in full screen the display resolution asked for
    int height = 748;
    bool fullScreen = false;
    bool visible = true;
    // An OpenGL-capable window. The pixel format is fixed when the window is made, so the
    // depth, stencil and multisample sizes are asked for here; the context itself belongs
    // to the graphics layer.
    bool openGl = false;
    int depthBits = 24;
    int stencilBits = 8;
    int multisamples = 0;  // 0 or 1: none; otherwise samples per pixel
};

enum class CursorShape { Arrow, Custom };

// A cursor picture: width x height pixels, 4 bytes each (red, green, blue, alpha), rows
// top to bottom with no padding; the hot spot is the pixel that points.
struct CursorImage {
    int width = 0;
    int height = 0;
    int hotX = 0;
    int hotY = 0;
    std::vector<uint8_t> rgba;
};

struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point&) const = default;
};

struct Size {
    int width = 0;
    int height = 0;
    bool operator==(const Size&) const = default;
};

class SystemWindow;

struct WindowResult {
    std::unique_ptr<SystemWindow> window;  // null on failure
    std::string error;                     // why it failed
};

// Sizes above this are refused: no display is that large, and the graphics layer sizes
// buffers from them.
constexpr int kMaxClientSide = 16384;

WindowResult OpenWindow(WindowBackend backend, const WindowDesc& desc);

enum class PeekMode { Keep, Remove };

class SystemWindow {
public:
    virtual ~SystemWindow();
    SystemWindow(const SystemWindow&) = delete;
    SystemWindow& operator=(const SystemWindow&) = delete;

    // --- the message pump
    // Takes the next message (or only looks at it, with Keep) without waiting. False when
    // there is none.
    bool PeekMessage(Message& out, PeekMode mode = PeekMode::Remove);
    // Waits up to timeoutMs (negative: without limit) for the next message and takes it.
    // False when the time ran out. The scripted backend never waits: nothing can arrive
    // while it blocks.
    bool WaitMessage(Message& out, int timeoutMs = -1);
    // Queues a Quit message behind the pending ones.
    void PostQuit();

    // --- the window
    // The title is in the game's single-byte text (Latin-1).
    const std::string& Title() const { return title_; }
    void SetTitle(std::string_view title);
    Size ClientSize() const { return size_; }
    // False (and nothing changes) for sizes outside 1..kMaxClientSide or when the system
    // refuses. In full screen the display switches to the size.
    bool SetClientSize(int width, int height);
    bool IsFullScreen() const { return fullScreen_; }
    // Full screen switches the display to exactly the client size. False when the system
    // refuses (no such resolution); the window then stays as it was.
    bool SetFullScreen(bool fullScreen);
    bool IsVisible() const { return visible_; }
    void Show(bool visible);
    // Whether the application has the keyboard focus.
    bool IsActive() const { return active_; }
    // Raises the window and asks for the focus; the Activate message follows when given.
    virtual void Focus() = 0;

    // --- the cursor
    // Adds 1 (show) or subtracts 1 (hide) from the display counter and returns the new
    // count. The cursor is shown while the count is 0 or more; it starts at 0.
    int ShowCursor(bool show);
    bool IsCursorVisible() const { return cursorCount_ >= 0; }
    CursorShape Cursor() const { return cursorShape_; }
    void SetArrowCursor();
    // False for an empty or inconsistent image (size, pixel count, hot spot outside); the
    // cursor then stays as it was.
    bool SetCursorImage(const CursorImage& image);

    // --- the pointer and the keys
    // In client pixels, as of the last input the pump took from the system.
    Point PointerPosition() const { return pointer_; }
    // Moves the pointer (client pixels). The system may report the move as a PointerMove.
    void SetPointerPosition(int x, int y);
    // Whether the key (or mouse button, kKeyLeftButton..) is down now, as of the last input
    // the pump took. Losing the focus releases them all: their releases go elsewhere.
    bool IsKeyDown(int key) const;

    // The SDL window for the graphics layer; null for the scripted backend.
    virtual SDL_Window* NativeWindow() const { return nullptr; }

protected:
    explicit SystemWindow(const WindowDesc& desc);

    // Backends report input through these; they make the messages and keep the state.
    // `altDown`: the left Alt key is held (right Alt is AltGr on many layouts and types
    // characters). Keys outside 1..255 are ignored.
    void OnKey(int key, bool down, bool repeat, bool altDown);
    void OnText(std::string_view utf8, bool altDown);
    void OnButton(MouseButton button, bool down, int clicks, int x, int y);
    void OnWheel(int notches);
    void OnPointerMove(int x, int y);
    void OnFocus(bool gained);
    void OnQuit();
    void OnClosed();

    // Moves the system's pending input into the queue; waits up to timeoutMs (negative:
    // without limit, 0: not at all) for the first of it. Returns false when none came.
    virtual bool PumpSystem(int timeoutMs) = 0;
    virtual void ApplyTitle(const std::string& title) = 0;
    virtual bool ApplyClientSize(int width, int height) = 0;
    virtual bool ApplyFullScreen(bool fullScreen, int width, int height) = 0;
    virtual void ApplyVisible(bool visible) = 0;
    virtual void ApplyCursorVisible(bool visible) = 0;
    virtual void ApplyArrowCursor() = 0;
    virtual bool ApplyCursorImage(const CursorImage& image) = 0;
    virtual void ApplyPointerPosition(int x, int y) = 0;

    // The client size the system settled on; the Apply functions and system events report it.
    void NoteClientSize(int width, int height) { size_ = {width, height}; }

private:
    Message MakeMessage(MessageKind kind) const;
    void Post(const Message& message) { queue_.push_back(message); }
    bool TakeQueued(Message& out, PeekMode mode);

    std::deque<Message> queue_;
    std::string title_;
    Size size_;
    bool fullScreen_ = false;
    bool visible_ = true;
    bool active_ = true;
    int cursorCount_ = 0;
    CursorShape cursorShape_ = CursorShape::Arrow;
    Point pointer_;
    bool keyDown_[kKeyCount] = {};
};

}  // namespace win
