// A window of entries in a scrolling grid.
#include "ui/Tray.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "core/TextTable.h"
#include "engine/Mouse.h"
#include "engine/Renderer.h"
#include "engine/ScreenLayout.h"
#include "engine/Sprite.h"
#include "engine/SpriteGrid.h"
#include "game/Event.h"
#include "game/Game.h"
#include "ui/ToolTip.h"
#include "ui/UiServices.h"
#include "ui/WindowManager.h"

namespace {

constexpr Point kHomePosition(44, 686);
constexpr Color kMarkColourA = Color(0x60800000);
constexpr Color kMarkColourB = Color(0xC0FF0000);
constexpr Color kCaptionColour = Color(0xFF7BBDFE);
constexpr float kCaptionScale = 0.75f;
constexpr float kCircleMarkPulse = 0.4f;
constexpr float kRectMarkPulse = 0.8f;
constexpr float kRecentRowPulse = 1.0f;
constexpr int32_t kBarHeight = 3;
constexpr int32_t kCharacterEnter = 13;

bool IsTypeAheadKey(int32_t code) {
    return (code >= 'A' && code <= 'Z') || (code >= '0' && code <= '9') || code == kCharacterEnter;
}

IntRect SquareAround(const Point& centre, int32_t size) {
    return IntRect(centre.x - size / 2, centre.y - size / 2, centre.x + size / 2, centre.y + size / 2);
}

}  // namespace

Tray::Tray(const String& windowName) : Window(windowName) {
    closeButton = true;
    movable = true;
    resizable = false;
    frameShown = true;
    backgroundShown = true;
    marks.colourA = kMarkColourA;
    marks.colourB = kMarkColourB;
}

Tray::Tray(const String& windowName, int32_t gridColumns, int32_t gridRows, const Point& cell, float hoverScaleFactor,
           bool shrink, bool withRecentRow)
    : Tray(windowName) {
    baseColumns = columns = gridColumns;
    baseRows = rows = gridRows;
    cellSize = cell;
    hoverScale = hoverScaleFactor;
    autoShrink = shrink;
    recentRow = withRecentRow;
}

void Tray::Initialize() {
    Window::Initialize();
    MoveTo(kHomePosition);
    Resize(ComputeSize());
    scrollPosition = 0;
    Refresh();
}

void Tray::CreateResources() {
    scrollControls = GetRenderer().CreateSpriteGrid();
    scrollControls->SetLayoutMode(SpriteGrid::kLayoutFree);
    scrollControls->hovered = SpriteGrid::kNoItem;
    scrollControls->pressed = SpriteGrid::kNotPressed;
    scrollControls->AddItem(CreateUiSprite(kArrowSize, kArrowSize, "DownArrow.tga", Sprite::kAnchorCentre), "", true);
    scrollControls->AddItem(CreateUiSprite(kArrowSize, kArrowSize, "UpArrow.tga", Sprite::kAnchorCentre), "", true);
    scrollControls->AddItem(CreateUiSprite(kArrowSize, kArrowSize, "Handle.tga", Sprite::kAnchorCentre), "", true);
    barSprite = CreateUiSprite(1, 1, "WindowTop.tga", Sprite::kAnchorTopLeft);
    PlaceScrollControls();
}

void Tray::ReleaseResources() {
    scrollControls = nullptr;
    barSprite = nullptr;
    Window::ReleaseResources();
}

void Tray::OnOpen() { typedText.Clear(); }

int32_t Tray::CaptionHeight() const { return captionShown ? int32_t(FontLineHeight() * kCaptionScale + 4.0f) : 0; }

float Tray::FrameSeconds() const {
    const Game* game = CurrentGame();
    return game != nullptr ? game->frameTime : Game::kMinFrameTime;
}

