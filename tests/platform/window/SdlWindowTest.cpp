#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include <SDL2/SDL.h>

#include "platform/window/ScriptedWindow.h"
#include "platform/window/SdlWindow.h"
#include "support/ScopedEnv.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

namespace {

using win::Message;
using win::MessageKind;

TEST(SdlKeyMap, KeysGetTheirClassicCodes) {
    const struct {
        SDL_Keycode keycode;
        SDL_Scancode scancode;
        int key;
    } cases[] = {
        {SDLK_a, SDL_SCANCODE_A, 65},
        {SDLK_z, SDL_SCANCODE_Z, 90},
        {SDLK_0, SDL_SCANCODE_0, 48},
        {SDLK_9, SDL_SCANCODE_9, 57},
        {SDLK_F1, SDL_SCANCODE_F1, 112},
        {SDLK_F12, SDL_SCANCODE_F12, 123},
        {SDLK_F13, SDL_SCANCODE_F13, 124},
        {SDLK_LEFT, SDL_SCANCODE_LEFT, 37},
        {SDLK_UP, SDL_SCANCODE_UP, 38},
        {SDLK_RIGHT, SDL_SCANCODE_RIGHT, 39},
        {SDLK_DOWN, SDL_SCANCODE_DOWN, 40},
        {SDLK_RSHIFT, SDL_SCANCODE_RSHIFT, 16},
        {SDLK_LCTRL, SDL_SCANCODE_LCTRL, 17},
        {SDLK_RALT, SDL_SCANCODE_RALT, 18},
        {SDLK_DELETE, SDL_SCANCODE_DELETE, 46},
        {SDLK_HOME, SDL_SCANCODE_HOME, 36},
        {SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER, 13},
        {SDLK_KP_0, SDL_SCANCODE_KP_0, 96},
        {SDLK_KP_9, SDL_SCANCODE_KP_9, 105},
        {SDLK_SLASH, SDL_SCANCODE_SLASH, 191},
        {SDLK_UNKNOWN, SDL_SCANCODE_UNKNOWN, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(win::VirtualKeyFromSdl(c.keycode, c.scancode), c.key) << SDL_GetKeyName(c.keycode);
    }
}

TEST(SdlKeyMap, LettersFollowTheLayoutAndOtherKeysTheirPosition) {
    // A layout with Z where a US keyboard has Y: the code follows the letter.
    EXPECT_EQ(win::VirtualKeyFromSdl(SDLK_z, SDL_SCANCODE_Y), 90);
    // An a-umlaut key and an ampersand on the digit row have no codes of their own.
    EXPECT_EQ(win::VirtualKeyFromSdl(0xE4, SDL_SCANCODE_APOSTROPHE), 222);
    EXPECT_EQ(win::VirtualKeyFromSdl(SDLK_AMPERSAND, SDL_SCANCODE_1), 49);
}

// A headless SDL window: the offscreen driver, or the dummy one where offscreen is missing.
class SdlWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        win::WindowDesc desc;
        desc.width = 320;
        desc.height = 200;
        for (const char* driver : {"offscreen", "dummy"}) {
            const platform_test::ScopedEnv chosen("SDL_VIDEODRIVER", driver);
            opened_ = win::OpenWindow(win::WindowBackend::Sdl, desc);
            if (opened_.window != nullptr) break;
        }
        if (opened_.window == nullptr) GTEST_SKIP() << "no SDL video: " << opened_.error;
        Drain();  // whatever the driver reported about the new window
    }

    win::SystemWindow& Window() { return *opened_.window; }
    Uint32 Id() { return SDL_GetWindowID(Window().NativeWindow()); }

    std::vector<Message> Drain() {
        std::vector<Message> messages;
        Message message;
        while (Window().PeekMessage(message)) messages.push_back(message);
        return messages;
    }

    void PushKey(SDL_Keycode key, SDL_Scancode scancode, bool down, bool repeat, Uint16 mod = KMOD_NONE) {
        SDL_Event event{};
        event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
        event.key.windowID = Id();
        event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
        event.key.repeat = repeat ? 1 : 0;
        event.key.keysym.sym = key;
        event.key.keysym.scancode = scancode;
        event.key.keysym.mod = mod;
        ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
    }

    void PushText(const char* utf8) {
        SDL_Event event{};
        event.type = SDL_TEXTINPUT;
        event.text.windowID = Id();
        std::strncpy(event.text.text, utf8, sizeof event.text.text - 1);
        ASSERT_EQ(SDL_PushEvent(&event), 1);
    }

