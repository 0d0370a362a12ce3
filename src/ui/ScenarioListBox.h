#pragma once
// The list of saved scenarios with its most-recently-used entries.
#include "ui/Tray.h"

class ScenarioListBox : public Tray {
public:
    ScenarioListBox() : Tray("ScenarioListBox") {}
};

ScenarioListBox& GetScenarioListBox();
