#pragma once
// A window showing a scrolling grid of entries that its subclass supplies, with an
// optional row of most-recently-used entries above the grid, an optional scroll column
// (arrows and a handle) at its left, an optional caption under it, type-ahead search,
// and pulsing marks on the entries that match what was typed.
//
// The tray never acts on an entry itself: a click, a right click, a delete click or a
// typed Enter is posted as an event naming the entry, and the subclass acts on it in its
// command handler.
#include <cstdint>

#include "core/Array.h"
#include "core/IntRect.h"
#include "core/String.h"
#include "ui/Highlighter.h"
#include "ui/Window.h"

struct RecentEntry {
    String name;
    uint32_t stamp = 0;  // the frame counter when the entry was last used
};

class Tray : public Window {
public:
    static constexpr int32_t kCellGap = 4;
    static constexpr int32_t kScrollColumnWidth = 16;
    static constexpr int32_t kArrowSize = 16;
    static constexpr float kArrowRepeatSeconds = 0.1f;
    static constexpr float kTypeAheadSeconds = 2.5f;
    static constexpr float kTypeAheadMissSeconds = 0.5f;
    enum ScrollItem : int32_t { kDownArrow = 0, kUpArrow = 1, kHandle = 2 };

    // A tray of one cell, for windows that show their entries in their own way.
    explicit Tray(const String& windowName);
    Tray(const String& windowName, int32_t gridColumns, int32_t gridRows, const Point& cell, float hoverScaleFactor,
         bool shrink, bool withRecentRow);

    void Initialize() override;
    void CreateResources() override;
    void ReleaseResources() override;
    void OnOpen() override;
    void Refresh() override;
    void DrawContents() override;
    bool HandleMouse(const InputEvent& input) override;
    void HandleCommand(Event& event) override;
    void HitTestControls(const Point& point) override;
    void GetHighlightShape(const HighlightRequest& request, Highlighter& highlighter) override;
    void GetToolTip() override;

    virtual void ResetView();
    // The subclass refreshes its own data first.
    virtual void RebuildSource();
    virtual void DrawEntry(int32_t entry, const IntRect& rect, bool hovered);
    virtual String EntryName(int32_t entry) const;
    virtual String EntryToolTip(int32_t entry, const IntRect& rect) const;
    virtual bool IsEntryShown(int32_t entry) const;
    virtual int32_t EntryCount() const;

    // The first entry whose name equals the text exactly, or -1.
    int32_t FindEntryByName(const String& entryName) const;
    // Clamped to the last full page; true when the position changed.
    bool SetScroll(int32_t position);
    void ScrollBy(int32_t rows);
    void MarkMostRecentlyUsed(const String& entryName);
    void ClearRecentList() { recent.Clear(); }
    int32_t FindRecentEntry(const String& entryName) const;
    void SaveRecentList() { recentBackup = recent; }
    void RestoreRecentList() { recent = recentBackup; }
    // Set when a tutorial ends: the next rebuild puts the saved recent list back.
    bool restoreRecentList = false;
    // Rows of shown entries; 1 without columns.
    int32_t RowCount() const;
    // The grid's size in pixels for the current columns and rows.
    Point ComputeSize() const;
    // The entry in the visible cell under the point, -1 for an empty cell, -2 off the cells.
    int32_t EntryAt(const Point& point) const;
    int32_t RecentAt(const Point& point) const;
    // Whether a handle drag can run: more rows than fit and at least one column.
    bool CanScroll() const { return columns > 0 && RowCount() > rows; }

    bool captionShown = false;
    String caption;
    bool circleMarks = true;
    bool typeAhead = false;
    bool scrollColumn = false;
    bool recentRow = false;
    int32_t scrollPosition = 0;
    Array<IntRect> cellRects;
    Array<IntRect> recentRects;
    Array<int32_t> shownMap;
    int32_t shownCount = 0;
    bool autoShrink = false;
    Array<RecentEntry> recent;
    Array<RecentEntry> recentBackup;
    SpriteGrid* scrollControls = nullptr;
    Sprite* barSprite = nullptr;
    int32_t rightPressEntry = -1;
    int32_t deletePressEntry = -1;
    int32_t deletePressRecent = -1;
    int32_t grabPressEntry = -1;
    int32_t grabPressRecent = -1;
    int32_t rightPressRecent = -1;
    float repeatTimer = 0.0f;
    bool downHeld = false;
    bool upHeld = false;
    bool handleDrag = false;
    bool hadCapture = false;
    const IntRect* hoveredRect = nullptr;
    int32_t hoveredEntry = -1;
    float hoverScale = 1.0f;
    int32_t baseColumns = 1;
    int32_t baseRows = 1;
    int32_t columns = 1;
    int32_t rows = 1;
    Point cellSize = Point(32, 32);
    Highlighter marks;
    String typedText;
    float typeAheadTimer = 0.0f;
    int32_t refreshCount = 0;

protected:
    int32_t CaptionHeight() const;
    float FrameSeconds() const;

private:
    void PlaceScrollControls();
    IntRect UpArrowRect() const;
    IntRect DownArrowRect() const;
    int32_t TrackTop() const;
    int32_t TrackLength() const;
    bool HandleCharacter(const InputEvent& input);
    int32_t FindFirstStartingWith(const String& prefix) const;
    void HandleTick(const InputEvent& input);
    bool HandleLeftPress(const Point& p);
    void HandleLeftRelease(const Point& p);
    void AddEntryMark(const IntRect& rect, bool hovered);
    void DrawBar(int32_t y);
    IntRect ScaledRect(const IntRect& rect) const;
    bool IsValidEntry(int32_t entry) const { return entry >= 0 && entry < EntryCount(); }
};
