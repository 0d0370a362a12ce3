// The host of the count and pick menus.
#include "ui/CountMenuHost.h"

namespace {
CountMenuHost* gHost = nullptr;
}

void SetCountMenuHost(CountMenuHost* host) { gHost = host; }

CountMenuHost* GetCountMenuHost() { return gHost; }
