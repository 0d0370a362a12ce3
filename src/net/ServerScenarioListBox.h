#pragma once
// The serving player picks the scenario of the network game from the saved ones.
#include "ui/ScenarioListBox.h"

class ServerScenarioListBox : public ScenarioListBox {
public:
    ServerScenarioListBox();
    void PickEntry(int32_t entry, const String& text) override;
};

ServerScenarioListBox& GetServerScenarioListBox();
