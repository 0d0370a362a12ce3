#pragma once
// The serving side of the web lobby: adds, updates or removes this server's entry on the
// registration page. Whether to register at all (serving, listing on) is the caller's.
#include <string>

#include "net/LobbySettings.h"

class LobbyRegistration {
public:
    explicit LobbyRegistration(LobbySettings settings) : settings_(std::move(settings)) {}

    // True when the page confirmed the change; a player count of 0 asks it to remove
    // the entry.
    bool Update(const std::string& serverName, int players, bool playing) const;

    // Every byte but letters, digits and "-._~" as %XX, so that a name cannot end the
    // query or start a header line.
    static std::string PercentEncode(const std::string& value);

private:
    LobbySettings settings_;
};
