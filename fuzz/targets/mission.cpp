// A mission file's text: the settings it leaves stay within their limits.
#include "core/StringStream.h"
#include "game/Game.h"
#include "game/Player.h"
#include "harness/FuzzTarget.h"
#include "harness/FuzzWorld.h"
#include "modes/MissionFile.h"

VORNS_FUZZ_TARGET(data, size) {
    Game game;
    Player local;
    Player computer;
    MissionSettings settings;
    StringStream text(fuzz::Text(data, size).c_str());
    MissionFile(settings, game, local, computer).Read(text, "fuzz.MIS");
    if (settings.maxSquadCount < 1 || settings.maxSquadCount > MissionSettings::kMaxSquads) __builtin_trap();
    if (settings.budget < 0) __builtin_trap();
    for (int32_t item = 0; item < Player::kUpgradeItemCount; ++item) {
        const int32_t level = computer.GetUpgradeLevel(item);
        if (level < -1 || level > UpgradeMaxLevel(item)) __builtin_trap();
    }
    return 0;
}
