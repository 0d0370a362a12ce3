#include "platform/window/SdlWindow.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

namespace win {
namespace {

// Keys whose SDL code stands for the same key on every layout.
int VirtualKeyOfFixedKey(SDL_Keycode keycode) {
    switch (keycode) {
        case SDLK_BACKSPACE: return kKeyBackspace;
        case SDLK_TAB: return kKeyTab;
        case SDLK_RETURN:
        case SDLK_KP_ENTER: return kKeyReturn;
        case SDLK_LSHIFT:
        case SDLK_RSHIFT: return kKeyShift;
        case SDLK_LCTRL:
        case SDLK_RCTRL: return kKeyControl;
        case SDLK_LALT:
        case SDLK_RALT: return kKeyAlt;
        case SDLK_PAUSE: return kKeyPause;
        case SDLK_CAPSLOCK: return kKeyCapsLock;
        case SDLK_ESCAPE: return kKeyEscape;
        case SDLK_SPACE: return kKeySpace;
        case SDLK_PAGEUP: return kKeyPageUp;
        case SDLK_PAGEDOWN: return kKeyPageDown;
        case SDLK_END: return kKeyEnd;
        case SDLK_HOME: return kKeyHome;
        case SDLK_LEFT: return kKeyLeft;
        case SDLK_UP: return kKeyUp;
        case SDLK_RIGHT: return kKeyRight;
        case SDLK_DOWN: return kKeyDown;
        case SDLK_PRINTSCREEN: return kKeyPrintScreen;
        case SDLK_INSERT: return kKeyInsert;
        case SDLK_DELETE: return kKeyDelete;
        case SDLK_LGUI: return kKeyLeftSuper;
        case SDLK_RGUI: return kKeyRightSuper;
        case SDLK_APPLICATION: return kKeyApplication;
        case SDLK_KP_0: return kKeyNumpad0;
        case SDLK_KP_MULTIPLY: return kKeyMultiply;
        case SDLK_KP_PLUS: return kKeyAdd;
        case SDLK_KP_MINUS: return kKeySubtract;
        case SDLK_KP_PERIOD: return kKeyDecimal;
        case SDLK_KP_DIVIDE: return kKeyDivide;
        case SDLK_NUMLOCKCLEAR: return kKeyNumLock;
        case SDLK_SCROLLLOCK: return kKeyScrollLock;
        default: break;
    }
    if (keycode >= SDLK_KP_1 && keycode <= SDLK_KP_9) return kKeyNumpad0 + 1 + (keycode - SDLK_KP_1);
    if (keycode >= SDLK_F1 && keycode <= SDLK_F12) return kKeyF1 + (keycode - SDLK_F1);
    if (keycode >= SDLK_F13 && keycode <= SDLK_F24) return kKeyF1 + 12 + (keycode - SDLK_F13);
    return 0;
}

// Keys that carry their character: letters, digits and the punctuation of a US layout.
int VirtualKeyOfCharacterKey(SDL_Keycode keycode) {
    if (keycode >= 'a' && keycode <= 'z') return kKeyA + (keycode - 'a');
    if (keycode >= '0' && keycode <= '9') return kKey0 + (keycode - '0');
    switch (keycode) {
        case ';': return kKeySemicolon;
        case '=': return kKeyEquals;
        case ',': return kKeyComma;
        case '-': return kKeyMinus;
        case '.': return kKeyPeriod;
        case '/': return kKeySlash;
        case '`': return kKeyBackquote;
        case '[': return kKeyLeftBracket;
        case '\\': return kKeyBackslash;
        case ']': return kKeyRightBracket;
        case '\'': return kKeyQuote;
        default: return 0;
    }
}

// The character a key at this position types on a US layout: the fallback for layouts
// whose key there types something without a code of its own (an accented letter, a
// symbol on the digit row).
SDL_Keycode UsKeycodeAt(SDL_Scancode scancode) {
    if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z) return 'a' + (scancode - SDL_SCANCODE_A);
    if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9) return '1' + (scancode - SDL_SCANCODE_1);
    switch (scancode) {
        case SDL_SCANCODE_0: return '0';
        case SDL_SCANCODE_MINUS: return '-';
        case SDL_SCANCODE_EQUALS: return '=';
        case SDL_SCANCODE_LEFTBRACKET: return '[';
        case SDL_SCANCODE_RIGHTBRACKET: return ']';
        case SDL_SCANCODE_BACKSLASH: return '\\';
        case SDL_SCANCODE_SEMICOLON: return ';';
        case SDL_SCANCODE_APOSTROPHE: return '\'';
        case SDL_SCANCODE_GRAVE: return '`';
        case SDL_SCANCODE_COMMA: return ',';
        case SDL_SCANCODE_PERIOD: return '.';
        case SDL_SCANCODE_SLASH: return '/';
        default: return SDLK_UNKNOWN;
    }
}

std::string Utf8FromLatin1(const std::string& text) {
    std::string utf8;
    utf8.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            utf8 += c;
            continue;
        }
        utf8 += char(0xC0 | (byte >> 6));
        utf8 += char(0x80 | (byte & 0x3F));
    }
    return utf8;
}

