#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <future>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "LoopbackPeers.h"
#include "StandInServer.h"
#include "app/LanguageFile.h"
#include "audio/EffectSounds.h"
#include "battlefield/LaunchSquadTray.h"
#include "battlefield/ResultsWindow.h"
#include "core/TextTable.h"
#include "engine/InputEvent.h"
#include "engine/Mouse.h"
#include "engine/Sprite.h"
#include "engine/SpriteGrid.h"
#include "engine/Renderer.h"
#include "engine/Font.h"
#include "engine/TextObserver.h"
#include "game/Player.h"
#include "game/PlayerRoster.h"
#include "modes/ModeShell.h"
#include "modes/PlayerFigure.h"
#include "net/ChatWindow.h"
#include "net/ClientSetupWindow.h"
#include "net/FigureRows.h"
#include "net/NetworkGame.h"
#include "net/NetworkGameSetupWindow.h"
#include "net/NetworkLaunchWindow.h"
#include "net/NetworkResults.h"
#include "net/NetworkStartup.h"
#include "net/ServerGameRulesMenu.h"
#include "net/ServerScenarioListBox.h"
#include "net/ServerWaitWindow.h"
#include "net/WaitAfterSendingSquadsWindow.h"
#include "net/ZVKServerListBox.h"
#include "platform/gfx/RecordingDevice.h"
#include "platform/net/NetLimits.h"
#include "scenes/Scene.h"
#include "support/LogLines.h"
#include "support/RuntimeCopy.h"
#include "support/ScopedEnv.h"
#include "support/TempFolder.h"
#include "support/TestArena.h"
#include "ui/ConfirmDisconnectMenu.h"
#include "ui/ConfirmEscapeMenu.h"
#include "ui/ErrorBox.h"
#include "ui/ServerIPEditBox.h"
#include "ui/ToolkitWindows.h"
#include "ui/WindowManager.h"
#include "units/Vorn.h"
#include "ui/UiServices.h"
#include "world/Arena.h"
#include "world/ObjectKind.h"
#include "world/SaveFilePaths.h"

namespace {

// The texts drawn while it lives, each with the screen pixels the font measures it to cover.
class TextRuns : public TextObserver {
public:
    TextRuns() : previous_(SetTextObserver(this)) {}
    ~TextRuns() override { SetTextObserver(previous_); }
    TextRuns(const TextRuns&) = delete;
    TextRuns& operator=(const TextRuns&) = delete;

    void TextDrawn(const DrawnText& run) override {
        const IntRect box(int32_t(std::floor(run.position.x)), int32_t(std::floor(run.position.y)),
                          int32_t(std::ceil(run.position.x + run.size.x)) - 1,
                          int32_t(std::ceil(run.position.y + run.size.y)) - 1);
        runs.emplace_back(run.text.CStr(), box);
    }

    std::vector<std::pair<std::string, IntRect>> runs;

private:
    TextObserver* previous_;
};

bool Overlap(const IntRect& a, const IntRect& b) {
    return a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom;
}

// The game's own texts, font widths and line height, as the data set makes them; false
// without it.
bool UseTheGamesTextsAndFont() {
    const std::filesystem::path game = runtime_test::BuiltRuntimeFolder();
    std::ifstream picture(game / "Textures" / "VornsFontEnglish.tga", std::ios::binary);
    unsigned char header[18] = {};
    if (!picture.read(reinterpret_cast<char*>(header), sizeof header)) return false;
    Font& font = GetFont();
    font.lineHeight = float(header[14] | header[15] << 8) / Font::kCellsPerSide;
    return font.ReadWidths(String((game / "Textures" / "VornsFontEnglish.dat").c_str())) &&
           LoadLanguageTexts(String((game / "English.txt").c_str()), GetTextTable());
}

class NetworkScreensTest : public ::testing::Test {
protected:
    void SetUp() override {
        previous = std::filesystem::current_path();
        std::filesystem::current_path(folder.Path());
        game = &CreateNetworkGame("", "");
        game->SetLeaveMode([this] { ++left; });
    }
    void TearDown() override {
        GetWindowManager().CloseAllWindows();
        ReleasePlayerFigures();
        std::filesystem::current_path(previous);
    }
    void Command(Window& window, int32_t type) {
        Event event;
        event.type = type;
        window.HandleCommand(event);
    }
    void Pick(Window& window, const char* entry) {
        Event event;
        event.type = kEventPickEntry;
        event.text = entry;
        window.HandleCommand(event);
    }
    bool IsOpen(Window& window) { return GetWindowManager().IsOpen(&window); }

