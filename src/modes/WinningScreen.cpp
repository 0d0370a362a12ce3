// The winning scene screen.
#include "modes/WinningScreen.h"

#include "game/Event.h"
#include "modes/MenuGame.h"
#include "screens/BackgroundScene.h"
#include "screens/SceneScreen.h"
#include "ui/WindowManager.h"

WinningScreen::WinningScreen() : Window("WinningScreen") {
    frameShown = false;
    movable = false;
    SetFullScreen(true);
}

void WinningScreen::OnOpen() {
    GetBackgroundScene().Start("Winning1");
    MenuGame* menu = GetMenuGame();
    menuMusicWasPlaying = menu != nullptr && menu->IsMusicPlaying();
    if (menuMusicWasPlaying) menu->StopMusic();
}

void WinningScreen::OnClose() {
    MenuGame* menu = GetMenuGame();
    if (menuMusicWasPlaying && menu != nullptr) menu->StartMusic();
    menuMusicWasPlaying = false;
}

void WinningScreen::DrawContents() { GetBackgroundScene().Draw(); }

bool WinningScreen::HandleMouse(const InputEvent& input) {
    if (input.kind == kInputDown) return true;
    if (input.kind == kInputUp) {
        GetBackgroundScene().Skip();
        PostEvent(kEventBack);
        return true;
    }
    if (input.kind == kInputFrameTick) {
        BackgroundScene& scene = GetBackgroundScene();
        scene.Update(ScreenFrameTime());
        if (scene.IsFinished()) PostEvent(kEventBack);
        return true;
    }
    return Window::HandleMouse(input);
}

void WinningScreen::HandleCommand(Event& event) {
    if (event.type != kEventBack) {
        Window::HandleCommand(event);
        return;
    }
    // A skip and the scene's end may both ask in one frame: one step back only.
    if (open) GetWindowManager().ReturnToPreviousWindow();
}
