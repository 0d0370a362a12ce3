#pragma once
// The credits: pairs of a heading and a names line read from the language's credits
// file, shown one pair every five seconds over the animated scene.
#include <cstdint>

#include "core/Array.h"
#include "core/String.h"
#include "screens/SceneScreen.h"

class CreditsWindow : public SceneScreen {
public:
    static constexpr float kSecondsPerCredit = 5.0f;
    static constexpr float kHeadingScale = 1.5f;
    static constexpr float kLineScale = 2.25f;
    static constexpr float kTop = 128.0f;
    // A line too long for the screen at any scale stops shrinking here and is clipped.
    static constexpr int32_t kMaxFitSteps = 200;

    CreditsWindow();

    void OnOpen() override;
    void DrawContents() override;
    void HandleCommand(Event& event) override;

    // Reads "Credits" + language + ".txt": a heading line, then its names line, until
    // the end or a line "End".
    void ReadCredits(const String& path);
    // Moves the show on by the frame time.
    void Advance(float frameSeconds);
    // The largest scale from kLineScale down in 1 % steps at which the line fits the width.
    static float FitScale(const String& line, float width);

    StringArray headings;
    StringArray lines;
    int32_t creditIndex = 0;
    float creditTimer = 0.0f;

protected:
    void StartScene() override;
    bool HandleOtherInput(const InputEvent& input) override;
};

CreditsWindow& GetCreditsWindow();
