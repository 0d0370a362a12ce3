// The host's screens before the squad choice, as a player reaches them hosting alone: the
// round buttons along the bottom stand clear of the chat box's frame and on the screen.
#include <gtest/gtest.h>

#include <string>

#include "support/PlayerHarness.h"
#include "support/ScopedEnv.h"
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
}

}  // namespace
