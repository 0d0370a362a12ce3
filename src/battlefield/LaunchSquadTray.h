#pragma once
// The row of up to four squad slots that the player fills from the squad tray before a
// battle, within the budget the game mode set on the launch window. A single launched
// squad has no visible slot.
#include <cstdint>

#include "game/SquadSummary.h"
#include "ui/Tray.h"

class Squad;

class LaunchSquadTray : public Tray {
public:
    static constexpr int32_t kSlotCount = 4;
    static constexpr int32_t kCell = 80;

    LaunchSquadTray();

    void CreateResources() override;
    void ReleaseResources() override;
    void OnOpen() override;
    void DrawEntry(int32_t entry, const IntRect& rect, bool hovered) override;
    String EntryName(int32_t entry) const override;
    String EntryToolTip(int32_t entry, const IntRect& rect) const override;
    bool IsEntryShown(int32_t entry) const override;
    int32_t EntryCount() const override { return launchCount; }
    bool HandleMouse(const InputEvent& input) override;
    void HandleCommand(Event& event) override;

    void SetMaxSquadCount(int32_t count);
    int32_t TotalCost() const;
    int32_t TotalCostWithoutLargest() const;
    int32_t TotalVornCount() const;
    // Placing a squad of that cost into the slot keeps the launch within the budget.
    bool Fits(int32_t cost, int32_t slot) const;
    // Saves the slot's squad as the snapshot file and carries it.
    void GrabSquad(int32_t slot);
    // The picture that marks a member of that chassis in a slot; empty for no chassis.
    static String MarkerImage(int32_t chassis);

    int32_t launchCount = 1;
    // The slot whose squad the squad window shows, ringed; -1 for none.
    int32_t ShownSquad() const;
    SquadSummary carried;

private:
    static Squad& SquadAt(int32_t slot);
    // The slot's squad is the one the squad window edits and the tray marks.
    void ShowInSquadWindow(int32_t slot);
    // The summary of what the pointer carries: the snapshot from a slot, or a squad
    // tray entry by name.
    const SquadSummary* CarriedSummary() const;
    Sprite* circle_ = nullptr;
    Sprite* highlight_ = nullptr;
    Sprite* markers_[6] = {};
};

LaunchSquadTray& GetLaunchSquadTray();
