#pragma once
// A frameless window of image buttons on a ring around a centre point over a round
// background, with a title in the middle. It takes all input while open and reports the
// chosen button, or -1 when it was left with Escape.
#include <cstdint>

#include "core/Array.h"
#include "core/String.h"
#include "ui/Window.h"

class PopUpMenu : public Window {
public:
    static constexpr Color kBackgroundTint = Color(0xFF2B74BA);
    static constexpr float kTitleScale = 0.75f;

    PopUpMenu(const String& windowName, int32_t itemPixels, float ringPixels);

    void CreateResources() override;
    void ReleaseResources() override;
    void OnOpen() override;
    void DrawContents() override;
    void DrawBackground() override;
    // Every input is taken while the menu is open.
    bool HandleMouse(const InputEvent& input) override;
    bool TakesEscape() const override { return true; }
    void HandleCommand(Event& event) override;
    void HitTestControls(const Point& point) override;
    void GetHighlightShape(const HighlightRequest& request, Highlighter& highlighter) override;
    // The point becomes the menu's centre, kept on the screen.
    void MoveTo(const Point& point) override;

    virtual void DrawItems();
    virtual void DrawItem(int32_t index);
    virtual void DrawTitle();
    // The title as drawn: each of its lines broken at blanks to the width between the middles
    // of the items on either side, and a word wider than that shortened with the ellipsis,
    // so that it stays inside the disc.
    String ShownTitle() const;
    // The width the title's lines are broken to.
    virtual float TitleWidth() const;
    // For a ring nearly closed by its items, where an item whose corner points at the
    // centre comes closest: the width that keeps a block of up to two lines about the
    // centre inside that item's reach.
    float ClosedRingTitleWidth() const;
    // The item's picture as drawn: grown by half under the pointer, and then, when grown
    // about its place it would cover the title, grown away from the title instead, so
    // that it covers no more of it than at rest.
    IntRect DrawnItemRect(int32_t index) const;
    // Where the title's block is drawn: about the centre, or, when items of a full ring
    // would cover it there, just below the lowest item, still on the disc.
    IntRect TitleRect() const;
    // The title's lines about the centre: an item's tip goes below the item rather than over them.
    IntRect ToolTipKeepClear() const override;
    // The chosen item, or -1 for Escape.
    virtual void OnChoice(int32_t index) = 0;

    // Items are made with the window's sprites, and made again with them after a renderer
    // restart.
    void AddItem(const String& image, const String& itemName);
    void AddItemSprite(Sprite* sprite, const String& itemName);
    int32_t ItemCount() const;
    // The half side of the menu's square: the ring plus one item.
    int32_t Reach() const { return int32_t(ringRadius) + itemSize; }

    String title;
    int32_t itemSize = 48;
    float ringRadius = 96.0f;
    SpriteGrid* items = nullptr;
    Sprite* backgroundSprite = nullptr;
    Point centre;

private:
    StringArray itemImages_;
    StringArray itemNames_;
};
