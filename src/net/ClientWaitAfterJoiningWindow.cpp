#include "net/ClientWaitAfterJoiningWindow.h"

#include "core/TextTable.h"
#include "game/Event.h"
#include "net/ClientSetupWindow.h"
#include "net/NetworkGame.h"
#include "ui/UiServices.h"
#include "ui/WindowManager.h"

ClientWaitAfterJoiningWindow::ClientWaitAfterJoiningWindow()
    : NetworkScreen("ClientWaitAfterJoiningWindow", {{"NoButton.tga", "Cancel", kEventCancel}}) {}

void ClientWaitAfterJoiningWindow::PlaceButtons() { PlaceButton(0, BottomPlace(2)); }

void ClientWaitAfterJoiningWindow::HandleCommand(Event& event) {
    if (event.type != kEventCancel) {
        NetworkScreen::HandleCommand(event);
        return;
    }
    PlayUiSound("MouseUp.ogg");
    if (Game() != nullptr) Game()->Session().StopClient();
    WindowManager& manager = GetWindowManager();
    manager.CloseAllWindows();
    manager.OpenWindow(&GetClientSetupWindow());
}

void ClientWaitAfterJoiningWindow::DrawScreen() {
    DrawMessageLine(GetLanguageText("WaitingForServerToStart"), 0);
    if (Game() != nullptr && Game()->Session().Players().size() == 1)
        DrawMessageLine(GetLanguageText("WaitingForServerUpdate"), 1);
    DrawRoster(128, {});
}

ClientWaitAfterJoiningWindow& GetClientWaitAfterJoiningWindow() {
    static ClientWaitAfterJoiningWindow window;
    return window;
}