Point Tray::ComputeSize() const {
    int32_t width = columns * (cellSize.x + kCellGap) - kCellGap;
    if (scrollColumn) width += kScrollColumnWidth;
    int32_t height = rows * (cellSize.y + kCellGap) - kCellGap;
    if (recentRow) height += cellSize.y + kCellGap;
    height += CaptionHeight();
    return Point(std::max(width, 4), std::max(height, 4));
}

int32_t Tray::RowCount() const { return columns > 0 ? (shownCount - 1) / columns + 1 : 1; }

void Tray::Refresh() {
    ++refreshCount;
    RebuildSource();
    if (restoreRecentList) {
        restoreRecentList = false;
        RestoreRecentList();
    }
    scrollPosition = 0;
    for (int i = recent.Count() - 1; i >= 0; --i) {
        if (FindEntryByName(recent[i].name) < 0) recent.RemoveAt(i);
    }
    const int32_t count = EntryCount();
    shownMap.Clear();
    for (int32_t i = 0; i < count; ++i) {
        if (IsEntryShown(i)) shownMap.Append(i);
    }
    shownCount = shownMap.Count();
    while (shownMap.Count() < count) shownMap.Append(-1);
    columns = baseColumns;
    rows = baseRows;
    if (autoShrink && shownCount < baseColumns) {
        columns = shownCount;
        rows = 1;
    } else if (autoShrink) {
        rows = std::min((shownCount - 1) / columns + 1, baseRows);
    }
    Resize(ComputeSize());
    PlaceScrollControls();
    const int32_t x0 = scrollColumn ? left + kScrollColumnWidth : left;
    cellRects.Clear();
    int32_t y = top + (recentRow ? cellSize.y + kCellGap : 0);
    for (int32_t row = 0; row < rows; ++row) {
        int32_t x = x0;
        for (int32_t column = 0; column < columns; ++column) {
            cellRects.Append(IntRect(x, y, x + cellSize.x, y + cellSize.y));
            x += cellSize.x + kCellGap;
        }
        y += cellSize.y + kCellGap;
    }
    recentRects.Clear();
    int32_t x = x0;
    for (int i = 0; recentRow && i < recent.Count(); ++i) {
        recentRects.Append(IntRect(x, top, x + cellSize.x, top + cellSize.y));
        x += cellSize.x + kCellGap;
    }
}

IntRect Tray::UpArrowRect() const {
    return SquareAround(Point(left + kArrowSize / 2, top + kArrowSize / 2 + (recentRow ? cellSize.y + kCellGap : 0)),
                        kArrowSize);
}

IntRect Tray::DownArrowRect() const {
    return SquareAround(Point(left + kArrowSize / 2, bottom - kArrowSize / 2 - CaptionHeight()), kArrowSize);
}

int32_t Tray::TrackTop() const { return UpArrowRect().GetCenter().y + kArrowSize; }

int32_t Tray::TrackLength() const { return DownArrowRect().GetCenter().y - kArrowSize - TrackTop(); }

void Tray::PlaceScrollControls() {
    if (scrollControls == nullptr || !scrollColumn) return;
    const Point up = UpArrowRect().GetCenter();
    const Point down = DownArrowRect().GetCenter();
    scrollControls->sprites[kUpArrow]->x = up.x;
    scrollControls->sprites[kUpArrow]->y = up.y;
    scrollControls->sprites[kDownArrow]->x = down.x;
    scrollControls->sprites[kDownArrow]->y = down.y;
}

bool Tray::SetScroll(int32_t position) {
    const int32_t last = (RowCount() - rows) * columns;
    int32_t clamped = position;
    if (clamped > last) clamped = last;
    if (clamped < 0) clamped = 0;
    const bool changed = clamped != scrollPosition;
    scrollPosition = clamped;
    return changed;
}

void Tray::ScrollBy(int32_t rowsUp) {
    if (SetScroll(scrollPosition - columns * rowsUp)) PlaySound("MouseWheel.ogg");
}

