#pragma once
// A full-screen window of the campaign with a row of image buttons along the bottom of
// the screen: a press plays "MouseDown.ogg", a release over the same button plays
// "MouseUp.ogg" and runs the button's action (which posts the window's command).
#include <cstdint>

#include "core/Array.h"
#include "ui/Window.h"

class ButtonRowWindow : public Window {
public:
    static constexpr int32_t kButtonPixels = 64;

    explicit ButtonRowWindow(const String& windowName);

    void CreateResources() override;
    void ReleaseResources() override;
    void HitTestControls(const Point& point) override;
    void GetToolTip() override;
    bool HandleMouse(const InputEvent& input) override;

    bool IsButtonShown(int32_t index) const { return shown_[index] != 0; }
    // The button's screen rectangle; empty before the window has its sprites.
    IntRect ButtonRect(int32_t index) const;

    SpriteGrid* buttons = nullptr;

protected:
    void AddButton(const char* image);
    void SetButtonShown(int32_t index, bool shown);
    void LayOutButtons();
    void DrawButtons();
    virtual String ButtonToolTip(int32_t index) const = 0;
    virtual void OnButton(int32_t index) = 0;
    // Every frame tick; true when it consumed the record.
    virtual bool OnFrameTick();
    // A left press the buttons did not take; true when consumed.
    virtual bool OnLeftPress(const Point& point);
    // A left release the buttons did not take; true when consumed.
    virtual bool OnLeftRelease(const Point& point);

private:
    Array<const char*> images_;
    Array<uint8_t> shown_;
};
