// The pointer's carried items.
#include "app/CarriedItemDrawing.h"

#include "battlefield/VornWindow.h"
#include "game/Player.h"
#include "game/PlayerRoster.h"
#include "game/SquadButton.h"

void CarriedItemDrawing::DrawCarriedPattern(const IntRect& box) { GetVornWindow().DrawDraggedPattern(box); }

void CarriedItemDrawing::DrawCarriedSquad(const IntRect& box) {
    const String& name = GetMouse().dragText;
    if (!(name == loadedName_)) {
        loadedName_ = name;
        squad_ = SquadSummary();
        // A squad whose file went away shows its bare button.
        if (!name.IsEmpty()) squad_.Load(name);
    }
    DrawSquadButton(GetLocalPlayer(), squad_, box);
}
