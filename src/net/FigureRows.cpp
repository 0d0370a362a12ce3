#include "net/FigureRows.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "core/MathUtil.h"
#include "engine/Renderer.h"
#include "engine/Sprite.h"
#include "game/Player.h"
#include "game/PlayerRoster.h"
#include "modes/PlayerFigure.h"
#include "ui/UiServices.h"
#include "units/ChassisTable.h"
#include "units/OwnerColours.h"
#include "units/Vorn.h"

namespace {

constexpr float kNameScale = 0.75f;
constexpr float kLineScale = 0.5f;
// Room is kept for the name and this many lines under every figure, so that the figures
// stand alike on every screen; more lines take more.
constexpr int32_t kLinesUnderName = 2;
constexpr int32_t kRowGap = 8;
// The chat window and the buttons below the rows.
constexpr int32_t kBottomBand = 160;
constexpr int32_t kSmallestFigurePixels = 48;
// A word too wide for its column is drawn smaller, down to this share of its scale.
constexpr float kLeastShrink = 0.05f;
constexpr int32_t kShrinkSteps = 32;

float TextWidth(const String& text, float scale) { return MeasureText(text, scale).x; }

// The text's words; with byComma, its phrases instead, each ending at a comma, so that a
// count stays with the word it counts.
std::vector<String> Parts(const String& text, bool byComma) {
    std::vector<String> parts;
    bool open = false;
    int32_t start = -1;
    for (int32_t i = 0; i <= text.CharCount(); ++i) {
        const bool space = i == text.CharCount() || text[i] == ' ';
        if (!space && start < 0) start = i;
        if (!space || start < 0) continue;
        const String word = text.Substring(start, i - start);
        if (open) {
            parts.back() = parts.back() + " " + word;
        } else {
            parts.push_back(word);
        }
        open = byComma && text[i - 1] != ',';
        start = -1;
    }
    return parts;
}

// The parts joined into as few pieces as fit within `room`, each part whole.
std::vector<String> Pack(const std::vector<String>& parts, float scale, float room) {
    std::vector<String> pieces;
    for (const String& part : parts) {
        const String joined = pieces.empty() ? String() : pieces.back() + " " + part;
        if (!pieces.empty() && TextWidth(joined, scale) <= room) {
            pieces.back() = joined;
        } else {
            pieces.push_back(part);
        }
    }
    return pieces;
}

// The pieces a text is drawn in to stay within `room` pixels: the whole text when it
// fits, else as many phrases to a piece as fit, a phrase too wide broken between its
// words; a piece of one word that is still too wide is drawn smaller until it fits.
void Fit(const String& text, float scale, float room, std::vector<FigureText>& texts) {
    if (text.IsEmpty()) return;
    std::vector<String> pieces;
    if (TextWidth(text, scale) <= room) {
        pieces.push_back(text);
    } else {
        for (const String& phrase : Pack(Parts(text, true), scale, room)) {
            const std::vector<String> words = TextWidth(phrase, scale) <= room
                                                  ? std::vector<String>{phrase}
                                                  : Pack(Parts(phrase, false), scale, room);
            pieces.insert(pieces.end(), words.begin(), words.end());
        }
    }
    for (const String& piece : pieces) {
        FigureText shown;
        shown.text = piece;
        shown.scale = scale;
        for (int32_t step = 0; step < kShrinkSteps && shown.scale > kLeastShrink * scale; ++step) {
            const float width = TextWidth(piece, shown.scale);
            if (width <= room) break;
            shown.scale = std::max(kLeastShrink * scale, shown.scale * std::min(room / width, 0.95f));
        }
        texts.push_back(shown);
    }
}

// A text's height in whole pixels, so that the next one starts below its last pixel row.
int32_t TextHeight(const FigureText& text) { return static_cast<int32_t>(std::ceil(text.scale * FontLineHeight())); }

int32_t StackHeight(const std::vector<FigureText>& texts) {
    int32_t height = 0;
    for (const FigureText& text : texts) height += TextHeight(text);
    return height;
}

}  // namespace

