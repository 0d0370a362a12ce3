// A player profile's text: read, then written and read again, which must give the same
// text (nothing read is lost or changed by the next save).
#include <string>

#include "core/StringStream.h"
#include "game/Player.h"
#include "harness/FuzzTarget.h"
#include "harness/FuzzWorld.h"

namespace {

std::string Written(const Player& player) {
    StringStream stream;
    player.Write(stream);
    return stream.Text();
}

}  // namespace

VORNS_FUZZ_TARGET(data, size) {
    Player player;
    StringStream text(fuzz::Text(data, size).c_str());
    player.Read(text);
    for (int32_t item = 0; item < Player::kUpgradeItemCount; ++item) {
        const int32_t level = player.GetUpgradeLevel(item);
        if (level < -1 || level > UpgradeMaxLevel(item)) __builtin_trap();
    }
    const std::string first = Written(player);
    Player again;
    StringStream back(first.c_str());
    again.Read(back);
    if (Written(again) != first) __builtin_trap();
    return 0;
}
