#pragma once
// The results screen's view of the network game: its rule set, every player's figure
// cheering or sulking with its result line, the winners' stars (a player who has left
// keeps his place, marked so), and the serving player's next game.
#include "battlefield/ResultsWindow.h"

class NetworkResults : public ResultsHost {
public:
    static constexpr int32_t kFirstRowY = 128;

    int32_t GameRules() const override;
    void DrawPlayers(const StringArray& lines) override;
    void ShowPose(Player& player, bool winner) override;
    void ResetPoses() override;
    void RequestReplay() override;
};
