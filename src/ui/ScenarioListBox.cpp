// The list of saved scenarios.
#include "ui/ScenarioListBox.h"

ScenarioListBox& GetScenarioListBox() {
    static ScenarioListBox listBox;
    return listBox;
}
