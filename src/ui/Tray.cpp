// A window of entries that remembers which entry was used most recently.
#include "ui/Tray.h"

void Tray::MarkMostRecentlyUsed(const String& entryName) { mostRecent_ = entryName; }

void Tray::Refresh() { ++refreshCount; }
