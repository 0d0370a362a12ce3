#pragma once
// A full-screen window over the animated scene, with at most one image button that posts
// its command on a click. The player, closing and credits screens are made of it.
#include <cstdint>

#include "core/String.h"
#include "ui/Window.h"

class SceneScreen : public Window {
public:
    static constexpr int32_t kButtonPixels = 64;

    explicit SceneScreen(const String& windowName);

    void CreateResources() override;
    void ReleaseResources() override;
    void Refresh() override;
    bool HandleMouse(const InputEvent& input) override;
    void HitTestControls(const Point& point) override;
    void GetToolTip() override;

    SpriteGrid* buttons = nullptr;

protected:
    // The button's image, tool tip and command; a screen without a button leaves the
    // image empty.
    void SetButton(const char* image, const char* toolTipKey, int32_t command);
    // A new scene on opening and whenever the scene ends.
    virtual void StartScene() = 0;
    // Input the scene and the button did not take; true when consumed.
    virtual bool HandleOtherInput(const InputEvent& input);
    void DrawButton();

private:
    const char* image_ = nullptr;
    const char* toolTipKey_ = nullptr;
    int32_t command_ = 0;
};

// The frame time of the current game, or the shortest frame without one.
float ScreenFrameTime();
