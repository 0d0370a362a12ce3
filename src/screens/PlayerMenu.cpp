// The player menu.
#include "screens/PlayerMenu.h"

#include "game/Event.h"
#include "screens/BackgroundScene.h"
#include "screens/NewPlayerWindow.h"
#include "screens/PlayerSelectWindow.h"
#include "ui/WindowManager.h"

namespace {
const FrontEndMenu::Entry kEntries[] = {
    {"NewPlayerButton.tga", "CreateNewPlayer", "CreateNewPlayer", kEventCreateNewPlayer},
    {"LoadPlayerButton.tga", "LoadPlayer", "LoadPlayer", kEventOpenPlayerListBox},
    {"ExitMenuButton.tga", "", "ExitToMainMenu", kEventOpenMainMenu},
};
}  // namespace

PlayerMenu::PlayerMenu() : FrontEndMenu("PlayerMenu", kEntries, int32_t(std::size(kEntries))) { Initialize(); }

void PlayerMenu::StartScene() { GetBackgroundScene().Start("MediumIdle"); }

void PlayerMenu::HandleCommand(Event& event) {
    WindowManager& manager = GetWindowManager();
    switch (event.type) {
        case kEventCreateNewPlayer:
            manager.CloseAllWindows();
            manager.OpenWindow(&GetNewPlayerWindow());
            break;
        case kEventOpenPlayerListBox:
            manager.CloseAllWindows();
            manager.OpenWindow(&GetPlayerSelectWindow());
            break;
        case kEventOpenMainMenu: manager.ReturnToPreviousWindow(); break;
        default: FrontEndMenu::HandleCommand(event);
    }
}

PlayerMenu& GetPlayerMenu() {
    static PlayerMenu menu;
    return menu;
}
