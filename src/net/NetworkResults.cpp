#include "net/NetworkResults.h"

#include <algorithm>

#include "engine/ScreenLayout.h"
#include "game/Player.h"
#include "game/PlayerRoster.h"
#include "modes/ModeFolders.h"
#include "net/NetworkGame.h"
#include "net/NetworkStartup.h"
#include "ui/UiServices.h"

namespace {

constexpr int32_t kPerRow = 4;
constexpr int32_t kColumn = 192;
constexpr int32_t kRow = 96;
constexpr int32_t kFirstRowY = 192;

}  // namespace

int32_t NetworkResults::GameRules() const {
    const NetworkGame* game = GetNetworkGame();
    return game != nullptr ? static_cast<int32_t>(game->MatchSettings().rules) : -1;
}

// The results window keeps the line of roster entry i at i - 1: entry 0 is not a player
// of the battle.
void NetworkResults::DrawPlayers(const StringArray& lines) {
    const Array<Player*>& players = GetPlayerRoster().networkPlayers;
    const int32_t count = players.Count() - 1;
    if (count <= 0) return;
    const IntRect screen = UiScreenRect();
    const float lineHeight = 0.75f * FontLineHeight();
    for (int32_t i = 0; i < count; ++i) {
        const Player& player = *players[i + 1];
        const int32_t row = i / kPerRow;
        const int32_t inRow = std::min(kPerRow, count - row * kPerRow);
        const int32_t rowLeft = (screen.left + screen.right) / 2 - inRow * kColumn / 2;
        const float x = static_cast<float>(rowLeft + (i % kPerRow) * kColumn + kColumn / 2);
        const float y = static_cast<float>(kFirstRowY + row * kRow);
        // The winners' names between stars.
        const String name = player.won != 0 ? String("* ") + player.name + " *" : player.name;
        DrawTextCentred(name, Vector2(x, y), 0.75f);
        if (i < lines.Count()) DrawTextCentred(lines[i], Vector2(x, y + lineHeight), 0.6f);
    }
}

void NetworkResults::RequestReplay() {
    NetworkGame* game = GetNetworkGame();
    if (game == nullptr || !game->IsNetworkServer()) return;
    UsePlayerFolders(GetLocalPlayer());
    game->Session().SendReplayRequest();
}
