#pragma once
// The session's players standing in rows of four (more where the rows start low on the
// screen), each row centred across the screen:
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
    // A last line shown only with markShown; its room under the figure is kept either way,
    // so that nothing moves when it shows.
    String mark;
    bool markShown = false;
};

// A text under a figure as it is drawn: its top-left corner and its scale.
struct FigureText {
    String text;
    float x = 0.0f;
    float y = 0.0f;
    float scale = 1.0f;
};

// Where an entry stands: its figure's box and the texts under it, the name first and the
// mark's pieces last.
struct FigurePlace {
    IntRect figure;
    std::vector<FigureText> texts;
    size_t markTexts = 0;
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
    // The least room between the texts of neighbouring columns.
    static constexpr int32_t kTextGapPixels = 16;
    static constexpr int32_t kStarCount = 15;
    static constexpr int32_t kStarPixels = 32;

    // Every entry's figure box and texts, the first row's boxes from firstRowY. A text
    // wider than its column is broken between words, and a word that is still too wide
    // is drawn smaller, so that no text reaches into a neighbour's column.
    static std::vector<FigurePlace> Layout(const std::vector<FigureRowEntry>& entries, int32_t firstRowY);
    // Where star `star` of a winner's ring around `box` stands when the ring has turned by phase.
    static Point StarCentre(const IntRect& box, int32_t star, float phase);
    // The figures, then their names and lines at the screen camera; where they stood.
    std::vector<FigurePlace> Draw(const std::vector<FigureRowEntry>& entries, int32_t firstRowY, float frameTime);
    // The winners' rings round the figures where Draw placed them: the ring turns by the
    // frame time, in radians, on every call.
    void DrawStars(const std::vector<FigureRowEntry>& entries, const std::vector<FigurePlace>& places,
                   float frameTime);

private:
    Sprite* Star();

    RendererRef<Sprite> star_;  // owned by the renderer
    float starPhase_ = 0.0f;
};

FigureRows& GetFigureRows();
