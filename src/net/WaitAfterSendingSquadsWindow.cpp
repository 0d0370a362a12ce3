#include "net/WaitAfterSendingSquadsWindow.h"

#include "core/TextTable.h"
#include "game/Event.h"
#include "net/NetworkGame.h"
#include "ui/UiServices.h"

WaitAfterSendingSquadsWindow::WaitAfterSendingSquadsWindow()
    : NetworkScreen("WaitAfterSendingSquadsWindow", {{"NoButton.tga", "Cancel", kEventCancel}}) {}

// Beside the chat, which takes the bottom centre of the screen.
void WaitAfterSendingSquadsWindow::PlaceButtons() { PlaceButton(0, BottomPlace(2)); }

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
    // The number's line starts 1.5 line heights down, under the heading.
    constexpr float kCountdownScale = 1.5f;
    if (session.CountdownRunning()) {
        const float middle = (1.5f + 0.5f * kCountdownScale) * FontLineHeight();
        DrawTextCentred(String::FromInt(static_cast<int32_t>(session.Countdown())),
                        Vector2(0.5f * static_cast<float>(screen.left + screen.right), middle), kCountdownScale);
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