void Tray::DrawBar(int32_t y) {
    if (barSprite == nullptr) return;
    TintSprite(barSprite, frame.colour);
    Matrix4 matrix;
    matrix[0] = float(right - left + 1);
    matrix[5] = float(kBarHeight);
    matrix[12] = float(left);
    matrix[13] = float(y);
    GetRenderer().DrawSpriteTransformed(*barSprite, matrix);
}

IntRect Tray::ScaledRect(const IntRect& rect) const {
    const float halfWidth = float(rect.right - rect.left) * hoverScale * 0.5f;
    const float halfHeight = float(rect.bottom - rect.top) * hoverScale * 0.5f;
    const float cx = float(rect.left + rect.right) * 0.5f;
    const float cy = float(rect.top + rect.bottom) * 0.5f;
    return IntRect(int32_t(cx - halfWidth), int32_t(cy - halfHeight), int32_t(cx + halfWidth),
                   int32_t(cy + halfHeight));
}

void Tray::AddEntryMark(const IntRect& rect, bool hovered) {
    if (circleMarks) {
        const float width = hovered ? float(cellSize.x) * hoverScale : float(rect.right - rect.left + 1);
        marks.AddCircleAt(rect.GetCenter(), 0.5f * width, kCircleMarkPulse);
    } else {
        marks.AddIntRect(hovered ? ScaledRect(rect) : rect, kRectMarkPulse);
    }
}

void Tray::DrawContents() {
    Renderer& renderer = GetRenderer();
    UseScreenCamera();
    if (captionShown) {
        DrawBar(bottom - cellSize.y);
        renderer.SetAlphaBlend();
        const Vector2 size = MeasureText(caption, kCaptionScale);
        DrawUiText(caption, float(left) + (float(right - left + 1) - size.x) * 0.5f,
                   float(bottom) - FontLineHeight() * kCaptionScale, kCaptionColour, kCaptionScale);
        renderer.SetBlendOff();
    }
    if (recentRow) DrawBar(top + cellSize.y);
    if (scrollColumn && scrollControls != nullptr) {
        const bool upShown = scrollPosition > 0;
        const bool downShown = rows * columns + scrollPosition < shownCount;
        scrollControls->SetItemVisible(kUpArrow, upShown);
        scrollControls->SetItemVisible(kDownArrow, downShown);
        scrollControls->SetItemVisible(kHandle, (upShown || downShown) && CanScroll());
        if (CanScroll()) {
            Sprite* handle = scrollControls->sprites[kHandle];
            handle->x = left + kArrowSize / 2;
            const float step = float(TrackLength()) / float(RowCount() - rows);
            handle->y = int32_t(float(TrackTop()) + float(scrollPosition / columns) * step);
        }
        if (handleDrag) scrollControls->hovered = kHandle;
        renderer.SetAlphaBlend();
        renderer.DrawSpriteGrid(*scrollControls, true);
        renderer.SetBlendOff();
    }
    SetDepthTest(false);
    const bool typing = !typedText.IsEmpty();
    const int32_t cells = std::min(cellRects.Count(), columns * rows);
    for (int32_t i = 0; i < cells; ++i) {
        const int32_t at = scrollPosition + i;
        if (at >= shownMap.Count() || shownMap[at] < 0) continue;
        const int32_t entry = shownMap[at];
        if (typing && EntryName(entry).StartsWithNoCase(typedText)) AddEntryMark(cellRects[i], false);
        DrawEntry(entry, cellRects[i], false);
    }
    for (int i = 0; i < recent.Count() && i < recentRects.Count(); ++i) {
        const int32_t entry = FindEntryByName(recent[i].name);
        if (typing && recent[i].name.StartsWithNoCase(typedText)) AddEntryMark(recentRects[i], false);
        DrawEntry(entry, recentRects[i], false);
    }
    if (hoveredRect != nullptr && hoveredEntry >= 0) DrawEntry(hoveredEntry, ScaledRect(*hoveredRect), true);
    renderer.DisableLighting();
    marks.Draw(1.0f);
    SetDepthTest(true);
    marks.Clear();
    hoveredEntry = -1;
    hoveredRect = nullptr;
}

