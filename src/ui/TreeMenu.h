#pragma once
// Which tree the object tray places next.
#include "ui/PopUpMenu.h"

class TreeMenu : public PopUpMenu {
public:
    TreeMenu();
    void OnChoice(int32_t index) override;
    // The item's name in the language.
    void GetToolTip() override;
};

TreeMenu& GetTreeMenu();