    // What one frame of the open windows drew on the headless device.
    static const gfx::RecordingDevice& DrawOneFrame() {
        Renderer& renderer = GetRenderer();
        EXPECT_TRUE(renderer.GetReady());
        auto& device = dynamic_cast<gfx::RecordingDevice&>(renderer.GetDevice());
        device.SetCallLog(true);
        device.ClearRecords();
        GetWindowManager().RenderAll();
        renderer.EndFrame();
        device.SetCallLog(false);
        return device;
    }
    // A figure clears the depth of its own box before it stands there.
    static bool FigureDrawnIn(const gfx::RecordingDevice& device, const IntRect& box) {
        for (const gfx::ClearRecord& clear : device.Clears()) {
            if (clear.flags == gfx::kClearDepth && clear.rect.left == box.left && clear.rect.top == box.top &&
                clear.rect.right == box.right + 1 && clear.rect.bottom == box.bottom + 1)
                return true;
        }
        return false;
    }
    // A figure too dark for the black screen stands on a pool of light inside its box.
    static bool LightPoolIn(const gfx::RecordingDevice& device, const IntRect& box) {
        for (const gfx::ClearRecord& clear : device.Clears()) {
            if (clear.flags == gfx::kClearTarget && clear.rect.left >= box.left && clear.rect.top >= box.top &&
                clear.rect.right <= box.right + 1 && clear.rect.bottom <= box.bottom + 1)
                return true;
        }
        return false;
    }
    // Star quads whose centres lie on an ellipse round the box, none reaching below it
    // onto the name; -1 when one does.
    static int StarsAround(const gfx::RecordingDevice& device, const IntRect& box) {
        const float half = 0.5f * FigureRows::kStarPixels;
        const float cx = 0.5f * float(box.left + box.right), cy = 0.5f * float(box.top + box.bottom);
        const float rx = 0.5f * float(box.right - box.left + 1), ry = 0.5f * float(box.bottom - box.top + 1) - half;
        int stars = 0;
        for (const gfx::DrawRecord& draw : device.Draws()) {
            if (draw.world[0] != 2.0f * half || draw.world[5] != 2.0f * half) continue;
            const float dx = (draw.world[12] + half - cx) / rx, dy = (draw.world[13] + half - cy) / ry;
            if (std::abs(dx * dx + dy * dy - 1.0f) >= 0.05f) continue;
            if (draw.world[13] + 2.0f * half > float(box.bottom) + 1.5f) return -1;
            ++stars;
        }
        return stars;
    }
    // The city's sky: the scene behind the screen was drawn.
    static bool SceneDrawn(const gfx::RecordingDevice& device) {
        for (const gfx::ClearRecord& clear : device.Clears()) {
            if (clear.colour == Color::FromRGBA(30, 150, 150, 255)) return true;
        }
        return false;
    }
    void WriteShortScene(const char* name) {
        std::filesystem::create_directories(std::filesystem::path(folder.Path()) / "Scenes" / "English");
        std::ofstream(std::filesystem::path(folder.Path()) / "Scenes" / "English" / (std::string(name) + ".SCE"))
            << "Background City\nStage\nTime 0.1\nEnd\n";
    }
    static void Tick() {
        InputEvent tick;
        tick.Set(kInputFrameTick, 0, Point(0, 0));
        GetWindowManager().BroadcastInput(tick);
    }

