// Paints random terrain through the paint tray's command.
#include "ui/ConfirmRandomizeTerrainMenu.h"

#include "game/Event.h"
#include "game/Game.h"
#include "ui/WindowManager.h"

namespace {
// The paint tray sits above the toolkit; the command goes to it by its window name.
void PostToPaintTray(int32_t type) {
    Game* game = CurrentGame();
    Window* tray = GetWindowManager().FindWindowByName("PaintTray");
    if (game == nullptr || tray == nullptr) return;
    Event* event = game->NewEvent();
    event->type = type;
    event->target = tray;
    game->PostEvent(event);
}
}  // namespace

ConfirmRandomizeTerrainMenu::ConfirmRandomizeTerrainMenu() : ConfirmationMenu("ConfirmRandomizeTerrainMenu", nullptr) {}

void ConfirmRandomizeTerrainMenu::OnYes() { PostToPaintTray(kEventRandomizeMap); }

ConfirmRandomizeTerrainMenu& GetConfirmRandomizeTerrainMenu() {
    static ConfirmRandomizeTerrainMenu menu;
    return menu;
}
