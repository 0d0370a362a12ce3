#pragma once
// How many copies of a saved unit the battlefield places where the menu was opened, or,
// with Shift held, across the whole arena.
#include "core/Vector3.h"
#include "ui/ChassisCountMenu.h"

class VornCountMenu : public ChassisCountMenu {
public:
    VornCountMenu();
    void DrawContents() override;
    void OnChoice(int32_t index) override;

    String unitName;
    Vector3 placePoint;
};

VornCountMenu& GetVornCountMenu();
