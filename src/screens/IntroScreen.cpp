// The intro scene's screen.
#include "screens/IntroScreen.h"

#include "engine/Mouse.h"
#include "engine/ScreenLayout.h"
#include "game/Event.h"
#include "screens/BackgroundScene.h"
#include "screens/FrontEndShell.h"
#include "screens/SceneScreen.h"
#include "ui/WindowManager.h"

namespace {
bool IsMouseButton(int32_t code) {
    return code == kInputButtonLeft || code == kInputButtonRight || code == kInputButtonMiddle;
}
}  // namespace

IntroScreen::IntroScreen() : Window("IntroScreen") {
    frameShown = false;
    Initialize();
    SetFullScreen(true);
}

void IntroScreen::OnOpen() {
    GetBackgroundScene().Start("Intro");
    GetFrontEndShell().StopMenuMusic();
}

void IntroScreen::OnClose() { GetFrontEndShell().StartMenuMusic(); }

void IntroScreen::DrawContents() { GetBackgroundScene().Draw(); }

bool IntroScreen::HandleMouse(const InputEvent& input) {
    if (input.kind == kInputDown) {
        if (IsMouseButton(input.code)) PlaySound("MouseDown.ogg");
        return true;
    }
    if (input.kind == kInputUp) {
        GetBackgroundScene().Skip();
        PostEvent(kEventStopIntro);
        if (IsMouseButton(input.code)) PlaySound("MouseUp.ogg");
        return true;
    }
    if (input.kind == kInputFrameTick) {
        BackgroundScene& scene = GetBackgroundScene();
        scene.Update(ScreenFrameTime());
        if (scene.IsFinished()) PostEvent(kEventStopIntro);
        return true;
    }
    return Window::HandleMouse(input) || IsCameraInput(input, GetMouse());
}

void IntroScreen::HandleCommand(Event& event) {
    if (event.type == kEventStopIntro) {
        // A skip and the scene's end may both ask in one frame: one step back only.
        if (open) GetWindowManager().ReturnToPreviousWindow();
        return;
    }
    Window::HandleCommand(event);
}

IntroScreen& GetIntroScreen() {
    static IntroScreen screen;
    return screen;
}
