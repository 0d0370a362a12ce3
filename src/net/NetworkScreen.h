#pragma once
// The base of the full screens of a network session: a row of image buttons, each
// posting its own command with a click, a hover sound and a tool tip, over the screen's
// message lines. Four button places along the bottom of the screen, right of the centred
// chat window, are shared by every network screen.
#include <cstdint>
#include <vector>

#include "core/String.h"

#include "ui/Window.h"

class NetworkGame;

class NetworkScreen : public Window {
public:
    static constexpr int32_t kButtonPixels = 64;
    static constexpr int32_t kPlaceCount = 4;

    struct Button {
        const char* image;
        const char* toolTipKey;
        int32_t event;
    };

    NetworkScreen(const String& windowName, std::vector<Button> buttons);

    void CreateResources() override;
    void OnOpen() override;
    void DrawContents() override;
    bool HandleMouse(const InputEvent& input) override;
    // "AskDisconnect" opens the disconnect confirmation on every network screen.
    void HandleCommand(Event& event) override;
    void GetToolTip() override;
    void GetHighlightShape(const HighlightRequest& request, Highlighter& highlighter) override;

    // The centre of shared bottom place 0..3.
    static Point BottomPlace(int32_t place);
    bool IsButtonShown(int32_t index) const;
    // Opens the chat window, not movable, at the bottom centre.
    static void OpenChatAtBottom();

protected:
    // Where each button stands, every time the screen opens.
    virtual void PlaceButtons() = 0;
    // The screen's own drawing under the buttons.
    virtual void DrawScreen() = 0;
    // Only some buttons answer on some screens (a client watching the set-up).
    virtual bool IsButtonActive(int32_t) const { return true; }
    // The menu scene played behind the screen; none for a plain background.
    virtual const char* SceneName() const { return nullptr; }
    // Highlight shape names of the buttons, by index.
    virtual const char* HighlightName(int32_t index) const;
    void PlaceButton(int32_t index, const Point& centre);
    void AdvanceScene();
    // The session's players' figures in rows of four centred across the screen, each with
    // its name, its address label and the optional line under it.
    void DrawRoster(int32_t firstRowY, const std::vector<String>& extraLines) const;

    void ShowButton(int32_t index, bool shown);
    // The network game; none before start-up made it.
    static NetworkGame* Game();

    std::vector<Button> buttons_;
    int32_t lastHovered_ = -1;
};
