#pragma once
// The session's players standing in rows of four, each row centred across the screen:
// every player's figure in a box of its own with the name and any lines under it, and
// a turning ring of stars around each winner.
#include <cstdint>
#include <vector>

#include "core/IntRect.h"
#include "core/Point.h"
#include "core/String.h"
#include "engine/RendererRef.h"

class Player;
struct Sprite;

struct FigureRowEntry {
    Player* player = nullptr;  // none: the name and lines alone
    String name;
    std::vector<String> lines;
    bool winner = false;
};

class FigureRows {
public:
    static constexpr int32_t kPerRow = 4;
    static constexpr int32_t kColumnPixels = 240;
    // The server's waiting screen has a column of buttons 96 pixels in from its left side,
    // 64 pixels wide and half as wide again under the pointer: the rows stand clear of it
    // (and as far in from the right), their columns closer together on a narrow screen.
    static constexpr int32_t kSideMarginPixels = 96 + 48 + 8;
    // The side of a figure's box; less when three rows must fit.
    static constexpr int32_t kFigurePixels = 128;
    static constexpr int32_t kStarCount = 15;
    static constexpr int32_t kStarPixels = 32;

    // The figure box of entry `index` of `count`, the first row's boxes from firstRowY.
    static IntRect FigureBox(int32_t index, int32_t count, int32_t firstRowY);
    // Where star `star` of a winner's ring around `box` stands when the ring has turned by phase.
    static Point StarCentre(const IntRect& box, int32_t star, float phase);
    // The figures, then their names and lines at the screen camera.
    void Draw(const std::vector<FigureRowEntry>& entries, int32_t firstRowY, float frameTime);
    // The winners' rings: the ring turns by the frame time, in radians, on every call.
    void DrawStars(const std::vector<FigureRowEntry>& entries, int32_t firstRowY, float frameTime);

private:
    static int32_t TextPixels();
    static int32_t FigurePixels(int32_t count, int32_t firstRowY);
    Sprite* Star();

    RendererRef<Sprite> star_;  // owned by the renderer
    float starPhase_ = 0.0f;
};

FigureRows& GetFigureRows();
