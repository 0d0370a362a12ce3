#include "platform/window/SystemWindow.h"

#include <algorithm>
#include <chrono>
#include <iterator>

#include "platform/window/ScriptedWindow.h"
#include "platform/window/SdlWindow.h"

namespace win {
namespace {

// The classic wheel unit: one notch of a wheel that turns in steps.
constexpr int kWheelDeltaPerNotch = 120;

bool IsValidKey(int key) { return key > 0 && key < kKeyCount; }

bool IsValidSide(int side) { return side >= 1 && side <= kMaxClientSide; }

// The keys whose characters the system's text input leaves out (it carries no control
// characters); their codes are the characters.
bool IsControlCharacterKey(int key) {
    return key == kKeyBackspace || key == kKeyTab || key == kKeyReturn || key == kKeyEscape;
}

int KeyOfButton(MouseButton button) {
    switch (button) {
        case MouseButton::Left: return kKeyLeftButton;
        case MouseButton::Right: return kKeyRightButton;
        case MouseButton::Middle: return kKeyMiddleButton;
    }
    return kKeyLeftButton;
}

// Decodes one UTF-8 sequence at text[i], advancing i past it. Returns -1 for a malformed
// sequence (i then skips one byte, so decoding resumes at the next possible lead byte).
int32_t DecodeUtf8(std::string_view text, size_t& i) {
    const auto lead = static_cast<unsigned char>(text[i++]);
    if (lead < 0x80) return lead;
    int length = 0;
    int32_t code = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 1;
        code = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 2;
        code = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 3;
        code = lead & 0x07;
    } else {
        return -1;
    }
    for (int k = 0; k < length; ++k) {
        if (i >= text.size()) return -1;
        const auto next = static_cast<unsigned char>(text[i]);
        if ((next & 0xC0) != 0x80) return -1;
        code = (code << 6) | (next & 0x3F);
        ++i;
    }
    return code;
}

// Printable Latin-1: the game's glyph and key tables hold single bytes, and control
// characters come only from the keys that make them.
bool IsPrintableLatin1(int32_t code) { return (code >= 0x20 && code < 0x7F) || (code >= 0xA0 && code <= 0xFF); }

}  // namespace

WindowResult OpenWindow(WindowBackend backend, const WindowDesc& desc) {
    if (!IsValidSide(desc.width) || !IsValidSide(desc.height)) {
        return {nullptr, "window size out of range"};
    }
    if (backend == WindowBackend::Scripted) {
        return {std::make_unique<ScriptedWindow>(desc), {}};
    }
    if (backend == WindowBackend::ScriptedGl) return ScriptedWindow::OpenOnGlSurface(desc);
    return SdlWindow::Open(desc);
}

SystemWindow::SystemWindow(const WindowDesc& desc)
    : title_(desc.title), size_{desc.width, desc.height}, fullScreen_(desc.fullScreen), visible_(desc.visible) {}

SystemWindow::~SystemWindow() = default;

bool SystemWindow::TakeQueued(Message& out, PeekMode mode) {
    if (queue_.empty()) return false;
    out = queue_.front();
    if (mode == PeekMode::Remove) queue_.pop_front();
    return true;
}

bool SystemWindow::PeekMessage(Message& out, PeekMode mode) {
    if (queue_.empty()) PumpSystem(0);
    return TakeQueued(out, mode);
}

bool SystemWindow::WaitMessage(Message& out, int timeoutMs) {
    // One system event may make no message (an event the game does not use), so keep
    // waiting until something is queued or the time is up.
    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    while (queue_.empty()) {
        int left = timeoutMs;
        if (timeoutMs >= 0) {
            const auto spent = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
            left = spent.count() >= timeoutMs ? 0 : timeoutMs - int(spent.count());
        }
        if (!PumpSystem(left)) break;
    }
    return TakeQueued(out, PeekMode::Remove);
}

void SystemWindow::PostQuit() { Post(MakeMessage(MessageKind::Quit)); }

void SystemWindow::SetTitle(std::string_view title) {
    title_ = title;
    ApplyTitle(title_);
}

bool SystemWindow::SetClientSize(int width, int height) {
    if (!IsValidSide(width) || !IsValidSide(height)) return false;
    // The backend notes the size the system settled on.
    return fullScreen_ ? ApplyFullScreen(true, width, height) : ApplyClientSize(width, height);
}

