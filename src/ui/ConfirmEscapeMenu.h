#pragma once
// Leaves the game; any other answer resumes the pause state from before.
#include "ui/ConfirmationMenu.h"

class ConfirmEscapeMenu : public ConfirmationMenu {
public:
    ConfirmEscapeMenu();
    void OnYes() override;
    void OnNotYes(int32_t index) override;
    void HandleCommand(Event& event) override;
};

ConfirmEscapeMenu& GetConfirmEscapeMenu();
