#pragma once
// The full-screen screen of a lost campaign mission: a short losing scene repeats behind
// it, the text box speaks the mission's hints one after another, and four buttons offer
// the next hint, a retry, the training grounds and the way out to the mission map.
#include <cstdint>

#include "battlefield/WindowButtons.h"
#include "core/Array.h"
#include "core/String.h"
#include "ui/Window.h"

// A hint: its words, and the spoken line that says them (none: the hint is skipped).
struct LosingHint {
    StringArray words;
    String speechName;
};

// What the window asks of the mission game, which registers itself.
class LosingWindowHost {
public:
    virtual int32_t LosingTextCount() const = 0;
    // The replay of a mission won before counts its tries apart.
    virtual bool CountsReplayTries() const = 0;
    virtual void ShowLosingText() = 0;
    virtual void RetryMission() = 0;
    virtual void OpenTraining() = 0;

protected:
    ~LosingWindowHost() = default;
};

class LosingWindow : public Window {
public:
    enum Button : int32_t { kNextHint = 0, kRetry = 1, kTraining = 2, kExit = 3 };
    static constexpr int32_t kSceneCount = 6;

    LosingWindow();

    void OnOpen() override;
    void DrawContents() override;
    bool HandleMouse(const InputEvent& input) override;
    void HandleCommand(Event& event) override;
    void GetToolTip() override;

    void ClearHints();
    void AddHint(const LosingHint* hint);
    // The scene the player's upgrades allow for the random draw r (0 to 32767).
    static const char* ChooseLosingScene(int32_t randomDraw);
    void PlayLosingScene();
    void ShowNextHint();

    int32_t currentHint = 0;
    Array<const LosingHint*> hints;
    LosingWindowHost* host = nullptr;
    WindowButtons buttons;
};

LosingWindow& GetLosingWindow();
// Each word followed by one space.
String JoinWithSpaces(const StringArray& words);
