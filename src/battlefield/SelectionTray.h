#pragma once
// Four command buttons for the battlefield selection: toggle VIP status, form a squad,
// save the selection as a squad, delete the selection. The first three are offered only
// while the selection holds a unit.
#include <cstdint>

#include "ui/Tray.h"

class SelectionTray : public Tray {
public:
    static constexpr int32_t kButtonCount = 4;

    SelectionTray();

    void CreateResources() override;
    void ReleaseResources() override;
    void OnOpen() override;
    void OnClose() override;
    void DrawEntry(int32_t entry, const IntRect& rect, bool hovered) override;
    String EntryName(int32_t entry) const override;
    String EntryToolTip(int32_t entry, const IntRect& rect) const override;
    bool IsEntryShown(int32_t entry) const override;
    int32_t EntryCount() const override { return kButtonCount; }
    void HandleCommand(Event& event) override;

private:
    void SaveSquad();
    bool layingOut_ = false;
    Sprite* buttons_[kButtonCount] = {};
};

SelectionTray& GetSelectionTray();
