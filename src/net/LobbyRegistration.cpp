#include "net/LobbyRegistration.h"

#include "net/HTTP_Handler.h"
#include "net/StringDataConsumer.h"
#include "net/Webfetch.h"
#include "platform/net/NetLimits.h"

bool LobbyRegistration::Update(const std::string& serverName, int players, bool playing) const {
    Webfetch fetch(settings_.proxyServer);
    StringDataConsumer reply;
    fetch.SetUserAgent("");
    fetch.SetDataConsumer(&reply);
    fetch.SetTimeout(sock::kLobbyTimeoutSeconds);
    fetch.Open(static_cast<int>(HttpMethod::Get),
               "http://" + settings_.host + "/Vorns/Lobby.php?Name=" + PercentEncode(serverName) +
                   "&Players=" + std::to_string(players) + "&Playing=" + (playing ? "1" : "0"));
    if (fetch.Result() != 0) return false;
    const std::string& text = reply.Text();
    for (const char* confirmation : {"Added Vorns server", "Deleted Vorns server", "Updated Vorns server"}) {
        if (text.find(confirmation) != std::string::npos) return true;
    }
    return false;
}

std::string LobbyRegistration::PercentEncode(const std::string& value) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string encoded;
    for (char c : value) {
        const auto byte = static_cast<unsigned char>(c);
        const bool plain = (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
                           (byte >= '0' && byte <= '9') || byte == '-' || byte == '.' || byte == '_' || byte == '~';
        if (plain) {
            encoded += c;
            continue;
        }
        encoded += '%';
        encoded += kHex[byte >> 4];
        encoded += kHex[byte & 15];
    }
    return encoded;
}
