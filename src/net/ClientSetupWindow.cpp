#include "net/ClientSetupWindow.h"

#include "core/TextTable.h"
#include "game/Event.h"
#include "game/Player.h"
#include "game/PlayerRoster.h"
#include "net/NetworkGame.h"
#include "net/NetworkStartup.h"
#include "net/ZVKServerListBox.h"
#include "ui/ErrorBox.h"
#include "ui/ServerIPEditBox.h"
#include "ui/UiServices.h"
#include "ui/WindowManager.h"

namespace {
// Below the lesson's text box, which covers the top of the screen while it explains the
// address button.
constexpr int32_t kAddressRowY = 192;
constexpr int32_t kLobbyRowY = 288;
// The line that tells a join is waiting for the server's answer.
constexpr int32_t kConnectingY = 80;
}  // namespace

ClientSetupWindow::ClientSetupWindow()
    : NetworkScreen("ClientSetupWindow", {{"NetConnectButton.tga", "Connect", kEventExit},
                                          {"NetBackButton.tga", "Back", kEventCancel},
                                          {"NetServerIPButton.tga", "ServerIP", kEventSetServerIP},
                                          {"NetLobbyButton.tga", "PickZVKServer", kEventPickZVKServer}}) {}

void ClientSetupWindow::OnOpen() {
    address = GetLocalPlayer().serverClientServerIp;
    GetServerIPEditBox().SetAddress(&address);
    NetworkScreen::OnOpen();
}

void ClientSetupWindow::PlaceButtons() {
    PlaceButton(kConnect, BottomPlace(0));
    PlaceButton(kBack, BottomPlace(2));
    PlaceButton(kServerAddress, Point(left + 32 + kButtonPixels / 2, top + kAddressRowY));
    PlaceButton(kLobby, Point(left + 32 + kButtonPixels / 2, top + kLobbyRowY));
}

// The tutorial scripts name the connect and back buttons by meaning.
const char* ClientSetupWindow::HighlightName(int32_t index) const {
    if (index == kConnect) return "Connect";
    if (index == kBack) return "Cancel";
    return NetworkScreen::HighlightName(index);
}

bool ClientSetupWindow::Join() {
    NetworkGame* game = Game();
    if (game == nullptr) return false;
    VornsNetworker& session = game->Session();
    if (session.Joining()) return false;
    Player& player = GetLocalPlayer();
    player.Load();
    player.serverClientServerIp = address;
    player.Save();
    const String host = ServerIPEditBox::HostPart(address);
    session.StartClient();
    session.SetHost(host.CStr());
    session.SetPort(GamePort());
    if (!host.IsEmpty() && session.Connect()) return true;
    session.StopClient();
    ShowJoinFailure(ConnectFailureText(host, GamePort()));
    return false;
}

String ClientSetupWindow::ConnectFailureText(const String& host, int32_t port) {
    // A name nobody knows is a typing slip more likely than a server down.
    const NetworkGame* game = Game();
    if (game != nullptr && game->Session().HostNotFound())
        return GetLanguageText("NoSuchComputer") + host + GetLanguageText("CheckTheName");
    return GetLanguageText("UnableToConnect") + host + GetLanguageText("EitherTheServer") + String::FromInt(port) +
           GetLanguageText("Period");
}

void ClientSetupWindow::ShowJoinFailure(const String& text) { ShowRefusal(text); }

void ClientSetupWindow::HandleCommand(Event& event) {
    WindowManager& manager = GetWindowManager();
    switch (event.type) {
        case kEventExit: Join(); return;
        case kEventCancel:
            PlayUiSound("MouseUp.ogg");
            if (Game() != nullptr) Game()->LeaveMode();
            return;
        case kEventSetServerIP:
            manager.OpenWindow(&GetServerIPEditBox());
            manager.BringToFront(&GetServerIPEditBox());
            return;
        case kEventPickZVKServer:
            manager.OpenWindow(&GetZVKServerListBox());
            manager.BringToFront(&GetZVKServerListBox());
            return;
        default: NetworkScreen::HandleCommand(event); return;
    }
}

String ClientSetupWindow::ConnectingText() const {
    NetworkGame* game = Game();
    if (game == nullptr) return String();
    const VornsNetworker& session = game->Session();
    const uint64_t leftMs = session.JoinAnswerLeftMs();
    if (leftMs == 0) return String();
    const auto seconds = static_cast<int32_t>((leftMs + 999) / 1000);
    return GetLanguageText("ConnectingTo") + String(session.Host().c_str()) + GetLanguageText("GivingUpIn") +
           String::FromInt(seconds) + String(" ") + GetLanguageText(seconds == 1 ? "Second" : "Seconds");
}

void ClientSetupWindow::DrawScreen() {
    DrawMessageLine(GetLanguageText("ClientSetup"), 0);
    // Under the heading, small enough for a long address to fit across the screen.
    const String connecting = ConnectingText();
    if (!connecting.IsEmpty())
        DrawTextCentred(connecting, Vector2(0.5f * static_cast<float>(left + right), static_cast<float>(top + kConnectingY)),
                        0.75f);
    const float x = static_cast<float>(left + 32 + kButtonPixels);
    const float y = static_cast<float>(top + kAddressRowY + kButtonPixels / 2) - 0.75f * FontLineHeight() * 0.5f;
    DrawUiText(address, x, y, Color(0xFFFFFFFF), 0.75f);
}

ClientSetupWindow& GetClientSetupWindow() {
    static ClientSetupWindow window;
    return window;
}
