// The whole start-up sequence on the scripted window, the recording graphics device and
// the null sound device, frames of the main loop, and the shutdown.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

#include "app/Application.h"
#include "core/Image.h"
#include "core/ThrowError.h"
#include "engine/Renderer.h"
#include "game/EventTarget.h"
#include "game/Game.h"
#include "game/GameWindows.h"
#include "game/Player.h"
#include "game/PlayerRoster.h"
#include "net/NetworkGame.h"
#include "net/NetworkStartup.h"
#include "platform/gfx/RecordingAdapter.h"
#include "platform/window/ScriptedWindow.h"
#include "support/RuntimeCopy.h"
#include "support/TempFolder.h"
#include "support/TestArena.h"
#include "support/WorkingFolder.h"
#include "ui/ScreenTextQueue.h"
#include "units/PatternMatcher.h"
#include "world/Arena.h"

namespace {

namespace fs = std::filesystem;

using app_test::WorkingFolder;

LaunchSettings HeadlessSettings() {
    LaunchSettings settings;
    settings.windowBackend = win::WindowBackend::Scripted;
    settings.soundDevice = snd::DeviceKind::Null;
    settings.commandLine.fullScreen = false;
    return settings;
}

// The texture a fatal error names, as a path of this system.
std::string TextureNamedBy(const String& message) {
    const std::string text = message.CStr();
    const size_t end = text.rfind(".tga");
    if (end == std::string::npos) return std::string();
    size_t start = text.rfind(' ', end);
    start = start == std::string::npos ? 0 : start + 1;
    std::string path = text.substr(start, end + 4 - start);
    for (char& c : path) {
        if (c == '\\') c = '/';
    }
    return path;
}

// Fills the working folder with a small grey picture for each texture start-up misses,
// until it starts.
void MakeStartupData() {
    Image picture(4, 4);
    for (int attempt = 0; attempt < 500; ++attempt) {
        Application application(HeadlessSettings());
        try {
            application.Startup();
            return;
        } catch (const ThrowError& error) {
            const std::string missing = TextureNamedBy(error.message);
            ASSERT_FALSE(missing.empty()) << "start-up needs a file the test cannot make: " << error.message.CStr();
            fs::create_directories(fs::path(missing).parent_path());
            ASSERT_TRUE(picture.SaveTGA(missing));
        }
    }
    FAIL() << "start-up kept missing textures";
}

// A copy of the runtime folder when the data set is built, else a folder this test fills.
class StartupTest : public ::testing::Test {
protected:
    void SetUp() override {
        const bool runtimeFolder = fs::exists(runtime_test::BuiltRuntimeFolder() / "Textures");
        if (runtimeFolder) runtime_ = std::make_unique<runtime_test::RuntimeCopy>();
        folder_ = runtimeFolder ? runtime_->Path() : temp_.Path();
        working_ = std::make_unique<WorkingFolder>(folder_);
        if (!runtimeFolder) MakeStartupData();
    }

