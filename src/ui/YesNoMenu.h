#pragma once
// The two-button pop-up menu, "Yes" and "No", that asks "Are you sure?". The
// confirmation menus derive from it, each with its own question and its own action.
#include "ui/PopUpMenu.h"

class YesNoMenu : public PopUpMenu {
public:
    enum Choice : int32_t { kYes = 0, kNo = 1 };
    static constexpr float kRingRadius = 96.0f;

    explicit YesNoMenu(const String& windowName, float ring = kRingRadius);

    // Centres the menu on the screen.
    void OnOpen() override;
    void GetToolTip() override;
};
