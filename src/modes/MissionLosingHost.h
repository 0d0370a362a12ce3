#pragma once
// What the losing window asks of the campaign: the mission's losing texts as its hints,
// the try counters, a retry and the training grounds. Registers itself with the window
// while it lives.
#include <cstdint>

#include "battlefield/LosingWindow.h"
#include "core/Array.h"

class CampaignWindows;
class MissionGame;
class TextBox;
class TrainingGame;

class MissionLosingHost final : public LosingWindowHost {
public:
    MissionLosingHost(MissionGame& mission, TrainingGame& training, CampaignWindows& windows, TextBox& textBox);
    ~MissionLosingHost();
    MissionLosingHost(const MissionLosingHost&) = delete;
    MissionLosingHost& operator=(const MissionLosingHost&) = delete;

    // None when the player left the battle: the mission's texts tell why it was lost.
    int32_t LosingTextCount() const override;
    bool CountsReplayTries() const override;
    // The alternative the try counter chooses becomes the window's hints and the text box's
    // pages; the text box opens in front. A player who left is told so, and nothing is spoken.
    void ShowLosingText() override;
    void RetryMission() override;
    void OpenTraining() override;

private:
    MissionGame& mission_;
    TrainingGame& training_;
    CampaignWindows& windows_;
    TextBox& textBox_;
    // The window keeps pointers into it: refilled only after its hints are cleared.
    Array<LosingHint> hints_;
};
