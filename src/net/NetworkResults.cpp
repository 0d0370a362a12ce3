#include "net/NetworkResults.h"

#include <vector>

#include "game/Player.h"
#include "game/PlayerRoster.h"
#include "modes/ModeFolders.h"
#include "modes/PlayerFigure.h"
#include "net/FigureRows.h"
#include "net/NetworkGame.h"
#include "net/NetworkStartup.h"
#include "screens/SceneScreen.h"

int32_t NetworkResults::GameRules() const {
    const NetworkGame* game = GetNetworkGame();
    return game != nullptr ? static_cast<int32_t>(game->MatchSettings().rules) : -1;
}

// Only once the battle is over: the end delay has run out into the results state.
void NetworkResults::DrawPlayers(const StringArray& lines) {
    NetworkGame* game = GetNetworkGame();
    if (game == nullptr) return;
    const SessionState state = game->Session().State();
    if (state != SessionState::ServerResults && state != SessionState::ClientResults) return;
    const Array<Player*>& players = GetPlayerRoster().networkPlayers;
    std::vector<FigureRowEntry> entries;
    for (int32_t i = 0; i < players.Count(); ++i) {
        FigureRowEntry entry;
        entry.player = players[i];
        entry.name = players[i]->ShownName();
        if (i < lines.Count()) entry.lines.push_back(lines[i]);
        entry.winner = players[i]->won != 0;
        entries.push_back(std::move(entry));
    }
    FigureRows& rows = GetFigureRows();
    const float frameTime = ScreenFrameTime();
    const std::vector<FigurePlace> places = rows.Draw(entries, kFirstRowY, frameTime);
    rows.DrawStars(entries, places, frameTime);
}

void NetworkResults::ShowPose(Player& player, bool winner) {
    GetPlayerFigure(player).SetPose(winner ? PlayerFigure::kCheer : PlayerFigure::kSulk);
}

// Idle also puts every unit back in a good mood for the next game.
void NetworkResults::ResetPoses() {
    for (Player* player : GetPlayerRoster().networkPlayers) GetPlayerFigure(*player).SetPose(PlayerFigure::kIdle);
}

void NetworkResults::RequestReplay() {
    NetworkGame* game = GetNetworkGame();
    if (game == nullptr || !game->IsNetworkServer()) return;
    UsePlayerFolders(GetLocalPlayer());
    game->Session().SendReplayRequest();
}