int32_t Tray::EntryAt(const Point& point) const {
    const int32_t cells = std::min(cellRects.Count(), columns * rows);
    for (int32_t i = 0; i < cells; ++i) {
        if (!cellRects[i].Contains(point)) continue;
        const int32_t at = scrollPosition + i;
        return at < shownMap.Count() ? shownMap[at] : -1;
    }
    return -2;
}

int32_t Tray::RecentAt(const Point& point) const {
    for (int i = 0; i < recentRects.Count() && i < recent.Count(); ++i) {
        if (recentRects[i].Contains(point)) return i;
    }
    return -1;
}

bool Tray::HandleCharacter(const InputEvent& input) {
    if (!typeAhead) return true;
    const char c = char(std::tolower(static_cast<unsigned char>(input.code)));
    if (c == '-' || c == '_') {
        ScrollBy(1);
    } else if (c == '+' || c == '=') {
        ScrollBy(-1);
    } else if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) {
        typedText += String::FromChar(c);
        typeAheadTimer = kTypeAheadSeconds;
        const int32_t match = FindFirstStartingWith(typedText);
        if (match >= 0) {
            const int32_t position = columns > 0 ? match / columns * columns : 0;
            PostEventInt(kEventSetScroller, position);
            PostEventString(kEventPlaceMouseInTray, typedText);
        } else {
            typeAheadTimer = kTypeAheadMissSeconds;
        }
    } else if (input.code == kCharacterEnter && typeAheadTimer > 0.0f) {
        const int32_t match = FindFirstStartingWith(typedText);
        if (match >= 0) {
            Event* event = PostEventString(kEventPickTrayEntry, EntryName(match));
            if (event != nullptr) {
                event->value = match;
                event->point = Point(input.x, input.y);
            }
        }
    }
    return true;
}

int32_t Tray::FindFirstStartingWith(const String& prefix) const {
    if (prefix.IsEmpty()) return -1;
    const int32_t count = EntryCount();
    for (int32_t i = 0; i < count; ++i) {
        if (IsEntryShown(i) && EntryName(i).StartsWithNoCase(prefix)) return i;
    }
    return -1;
}

void Tray::HandleTick(const InputEvent& input) {
    const float seconds = FrameSeconds();
    typeAheadTimer -= seconds;
    if (typeAheadTimer <= 0.0f) {
        typeAheadTimer = 0.0f;
        typedText.Clear();
    }
    const Point p(input.x, input.y);
    if ((upHeld && UpArrowRect().Contains(p)) || (downHeld && DownArrowRect().Contains(p))) {
        repeatTimer += seconds;
        if (repeatTimer > kArrowRepeatSeconds) {
            PostEvent(upHeld ? kEventScrollUp : kEventScrollDown);
            repeatTimer = 0.0f;
        }
    }
    if (handleDrag && CanScroll() && TrackLength() > 0) {
        const int32_t pages = RowCount() - rows;
        const float rowHeight = float(TrackLength()) / float(pages);
        const int32_t row = std::clamp(int32_t(float(p.y - TrackTop()) / rowHeight), 0, pages);
        PostEventInt(kEventSetScroller, columns * row);
    }
}