    void PushButton(Uint8 button, bool down, Uint8 clicks, int x, int y) {
        SDL_Event event{};
        event.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
        event.button.windowID = Id();
        event.button.button = button;
        event.button.state = down ? SDL_PRESSED : SDL_RELEASED;
        event.button.clicks = clicks;
        event.button.x = x;
        event.button.y = y;
        ASSERT_EQ(SDL_PushEvent(&event), 1);
    }

    void PushWindowEvent(Uint8 what) {
        SDL_Event event{};
        event.type = SDL_WINDOWEVENT;
        event.window.windowID = Id();
        event.window.event = what;
        ASSERT_EQ(SDL_PushEvent(&event), 1);
    }

    win::WindowResult opened_;
};

TEST_F(SdlWindowTest, TitleSizeAndFullScreenReachTheSdlWindow) {
    SDL_Window* native = Window().NativeWindow();
    ASSERT_NE(native, nullptr);
    Window().SetTitle("V\xF6rns");  // the game's text is Latin-1; SDL's is UTF-8
    EXPECT_STREQ(SDL_GetWindowTitle(native), "V\xC3\xB6rns");
    ASSERT_TRUE(Window().SetClientSize(400, 300));
    int width = 0;
    int height = 0;
    SDL_GetWindowSize(native, &width, &height);
    EXPECT_EQ(width, 400);
    EXPECT_EQ(height, 300);
    EXPECT_EQ(Window().ClientSize(), (win::Size{400, 300}));

    ASSERT_TRUE(Window().SetFullScreen(true));
    EXPECT_NE(SDL_GetWindowFlags(native) & SDL_WINDOW_FULLSCREEN, 0u);
    ASSERT_TRUE(Window().SetFullScreen(false));
    EXPECT_EQ(SDL_GetWindowFlags(native) & SDL_WINDOW_FULLSCREEN, 0u);
}

TEST_F(SdlWindowTest, KeyEventsBecomeKeysRepeatsAndCharacters) {
    PushKey(SDLK_a, SDL_SCANCODE_A, true, false);
    PushText("a");
    PushKey(SDLK_a, SDL_SCANCODE_A, true, true);
    PushText("a");
    PushKey(SDLK_a, SDL_SCANCODE_A, false, false);
    PushKey(SDLK_BACKSPACE, SDL_SCANCODE_BACKSPACE, true, true);
    PushKey(SDLK_ESCAPE, SDL_SCANCODE_ESCAPE, true, false);
    PushText("\xC3\xA9\xE2\x82\xAC");  // e acute, euro sign

    const std::vector<Message> m = Drain();
    ASSERT_EQ(m.size(), 10u);
    EXPECT_EQ(m[0].kind, MessageKind::KeyDown);
    EXPECT_EQ(m[0].key, win::kKeyA);
    EXPECT_FALSE(m[0].repeat);
    EXPECT_EQ(m[1].kind, MessageKind::Char);
    EXPECT_EQ(m[1].character, 'a');
    EXPECT_TRUE(m[2].repeat);
    EXPECT_EQ(m[4].kind, MessageKind::KeyUp);
    EXPECT_EQ(m[5].key, win::kKeyBackspace);
    EXPECT_TRUE(m[5].repeat);
    EXPECT_EQ(m[6].character, 8);
    EXPECT_EQ(m[7].key, win::kKeyEscape);
    EXPECT_EQ(m[8].character, 27);
    EXPECT_EQ(m[9].character, 0xE9);
}

TEST_F(SdlWindowTest, LeftAltSuppressesCharactersButRightAltTypesThem) {
    PushKey(SDLK_LALT, SDL_SCANCODE_LALT, true, false, KMOD_LALT);
    PushKey(SDLK_RETURN, SDL_SCANCODE_RETURN, true, false, KMOD_LALT);
    PushText("x");
    PushKey(SDLK_LALT, SDL_SCANCODE_LALT, false, false);
    PushKey(SDLK_RALT, SDL_SCANCODE_RALT, true, false, KMOD_RALT);
    PushText("@");

    const std::vector<Message> m = Drain();
    ASSERT_EQ(m.size(), 5u);
    EXPECT_EQ(m[1].key, win::kKeyReturn);
    EXPECT_TRUE(m[1].altDown);
    EXPECT_EQ(m[3].key, win::kKeyAlt);
    EXPECT_FALSE(m[3].altDown);
    EXPECT_EQ(m[4].kind, MessageKind::Char);
    EXPECT_EQ(m[4].character, '@');
}

