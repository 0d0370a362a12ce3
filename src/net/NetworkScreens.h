#pragma once
// The windows of a network session, as the network game asks for them: the screens of
// each session state, the chat window's lines and the error box. The network screens
// implement it; without them (a test, a server run headless) nothing is shown.
#include <cstdint>
#include <string>

#include "net/SessionState.h"

class NetworkScreens {
public:
    virtual ~NetworkScreens() = default;
    virtual void Open(SessionState state) = 0;
    virtual void OpenSquadSelection(int32_t budget, uint32_t squadCount) = 0;
    virtual void OpenBattleScreens() = 0;
    // An empty speaker is a player the list does not know.
    virtual void AddChatLine(const std::string& speaker, uint32_t colour, const std::string& line) = 0;
    virtual void AddStatusLine(const std::string& line) = 0;
    // The session ended: dismissing the box leaves the network mode.
    virtual void ShowError(const char* messageKey) = 0;
    // A join failed: the box stands over the join screen, which stays for another try.
    virtual void ShowJoinError(const char* messageKey) = 0;
    // No connection to `host` on `port` could be made; the join screen stays.
    virtual void ShowConnectError(const std::string& host, int32_t port) = 0;
    // Serving on `port` could not start, for the system's reason `error` (an errno, 0 when
    // unknown): dismissing the box goes back to the menu the player came from.
    virtual void ShowServeError(const char* messageKey, int error, int32_t port) = 0;
    virtual void PlayersChanged() = 0;
};