bool Tray::HandleLeftPress(const Point& p) {
    WindowManager& manager = GetWindowManager();
    if (scrollColumn && UpArrowRect().Contains(p)) {
        PostEvent(kEventScrollUp);
        repeatTimer = 0.0f;
        upHeld = true;
        manager.BringToFront(this);
        PlaySound("MouseDown.ogg");
        return true;
    }
    if (scrollColumn && DownArrowRect().Contains(p)) {
        PostEvent(kEventScrollDown);
        repeatTimer = 0.0f;
        downHeld = true;
        manager.BringToFront(this);
        PlaySound("MouseDown.ogg");
        return true;
    }
    if (scrollColumn && p.x >= left && p.x < left + kScrollColumnWidth) {
        // A list that fits its rows has nothing to drag: the press is only taken.
        if (!CanScroll()) return true;
        repeatTimer = 0.0f;
        handleDrag = true;
        hadCapture = manager.IsCapturingMouse(this);
        manager.BringToFront(this);
        PlaySound("MouseDown.ogg");
        return true;
    }
    const int32_t recentIndex = RecentAt(p);
    if (recentIndex >= 0) {
        PlaySound("MouseDown.ogg");
        grabPressRecent = recentIndex;
        Event* event = PostEventString(kEventGrabTrayEntry, recent[recentIndex].name);
        if (event != nullptr) {
            event->value = FindEntryByName(recent[recentIndex].name);
            event->point = p;
        }
        return true;
    }
    const int32_t entry = EntryAt(p);
    if (entry >= 0) {
        grabPressEntry = entry;
        PlaySound("MouseDown.ogg");
        Event* event = PostEventString(kEventGrabTrayEntry, EntryName(entry));
        if (event != nullptr) {
            event->value = entry;
            event->point = p;
        }
        return true;
    }
    Event* event = PostEventString(kEventPickTrayEntry, GetLanguageText("NoEntry"));
    if (event != nullptr) {
        event->value = -1;
        event->point = p;
    }
    return true;
}

void Tray::HandleLeftRelease(const Point& p) {
    WindowManager& manager = GetWindowManager();
    if (grabPressEntry >= 0 && EntryAt(p) == grabPressEntry && IsValidEntry(grabPressEntry)) {
        PlaySound("MouseUp.ogg");
        Event* event = PostEventString(kEventPickTrayEntry, EntryName(grabPressEntry));
        if (event != nullptr) {
            event->value = grabPressEntry;
            event->point = p;
        }
    } else if (grabPressRecent >= 0 && grabPressRecent < recent.Count() && RecentAt(p) == grabPressRecent) {
        PlaySound("MouseUp.ogg");
        Event* event = PostEventString(kEventPickTrayEntry, recent[grabPressRecent].name);
        if (event != nullptr) {
            event->value = FindEntryByName(recent[grabPressRecent].name);
            event->point = p;
        }
    }
    grabPressEntry = -1;
    grabPressRecent = -1;
    GetMouse().ShowCursor();
    repeatTimer = 0.0f;
    if (upHeld || downHeld) {
        upHeld = downHeld = false;
        manager.RemoveFromFocusOrder(this);
        PlaySound("MouseUp.ogg");
    }
    if (handleDrag) {
        handleDrag = false;
        if (!hadCapture) manager.RemoveFromFocusOrder(this);
        PlaySound("MouseUp.ogg");
    }
}