    platform_test::TempFolder folder;
    std::filesystem::path previous;
    NetworkGame* game = nullptr;
    int left = 0;
};

TEST_F(NetworkScreensTest, TheWaitingServerGoesOnToTheSetUpOrBackOutOfTheMode) {
    ASSERT_TRUE(game->Serve(0));
    EXPECT_TRUE(GetWindowManager().IsOpen(&GetServerWaitWindow()));
    Command(GetServerWaitWindow(), kEventExit);
    EXPECT_EQ(game->Session().State(), SessionState::ServerSetup);
    Command(GetServerWaitWindow(), kEventBack);
    EXPECT_FALSE(game->IsNetworkServer());
    EXPECT_EQ(left, 1);
}

TEST_F(NetworkScreensTest, ServingOnATakenPortShowsTheErrorAndStaysInTheMenu) {
    struct Shell : ModeShell {
        void PushGame(Game*) override { ++pushes; }
        void PopGame() override { ++pops; }
        bool IntroSeen() const override { return true; }
        void MarkIntroSeen() override {}
        void StepProfiler() override {}
        int pushes = 0;
        int pops = 0;
    } shell;
    SetModeShell(&shell);
    net_test::RecordingNetworker taker;
    taker.SetPort(0);
    ASSERT_TRUE(taker.StartServer(1));
    platform_test::ScopedEnv port{"VORNS_GAME_PORT", std::to_string(taker.ListeningPort())};
    // The game menu closed itself and waits on the return stack, as when its button is pressed.
    Window& menu = GetChatWindow();
    GetWindowManager().PushReturnWindow(&menu);

    EXPECT_TRUE(StartNetworkGame(true));
    EXPECT_EQ(shell.pushes, 0);
    EXPECT_FALSE(game->IsNetworkServer());
    ASSERT_TRUE(IsOpen(GetErrorBox()));
    // The box says why: the port and that it is in use.
    ASSERT_EQ(GetErrorBox().message.Count(), 2);
    EXPECT_STREQ(GetErrorBox().message[1].CStr(),
                 (GetLanguageText("ServerPortInUse") + String::FromInt(taker.ListeningPort()) +
                  GetLanguageText("ServerPortInUseEnd"))
                     .CStr());
    Command(GetErrorBox(), kEventContinueErrorBox);
    EXPECT_TRUE(IsOpen(menu));
    EXPECT_EQ(shell.pops, 0);
    SetModeShell(nullptr);
}

TEST_F(NetworkScreensTest, TypingOnANetworkScreenWritesTheChatLineWhereverThePointerIs) {
    ASSERT_TRUE(game->Serve(0));
    ASSERT_TRUE(IsOpen(GetChatWindow()));
    SetCurrentGame(game);
    for (char c : std::string("hi")) {
        InputEvent typed;
        typed.Set(kInputCharacter, c, Point(5, 5));  // the top-left corner, far from the chat
        GetWindowManager().OfferInput(typed);
        game->DispatchEvents();
    }
    EXPECT_STREQ(GetChatWindow().EntryText().CStr(), "hi");
    SetCurrentGame(nullptr);
}

TEST_F(NetworkScreensTest, TheSetUpScreenShowsTheItemsOfTheRuleSetAndTheirValues) {
    ASSERT_TRUE(game->Serve(0));
    Command(GetServerWaitWindow(), kEventExit);
    NetworkGameSetupWindow& setup = GetNetworkGameSetupWindow();
    ASSERT_TRUE(GetWindowManager().IsOpen(&setup));
    game->SetGameRules(NetworkGame::kSoccer);
    setup.PlaceItems();
    for (int32_t item : {NetworkGameSetupWindow::kGoalCount, NetworkGameSetupWindow::kBallCount,
                         NetworkGameSetupWindow::kNetCount, NetworkGameSetupWindow::kWeaponsAllowed})
        EXPECT_TRUE(setup.IsButtonShown(item)) << item;
    for (int32_t item :
         {NetworkGameSetupWindow::kMeteorDelay, NetworkGameSetupWindow::kGameTimer, NetworkGameSetupWindow::kVIPCount})
        EXPECT_FALSE(setup.IsButtonShown(item)) << item;
    game->SetMeteorDelay(0);
    EXPECT_STREQ(setup.ValueText(NetworkGameSetupWindow::kMeteorDelay).CStr(), GetLanguageText("NoMeteors").CStr());
    game->SetSoccerBallCount(1);
    EXPECT_STREQ(setup.ValueText(NetworkGameSetupWindow::kBallCount).CStr(), ("1 " + GetLanguageText("Ball")).CStr());
    Command(setup, kEventToggleWeaponsAllowed);
    EXPECT_EQ(game->MatchSettings().weaponsAllowed, 0);
}

TEST_F(NetworkScreensTest, TheServerPicksAmongItsOwnAndTheGamesScenariosAndRulesOnScreen) {
    for (const char* file : {"Scenarios/Meadow.SCN", "Scenarios/Bridge.scn", "Scenarios/Notes.txt",
                             "Players/Host/Scenarios/Mine.SCN", "Players/Host/Scenarios/MEADOW.SCN"}) {
        std::filesystem::create_directories(std::filesystem::path(file).parent_path());
        std::ofstream(file) << "\n";
    }
    SetDataFolders("Players\\Host\\Vorns\\", "Players\\Host\\Squads\\", "Players\\Host\\Scenarios\\");
    ServerScenarioListBox& scenarios = GetServerScenarioListBox();
    scenarios.Fill();
    std::vector<std::string> names;
    for (int32_t i = 0; i < scenarios.EntryCount(); ++i) names.push_back(scenarios.items[i].CStr());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Bridge", "MEADOW", "Mine"}));
    SetDataFolders("Vorns\\", "Squads\\", "Scenarios\\");

    ASSERT_TRUE(game->Serve(0));
    Command(GetServerWaitWindow(), kEventExit);
    NetworkGameSetupWindow& setup = GetNetworkGameSetupWindow();
    const IntRect rules = setup.controls->sprites[NetworkGameSetupWindow::kRules0]->GetScreenRect();
    GetMouse().position = Point((rules.left + rules.right) / 2, (rules.top + rules.bottom) / 2);
    Command(setup, kEventSetServerGameRules);
    const Window& menu = GetServerGameRulesMenu();
    ASSERT_TRUE(GetWindowManager().IsOpen(&menu));
    const IntRect screen = UiScreenRect();
    // The ring stands around the picture pressed, whole on the screen.
    EXPECT_LT(menu.left, GetMouse().position.x);
    EXPECT_GT(menu.right, GetMouse().position.x);
    EXPECT_GE(menu.left, screen.left);
    EXPECT_GE(menu.top, screen.top);
    EXPECT_LE(menu.right, screen.right);
    EXPECT_LE(menu.bottom, screen.bottom);
}

TEST_F(NetworkScreensTest, ALobbyRowChosenFillsTheAddressTheClientConnectsTo) {
    platform_test::ScopedEnv http{"http_proxy", ""};
    platform_test::ScopedEnv httpUpper{"HTTP_PROXY", ""};
    const std::string body = "My Server,127.0.0.1,2,0\n";
    net_test::StandInServer web([&](const std::string&) {
        return "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
    });
    LobbySettings lobby;
    lobby.host = "127.0.0.1:" + std::to_string(web.Port());
    game->SetLobbySettings(lobby);
    std::filesystem::create_directories("Players/Picker");
    const String name = GetLocalPlayer().name;
    GetLocalPlayer().name = "Picker";
    ZVKServerListBox& box = GetZVKServerListBox();
    GetWindowManager().OpenWindow(&box);
    box.Fill();
    ASSERT_EQ(box.EntryCount(), 1);
    box.PickEntry(0, String());
    EXPECT_STREQ(GetClientSetupWindow().address.CStr(), "My_Server:127.0.0.1");
    EXPECT_STREQ(ServerIPEditBox::HostPart(GetClientSetupWindow().address).CStr(), "127.0.0.1");
    // The pick outlives the screen: the profile keeps it.
    Player reloaded;
    reloaded.name = "Picker";
    ASSERT_TRUE(reloaded.Load());
    EXPECT_STREQ(reloaded.serverClientServerIp.CStr(), "My_Server:127.0.0.1");
    GetLocalPlayer().name = name;
}

TEST_F(NetworkScreensTest, JoiningWithoutAHostFailsIntoTheErrorBoxAndStopsTheClient) {
    ClientSetupWindow& setup = GetClientSetupWindow();
    setup.address = "name:";
    EXPECT_FALSE(setup.Join());
    EXPECT_FALSE(game->IsNetworkClient());
    EXPECT_TRUE(GetWindowManager().IsOpen(&GetErrorBox()));
}

TEST_F(NetworkScreensTest, AJoinShowsItIsConnectingWhileFramesGoOnAndGivesUpWhatIsNeverAnswered) {
    // A full accept queue: the next connection request is dropped, never answered.
    sock::Socket dropping;
    ASSERT_TRUE(dropping.Listen(0, 0));
    std::unique_ptr<sock::Socket> filler = net_test::RawConnect(dropping.LocalPort());
    ASSERT_NE(filler, nullptr);
    static uint64_t now;  // read by the game, which outlives this body
    now = 1000;
    game->Session().SetClock([] { return now; });
    game->Join();
    ClientSetupWindow& setup = GetClientSetupWindow();
    ASSERT_TRUE(IsOpen(setup));
    EXPECT_TRUE(setup.ConnectingText().IsEmpty());
    auto shows = [&](const char* part) {
        return std::string(setup.ConnectingText().CStr()).find(part) != std::string::npos;
    };
    setup.address = "127.0.0.1";
    {
        platform_test::ScopedEnv port{"VORNS_GAME_PORT", std::to_string(dropping.LocalPort())};
        // The connection is still being made when the button's command returns, and the
        // frames go on meanwhile.
        ASSERT_TRUE(setup.Join());
        EXPECT_TRUE(shows("127.0.0.1") && shows("5 ")) << setup.ConnectingText().CStr();
        game->HandleInputEvents(Array<InputEvent>());
        EXPECT_TRUE(game->IsNetworkClient());
        EXPECT_FALSE(setup.Join()) << "a second press while connecting";
        Array<InputEvent> escape;
        escape.Append(InputEvent{0, 0, kInputDown, 27});
        game->HandleInputEvents(escape);
        EXPECT_FALSE(game->IsNetworkClient()) << "Escape gives the connection up";
        EXPECT_TRUE(setup.ConnectingText().IsEmpty());
        EXPECT_FALSE(IsOpen(GetErrorBox()));

        ASSERT_TRUE(setup.Join());
        now += sock::kConnectBudgetMs - 1;
        game->HandleInputEvents(Array<InputEvent>());
        EXPECT_TRUE(shows("1 ")) << setup.ConnectingText().CStr();
        now += 1;
        game->HandleInputEvents(Array<InputEvent>());
        EXPECT_FALSE(game->IsNetworkClient());
        ASSERT_TRUE(IsOpen(GetErrorBox()));
        const std::string message = GetErrorBox().message[0].CStr();
        EXPECT_EQ(message.find(std::string(GetLanguageText("UnableToConnect").CStr()) + "127.0.0.1"), 0u) << message;
        EXPECT_NE(message.find(std::to_string(dropping.LocalPort())), std::string::npos) << message;
        EXPECT_EQ(game->Session().State(), SessionState::ClientEntering);
        GetWindowManager().CloseWindow(&GetErrorBox());

        // A host name is looked up while the frames go on: the countdown covers the lookup
        // and Escape gives it up. This lookup answers only when let go (on the frame's own
        // thread it would hold the frame until then).
        auto release = std::make_shared<std::promise<void>>();
        game->Session().SetResolver([released = release->get_future().share()](const std::string&) {
            return released.wait_for(std::chrono::seconds(10)) == std::future_status::ready
                       ? std::optional<uint32_t>(sock::LoopbackIp())
                       : std::nullopt;
        });
        setup.address = "game.server";
        ASSERT_TRUE(setup.Join());
        game->HandleInputEvents(Array<InputEvent>());
        EXPECT_TRUE(shows("game.server") && shows("5 ")) << setup.ConnectingText().CStr();
        game->HandleInputEvents(escape);
        EXPECT_FALSE(game->IsNetworkClient());
        ASSERT_TRUE(setup.Join());
        now += sock::kConnectBudgetMs;
        {
            const platform_test::LogLines log;
            game->HandleInputEvents(Array<InputEvent>());
            EXPECT_TRUE(log.HasLineWith({"game.server was not looked up within 5 s"})) << log.Text();
        }
        EXPECT_FALSE(game->IsNetworkClient());
        EXPECT_TRUE(IsOpen(GetErrorBox()));
        release->set_value();
        GetWindowManager().CloseWindow(&GetErrorBox());

        // A name no computer goes by: the player is sent to check his typing, not his ports.
        // The answer comes once the button's command has returned, as one from the network
        // does; on the lookup's thread at once it could come before the command looks.
        auto answer = std::make_shared<std::promise<void>>();
        game->Session().SetResolver([answered = answer->get_future().share()](const std::string&) {
            answered.wait_for(std::chrono::seconds(10));
            return std::optional<uint32_t>();
        });
        setup.address = "no.such.computer";
        ASSERT_TRUE(setup.Join());
        answer->set_value();
        ASSERT_TRUE(net_test::PumpUntil([&] { return IsOpen(GetErrorBox()); },
                                        [&] { game->HandleInputEvents(Array<InputEvent>()); }));
        const std::string named = GetErrorBox().message[0].CStr();
        EXPECT_EQ(named.find(std::string(GetLanguageText("NoSuchComputer").CStr()) + "no.such.computer"), 0u) << named;
        EXPECT_EQ(named.find(std::to_string(dropping.LocalPort())), std::string::npos) << named;
        GetWindowManager().CloseWindow(&GetErrorBox());
        setup.address = "127.0.0.1";
    }

    sock::Socket silent;  // connections wait in its backlog: nothing is ever read or answered
    ASSERT_TRUE(silent.Listen(0, 4));
    platform_test::ScopedEnv port{"VORNS_GAME_PORT", std::to_string(silent.LocalPort())};
    ASSERT_TRUE(setup.Join());
    ASSERT_TRUE(net_test::PumpUntil([&] { return shows("15 "); },
                                    [&] { game->HandleInputEvents(Array<InputEvent>()); }))
        << setup.ConnectingText().CStr();
    EXPECT_TRUE(shows("127.0.0.1")) << setup.ConnectingText().CStr();
    now += sock::kJoinAnswerLimitMs - 1;
    game->HandleInputEvents(Array<InputEvent>());
    EXPECT_TRUE(game->IsNetworkClient());
    EXPECT_TRUE(shows("1 ") && !shows("15 ")) << setup.ConnectingText().CStr();
    now += 1;
    game->HandleInputEvents(Array<InputEvent>());
    EXPECT_FALSE(game->IsNetworkClient());
    EXPECT_TRUE(setup.ConnectingText().IsEmpty());
    ASSERT_TRUE(IsOpen(GetErrorBox()));
    EXPECT_STREQ(GetErrorBox().message[0].CStr(), GetLanguageText("ServerDidNotAnswer").CStr());
    // Still at the join screen, for another try.
    EXPECT_TRUE(IsOpen(setup));
    EXPECT_EQ(game->Session().State(), SessionState::ClientEntering);
    EXPECT_EQ(left, 0);
    GetWindowManager().CloseWindow(&GetErrorBox());

    // A server that takes the connection and closes it without a word is not taking new
    // players: the box says so over the join screen, which stays drawn.
    sock::Socket refusing;
    ASSERT_TRUE(refusing.Listen(0, 4) && refusing.SetNonBlocking(true));
    platform_test::ScopedEnv refusingPort{"VORNS_GAME_PORT", std::to_string(refusing.LocalPort())};
    ASSERT_TRUE(setup.Join());
    sock::Ipv4Address peer;
    std::unique_ptr<sock::Socket> taken;
    ASSERT_TRUE(net_test::PumpUntil([&] { return (taken = refusing.Accept(peer)) != nullptr; },
                                    [&] { game->HandleInputEvents(Array<InputEvent>()); }));
    taken.reset();
    ASSERT_TRUE(net_test::PumpUntil([&] { return IsOpen(GetErrorBox()); },
                                    [&] { game->HandleInputEvents(Array<InputEvent>()); }));
    EXPECT_STREQ(GetErrorBox().message[0].CStr(), GetLanguageText("ServerNotAllowingNewClients").CStr());
    EXPECT_TRUE(IsOpen(setup));
    EXPECT_TRUE(GetErrorBox().popGame);
}

TEST_F(NetworkScreensTest, TheServersLaunchWindowKeepsItsSquadsOnceOrGoesBackToTheSetUp) {
    ASSERT_TRUE(game->Serve(0));
    std::unique_ptr<Arena> arena = world_test::OpenArena(*game);
    game->Session().SetState(SessionState::ServerSquadSelection);
    // The unit and squad trays' images are not in this folder: the launch window alone.
    NetworkLaunchWindow& launch = GetNetworkLaunchWindow();
    GetWindowManager().OpenWindow(&launch);

    Pick(launch, "Launch");  // nothing in the launch tray
    EXPECT_TRUE(IsOpen(GetErrorBox()));
    EXPECT_FALSE(game->Session().LocalPlayer()->ready);
    GetWindowManager().CloseWindow(&GetErrorBox());

    Vorn* unit = arena->NewVorn(0);
    GetLocalPlayer().squads[0].Add(unit);
    Pick(launch, "Launch");
    EXPECT_TRUE(game->Session().LocalPlayer()->ready);
    EXPECT_TRUE(IsOpen(GetWaitAfterSendingSquadsWindow()));
    EXPECT_TRUE(IsOpen(GetChatWindow()));
    EXPECT_FALSE(IsOpen(launch));

    game->Session().SetState(SessionState::ServerSquadSelection);
    Pick(launch, "Exit");
    EXPECT_EQ(game->Session().State(), SessionState::ServerSetup);
    EXPECT_TRUE(IsOpen(GetNetworkGameSetupWindow()));
    GetLocalPlayer().squads[0].Clear();
    arena->FreeObject(unit);
    world_test::CloseArena(*arena);
}

TEST_F(NetworkScreensTest, TheResultsScreenShowsTheRulesAndTheServerSetsUpTheNextGame) {
    ASSERT_TRUE(game->Serve(0));
    game->SetGameRules(NetworkGame::kSoccer);
    game->Session().SetState(SessionState::ServerResults);
    ResultsWindow& results = GetResultsWindow();
    ASSERT_TRUE(IsOpen(results));
    ASSERT_NE(results.host, nullptr);
    EXPECT_EQ(results.host->GameRules(), int32_t(NetworkGame::kSoccer));
    Command(results, kEventExit);
    EXPECT_EQ(game->Session().State(), SessionState::ServerSetup);
    EXPECT_TRUE(IsOpen(GetNetworkGameSetupWindow()));
}

TEST_F(NetworkScreensTest, TheBattleScreensAreLaidOutAndPlayTheStartSoundAtTheArenasVolume) {
    ASSERT_TRUE(game->Serve(0));
    std::unique_ptr<Arena> arena = world_test::OpenArena(*game);
    arena->effectVolume = 0.5f;
    static int layouts = 0;
    layouts = 0;
    GetToolkitWindows().SetLayout([] { ++layouts; });
    RecordEffectSoundRequests(true);
    game->Session().SetState(SessionState::ServerWaitWorldAck);
    EXPECT_EQ(layouts, 1);
    EXPECT_TRUE(IsOpen(GetChatWindow()));
    EXPECT_TRUE(GetChatWindow().movable);
    int startSounds = 0;
    for (const EffectSoundRequest& sound : GetEffectSoundRequests()) {
        if (std::string(sound.name.CStr()).find("TRANSPORTBACKWARDS") == std::string::npos) continue;
        EXPECT_FLOAT_EQ(sound.volume, 0.5f * GetEffectVolumeFactor());
        ++startSounds;
    }
    EXPECT_EQ(startSounds, 1);
    RecordEffectSoundRequests(false);
    GetToolkitWindows().SetLayout(nullptr);
    world_test::CloseArena(*arena);
}

TEST_F(NetworkScreensTest, EscapeAndExitAskFirstAndTheAnswersDisconnectOrEndTheBattle) {
    ASSERT_TRUE(game->Serve(0));
    std::unique_ptr<Arena> arena = world_test::OpenArena(*game);
    SetGameWindows(&GetToolkitWindows());
    game->Session().SetState(SessionState::ServerPlaying);
    Array<InputEvent> escape;
    escape.Append(InputEvent{0, 0, kInputDown, 27});

    game->HandleInputEvents(escape);
    ConfirmDisconnectMenu& disconnect = GetConfirmDisconnectMenu();
    ASSERT_TRUE(IsOpen(disconnect));
    game->HandleInputEvents(escape);  // Escape answers the question, and does not ask again
    EXPECT_FALSE(IsOpen(disconnect));
    EXPECT_EQ(left, 0);

    Event* exit = game->NewEvent();
    exit->type = kEventOpenEscapeMenu;
    game->PostEvent(exit);
    game->DispatchEvents();
    ConfirmEscapeMenu& abort = GetConfirmEscapeMenu();
    ASSERT_TRUE(IsOpen(abort));
    EXPECT_STREQ(abort.title.CStr(), GetLanguageText("AbortGame?").CStr());
    abort.OnChoice(YesNoMenu::kYes);
    game->DispatchEvents();
    EXPECT_TRUE(game->battleOver);
    EXPECT_FLOAT_EQ(game->EndDelay(), NetworkGame::kEndDelaySeconds);

    game->HandleInputEvents(escape);
    ASSERT_TRUE(IsOpen(disconnect));
    disconnect.OnChoice(YesNoMenu::kYes);
    game->DispatchEvents();
    EXPECT_EQ(left, 1);
    SetGameWindows(nullptr);
    world_test::CloseArena(*arena);
}

TEST_F(NetworkScreensTest, TheResultsScreenShowsEveryFigureCheeringOrSulkingAndStarsTheWinners) {
    std::unique_ptr<Arena> arena = world_test::OpenArena(*game);
    ASSERT_TRUE(game->Serve(0));
    Player gone, rival;
    gone.name = "gone";
    rival.name = "rival";
    gone.goalCount = 3;
    GetPlayerRoster().networkPlayers.Append(&gone);
    GetPlayerRoster().networkPlayers.Append(&rival);
    GetLocalPlayer().won = 1;
    rival.won = 0;
    rival.goalCount = 1;
    rival.primaryColor = Color::FromRGBA(0, 0, 0, 255);
    game->SetGameRules(NetworkGame::kSoccer);
    game->Session().SetState(SessionState::ServerResults);
    // The serving player, listed first, is one of the players too.
    EXPECT_EQ(GetPlayerFigure(GetLocalPlayer()).pose, PlayerFigure::kCheer);
    EXPECT_EQ(GetPlayerFigure(rival).pose, PlayerFigure::kSulk);
    ASSERT_EQ(GetResultsWindow().lines.Count(), 3);

    // A player who left during the battle leaves the list while the results show: each
    // line stays with its own player.
    GetPlayerRoster().networkPlayers.RemoveAt(1);
    const gfx::RecordingDevice& device = DrawOneFrame();
    EXPECT_STREQ(GetResultsWindow().lines[1].CStr(), (std::string("1 ") + GetLanguageText("ResultsGoal").CStr()).c_str());
    const IntRect winner = GetPlayerFigure(GetLocalPlayer()).rect;
    const IntRect loser = GetPlayerFigure(rival).rect;
    EXPECT_TRUE(FigureDrawnIn(device, winner));
    EXPECT_TRUE(FigureDrawnIn(device, loser));
    EXPECT_EQ(StarsAround(device, winner), 2 * FigureRows::kStarCount);  // a sprite is drawn twice over itself
    EXPECT_EQ(StarsAround(device, loser), 0);
    EXPECT_TRUE(LightPoolIn(device, loser));
    EXPECT_FALSE(LightPoolIn(device, winner));

    GetWindowManager().CloseAllWindows();
    EXPECT_EQ(GetPlayerFigure(rival).pose, PlayerFigure::kIdle);
    GetPlayerRoster().networkPlayers.Clear();
    GetLocalPlayer().won = 0;
    ReleasePlayerFigures();
    world_test::CloseArena(*arena);
}

// Under the figures of every screen with rows of players, measured with the game's font,
// no name or line runs into another, into a figure, under the waiting screen's left-hand
// buttons (even one grown under the pointer) or under the chat window.
TEST_F(NetworkScreensTest, EveryNameAndLineUnderTheFiguresStandsClearForTwoToNinePlayers) {
    if (!UseTheGamesTextsAndFont()) GTEST_SKIP() << "no data set beside the tests";
    ASSERT_TRUE(game->Serve(0));
    const String localName = GetLocalPlayer().name;
    GetLocalPlayer().name = "Host";
    DrawOneFrame();
    std::vector<IntRect> buttons;
    for (const int32_t button : {ServerWaitWindow::kRegister, ServerWaitWindow::kServerName}) {
        IntRect rect = GetServerWaitWindow().controls->sprites[button]->GetScreenRect();
        rect.right += (rect.right - rect.left + 1) / 4;
        buttons.push_back(rect);
    }
    std::vector<std::unique_ptr<Player>> others;
    for (int32_t i = 2; i <= sock::kMaxNetworkPlayers; ++i) {
        others.push_back(std::make_unique<Player>());
        others.back()->name = i == 9 ? "WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW" : ("Player " + std::to_string(i)).c_str();
        others.back()->vornsAlive = 12;
        others.back()->kills = 10;
        others.back()->losses = 10;
    }
    // The chat window along the bottom of every network screen.
    const int32_t chatTop = UiScreenRect().bottom - 152;
    const auto expectClear = [&](const TextRuns& texts, size_t players, const std::string& screen) {
        std::vector<IntRect> figures{GetPlayerFigure(GetLocalPlayer()).rect};
        for (size_t i = 0; i + 1 < players; ++i) figures.push_back(GetPlayerFigure(*others[i]).rect);
        std::vector<std::pair<std::string, IntRect>> under;
        for (const auto& run : texts.runs) {
            if (run.second.top > figures[0].top) under.push_back(run);
        }
        EXPECT_GE(under.size(), 2 * players) << screen;
        const std::string what = screen + " with " + std::to_string(players) + " players: \"";
        for (size_t i = 0; i < under.size(); ++i) {
            for (size_t k = i + 1; k < under.size(); ++k)
                EXPECT_FALSE(Overlap(under[i].second, under[k].second))
                    << what << under[i].first << "\" runs into \"" << under[k].first << "\"";
            for (const IntRect& figure : figures)
                EXPECT_FALSE(Overlap(under[i].second, figure)) << what << under[i].first << "\" over a figure";
            for (const IntRect& button : buttons)
                EXPECT_FALSE(Overlap(under[i].second, button)) << what << under[i].first << "\" under a button";
            EXPECT_LT(under[i].second.bottom, chatTop) << what << under[i].first << "\" under the chat";
        }
    };
    // The waiting screens' rows (names and addresses, and what each has sent while the
    // squads come in) and the set-up screen's, which start under its items.
    const String address = "(127.0.0.1:44942)";
    const struct {
        int32_t firstRowY;
        std::vector<String> lines;
        const char* screen;
    } screens[] = {{128, {address}, "the joining screen"},
                   {192, {address, GetLanguageText("WaitingForSquads")}, "the squads' waiting screen"},
                   {504, {address}, "the set-up screen"}};
    for (const auto& [firstRowY, lines, screen] : screens) {
        for (const size_t players : {size_t(2), size_t(3), size_t(9)}) {
            std::vector<FigureRowEntry> entries(players);
            for (size_t i = 0; i < players; ++i) {
                entries[i].player = i == 0 ? &GetLocalPlayer() : others[i - 1].get();
                entries[i].name = entries[i].player->name;
                entries[i].lines = lines;
            }
            TextRuns texts;
            GetFigureRows().Draw(entries, firstRowY, 0.0f);
            expectClear(texts, players, screen);
        }
    }
    game->SetGameRules(NetworkGame::kLastVornStanding);
    game->Session().SetState(SessionState::ServerResults);
    for (const size_t players : {size_t(2), size_t(3), size_t(9)}) {
        GetPlayerRoster().networkPlayers.Clear();
        GetPlayerRoster().networkPlayers.Append(&GetLocalPlayer());
        for (size_t i = 0; i + 1 < players; ++i) GetPlayerRoster().networkPlayers.Append(others[i].get());
        GetWindowManager().CloseWindow(&GetChatWindow());  // its own lines stand low
        TextRuns texts;
        DrawOneFrame();
        expectClear(texts, players, "the results");
        // Four to a row, a line too wide breaks after a comma: each count stays with its word.
        const std::string lost = std::string("10 ") + GetLanguageText("ResultsDeaths").CStr();
        const bool lostShown =
            std::any_of(texts.runs.begin(), texts.runs.end(), [&](const auto& run) { return run.first == lost; });
        EXPECT_TRUE(players <= 4 || lostShown) << players << " players";
    }
    GetPlayerRoster().networkPlayers.Clear();
    GetWindowManager().CloseAllWindows();
    GetResultsWindow().lines.Clear();
    ReleasePlayerFigures();
    GetFont() = Font();
    GetTextTable().Clear();
    GetLocalPlayer().name = localName;
}

// The members a launch left out, named on this player's screen as a drop names them,
// above the screen's middle, where the camera shows the members placed: a crowd of
// different names makes the box taller, still clear of the middle, and what it cannot
// hold ends in "...". Another refusal stands in the middle again.
TEST_F(NetworkScreensTest, MembersALaunchLeftOutAreNamedInABoxThatStaysOnTheScreen) {
    if (!UseTheGamesTextsAndFont()) GTEST_SKIP() << "no data set beside the tests";
    ErrorBox& box = GetErrorBox();
    const IntRect screen = UiScreenRect();
    const int32_t middle = (screen.top + screen.bottom) / 2;
    game->ShowMembersLeftOut({"Scout", "Brawler", "Scout"});
    ASSERT_TRUE(IsOpen(box));
    ASSERT_EQ(box.message.Count(), 1);
    EXPECT_STREQ(box.message[0].CStr(), (GetLanguageText("SquadMembersNoRoom") + "Scout (2), Brawler.").CStr());
    EXPECT_LT(box.bottom, middle);
    const int32_t height = box.Height();
    std::vector<std::string> crowd;
    for (int i = 0; i < 400; ++i) crowd.push_back("Member" + std::to_string(i));
    game->ShowMembersLeftOut(crowd);
    EXPECT_GT(box.Height(), height);
    EXPECT_GE(box.top, screen.top);
    EXPECT_LT(box.bottom, middle);
    const float rows = float(box.bottom - box.top + 1) / (FontLineHeight() * ErrorBox::kTextScale);
    EXPECT_LE(float(box.lines.Count() + 1), rows);
    EXPECT_STREQ(box.lines[box.lines.Count() - 1].CStr(), "...");
    game->ShowMembersLeftOut({"Scout"});
    EXPECT_EQ(box.Height(), height);
    GetWindowManager().CloseWindow(&box);
    ShowRefusal("refused");
    EXPECT_GT(box.bottom, middle);
    EXPECT_LT(box.top, middle);
}

TEST_F(NetworkScreensTest, AReplayWithNoScenarioNamedClearsTheBattlefield) {
    std::unique_ptr<Arena> arena = world_test::OpenArena(*game);
    arena->AddObject(arena->NewVorn(0));
    game->Session().StartReplay();
    EXPECT_EQ(arena->CountObjectsOfKind(kKindVorn), 0);
    world_test::CloseArena(*arena);
}

TEST_F(NetworkScreensTest, SetUpScreensPlayTheirScenesAndWaitingScreensShowTheFiguresWalkingIn) {
    WriteShortScene("SmallClientSetup");
    WriteShortScene("SmallServerSetup");
    CreateSharedScene();
    std::unique_ptr<Arena> arena = world_test::OpenArena(*game);
    game->Join();
    ASSERT_TRUE(IsOpen(GetClientSetupWindow()));
    EXPECT_EQ(GetSharedScene()->Name(), "SmallClientSetup");
    EXPECT_TRUE(SceneDrawn(DrawOneFrame()));
    for (int frame = 0; frame < 30; ++frame) Tick();  // three times the scene's length
    EXPECT_FALSE(GetSharedScene()->IsFinished());
    EXPECT_EQ(GetSharedScene()->Name(), "SmallClientSetup");
    game->Session().StopClient();

    ASSERT_TRUE(game->Serve(0));
    EXPECT_EQ(GetPlayerFigure(GetLocalPlayer()).pose, PlayerFigure::kWalkIn);
    const gfx::RecordingDevice& waiting = DrawOneFrame();
    EXPECT_FALSE(SceneDrawn(waiting));
    EXPECT_TRUE(FigureDrawnIn(waiting, GetPlayerFigure(GetLocalPlayer()).rect));
    Command(GetServerWaitWindow(), kEventExit);
    ASSERT_TRUE(IsOpen(GetNetworkGameSetupWindow()));
    EXPECT_EQ(GetPlayerFigure(GetLocalPlayer()).pose, PlayerFigure::kIdle);
    EXPECT_EQ(GetSharedScene()->Name(), "SmallServerSetup");
    EXPECT_TRUE(SceneDrawn(DrawOneFrame()));

    GetWindowManager().CloseAllWindows();
    ReleasePlayerFigures();
    DestroySharedScene();
    world_test::CloseArena(*arena);
}

}  // namespace
