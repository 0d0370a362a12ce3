#pragma once
// The serving player chooses the rule set among those its upgrades have unlocked.
#include "ui/PopUpMenu.h"

class ServerGameRulesMenu : public PopUpMenu {
public:
    // The upgrade kinds that unlock rule sets 0 to 3.
    static constexpr int32_t kUnlockingKinds[4] = {9, 65, 72, 81};

    ServerGameRulesMenu();
    void OnOpen() override;
    void OnChoice(int32_t index) override;
};

ServerGameRulesMenu& GetServerGameRulesMenu();
