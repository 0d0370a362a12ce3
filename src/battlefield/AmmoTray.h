#pragma once
// The saved units a launcher of the edited unit may fire: those of a smaller chassis than
// the unit's, in file-name order.
#include <cstdint>

#include "core/Array.h"
#include "ui/Tray.h"
#include "units/VornSummary.h"

class Vorn;
struct Sprite;

class AmmoTray : public Tray {
public:
    AmmoTray();

    void CreateResources() override;
    void ReleaseResources() override;
    void OnOpen() override;
    // Lets go of the unit: it may be freed while the tray is shut, and a shut tray is
    // still refreshed.
    void OnClose() override;
    void RebuildSource() override;
    int32_t EntryCount() const override { return summaries.Count(); }
    String EntryName(int32_t entry) const override;
    String EntryToolTip(int32_t entry, const IntRect& rect) const override;
    void DrawEntry(int32_t entry, const IntRect& rect, bool hovered) override;
    void HandleCommand(Event& event) override;

    int32_t weaponPlace = 0;
    Vorn* vorn = nullptr;  // not owned
    Array<VornSummary> summaries;

private:
    Sprite* chassisSprites_[6] = {};
};

AmmoTray& GetAmmoTray();
