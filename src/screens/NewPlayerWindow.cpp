// The screen that asks for a new player's name.
#include "screens/NewPlayerWindow.h"

#include "core/TextTable.h"
#include "engine/Mouse.h"
#include "engine/Renderer.h"
#include "engine/ScreenLayout.h"
#include "screens/BackgroundScene.h"
#include "screens/PlayerNameEditBox.h"
#include "screens/PlayerSelectWindow.h"
#include "ui/WindowManager.h"

NewPlayerWindow::NewPlayerWindow() : SceneScreen("NewPlayerWindow") {
    Initialize();
    SetFullScreen(true);
}

void NewPlayerWindow::OnOpen() {
    WindowManager& manager = GetWindowManager();
    PlayerNameEditBox& box = GetPlayerNameEditBox();
    manager.OpenWindow(&box);
    manager.BringToFront(&box);
    StartScene();
}

void NewPlayerWindow::StartScene() { GetBackgroundScene().Start("LargeIdle"); }

void NewPlayerWindow::DrawContents() {
    GetBackgroundScene().Draw();
    Renderer& renderer = GetRenderer();
    renderer.SetAlphaBlend();
    DrawMessageLine(GetLanguageText("NewPlayer"), 0);
    renderer.SetBlendOff();
}

bool NewPlayerWindow::HandleOtherInput(const InputEvent& input) {
    return Window::HandleMouse(input) || IsCameraInput(input, GetMouse());
}

void NewPlayerWindow::HandleCommand(Event& event) { HandlePlayerScreenCommand(event); }

NewPlayerWindow& GetNewPlayerWindow() {
    static NewPlayerWindow window;
    return window;
}
