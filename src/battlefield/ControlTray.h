#pragma once
// The row of buttons beside the battlefield that runs the battle: play and pause, the side
// new units join, the two signals, the last play point, clearing, loading and saving
// scenarios, and leaving. Buttons that do not apply at the moment are hidden.
#include <cstdint>

#include "ui/Tray.h"

struct Sprite;

class ControlTray : public Tray {
public:
    static constexpr int32_t kEntryCount = 13;

    ControlTray();

    void CreateResources() override;
    void ReleaseResources() override;
    int32_t EntryCount() const override { return kEntryCount; }
    String EntryName(int32_t entry) const override;
    String EntryToolTip(int32_t entry, const IntRect& rect) const override;
    bool IsEntryShown(int32_t entry) const override;
    void DrawEntry(int32_t entry, const IntRect& rect, bool hovered) override;
    void HandleCommand(Event& event) override;

private:
    void PickEntry(int32_t entry, const Point& point);
    void ChangeSignal(int32_t type);
    void RestoreLastPlayPoint();

    Sprite* sprites_[kEntryCount] = {};
};

ControlTray& GetControlTray();
// The game modes the battlefield's windows treat apart (the tutorial: IsTutorialGame).
bool IsTrainingGame();
bool IsMissionGame();