TEST_F(SdlWindowTest, MouseEventsBecomeClicksDoubleClicksWheelAndMoves) {
    SDL_Event motion{};
    motion.type = SDL_MOUSEMOTION;
    motion.motion.windowID = Id();
    motion.motion.x = 12;
    motion.motion.y = 34;
    ASSERT_EQ(SDL_PushEvent(&motion), 1);
    PushButton(SDL_BUTTON_LEFT, true, 1, 12, 34);
    PushButton(SDL_BUTTON_LEFT, false, 1, 12, 34);
    PushButton(SDL_BUTTON_LEFT, true, 2, 13, 35);
    PushButton(SDL_BUTTON_MIDDLE, true, 1, 13, 35);
    SDL_Event wheel{};
    wheel.type = SDL_MOUSEWHEEL;
    wheel.wheel.windowID = Id();
    wheel.wheel.y = 2;
    ASSERT_EQ(SDL_PushEvent(&wheel), 1);
    wheel.wheel.y = 1;
    wheel.wheel.direction = SDL_MOUSEWHEEL_FLIPPED;
    ASSERT_EQ(SDL_PushEvent(&wheel), 1);

    const std::vector<Message> m = Drain();
    ASSERT_EQ(m.size(), 7u);
    EXPECT_EQ(m[0].kind, MessageKind::PointerMove);
    EXPECT_EQ(m[0].x, 12);
    EXPECT_EQ(m[0].y, 34);
    EXPECT_EQ(m[1].kind, MessageKind::ButtonDown);
    EXPECT_EQ(m[2].kind, MessageKind::ButtonUp);
    EXPECT_EQ(m[3].kind, MessageKind::DoubleClick);
    EXPECT_EQ(m[3].button, win::MouseButton::Left);
    EXPECT_EQ(m[3].x, 13);
    EXPECT_EQ(m[4].button, win::MouseButton::Middle);
    EXPECT_EQ(m[5].wheelDelta, 240);
    EXPECT_EQ(m[5].x, 13);
    EXPECT_EQ(m[6].wheelDelta, -120);
    EXPECT_EQ(Window().PointerPosition(), (win::Point{13, 35}));
}

TEST_F(SdlWindowTest, FocusLossDeactivatesAndClearsTheKeyState) {
    PushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
    PushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
    PushKey(SDLK_LCTRL, SDL_SCANCODE_LCTRL, true, false, KMOD_LCTRL);
    PushKey(SDLK_UP, SDL_SCANCODE_UP, true, false, KMOD_LCTRL);
    Drain();
    EXPECT_TRUE(Window().IsKeyDown(win::kKeyControl));
    EXPECT_TRUE(Window().IsKeyDown(win::kKeyUp));

    PushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
    const std::vector<Message> m = Drain();
    ASSERT_EQ(m.size(), 1u);
    EXPECT_EQ(m[0].kind, MessageKind::Activate);
    EXPECT_FALSE(m[0].active);
    EXPECT_FALSE(Window().IsActive());
    EXPECT_FALSE(Window().IsKeyDown(win::kKeyControl));
    EXPECT_FALSE(Window().IsKeyDown(win::kKeyUp));
}

TEST_F(SdlWindowTest, QuitAndCloseEventsEndTheLoop) {
    PushWindowEvent(SDL_WINDOWEVENT_CLOSE);
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    ASSERT_EQ(SDL_PushEvent(&quit), 1);

    Message message;
    ASSERT_TRUE(Window().WaitMessage(message, 1000));
    EXPECT_EQ(message.kind, MessageKind::Destroyed);
    ASSERT_TRUE(Window().WaitMessage(message, 1000));
    EXPECT_EQ(message.kind, MessageKind::Quit);
    EXPECT_FALSE(Window().WaitMessage(message, 10));
}

TEST_F(SdlWindowTest, SigtermArrivesAsQuit) {
    struct sigaction current {};
    ASSERT_EQ(sigaction(SIGTERM, nullptr, &current), 0);
    if (current.sa_handler == SIG_DFL || current.sa_handler == SIG_IGN) {
        GTEST_SKIP() << "SDL did not take over SIGTERM here";
    }
    ASSERT_EQ(std::raise(SIGTERM), 0);
    Message message;
    ASSERT_TRUE(Window().WaitMessage(message, 1000));
    EXPECT_EQ(message.kind, MessageKind::Quit);
}

