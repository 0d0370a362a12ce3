#pragma once
// A tray of one column of text entries, with type-ahead and a scroll column.
#include "core/Array.h"
#include "core/String.h"
#include "ui/Tray.h"

class ListBox : public Tray {
public:
    static constexpr float kTextScale = 0.75f;
    static constexpr Color kTextColour = Color(0xFFFFFFFF);
    static constexpr Color kHoveredTextColour = Color(0xFFFF0000);

    ListBox(const String& windowName, int32_t visibleRows, int32_t minimumWidth, bool withRecentRow);

    void HandleCommand(Event& event) override;
    // Escape picks no entry, which closes the list.
    bool TakesEscape() const override { return true; }
    void RebuildSource() override { Fill(); }
    // The name is drawn with the list itself, so that a window opened above the list
    // covers it.
    void DrawEntry(int32_t entry, const IntRect& rect, bool hovered) override;
    String EntryName(int32_t entry) const override;
    String EntryToolTip(int32_t entry, const IntRect& rect) const override;
    int32_t EntryCount() const override { return items.Count(); }

    // An entry was chosen: its index (-1 for none) and the event's text.
    virtual void PickEntry(int32_t entry, const String& text) = 0;
    // Refills the item names.
    virtual void Fill() = 0;

    void AddItem(const String& item) { items.Append(item); }
    // The cell width becomes the widest of the minimum and every item's width.
    void FitWidth();

    StringArray items;
    int32_t minimumWidth = 0;
};
