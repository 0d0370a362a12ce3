#pragma once
// The window that shows the scores.
#include <cstdint>

#include "ui/Window.h"

class Scoreboard : public Window {
public:
    Scoreboard() : Window("Scoreboard") {}

    void Refresh() override;
    int32_t refreshCount = 0;
};

Scoreboard& GetScoreboard();
