#pragma once
// What the pointer draws while the player carries a squad: the squad's button, read once
// per carried squad from its file.
#include "core/String.h"
#include "engine/Mouse.h"
#include "game/SquadSummary.h"

class CarriedItemDrawing final : public CarriedItemPainter {
public:
    // The carried pattern is drawn by the unit editor's camera, which has no drawing of
    // it yet; the box stays empty.
    void DrawCarriedPattern(const IntRect& box) override;
    // The squad named by the mouse's drag text, in the local player's chassis.
    void DrawCarriedSquad(const IntRect& box) override;

private:
    String loadedName_;
    SquadSummary squad_;
};
