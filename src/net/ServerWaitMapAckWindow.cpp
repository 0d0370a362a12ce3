#include "net/ServerWaitMapAckWindow.h"

#include "core/TextTable.h"
#include "game/EventType.h"

ServerWaitMapAckWindow::ServerWaitMapAckWindow()
    : NetworkScreen("ServerWaitMapAckWindow", {{"NetDisconnectButton.tga", "Disconnect", kEventAskDisconnect}}) {}

void ServerWaitMapAckWindow::PlaceButtons() { PlaceButton(0, BottomPlace(3)); }

void ServerWaitMapAckWindow::DrawScreen() {
    DrawMessageLine(GetLanguageText("ServerWaitingForMapSynch"), 0);
    DrawRoster(128, {});
}

ServerWaitMapAckWindow& GetServerWaitMapAckWindow() {
    static ServerWaitMapAckWindow window;
    return window;
}
