#pragma once
// The "Customize" screen: the local player spends boosts on chassis and weapon upgrades
// and mixes the two colours of its units, while its figure stands in the middle in the
// colours being mixed. Colour and upgrade changes reach the profile file only by Accept;
// Cancel and Reset read the profile back.
#include <cstdint>

#include "core/Array.h"
#include "core/Color.h"
#include "core/IntRect.h"
#include "core/Vector2.h"
#include "ui/Window.h"

class Mesh;
class Slider;
class SpriteGrid;
struct Sprite;

class UpgradeWindow : public Window {
public:
    static constexpr int32_t kUpgradeButtonCount = 21;
    static constexpr int32_t kWeaponButtonCount = 12;
    static constexpr int32_t kChassisButtonCount = kUpgradeButtonCount - kWeaponButtonCount;
    enum SliderIndex : int32_t { kPrimaryRed, kPrimaryGreen, kPrimaryBlue, kTrimRed, kTrimGreen, kTrimBlue };
    static constexpr int32_t kSliderCount = 6;
    enum BottomButton : int32_t { kReset, kAccept, kCancel, kRandomizeColors };
    static constexpr int32_t kBottomButtonCount = 4;
    // Seconds after the last colour change before the interface pictures follow.
    static constexpr float kRebuildDelay = 2.0f;
    static constexpr float kTextScale = 0.75f;
    static constexpr float kRefusalSeconds = 1.0f;
    static constexpr Color kRefusalColour = Color(0xFFFF4040);

    UpgradeWindow();
    ~UpgradeWindow() override;

    // The catalogue row the upgrade button buys; -1 outside 0..20.
    static int32_t ButtonRow(int32_t button);
    // "1 Boost", "2 Boosts".
    static String BoostsText(int32_t boosts);

    void Initialize() override;
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

    void Layout();
    // The tool tip of an upgrade button: its label, the current level and the next.
    String UpgradeToolTip(int32_t button) const;
    // The colour the three sliders from `first` mix, opaque.
    Color SliderColour(int32_t first) const;
    // A frame of colour tracking: the figure follows at once, the pictures after the delay.
    void TrackColours(float frameSeconds);
    // Where an upgrade button's badges stand now, as squares: its level at the button's
    // corner, and the next level circling the button.
    struct BadgeSquares {
        IntRect level;
        IntRect next;
    };
    BadgeSquares BadgesOf(int32_t button) const;
    // Whether the button's circling badge stands clear of every other button's level badge now.
    bool CirclingBadgeClear(int32_t button) const;

    bool openedFromMenus = false;
    Slider* sliders[kSliderCount] = {};
    SpriteGrid* upgrades = nullptr;
    SpriteGrid* placeholders = nullptr;
    SpriteGrid* bottomButtons = nullptr;
    Mesh* backdrop = nullptr;  // dark, translucent, over the whole screen
    Sprite* primarySwatch = nullptr;
    Sprite* trimSwatch = nullptr;
    Sprite* chassisIcons[6] = {};
    Sprite* digits[10] = {};
    Sprite* optionsBadge = nullptr;
    IntRect figureRect;
    Color appliedPrimary;
    Color appliedTrim;
    Color rebuiltPrimary;
    Color rebuiltTrim;
    float rebuildDelay = 0.0f;
    float badgePhase = 0.0f;
    int32_t badgeHovered = -1;  // the upgrade button under the pointer when the badges were drawn
    Array<IntRect> drawnBadges;  // the squares of the badges the last frame drew
    float refusalTimeLeft = 0.0f;  // the boosts line is drawn in the refusal colour meanwhile

private:
    void SetSlidersFromPlayer();
    void ApplyPlayerColours();
    void ReturnToPrevious();
    void BuyUpgrade(int32_t button);
    void ReleaseAt(const Point& point);
    void DrawBadges(float frameSeconds);
    void DrawChassisIcons();
    void DrawTexts();
    void DrawBackdrop();
    Vector2 TextsTopLeft() const;
    bool TextBoxOpen() const;
};

UpgradeWindow& GetUpgradeWindow();
