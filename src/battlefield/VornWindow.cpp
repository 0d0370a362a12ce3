// The unit editor: the unit it shows.
#include "battlefield/VornWindow.h"

VornWindow& GetVornWindow() {
    static VornWindow vornWindow;
    return vornWindow;
}
