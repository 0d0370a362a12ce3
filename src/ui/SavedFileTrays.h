#pragma once
// What the toolkit's deletions need of the saved-unit and squad trays, which live above
// it; the battlefield registers them. With none registered no unit or squad is listed.
#include "core/String.h"

class SavedFileTrays {
public:
    virtual bool ListsVorn(const String& name) const = 0;
    virtual bool ListsSquad(const String& name) const = 0;
    // The unit's file is gone: the unit tray drops it and the squad tray removes it from
    // its squads.
    virtual void OnVornDeleted(const String& name) = 0;
    virtual void OnSquadDeleted(const String& name) = 0;
    // Both trays read their folders again.
    virtual void RefreshFromDisk() = 0;
    // A unit file was saved: the unit tray lists it (or shows it anew) as the most
    // recently used, and the squads that use the unit are saved again when asked.
    virtual void OnVornSaved(const String& name, bool resaveSquads) = 0;

protected:
    ~SavedFileTrays() = default;
};

void SetSavedFileTrays(SavedFileTrays* trays);
SavedFileTrays* GetSavedFileTrays();

// Deletes the saved file of a listed entry. A name that is not listed or not safe as a
// file name, or a file that will not go, plays "Illegal.ogg" and answers false; the
// entry then stays listed.
bool DeleteSavedFile(const String& name, bool listed, const String& path);
