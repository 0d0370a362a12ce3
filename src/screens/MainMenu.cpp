// The title menu.
#include "screens/MainMenu.h"

#include "core/FileHelpers.h"
#include "core/TextTable.h"
#include "game/Event.h"
#include "platform/sys/Paths.h"
#include "screens/BackgroundScene.h"
#include "screens/CreditsWindow.h"
#include "screens/FrontEndShell.h"
#include "screens/GameMenu.h"
#include "screens/IntroScreen.h"
#include "screens/OptionsWindow.h"
#include "screens/PlayerMenu.h"
#include "screens/SplashScreen.h"
#include "ui/ErrorBox.h"
#include "ui/UiServices.h"
#include "ui/WindowManager.h"

namespace {

const FrontEndMenu::Entry kEntries[] = {
    {"PlayGameMenuButton.tga", "SelectPlayer", "SelectPlayer", kEventOpenPlayerMenu},
    {"OptionsMenuButton.tga", "Options", "MultipleOptions", kEventOpenOptions},
    {"CreditsMenuButton.tga", "Credits", "Credits", kEventOpenCredits},
    {"ExitMenuButton.tga", "Exit", "ExitToWindows", kEventOpenSplashScreen},
    {"ShowIntroMovieButton.tga", "ShowIntroMovie", "ShowIntroMovie", kEventShowIntroMovie},
    {"PlayNextMissionButton.tga", "ContinueGameAs", "ContinueGameAs", kEventContinueGameAs},
};

const char* const kScenes[] = {"SmallEmotions", "SmallSneaky",  "SmallStalkSideToSide", "SmallSideToSide", "RockAttack",
                               "TreeHide",      "MissileChase", "SmallMainMenu",        "Winning2",        "Test"};

}  // namespace

bool IsExistingPlayer(const String& name) {
    // The name comes from the options file: it must not lead out of the players' folder.
    return !name.IsEmpty() && sys::IsSafeName(name.CStr()) && FileExists("Players\\" + name);
}

MainMenu::MainMenu() : FrontEndMenu("MainMenu", kEntries, int32_t(std::size(kEntries))) { Initialize(); }

void MainMenu::SetButtonVisibility() {
    SetItemShown(kContinueGameAs, IsExistingPlayer(GetFrontEndShell().LastPlayerName()));
}

void MainMenu::StartScene() { GetBackgroundScene().Start(PickSceneName(kScenes, int32_t(std::size(kScenes)))); }

String MainMenu::ToolTipText(int32_t index) const {
    if (index != kContinueGameAs) return FrontEndMenu::ToolTipText(index);
    return GetLanguageText("ContinueGameAs") + " " + GetFrontEndShell().LastPlayerName();
}

void MainMenu::OnFrameTick() {
    if (!screenSizeWarning) return;
    screenSizeWarning = false;
    ErrorBox& box = GetErrorBox();
    box.message.Clear();
    box.AddLine(GetLanguageText("StartScreenSizeWarning"));
    box.WrapText();
    WindowManager& manager = GetWindowManager();
    manager.OpenWindow(&box);
    manager.BringToFront(&box);
    PlayUiSound("Illegal.ogg");
}

void MainMenu::HandleCommand(Event& event) {
    switch (event.type) {
        case kEventOpenPlayerMenu: GoTo(GetPlayerMenu()); break;
        case kEventOpenCredits: GoTo(GetCreditsWindow()); break;
        case kEventOpenOptions: GoTo(GetOptionsWindow()); break;
        case kEventShowIntroMovie:
            GoTo(GetIntroScreen());
            GetWindowManager().BringToFront(&GetIntroScreen());
            break;
        case kEventOpenSplashScreen: GoTo(GetSplashScreen()); break;
        case kEventContinueGameAs: ContinueGameAs(); break;
        default: FrontEndMenu::HandleCommand(event);
    }
}

void MainMenu::ContinueGameAs() {
    FrontEndShell& shell = GetFrontEndShell();
    const String name = shell.LastPlayerName();
    // The folder may have gone since the menu opened.
    if (!IsExistingPlayer(name)) {
        PlayUiSound("Illegal.ogg");
        return;
    }
    shell.LoadProfile(name);
    GetWindowManager().NotifyAll();
    GoTo(GetGameMenu());
}

MainMenu& GetMainMenu() {
    static MainMenu menu;
    return menu;
}
