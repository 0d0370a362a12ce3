#pragma once
// Paths of the unit, squad and scenario files the player saves. Unit and squad files
// take the current folder and file prefix (a network exchange sets a prefix per peer);
// scenario files take the folder only.
#include "core/String.h"

String ScenarioFilePath(const String& name);
String SquadFilePath(const String& name);
String VornFilePath(const String& name);
// The current player's folders, each ending in a backslash ("Vorns\", "Squads\" and
// "Scenarios\" until a player is chosen), and the file prefixes (empty outside a
// network exchange).
void SetDataFolders(const String& vornFolder, const String& squadFolder, const String& scenarioFolder);
void SetFilePrefixes(const String& vornPrefix, const String& squadPrefix);