// The software rasteriser splits each frame into tiles among its threads, one per core by
// default. Measured at 1024 x 768 on an idle machine of 8 cores, frames drawn back to back:
// from two threads to eight, a title-menu frame costs the process twice the processor time
// or more (handing tiles out and waiting), while a battle frame's wall time gains 11-14 %.
// On a busy machine two threads drew the battle no slower than eight.
constexpr unsigned kSoftwareRasteriserThreads = 2;

bool IsHeadlessDriver() {
    const char* driver = SDL_GetCurrentVideoDriver();
    return driver != nullptr && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0);
}

}  // namespace

void LimitSoftwareRasteriserThreads() {
    // With no more cores than that the rasteriser's own choice stands.
    if (std::thread::hardware_concurrency() <= kSoftwareRasteriserThreads) return;
    const std::string count = std::to_string(kSoftwareRasteriserThreads);
    setenv("LP_NUM_THREADS", count.c_str(), 0);
}

int VirtualKeyFromSdl(SDL_Keycode keycode, SDL_Scancode scancode) {
    const int fixed = VirtualKeyOfFixedKey(keycode);
    if (fixed != 0) return fixed;
    const int byCharacter = VirtualKeyOfCharacterKey(keycode);
    if (byCharacter != 0) return byCharacter;
    return VirtualKeyOfCharacterKey(UsKeycodeAt(scancode));
}

SdlWindow::SdlWindow(const WindowDesc& desc) : SystemWindow(desc) {}

SdlWindow::~SdlWindow() {
    if (window_ != nullptr) SDL_DestroyWindow(window_);
    if (cursor_ != nullptr) SDL_FreeCursor(cursor_);
    if (videoUp_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

WindowResult SdlWindow::Open(const WindowDesc& desc) {
    std::unique_ptr<SdlWindow> window(new SdlWindow(desc));
    std::string error;
    if (!window->Create(desc, error)) return {nullptr, error};
    return {std::move(window), {}};
}

bool SdlWindow::Create(const WindowDesc& desc, std::string& error) {
    if (desc.openGl) LimitSoftwareRasteriserThreads();
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        error = std::string("SDL video: ") + SDL_GetError();
        return false;
    }
    videoUp_ = true;
    headless_ = IsHeadlessDriver();
    Uint32 flags = SDL_WINDOW_HIDDEN;
    if (desc.openGl) {
        flags |= SDL_WINDOW_OPENGL;
        SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
        SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
        SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
        SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
        SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, desc.depthBits);
        SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, desc.stencilBits);
        const bool multisample = desc.multisamples > 1;
        SDL_GL_SetAttribute(SDL_GL_MULTISAMPLEBUFFERS, multisample ? 1 : 0);
        SDL_GL_SetAttribute(SDL_GL_MULTISAMPLESAMPLES, multisample ? desc.multisamples : 0);
    }
    const std::string title = Utf8FromLatin1(desc.title);
    window_ = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, desc.width, desc.height,
                               flags);
    if (window_ == nullptr) {
        error = std::string("SDL window: ") + SDL_GetError();
        return false;
    }
    if (desc.fullScreen && !ApplyFullScreen(true, desc.width, desc.height)) {
        error = "Cannot enter " + std::to_string(desc.width) + "x" + std::to_string(desc.height) + " resolution";
        return false;
    }
    if (desc.visible) SDL_ShowWindow(window_);
    // Characters come from text input; it may be off after another window stopped it.
    SDL_StartTextInput();
    return true;
}

bool SdlWindow::PumpSystem(int timeoutMs) {
    SDL_Event event;
    bool any = false;
    if (timeoutMs != 0) {
        const int got = timeoutMs < 0 ? SDL_WaitEvent(&event) : SDL_WaitEventTimeout(&event, timeoutMs);
        if (got == 0) return false;
        Translate(event);
        any = true;
    }
    // Polling also pumps the system, which is when SDL turns a pending SIGTERM into SDL_QUIT.
    while (SDL_PollEvent(&event) != 0) {
        Translate(event);
        any = true;
    }
    return any;
}

bool SdlWindow::IsOurs(Uint32 windowId) const {
    // Events made by the program itself may name no window.
    return windowId == 0 || windowId == SDL_GetWindowID(window_);
}

void SdlWindow::Translate(const SDL_Event& event) {
    switch (event.type) {
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            if (IsOurs(event.key.windowID)) TranslateKey(event.key);
            break;
        case SDL_TEXTINPUT:
            if (IsOurs(event.text.windowID)) OnText(event.text.text, leftAltDown_);
            break;
        case SDL_MOUSEMOTION:
            if (IsOurs(event.motion.windowID)) OnPointerMove(event.motion.x, event.motion.y);
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            if (IsOurs(event.button.windowID)) TranslateButton(event.button);
            break;
        case SDL_MOUSEWHEEL:
            if (IsOurs(event.wheel.windowID)) TranslateWheel(event.wheel);
            break;
        case SDL_WINDOWEVENT:
            if (IsOurs(event.window.windowID)) TranslateWindowEvent(event.window);
            break;
        case SDL_QUIT: OnQuit(); break;
        default: break;
    }
}

