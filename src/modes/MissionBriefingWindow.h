#pragma once
// The screen between the campaign map and the battle: while the text box shows the
// briefing and the professor reads it, the mission's battlefield is seen along its
// fly-by path (or a scene of the professor plays); the mission's gifts are handed out,
// and the buttons start the mission or its lesson, skip the lesson, open the training
// grounds or go back to the map.
#include <cstdint>

#include "core/Array.h"
#include "engine/TiltedCamera.h"
#include "game/TextPage.h"
#include "modes/ButtonRowWindow.h"

class MissionGame;
class Player;
class TrainingGame;

class MissionBriefingWindow : public ButtonRowWindow {
public:
    enum Button : int32_t { kPlay, kSkipTutorial, kTraining, kExit };
    static constexpr float kMaxEyeHeight = 60.0f;
    static constexpr float kMinEyeHeight = 37.0f;

    MissionBriefingWindow(MissionGame& mission, TrainingGame& training, Player& local);

    void Initialize() override;
    void OnOpen() override;
    void Refresh() override;
    void DrawContents() override;
    void HandleCommand(Event& event) override;

    // The page list the professor reads.
    void ClearPages();
    void AddPage(const TextPage& page);
    // Upgrades unlocked and unit files copied into the player's folder; a unit file the
    // player already has is kept.
    void HandOutGifts();

    Array<const TextPage*> pages;
    int32_t nextPage = 0;
    bool allSpoken = false;
    bool drawFlyBy = true;
    float flyByTime = 0.0f;
    int32_t flyByIndex = 0;
    StringArray giftUpgrades;
    StringArray giftUnits;
    TiltedCamera flyByCamera;

protected:
    String ButtonToolTip(int32_t index) const override;
    void OnButton(int32_t index) override;
    bool OnFrameTick() override;

private:
    bool IsTutorialEntry() const;
    void AdvanceFlyBy();
    void StartIdleScene();
    void DrawIdleScene();
    void DrawFlyBy();

    MissionGame& mission_;
    TrainingGame& training_;
    Player& local_;
};
