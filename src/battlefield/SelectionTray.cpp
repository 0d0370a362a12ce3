// The tray of the objects selected on the battlefield.
#include "battlefield/SelectionTray.h"

SelectionTray& GetSelectionTray() {
    static SelectionTray selectionTray;
    return selectionTray;
}
