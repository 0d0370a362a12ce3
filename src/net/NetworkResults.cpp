#include "net/NetworkResults.h"

#include <utility>
#include <vector>

#include "core/TextTable.h"
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

namespace {

// The listed player shown by that name (names are unique within a session); none once he
// has left.
Player* ListedPlayer(const String& name) {
    for (Player* player : GetPlayerRoster().networkPlayers) {
        if (player->ShownName() == name) return player;
    }
    return nullptr;
}

}  // namespace

// Only once the battle is over: the end delay has run out into the results state. The
// results as they stood when they opened: a player who has left keeps his place, his line
// and his stars, marked as gone, with no figure (it walked off the stage with him).
void NetworkResults::DrawPlayers(const StringArray& /*lines*/) {
    NetworkGame* game = GetNetworkGame();
    if (game == nullptr) return;
    const SessionState state = game->Session().State();
    if (state != SessionState::ServerResults && state != SessionState::ClientResults) return;
    const String gone = GetLanguageText("PlayerLeftResults");
    std::vector<FigureRowEntry> entries;
    for (const ResultsWindow::Standing& standing : GetResultsWindow().standings) {
        FigureRowEntry entry;
        entry.player = ListedPlayer(standing.name);
        entry.name = standing.name;
        entry.lines.push_back(standing.line);
        entry.winner = standing.winner;
        entry.mark = gone;
        entry.markShown = entry.player == nullptr;
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