void SdlWindow::TranslateKey(const SDL_KeyboardEvent& event) {
    // Only the left Alt key makes system keys; right Alt is AltGr on many layouts and
    // types ordinary characters.
    leftAltDown_ = (event.keysym.mod & KMOD_LALT) != 0;
    const int key = VirtualKeyFromSdl(event.keysym.sym, event.keysym.scancode);
    OnKey(key, event.type == SDL_KEYDOWN, event.repeat != 0, leftAltDown_);
}

void SdlWindow::TranslateButton(const SDL_MouseButtonEvent& event) {
    MouseButton button = MouseButton::Left;
    switch (event.button) {
        case SDL_BUTTON_LEFT: button = MouseButton::Left; break;
        case SDL_BUTTON_RIGHT: button = MouseButton::Right; break;
        case SDL_BUTTON_MIDDLE: button = MouseButton::Middle; break;
        default: return;
    }
    OnButton(button, event.type == SDL_MOUSEBUTTONDOWN, event.clicks, event.x, event.y);
}

void SdlWindow::TranslateWheel(const SDL_MouseWheelEvent& event) {
    const int notches = event.direction == SDL_MOUSEWHEEL_FLIPPED ? -event.y : event.y;
    OnWheel(notches);
}

void SdlWindow::TranslateWindowEvent(const SDL_WindowEvent& event) {
    switch (event.event) {
        case SDL_WINDOWEVENT_FOCUS_GAINED: OnFocus(true); break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            leftAltDown_ = false;
            OnFocus(false);
            break;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            if (event.data1 > 0 && event.data2 > 0) NoteClientSize(event.data1, event.data2);
            break;
        case SDL_WINDOWEVENT_CLOSE: OnClosed(); break;
        default: break;
    }
}

void SdlWindow::Focus() { SDL_RaiseWindow(window_); }

void SdlWindow::ApplyTitle(const std::string& title) { SDL_SetWindowTitle(window_, Utf8FromLatin1(title).c_str()); }

bool SdlWindow::ApplyClientSize(int width, int height) {
    SDL_SetWindowSize(window_, width, height);
    NoteClientSize(width, height);
    return true;
}

bool SdlWindow::ApplyFullScreen(bool fullScreen, int width, int height) {
    if (!fullScreen) return LeaveFullScreen(width, height);
    // A headless display has no modes to switch between; every size is its own.
    if (!headless_ && !SwitchDisplayMode(width, height)) return false;
    if (headless_) SDL_SetWindowSize(window_, width, height);
    if (SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN) != 0) return false;
    NoteClientSize(width, height);
    return true;
}

bool SdlWindow::SwitchDisplayMode(int width, int height) {
    // Only the exact resolution will do: the game lays its screens out for it and tries
    // another size itself when this one is refused.
    const int display = SDL_GetWindowDisplayIndex(window_);
    SDL_DisplayMode wanted{};
    wanted.w = width;
    wanted.h = height;
    SDL_DisplayMode closest{};
    if (display < 0 || SDL_GetClosestDisplayMode(display, &wanted, &closest) == nullptr) return false;
    if (closest.w != width || closest.h != height) return false;
    return SDL_SetWindowDisplayMode(window_, &closest) == 0;
}

bool SdlWindow::LeaveFullScreen(int width, int height) {
    if (SDL_SetWindowFullscreen(window_, 0) != 0) return false;
    SDL_SetWindowSize(window_, width, height);
    NoteClientSize(width, height);
    return true;
}

void SdlWindow::ApplyVisible(bool visible) {
    if (visible)
        SDL_ShowWindow(window_);
    else
        SDL_HideWindow(window_);
}

void SdlWindow::ApplyCursorVisible(bool visible) { SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE); }

void SdlWindow::ApplyArrowCursor() { ReplaceCursor(nullptr); }

bool SdlWindow::ApplyCursorImage(const CursorImage& image) {
    // A headless driver has no pointer to draw: the picture is taken and shown nowhere.
    if (headless_) return true;
    // SDL only reads the pixels while it makes the cursor.
    SDL_Surface* surface =
        SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint8_t*>(image.rgba.data()), image.width, image.height, 32,
                                           image.width * 4, SDL_PIXELFORMAT_RGBA32);
    if (surface == nullptr) return false;
    SDL_Cursor* cursor = SDL_CreateColorCursor(surface, image.hotX, image.hotY);
    SDL_FreeSurface(surface);
    if (cursor == nullptr) return false;
    ReplaceCursor(cursor);
    return true;
}

void SdlWindow::ReplaceCursor(SDL_Cursor* cursor) {
    SDL_SetCursor(cursor != nullptr ? cursor : SDL_GetDefaultCursor());
    if (cursor_ != nullptr) SDL_FreeCursor(cursor_);
    cursor_ = cursor;
}

void SdlWindow::ApplyPointerPosition(int x, int y) { SDL_WarpMouseInWindow(window_, x, y); }

}  // namespace win
