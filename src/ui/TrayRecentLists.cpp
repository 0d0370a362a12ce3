// The file trays' recent lists.
#include "ui/TrayRecentLists.h"

#include "core/String.h"
#include "ui/ScenarioListBox.h"
#include "ui/Tray.h"
#include "ui/WindowManager.h"

namespace {

// The unit and squad trays belong to the battlefield; a program without them has none.
template <typename Action>
void ForEachFileTray(Action action) {
    for (const char* name : {"VornTray", "SquadTray"}) {
        if (Tray* tray = dynamic_cast<Tray*>(GetWindowManager().FindWindowByName(String(name)))) action(*tray);
    }
}

}  // namespace

void SaveTrayRecentLists() {
    ForEachFileTray([](Tray& tray) { tray.SaveRecentList(); });
}

void TutorialMarkTraysDirty() {
    ForEachFileTray([](Tray& tray) { tray.restoreRecentList = true; });
}

void RefreshFileTrays() {
    ForEachFileTray([](Tray& tray) { tray.ClearRecentList(); });
    GetScenarioListBox().ClearRecentList();
}
