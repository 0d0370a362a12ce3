// The pattern debugger: the unit under debug.
#include "battlefield/DebugWindow.h"

DebugWindow& GetDebugWindow() {
    static DebugWindow debugWindow;
    return debugWindow;
}
