// The host's screens before the squad choice, as a new player reaches them hosting alone:
// the name box says why it takes no empty name and no signs, the round buttons along the
// bottom stand clear of the chat box's frame and on the screen, the budget comes down
// with a word while more players share the total and goes back when they leave, the
// budget typed is the budget set, or refused with the real limit named, the scenario
// list has no empty row, Escape on a list or menu closes only that, and what the host set
// outlasts his going Back to let more players in.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "InputPlaySteps.h"
#include "core/TextTable.h"
#include "net/NetworkGame.h"
#include "net/NetworkStartup.h"
#include "net/SessionPeers.h"
#include "platform/window/Keys.h"
#include "support/PlayerHarness.h"
#include "support/ScopedEnv.h"
#include "ui/Tray.h"
#include "ui/Window.h"

namespace {

using play_test::PlayerHarness;

// The words are drawn in the next frame, maybe broken over lines, read as a player reads
// them: line by line down the screen.
bool Shows(PlayerHarness& player, const std::string& words) {
    player.Frame();
    std::vector<play_test::ShownText> runs = player.TextsShown();
    std::stable_sort(runs.begin(), runs.end(), [](const auto& a, const auto& b) { return a.rect.top < b.rect.top; });
    std::string shown;
    for (const play_test::ShownText& run : runs) {
        for (const char c : run.text + " ") {
            if (c != ' ' || shown.empty() || shown.back() != ' ') shown += c;
        }
    }
    return shown.find(words) != std::string::npos;
}

// Every button of the screen level with the chat box lies right of its frame.
void ExpectClearOfTheChat(PlayerHarness& player, const std::string& screen) {
    player.MoveTo(Point(512, 300));  // a hovered button is drawn enlarged
    const Window& chat = player.OpenWindow("ChatWindow");
    for (const std::string& name : player.ItemNames(screen)) {
        const IntRect button = player.ItemRect(screen, name);
        if (button.bottom < chat.top - chat.frame.border) continue;
        EXPECT_GT(button.left, chat.right + chat.frame.border) << screen << " " << name;
        EXPECT_LE(button.right, 1023) << screen << " " << name;
    }
}

TEST(NetworkSetUpScreenTest, ANewPlayerHostsWithTheButtonsClearOfTheChatAndSetsTheBudgetTyped) {
    platform_test::ScopedEnv anyPort("VORNS_GAME_PORT", "0");
    PlayerHarness player(play_test::OnTheTitleMenu());
    player.Open("MainMenu", "SelectPlayer", "PlayerMenu");
    player.Open("PlayerMenu", "CreateNewPlayer", "PlayerNameEditBox");
    player.TapKey(win::kKeyReturn);
    EXPECT_TRUE(player.IsOpen("PlayerNameEditBox"));
    EXPECT_TRUE(Shows(player, GetLanguageText("PlayerNameEmpty").CStr()));
    player.Type("...");
    EXPECT_TRUE(Shows(player, GetLanguageText("NameCharacters").CStr()));
    player.Type("Host");
    player.TapKey(win::kKeyReturn);
    player.WaitFor("GameMenu");
    player.TakeTheCampaignMapTour();
    player.ClickItem("GameMenu", "StartNetworkGame");
    player.WaitFor("ServerWaitWindow");
    ExpectClearOfTheChat(player, "ServerWaitWindow");

    // Five join: the 5000 shared by six is less than the 1000 the host chose, and he is
    // told; the joiners are sent the budget in force. Once they have gone his is back.
    VornsNetworker& session = GetNetworkGame()->Session();
    std::vector<std::unique_ptr<net_test::Program>> peers;
    const auto peersAnd = [&peers](const std::function<bool()>& done) {
        return [&peers, done] {
            for (const auto& peer : peers) peer->Step();
            return done();
        };
    };
    const auto join = [&peers, &session](const std::string& name) {
        peers.push_back(std::make_unique<net_test::Program>(name));
        VornsNetworker& peer = peers.back()->networker;
        peer.SetPort(session.ListeningPort());
        peer.SetHost("127.0.0.1");
        ASSERT_TRUE(peer.StartClient());
        peer.SetState(SessionState::ClientEntering);
        ASSERT_TRUE(peer.Connect());
    };
    const auto crowdIn = [&] {
        for (int i = 0; i < 5; ++i) join("Peer" + std::to_string(i));
        player.FramesUntil(peersAnd([&] { return session.Players().size() == 6; }), PlayerHarness::kDefaultFrameLimit,
                           "five joined");
        EXPECT_TRUE(Shows(player, "With 6 players the budget came down to 833 credits."));
        player.ClickItem("ServerWaitWindow", "SetupGame");
        player.WaitFor("NetworkGameSetupWindow");
        EXPECT_TRUE(Shows(player, "833 Credits"));
        player.FramesUntil(peersAnd([&] { return peers[4]->host.settingsApplied > 0; }),
                           PlayerHarness::kDefaultFrameLimit, "the set-up sent");
        EXPECT_EQ(peers[4]->host.settings.budget, 833);
    };
    // One by one: the leave that brings the chosen budget back says so, and the chat lines
    // of those who leave after it may scroll that line away.
    const auto crowdOut = [&](const std::string& chosen) {
        bool told = false;
        for (const auto& peer : peers) {
            const size_t staying = session.Players().size() - 1;
            peer->networker.StopClient();
            player.FramesUntil([&] { return session.Players().size() == staying; }, PlayerHarness::kDefaultFrameLimit,
                               "one gone");
            told = told || Shows(player, "The budget you chose is back: " + chosen + " credits.");
        }
        peers.clear();
        EXPECT_TRUE(told);
    };
    crowdIn();
    crowdOut("1000");
    EXPECT_TRUE(Shows(player, "1000 Credits"));
    ExpectClearOfTheChat(player, "NetworkGameSetupWindow");

    // The budget box opens on 1000, selected: 1500 typed is 1500 set. Alone, the whole
    // network budget of 5000 is the player's; more is refused with that limit in the box,
    // and selected, so that the next figure typed replaces it.
    const auto enterBudget = [&player](const std::string& typed, const std::string& shown) {
        player.ClickItem("NetworkGameSetupWindow", "Budget");
        player.WaitFor("ServerBudgetEditBox");
        if (!typed.empty()) player.Type(typed);
        player.TapKey(win::kKeyReturn);
        player.WaitUntilClosed("ServerBudgetEditBox");
        EXPECT_TRUE(Shows(player, shown));
    };
    enterBudget("1500", "1500 Credits");
    player.ClickItem("NetworkGameSetupWindow", "Budget");
    player.WaitFor("ServerBudgetEditBox");
    player.Type("6000");
    player.TapKey(win::kKeyReturn);
    player.Frames(2);
    EXPECT_TRUE(player.IsOpen("ServerBudgetEditBox"));
    EXPECT_TRUE(Shows(player, "25 and 5000 credits."));
    player.Type("1500");
    player.TapKey(win::kKeyReturn);
    player.WaitUntilClosed("ServerBudgetEditBox");
    EXPECT_TRUE(Shows(player, "1500 Credits"));

    // The list's first row shows a name: the first of the list while none is chosen, then
    // the one chosen.
    const auto firstRow = [&player] {
        player.ClickItem("NetworkGameSetupWindow", "ScenarioName");
        player.WaitFor("ServerScenarioListBox");
        player.MoveTo(Point(1000, 20));
        player.Frames(2);
        const auto& list = dynamic_cast<const Tray&>(player.OpenWindow("ServerScenarioListBox"));
        for (const play_test::ShownText& run : player.TextsShown()) {
            if (run.rect.left >= list.left && run.rect.right <= list.right && run.rect.top >= list.top &&
                run.rect.top < list.top + list.cellSize.y)
                return run.text;
        }
        return std::string();
    };
    const std::string first = firstRow();
    const std::vector<std::string> names = player.EntryNames("ServerScenarioListBox");
    ASSERT_GE(names.size(), 2u);
    EXPECT_EQ(first, names[0]);
    player.ClickEntry("ServerScenarioListBox", names[1]);
    player.WaitUntilClosed("ServerScenarioListBox");
    EXPECT_EQ(firstRow(), names[1]);

    // Escape on each list or menu the host opens closes only that: the game goes on
    // without asking whether to leave it.
    input_play::ExpectEscapeClosesOnly(player, "ConfirmDisconnectMenu", [] {}, "ServerScenarioListBox");
    const std::pair<const char*, const char*> opened[] = {
        {"GameRules", "ServerGameRulesMenu"}, {"SquadCount", "ServerSquadCountMenu"}, {"BoostCount", "ServerBoostCountMenu"}};
    for (const auto& [item, list] : opened) {
        input_play::ExpectEscapeClosesOnly(
            player, "ConfirmDisconnectMenu", [&] { player.ClickItem("NetworkGameSetupWindow", item); }, list);
    }
    EXPECT_TRUE(player.IsOpen("NetworkGameSetupWindow"));

    // Players join only while the host waits. Going Back for more keeps what he set, and
    // the budget he chose rather than the one in force while more share the total.
    player.ClickItem("NetworkGameSetupWindow", "Back");
    player.WaitFor("ServerWaitWindow");
    crowdIn();
    EXPECT_TRUE(Shows(player, names[1]));
    EXPECT_EQ(peers[4]->host.settings.scenario, names[1]);
    // The budget box opens on the budget in force; Return on it unchanged chooses nothing.
    enterBudget("", "833 Credits");
    player.ClickItem("NetworkGameSetupWindow", "Back");
    player.WaitFor("ServerWaitWindow");
    crowdOut("1500");
    player.ClickItem("ServerWaitWindow", "SetupGame");
    player.WaitFor("NetworkGameSetupWindow");
    EXPECT_TRUE(Shows(player, "1500 Credits"));
    EXPECT_TRUE(Shows(player, names[1]));
}

}  // namespace
