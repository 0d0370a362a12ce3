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
    // The error box's first line, after it opened.
    std::string ErrorShown(PlayerHarness& player) {
        player.WaitFor("ErrorBox");
        const ErrorBox& box = GetErrorBox();
        return box.message.IsEmpty() ? "" : box.message[0].CStr();
    }
    // A name typed into the new-player box and confirmed with Return.
    void TypeName(PlayerHarness& player, const std::string& name) {
        player.Open("MainMenu", "SelectPlayer", "PlayerMenu");
        player.Open("PlayerMenu", "CreateNewPlayer", "PlayerNameEditBox");
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
    player.WaitFor("GameMenu");
    EXPECT_TRUE(fs::is_directory(folder / "Players/Bob/Vorns"));
    EXPECT_NE(ReadFile(folder / "Options.txt").find("LastPlayerName Bob"), std::string::npos);

    // A new profile's game menu offers only the campaign and the way back; the campaign
    // map's tour opens the rest of it.
    EXPECT_EQ(player.ItemNames("GameMenu"), (std::vector<std::string>{"ContinueCampaign", "ReturnMainMenu"}));
    player.Open("GameMenu", "ContinueCampaign", "MissionMapWindow");
    player.ReadToTheEnd();
    player.Open("MissionMapWindow", "ExitButton.tga", "GameMenu");
    EXPECT_EQ(player.Mode(), "MenuGame");

    // Training and back through the question on leaving.
    player.Open("GameMenu", "TrainingLaboratory", "ArenaWindow");
    EXPECT_EQ(player.App().GameCount(), 2);
    player.TapKey(win::kKeyEscape);
    player.Open("ConfirmEscapeMenu", "Yes", "GameMenu");
    EXPECT_EQ(player.Mode(), "MenuGame");

    // Joining a network game asks for the server's address; going back leaves the mode.
    player.Open("GameMenu", "JoinNetworkGame", "ClientSetupWindow");
    EXPECT_EQ(player.Mode(), "NetworkGame");
    player.Open("ClientSetupWindow", "Back", "GameMenu");
    EXPECT_EQ(player.Mode(), "MenuGame");

    // Customising: Accept saves the colour set on the slider (here its left end).
    ASSERT_TRUE(fs::exists(folder / "Players/Bob/Bob.DATA"));
    player.Open("GameMenu", "Customization", "UpgradeWindow");
    player.Click(player.WindowPoint("PrimaryRed", 0.0f, 0.5f));
    EXPECT_EQ(SliderValue("PrimaryRed"), 0.0f);
    player.Open("UpgradeWindow", "YesButton.tga", "GameMenu");
    EXPECT_NE(ReadFile(folder / "Players/Bob/Bob.DATA").find("PrimaryColor < 0, "), std::string::npos);
    player.Open("GameMenu", "ReturnMainMenu", "MainMenu");
    EXPECT_TRUE(GetMainMenu().IsItemShown(MainMenu::kContinueGameAs));

    // The same name in another case is taken.
    TypeName(player, "bob");
    EXPECT_EQ(ErrorShown(player), Text("PlayerAlreadyExists"));
    player.TapKey(win::kKeySpace);
    player.WaitFor("PlayerNameEditBox");
    player.TapKey(win::kKeyEscape);
    player.WaitFor("PlayerMenu");
    player.Open("PlayerMenu", "ExitMenuButton.tga", "MainMenu");

    // Carrying on as the last player.
    player.Open("MainMenu", "ContinueGameAs", "GameMenu");
    player.Open("GameMenu", "ReturnMainMenu", "MainMenu");

    // Options: the volumes and the detail at their left ends and a new screen size,
    // stored with the warning that the size changes at the next start.
    player.Open("MainMenu", "Options", "OptionsWindow");
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
    player.WaitFor("MainMenu");

    // Out through the closing screen.
    player.Open("MainMenu", "Exit", "SplashScreen");
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
        player.Open("GameMenu", "ReturnMainMenu", "MainMenu");
        player.Open("MainMenu", "Options", "OptionsWindow");
        player.ClickItem("OptionsWindow", "Cancel");
        player.WaitFor("MainMenu");
        player.Open("MainMenu", "ContinueGameAs", "GameMenu");
        player.Open("GameMenu", "ContinueCampaign", "MissionMapWindow");
        player.ReadToTheEnd();
        player.Open("MissionMapWindow", "ExitButton.tga", "GameMenu");
        player.Open("GameMenu", "Customization", "UpgradeWindow");
        player.Open("UpgradeWindow", "NoButton.tga", "GameMenu");
    }
}

}  // namespace
