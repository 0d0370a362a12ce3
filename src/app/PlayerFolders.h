#pragma once
// Every player profile has its own folder tree under "Players\": the player's units,
// squads and scenarios. The unit, squad and scenario paths follow the chosen player.
#include "core/String.h"

// "Vorns\", "Squads\" and "Scenarios\": the shared folders, used with no player chosen.
void SetDefaultFolders();
// The player's own folders; the shared ones for the "no player" text and for the
// computer player ("#AI" in any case).
void SetPlayerFolders(const String& playerName);

// Makes "Players\<name>" with its "Vorns", "Squads" and "Scenarios" folders, sets the
// local player up for the name and makes its folders the current ones. On failure the
// language key of the message to show comes back in failureKey: "PlayerAlreadyExists"
// for a name taken in any letter case, "InvalidPlayer" for a name that cannot be a folder
// (or any other failure), and "Illegal.ogg" plays. Folders made before a failure stay.
bool CreatePlayer(const String& playerName, String& failureKey);
