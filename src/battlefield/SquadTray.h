#pragma once
// The local player's saved squads, one button per file with its total cost, sorted by
// name. A squad is dragged onto the battlefield or into the launch tray, or deleted.
#include <cstdint>

#include "core/Array.h"
#include "core/String.h"
#include "game/SquadSummary.h"
#include "ui/Tray.h"

class SquadTray : public Tray {
public:
    static constexpr int32_t kCarrySquad = 4;

    SquadTray();

    void CreateResources() override;
    void ReleaseResources() override;
    void OnOpen() override;
    void DrawEntry(int32_t entry, const IntRect& rect, bool hovered) override;
    String EntryName(int32_t entry) const override;
    String EntryToolTip(int32_t entry, const IntRect& rect) const override;
    int32_t EntryCount() const override { return summaries.Count(); }
    bool IsEntryShown(int32_t entry) const override;
    void HandleCommand(Event& event) override;

    // Lists and reads the current player's squad files, sorted by name.
    void Reload();
    void AddSquadFile(const String& squadName);
    void DeleteSquadFile(const String& squadName);
    // Squads with a member of that unit file (or of one of its launchers) are read and
    // written again, so that their members' costs are current.
    void ResaveSquadsUsing(const String& unitName, const Array<String>& launchers);
    // The unit's file is gone: every squad holding it is written without it, and a squad
    // left empty is deleted.
    void RemoveVornFromSquads(const String& unitName);
    // Once at start-up. A squad whose read dropped a member (a unit file missing for a
    // moment) is never written, and an unchanged cost is not written either.
    void ResaveAllSquads();
    int32_t FindSummary(const String& squadName) const;
    // Where a budget applies: whether the cheapest member fits, and the whole squad.
    bool CheapestMemberFits(int32_t entry) const;
    bool WholeSquadFits(int32_t entry) const;

    Array<SquadSummary> summaries;
    // Empty shows every squad; "#None" hides the grid, while the recent row stays.
    String nameFilter;
    String listedPlayer;
    bool listed = false;

private:
    void ListSquadFiles();
    void ReloadSummary(int32_t index);
    void DropSummary(int32_t index);
    Sprite* crossSprite_ = nullptr;
    Sprite* dollarSprite_ = nullptr;
};

SquadTray& GetSquadTray();
