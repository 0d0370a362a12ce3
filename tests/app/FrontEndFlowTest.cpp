// The front end played as a player does, from start-up on the real data set: the title
// menu, a new player (one made, one taken in another case and refused), carrying on
// as that player, the game menu and its modes, customising, the options screen, and the
// way out through the closing screen.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "app/Application.h"
#include "core/TextTable.h"
#include "platform/window/Keys.h"
#include "screens/MainMenu.h"
#include "support/PlayerHarness.h"
#include "ui/ErrorBox.h"
#include "ui/Slider.h"
#include "ui/WindowManager.h"

namespace {

namespace fs = std::filesystem;
using play_test::PlayerHarness;

constexpr int kChangeFrames = 300;

std::string ReadFile(const fs::path& path) {
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

std::string Text(const char* key) { return GetLanguageText(key).CStr(); }

class FrontEndFlowTest : public ::testing::Test {
protected:
    void WaitFor(PlayerHarness& player, const std::string& window) {
        player.FramesUntil([&] { return player.IsOpen(window); }, kChangeFrames, window + " opens");
    }
    void Open(PlayerHarness& player, const std::string& window, const std::string& item, const std::string& opened) {
        player.ClickItem(window, item);
        WaitFor(player, opened);
    }
    // The error box's first line, after it opened.
    std::string ErrorShown(PlayerHarness& player) {
        WaitFor(player, "ErrorBox");
        const ErrorBox& box = GetErrorBox();
        return box.message.IsEmpty() ? "" : box.message[0].CStr();
    }
    // A name typed into the new-player box and confirmed with Return.
    void TypeName(PlayerHarness& player, const std::string& name) {
        Open(player, "MainMenu", "SelectPlayer", "PlayerMenu");
        Open(player, "PlayerMenu", "CreateNewPlayer", "PlayerNameEditBox");
        player.Type(name);
        player.TapKey(win::kKeyReturn);
    }
    float SliderValue(const std::string& name) {
        return static_cast<const Slider*>(GetWindowManager().FindWindowByName(String(name.c_str())))->value;
    }
};

TEST_F(FrontEndFlowTest, FromStartUpThroughAPlayerTheGameMenuAndOptionsToTheClosingScreen) {
    PlayerHarness player(play_test::OnTheTitleMenu());
    const fs::path folder = player.Folder();
    ASSERT_EQ(player.FrontWindow(), "MainMenu");
    EXPECT_FALSE(GetMainMenu().IsItemShown(MainMenu::kContinueGameAs));  // no player yet

    // A new player: the name makes the profile and its folders. (The box takes only
    // letters and digits, as many as fit, so a name that cannot be a folder cannot be
    // typed: the player-folder tests refuse those.)
    TypeName(player, "Bob");
    WaitFor(player, "GameMenu");
    EXPECT_TRUE(fs::is_directory(folder / "Players/Bob/Vorns"));
    EXPECT_NE(ReadFile(folder / "Options.txt").find("LastPlayerName Bob"), std::string::npos);

    // A new profile's game menu offers only the campaign and the way back; the campaign
    // map's tour opens the rest of it.
    EXPECT_EQ(player.ItemNames("GameMenu"), (std::vector<std::string>{"ContinueCampaign", "ReturnMainMenu"}));
    Open(player, "GameMenu", "ContinueCampaign", "MissionMapWindow");
    player.FramesUntil(
        [&] {
            player.TapKey(win::kKeySpace);
            return !player.IsOpen("TextBox");
        },
        60, "the map's tour ends");
    Open(player, "MissionMapWindow", "ExitButton.tga", "GameMenu");
    EXPECT_EQ(player.Mode(), "MenuGame");

    // Training and back through the question on leaving.
    Open(player, "GameMenu", "TrainingLaboratory", "ArenaWindow");
    EXPECT_EQ(player.App().GameCount(), 2);
    player.TapKey(win::kKeyEscape);
    Open(player, "ConfirmEscapeMenu", "Yes", "GameMenu");
    EXPECT_EQ(player.Mode(), "MenuGame");

    // Joining a network game asks for the server's address; going back leaves the mode.
    Open(player, "GameMenu", "JoinNetworkGame", "ClientSetupWindow");
    EXPECT_EQ(player.Mode(), "NetworkGame");
    Open(player, "ClientSetupWindow", "Back", "GameMenu");
    EXPECT_EQ(player.Mode(), "MenuGame");

    // Customising: Accept saves the colour set on the slider (here its left end).
    ASSERT_TRUE(fs::exists(folder / "Players/Bob/Bob.DATA"));
    Open(player, "GameMenu", "Customization", "UpgradeWindow");
    player.Click(player.WindowPoint("PrimaryRed", 0.0f, 0.5f));
    EXPECT_EQ(SliderValue("PrimaryRed"), 0.0f);
    Open(player, "UpgradeWindow", "YesButton.tga", "GameMenu");
    EXPECT_NE(ReadFile(folder / "Players/Bob/Bob.DATA").find("PrimaryColor < 0, "), std::string::npos);
    Open(player, "GameMenu", "ReturnMainMenu", "MainMenu");
    EXPECT_TRUE(GetMainMenu().IsItemShown(MainMenu::kContinueGameAs));

    // The same name in another case is taken.
    TypeName(player, "bob");
    EXPECT_EQ(ErrorShown(player), Text("PlayerAlreadyExists"));
    player.TapKey(win::kKeySpace);
    WaitFor(player, "PlayerNameEditBox");
    player.TapKey(win::kKeyEscape);
    WaitFor(player, "PlayerMenu");
    Open(player, "PlayerMenu", "ExitMenuButton.tga", "MainMenu");

    // Carrying on as the last player.
    Open(player, "MainMenu", "ContinueGameAs", "GameMenu");
    Open(player, "GameMenu", "ReturnMainMenu", "MainMenu");

    // Options: the volumes and the detail at their left ends and a new screen size,
    // stored with the warning that the size changes at the next start.
    Open(player, "MainMenu", "Options", "OptionsWindow");
    for (const char* slider : {"SoundVolume", "MusicVolume", "SpeechVolume", "LODPixelError"}) {
        player.Click(player.WindowPoint(slider, 0.0f, 0.5f));
    }
    player.Click(player.ItemPoint("OptionsWindow", "ScreenSize.tga", 3));
    player.ClickItem("OptionsWindow", "Accept");
    EXPECT_EQ(ErrorShown(player), Text("ScreenSizeWarning"));
    const std::string stored = ReadFile(folder / "Options.txt");
    for (const char* line : {"SoundVolume 0", "MusicVolume 0", "SpeechVolume 0", "LODError 0", "ScreenSize 3"}) {
        EXPECT_NE(stored.find(line), std::string::npos) << line << " in " << stored;
    }
    player.TapKey(win::kKeySpace);
    WaitFor(player, "MainMenu");

    // Out through the closing screen.
    Open(player, "MainMenu", "Exit", "SplashScreen");
    player.ClickItem("SplashScreen", "ExitMenuButton.tga");
    player.FramesUntil([&] { return !player.Running(); }, kChangeFrames, "the program ends");
}

// The screens outlive an application: a second run in the same process must draw and
// click with what the second renderer made, never with the sprites the first one freed.
TEST_F(FrontEndFlowTest, ASecondRunInOneProcessUsesItsOwnRenderersSprites) {
    for (const char* name : {"Ann", "Bea"}) {
        SCOPED_TRACE(name);
        play_test::HarnessSettings settings;
        settings.newPlayer = name;
        PlayerHarness player(settings);
        Open(player, "GameMenu", "ReturnMainMenu", "MainMenu");
        Open(player, "MainMenu", "Options", "OptionsWindow");
        player.ClickItem("OptionsWindow", "Cancel");
        WaitFor(player, "MainMenu");
        Open(player, "MainMenu", "ContinueGameAs", "GameMenu");
        Open(player, "GameMenu", "ContinueCampaign", "MissionMapWindow");
        player.FramesUntil(
            [&] {
                player.TapKey(win::kKeySpace);
                return !player.IsOpen("TextBox");
            },
            60, "the map's tour ends");
        Open(player, "MissionMapWindow", "ExitButton.tga", "GameMenu");
        Open(player, "GameMenu", "Customization", "UpgradeWindow");
        Open(player, "UpgradeWindow", "NoButton.tga", "GameMenu");
    }
}

}  // namespace
