// Opens the scenario list to load one.
#include "ui/ConfirmLoadScenarioMenu.h"

#include "ui/ScenarioListBox.h"
#include "ui/WindowManager.h"

ConfirmLoadScenarioMenu::ConfirmLoadScenarioMenu() : ConfirmationMenu("ConfirmLoadScenarioMenu", "LoadScenario?") {}

void ConfirmLoadScenarioMenu::OnYes() {
    WindowManager& manager = GetWindowManager();
    manager.OpenWindow(&GetScenarioListBox());
    manager.BringToFront(&GetScenarioListBox());
}

ConfirmLoadScenarioMenu& GetConfirmLoadScenarioMenu() {
    static ConfirmLoadScenarioMenu menu;
    return menu;
}
