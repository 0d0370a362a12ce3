#pragma once
// The local player's saved units, one button per file with its cost, sorted by name.
// A unit is dragged onto the battlefield, opened in the unit editor or deleted from here.
// Because a unit launcher's ammunition is another saved unit, saving or deleting a unit
// re-saves the launchers that carry it.
#include <cstdint>

#include "core/Array.h"
#include "core/String.h"
#include "ui/Tray.h"
#include "units/VornSummary.h"

class Arena;
class Vorn;

class VornTray : public Tray {
public:
    static constexpr int32_t kCarryVorn = 3;

    VornTray();

    void CreateResources() override;
    void ReleaseResources() override;
    void OnOpen() override;
    void Refresh() override;
    void DrawContents() override;
    void DrawEntry(int32_t entry, const IntRect& rect, bool hovered) override;
    // The name shortened as the entry shows it, told apart from every other entry's.
    String ShownName(int32_t entry) const;
    String EntryName(int32_t entry) const override;
    String EntryToolTip(int32_t entry, const IntRect& rect) const override;
    int32_t EntryCount() const override { return summaries.Count(); }
    bool IsEntryShown(int32_t entry) const override;
    void HandleCommand(Event& event) override;
    // The shown cell of the entry of that name, the tray's rectangle when none is shown.
    IntRect EntryCell(const String& entryName) const;

    // The unit files of the folder, other than the copy and no-name files, in listing
    // order and not yet read.
    void ListVornFiles(const String& folder);
    // Lists the current player's units, sorts them by name and reads each summary.
    void Reload();
    // A unit was saved: its summary is read again (or added) and the launchers that
    // carry it are saved again with their new cost.
    void AddVornFile(const String& fileName);
    // The unit's file is gone: its summary, its launchers' ammunition and its copies on
    // the battlefield go with it.
    void DeleteVornFile(const String& fileName);
    // Medium launchers of the unit, then large launchers of it or of those.
    void FindLaunchersOf(const String& fileName, Array<String>& launchers) const;
    // Reads the unit, recomputes its cost and writes it back; false when the write
    // failed (a unit that will not read is left as it is).
    bool ResaveVornFile(const String& fileName);
    // Once at start-up: every unit's cost is worked out again; a file that will not read
    // whole is left as it is, and an unchanged cost is not written.
    void ResaveAllVorns();
    int32_t FindSummary(const String& fileName) const;
    bool IsWithinBudget(int32_t entry) const;

    Array<VornSummary> summaries;
    // Empty shows every unit; "#None" hides the grid, while the recent row stays.
    String nameFilter;
    String listedPlayer;
    bool listed = false;

private:
    void Sort();
    // Saves the unit's launchers again; a failed write shows the error box.
    void ResaveLaunchers(const String& fileName);
    void ReloadSummary(int32_t index);
    // Shortens the names again when they changed since the last time.
    void UpdateShownNames();
    // The name band's height for a cell of that height.
    int32_t NameBandHeight(int32_t cellHeight) const;
    void DrawName(const String& shown, const IntRect& rect);
    // The unit the editor gets, from the arena's pool.
    Vorn* TakeEditedUnit();
    Vorn* editedUnit_ = nullptr;
    const Arena* editedArena_ = nullptr;
    Sprite* chassisButtons_[6] = {};
    Sprite* crossSprite_ = nullptr;
    Sprite* dollarSprite_ = nullptr;
    Sprite* backingSprite_ = nullptr;
    // The names labelled last, and the label each reads on its entry.
    StringArray labelledNames_;
    StringArray shownNames_;
};

VornTray& GetVornTray();
// The name filter of the unit and squad trays that hides every entry of their grids.
constexpr const char* kHideAllEntries = "#None";
// The tray's entry label: name, cost in brackets.
String CostLabel(const String& name, int32_t cost);
