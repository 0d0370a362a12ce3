#include "net/NetworkLaunchWindow.h"

#include "battlefield/LaunchSquadTray.h"
#include "battlefield/UserError.h"
#include "core/TextTable.h"
#include "engine/ScreenLayout.h"
#include "game/Event.h"
#include "net/NetworkGame.h"
#include "net/NetworkGameSetupWindow.h"
#include "net/NetworkScreen.h"
#include "net/NetworkStartup.h"
#include "net/WaitAfterSendingSquadsWindow.h"
#include "ui/ConfirmDisconnectMenu.h"
#include "ui/UiServices.h"
#include "ui/WindowManager.h"

namespace {

constexpr float kCountdownScale = 1.5f;
// The launch window's heading is drawn at this scale from the top of the screen.
constexpr float kHeadingScale = 1.5f;

void OpenWithChat(Window& screen) {
    WindowManager& manager = GetWindowManager();
    manager.CloseAllWindows();
    manager.OpenWindow(&screen);
    NetworkScreen::OpenChatAtBottom();
}

// Whether the local squads may still go out: a client once, in squad selection; the
// server until its own squads count as sent.
bool MaySendSquads(VornsNetworker& session) {
    const SessionPlayer* local = session.LocalPlayer();
    if (local == nullptr) return false;
    if (session.IsClientRunning()) return session.State() == SessionState::ClientSquadSelection;
    return session.IsServerRunning() && !local->ready;
}

}  // namespace

NetworkLaunchWindow::NetworkLaunchWindow() : LaunchWindow("NetworkLaunchWindow") {}

void NetworkLaunchWindow::DrawContents() {
    LaunchWindow::DrawContents();
    NetworkGame* game = GetNetworkGame();
    if (game == nullptr || !game->Session().CountdownRunning()) return;
    // Under the heading, over the right half of the screen: the squad window fills the
    // left half, its buttons in its top-right corner.
    const IntRect screen = UiScreenRect();
    const float headingBottom = MeasureText(GetLanguageText("SelectingSquads"), kHeadingScale).y;
    const auto seconds = static_cast<int32_t>(game->Session().Countdown());
    const float x = static_cast<float>(screen.left) + 0.75f * static_cast<float>(screen.right - screen.left + 1);
    DrawTextCentred(String::FromInt(seconds), Vector2(x, headingBottom + kCountdownScale * FontLineHeight()),
                    kCountdownScale);
}

void NetworkLaunchWindow::HandleCommand(Event& event) {
    if (event.type == kEventAskDisconnect) {
        AskDisconnect();
        return;
    }
    if (event.type != kEventPickEntry) {
        LaunchWindow::HandleCommand(event);
        return;
    }
    const int32_t button = buttons.FindByName(event.text);
    if (button == kLaunch) {
        SendSquads();
        return;
    }
    if (button == kExit) {
        BackToSetUp();
        return;
    }
    AskDisconnect();
}

void NetworkLaunchWindow::SendSquads() {
    if (GetLaunchSquadTray().TotalVornCount() == 0) {
        // A new player's trays are empty: the message says where units come from.
        ShowUserError("NoVornsNetwork");
        return;
    }
    NetworkGame* game = GetNetworkGame();
    if (game == nullptr || !MaySendSquads(game->Session())) return;
    PlayUiSound("Transport.ogg");
    game->Session().SendSquads();
    OpenWithChat(GetWaitAfterSendingSquadsWindow());
}

void NetworkLaunchWindow::BackToSetUp() {
    NetworkGame* game = GetNetworkGame();
    if (game == nullptr || !game->IsNetworkServer()) return;
    OpenWithChat(GetNetworkGameSetupWindow());
    game->Session().SendOpenSetup();
    game->Session().SetState(SessionState::ServerSetup);
}

void NetworkLaunchWindow::AskDisconnect() {
    WindowManager& manager = GetWindowManager();
    manager.OpenWindow(&GetConfirmDisconnectMenu());
    manager.BringToFront(&GetConfirmDisconnectMenu());
}

NetworkLaunchWindow& GetNetworkLaunchWindow() {
    static NetworkLaunchWindow window;
    return window;
}
