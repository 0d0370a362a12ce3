#include "net/NetworkWindows.h"

#include "core/Debugger.h"
#include "core/TextTable.h"
#include "net/ChatWindow.h"
#include "net/ClientSetupWindow.h"
#include "net/ClientWaitAfterJoiningWindow.h"
#include "net/NetworkGameSetupWindow.h"
#include "net/ServerWaitMapAckWindow.h"
#include "net/ServerWaitWindow.h"
#include "net/WaitAfterSendingSquadsWindow.h"
#include "ui/ErrorBox.h"
#include "ui/UiServices.h"
#include "ui/WindowManager.h"

namespace {

void OpenWithChat(Window* screen) {
    WindowManager& manager = GetWindowManager();
    manager.CloseAllWindows();
    if (screen != nullptr) manager.OpenWindow(screen);
    NetworkScreen::OpenChatAtBottom();
}

void NotBuilt(const char* what) { Debugger::Instance().Line(std::string("Network screens: not built yet: ") + what); }

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
            NotBuilt("the results window");
            OpenWithChat(nullptr);
            return;
        case SessionState::Idle: GetWindowManager().CloseAllWindows(); return;
        default: return;
    }
}

void NetworkWindows::OpenSquadSelection(int32_t, uint32_t) {
    NotBuilt("the network launch window");
    OpenWithChat(nullptr);
}

void NetworkWindows::OpenBattleScreens() {
    ChatWindow& chat = GetChatWindow();
    chat.movable = true;
    chat.closeButton = true;
    GetWindowManager().OpenWindow(&chat);
}

void NetworkWindows::AddChatLine(const std::string& speaker, uint32_t colour, const std::string& line) {
    GetChatWindow().AddChatLine(String(speaker.c_str()), String(line.c_str()), Color(colour));
}

void NetworkWindows::AddStatusLine(const std::string& line) {
    GetChatWindow().AddLine(String("** ") + String(line.c_str()), Color(0xFFFFFFFF));
}

void NetworkWindows::ShowError(const char* messageKey) {
    WindowManager& manager = GetWindowManager();
    manager.CloseAllWindows();
    ErrorBox& box = GetErrorBox();
    box.message.Clear();
    box.AddLine(GetLanguageText(messageKey));
    box.WrapText();
    box.popGame = true;
    manager.OpenWindow(&box);
    manager.BringToFront(&box);
}
