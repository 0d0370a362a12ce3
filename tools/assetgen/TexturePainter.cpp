#include "TexturePainter.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <functional>
#include <map>

#include "Canvas.h"
#include "Glyphs.h"
#include "Noise.h"
#include "Output.h"
#include "Pictograms.h"
#include "platform/sys/Random.h"

namespace assetgen {
namespace {

const Rgba kWhite = RgbaFrom(255, 255, 255);
const Rgba kBlack = RgbaFrom(0, 0, 0);
const Rgba kKeyRed = RgbaFrom(255, 0, 0);
const Rgba kKeyGreen = RgbaFrom(0, 255, 0);
const Rgba kGrey = RgbaFrom(150, 150, 150);

bool StartsWith(const std::string& s, std::string_view p) { return s.rfind(p, 0) == 0; }
bool EndsWith(const std::string& s, std::string_view p) {
    return s.size() >= p.size() && s.compare(s.size() - p.size(), p.size(), p) == 0;
}
bool Contains(const std::string& s, std::string_view p) { return s.find(p) != std::string::npos; }

Rgba Hsv(float hue, float saturation, float value) {
    const float h = std::fmod(hue, 1.0f) * 6;
    const int i = int(h);
    const float f = h - i, p = value * (1 - saturation), q = value * (1 - saturation * f),
                t = value * (1 - saturation * (1 - f));
    switch (i) {
        case 0: return {value, t, p, 1};
        case 1: return {q, value, p, 1};
        case 2: return {p, value, t, 1};
        case 3: return {p, q, value, 1};
        case 4: return {t, p, value, 1};
        default: return {value, p, q, 1};
    }
}

// A colour that belongs to the name, so related icons keep their look from run to run.
Rgba NameColour(const std::string& name) {
    if (Contains(name, "Enemy")) return RgbaFrom(200, 60, 50);
    if (Contains(name, "Friend")) return RgbaFrom(50, 110, 210);
    return Hsv(float(SeedFor(name) % 360) / 360.0f, 0.65f, 0.85f);
}

// ---- terrain ----

// Neighbouring cells of one ground type show different variants, so every variant shares
// the type's own base picture along its edges and differs only inside: the variant's
// detail is weighted by a window that is zero on the border. Liquids are animation frames
// of one picture whose flow turns a full circle in eight frames.
struct TileContext {
    const Noise& base;    // the ground type's own lattice
    const Noise& detail;  // the variant's lattice
    const Cells& cells;   // the ground type's cells
    float window;         // 0 on the tile's border, 1 well inside it
    float phase;          // 0..1 through the animation
};

float Smooth(float edge0, float edge1, float x) {
    const float t = std::clamp((x - edge0) / (edge1 - edge0), 0.0f, 1.0f);
    return t * t * (3 - 2 * t);
}

Rgba Shade(Rgba c, float factor) { return {c.r * factor, c.g * factor, c.b * factor, c.a}; }

// Small round spots scattered over the cells, moved by the variant so each variant has
// its own; a share of the cells keeps none.
float Speck(float u, float v, const TileContext& t, float radius, float share) {
    const float shift = t.detail.At(2.5f, 3.5f);
    const Cells::Nearest near = t.cells.At(std::fmod(u + shift, 1.0f), std::fmod(v + 0.5f * shift, 1.0f));
    if (t.cells.Shade(near.cell) > share) return 0;
    return Smooth(radius, radius * 0.5f, near.first) * t.window;
}

Rgba GrassAt(float u, float v, const TileContext& t) {
    const float patches = t.base.Fractal(u * 8, v * 8, 4);
    // Lattice stretched down the tile: short upright blades.
    const float blades = t.base.At(u * 64, v * 16);
    Rgba c = Mix(RgbaFrom(38, 92, 28), RgbaFrom(112, 168, 58), 0.55f * patches + 0.45f * blades);
    c = Mix(c, RgbaFrom(140, 150, 60), 0.35f * t.window * Smooth(0.55f, 0.8f, t.detail.Fractal(u * 8, v * 8, 3)));
    return Mix(c, RgbaFrom(240, 230, 120), Speck(u, v, t, 0.018f, 0.7f) * 0.85f);
}

Rgba DirtAt(float u, float v, const TileContext& t) {
    const float soil = t.base.Fractal(u * 8, v * 8, 5);
    Rgba c = Mix(RgbaFrom(84, 56, 32), RgbaFrom(150, 108, 68), soil);
    // Pebbles: small rounded stones of the variant, lit from the top left.
    const Cells::Nearest pebble = t.cells.At(std::fmod(u + 0.37f * t.detail.At(1, 1), 1.0f), v);
    const float size = 0.035f + 0.03f * t.cells.Shade(pebble.cell);
    const float inside = Smooth(size, size * 0.7f, pebble.first) * t.window;
    const Rgba stone = Shade(RgbaFrom(150, 135, 115), 0.7f + 0.5f * t.cells.Shade(pebble.cell));
    c = Mix(c, stone, inside * (t.detail.At(u * 8, v * 8) > 0.45f ? 1.0f : 0.0f));
    return Mix(c, RgbaFrom(60, 40, 24), 0.4f * t.window * Smooth(0.6f, 0.75f, t.detail.Fractal(u * 8, v * 8, 3)));
}

Rgba StoneAt(float u, float v, const TileContext& t) {
    const Cells::Nearest cobble = t.cells.At(u, v);
    const float grain = t.base.Fractal(u * 16, v * 16, 3);
    const float shade =
        0.75f + 0.35f * t.cells.Shade(cobble.cell) + 0.15f * (t.detail.At(u * 8, v * 8) - 0.5f) * t.window;
    Rgba c = Shade(Mix(RgbaFrom(105, 105, 110), RgbaFrom(170, 168, 160), grain), shade);
    // Mortar where two cobbles meet, darkest at the joint.
    const float joint = Smooth(0.0f, 0.035f, cobble.second - cobble.first);
    c = Mix(RgbaFrom(50, 48, 45), c, joint);
    // A soft highlight toward each cobble's top-left edge makes them read as rounded.
    return Shade(c, 1.0f + 0.12f * joint * (1 - Smooth(0.0f, 0.12f, cobble.first)));
}

Rgba SandAt(float u, float v, const TileContext& t) {
    const float drift = t.base.Fractal(u * 8, v * 8, 3);
    // Wind ripples: whole waves down the tile, bent by the noise.
    const float ripple = 0.5f + 0.5f * std::sin(2 * float(M_PI) * (6 * v + 0.8f * drift + u));
    Rgba c = Mix(RgbaFrom(196, 166, 106), RgbaFrom(238, 216, 160), 0.6f * drift + 0.4f * ripple);
    c = Shade(c, 0.94f + 0.12f * t.base.At(u * 64, v * 64));
    return Mix(c, RgbaFrom(170, 140, 90), 0.35f * t.window * Smooth(0.6f, 0.8f, t.detail.Fractal(u * 8, v * 8, 3)));
}

Rgba SnowAt(float u, float v, const TileContext& t) {
    const float drift = t.base.Fractal(u * 8, v * 8, 4);
    Rgba c = Mix(RgbaFrom(190, 202, 224), RgbaFrom(250, 250, 255), drift);
    c = Mix(c, RgbaFrom(170, 186, 214), 0.35f * t.window * Smooth(0.55f, 0.75f, t.detail.Fractal(u * 8, v * 8, 3)));
    return Mix(c, kWhite, Speck(u, v, t, 0.012f, 0.5f));
}

// Liquids: the picture flows around a small circle as the frames pass.
void Flow(float phase, float radius, float& dx, float& dy) {
    dx = std::cos(2 * float(M_PI) * phase) * radius;
    dy = std::sin(2 * float(M_PI) * phase) * radius;
}

Rgba WaterAt(float u, float v, const TileContext& t) {
    float dx, dy;
    Flow(t.phase, 0.4f, dx, dy);
    const float depth = t.base.Fractal(u * 8 + dx, v * 8 + dy, 3);
    // Caustics: bright threads where two drifting fields cross their middle value.
    const float a = t.base.Fractal(u * 8 - dy * 0.5f, v * 8 + dx * 0.5f, 2);
    const float b = t.base.Fractal(v * 8 + dx * 0.5f + 3, u * 8 - dy * 0.5f + 5, 2);
    const float threads = std::pow(std::max(0.0f, 1 - std::min(std::fabs(a - 0.5f), std::fabs(b - 0.5f)) * 6), 3.0f);
    const Rgba c = Mix(RgbaFrom(18, 56, 132), RgbaFrom(50, 120, 200), depth);
    return Mix(c, RgbaFrom(200, 230, 255), std::clamp(threads, 0.0f, 1.0f) * 0.55f);
}

Rgba SwampAt(float u, float v, const TileContext& t) {
    float dx, dy;
    Flow(t.phase, 0.4f, dx, dy);
    const float murk = t.base.Fractal(u * 8 + dx, v * 8 + dy, 4);
    Rgba c = Mix(RgbaFrom(34, 44, 24), RgbaFrom(72, 84, 40), murk);
    // Floating scum drifts the other way.
    const float scum = t.base.Fractal(u * 8 - dx + 4, v * 8 - dy + 4, 3);
    c = Mix(c, RgbaFrom(96, 130, 44), Smooth(0.52f, 0.62f, scum) * 0.85f);
    // Bubbles rise on the cells and pop through the loop.
    const Cells::Nearest bubble = t.cells.At(u, v);
    const float life = std::fmod(t.phase + t.cells.Shade(bubble.cell), 1.0f);
    const float radius = 0.01f + 0.035f * life;
    const float rim = Smooth(0.012f, 0.0f, std::fabs(bubble.first - radius)) * (1 - life);
    return Mix(c, RgbaFrom(150, 160, 110), rim * 0.7f);
}

Rgba LavaAt(float u, float v, const TileContext& t) {
    float dx, dy;
    Flow(t.phase, 0.4f, dx, dy);
    const Cells::Nearest plate = t.cells.At(u, v);
    const float crust = t.base.Fractal(u * 16, v * 16, 3);
    Rgba c = Shade(Mix(RgbaFrom(40, 14, 8), RgbaFrom(90, 34, 18), crust), 0.8f + 0.4f * t.cells.Shade(plate.cell));
    // Molten rock glows through the cracks between the crust plates, pulsing as it flows.
    const float heat = t.base.Fractal(u * 8 + dx, v * 8 + dy, 3);
    const float crack = Smooth(0.06f + 0.04f * heat, 0.0f, plate.second - plate.first);
    const Rgba glow = Mix(RgbaFrom(230, 60, 0), RgbaFrom(255, 220, 60), Smooth(0.4f, 0.8f, heat));
    c = Mix(c, glow, crack);
    return Mix(c, glow, Smooth(0.68f, 0.78f, heat) * 0.8f);
}

using GroundShader = Rgba (*)(float u, float v, const TileContext& t);

struct Ground {
    GroundShader shader;
    int cellGrid;
    bool liquid;
};

const std::map<std::string, Ground>& Grounds() {
    static const std::map<std::string, Ground> grounds = {
        {"Grass", {GrassAt, 8, false}}, {"Dirt", {DirtAt, 6, false}},  {"Stone", {StoneAt, 4, false}},
        {"Swamp", {SwampAt, 5, true}},  {"Water", {WaterAt, 4, true}}, {"Sand", {SandAt, 4, false}},
        {"Snow", {SnowAt, 8, false}},   {"Lava", {LavaAt, 4, true}},
    };
    return grounds;
}

Image TerrainTile(const std::string& ground, int index, int width, int height) {
    const Ground& look = Grounds().at(ground);
    sys::SRand(SeedFor(ground + "Tile"));
    const Noise base(8);
    const Cells cells(look.cellGrid);
    sys::SRand(SeedFor(ground + "Tile" + std::to_string(look.liquid ? 0 : index)));
    const Noise detail(8);
    Canvas canvas(width, height);
    canvas.Paint([&](float x, float y) {
        const float u = x / width, v = y / height;
        const float border = std::min(std::min(u, 1 - u), std::min(v, 1 - v));
        const TileContext context{base, detail, cells, look.liquid ? 0.0f : Smooth(0.02f, 0.2f, border),
                                  look.liquid ? index / 8.0f : 0.0f};
        Rgba c = look.shader(u, v, context);
        c.a = 1;
        return c;
    });
    return canvas.ToImage();
}

// Corner digits: 0 top-left, 1 top-right, 2 bottom-right, 3 bottom-left of the picture,
// whose rows run top down. The ground lays a tile's top row along the cell's far side in y,
// so these are the cell's points (i, j + 1), (i + 1, j + 1), (i + 1, j) and (i, j). The
// covered corners are blended bilinearly across the tile and the result sharpened, so two
// neighbouring corners make a straight edge and one corner a rounded patch.
Image CornerMask(const std::string& digits, int width, int height) {
    float covered[4] = {0, 0, 0, 0};
    for (char d : digits) covered[d - '0'] = 1;
    Canvas canvas(width, height);
    canvas.Paint([&](float x, float y) {
        const float u = x / width, v = y / height;
        const float blend =
            covered[0] * (1 - u) * (1 - v) + covered[1] * u * (1 - v) + covered[2] * u * v + covered[3] * (1 - u) * v;
        const float t = std::clamp((blend - 0.3f) / 0.4f, 0.0f, 1.0f);
        const float value = t * t * (3 - 2 * t);
        return Rgba{value, value, value, value};
    });
    return canvas.ToImage();
}

// ---- particles and decals ----

Image Glow(int size, Rgba core, float power) {
    Canvas canvas(size, size);
    const float c = size / 2.0f;
    canvas.Paint([&](float x, float y) {
        const float r = std::hypot(x - c, y - c) / c;
        const float a = std::pow(std::clamp(1 - r, 0.0f, 1.0f), power);
        return Rgba{core.r + (1 - core.r) * a * a, core.g + (1 - core.g) * a * a, core.b + (1 - core.b) * a * a, a};
    });
    return canvas.ToImage();
}

Image Puff(int size, Rgba colour, float roughness) {
    Canvas canvas(size, size);
    const Noise noise(4);
    const float c = size / 2.0f;
    canvas.Paint([&](float x, float y) {
        const float r = std::hypot(x - c, y - c) / (c - 1);
        const float n = noise.Fractal(x * 4 / size, y * 4 / size, 3);
        const float a = std::clamp((1 - r) * 1.6f - roughness * (1 - n), 0.0f, 1.0f);
        Rgba p = colour;
        p.a *= a;
        return p;
    });
    return canvas.ToImage();
}

Image Sparkle(int size, int points, float turn) {
    Canvas canvas(size, size);
    const float c = size / 2.0f;
    canvas.Fill(Star(c, c, c - 1, c * 0.18f, points, turn), RgbaFrom(255, 255, 220, 200));
    canvas.Fill(Circle(c, c, c * 0.25f), kWhite);
    return canvas.ToImage();
}

Image Zigzag(int size) {
    Canvas canvas(size, size);
    const float s = float(size);
    std::vector<float> points = {0.15f, 0.5f, 0.35f, 0.25f, 0.5f, 0.7f, 0.65f, 0.3f, 0.85f, 0.5f};
    for (std::size_t i = 0; i + 3 < points.size(); i += 2)
        canvas.Fill(Segment(points[i] * s, points[i + 1] * s, points[i + 2] * s, points[i + 3] * s, s * 0.08f),
                    RgbaFrom(200, 230, 255));
    return canvas.ToImage();
}

// ---- icons ----

struct IconStyle {
    Rgba face;
    bool round = true;
};

void ButtonBase(Canvas& canvas, const IconStyle& style) {
    const float w = float(canvas.Width()), h = float(canvas.Height()), c = w / 2;
    const float edge = std::max(1.0f, w / 32);
    Rgba rim = Mix(style.face, kBlack, 0.45f);
    Rgba shine = Mix(style.face, kWhite, 0.35f);
    if (style.round) {
        canvas.Fill(Circle(c, h / 2, c - edge), rim);
        canvas.Fill(Circle(c, h / 2, c - 3 * edge), [&](float, float y) { return Mix(shine, style.face, y / h); });
    } else {
        canvas.Fill(Box(c, h / 2, c - edge, h / 2 - edge, w / 6), rim);
        canvas.Fill(Box(c, h / 2, c - 3 * edge, h / 2 - 3 * edge, w / 8),
                    [&](float, float y) { return Mix(shine, style.face, y / h); });
    }
}

void Label(Canvas& canvas, const std::string& text, Rgba colour, float centreY) {
    if (text.empty()) return;
    float scale = canvas.Width() >= 64 ? 2.0f : 1.0f;
    while (scale > 1 && TextWidth(text, scale) > canvas.Width() * 0.8f) scale -= 1;
    const float width = TextWidth(text, scale);
    const float x = std::round((canvas.Width() - width) / 2), y = std::round(centreY - 3.5f * scale);
    DrawText(canvas, text, x + scale / 2, y + scale / 2, scale, RgbaFrom(0, 0, 0, 140));
    DrawText(canvas, text, x, y, scale, colour);
}

// Pictures for the common actions, on a round button of the name's colour.
using Pictogram = std::function<void(Canvas&, float w, float h)>;

const std::map<std::string, Pictogram>& Pictograms() {
    static const std::map<std::string, Pictogram> pictograms = {
        {"Play",
         [](Canvas& c, float w, float h) {
             c.Fill(Polygon({w * 0.38f, h * 0.28f, w * 0.74f, h * 0.5f, w * 0.38f, h * 0.72f}), kWhite);
         }},
        {"Pause",
         [](Canvas& c, float w, float h) {
             c.Fill(Union(Box(w * 0.4f, h / 2, w * 0.06f, h * 0.2f), Box(w * 0.6f, h / 2, w * 0.06f, h * 0.2f)),
                    kWhite);
         }},
        {"Step",
         [](Canvas& c, float w, float h) {
             c.Fill(Union(Polygon({w * 0.32f, h * 0.3f, w * 0.6f, h * 0.5f, w * 0.32f, h * 0.7f}),
                          Box(w * 0.66f, h / 2, w * 0.05f, h * 0.2f)),
                    kWhite);
         }},
        {"Exit",
         [](Canvas& c, float w, float h) {
             c.Fill(Subtract(Box(w * 0.42f, h / 2, w * 0.16f, h * 0.24f), Box(w * 0.42f, h / 2, w * 0.1f, h * 0.18f)),
                    kWhite);
             c.Fill(Union(Segment(w * 0.45f, h / 2, w * 0.74f, h / 2, w * 0.07f),
                          Polygon({w * 0.78f, h / 2, w * 0.64f, h * 0.38f, w * 0.64f, h * 0.62f})),
                    kWhite);
         }},
        {"Options",
         [](Canvas& c, float w, float h) {
             c.Fill(Subtract(Star(w / 2, h / 2, w * 0.28f, w * 0.2f, 8), Circle(w / 2, h / 2, w * 0.09f)), kWhite);
         }},
        {"Redo",
         [](Canvas& c, float w, float h) {
             c.Fill(Subtract(Ring(w / 2, h / 2, w * 0.2f, w * 0.08f), Box(w * 0.68f, h * 0.4f, w * 0.12f, h * 0.1f)),
                    kWhite);
             c.Fill(Polygon({w * 0.6f, h * 0.22f, w * 0.8f, h * 0.36f, w * 0.6f, h * 0.46f}), kWhite);
         }},
        {"Save",
         [](Canvas& c, float w, float h) {
             c.Fill(Box(w / 2, h / 2, w * 0.22f, h * 0.22f, w * 0.03f), kWhite);
             c.Fill(Box(w / 2, h * 0.36f, w * 0.12f, h * 0.07f), RgbaFrom(60, 60, 70));
         }},
        {"Load",
         [](Canvas& c, float w, float h) {
             c.Fill(Polygon({w * 0.25f, h * 0.35f, w * 0.45f, h * 0.35f, w * 0.5f, h * 0.4f, w * 0.75f, h * 0.4f,
                             w * 0.75f, h * 0.7f, w * 0.25f, h * 0.7f}),
                    kWhite);
         }},
        {"Tree",
         [](Canvas& c, float w, float h) {
             c.Fill(Box(w / 2, h * 0.7f, w * 0.05f, h * 0.12f), RgbaFrom(120, 80, 40));
             c.Fill(Circle(w / 2, h * 0.42f, w * 0.2f), RgbaFrom(60, 150, 50));
         }},
        {"Rock",
         [](Canvas& c, float w, float h) {
             c.Fill(Polygon({w * 0.25f, h * 0.68f, w * 0.32f, h * 0.42f, w * 0.5f, h * 0.32f, w * 0.7f, h * 0.4f,
                             w * 0.76f, h * 0.68f}),
                    RgbaFrom(150, 145, 140));
         }},
    };
    return pictograms;
}

// The pictogram a name asks for: its first word ("PlayButton64" -> "Play"), or a tree or a
// rock for the variant buttons.
const Pictogram* PictogramFor(const std::string& name) {
    if (StartsWith(name, "Tree") || Contains(name, "TreeButton") || StartsWith(name, "Palm") ||
        StartsWith(name, "Pine"))
        return &Pictograms().at("Tree");
    if (StartsWith(name, "Rock") && EndsWith(name, "Button")) return &Pictograms().at("Rock");
    for (const auto& [word, pictogram] : Pictograms()) {
        if (!StartsWith(name, word) || (!EndsWith(name, "Button") && !EndsWith(name, "Button64"))) continue;
        const std::string rest = name.substr(word.size());
        if (rest == "Button" || rest == "Button64" || rest == "MenuButton" || rest == "ScenarioButton" ||
            rest == "PreviousMissionButton" || rest == "NextMissionButton" || rest == "GameMenuButton")
            return &pictogram;
    }
    return nullptr;
}

// Blank faces the game draws its own picture or words on.
bool IsPlainBase(const std::string& name) {
    static const char* const kPlain[] = {"BlackButton",  "ControlButton", "MenuButton",   "PropertyButton",
                                         "ObjectButton", "PatternButton", "WeaponButton", "TrayPlaceholderButton"};
    for (const char* plain : kPlain)
        if (name == plain) return true;
    return EndsWith(name, "Base");
}

// A unit's marker in the trays ("SmallFriend" .. "LargeEnemy"): a ball as big as its size
// class; 0 for any other name.
float ChassisMarkerScale(const std::string& name) {
    static const char* const kSizes[] = {"Small", "Medium", "Large"};
    for (int size = 0; size < 3; ++size) {
        if (name == std::string(kSizes[size]) + "Friend" || name == std::string(kSizes[size]) + "Enemy")
            return 0.6f + 0.2f * float(size);
    }
    return 0.0f;
}

// The pattern editor's friend and enemy marks in fixed team colours: the ball of a
// pattern's object, the wedge of a direction and the dotted trail of a path; and the
// trays' unit markers.
bool IsTeamMark(const std::string& name) {
    return ((StartsWith(name, "Friend") || StartsWith(name, "Enemy")) &&
            (EndsWith(name, "PatternIcon") || EndsWith(name, "PatternWedge") || EndsWith(name, "PathIcon"))) ||
           ChassisMarkerScale(name) > 0.0f;
}

Image TeamMark(const std::string& name, const TextureNeeds& needs) {
    Canvas canvas(needs.width, needs.height);
    const float w = float(needs.width), s = ChassisMarkerScale(name), c = w / 2, r = s > 0.0f ? c * s : c;
    const Rgba team = Contains(name, "Friend") ? RgbaFrom(55, 115, 220) : RgbaFrom(215, 55, 45);
    const Rgba dark = Mix(team, kBlack, 0.45f), light = Mix(team, kWhite, 0.5f);
    if (EndsWith(name, "Wedge")) {
        canvas.Fill(Polygon({w * 0.9f, c, w * 0.15f, w * 0.15f, w * 0.35f, c, w * 0.15f, w * 0.85f}), team);
        canvas.Fill(Polygon({w * 0.9f, c, w * 0.5f, w * 0.38f, w * 0.5f, w * 0.62f}), light);
    } else if (EndsWith(name, "PathIcon")) {
        const float points[][2] = {{0.18f, 0.8f}, {0.38f, 0.62f}, {0.5f, 0.42f}, {0.66f, 0.26f}};
        for (const auto& point : points) canvas.Fill(Circle(w * point[0], w * point[1], w * 0.09f), team);
        canvas.Fill(Polygon({w * 0.92f, w * 0.08f, w * 0.58f, w * 0.14f, w * 0.86f, w * 0.42f}), light);
    } else {
        canvas.Fill(Circle(c, c, r - 1), dark);
        canvas.Fill(Circle(c, c, r * 0.72f), team);
        canvas.Fill(Circle(c - r * 0.25f, c - r * 0.25f, r * 0.18f), RgbaFrom(200, 200, 200));
    }
    return canvas.ToImage();
}

Image Icon(const std::string& name, const TextureNeeds& needs) {
    if (IsTeamMark(name)) return TeamMark(name, needs);
    Canvas canvas(needs.width, needs.height);
    if (const std::string subject = PictogramSubject(name); !subject.empty()) {
        ButtonBase(canvas, {PictogramColour(subject), !StartsWith(name, "Property")});
        DrawPictogram(canvas, subject, needs.width / 2.0f, needs.height / 2.0f, needs.width * 0.3f);
        return canvas.ToImage();
    }
    if (const Pictogram* pictogram = PictogramFor(name)) {
        ButtonBase(canvas, {NameColour(name)});
        (*pictogram)(canvas, float(needs.width), float(needs.height));
        return canvas.ToImage();
    }
    // The game menu's round buttons take "MenuButton" as the base of the Join face.
    const bool square = (Contains(name, "Menu") && name != "MenuButton") || Contains(name, "Net") || Contains(name, "Budget") ||
                        Contains(name, "Property") || Contains(name, "Upgrade");
    ButtonBase(canvas, {NameColour(name), !square});
    if (IsPlainBase(name)) return canvas.ToImage();
    const std::size_t letters = needs.width >= 64 ? 4 : 3;
    Label(canvas, IconLabel(name, letters), kWhite, needs.height / 2.0f);
    return canvas.ToImage();
}

// Grey outer ring, coloured centre: the game clears grey pixels beyond 0.28 of the squared
// radius for the unlit look, so only the centre may carry colour.
Image RingIcon(const std::string& name, const TextureNeeds& needs) {
    Canvas canvas(needs.width, needs.height);
    const float c = needs.width / 2.0f, R = c;
    canvas.Fill(Circle(c, c, R - 1), RgbaFrom(96, 96, 96));
    canvas.Fill(Ring(c, c, R * 0.75f, R * 0.3f), RgbaFrom(176, 176, 176));
    if (const std::string subject = PictogramSubject(name); !subject.empty()) {
        canvas.Fill(Circle(c, c, R * 0.5f), PictogramColour(subject));
        DrawPictogram(canvas, subject, c, c, R * 0.36f);
        return canvas.ToImage();
    }
    canvas.Fill(Circle(c, c, R * 0.45f), NameColour(name));
    // Two letters fit inside the coloured centre, which the unlit look keeps.
    const std::string label = IconLabel(name, 2);
    DrawText(canvas, label, std::round(c - TextWidth(label, 1) / 2), std::round(c - 3.5f), 1, kWhite);
    return canvas.ToImage();
}

// Pure red body and pure green trim, for the owner's colours; grey details stay.
// A beacon is a four-pointed light, never a ball, so that on the mini-map it stands apart
// from the units' balls.
Image BeaconStar(const TextureNeeds& needs, Rgba rim, Rgba light) {
    Canvas canvas(needs.width, needs.height);
    const float c = float(needs.width) / 2;
    canvas.Fill(Star(c, c, c - 1, c * 0.32f, 4), rim);
    canvas.Fill(Star(c, c, c * 0.72f, c * 0.2f, 4), light);
    canvas.Fill(Circle(c, c, c * 0.16f), kWhite);
    return canvas.ToImage();
}

Image KeyedIcon(const std::string& name, const TextureNeeds& needs) {
    if (Contains(name, "Beacon") && !needs.clearBorder) return BeaconStar(needs, kKeyGreen, kKeyRed);
    Canvas canvas(needs.width, needs.height);
    const float w = float(needs.width), c = w / 2;
    if (Contains(name, "Wedge")) {
        canvas.Fill(Polygon({w * 0.9f, c, w * 0.15f, w * 0.15f, w * 0.35f, c, w * 0.15f, w * 0.85f}), kKeyRed);
        canvas.Fill(Polygon({w * 0.9f, c, w * 0.5f, w * 0.38f, w * 0.5f, w * 0.62f}), kKeyGreen);
    } else if (needs.clearBorder) {
        canvas.Fill(Circle(c, c, c - 3), kKeyRed);
        canvas.Fill(Ring(c, c, c * 0.55f, c * 0.2f), kKeyGreen);
        canvas.Fill(Circle(c, c, c * 0.2f), kGrey);
    } else {
        canvas.Fill(Circle(c, c, c - 1), kKeyGreen);
        canvas.Fill(Circle(c, c, c * 0.72f), kKeyRed);
        canvas.Fill(Circle(c - c * 0.25f, c - c * 0.25f, c * 0.18f), RgbaFrom(200, 200, 200));
    }
    return canvas.ToImage();
}

Image Symbol(int width, int height, const std::function<void(Canvas&, float w, float h)>& draw) {
    Canvas canvas(width, height);
    draw(canvas, float(width), float(height));
    return canvas.ToImage();
}

Image Tick(const TextureNeeds& needs) {
    return Symbol(needs.width, needs.height, [](Canvas& c, float w, float h) {
        ButtonBase(c, {RgbaFrom(40, 160, 60)});
        c.Fill(Union(Segment(w * 0.27f, h * 0.52f, w * 0.43f, h * 0.7f, w * 0.11f),
                     Segment(w * 0.43f, h * 0.7f, w * 0.75f, h * 0.3f, w * 0.11f)),
               kWhite);
    });
}

Image Cross(const TextureNeeds& needs, Rgba colour, bool withButton) {
    return Symbol(needs.width, needs.height, [&](Canvas& c, float w, float h) {
        if (withButton) ButtonBase(c, {RgbaFrom(190, 50, 40)});
        const float inset = withButton ? 0.3f : 0.15f;
        c.Fill(Union(Segment(w * inset, h * inset, w * (1 - inset), h * (1 - inset), w * 0.13f),
                     Segment(w * (1 - inset), h * inset, w * inset, h * (1 - inset), w * 0.13f)),
               withButton ? kWhite : colour);
    });
}

Image Digit(char digit, const TextureNeeds& needs) {
    return Symbol(needs.width, needs.height, [&](Canvas& c, float w, float h) {
        c.Fill(Circle(w / 2, h / 2, w / 2 - 2), RgbaFrom(30, 30, 60));
        c.Fill(Circle(w / 2, h / 2, w / 2 - 5), RgbaFrom(240, 200, 40));
        const float scale = std::floor(h / 16);
        DrawGlyphCentred(c, digit, w / 2, h / 2 - 3.5f * scale, scale, RgbaFrom(20, 20, 40));
    });
}

Image Arrow(const TextureNeeds& needs, bool up) {
    return Symbol(needs.width, needs.height, [&](Canvas& c, float w, float h) {
        const float top = up ? 0.2f : 0.8f, bottom = up ? 0.8f : 0.2f;
        c.Fill(Polygon({w * 0.5f, h * top, w * 0.9f, h * bottom, w * 0.1f, h * bottom}), RgbaFrom(230, 230, 230));
    });
}

Image Frame(const std::string& name, const TextureNeeds& needs) {
    // Light in the middle of the band, darker toward both edges, so the tint shows shape.
    const bool vertical = Contains(name, "Left") || Contains(name, "Right");
    const bool corner = (Contains(name, "Top") || Contains(name, "Bottom")) && vertical;
    return Symbol(needs.width, needs.height, [&](Canvas& c, float w, float h) {
        c.Paint([&](float x, float y) {
            float t = vertical ? x / w : y / h;
            if (corner) t = std::min(x / w, y / h) * 0.5f + std::max(x / w, y / h) * 0.5f;
            const float v = 0.55f + 0.45f * std::sin(float(M_PI) * t);
            return Rgba{v, v, v, 1};
        });
    });
}

Image Disc(const TextureNeeds& needs, Rgba colour, bool grid) {
    return Symbol(needs.width, needs.height, [&](Canvas& c, float w, float h) {
        c.Fill(Circle(w / 2, h / 2, w / 2 - 1), colour);
        if (!grid) return;
        for (int i = 1; i < 4; ++i) c.Fill(Ring(w / 2, h / 2, w / 2 * i / 4, 1.5f), RgbaFrom(120, 255, 140, 120));
        c.Fill(Union(Segment(w / 2, 2, w / 2, h - 2, 1.5f), Segment(2, h / 2, w - 2, h / 2, 1.5f)),
               RgbaFrom(120, 255, 140, 120));
    });
}

void ClearBorder(Image& image) {
    for (int x = 0; x < image.Width(); ++x) image.At(x, 0) = image.At(x, image.Height() - 1) = Color();
    for (int y = 0; y < image.Height(); ++y) image.At(0, y) = image.At(image.Width() - 1, y) = Color();
}

Image Decal(const std::string& name, const TextureNeeds& needs) {
    const int w = needs.width;
    if (StartsWith(name, "ScorchMark")) return Puff(w, RgbaFrom(25, 20, 15, 220), 0.8f);
    if (name == "WaterRing")
        return Symbol(w, w, [](Canvas& c, float s, float) {
            c.Fill(Ring(s / 2, s / 2, s * 0.38f, s * 0.08f), RgbaFrom(220, 240, 255, 200));
        });
    if (name == "StaticFieldParticle") return Zigzag(w);
    if (name == "GooFieldOverlay") return Puff(w, RgbaFrom(90, 200, 60, 150), 0.4f);
    if (name == "HealthFieldOverlay") return Puff(w, RgbaFrom(240, 240, 255, 120), 0.2f);
    if (StartsWith(name, "Goal"))
        return Symbol(w, w, [&](Canvas& c, float s, float) {
            c.Fill(Circle(s / 2, s / 2, s / 2 - 3), Mix(NameColour(name), kWhite, 0.2f));
            c.Fill(Ring(s / 2, s / 2, s * 0.3f, s * 0.08f), kWhite);
        });
    // Shadows: only alpha matters.
    return Puff(w, RgbaFrom(0, 0, 0, 200), 0.0f);
}

Image Particle(const std::string& name, const TextureNeeds& needs) {
    const int w = needs.width;
    if (StartsWith(name, "LaserBall")) {
        const int i = name.back() - '1';
        return Glow(w, Hsv(0.0f + 0.08f * i, 0.9f, 1.0f), 1.5f + 0.2f * i);
    }
    if (StartsWith(name, "Sparkle")) return Sparkle(w, 4 + (name.back() - '0') % 3, 0.3f * (name.back() - '0'));
    if (name == "HealthParticle")
        return Symbol(w, w, [](Canvas& c, float s, float) {
            c.Fill(Circle(s / 2, s / 2, s / 2 - 1), RgbaFrom(255, 255, 255, 90));
            c.Fill(Union(Box(s / 2, s / 2, s * 0.3f, s * 0.1f), Box(s / 2, s / 2, s * 0.1f, s * 0.3f)),
                   RgbaFrom(255, 60, 60));
        });
    if (StartsWith(name, "SmokeTexture")) return Puff(w, RgbaFrom(140, 140, 140, 200), 0.6f);
    return Glow(w, kWhite, 2.0f);
}

Image Special(const std::string& name, const TextureNeeds& needs, bool& handled) {
    handled = true;
    const int w = needs.width, h = needs.height;
    if (name == "QuestionMarkFat" || name == "DollarSign") {
        return Symbol(w, h, [&](Canvas& c, float s, float t) {
            const char glyph = name == "DollarSign" ? '$' : '?';
            const float scale = std::floor(t / 9.5f);
            for (float dx : {-1.5f, 0.0f, 1.5f})
                DrawGlyphCentred(c, glyph, s / 2 + dx, t / 2 - 3.5f * scale + dx, scale, RgbaFrom(20, 20, 20));
            DrawGlyphCentred(c, glyph, s / 2, t / 2 - 3.5f * scale, scale, RgbaFrom(255, 220, 40));
        });
    }
    if (name == "Infinity")
        return Symbol(w, h, [](Canvas& c, float s, float t) {
            c.Fill(Union(Ring(s * 0.32f, t / 2, s * 0.15f, s * 0.08f), Ring(s * 0.68f, t / 2, s * 0.15f, s * 0.08f)),
                   kWhite);
        });
    if (name == "Black")
        return Symbol(w, h, [](Canvas& c, float, float) { c.Paint([](float, float) { return kBlack; }); });
    if (name == "Cursor")
        return Symbol(w, h, [](Canvas& c, float, float) { c.Paint([](float, float) { return kWhite; }); });
    // Until an editor paints it in its owner's colours, the beacon shines in its own light.
    if (name == "BeaconPatternButton") return BeaconStar(needs, RgbaFrom(40, 150, 180), RgbaFrom(120, 240, 255));
    if (name == "X") return Cross(needs, RgbaFrom(230, 30, 30), false);
    if (name == "WhiteCross") return Cross(needs, kWhite, false);
    if (name == "WhiteO")
        return Symbol(w, h,
                      [](Canvas& c, float s, float) { c.Fill(Ring(s / 2, s / 2, s * 0.35f, s * 0.15f), kWhite); });
    if (name == "MenuHighlight" || name == "Highlight")
        return Symbol(w, h,
                      [](Canvas& c, float s, float) { c.Fill(Ring(s / 2, s / 2, s * 0.42f, s * 0.08f), kWhite); });
    if (name == "ButtonBlackRing")
        return Symbol(w, h, [](Canvas& c, float s, float) { c.Fill(Ring(s / 2, s / 2, s * 0.44f, s * 0.1f), kBlack); });
    if (StartsWith(name, "YesButton")) return Tick(needs);
    if (StartsWith(name, "NoButton")) return Cross(needs, kWhite, true);
    if (name == "UpArrow" || name == "MapUpButton") return Arrow(needs, true);
    if (name == "DownArrow" || name == "MapDownButton") return Arrow(needs, false);
    if (StartsWith(name, "Window") && !EndsWith(name, "Button")) return Frame(name, needs);
    if (name.size() == 7 && EndsWith(name, "Button") && std::isdigit((unsigned char)name[0]))
        return Digit(name[0], needs);
    if (name == "PatternBackground") return Disc(needs, RgbaFrom(20, 80, 30, 110), true);
    if (name == "PopUpBackground" || name == "MenuBackground") return Disc(needs, RgbaFrom(30, 40, 70, 150), false);
    // Units in every player's colours stand on it: a grey without a hue of its own.
    if (name == "SquadCircle") return Disc(needs, RgbaFrom(70, 70, 70, 150), false);
    if (StartsWith(name, "PaintBlob") || name == "FlatSphere" || name == "Star1" || name == "Star3")
        return Glow(w, kWhite, 0.6f);
    if (name == "Star")
        return Symbol(w, h, [](Canvas& c, float s, float) {
            c.Fill(Star(s / 2, s / 2, s / 2 - 1, s * 0.2f, 5), RgbaFrom(255, 220, 40));
        });
    if (name == "ArrowheadWhite" || name == "PathStrip")
        return Symbol(w, h, [](Canvas& c, float s, float t) {
            c.Fill(Polygon({s * 0.9f, t / 2, s * 0.2f, t * 0.15f, s * 0.4f, t / 2, s * 0.2f, t * 0.85f}), kWhite);
        });
    if (name == "HealthBar")
        return Symbol(w, h, [](Canvas& c, float s, float t) {
            c.Fill(Box(s / 2, t / 2, s / 2 - 1, t / 2 - 2, 3), RgbaFrom(60, 220, 60));
        });
    if (name == "SliderBody")
        return Symbol(w, h, [](Canvas& c, float s, float t) {
            c.Fill(Box(s / 2, t / 2, s / 2, t * 0.2f), RgbaFrom(200, 200, 200));
        });
    if (name == "Handle")
        return Symbol(w, h, [](Canvas& c, float s, float) {
            c.Fill(Circle(s / 2, s / 2, s / 2 - 1), RgbaFrom(230, 230, 230));
            c.Fill(Circle(s / 2, s / 2, s / 4), RgbaFrom(160, 160, 160));
        });
    if (name == "CloseButton") return Cross(needs, RgbaFrom(230, 230, 230), false);
    if (name == "Tile")
        return Symbol(w, h, [](Canvas& c, float s, float t) {
            c.Paint([](float, float) { return RgbaFrom(40, 60, 40, 120); });
            c.Fill(Subtract(Box(s / 2, t / 2, s / 2, t / 2), Box(s / 2, t / 2, s / 2 - 1.5f, t / 2 - 1.5f)),
                   RgbaFrom(140, 220, 140));
        });
    if (name == "MousePointer")
        return Symbol(w, h, [](Canvas& c, float s, float) {
            c.Fill(Polygon({1, 1, s * 0.7f, s * 0.45f, s * 0.4f, s * 0.5f, s * 0.25f, s * 0.8f}), kBlack);
            c.Fill(Polygon({3, 3, s * 0.6f, s * 0.44f, s * 0.37f, s * 0.46f, s * 0.25f, s * 0.7f}), kWhite);
        });
    handled = false;
    return {};
}

}  // namespace

std::string IconLabel(const std::string& name, std::size_t maxLetters) {
    static const char* const kDrop[] = {"Button", "Conditional", "PaintTray", "Image", "Base", "Menu", "Net", "Tray"};
    std::string core = name;
    while (!core.empty() && std::isdigit((unsigned char)core.back()) && core.size() > 2 &&
           !std::isdigit((unsigned char)core[core.size() - 3]))
        core.pop_back();
    if (EndsWith(core, "64") || EndsWith(core, "32")) core.resize(core.size() - 2);
    std::vector<std::string> words;
    for (char c : core) {
        if (std::isupper((unsigned char)c) || words.empty() ||
            (std::isdigit((unsigned char)c) && !std::isdigit((unsigned char)words.back().back())))
            words.emplace_back();
        words.back() += c;
    }
    std::vector<std::string> kept;
    for (const std::string& word : words) {
        bool drop = false;
        for (const char* d : kDrop) drop = drop || word == d;
        if (!drop) kept.push_back(word);
    }
    if (kept.empty()) kept = words;
    std::string label;
    if (kept.size() == 1 || kept[0].size() <= maxLetters) {
        label = kept[0].substr(0, maxLetters);
        // A trailing number tells variants apart ("Fire2").
        for (std::size_t i = 1; i < kept.size(); ++i)
            if (std::isdigit((unsigned char)kept[i][0]) && label.size() < maxLetters) label += kept[i][0];
    } else {
        for (const std::string& word : kept)
            if (label.size() < maxLetters) label += word[0];
    }
    for (char& c : label) c = char(std::toupper((unsigned char)c));
    return label;
}

Image PaintButtonAround(const std::string& name, const TextureNeeds& needs, const Image& picture) {
    Canvas canvas(needs.width, needs.height);
    ButtonBase(canvas, {NameColour(name)});
    Image image = canvas.ToImage();
    image.Blit(picture, (needs.width - picture.Width()) / 2, (needs.height - picture.Height()) / 2);
    return image;
}

Image PaintMapPicture(const std::string& name, bool star, int size) {
    sys::SRand(SeedFor(name));
    const Rgba colour = NameColour(name);
    return Symbol(size, size, [&](Canvas& c, float s, float) {
        if (star) {
            c.Paint([&](float x, float y) {
                const float r = std::hypot(x - s / 2, y - s / 2) / (s / 2);
                const float a = std::pow(std::clamp(1 - r, 0.0f, 1.0f), 2.0f);
                return Rgba{1, 1, 0.8f + 0.2f * colour.b, a};
            });
            c.Fill(Star(s / 2, s / 2, s * 0.45f, s * 0.08f, 4), Mix(colour, kWhite, 0.6f));
            c.Fill(Circle(s / 2, s / 2, s * 0.12f), kWhite);
            return;
        }
        const Noise noise(4);
        c.Fill(Circle(s / 2, s / 2, s / 2 - 1), [&](float x, float y) {
            const float light = std::clamp(1.2f - std::hypot(x - s * 0.35f, y - s * 0.35f) / s * 1.6f, 0.2f, 1.0f);
            const Rgba surface = Mix(colour, Mix(colour, kWhite, 0.4f), noise.Fractal(x * 4 / s, y * 4 / s, 3));
            return Rgba{surface.r * light, surface.g * light, surface.b * light, 1};
        });
    });
}

Image PaintTexture(const std::string& name, const TextureNeeds& needs) {
    sys::SRand(SeedFor(name));
    const auto& grounds = Grounds();
    const std::size_t tile = name.find("Tile");
    if (tile != std::string::npos && tile > 0 && grounds.count(name.substr(0, tile)) && name.size() == tile + 5)
        return TerrainTile(name.substr(0, tile), name.back() - '0', needs.width, needs.height);
    if (StartsWith(name, "Tile") && name.size() > 4 && std::isdigit((unsigned char)name[4]))
        return CornerMask(name.substr(4), needs.width, needs.height);
    Image image;
    bool handled = false;
    if (StartsWith(name, "LaserBall") || StartsWith(name, "Sparkle") || name == "WhiteBall" ||
        name == "HealthParticle" || StartsWith(name, "SmokeTexture"))
        image = Particle(name, needs);
    else if (needs.recolourKeys)
        image = KeyedIcon(name, needs);
    else if (needs.clearBorder)
        image = Decal(name, needs);
    else if (needs.greyRing)
        image = RingIcon(name, needs);
    else if (image = Special(name, needs, handled); !handled)
        image = Icon(name, needs);
    if (needs.clearBorder) ClearBorder(image);
    return image;
}

}  // namespace assetgen
