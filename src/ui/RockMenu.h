#pragma once
// Which rock the object tray places next.
#include "ui/PopUpMenu.h"

class RockMenu : public PopUpMenu {
public:
    RockMenu();
    void OnChoice(int32_t index) override;
    // The item's name in the language.
    void GetToolTip() override;
};

RockMenu& GetRockMenu();
