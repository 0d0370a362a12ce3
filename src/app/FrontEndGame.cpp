// The mode of the front-end screens.
#include "app/FrontEndGame.h"

#include "engine/Mouse.h"
#include "screens/MainMenu.h"
#include "ui/WindowManager.h"

FrontEndGame::FrontEndGame() { modeName = "FrontEndGame"; }

void FrontEndGame::Begin() {
    frameTimer.Start();
    WindowManager& manager = GetWindowManager();
    manager.CloseAllWindows();
    if (!manager.ReturnStack().IsEmpty()) {
        manager.ReturnToPreviousWindow();
    } else {
        manager.OpenWindow(&GetMainMenu());
    }
    manager.NotifyAll();
}

void FrontEndGame::DrawFrame() {
    DrawWindows();
    GetMouse().Draw();
}