TEST_F(SdlWindowTest, CursorCounterAndImage) {
    EXPECT_EQ(Window().ShowCursor(false), -1);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
    EXPECT_EQ(Window().ShowCursor(true), 0);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
    const win::CursorImage image{4, 4, 0, 0, std::vector<uint8_t>(64, 0x80)};
    EXPECT_TRUE(Window().SetCursorImage(image));
    EXPECT_EQ(Window().Cursor(), win::CursorShape::Custom);
    Window().SetArrowCursor();
    EXPECT_EQ(Window().Cursor(), win::CursorShape::Arrow);
}

// Mesa keeps allocations of its own past the end of an OpenGL window; they are not ours
// to free, so the leak checker looks away while the driver is in use.
class DriverAllocationsIgnored {
public:
#if defined(__SANITIZE_ADDRESS__)
    DriverAllocationsIgnored() { __lsan_disable(); }
    ~DriverAllocationsIgnored() { __lsan_enable(); }
#endif
};

TEST(SdlWindowGl, OffscreenWindowCarriesAnOpenGlContext) {
    [[maybe_unused]] const DriverAllocationsIgnored ignored;
    win::WindowDesc desc;
    desc.openGl = true;
    desc.width = 64;
    desc.height = 48;
    win::WindowResult opened;
    {
        const platform_test::ScopedEnv offscreen("SDL_VIDEODRIVER", "offscreen");
        opened = win::OpenWindow(win::WindowBackend::Sdl, desc);
    }
    if (opened.window == nullptr) GTEST_SKIP() << "no offscreen OpenGL: " << opened.error;

    SDL_Window* native = opened.window->NativeWindow();
    EXPECT_NE(SDL_GetWindowFlags(native) & SDL_WINDOW_OPENGL, 0u);
    SDL_GLContext context = SDL_GL_CreateContext(native);
    ASSERT_NE(context, nullptr) << SDL_GetError();
    SDL_GL_DeleteContext(context);
}

TEST(SdlWindowGl, AGlWindowAsksTheSoftwareRasteriserForTwoThreadsUnlessTheUserChose) {
    [[maybe_unused]] const DriverAllocationsIgnored ignored;
    if (std::thread::hardware_concurrency() <= 2) GTEST_SKIP() << "the rasteriser's own count stands";
    const platform_test::ScopedEnv offscreen("SDL_VIDEODRIVER", "offscreen");
    win::WindowDesc desc;
    desc.openGl = true;
    desc.width = 64;
    desc.height = 48;
    {
        const platform_test::ScopedEnv threads("LP_NUM_THREADS", "");
        unsetenv("LP_NUM_THREADS");
        win::WindowResult opened = win::OpenWindow(win::WindowBackend::Sdl, desc);
        if (opened.window == nullptr) GTEST_SKIP() << "no offscreen OpenGL: " << opened.error;
        ASSERT_NE(std::getenv("LP_NUM_THREADS"), nullptr);
        EXPECT_STREQ(std::getenv("LP_NUM_THREADS"), "2");
    }
    const platform_test::ScopedEnv threads("LP_NUM_THREADS", "5");
    win::LimitSoftwareRasteriserThreads();
    EXPECT_STREQ(std::getenv("LP_NUM_THREADS"), "5");
}

// Scripted input over a hidden surface that GL can draw on; the surface follows the size.
TEST(SdlWindowGl, AScriptedWindowOnAGlSurfaceTakesScriptedInputOverARealSurface) {
    [[maybe_unused]] const DriverAllocationsIgnored ignored;
    const platform_test::ScopedEnv driver("SDL_VIDEODRIVER", "offscreen");
    win::WindowDesc desc;
    desc.width = 320;
    desc.height = 200;
    win::WindowResult opened = win::OpenWindow(win::WindowBackend::ScriptedGl, desc);
    if (opened.window == nullptr) GTEST_SKIP() << "no offscreen SDL video: " << opened.error;
    auto& window = static_cast<win::ScriptedWindow&>(*opened.window);
    ASSERT_NE(window.NativeWindow(), nullptr);
    EXPECT_TRUE((SDL_GetWindowFlags(window.NativeWindow()) & SDL_WINDOW_OPENGL) != 0);
    EXPECT_TRUE(window.SetClientSize(400, 300));
    int width = 0, height = 0;
    SDL_GetWindowSize(window.NativeWindow(), &width, &height);
    EXPECT_EQ(width, 400);
    EXPECT_EQ(height, 300);
    window.TapKey('A');
    win::Message message;
    ASSERT_TRUE(window.PeekMessage(message));
    EXPECT_EQ(message.kind, win::MessageKind::KeyDown);
    EXPECT_EQ(message.key, 'A');
}

}  // namespace
