#pragma once
// Paths of the unit, squad and scenario files the player saves. Unit and squad files
// take the current folder and file prefix (a network exchange sets a prefix per peer);
// scenario files take the folder only.
#include <cstdint>

#include "core/String.h"

String ScenarioFilePath(const String& name);
String SquadFilePath(const String& name);
String VornFilePath(const String& name);
// The current player's folders, each ending in a backslash ("Vorns\", "Squads\" and
// "Scenarios\" until a player is chosen), and the file prefixes (empty outside a
// network exchange).
void SetDataFolders(const String& vornFolder, const String& squadFolder, const String& scenarioFolder);
void SetFilePrefixes(const String& vornPrefix, const String& squadPrefix);

// Units and squads exchanged with a peer go to "NetworkVorns\", each name prefixed with
// the peer's address and port ("10_0_0_5_2300_" for 10.0.0.5, port 2300), so that the
// player's own folders are never touched. The address holds its first byte lowest.
// The player's folders and prefixes are kept and come back with RestoreNetworkFolders;
// a second switch without a restore keeps the folders of the first.
void UseNetworkFolders(uint32_t address, uint16_t port);
void RestoreNetworkFolders();
// The kept folders and prefixes, "#None" each while nothing is kept.
void GetSavedFolders(String& vornFolder, String& vornPrefix, String& squadFolder, String& squadPrefix);
