#pragma once
// How many objects of one kind the battlefield places where the object was dropped with
// Ctrl held, or, with Shift held while choosing, across the whole arena.
#include <cstdint>

#include "core/Vector3.h"
#include "ui/ChassisCountMenu.h"

class ObjectCountMenu : public ChassisCountMenu {
public:
    ObjectCountMenu();
    void DrawContents() override;
    void OnChoice(int32_t index) override;
    // The title as drawn now: it follows the Shift key.
    void UpdateTitle();

    int32_t kind = 0;
    int32_t variant = 0;
    Vector3 placePoint;
};

ObjectCountMenu& GetObjectCountMenu();
