#pragma once
// One step of a tutorial script: a stage that speaks pages, highlights and waits for the
// player's commands, or a one-line action (wait, pause, load a scenario, move the camera...).
#include <cstdint>

#include "core/Array.h"
#include "core/String.h"
#include "core/Vector3.h"
#include "game/Event.h"
#include "game/TextPage.h"

class Window;

enum class TutorialStepKind : int32_t {
    kStage,
    kGoal,
    kWait,
    kWaitWithHighlight,
    kPause,
    kUnpause,
    kScenario,
    kSetCameraLookAt,
    kResetCameraAngle,
    kResetCamera,
    kBudget,
    kSetAmmoCount,
    kSetBudget,
    kCloseWindow,
    kShowKillTray,
};

enum class TutorialGoalMode : int32_t { kKillOne, kKillAll, kNone };

struct TutorialStep {
    TutorialStep() = default;
    TutorialStep(const TutorialStep&) = delete;
    TutorialStep& operator=(const TutorialStep&) = delete;
    ~TutorialStep() {
        for (Requirement* requirement : expected) delete requirement;
    }
    // A step is done speaking when it has no pages.
    bool IsDone() const { return pages.IsEmpty(); }

    TutorialStepKind kind = TutorialStepKind::kStage;
    bool waitsForContinue = false;
    TutorialGoalMode goalMode = TutorialGoalMode::kNone;
    Vector3 point;
    Window* window = nullptr;  // highlighted by a stage, closed by a close step
    // A wait's length; for a goal, how long the battle may go on with no unit hurt before
    // it counts as lost (0: as long as it takes).
    float seconds = 0.0f;
    int32_t number = 0;
    Array<TextPage> pages;
    StringArray arguments;
    Array<Requirement*> expected;  // owned
};
