#pragma once
// The one box that reports an error or a notice and waits for the space key, then goes
// where its caller asked: back one screen, out of the game mode, into a network state, or
// on to another window.
#include "core/Array.h"
#include "core/String.h"
#include "ui/Window.h"

// What the error box's continue may ask of the layers above the toolkit; the shell
// registers it.
class ErrorBoxActions {
public:
    virtual void PopGame() = 0;
    virtual void EnterNetworkState(int32_t state) = 0;

protected:
    ~ErrorBoxActions() = default;
};

void SetErrorBoxActions(ErrorBoxActions* actions);

class ErrorBox : public Window {
public:
    static constexpr int32_t kNoNetworkState = 19;
    static constexpr float kTextScale = 0.75f;

    ErrorBox();

    void OnOpen() override;
    void OnClose() override;
    void DrawContents() override;
    bool HandleMouse(const InputEvent& input) override;
    void HandleCommand(Event& event) override;
    void SetHighlightColour() override;
    void SetNormalColour() override;

    void AddLine(const String& text) { message.Append(text); }
    void WrapText();

    bool returnToPrevious = false;
    bool popGame = false;
    int32_t networkState = kNoNetworkState;
    StringArray message;
    StringArray lines;
    Window* nextWindow = nullptr;
    bool bringNextToFront = false;
    bool spaceDown = false;
    // The box stands above the screen's middle instead of on it, clear of what the
    // battlefield's camera looks at: a launch's members stand there while it names those
    // the field had no room for.
    bool aboveMiddle = false;

private:
    void Continue();
    void Place();
};

ErrorBox& GetErrorBox();
// A refused action as the player sees it: the error box shows the text alone, emptied of
// what it said before, in front of everything, and "Illegal.ogg" plays.
void ShowRefusal(const String& text, bool aboveMiddle = false);