bool Tray::HandleMouse(const InputEvent& input) {
    if (Window::HandleMouse(input)) return true;
    const Point p(input.x, input.y);
    if (input.kind == kInputWheel) {
        ScrollBy(input.code);
        return true;
    }
    if (input.kind == kInputCharacter) return HandleCharacter(input);
    if (typeAhead && input.kind == kInputDown && IsTypeAheadKey(input.code)) return true;
    if (input.kind == kInputFrameTick) {
        HandleTick(input);
        return true;
    }
    const int32_t cellEntry = EntryAt(p);
    const int32_t entry = IsValidEntry(cellEntry) ? cellEntry : -1;
    const int32_t recentIndex = RecentAt(p);
    const int32_t recentEntry = recentIndex >= 0 ? FindEntryByName(recent[recentIndex].name) : -1;
    if (input.IsKeyDown(Mouse::kCodeDelete)) {
        deletePressEntry = entry;
        deletePressRecent = IsValidEntry(recentEntry) ? recentEntry : -1;
        return true;
    }
    if (input.IsKeyUp(Mouse::kCodeDelete)) {
        int32_t target = -1;
        if (deletePressEntry >= 0 && deletePressEntry == entry) target = entry;
        if (deletePressRecent >= 0 && deletePressRecent == recentEntry) target = recentEntry;
        deletePressEntry = deletePressRecent = -1;
        if (target >= 0) PostEventString(kEventDeleteTrayEntry, EntryName(target));
        return true;
    }
    if (input.kind == kInputDown && input.code == kInputButtonRight) {
        rightPressEntry = entry;
        rightPressRecent = recentEntry;
        PlaySound("MouseDown.ogg");
        return true;
    }
    if (input.kind == kInputUp && input.code == kInputButtonRight) {
        int32_t target = -1;
        if (rightPressEntry >= 0 && rightPressEntry == entry) target = entry;
        if (rightPressRecent >= 0 && rightPressRecent == recentEntry) target = recentEntry;
        rightPressEntry = rightPressRecent = -1;
        if (target >= 0) {
            PlaySound("MouseUp.ogg");
            PostEventString(kEventEditTrayEntry, EntryName(target));
        }
        return false;
    }
    if (input.IsKeyDown(27)) {
        Event* event = PostEventString(kEventPickTrayEntry, String());
        if (event != nullptr) {
            event->value = -1;
            event->point = p;
        }
        return true;
    }
    if (input.kind == kInputDown && input.code == kInputButtonLeft) return HandleLeftPress(p);
    if (input.kind == kInputUp && input.code == kInputButtonLeft) {
        HandleLeftRelease(p);
        return true;
    }
    return IsCameraInput(input, GetMouse());
}

void Tray::HandleCommand(Event& event) {
    switch (event.type) {
        case kEventScrollUp: SetScroll(scrollPosition - columns); break;
        case kEventScrollDown: SetScroll(scrollPosition + columns); break;
        case kEventSetScroller: SetScroll(event.value); break;
        case kEventPlaceMouseInTray: {
            const int32_t cells = std::min(cellRects.Count(), columns * rows);
            for (int32_t i = 0; i < cells; ++i) {
                const int32_t at = scrollPosition + i;
                if (at >= shownMap.Count() || shownMap[at] < 0) continue;
                if (!EntryName(shownMap[at]).EqualsNoCase(event.text.CStr())) continue;
                MovePointer(cellRects[i].GetCenter());
                break;
            }
            break;
        }
        default: Window::HandleCommand(event);
    }
}

void Tray::HitTestControls(const Point& point) {
    const int32_t cells = std::min(cellRects.Count(), columns * rows);
    for (int32_t i = 0; i < cells; ++i) {
        const int32_t at = scrollPosition + i;
        if (at >= shownCount || !cellRects[i].Contains(point)) continue;
        hoveredRect = &cellRects[i];
        hoveredEntry = at < shownMap.Count() ? shownMap[at] : -1;
        return;
    }
    const int32_t recentIndex = RecentAt(point);
    if (recentIndex >= 0) {
        hoveredRect = &recentRects[recentIndex];
        hoveredEntry = FindEntryByName(recent[recentIndex].name);
        return;
    }
    if (scrollColumn && scrollControls != nullptr) {
        if (handleDrag) {
            scrollControls->hovered = kHandle;
        } else {
            scrollControls->UpdateHover(point);
        }
        if (scrollControls->hovered >= 0) return;
    }
    Window::HitTestControls(point);
}

