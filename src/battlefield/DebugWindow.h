#pragma once
// The pattern debugger: while the game holds on a selected unit, every pattern of the unit
// shows as a small preview; the one it carries out and the one picked for debugging are
// ringed. Clicking a preview picks that pattern; "step" runs the game on with the
// debugger open, "play" runs it on and closes the debugger.
#include <cstdint>

#include "battlefield/PatternThumbnail.h"
#include "core/IntRect.h"
#include "ui/Window.h"

class SpriteGrid;
class Vorn;
struct Sprite;

class DebugWindow : public Window {
public:
    static constexpr int32_t kMaxCells = 16;
    static constexpr int32_t kCellSize = 48;
    static constexpr int32_t kCellPitch = kCellSize + 2;
    static constexpr int32_t kColumns = 8;
    enum Button : int32_t { kStep = 0, kPlay = 1 };

    DebugWindow();

    void CreateResources() override;
    void ReleaseResources() override;
    void SetVorn(Vorn* debugged);
    void Refresh() override;
    void OnOpen() override;
    void OnClose() override;
    void DrawContents() override;
    void HitTestControls(const Point& point) override;
    bool HandleMouse(const InputEvent& input) override;
    void HandleCommand(Event& event) override;
    void GetToolTip() override;

    // The first shown pattern whose cell holds the point (edges included), or -1.
    int32_t CellAt(const Point& point) const;
    // Patterns with a cell: the unit's, at most 16.
    int32_t ShownCount() const;

    Vorn* vorn = nullptr;
    int32_t hoveredCell = -1;
    int32_t pressedCell = -1;
    bool stepPressed = false;
    bool playPressed = false;
    IntRect cells[kMaxCells];

private:
    void DrawPattern(int32_t index, bool enlarged);
    bool OnButton(int32_t button, const Point& point) const;

    Sprite* currentRing_ = nullptr;
    Sprite* selectedRing_ = nullptr;
    Sprite* buttonSprites_[2] = {};
    SpriteGrid* buttons_ = nullptr;
    PatternThumbnail preview_;
};

DebugWindow& GetDebugWindow();
