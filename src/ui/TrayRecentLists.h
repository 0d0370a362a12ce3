#pragma once
// The recent-entry lists of the unit tray, the squad tray and the scenario list: a
// tutorial saves them when it begins and has them put back when it ends, so that a lesson
// leaves the player's lists as they were; a change of player empties them.

// Copies the unit and squad trays' recent lists to their backups.
void SaveTrayRecentLists();
// The unit and squad trays put their backups back at their next rebuild.
void TutorialMarkTraysDirty();
// Empties the recent lists of the unit tray, the squad tray and the scenario list.
void RefreshFileTrays();
