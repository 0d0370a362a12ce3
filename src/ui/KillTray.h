#pragma once
// The tray of edited units that left the battlefield, kept so that the player can drag
// one back or delete it. Entry 0 clears the tray; entry i is unit i - 1. The units stay
// out of their pool while here; deleting or clearing gives them back to it.
#include <cstdint>

#include "core/Array.h"
#include "ui/Tray.h"

class Vorn;

class KillTray : public Tray {
public:
    static constexpr int32_t kMarkerSize = 20;
    static constexpr int32_t kCarryMode = 18;

    KillTray();

    void CreateResources() override;
    void ReleaseResources() override;
    void ResetView() override;
    void DrawEntry(int32_t entry, const IntRect& rect, bool hovered) override;
    String EntryName(int32_t entry) const override;
    String EntryToolTip(int32_t entry, const IntRect& rect) const override;
    int32_t EntryCount() const override { return vorns_.Count() + 1; }
    void HandleCommand(Event& event) override;

    void AddVorn(Vorn* vorn);
    // Out of the tray without going back to the pool (dragged back onto the battlefield).
    void RemoveVorn(Vorn* vorn);
    int32_t VornCount() const { return vorns_.Count(); }
    Vorn* GetVorn(int32_t i) const { return vorns_[i]; }
    // 0 for "#Clear", the unit's entry for its name, else -1.
    int32_t FindEntry(const String& entryName) const;
    // The pointer carries the unit of the entry.
    void GrabVorn(int32_t entry);
    // Every unit back to its pool.
    void Clear();

private:
    void Release(Vorn* vorn);
    // The marker of the unit's chassis size, friend or enemy by its owner.
    Sprite* MarkerOf(const Vorn& vorn) const;
    Array<Vorn*> vorns_;
    Sprite* clearSprite_ = nullptr;
    Sprite* friendMarkers_[6] = {};
    Sprite* enemyMarkers_[6] = {};
};

KillTray& GetKillTray();
