// The host's screens before the squad choice, as a player reaches them hosting alone: the
// round buttons along the bottom stand clear of the chat box's frame and on the screen, and
// the scenario list has no empty row.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/PlayerHarness.h"
#include "support/ScopedEnv.h"
#include "ui/Tray.h"
#include "ui/Window.h"

namespace {

using play_test::PlayerHarness;

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

TEST(NetworkSetUpScreenTest, TheBottomButtonsStandRightOfTheChatBox) {
    platform_test::ScopedEnv anyPort("VORNS_GAME_PORT", "0");
    PlayerHarness player;
    player.TakeTheCampaignMapTour();
    player.ClickItem("GameMenu", "StartNetworkGame");
    player.WaitFor("ServerWaitWindow");
    ExpectClearOfTheChat(player, "ServerWaitWindow");
    player.ClickItem("ServerWaitWindow", "SetupGame");
    player.WaitFor("NetworkGameSetupWindow");
    ExpectClearOfTheChat(player, "NetworkGameSetupWindow");

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
}

}  // namespace
