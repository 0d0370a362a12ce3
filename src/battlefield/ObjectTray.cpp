// The tray of placeable objects.
#include "battlefield/ObjectTray.h"

ObjectTray& GetObjectTray() {
    static ObjectTray objectTray;
    return objectTray;
}