bool SystemWindow::SetFullScreen(bool fullScreen) {
    if (fullScreen == fullScreen_) return true;
    if (!ApplyFullScreen(fullScreen, size_.width, size_.height)) return false;
    fullScreen_ = fullScreen;
    return true;
}

void SystemWindow::Show(bool visible) {
    visible_ = visible;
    ApplyVisible(visible);
}

int SystemWindow::ShowCursor(bool show) {
    const bool wasVisible = IsCursorVisible();
    cursorCount_ += show ? 1 : -1;
    if (IsCursorVisible() != wasVisible) ApplyCursorVisible(IsCursorVisible());
    return cursorCount_;
}

void SystemWindow::SetArrowCursor() {
    ApplyArrowCursor();
    cursorShape_ = CursorShape::Arrow;
}

bool SystemWindow::SetCursorImage(const CursorImage& image) {
    if (image.width <= 0 || image.height <= 0 || image.width > kMaxClientSide || image.height > kMaxClientSide) {
        return false;
    }
    if (image.rgba.size() != size_t(image.width) * size_t(image.height) * 4) return false;
    if (image.hotX < 0 || image.hotX >= image.width || image.hotY < 0 || image.hotY >= image.height) {
        return false;
    }
    if (!ApplyCursorImage(image)) return false;
    cursorShape_ = CursorShape::Custom;
    return true;
}

void SystemWindow::SetPointerPosition(int x, int y) {
    pointer_ = {x, y};
    ApplyPointerPosition(x, y);
}

bool SystemWindow::IsKeyDown(int key) const { return IsValidKey(key) && keyDown_[key]; }

Message SystemWindow::MakeMessage(MessageKind kind) const {
    Message message;
    message.kind = kind;
    message.x = pointer_.x;
    message.y = pointer_.y;
    return message;
}

void SystemWindow::OnKey(int key, bool down, bool repeat, bool altDown) {
    if (!IsValidKey(key)) return;
    keyDown_[key] = down;
    Message message = MakeMessage(down ? MessageKind::KeyDown : MessageKind::KeyUp);
    message.key = key;
    message.repeat = down && repeat;
    message.altDown = altDown;
    Post(message);
    // With Alt held these keys make system characters, which the game does not take.
    if (!down || altDown || !IsControlCharacterKey(key)) return;
    Message character = MakeMessage(MessageKind::Char);
    character.character = uint8_t(key);
    Post(character);
}

void SystemWindow::OnText(std::string_view utf8, bool altDown) {
    if (altDown) return;
    size_t i = 0;
    while (i < utf8.size()) {
        const int32_t code = DecodeUtf8(utf8, i);
        if (!IsPrintableLatin1(code)) continue;
        Message character = MakeMessage(MessageKind::Char);
        character.character = uint8_t(code);
        Post(character);
    }
}

void SystemWindow::OnButton(MouseButton button, bool down, int clicks, int x, int y) {
    pointer_ = {x, y};
    keyDown_[KeyOfButton(button)] = down;
    // Presses alternate between single and double: the third press of a quick series
    // starts a new double click, as it always has for the game's windows.
    MessageKind kind = MessageKind::ButtonUp;
    if (down) kind = (clicks >= 2 && clicks % 2 == 0) ? MessageKind::DoubleClick : MessageKind::ButtonDown;
    Message message = MakeMessage(kind);
    message.button = button;
    Post(message);
}

void SystemWindow::OnWheel(int notches) {
    if (notches == 0) return;
    Message message = MakeMessage(MessageKind::Wheel);
    message.wheelDelta = notches * kWheelDeltaPerNotch;
    Post(message);
}

void SystemWindow::OnPointerMove(int x, int y) {
    pointer_ = {x, y};
    Post(MakeMessage(MessageKind::PointerMove));
}

void SystemWindow::OnFocus(bool gained) {
    if (gained == active_) return;
    active_ = gained;
    // Releases made while another program has the focus never reach this window, so every
    // key counts as up until it is pressed again.
    if (!gained) std::fill(std::begin(keyDown_), std::end(keyDown_), false);
    Message message = MakeMessage(MessageKind::Activate);
    message.active = gained;
    Post(message);
}

void SystemWindow::OnQuit() { Post(MakeMessage(MessageKind::Quit)); }

void SystemWindow::OnClosed() { Post(MakeMessage(MessageKind::Destroyed)); }

}  // namespace win
