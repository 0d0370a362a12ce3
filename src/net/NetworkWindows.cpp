#include "net/NetworkWindows.h"

#include <cerrno>
#include <cstring>
#include <initializer_list>

#include "audio/EffectSounds.h"
#include "battlefield/ArenaWindow.h"
#include "battlefield/ControlTray.h"
#include "battlefield/LaunchSquadTray.h"
#include "battlefield/LaunchWindow.h"
#include "battlefield/MiniMap.h"
#include "battlefield/ResultsWindow.h"
#include "battlefield/SquadTray.h"
#include "battlefield/VornTray.h"
#include "core/TextTable.h"
#include "modes/SquadWindow.h"
#include "net/ChatWindow.h"
#include "net/ClientSetupWindow.h"
#include "net/ClientWaitAfterJoiningWindow.h"
#include "net/NetworkGameSetupWindow.h"
#include "net/NetworkLaunchWindow.h"
#include "net/ServerWaitMapAckWindow.h"
#include "net/ServerWaitWindow.h"
#include "net/WaitAfterSendingSquadsWindow.h"
#include "ui/ErrorBox.h"
#include "ui/ToolkitWindows.h"
#include "ui/UiServices.h"
#include "ui/WindowManager.h"
#include "ui/WindowTray.h"
#include "world/Arena.h"

namespace {

void OpenWithChat(Window* screen) {
    WindowManager& manager = GetWindowManager();
    manager.CloseAllWindows();
    if (screen != nullptr) manager.OpenWindow(screen);
    NetworkScreen::OpenChatAtBottom();
}

}  // namespace

void NetworkWindows::Open(SessionState state) {
    switch (state) {
        case SessionState::ServerWaiting: OpenWithChat(&GetServerWaitWindow()); return;
        case SessionState::ServerWaitSetupAck: OpenWithChat(&GetServerWaitMapAckWindow()); return;
        case SessionState::ClientEntering: GetWindowManager().OpenWindow(&GetClientSetupWindow()); return;
        case SessionState::ClientWaiting: OpenWithChat(&GetClientWaitAfterJoiningWindow()); return;
        case SessionState::ClientSquadsSent: OpenWithChat(&GetWaitAfterSendingSquadsWindow()); return;
        case SessionState::ServerSetup:
        case SessionState::ClientSetup: OpenWithChat(&GetNetworkGameSetupWindow()); return;
        case SessionState::ServerResults:
        case SessionState::ClientResults:
            GetResultsWindow().host = &results_;
            OpenWithChat(&GetResultsWindow());
            GetWindowManager().NotifyAll();
            return;
        case SessionState::Idle: GetWindowManager().CloseAllWindows(); return;
        default: return;
    }
}

// The trays limit the launch by the shared launch window's budget, so it takes the
// network budget too.
void NetworkWindows::OpenSquadSelection(int32_t budget, uint32_t squadCount) {
    NetworkLaunchWindow& launch = GetNetworkLaunchWindow();
    launch.budget = budget;
    GetLaunchWindow().budget = budget;
    SquadWindow& squads = GetSquadWindow();
    squads.budget = budget;
    squads.launchedCost = 0;
    GetLaunchSquadTray().SetMaxSquadCount(static_cast<int32_t>(squadCount));
    // Units and squads saved since the trays last read the player's folders (in the
    // training grounds, by another program) are offered too.
    GetVornTray().Reload();
    GetSquadTray().Reload();
    // The full-screen launch window stays behind the trays and the squad window, which
    // take the pointer before it: a squad or a unit dropped on the squad window goes into
    // the squad being launched.
    GetWindowManager().CloseAllWindows();
    GetWindowManager().OpenWindows({&launch, &GetVornTray(), &GetSquadTray(), &squads, &GetLaunchSquadTray()});
    NetworkScreen::OpenChatAtBottom();
    GetToolkitWindows().LayOutWindows();
    PlaceTraysAboveChat();
}

// The chat keeps the bottom row: the unit and squad trays stand above it, where the
// battlefield would have them.
void NetworkWindows::PlaceTraysAboveChat() {
    constexpr int32_t kNarrowScreenPixels = 768;
    const ChatWindow& chat = GetChatWindow();
    const IntRect screen = UiScreenRect();
    const int32_t gap = screen.right - screen.left + 1 > kNarrowScreenPixels ? kTrayGapWide : kTrayGapNarrow;
    for (Window* tray : {static_cast<Window*>(&GetVornTray()), static_cast<Window*>(&GetSquadTray())})
        tray->MoveTo(Point(tray->left, chat.top - gap - tray->Height()));
}

void NetworkWindows::OpenBattleScreens() {
    WindowManager& manager = GetWindowManager();
    manager.CloseAllWindows();
    GetWindowManager().OpenWindows({&GetArenaWindow(), &GetWindowTray(), &GetControlTray(), &GetMiniMap()});
    ChatWindow& chat = GetChatWindow();
    chat.movable = true;
    chat.closeButton = true;
    GetWindowManager().OpenWindow(&chat);
    GetToolkitWindows().LayOutWindows();
    PlayBattleSound("TransportBackwards.ogg");
}

void NetworkWindows::AddChatLine(const std::string& speaker, uint32_t colour, const std::string& line) {
    GetChatWindow().AddChatLine(String(speaker.c_str()), String(line.c_str()), Color(colour));
}

void NetworkWindows::AddStatusLine(const std::string& line) {
    GetChatWindow().AddLine(String("** ") + String(line.c_str()), Color(0xFFFFFFFF));
}

namespace {

// Over the screens that are open when keepScreens, else alone.
ErrorBox& OpenErrorBox(const char* messageKey, bool keepScreens = false) {
    WindowManager& manager = GetWindowManager();
    if (!keepScreens) manager.CloseAllWindows();
    ErrorBox& box = GetErrorBox();
    box.message.Clear();
    box.AddLine(GetLanguageText(messageKey));
    box.WrapText();
    manager.OpenWindow(&box);
    manager.BringToFront(&box);
    return box;
}

}  // namespace

// A join refused before the server's first answer leaves the join screen drawn behind the
// box, as a join's other endings do.
void NetworkWindows::ShowError(const char* messageKey) {
    OpenErrorBox(messageKey, GetWindowManager().IsOpen(&GetClientSetupWindow())).popGame = true;
}

void NetworkWindows::ShowJoinError(const char* messageKey) {
    GetClientSetupWindow().ShowJoinFailure(GetLanguageText(messageKey));
}

void NetworkWindows::ShowConnectError(const std::string& host, int32_t port) {
    GetClientSetupWindow().ShowJoinFailure(ClientSetupWindow::ConnectFailureText(String(host.c_str()), port));
}

namespace {

// Why serving failed, in the player's words: a port in use is the usual case (another
// game, or a second copy of this one, serving on this machine).
String ServeFailureReason(int error, int32_t port) {
    const String portText = String::FromInt(port);
    if (error == EADDRINUSE) return GetLanguageText("ServerPortInUse") + portText + GetLanguageText("ServerPortInUseEnd");
    if (error == EACCES) return GetLanguageText("ServerPortInUse") + portText + GetLanguageText("ServerPortNotAllowed");
    if (error != 0) return GetLanguageText("ServerSystemSaid") + String(std::strerror(error));
    return GetLanguageText("ServerNoSocket");
}

}  // namespace

void NetworkWindows::ShowServeError(const char* messageKey, int error, int32_t port) {
    ErrorBox& box = OpenErrorBox(messageKey);
    box.AddLine(ServeFailureReason(error, port));
    box.WrapText();
    box.returnToPrevious = true;
}
