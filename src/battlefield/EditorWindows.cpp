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
#include "ui/WeaponMenu.h"

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
}