std::vector<FigurePlace> FigureRows::Layout(const std::vector<FigureRowEntry>& entries, int32_t firstRowY) {
    const int32_t count = static_cast<int32_t>(entries.size());
    std::vector<FigurePlace> places(entries.size());
    if (count == 0) return places;
    const IntRect screen = UiScreenRect();
    const int32_t reserved =
        static_cast<int32_t>(std::ceil((kNameScale + kLinesUnderName * kLineScale) * FontLineHeight()));
    // Rows that start too low for rows of four to stay clear of the band at the bottom,
    // even with the smallest figures, take more figures each. They stand below the side
    // buttons of every screen, and have the width to themselves.
    const int32_t room = screen.bottom - kBottomBand - firstRowY;
    int32_t perRow = kPerRow;
    while (perRow < count && (count + perRow - 1) / perRow * (kSmallestFigurePixels + reserved + kRowGap) > room)
        ++perRow;
    const int32_t margin = perRow > kPerRow ? kTextGapPixels : kSideMarginPixels;
    const int32_t rows = (count + perRow - 1) / perRow;
    // Fewer figures to a row stand further apart, up to the widest column.
    const int32_t widestRow = std::min(count, perRow);
    const int32_t column =
        std::clamp((screen.right - screen.left + 1 - 2 * margin) / widestRow, kSmallestFigurePixels, kColumnPixels);
    const float textRoom = static_cast<float>(column - kTextGapPixels);
    for (int32_t i = 0; i < count; ++i) {
        const FigureRowEntry& entry = entries[static_cast<size_t>(i)];
        FigurePlace& place = places[static_cast<size_t>(i)];
        Fit(entry.name, kNameScale, textRoom, place.texts);
        for (const String& line : entry.lines) Fit(line, kLineScale, textRoom, place.texts);
        const size_t unmarked = place.texts.size();
        Fit(entry.mark, kLineScale, textRoom, place.texts);
        place.markTexts = place.texts.size() - unmarked;
    }
    // Each row keeps room for its tallest stack of texts.
    std::vector<int32_t> textPixels(static_cast<size_t>(rows), reserved);
    for (int32_t i = 0; i < count; ++i) {
        int32_t& tallest = textPixels[static_cast<size_t>(i / perRow)];
        tallest = std::max(tallest, StackHeight(places[static_cast<size_t>(i)].texts));
    }
    int32_t allText = 0;
    for (int32_t& pixels : textPixels) {
        pixels += kRowGap;
        allText += pixels;
    }
    // Nine players make three rows: the figures shrink so that every row stays clear of
    // the chat window along the bottom of the screen.
    const int32_t side = std::min(std::clamp((room - allText) / rows, kSmallestFigurePixels, kFigurePixels), column);
    int32_t top = firstRowY;
    for (int32_t row = 0; row < rows; ++row) {
        const int32_t inRow = std::min(perRow, count - row * perRow);
        const int32_t rowLeft = (screen.left + screen.right) / 2 - inRow * column / 2;
        for (int32_t k = 0; k < inRow; ++k) {
            FigurePlace& place = places[static_cast<size_t>(row * perRow + k)];
            const int32_t left = rowLeft + k * column + (column - side) / 2;
            place.figure = IntRect(left, top, left + side - 1, top + side - 1);
            const float centre = 0.5f * static_cast<float>(left + left + side - 1);
            int32_t y = place.figure.bottom + 1;
            for (FigureText& text : place.texts) {
                const float width = TextWidth(text.text, text.scale);
                text.x = centre - 0.5f * width;
                text.y = static_cast<float>(y);
                y += TextHeight(text);
            }
        }
        top += side + textPixels[static_cast<size_t>(row)];
    }
    return places;
}

std::vector<FigurePlace> FigureRows::Draw(const std::vector<FigureRowEntry>& entries, int32_t firstRowY,
                                          float frameTime) {
    std::vector<FigurePlace> places = Layout(entries, firstRowY);
    for (size_t i = 0; i < entries.size(); ++i) {
        Player* player = entries[i].player;
        if (player == nullptr) continue;
        PlayerFigure& figure = GetPlayerFigure(*player);
        figure.rect = places[i].figure;
        figure.Draw(frameTime);
    }
    // Each figure wore its owner's colours (it paints itself with them); the shared meshes
    // go back to the local player's.
    Player& local = GetLocalPlayer();
    for (int32_t chassis = 0; chassis < kChassisCount; ++chassis) ApplyOwnerColours(chassis, local);
    local.ApplyColors();
    Renderer& renderer = GetRenderer();
    UseScreenCamera();
    renderer.DisableLighting();
    renderer.SetAlphaBlend();
    for (size_t i = 0; i < places.size(); ++i) {
        const std::vector<FigureText>& texts = places[i].texts;
        const size_t shown = entries[i].markShown ? texts.size() : texts.size() - places[i].markTexts;
        for (size_t k = 0; k < shown; ++k)
            DrawUiText(texts[k].text, texts[k].x, texts[k].y, Color(0xFFFFFFFF), texts[k].scale);
    }
    renderer.SetBlendOff();
    return places;
}

Sprite* FigureRows::Star() {
    if (star_ == nullptr) star_ = CreateUiSprite(kStarPixels, kStarPixels, "Star.tga", Sprite::kAnchorCentre);
    return star_;
}

// The ring's lowest stars stop at the bottom of the figure's box: the name stands right
// under it and must stay readable while the ring turns.
Point FigureRows::StarCentre(const IntRect& box, int32_t star, float phase) {
    const float cx = 0.5f * static_cast<float>(box.left + box.right);
    const float cy = 0.5f * static_cast<float>(box.top + box.bottom);
    const float rx = 0.5f * static_cast<float>(box.right - box.left + 1);
    const float ry = 0.5f * static_cast<float>(box.bottom - box.top + 1 - kStarPixels);
    const float angle = phase + kTwoPi * static_cast<float>(star) / kStarCount;
    return Point(static_cast<int32_t>(std::lround(cx + rx * std::cos(angle))),
                 static_cast<int32_t>(std::lround(cy + ry * std::sin(angle))));
}

void FigureRows::DrawStars(const std::vector<FigureRowEntry>& entries, const std::vector<FigurePlace>& places,
                           float frameTime) {
    if (std::isfinite(frameTime)) starPhase_ = std::fmod(starPhase_ + frameTime, kTwoPi);
    const bool anyWinner =
        std::any_of(entries.begin(), entries.end(), [](const FigureRowEntry& entry) { return entry.winner; });
    if (!anyWinner) return;
    Sprite& star = *Star();
    Renderer& renderer = GetRenderer();
    UseScreenCamera();
    renderer.DisableLighting();
    renderer.SetAlphaBlend();
    for (size_t i = 0; i < entries.size() && i < places.size(); ++i) {
        if (!entries[i].winner) continue;
        for (int32_t k = 0; k < kStarCount; ++k) {
            const Point centre = StarCentre(places[i].figure, k, starPhase_);
            star.x = centre.x;
            star.y = centre.y;
            renderer.DrawSprite(star);
        }
    }
    renderer.SetBlendOff();
}

FigureRows& GetFigureRows() {
    static FigureRows rows;
    return rows;
}
