#pragma once
// Sets the priority of the edited pattern, 0 to 9.
#include <cstdint>

#include "ui/PopUpMenu.h"

class Pattern;
class PatternChangeListener;

class PriorityMenu : public PopUpMenu {
public:
    static constexpr int32_t kPriorityCount = 10;

    PriorityMenu();
    void OnChoice(int32_t index) override;

    Pattern* pattern = nullptr;                 // not owned
    PatternChangeListener* listener = nullptr;  // the editor
};

PriorityMenu& GetPriorityMenu();
