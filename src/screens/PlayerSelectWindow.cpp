// The screen of the player list.
#include "screens/PlayerSelectWindow.h"

#include "core/TextTable.h"
#include "engine/Mouse.h"
#include "engine/Renderer.h"
#include "engine/ScreenLayout.h"
#include "game/Event.h"
#include "game/Game.h"
#include "screens/BackgroundScene.h"
#include "screens/PlayerListBox.h"
#include "screens/PlayerMenu.h"
#include "ui/UiServices.h"
#include "ui/WindowManager.h"

namespace {
constexpr int32_t kMusicKey = 'M';
}

void HandlePlayerScreenCommand(const Event& event) {
    if (event.type != kEventExit) return;
    WindowManager& manager = GetWindowManager();
    manager.CloseAllWindows();
    manager.OpenWindow(&GetPlayerMenu());
}

PlayerSelectWindow::PlayerSelectWindow() : SceneScreen("PlayerSelectWindow") {
    SetButton("ExitButton.tga", "Exit", kEventExit);
    Initialize();
    SetFullScreen(true);
}

void PlayerSelectWindow::OnOpen() {
    GetWindowManager().OpenWindow(&GetPlayerListBox());
    StartScene();
}

void PlayerSelectWindow::StartScene() { GetBackgroundScene().Start("SmallIdle"); }

void PlayerSelectWindow::DrawContents() {
    GetBackgroundScene().Draw();
    DrawButton();
    Renderer& renderer = GetRenderer();
    renderer.SetAlphaBlend();
    DrawMessageLine(GetLanguageText("SelectPlayer"), 0);
    renderer.SetBlendOff();
}

bool PlayerSelectWindow::HandleOtherInput(const InputEvent& input) {
    if (Window::HandleMouse(input)) return true;
    if (input.IsKeyDown(kMusicKey)) {
        ToggleMusic();
        return true;
    }
    return IsCameraInput(input, GetMouse());
}

void PlayerSelectWindow::HandleCommand(Event& event) { HandlePlayerScreenCommand(event); }

PlayerSelectWindow& GetPlayerSelectWindow() {
    static PlayerSelectWindow window;
    return window;
}
