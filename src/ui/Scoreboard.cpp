// The window that shows the scores.
#include "ui/Scoreboard.h"

void Scoreboard::Refresh() { ++refreshCount; }

Scoreboard& GetScoreboard() {
    static Scoreboard scoreboard;
    return scoreboard;
}