void Tray::GetHighlightShape(const HighlightRequest& request, Highlighter& highlighter) {
    if (request.kind != 1) {
        Window::GetHighlightShape(request, highlighter);
        return;
    }
    const int32_t x0 = scrollColumn ? left + kScrollColumnWidth : left;
    if (request.name.EqualsNoCase("#MostRecentlyUsedOutline")) {
        highlighter.AddIntRect(IntRect(x0, top, x0 + columns * (cellSize.x + kCellGap) - kCellGap, top + cellSize.y),
                               kRecentRowPulse);
        return;
    }
    bool found = false;
    const int32_t cells = std::min(cellRects.Count(), columns * rows);
    for (int32_t i = 0; i < cells && !found; ++i) {
        const int32_t at = scrollPosition + i;
        if (at >= shownMap.Count() || shownMap[at] < 0) continue;
        if (!EntryName(shownMap[at]).EqualsNoCase(request.name.CStr())) continue;
        AddEntryMark(cellRects[i], false);
        found = true;
    }
    for (int i = 0; i < recent.Count() && i < recentRects.Count(); ++i) {
        if (!recent[i].name.EqualsNoCase(request.name.CStr())) continue;
        AddEntryMark(recentRects[i], false);
        found = true;
    }
    // The marks were added to the tray's own list; a tutorial asks with its own.
    if (found) {
        for (const HighlightMark& mark : marks.marks) highlighter.marks.Append(mark);
        marks.Clear();
        return;
    }
    Window::GetHighlightShape(request, highlighter);
}

void Tray::GetToolTip() {
    const Point mouse = GetMouse().position;
    const int32_t entry = EntryAt(mouse);
    if (entry >= 0) {
        const int32_t cells = std::min(cellRects.Count(), columns * rows);
        for (int32_t i = 0; i < cells; ++i) {
            if (!cellRects[i].Contains(mouse)) continue;
            const bool hovered = hoveredRect == &cellRects[i];
            const IntRect rect = hovered ? ScaledRect(cellRects[i]) : cellRects[i];
            ::GetToolTip().Set(EntryToolTip(entry, rect), rect);
            return;
        }
    }
    const int32_t recentIndex = RecentAt(mouse);
    if (recentIndex >= 0) {
        const int32_t recentEntry = FindEntryByName(recent[recentIndex].name);
        if (recentEntry >= 0) {
            ::GetToolTip().Set(EntryToolTip(recentEntry, recentRects[recentIndex]), recentRects[recentIndex]);
            return;
        }
    }
    Window::GetToolTip();
}

void Tray::ResetView() {
    scrollPosition = 0;
    cellRects.Clear();
    recentRects.Clear();
}

void Tray::RebuildSource() {}
void Tray::DrawEntry(int32_t, const IntRect&, bool) {}
String Tray::EntryName(int32_t) const { return String(); }
String Tray::EntryToolTip(int32_t, const IntRect&) const { return String(); }
bool Tray::IsEntryShown(int32_t) const { return true; }
int32_t Tray::EntryCount() const { return 0; }

int32_t Tray::FindEntryByName(const String& entryName) const {
    const int32_t count = EntryCount();
    for (int32_t i = 0; i < count; ++i) {
        if (EntryName(i) == entryName) return i;
    }
    return -1;
}

int32_t Tray::FindRecentEntry(const String& entryName) const {
    for (int i = 0; i < recent.Count(); ++i) {
        if (recent[i].name == entryName) return i;
    }
    return -1;
}

void Tray::MarkMostRecentlyUsed(const String& entryName) {
    const int32_t entry = FindEntryByName(entryName);
    if (entry < 0) return;
    const String name = EntryName(entry);
    const uint32_t now = UiFrameCounter();
    int found = -1;
    for (int i = 0; i < recent.Count() && found < 0; ++i) {
        if (recent[i].name.EqualsNoCase(name.CStr())) found = i;
    }
    if (found >= 0) {
        recent[found].stamp = now;
    } else if (recent.Count() < std::max(columns, 1)) {
        recent.Append(RecentEntry{name, now});
    } else {
        int oldest = 0;
        for (int i = 1; i < recent.Count(); ++i) {
            if (recent[i].stamp < recent[oldest].stamp) oldest = i;
        }
        recent[oldest] = RecentEntry{name, now};
    }
    std::sort(recent.begin(), recent.end(),
              [](const RecentEntry& a, const RecentEntry& b) { return String::CompareNoCase(a.name, b.name) < 0; });
    const int32_t position = scrollPosition;
    Refresh();
    SetScroll(position);
}
