// The front end played through headless from start-up: the title menu, a new player
// (names refused as invalid or taken), carrying on as that player, the game menu and its
// modes, the options screen, and the way out through the closing screen.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "app/Application.h"
#include "core/Image.h"
#include "core/ThrowError.h"
#include "engine/Sprite.h"
#include "engine/SpriteGrid.h"
#include "game/Event.h"
#include "game/Game.h"
#include "modes/UpgradeWindow.h"
#include "net/ClientSetupWindow.h"
#include "net/NetworkGame.h"
#include "net/NetworkStartup.h"
#include "net/ServerWaitWindow.h"
#include "platform/window/Keys.h"
#include "platform/window/ScriptedWindow.h"
#include "screens/GameMenu.h"
#include "screens/MainMenu.h"
#include "screens/NewPlayerWindow.h"
#include "screens/OptionsWindow.h"
#include "screens/PlayerMenu.h"
#include "screens/PlayerNameEditBox.h"
#include "screens/SplashScreen.h"
#include "support/TempFolder.h"
#include "support/WorkingFolder.h"
#include "ui/ErrorBox.h"
#include "ui/Slider.h"
#include "ui/WindowManager.h"

namespace {

namespace fs = std::filesystem;

LaunchSettings HeadlessSettings() {
    LaunchSettings settings;
    settings.windowBackend = win::WindowBackend::Scripted;
    settings.soundDevice = snd::DeviceKind::Null;
    settings.commandLine.fullScreen = false;
    return settings;
}

// A grey picture for every texture start-up asks for, and the texts the test reads.
void MakeData() {
    std::ofstream("Options.txt") << "SeenIntroMovie 1\n";
    std::ofstream("English.txt") << "InvalidPlayer \"Not a name\"\nPlayerAlreadyExists \"Taken\"\n"
                                 << "ScreenSizeWarning \"Next start\"\n";
    Image picture(4, 4);
    for (int attempt = 0; attempt < 500; ++attempt) {
        Application application(HeadlessSettings());
        try {
            application.Startup();
            return;
        } catch (const ThrowError& error) {
            std::string text = error.message.CStr();
            const size_t end = text.rfind(".tga");
            ASSERT_NE(end, std::string::npos) << text;
            const size_t space = text.rfind(' ', end);
            std::string path = text.substr(space == std::string::npos ? 0 : space + 1);
            path = path.substr(0, path.rfind(".tga") + 4);
            for (char& c : path) c = c == '\\' ? '/' : c;
            fs::create_directories(fs::path(path).parent_path());
            ASSERT_TRUE(picture.SaveTGA(path));
        }
    }
    FAIL() << "start-up kept missing textures";
}

std::string ReadFile(const char* path) {
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

class FrontEndFlowTest : public ::testing::Test {
protected:
    void SetUp() override {
        working_ = std::make_unique<app_test::WorkingFolder>(temp_.Path());
        MakeData();
    }

    void Frame() { ASSERT_TRUE(application_->RunFrame()); }
    win::ScriptedWindow& Window() { return static_cast<win::ScriptedWindow&>(application_->GetWindow()); }
    void ClickAt(const Point& point) {
        Window().MovePointer(point.x, point.y);
        Frame();
        Window().PressButton(win::MouseButton::Left);
        Frame();
        Window().ReleaseButton(win::MouseButton::Left);
        Frame();
    }
    void ClickItem(PopUpMenu& menu, int32_t item) { ClickAt(menu.items->sprites[item]->GetScreenCenter()); }
    void Key(int key) {
        Window().TapKey(key);
        Frame();
    }
    void Type(const char* text) {
        Window().TypeText(text);
        Frame();
    }
    bool IsOpen(const ::Window& window) { return GetWindowManager().IsOpen(&window); }
    String ErrorText() {
        const ErrorBox& box = GetErrorBox();
        return box.message.IsEmpty() ? String() : box.message[0];
    }

    platform_test::TempFolder temp_;
    std::unique_ptr<app_test::WorkingFolder> working_;
    Application* application_ = nullptr;
};

TEST_F(FrontEndFlowTest, FromStartUpThroughAPlayerTheGameMenuAndOptionsToTheClosingScreen) {
    const int status = RunProtected([this] {
        Application application(HeadlessSettings());
        application_ = &application;
        application.Startup();
        application.EnterFrontEnd();
        Frame();
        MainMenu& title = GetMainMenu();
        EXPECT_TRUE(IsOpen(title));
        EXPECT_FALSE(title.IsItemShown(MainMenu::kContinueGameAs));  // no player yet

        // A new player: typed, refused when it cannot be a folder name, and made.
        ClickItem(title, MainMenu::kSelectPlayer);
        EXPECT_TRUE(IsOpen(GetPlayerMenu()));
        ClickItem(GetPlayerMenu(), PlayerMenu::kCreateNewPlayer);
        PlayerNameEditBox& nameBox = GetPlayerNameEditBox();
        EXPECT_TRUE(IsOpen(GetNewPlayerWindow()));
        EXPECT_TRUE(IsOpen(nameBox));
        // Letters and digits only are typed; a script may hand over any text.
        nameBox.text = String(std::string(70, 'x').c_str());
        nameBox.PostEventString(kEventEnterString, nameBox.text);
        Frame();
        EXPECT_TRUE(IsOpen(GetErrorBox()));
        EXPECT_EQ(ErrorText(), "Not a name");
        EXPECT_FALSE(fs::exists("Players/" + std::string(70, 'x')));
        Key(win::kKeySpace);  // going on asks for the name again
        EXPECT_TRUE(IsOpen(nameBox));
        Type("Bob");
        Key(win::kKeyReturn);
        EXPECT_TRUE(IsOpen(GetGameMenu()));
        EXPECT_TRUE(fs::is_directory("Players/Bob/Vorns"));
        EXPECT_NE(ReadFile("Options.txt").find("LastPlayerName Bob"), std::string::npos);

        // Each mode's entry of the game menu, and back. A new profile shows only the
        // campaign and the way back. The campaign opens its map (the map's lesson is not in
        // this data), whose exit comes back to the game menu.
        GameMenu& gameMenu = GetGameMenu();
        EXPECT_TRUE(gameMenu.IsItemShown(GameMenu::kContinueCampaign));
        EXPECT_FALSE(gameMenu.IsItemShown(GameMenu::kTraining));
        ClickItem(gameMenu, GameMenu::kContinueCampaign);
        Frame();
        ::Window* map = GetWindowManager().FindWindowByName("MissionMapWindow");
        EXPECT_NE(map, nullptr);
        if (map == nullptr) return 1;
        EXPECT_TRUE(IsOpen(*map));
        map->PostEvent(kEventExit);
        Frame();
        Frame();
        EXPECT_TRUE(IsOpen(gameMenu));
        gameMenu.OnChoice(GameMenu::kTraining);
        Frame();
        EXPECT_EQ(application.GameCount(), 2);
        Event* escape = CurrentGame()->NewEvent();
        escape->type = kEventEscape;
        CurrentGame()->PostEvent(escape);
        Frame();
        Frame();
        EXPECT_TRUE(IsOpen(gameMenu));
        // The winning scene is not in this data: it ends at once, back to the game menu.
        gameMenu.OnChoice(GameMenu::kShowWinningMovie);
        Frame();
        Frame();
        EXPECT_TRUE(IsOpen(gameMenu));
        // The network game: joining asks for the server's address, serving waits for
        // players (unless the port is taken); going back leaves the mode for the game menu.
        gameMenu.OnChoice(GameMenu::kJoinNetworkGame);
        Frame();
        EXPECT_EQ(CurrentGame(), GetNetworkGame());
        EXPECT_TRUE(IsOpen(GetClientSetupWindow()));
        GetClientSetupWindow().PostEvent(kEventCancel);
        Frame();
        Frame();
        EXPECT_TRUE(IsOpen(gameMenu));
        gameMenu.OnChoice(GameMenu::kStartNetworkGame);
        Frame();
        if (IsOpen(GetServerWaitWindow())) {
            EXPECT_EQ(CurrentGame(), GetNetworkGame());
            GetServerWaitWindow().PostEvent(kEventBack);
            Frame();
            Frame();
        }
        EXPECT_TRUE(IsOpen(gameMenu));
        EXPECT_NE(CurrentGame(), GetNetworkGame());
        // Customising: the new profile was saved when it was made; Accept saves the
        // colours mixed on the sliders and goes back to the game menu.
        EXPECT_TRUE(fs::exists("Players/Bob/Bob.DATA"));
        gameMenu.OnChoice(GameMenu::kCustomize);
        Frame();
        UpgradeWindow& upgrades = GetUpgradeWindow();
        EXPECT_TRUE(IsOpen(upgrades));
        upgrades.sliders[UpgradeWindow::kPrimaryRed]->SetValue(10.0f);
        upgrades.PostEvent(kEventExit);
        Frame();
        EXPECT_TRUE(IsOpen(gameMenu));
        EXPECT_NE(ReadFile("Players/Bob/Bob.DATA").find("PrimaryColor < 10, 100, 200, 255 >"), std::string::npos);
        ClickItem(gameMenu, GameMenu::kBack);
        EXPECT_TRUE(IsOpen(title));
        EXPECT_TRUE(title.IsItemShown(MainMenu::kContinueGameAs));

        // The same name in another case is taken.
        ClickItem(title, MainMenu::kSelectPlayer);
        ClickItem(GetPlayerMenu(), PlayerMenu::kCreateNewPlayer);
        Type("bob");
        Key(win::kKeyReturn);
        EXPECT_EQ(ErrorText(), "Taken");
        Key(win::kKeySpace);
        Key(win::kKeyEscape);
        EXPECT_TRUE(IsOpen(GetPlayerMenu()));
        ClickItem(GetPlayerMenu(), PlayerMenu::kBack);
        EXPECT_TRUE(IsOpen(title));

        // Carrying on as the last player.
        ClickItem(title, MainMenu::kContinueGameAs);
        EXPECT_TRUE(IsOpen(gameMenu));
        ClickItem(gameMenu, GameMenu::kBack);

        // Options: volumes, detail and a new screen size, stored with the restart warning.
        ClickItem(title, MainMenu::kOptions);
        OptionsWindow& options = GetOptionsWindow();
        EXPECT_TRUE(IsOpen(options));
        options.sliders[OptionsWindow::kSoundSlider]->SetValue(40.0f);
        options.sliders[OptionsWindow::kMusicSlider]->SetValue(30.0f);
        options.sliders[OptionsWindow::kSpeechSlider]->SetValue(20.0f);
        options.sliders[OptionsWindow::kLodSlider]->SetValue(10.0f);
        Frame();
        ClickAt(options.sizeButtons->sprites[3]->GetScreenCenter());
        EXPECT_EQ(options.selectedSize, 3);
        ClickAt(options.acceptCancel->sprites[OptionsWindow::kAccept]->GetScreenCenter());
        EXPECT_EQ(ErrorText(), "Next start");
        const std::string stored = ReadFile("Options.txt");
        for (const char* line :
             {"SoundVolume 40", "MusicVolume 30", "SpeechVolume 20", "LODError 10", "ScreenSize 3"}) {
            EXPECT_NE(stored.find(line), std::string::npos) << line << " in " << stored;
        }
        Key(win::kKeySpace);
        EXPECT_TRUE(IsOpen(title));

        // Out through the closing screen.
        ClickItem(title, MainMenu::kExit);
        SplashScreen& splash = GetSplashScreen();
        EXPECT_TRUE(IsOpen(splash));
        const Point exit = splash.buttons->sprites[0]->GetScreenCenter();
        Window().MovePointer(exit.x, exit.y);
        Frame();
        Window().PressButton(win::MouseButton::Left);
        Frame();
        Window().ReleaseButton(win::MouseButton::Left);
        bool running = true;
        for (int frame = 0; frame < 3 && running; ++frame) running = application.RunFrame();
        EXPECT_FALSE(running);
        application.Shutdown();
        application_ = nullptr;
        return 0;
    });
    EXPECT_EQ(status, 0);
}

// The screens outlive an application: a second run in the same process must draw and
// click with what the second renderer made, never with the sprites the first one freed.
TEST_F(FrontEndFlowTest, ASecondRunInOneProcessUsesItsOwnRenderersSprites) {
    for (const char* player : {"Ann", "Bea"}) {
        SCOPED_TRACE(player);
        const int status = RunProtected([this, player] {
            Application application(HeadlessSettings());
            application_ = &application;
            application.Startup();
            application.EnterFrontEnd();
            Frame();
            MainMenu& title = GetMainMenu();
            ClickItem(title, MainMenu::kOptions);
            OptionsWindow& options = GetOptionsWindow();
            ClickAt(options.sizeButtons->sprites[2]->GetScreenCenter());
            EXPECT_EQ(options.selectedSize, 2);
            ClickAt(options.acceptCancel->sprites[OptionsWindow::kCancel]->GetScreenCenter());
            EXPECT_TRUE(IsOpen(title));

            ClickItem(title, MainMenu::kSelectPlayer);
            ClickItem(GetPlayerMenu(), PlayerMenu::kCreateNewPlayer);
            PlayerNameEditBox& nameBox = GetPlayerNameEditBox();
            Type(player);
            ClickAt(nameBox.ButtonRect(EditBox::kAccept).GetCenter());
            GameMenu& gameMenu = GetGameMenu();
            EXPECT_TRUE(IsOpen(gameMenu));

            gameMenu.OnChoice(GameMenu::kTraining);
            for (int frame = 0; frame < 5; ++frame) Frame();
            Event* escape = CurrentGame()->NewEvent();
            escape->type = kEventEscape;
            CurrentGame()->PostEvent(escape);
            Frame();
            Frame();
            gameMenu.OnChoice(GameMenu::kCustomize);
            Frame();
            GetUpgradeWindow().PostEvent(kEventExit);
            Frame();
            EXPECT_TRUE(IsOpen(gameMenu));
            application.Shutdown();
            application_ = nullptr;
            return 0;
        });
        EXPECT_EQ(status, 0);
    }
}

}  // namespace
