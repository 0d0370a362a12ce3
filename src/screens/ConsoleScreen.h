#pragma once
// The console's window on screen: a small scrolling page of the lines written to the
// console stream (load error reports and the like), with arrows that scroll it.
#include <cstdint>

#include "engine/Camera.h"
#include "ui/ConsoleWindow.h"

class ConsoleScreen : public ConsoleWindow {
public:
    static constexpr float kTextScale = 0.75f;
    static constexpr int32_t kArrowPixels = 16;
    static constexpr float kRepeatSeconds = 0.1f;

    ConsoleScreen();

    void CreateResources() override;
    void ReleaseResources() override;
    void DrawContents() override;
    bool HandleMouse(const InputEvent& input) override;
    void HandleCommand(Event& event) override;
    // As many whole lines as the height holds (at least two), the bottom cut to them.
    void FitLines();

    Sprite* upArrow = nullptr;
    Sprite* downArrow = nullptr;
    bool holdUp = false;
    bool holdDown = false;
    float repeatTimer = 0.0f;

private:
    void PlaceArrows();
    int32_t LineStep() const;
    Camera camera_;
};

ConsoleScreen& GetConsoleScreen();
