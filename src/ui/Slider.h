#pragma once
// A horizontal slider: a knob on a track, set by clicking or dragging, or stepped with
// the Left and Right arrow keys, which repeat while held.
#include "ui/Window.h"

class Slider : public Window {
public:
    static constexpr int32_t kBodyWidth = 256;
    static constexpr int32_t kHeight = 8;
    static constexpr int32_t kHandleWidth = 12;
    static constexpr float kRepeatSeconds = 0.1f;

    Slider();

    void Refresh() override;
    void DrawContents() override;
    bool HandleMouse(const InputEvent& input) override;
    void HandleCommand(Event& event) override;
    void GetToolTip() override;
    void Resize(const Point& size) override;
    void ReleaseResources() override;

    void SetValue(float newValue);
    void SetRange(float newMinimum, float newMaximum);
    void SetImages(Color bodyColour, Color handleColour);
    // The knob's centre for the current value.
    Point HandleCentre() const;
    IntRect BodyRect() const;

    Sprite* handle = nullptr;
    Sprite* body = nullptr;
    float minimum = 0.0f;
    float maximum = 1.0f;
    float value = 0.5f;
    bool dragging = false;
    bool slideUpHeld = false;
    bool slideDownHeld = false;
    float repeatTimer = 0.0f;

private:
    void EnsureSprites();
    void StartSliding(int32_t type, bool& held);
    Point bodyTopLeft_;
    Point bodySize_ = Point(kBodyWidth, kHeight / 2);
    Point handleSize_ = Point(kHandleWidth, kHeight);
};
