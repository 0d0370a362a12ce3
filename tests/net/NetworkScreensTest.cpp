#include <gtest/gtest.h>

#include <filesystem>

#include "StandInServer.h"
#include "battlefield/LaunchSquadTray.h"
#include "battlefield/ResultsWindow.h"
#include "core/TextTable.h"
#include "game/Player.h"
#include "game/PlayerRoster.h"
#include "net/ChatWindow.h"
#include "net/ClientSetupWindow.h"
#include "net/NetworkGame.h"
#include "net/NetworkGameSetupWindow.h"
#include "net/NetworkLaunchWindow.h"
#include "net/NetworkStartup.h"
#include "net/ServerWaitWindow.h"
#include "net/WaitAfterSendingSquadsWindow.h"
#include "net/ZVKServerListBox.h"
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
#include "world/Arena.h"

namespace {

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
    ZVKServerListBox& box = GetZVKServerListBox();
    GetWindowManager().OpenWindow(&box);
    box.Fill();
    ASSERT_EQ(box.EntryCount(), 1);
    box.PickEntry(0, String());
    EXPECT_STREQ(GetClientSetupWindow().address.CStr(), "My_Server:127.0.0.1");
    EXPECT_STREQ(ServerIPEditBox::HostPart(GetClientSetupWindow().address).CStr(), "127.0.0.1");
}

TEST_F(NetworkScreensTest, JoiningWithoutAHostFailsIntoTheErrorBoxAndStopsTheClient) {
    ClientSetupWindow& setup = GetClientSetupWindow();
    setup.address = "name:";
    EXPECT_FALSE(setup.Join());
    EXPECT_FALSE(game->IsNetworkClient());
    EXPECT_TRUE(GetWindowManager().IsOpen(&GetErrorBox()));
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

}  // namespace
