#pragma once
// Runs a tutorial script: its steps set up the battlefield, open windows, let the
// professor speak pages, point at parts of the screen and wait until the player has
// issued the commands a step requires. Every command reaches the game as an event before
// any window acts on it, so the lesson allows, requires or refuses each by its name.
#include <cstdint>

#include "core/Array.h"
#include "game/Event.h"
#include "game/Game.h"
#include "modes/TutorialScript.h"
#include "ui/Highlighter.h"

class MissionGame;

class TutorialGame : public Game {
public:
    // Seconds of silence after the last page before the professor asks to go on.
    static constexpr float kContinuePromptDelay = 4.0f;
    // A refused camera drag sounds at most once in this many seconds of dragging.
    static constexpr float kDragSoundInterval = 4.0f;
    static constexpr float kMarkPulse = 1.6f;

    TutorialGame(Player& local, Player& computer, MissionGame& mission);
    ~TutorialGame() override;

    // Clears the lesson before, deletes the tutorial's file copies and reads the script
    // "Tutorials\<language>\<name>.TUT", copying its unit and squad files. False (logged)
    // when it cannot be read or holds no step.
    bool LoadScript(const String& language, const String& name);

    void Begin() override;
    void End() override;
    void DrawFrame() override;
    void Update() override;
    void Launch() override;
    void HandleEvent(Event& event) override;
    bool PreviewInputEvent(const InputEvent& input) override;
    bool PostviewInputEvent(const InputEvent& input) override;
    bool SendsEditedVornsToKillTray() const override { return killTrayShown; }

    TutorialStep* CurrentStep() const { return step_; }
    int32_t StepIndex() const { return stepIndex_; }
    const Array<Requirement*>& RequirementsInForce() const { return inForce_; }

    TutorialScript script;
    Highlighter highlighter;
    // The budget the lesson gives the launch screens.
    int32_t launchBudget = 0;
    bool finished = false;
    bool killTrayShown = false;
    bool waitingForContinue = false;
    bool promptShown = false;

private:
    void ClearScript();
    void AdvanceStep();
    void EnterStep();
    // One pass of the step machine; true when the lesson ended (the event is consumed).
    bool RunSteps();
    // False when the step waits for the next frame.
    bool RunStep(TutorialStep& step);
    void StartStage(TutorialStep& stage);
    void SetRequirementsInForce(const Array<Requirement*>& expected);
    void ClearRequirementsInForce();
    bool IsAlwaysAllowed(const Event& event) const;
    bool Filter(Event& event);
    bool Allows(Event& event);
    bool ContinuesAllowedMiniMapDrag(const Event& event) const;
    void RefuseEvent(const Event& event);
    void ExplainRefusal(const Event& event);
    void OpenLeaveQuestion();
    void SpeakNextPage();
    void UpdateHighlights();
    String ReplaceLastNames(const String& word) const;
    int32_t CountEnemies() const { return CountUnits(true); }
    int32_t CountUnits(bool enemies) const;
    float HealthOnTheField() const;
    void TimeTheQuietBattle();
    // Says the lost battle's text (none: nothing) and sets the battle up again.
    void StartTheBattleAgain(TutorialStep* said);
    void SetUpTheField();
    void StartFromTheLessonsOwnFiles();
    void OpenTheLessonsWindows();
    void SetLaunchBudget(int32_t budget);
    void LoadScenarioStep(const TutorialStep& step);

    Player& local_;
    Player& computer_;
    MissionGame& mission_;
    int32_t stepIndex_ = -1;
    TutorialStep* step_ = nullptr;
    TutorialStep* highlightStep_ = nullptr;
    TutorialStep* lastStage_ = nullptr;
    Array<Requirement*> inForce_;  // owned copies
    float elapsed_ = 0.0f;
    float waitTime_ = 0.0f;
    float continueCountdown_ = 0.0f;
    int32_t pageIndex_ = 0;
    int32_t enemiesAtGoal_ = 0;
    int32_t friendsAtGoal_ = 0;
    // Seconds of the goal's battle since a unit was last hurt, and the health then seen.
    float quietTime_ = 0.0f;
    float healthSeen_ = 0.0f;
    // The refusal note the text box shows beside the step's words; a note that opened
    // the box closes it again a while after it was said.
    const TutorialStep* noteShown_ = nullptr;
    bool noteOpenedTheBox_ = false;
    float noteCountdown_ = 0.0f;
    float dragTime_ = 0.0f;
    int32_t miniMapMovesOwed_ = 0;
    bool stepping_ = false;
    bool startPending_ = false;
    bool scriptLoaded_ = false;
    // The lost battle is set up again before the next step.
    bool retrying_ = false;
};
