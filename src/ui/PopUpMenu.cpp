// A ring of image buttons around a centre point.
#include "ui/PopUpMenu.h"

#include <algorithm>
#include <cmath>

#include "core/TextTable.h"
#include "engine/Font.h"
#include "engine/Renderer.h"
#include "engine/Sprite.h"
#include "engine/SpriteGrid.h"
#include "engine/TextFitting.h"
#include "game/Event.h"
#include "platform/window/Keys.h"
#include "ui/Highlighter.h"
#include "ui/UiServices.h"
#include "ui/WindowManager.h"

namespace {
constexpr float kOutlinePulse = 1.6f;
constexpr Color kTitleShadow = Color(0xFF0000FF);
constexpr float kTitleMargin = 2.0f;
constexpr float kHoverScale = 1.5f;

bool Overlap(const IntRect& a, const IntRect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// The hovered item's centre is moved by this much on each axis along which it lies away
// from the title's middle: the grown picture keeps its edges towards the title where they were.
Point HoverShift(const Point& place, const Point& from, int32_t width, int32_t height) {
    const int32_t quarterX = int32_t(float(width) * (kHoverScale - 1.0f) * 0.5f);
    const int32_t quarterY = int32_t(float(height) * (kHoverScale - 1.0f) * 0.5f);
    const int32_t dx = place.x - from.x, dy = place.y - from.y;
    return Point(dx >= quarterX ? quarterX : dx <= -quarterX ? -quarterX : 0,
                 dy >= quarterY ? quarterY : dy <= -quarterY ? -quarterY : 0);
}
}  // namespace

PopUpMenu::PopUpMenu(const String& windowName, int32_t itemPixels, float ringPixels)
    : Window(windowName), title(GetLanguageText("PickMenu")), itemSize(itemPixels), ringRadius(ringPixels) {
    frameShown = false;
}

void PopUpMenu::CreateResources() {
    items = GetRenderer().CreateSpriteGrid();
    items->SetLayoutMode(SpriteGrid::kLayoutCircle);
    items->SetRadius(ringRadius);
    const int32_t side = 2 * Reach();
    backgroundSprite = CreateUiSprite(side, side, "PopUpBackground.tga", Sprite::kAnchorCentre);
    TintSprite(backgroundSprite, kBackgroundTint);
    for (int i = 0; i < itemImages_.Count(); ++i) {
        AddItemSprite(CreateUiSprite(itemSize, itemSize, itemImages_[i], Sprite::kAnchorCentre), itemNames_[i]);
    }
    items->Layout(centre);
}

void PopUpMenu::ReleaseResources() {
    items = nullptr;
    backgroundSprite = nullptr;
    Window::ReleaseResources();
}

void PopUpMenu::AddItem(const String& image, const String& itemName) {
    itemImages_.Append(image);
    itemNames_.Append(itemName);
    if (!HasResources()) return;
    AddItemSprite(CreateUiSprite(itemSize, itemSize, image, Sprite::kAnchorCentre), itemName);
}

void PopUpMenu::AddItemSprite(Sprite* sprite, const String& itemName) {
    if (!HasResources()) EnsureResources();
    items->AddItem(sprite, itemName, true);
}

int32_t PopUpMenu::ItemCount() const { return HasResources() ? items->Count() : itemNames_.Count(); }

void PopUpMenu::OnOpen() {
    GetWindowManager().BringToFront(this);
    items->hovered = SpriteGrid::kNoItem;
    items->pressed = SpriteGrid::kNotPressed;
}

void PopUpMenu::DrawContents() {
    UseScreenCamera();
    DrawBackground();
    DrawTitle();
    DrawItems();
}

void PopUpMenu::DrawBackground() {
    if (backgroundSprite == nullptr) return;
    backgroundSprite->x = centre.x;
    backgroundSprite->y = centre.y;
    SetDepthAlways(true);
    GetRenderer().DrawSprite(*backgroundSprite);
    SetDepthAlways(false);
}

IntRect PopUpMenu::DrawnItemRect(int32_t index) const {
    if (items == nullptr || !items->IsValidIndex(index) || items->sprites[index] == nullptr) return IntRect();
    const Sprite& sprite = *items->sprites[index];
    const IntRect rest = sprite.GetScreenRect();
    if (index != items->hovered) return rest;
    const Point place = rest.GetCenter();
    const int32_t halfWidth = int32_t(float(sprite.width) * kHoverScale) / 2;
    const int32_t halfHeight = int32_t(float(sprite.height) * kHoverScale) / 2;
    IntRect grown(place.x - halfWidth, place.y - halfHeight, place.x + halfWidth, place.y + halfHeight);
    // The title may stand about the centre or below the ring: the item grows away from it.
    const IntRect title = TitleRect();
    if (!Overlap(grown, title)) return grown;
    const Point shift = HoverShift(place, title.GetCenter(), sprite.width, sprite.height);
    return IntRect(grown.left + shift.x, grown.top + shift.y, grown.right + shift.x, grown.bottom + shift.y);
}

void PopUpMenu::DrawItems() {
    Renderer& renderer = GetRenderer();
    renderer.SetAlphaBlend();
    // The grid draws its hovered item last and grown about the sprite's place: that place
    // moves for the one frame when growing there would cover the title.
    const int32_t hovered = items->hovered;
    Sprite* grown = items->IsValidIndex(hovered) && items->IsShown(hovered) ? items->sprites[hovered] : nullptr;
    Point shift;
    if (grown != nullptr) {
        shift = DrawnItemRect(hovered).GetCenter() - grown->GetScreenRect().GetCenter();
        grown->x += shift.x;
        grown->y += shift.y;
    }
    renderer.DrawSpriteGrid(*items, true);
    if (grown != nullptr) {
        grown->x -= shift.x;
        grown->y -= shift.y;
    }
    renderer.SetBlendOff();
}

void PopUpMenu::DrawItem(int32_t index) {
    if (items->IsValidIndex(index) && items->sprites[index] != nullptr)
        GetRenderer().DrawSprite(*items->sprites[index]);
}

// Lines reach at most to the middle of the items on either side, so a block of several
// of them stays within the disc, whose rim lies half an item further out.
float PopUpMenu::TitleWidth() const { return 2.0f * ringRadius + float(itemSize); }

float PopUpMenu::ClosedRingTitleWidth() const {
    const float clear = ringRadius - float(itemSize) * std::sqrt(0.5f) - kTitleMargin;
    const float halfBlock = FontLineHeight() * kTitleScale;
    return 2.0f * std::sqrt(std::max(clear * clear - halfBlock * halfBlock, 0.0f));
}

String PopUpMenu::ShownTitle() const {
    const float width = TitleWidth();
    StringArray paragraphs;
    title.Split(paragraphs, '\n');
    StringArray paragraph;
    StringArray lines;
    String shown;
    for (int p = 0; p < paragraphs.Count(); ++p) {
        paragraph.Clear();
        paragraph.Append(paragraphs[p]);
        SplitWords(paragraph, lines, GetFont(), kTitleScale, int32_t(width), 0);
        // A first word too wide for a line is put after an empty one.
        const int first = lines.Count() > 1 && lines[0].IsEmpty() ? 1 : 0;
        for (int k = first; k < lines.Count(); ++k) {
            if (p > 0 || k > first) shown += "\n";
            shown += WrapText(lines[k], GetFont(), kTitleScale, width);
        }
    }
    return shown;
}

IntRect PopUpMenu::TitleRect() const {
    const Vector2 size = MeasureText(ShownTitle(), kTitleScale);
    const int32_t halfWidth = int32_t(size.x * 0.5f) + 1;
    const int32_t height = int32_t(size.y) + 2;
    IntRect rect(centre.x - halfWidth, centre.y - height / 2, centre.x + halfWidth + 1, centre.y - height / 2 + height);
    if (items == nullptr) return rect;
    // The buttons are round: a title may reach into the empty corners of their squares.
    const auto covers = [&rect](const IntRect& item) {
        const Point middle = item.GetCenter();
        const float radius = float(item.right - item.left) * 0.5f;
        const float dx = float(std::clamp(middle.x, rect.left, rect.right) - middle.x);
        const float dy = float(std::clamp(middle.y, rect.top, rect.bottom) - middle.y);
        return dx * dx + dy * dy < radius * radius;
    };
    bool covered = false;
    int32_t lowest = centre.y;
    for (int i = 0; i < items->Count(); ++i) {
        if (!items->IsShown(i)) continue;
        const IntRect item = items->sprites[i]->GetScreenRect();
        covered = covered || covers(item);
        lowest = std::max(lowest, item.bottom);
    }
    if (!covered) return rect;
    constexpr int32_t kGap = 4;
    return IntRect(rect.left, lowest + kGap, rect.right, lowest + kGap + height);
}

void PopUpMenu::DrawTitle() {
    Renderer& renderer = GetRenderer();
    UseScreenCamera();
    renderer.SetAlphaBlend();
    StringArray lines;
    ShownTitle().Split(lines, '\n');
    const float lineHeight = FontLineHeight() * kTitleScale;
    const float top = float(TitleRect().top + 1);
    for (int k = 0; k < lines.Count(); ++k) {
        const float x = float(centre.x) - MeasureText(lines[k], kTitleScale).x * 0.5f;
        const float y = top + float(k) * lineHeight;
        DrawUiText(lines[k], x, y, kTitleShadow, kTitleScale);
        DrawUiText(lines[k], x + 1.0f, y + 1.0f, Color(0xFFFFFFFF), kTitleScale);
    }
    renderer.SetBlendOff();
}

IntRect PopUpMenu::ToolTipKeepClear() const { return TitleRect(); }

bool PopUpMenu::HandleMouse(const InputEvent& input) {
    const Point p(input.x, input.y);
    if (input.IsKeyDown(win::kKeyEscape)) {
        Event* event = PostEventString(kEventPickEntry, String());
        if (event != nullptr) event->value = -1;
        return true;
    }
    if (items == nullptr) return true;
    if (input.kind == kInputDown && input.code == kInputButtonLeft) {
        items->Press(p);
        if (items->pressed >= 0) PlaySound("MouseDown.ogg");
        return true;
    }
    if (input.kind == kInputUp && input.code == kInputButtonLeft) {
        const int32_t pressed = items->pressed;
        if (pressed >= 0) {
            const int released = items->Release(p);
            if (released == pressed) {
                Event* event = PostEventString(kEventPickEntry, items->names[released]);
                if (event != nullptr) event->value = released;
                return true;
            }
        }
        // The release of the click that opened the menu is not a click in it.
        if (pressed != SpriteGrid::kNotPressed) PostEvent(kEventAbortMenu);
        items->pressed = SpriteGrid::kNotPressed;
    }
    return true;
}

void PopUpMenu::HandleCommand(Event& event) {
    switch (event.type) {
        case kEventPickEntry:
            // A script or a peer may name an item the menu does not have.
            if (event.value < -1 || event.value >= ItemCount()) return;
            if (event.value != -1) PlaySound("MouseUp.ogg");
            OnChoice(event.value);
            break;
        case kEventAbortMenu: GetWindowManager().CloseWindow(this); break;
        default: Window::HandleCommand(event);
    }
}

void PopUpMenu::HitTestControls(const Point& point) {
    if (items != nullptr) items->UpdateHover(point);
    Window::HitTestControls(point);
}

void PopUpMenu::GetHighlightShape(const HighlightRequest& request, Highlighter& highlighter) {
    if (request.kind == 0 || (request.kind == 1 && request.name.EqualsNoCase("#Outline"))) {
        highlighter.AddCircleAt(items != nullptr ? items->origin : centre, float(itemSize) + ringRadius, kOutlinePulse);
        return;
    }
    if (request.kind == 1 && items != nullptr) {
        for (int i = 0; i < items->Count(); ++i) {
            if (!items->names[i].EqualsNoCase(request.name.CStr()) || items->sprites[i] == nullptr) continue;
            highlighter.AddWindowShape(*items, *items->sprites[i]);
            return;
        }
    }
    Window::GetHighlightShape(request, highlighter);
}

void PopUpMenu::MoveTo(const Point& point) {
    const int32_t r = Reach();
    SetRect(IntRect(point.x - r, point.y - r, point.x + r, point.y + r));
    Window::MoveTo(Point(point.x - r, point.y - r));
    centre = GetCenter();
    // Moving comes before opening, so the ring may still be the previous renderer's.
    if (HasResources()) items->Layout(centre);
}
