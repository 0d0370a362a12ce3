#pragma once
// Opens when a mission is won: a celebration scene plays behind it, the professor reads
// the winning texts, the reward of boosts is announced, and the buttons lead on to the
// campaign map or to the upgrade window. The reward is paid on either button, once.
#include <cstdint>

#include "core/Array.h"
#include "game/TextPage.h"
#include "modes/ButtonRowWindow.h"

class MissionGame;
class Player;

class WinningWindow : public ButtonRowWindow {
public:
    enum Button : int32_t { kContinue, kCustomize };
    static constexpr float kCountScale = 0.75f;
    // The celebrations: the first two for a player with the small chassis only, four with
    // the medium, all six with the large; the big one for a reward above one boost.
    static constexpr const char* kCelebrations[] = {"SmallWin",        "SmallEnemyLose", "MediumWin",
                                                    "MediumEnemyLose", "LargeWin",       "LargeEnemyLose"};
    static constexpr const char* kBigCelebration = "Celebrate";

    WinningWindow(MissionGame& mission, Player& local);

    void OnOpen() override;
    void DrawContents() override;
    void HandleCommand(Event& event) override;

    void ClearPages();
    void AddPage(const TextPage& page);
    // The boosts to show: the player's and the reward, unless the mission was won before.
    int32_t BoostsShown() const;

    int32_t rewardBoosts = 0;
    Array<const TextPage*> pages;
    int32_t nextPage = 0;
    TextPage rewardPage;
    String rewardText;

protected:
    String ButtonToolTip(int32_t index) const override;
    void OnButton(int32_t index) override;
    bool OnFrameTick() override;

private:
    int32_t RewardDue() const;
    void StartCelebration();
    void DrawBoostCount();

    MissionGame& mission_;
    Player& local_;
};
