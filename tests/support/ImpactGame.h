#pragma once
// A recording game that also keeps the blasts and scorch marks the world reports, and can
// play a network client.
#include <vector>

#include "support/ArenaFixture.h"
#include "world/ExplosionField.h"
#include "world/ScorchMark.h"

class ImpactGame : public RecordingGame {
public:
    bool IsNetworkClient() const override { return client; }
    void OnBlastAdded(ExplosionField* blast) override { blasts.push_back(blast); }
    void OnScorchMark(ScorchMark* scorch) override { scorches.push_back(scorch); }

    bool client = false;
    std::vector<ExplosionField*> blasts;
    std::vector<ScorchMark*> scorches;
};