    platform_test::TempFolder temp_;
    std::unique_ptr<runtime_test::RuntimeCopy> runtime_;
    std::string folder_;
    std::unique_ptr<WorkingFolder> working_;
};

class Button : public EventTarget {
public:
    void HandleCommand(Event& event) override { handled.push_back(event.type); }
    std::vector<int32_t> handled;
};

// A mode that posts one command to the button every frame.
class PostingGame : public Game {
public:
    explicit PostingGame(Button& target) : button(target) {}
    void Begin() override { ++begun; }
    void End() override { ++ended; }
    void Update() override {
        Event* event = NewEvent();
        event->type = kEventPause;
        event->target = &button;
        PostEvent(event);
        Game::Update();
    }
    Button& button;
    int begun = 0;
    int ended = 0;
};

TEST_F(StartupTest, TheWholeRunFromStartUpToAClosedWindow) {
    LaunchSettings settings = HeadlessSettings();
    settings.commandLine.networkBudget = 12000;
    Application application(settings);
    application.Startup();
    ASSERT_TRUE(application.IsRunning());
    ASSERT_NE(GetNetworkGame(), nullptr);
    EXPECT_EQ(GetNetworkGame()->TotalBudget(), 12000);
    EXPECT_NE(gArena, nullptr);
    EXPECT_NE(gPatternMatcher, nullptr);
    EXPECT_EQ(GetPlayerRoster().networkPlayers.Count(), 1);
    // The computer player holds the player's levels from the start, its own kept aside.
    EXPECT_TRUE(GetOpponentPlayer().IsLendingUpgrades());
    EXPECT_GT(GetSharedImage(kSharedImageCount - 1).Width(), 0);

    Button button;
    PostingGame mode(button);
    application.PushGame(&mode);
    for (int frame = 0; frame < 4; ++frame) ASSERT_TRUE(application.RunFrame());
    EXPECT_EQ(mode.begun, 1);
    EXPECT_EQ(CurrentGame(), &mode);
    // The first frame makes the mode current; it posts at the end of frames 2 to 4, and
    // each command goes out in the next frame's input step.
    EXPECT_EQ(button.handled, (std::vector<int32_t>{kEventPause, kEventPause}));

    // Texts the windows queue for a frame are drawn and gone; the profiler overlay draws
    // over them.
    ASSERT_EQ(GetScreenTextQueue(), &application.Texts());
    GetScreenTextQueue()->QueueTextInRect("Hello", IntRect(0, 0, 99, 19), TextPlacement::kCentre,
                                          Color::FromRGBA(255, 255, 255, 255), true, true);
    EXPECT_EQ(application.Texts().FrameTexts().Count(), 1);
    application.Texts().CycleProfilerDisplay();
    ASSERT_TRUE(application.RunFrame());
    EXPECT_TRUE(application.Texts().FrameTexts().IsEmpty());

    static_cast<win::ScriptedWindow&>(application.GetWindow()).CloseByUser();
    bool running = true;
    for (int frame = 0; frame < 5 && running; ++frame) running = application.RunFrame();
    EXPECT_FALSE(running);
    EXPECT_TRUE(application.IsWindowDestroyed());
    application.Shutdown();
    EXPECT_EQ(gArena, nullptr);
    EXPECT_EQ(gPatternMatcher, nullptr);
    EXPECT_EQ(CurrentGame(), nullptr);
    EXPECT_EQ(GetScreenTextQueue(), nullptr);
}

TEST_F(StartupTest, AQuitRequestEndsTheLoopAndTheLastModeEndsTheProgram) {
    Application application(HeadlessSettings());
    application.Startup();
    Button button;
    PostingGame mode(button);
    application.PushGame(&mode);
    ASSERT_TRUE(application.RunFrame());
    application.PopGame();
    ASSERT_TRUE(application.RunFrame());  // the pop is applied at the end of this frame
    EXPECT_EQ(mode.ended, 1);
    EXPECT_FALSE(application.RunFrame());
    EXPECT_FALSE(application.IsWindowDestroyed());
    application.Shutdown();

    // SIGTERM arrives as a quit request: the same orderly end.
    Application second(HeadlessSettings());
    second.Startup();
    static_cast<win::ScriptedWindow&>(second.GetWindow()).RequestQuit();
    EXPECT_FALSE(second.RunFrame());
    second.Shutdown();
}

// Windows that only answer whether the battlefield shows.
class BattlefieldWindows : public GameWindows {
public:
    bool PreviewRelease(const InputEvent&) override { return false; }
    bool OfferInput(const InputEvent&) override { return false; }
    void BroadcastInput(const InputEvent&) override {}
    void HoverAt(const InputEvent&) override {}
    bool TakesCharacters() const override { return false; }
    void RenderWindows() override {}
    void DrawZoomFrame(const IntRect&) override {}
    bool IsBattlefieldOpen() const override { return open; }
    void AimBattlefieldCamera(const Vector3&, const Vector3&) override {}
    bool open = false;
};

TEST_F(StartupTest, TheArenaRunsOnlyWhileTheBattlefieldShows) {
    Application application(HeadlessSettings());
    application.Startup();
    BattlefieldWindows windows;
    SetGameWindows(&windows);
    const int before = gArena->ObjectCount();
    WorldObject* rock = world_test::AddObjectOfKind(*gArena, kKindRock, 40.0f, 40.0f);
    rock->Remove(0);  // taken out by the arena's next update
    ASSERT_TRUE(application.RunFrame());
    EXPECT_EQ(gArena->ObjectCount(), before + 1);
    windows.open = true;
    ASSERT_TRUE(application.RunFrame());
    EXPECT_EQ(gArena->ObjectCount(), before);
    SetGameWindows(nullptr);
    application.Shutdown();
}

// A mode whose third frame fails fatally.
class FailingGame : public Game {
public:
    void Update() override {
        if (++frames == 3) VORNS_RAISE_ERROR("broken frame", 4);
        Game::Update();
    }
    int frames = 0;
};

TEST_F(StartupTest, AFatalErrorInTheMainLoopEndsTheRunWithStatus1AfterAShutdown) {
    FailingGame mode;
    testing::internal::CaptureStderr();
    const int status = RunProtected([&mode] {
        Application application(HeadlessSettings());
        application.PushGame(&mode);
        return application.Run();
    });
    const std::string printed = testing::internal::GetCapturedStderr();
    EXPECT_EQ(status, kExitFatalError);
    EXPECT_NE(printed.find("broken frame, 4"), std::string::npos) << printed;
    EXPECT_EQ(gArena, nullptr);
    EXPECT_EQ(CurrentGame(), nullptr);
}

TEST(StartupScreenTest, AFullScreenSizeTheDisplayLacksFallsBackTo1024x768) {
    // A folder of its own: the test writes the options file.
    platform_test::TempFolder folder;
    WorkingFolder working(folder.Path());
    MakeStartupData();
    platform_test::WriteRaw(folder / "Options.txt", "ScreenSize 14\n");
    auto adapter = std::make_unique<gfx::RecordingAdapter>();
    adapter->SetModes({{1024, 768, 60}, {1280, 1024, 60}});
    GetRenderer().SetAdapter(std::move(adapter));
    LaunchSettings settings = HeadlessSettings();
    settings.commandLine.fullScreen = true;
    Application application(settings);
    application.Startup();
    EXPECT_EQ(application.GetOptions().screenSize, 14);  // 1920 x 1400, which the display lacks
    EXPECT_TRUE(application.FellBackTo1024());
    application.Shutdown();
}

TEST(StartupFailureTest, AMissingDataFileEndsTheRunWithItsNameAndStatus1) {
    platform_test::TempFolder empty;
    WorkingFolder working(empty.Path());
    testing::internal::CaptureStderr();
    const int status = RunProtected([] {
        Application application(HeadlessSettings());
        return application.Run();
    });
    const std::string printed = testing::internal::GetCapturedStderr();
    EXPECT_EQ(status, kExitFatalError);
    // The first file start-up reads is the font's picture.
    EXPECT_NE(printed.find("Textures\\VornsFontEnglish.tga"), std::string::npos) << printed;
    EXPECT_EQ(gArena, nullptr);
}

}  // namespace
