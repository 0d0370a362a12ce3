#pragma once
// How many new units of one chassis the battlefield places where the chassis was dropped
// with Ctrl held, or, with Shift held while choosing, across the whole arena.
#include <cstdint>

#include "core/Vector3.h"
#include "ui/ChassisCountMenu.h"

class ChassisPlacingMenu : public ChassisCountMenu {
public:
    ChassisPlacingMenu();
    void DrawContents() override;
    void OnChoice(int32_t index) override;

    int32_t chassis = 0;
    Vector3 placePoint;
};

ChassisPlacingMenu& GetChassisPlacingMenu();
