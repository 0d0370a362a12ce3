#pragma once
// A ring of nine count buttons, "1" to "9"; item i means the count i + 1. Escape (-1)
// changes nothing in any count menu.
#include "ui/PopUpMenu.h"

class ChassisCountMenu : public PopUpMenu {
public:
    static constexpr int32_t kCountButtons = 9;

    ChassisCountMenu(const String& windowName, const char* titleKey);

    // The count of a chosen button, 0 for none.
    static int32_t CountOf(int32_t index) { return index >= 0 && index < kCountButtons ? index + 1 : 0; }
};
