#pragma once
// The small table of a network battle: one row per network player with name, living
// units, kills, deaths, goals, greatest height and living VIPs, in the player's colour.
#include <cstdint>

#include "ui/Window.h"

class Scoreboard : public Window {
public:
    static constexpr int32_t kColumnCount = 7;
    static constexpr float kTextScale = 0.65f;
    static constexpr int32_t kColumnGap = 16;

    Scoreboard();

    // Every network player's counts start again from the units now on the battlefield;
    // run when a network battle starts.
    void ResetStatistics();
    void Refresh() override;
    void CreateResources() override;
    void ReleaseResources() override;
    void DrawContents() override;
    bool HandleMouse(const InputEvent& input) override;
    void HandleCommand(Event& event) override;
    void GetToolTip() override;

    // The text of a player's column.
    static String ColumnValue(const class Player& player, int32_t column);

    bool columnShown[kColumnCount] = {true, true, true, true, true, true, true};
    int32_t columnX[kColumnCount] = {};
    int32_t refreshCount = 0;

private:
    Sprite* clearSprite_ = nullptr;
};

Scoreboard& GetScoreboard();

