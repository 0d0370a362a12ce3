#include "net/WaitAfterSendingSquadsWindow.h"

#include "core/TextTable.h"
#include "game/Event.h"
#include "net/NetworkGame.h"
#include "ui/UiServices.h"

WaitAfterSendingSquadsWindow::WaitAfterSendingSquadsWindow()
    : NetworkScreen("WaitAfterSendingSquadsWindow", {{"NoButton.tga", "Cancel", kEventCancel}}) {}

void WaitAfterSendingSquadsWindow::PlaceButtons() {
    PlaceButton(0, Point((left + right) / 2, UiScreenRect().bottom - 63));
}

void WaitAfterSendingSquadsWindow::HandleCommand(Event& event) {
    if (event.type == kEventCancel) event.type = kEventAskDisconnect;
    NetworkScreen::HandleCommand(event);
}

void WaitAfterSendingSquadsWindow::DrawScreen() {
    DrawMessageLine(GetLanguageText("WaitingForSquads"), 0);
    NetworkGame* game = Game();
    if (game == nullptr) return;
    VornsNetworker& session = game->Session();
    const IntRect screen = UiScreenRect();
    if (session.CountdownRunning()) {
        DrawTextCentred(String::FromInt(static_cast<int32_t>(session.Countdown())),
                        Vector2(0.5f * static_cast<float>(screen.left + screen.right), 1.5f * FontLineHeight()), 1.5f);
    }
    DrawUiText(String(session.StatusText().c_str()), 128.0f, 128.0f, Color(0xFFFFFFFF), 0.75f);
    std::vector<String> lines;
    for (const auto& player : session.Players())
        lines.push_back(GetLanguageText(player->ready ? "SquadsSent" : "WaitingForSquads"));
    DrawRoster(192, lines);
}

WaitAfterSendingSquadsWindow& GetWaitAfterSendingSquadsWindow() {
    static WaitAfterSendingSquadsWindow window;
    return window;
}
