#pragma once
// The training grounds: an empty 16 by 16 arena where the player builds, places and tests
// units against a computer side that has the player's own upgrades. The pattern debugger
// opens by itself when the selected unit picks a pattern.
#include "game/Game.h"

class TrainingGame : public Game {
public:
    static constexpr int32_t kArenaCells = 16;

    TrainingGame(Player& local, Player& computer);
    // The computer player is taken off the roster if the mode ends without its End.
    ~TrainingGame() override;

    void Begin() override;
    void End() override;
    void Update() override;
    void SetPaused(bool paused) override;
    bool PostviewInputEvent(const InputEvent& input) override;
    void HandleEvent(Event& event) override;
    void DrawFrame() override;
    bool SendsEditedVornsToKillTray() const override { return true; }

    // The escape menu's question: leaving, and a warning when edited units would be lost.
    String EscapeQuestion() const;

private:
    bool HandleCharacter(const InputEvent& input);
    void OpenDebuggerOnSelectedVorn();

    Player& local_;
    Player& computer_;
};
