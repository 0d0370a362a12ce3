#pragma once
// The results screen's view of the network game: its rule set, the players' names with
// their result lines, and the serving player's next game.
#include "battlefield/ResultsWindow.h"

class NetworkResults : public ResultsHost {
public:
    int32_t GameRules() const override;
    void DrawPlayers(const StringArray& lines) override;
    // The players are shown by name; there are no figures to pose.
    void ShowPose(Player&, bool) override {}
    void ResetPoses() override {}
    void RequestReplay() override;
};
