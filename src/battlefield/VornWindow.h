#pragma once
// The unit editor: one unit standing in the arena, its chassis, its two weapons and a
// launcher's ammunition, its pattern slots (opened in the pattern editor, copied by
// dragging, cleared with Delete), its name and cost, and the button that saves it.
#include <cstdint>
#include <vector>

#include "battlefield/PatternThumbnail.h"
#include "core/IntRect.h"
#include "ui/ConfirmChangeVornChassisMenu.h"
#include "ui/WeaponMenu.h"
#include "ui/Window.h"

class SpriteGrid;
class Vorn;
struct Sprite;

class VornWindow : public Window, public VornChassisChanger, public WeaponMenuOpener {
public:
    static constexpr int32_t kWidth = 510;
    static constexpr int32_t kHeight = 150;
    static constexpr int32_t kSlotCount = 16;
    static constexpr int32_t kSlotSize = 48;
    static constexpr int32_t kSlotPitch = kSlotSize + 2;
    static constexpr int32_t kButtonSize = 48;

    VornWindow();

    void CreateResources() override;
    void ReleaseResources() override;
    void OnOpen() override;
    void OnClose() override;
    void Refresh() override;
    void DrawContents() override;
    bool HandleMouse(const InputEvent& input) override;
    void HandleCommand(Event& event) override;
    void HitTestControls(const Point& point) override;
    void GetHighlightShape(const HighlightRequest& request, Highlighter& highlighter) override;
    void GetToolTip() override;

    // The new chassis replaces the old; what it cannot hold goes.
    void ChangeVornChassis(Vorn* unit, int32_t chassis) override;
    Vorn* EditedVorn() override { return vorn; }
    void RefreshVornEditor() override { Refresh(); }
    // A launcher's ammunition: the saved unit of that name, or "NoAmmo" when it cannot be
    // read; the weapon is rearmed and the unit recosted.
    void SetWeaponAmmo(int32_t place, const String& ammoName);

    // The pattern of the slot being dragged, drawn into the box at the pointer.
    void DrawDraggedPattern(const IntRect& box);

    // Slot under the point among the shown ones, or -1.
    int32_t SlotAt(const Point& point) const;
    IntRect SlotRect(int32_t slot) const;
    int32_t ShownSlotCount() const;
    // The local player's pattern limit for a chassis.
    static int32_t PatternLimit(int32_t chassis);
    // Every button grid of the editor (save, pattern slots, chassis, weapons, ammunition),
    // as a player finds them on screen; empty before its first drawing.
    std::vector<SpriteGrid*> ButtonGrids() const;

    Vorn* vorn = nullptr;
    int32_t selectedSlot = 0;

private:
    enum Button : int32_t { kChassis = 0, kWeapon1, kWeapon2, kAmmo1, kAmmo2, kButtonCount };

    void OpenPattern(int32_t slot);
    void ShowPatternBelow(int32_t slot, int32_t gap);
    void MarkEdited(bool cost);
    bool IsValidSlot(int32_t slot) const { return slot >= 0 && slot < ShownSlotCount(); }
    int32_t ButtonAt(const Point& point) const;
    Point ButtonCentre(int32_t button) const;
    void LayoutButtons();
    void DrawAmmoCount(int32_t place);
    static float TextScale();
    IntRect NameRect() const;
    IntRect CostRect() const;
    String CostText() const;

    PatternThumbnail thumbnail_;
    Sprite* frameSprite_ = nullptr;
    Sprite* infinitySprite_ = nullptr;
    SpriteGrid* saveGrid_ = nullptr;
    SpriteGrid* slotGrid_ = nullptr;
    SpriteGrid* buttons_[kButtonCount] = {};
    int32_t pressedButton_ = -1;
    bool savePressed_ = false;
    int32_t rightPressedSlot_ = -1;
    int32_t shownChassis_[3] = {0, 1, 2};
};

VornWindow& GetVornWindow();
