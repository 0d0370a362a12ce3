// Leaves the game; any other answer resumes the pause state from before.
#include "ui/ConfirmEscapeMenu.h"

#include "game/Event.h"
#include "game/Game.h"

ConfirmEscapeMenu::ConfirmEscapeMenu() : ConfirmationMenu("ConfirmEscapeMenu", "LeaveGame?") {}

void ConfirmEscapeMenu::OnYes() { PostEvent(kEventEscape); }

void ConfirmEscapeMenu::OnNotYes(int32_t) {
    Game* game = CurrentGame();
    if (game != nullptr) game->playerPaused = game->resumePaused;
}

void ConfirmEscapeMenu::HandleCommand(Event& event) {
    if (event.type == kEventAbortMenu) OnNotYes(-1);
    ConfirmationMenu::HandleCommand(event);
}

ConfirmEscapeMenu& GetConfirmEscapeMenu() {
    static ConfirmEscapeMenu menu;
    return menu;
}
