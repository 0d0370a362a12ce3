#pragma once
// The application: the main window, the start-up sequence that makes every long-lived
// object in one fixed order, the one-thread main loop with its update and render, the
// stack of game modes, and the orderly shutdown that releases everything in reverse
// order before the window (and with it SDL's video) goes.
#include <cstdint>
#include <memory>

#include "app/CommandLine.h"
#include "app/LoadingScreen.h"
#include "app/Options.h"
#include "app/ScreenTexts.h"
#include "battlefield/BattlefieldViews.h"
#include "core/Array.h"
#include "core/Color.h"
#include "core/String.h"
#include "engine/Camera.h"
#include "platform/sound/SoundDevice.h"
#include "platform/window/SystemWindow.h"

class Arena;
class CarriedItemDrawing;
class FrontEndGame;
class FrontEndServices;
class Image;
class Game;
class PatternMatcher;
class Player;
class Profiler;
class Sounder;
class Speaker;
class Mesh;

// How a run is set up: the real program uses SDL for the window and the sound; tests
// use the scripted window and the null sound device.
struct LaunchSettings {
    win::WindowBackend windowBackend = win::WindowBackend::Sdl;
    snd::DeviceKind soundDevice = snd::DeviceKind::Sdl;
    CommandLine commandLine;
    String logName = "debug";
};

class Application {
public:
    // The windowed client area; the window is not resizable, so the mouse and the picture
    // share one pixel grid.
    static constexpr int32_t kWindowedWidth = 1024;
    static constexpr int32_t kWindowedHeight = 768;
    // A flood of input cannot stall a frame's update and render.
    static constexpr int kMaxMessagesPerFrame = 100;

    explicit Application(const LaunchSettings& settings);
    // Releases whatever start-up made, also after a failed start-up.
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // The whole run: start-up, the main loop, the shutdown screen and the shutdown. A fatal
    // error (ThrowError) leaves it after a best-effort shutdown; the entry point reports
    // it.
    int Run();

    // --- the pieces of Run, which tests and benchmarks drive one by one
    // Everything up to the first frame; ends with running set.
    void Startup();
    // The front-end screens' mode goes under the modes already asked for, so that the
    // program comes back to the menus when they end.
    void EnterFrontEnd();
    // One frame: the pointer, at most kMaxMessagesPerFrame window messages, the update,
    // the render and the profiler. False once the quit message has arrived.
    bool RunFrame();
    // The "ShuttingDown" screen unless the window was closed, then the release of every
    // global in reverse order of creation.
    void Shutdown();

    void HandleMessage(const win::Message& message);
    void Update();
    void Render();

    // --- the stack of game modes; changes take effect at the end of the frame's update
    void PushGame(Game* game);
    void PopGame();
    void ApplyGameChanges();
    int GameCount() const { return gameStack_.Count(); }

    bool IsRunning() const { return running_; }
    bool IsWindowDestroyed() const { return windowDestroyed_; }
    uint32_t FrameCount() const { return frameCount_; }
    win::SystemWindow& GetWindow() { return *window_; }
    Options& GetOptions() { return options_; }
    const String& LanguageName() const { return languageName_; }
    bool FellBackTo1024() const { return fellBackTo1024_; }
    Camera& ScreenCamera() { return screenCamera_; }
    Profiler& GetProfiler() { return *profiler_; }
    // The floor grid under the scenes and the player figure.
    Mesh* FloorGrid() const { return floorGrid_; }

    ScreenTexts& Texts() { return screenTexts_; }

    // The next frame drawn is read back before it is shown, as the player sees it (tools
    // and tests look at it); empty when the device has no pixels or drew no frame.
    void KeepNextFrame() { keepFrame_ = true; }
    const Image* KeptFrame() const { return keptFrame_.get(); }

    Color clearColour = Color::FromRGBA(0, 0, 0, 255);

private:
    // Start-up steps, in their order.
    void OpenLog();
    void LoadLanguage();
    void LoadSongLists();
    void CreateMainWindow();
    void StartRenderer();
    void StartSound();
    void LoadStartupImages();
    void LoadSharedImages();
    void CreateGameModes();
    void LoadStartupSounds();
    void CreateArena();
    void SetUpPlayers();
    void CreateWindows();
    void SetUpSceneLight();
    void ShowLoading(const char* key);
    // The battlefield's key help and status line, over every window.
    void DrawBattlefieldTexts();
    bool PumpMessages();
    void KeepFrame();
    void ReleaseAll();

    LaunchSettings settings_;
    Options options_;
    String languageName_ = "English";
    bool running_ = false;
    bool windowDestroyed_ = false;
    bool quitReceived_ = false;
    bool fellBackTo1024_ = false;
    bool mouseReady_ = false;
    bool keepFrame_ = false;
    std::unique_ptr<Image> keptFrame_;
    uint32_t frameCount_ = 0;
    Array<Game*> gameStack_;
    Array<Game*> pendingPushes_;
    int32_t pendingPops_ = 0;
    // The one pixel camera over the screen, which the windows and the mouse draw with too.
    Camera& screenCamera_ = GetScreenCamera();
    LoadingScreen loadingScreen_;
    ScreenTexts screenTexts_;
    Mesh* floorGrid_ = nullptr;  // owned by the renderer; under the scenes
    Array<int32_t> startupSounds_;

    // Made in this order by Startup and released in reverse by ReleaseAll.
    std::unique_ptr<Profiler> profiler_;
    std::unique_ptr<win::SystemWindow> window_;
    bool rendererStarted_ = false;
    std::unique_ptr<Sounder> sounder_;
    std::unique_ptr<Speaker> speaker_;
    std::unique_ptr<CarriedItemDrawing> carriedItems_;
    bool chassisLoaded_ = false;
    std::unique_ptr<PatternMatcher> patternMatcher_;
    std::unique_ptr<Arena> arena_;
    std::unique_ptr<FrontEndServices> frontEndServices_;
    std::unique_ptr<FrontEndGame> frontEndGame_;
    BattlefieldViews battlefieldViews_;
};

// The screen-size table of the full-screen modes, indexed by the ScreenSize option.
Point ScreenSizeOf(int32_t index);
// The pictures every screen shares ("IconImage.tga" first), loaded at start-up in the
// order of their slots; an empty image for a slot outside the table.
constexpr int32_t kSharedImageCount = 26;
const Image& GetSharedImage(int32_t slot);
