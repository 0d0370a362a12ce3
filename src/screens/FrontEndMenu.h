#pragma once
// The base of the title, player and game menus: a ring of image buttons over the
// animated scene, with the game's title as message line. A button posts its own command
// and the menu acts on it when the game hands it back, so that tutorials and modes see
// every choice by name. The menus cannot be dismissed: Escape and clicks outside them do
// nothing.
#include <cstdint>

#include "ui/PopUpMenu.h"

class FrontEndMenu : public PopUpMenu {
public:
    static constexpr int32_t kItemPixels = 64;
    static constexpr float kRingPixels = 80.0f;
    static constexpr int32_t kCentreY = 192;

    struct Entry {
        const char* image;
        const char* itemName;
        const char* toolTipKey;
        int32_t event;
    };

    FrontEndMenu(const String& windowName, const Entry* entries, int32_t entryCount);

    void OnOpen() override;
    void DrawContents() override;
    bool HandleMouse(const InputEvent& input) override;
    void HandleCommand(Event& event) override;
    void GetToolTip() override;
    // Posts the chosen button's command.
    void OnChoice(int32_t index) override;

    bool IsItemShown(int32_t index) const;

protected:
    // Which buttons show, set on every opening before the ring is laid out.
    virtual void SetButtonVisibility() {}
    // A new scene when the menu opens and whenever its scene ends.
    virtual void StartScene() = 0;
    virtual String ToolTipText(int32_t index) const;
    // The frame tick, before the scene moves on.
    virtual void OnFrameTick() {}
    // Closes every window and opens the screen, this menu being where it returns to.
    void GoTo(Window& screen);
    void SetItemShown(int32_t index, bool shown);

    const Entry* entries_;
    int32_t entryCount_;
};
