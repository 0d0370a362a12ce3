// Leaves the game; any other answer resumes the pause state from before.
#include "ui/ConfirmEscapeMenu.h"

#include "game/Event.h"
#include "game/Game.h"

ConfirmEscapeMenu::ConfirmEscapeMenu() : ConfirmationMenu("ConfirmEscapeMenu", "LeaveGame?") {}

void ConfirmEscapeMenu::OnYes() { PostEvent(kEventEscape); }

void ConfirmEscapeMenu::OnNotYes(int32_t) {
    Game* game = CurrentGame();
    // Through SetPaused, so that the control tray's play and pause buttons follow.
    if (game != nullptr) game->SetPaused(game->resumePaused != 0);
}

void ConfirmEscapeMenu::HandleCommand(Event& event) {
    if (event.type == kEventAbortMenu) OnNotYes(-1);
    ConfirmationMenu::HandleCommand(event);
}

ConfirmEscapeMenu& GetConfirmEscapeMenu() {
    static ConfirmEscapeMenu menu;
    return menu;
}
