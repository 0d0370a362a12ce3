#pragma once
// The window toolkit as the game's input step and drawing see it: input goes through the
// window manager, drawing draws the open windows and the tool tip. What only the
// battlefield window knows comes through the small interface below, which the battlefield
// registers.
#include "core/Color.h"
#include "core/String.h"
#include "game/GameWindows.h"

class Window;

class BattlefieldView {
public:
    virtual bool IsOpen() const = 0;
    // A left release while the battlefield drags; true when it took it.
    virtual bool TakeDragRelease(const InputEvent& input) = 0;
    virtual void AimCamera(const Vector3& lookFrom, const Vector3& target) = 0;
    // Another window came on top: keys held for the camera must not stay held.
    virtual void ReleaseCameraKeys() = 0;
    // The key-help panel is asked for (drawn over every window while the view is open).
    virtual bool WantsKeyHelp() const { return false; }
    // A status line to show at the top left, with its colour; false when there is none.
    virtual bool GetStatusText(String& /*text*/, Color& /*colour*/) const { return false; }

protected:
    ~BattlefieldView() = default;
};

class ToolkitWindows final : public GameWindows {
public:
    void SetBattlefieldView(BattlefieldView* view) { battlefield_ = view; }
    BattlefieldView* GetBattlefieldView() const { return battlefield_; }
    // The shell's layout of the in-game windows, run after every refresh of them all.
    void SetLayout(void (*layout)()) { layout_ = layout; }
    // Lays the in-game windows out for the screen size (nothing before the shell sets it).
    void LayOutWindows() {
        if (layout_ != nullptr) layout_();
    }

    bool PreviewRelease(const InputEvent& input) override;
    bool OfferInput(const InputEvent& input) override;
    void BroadcastInput(const InputEvent& input) override;
    // Also moves the focus and times the tool tip: a frame tick ends each frame's input.
    void HoverAt(const InputEvent& input) override;
    bool TakesCharacters() const override;
    bool ClaimsEscape(const InputEvent& input) override;
    void RenderWindows() override;
    void DrawZoomFrame(const IntRect& rect) override;
    bool IsBattlefieldOpen() const override;
    void AimBattlefieldCamera(const Vector3& lookFrom, const Vector3& target) override;
    void RefreshAndLayOut() override;

private:
    // The open battlefield is the window the pointer is over.
    bool IsBattlefieldAt(const Point& point) const;

    BattlefieldView* battlefield_ = nullptr;
    // The left button went down on the battlefield and is not up yet.
    bool battlefieldPressed_ = false;
    const Window* lastTop_ = nullptr;
    void (*layout_)() = nullptr;
};

ToolkitWindows& GetToolkitWindows();
