// Makes the unit and pattern editors, the debugger and their menus once at start-up.
#include "battlefield/EditorWindows.h"

#include "battlefield/ActionMenu.h"
#include "battlefield/AmmoTray.h"
#include "battlefield/ChassisMenu.h"
#include "battlefield/DebugWindow.h"
#include "battlefield/PatternObjectPropertyMenu.h"
#include "battlefield/PatternWindow.h"
#include "battlefield/PriorityMenu.h"
#include "battlefield/VornWindow.h"
#include "ui/ConfirmChangeVornChassisMenu.h"
#include "ui/ConfirmOverwriteSquadMenu.h"
#include "ui/ConfirmOverwriteVornMenu.h"
#include "ui/SquadNameEditBox.h"
#include "ui/VornNameEditBox.h"
#include "ui/WeaponMenu.h"
#include "units/Vorn.h"

namespace {

class EditorSlotKeeper final : public PatternSlotKeeper {
public:
    void PatternsCut(Vorn& unit, int32_t count) override {
        VornWindow& editor = GetVornWindow();
        if (editor.vorn != &unit || editor.selectedSlot < count) return;
        editor.selectedSlot = 0;
        PatternWindow& patterns = GetPatternWindow();
        if (patterns.vorn == &unit) patterns.SetVornPattern(&unit, &unit.PatternAt(0));
    }
};

}  // namespace

void CreateEditorWindows() {
    GetPatternWindow();
    GetVornWindow();
    GetDebugWindow();
    GetConfirmChangeVornChassisMenu();
    GetWeaponMenu();
    GetChassisMenu();
    GetAmmoTray();
    GetPatternObjectPropertyMenu();
    GetPriorityMenu();
    GetActionMenu();
    // The naming boxes and their overwrite questions open only on a save, but lessons wait
    // for their events from the start: made now, a lesson finds them by name.
    GetConfirmOverwriteVornMenu();
    GetSquadNameEditBox();
    GetConfirmOverwriteSquadMenu();
    static EditorSlotKeeper keeper;
    GetVornNameEditBox().slotKeeper = &keeper;
}
