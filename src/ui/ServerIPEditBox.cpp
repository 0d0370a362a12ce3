// The joining player types the server's address.
#include "ui/ServerIPEditBox.h"

#include <algorithm>
#include <string>
#include <vector>

#include "core/TextTable.h"
#include "game/Player.h"
#include "game/PlayerRoster.h"

namespace {

// The longest host name and label a resolver takes.
constexpr int kMaxHostLength = 253;
constexpr int kMaxLabelLength = 63;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsLabelChar(char c) { return IsDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '-'; }

}  // namespace

ServerIPEditBox::ServerIPEditBox() : EditBox("ServerIPEditBox", "ServerIP?") { Initialize(); }

bool ServerIPEditBox::IsWellFormed(const String& host) {
    const std::string text = host.CStr();
    if (text.empty() || int(text.size()) > kMaxHostLength) return false;
    std::vector<std::string> labels(1);
    for (char c : text) {
        if (c == '.') {
            labels.emplace_back();
        } else if (IsLabelChar(c)) {
            labels.back() += c;
        } else {
            return false;
        }
    }
    for (const std::string& label : labels) {
        if (label.empty() || int(label.size()) > kMaxLabelLength) return false;
        if (label.front() == '-' || label.back() == '-') return false;
    }
    // A name ending in a number is read as a dotted address, so it must be a whole one.
    const auto numeric = [](const std::string& label) { return std::all_of(label.begin(), label.end(), IsDigit); };
    if (!numeric(labels.back())) return true;
    if (labels.size() != 4) return false;
    return std::all_of(labels.begin(), labels.end(), [&](const std::string& label) {
        return numeric(label) && label.size() <= 3 && std::stoi(label) <= 255;
    });
}

String ServerIPEditBox::Rejection(const String& whole) const {
    return whole.IsEmpty() || IsWellFormed(whole) ? String() : GetLanguageText("BadServerIP");
}

String ServerIPEditBox::HostPart(const String& address) {
    const int at = address.FindLast(":");
    return at < 0 ? address : address.Right(address.CharCount() - at - 1);
}

void ServerIPEditBox::OnOpen() {
    AllowOnly("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789");
    Allow(".-");
    text = HostPart(address_ != nullptr ? *address_ : GetLocalPlayer().serverClientServerIp);
    EditBox::OnOpen();
}

void ServerIPEditBox::Accept() {
    if (text.IsEmpty()) return;
    if (address_ != nullptr) *address_ = text;
    Player& player = GetLocalPlayer();
    player.Load();
    player.serverClientServerIp = text;
    if (!player.Save()) ReportSaveFailed();
}

ServerIPEditBox& GetServerIPEditBox() {
    static ServerIPEditBox box;
    return box;
}
