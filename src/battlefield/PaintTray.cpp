// The terrain painter's tray: the chosen tool and brush.
#include "battlefield/PaintTray.h"

PaintTray& GetPaintTray() {
    static PaintTray paintTray;
    return paintTray;
}
