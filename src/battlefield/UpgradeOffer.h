#pragma once
// Whether the local player may use a thing guarded by the upgrade of that key: every
// level but -1 offers it. A key the catalogue does not know offers nothing.
#include "core/String.h"
#include "game/Player.h"
#include "game/PlayerRoster.h"
#include "game/UpgradeItem.h"

inline bool IsUpgradeOffered(const char* key) {
    const int32_t item = FindUpgradeItem(key);
    return item >= 0 && GetLocalPlayer().HasUpgradeLevel(item, 0);
}
