// A tray of one column of text entries.
#include "ui/ListBox.h"

#include <algorithm>

#include "core/TextTable.h"
#include "engine/Font.h"
#include "engine/Renderer.h"
#include "engine/TextFitting.h"
#include "game/Event.h"
#include "ui/UiServices.h"
#include "ui/WindowFrame.h"

ListBox::ListBox(const String& windowName, int32_t visibleRows, int32_t minimumWidthPixels, bool withRecentRow)
    : Tray(windowName, 1, visibleRows, Point(minimumWidthPixels, int32_t(FontLineHeight() * kTextScale)), 1.0f, false,
           withRecentRow),
      minimumWidth(minimumWidthPixels) {
    circleMarks = false;
    typeAhead = true;
    scrollColumn = true;
}

void ListBox::HandleCommand(Event& event) {
    switch (event.type) {
        case kEventPickTrayEntry: {
            int32_t entry = -1;
            for (int32_t i = 0; i < shownCount && entry < 0; ++i) {
                if (shownMap[i] >= 0 && EntryName(shownMap[i]) == event.text) entry = shownMap[i];
            }
            PickEntry(entry, event.text);
            break;
        }
        case kEventGrabTrayEntry:
        case kEventEditTrayEntry:
        case kEventDeleteTrayEntry: break;
        default: Tray::HandleCommand(event);
    }
}

void ListBox::DrawEntry(int32_t entry, const IntRect& rect, bool hovered) {
    if (entry < 0 || entry >= shownCount || entry >= items.Count()) return;
    Renderer& renderer = GetRenderer();
    UseScreenCamera();
    renderer.SetAlphaBlend();
    // A name wider than its cell is cut with the ellipsis rather than run out of the box.
    const String shown = WrapText(items[entry], GetFont(), kTextScale, float(rect.right - rect.left));
    DrawUiText(shown, float(rect.left), float(rect.top), hovered ? kHoveredTextColour : kTextColour, kTextScale);
    renderer.SetBlendOff();
}

String ListBox::EntryName(int32_t entry) const {
    if (entry == -1) return GetLanguageText("NoEntry");
    if (entry < 0 || entry >= items.Count()) return String();
    return items[entry];
}

String ListBox::EntryToolTip(int32_t, const IntRect&) const { return String(); }

void ListBox::FitWidth() {
    int32_t width = minimumWidth;
    for (const String& item : items) width = std::max(width, int32_t(MeasureText(item, kTextScale).x));
    // The caption is centred across the whole box, the scroll column too, clear of the
    // frame on either side.
    constexpr float kCaptionScale = 0.75f;  // as the tray draws it
    if (captionShown)
        width = std::max(width, int32_t(MeasureText(caption, kCaptionScale).x) + 2 * WindowFrame::kDefaultBorder -
                                    kScrollColumnWidth);
    cellSize.x = width;
}
