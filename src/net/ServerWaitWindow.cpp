#include "net/ServerWaitWindow.h"

#include "core/TextTable.h"
#include "game/Event.h"
#include "game/Player.h"
#include "game/PlayerRoster.h"
#include "net/NetworkGame.h"
#include "ui/ErrorBox.h"
#include "ui/ServerNameEditBox.h"
#include "ui/UiServices.h"
#include "ui/WindowManager.h"

ServerWaitWindow::ServerWaitWindow()
    : NetworkScreen("ServerWaitWindow", {{"NetSetupGameButton.tga", "SetupGame", kEventExit},
                                         {"NetBackButton.tga", "Back", kEventBack},
                                         {"NetRegisterLobbyButton.tga", "RegisterZVKServer", kEventRegisterZVKServer},
                                         {"NetServerNameButton.tga", "SetServerName", kEventSetServerName}}) {}

void ServerWaitWindow::PlaceButtons() {
    PlaceButton(kSetupGame, BottomPlace(0));
    PlaceButton(kBack, BottomPlace(1));
    PlaceButton(kRegister, Point(left + 96, top + 256));
    PlaceButton(kServerName, Point(left + 96, top + 352));
}

const char* ServerWaitWindow::HighlightName(int32_t index) const {
    return index == kServerName ? "" : NetworkScreen::HighlightName(index);
}

void ServerWaitWindow::HandleCommand(Event& event) {
    NetworkGame* game = Game();
    if (game == nullptr) return;
    WindowManager& manager = GetWindowManager();
    switch (event.type) {
        case kEventExit: game->Session().ProceedToSetup(); return;
        case kEventBack:
            PlayUiSound("MouseUp.ogg");
            game->Session().StopServer();
            manager.CloseAllWindows();
            game->LeaveMode();
            return;
        case kEventRegisterZVKServer: {
            game->SetLobbyListing(true);
            const bool listed = game->RegisterOnLobby();
            ErrorBox& box = GetErrorBox();
            box.message.Clear();
            box.AddLine(GetLanguageText(listed ? "RegisterZVKServerSuccess" : "RegisterZVKServerFailure"));
            box.WrapText();
            manager.OpenWindow(&box);
            manager.BringToFront(&box);
            PlayUiSound(listed ? "Success.ogg" : "Illegal.ogg");
            return;
        }
        case kEventSetServerName:
            manager.OpenWindow(&GetServerNameEditBox());
            manager.BringToFront(&GetServerNameEditBox());
            return;
        default: NetworkScreen::HandleCommand(event); return;
    }
}

void ServerWaitWindow::DrawScreen() {
    DrawMessageLine(GetLanguageText("WaitingForPlayersToJoin"), 0);
    // The name sits under the heading at the smaller scale of the screens' values.
    constexpr float kHeadingScale = 1.5f;
    constexpr float kNameScale = 0.75f;
    const IntRect screen = UiScreenRect();
    const float y = kHeadingScale * FontLineHeight() + 0.5f * kNameScale * FontLineHeight();
    DrawTextCentred(GetLocalPlayer().serverName, Vector2(0.5f * float(screen.right - screen.left + 1), y), kNameScale);
    DrawRoster(128, {});
}

ServerWaitWindow& GetServerWaitWindow() {
    static ServerWaitWindow window;
    return window;
}
