// The list of saved scenarios.
#include "ui/ScenarioListBox.h"

#include "core/FileHelpers.h"
#include "core/TextTable.h"
#include "engine/Mouse.h"
#include "game/Event.h"
#include "ui/ConfirmDeleteScenarioMenu.h"
#include "ui/UiServices.h"
#include "ui/WindowManager.h"
#include "world/Arena.h"
#include "world/SaveFilePaths.h"

ScenarioListBox::ScenarioListBox() : ListBox("ScenarioListBox", 8, 160, true) {
    captionShown = true;
    caption = GetLanguageText("LoadScenario");
    movable = false;
    Initialize();
}

void ScenarioListBox::OnOpen() {
    ListBox::OnOpen();
    MarkMostRecentlyUsed(CurrentScenario());
    CentreOnScreen();
}

String ScenarioListBox::CurrentScenario() const { return gArena != nullptr ? gArena->scenarioName : String(); }

void ScenarioListBox::Refresh() {
    ListBox::Refresh();
    if (recentRow == !recent.IsEmpty()) return;
    recentRow = !recent.IsEmpty();
    ListBox::Refresh();
}

void ScenarioListBox::Fill() {
    items.Clear();
    for (const String& file : ListFiles(ScenarioFilePath("*"))) {
        if (!file.Extension().EqualsNoCase("scn")) continue;
        const String title = file.FileTitle();
        if (title != kSnapshotName) items.Append(title);
    }
    FitWidth();
}

void ScenarioListBox::PickEntry(int32_t entry, const String& text) {
    if (entry >= 0 && entry < EntryCount() && gArena != nullptr) {
        gArena->LoadScenario(items[entry]);
        MarkMostRecentlyUsed(items[entry]);
    }
    (void)text;
    WindowManager& manager = GetWindowManager();
    manager.RemoveFromFocusOrder(this);
    manager.CloseWindow(this);
    GetMouse().ShowCursor();
}

void ScenarioListBox::HandleCommand(Event& event) {
    if (event.type != kEventDeleteTrayEntry) {
        ListBox::HandleCommand(event);
        return;
    }
    // Only a listed scenario may be deleted, whatever name the event carries.
    if (FindEntryByName(event.text) < 0) {
        PlayUiSound("Illegal.ogg");
        return;
    }
    ConfirmDeleteScenarioMenu& menu = GetConfirmDeleteScenarioMenu();
    menu.name = event.text;
    WindowManager& manager = GetWindowManager();
    manager.OpenWindowAt(&menu, UiScreenRect().GetCenter());
    manager.BringToFront(&menu);
}

ScenarioListBox& GetScenarioListBox() {
    static ScenarioListBox listBox;
    return listBox;
}
