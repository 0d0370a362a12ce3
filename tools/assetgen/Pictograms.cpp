#include "Pictograms.h"

#include <cmath>
#include <functional>
#include <map>
#include <vector>

#include "Glyphs.h"

namespace assetgen {
namespace {

const Rgba kInk = RgbaFrom(255, 255, 255);
const Rgba kDark = RgbaFrom(30, 30, 36);
const Rgba kMetal = RgbaFrom(175, 180, 190);
const Rgba kRedTeam = RgbaFrom(215, 55, 45);
const Rgba kBlueTeam = RgbaFrom(55, 115, 220);
const Rgba kGold = RgbaFrom(250, 205, 40);

bool StartsWith(const std::string& s, const std::string& p) { return s.rfind(p, 0) == 0; }
bool EndsWith(const std::string& s, const std::string& p) {
    return s.size() >= p.size() && s.compare(s.size() - p.size(), p.size(), p) == 0;
}

// Drawing in a unit box: (-1, -1) top left to (1, 1) bottom right of the pictogram.
class Pen {
public:
    Pen(Canvas& canvas, float cx, float cy, float half) : canvas_(canvas), cx_(cx), cy_(cy), s_(half) {}

    float X(float u) const { return cx_ + u * s_; }
    float Y(float v) const { return cy_ + v * s_; }
    float L(float length) const { return length * s_; }

    void Disc(float u, float v, float r, Rgba c) { canvas_.Fill(Circle(X(u), Y(v), L(r)), c); }
    void RingAt(float u, float v, float r, float w, Rgba c) { canvas_.Fill(Ring(X(u), Y(v), L(r), L(w)), c); }
    void Line(float u0, float v0, float u1, float v1, float w, Rgba c) {
        canvas_.Fill(Segment(X(u0), Y(v0), X(u1), Y(v1), L(w)), c);
    }
    void Rect(float u, float v, float hu, float hv, Rgba c, float corner = 0) {
        canvas_.Fill(Box(X(u), Y(v), L(hu), L(hv), L(corner)), c);
    }
    void Poly(std::vector<float> uv, Rgba c) {
        for (std::size_t i = 0; i + 1 < uv.size(); i += 2) {
            uv[i] = X(uv[i]);
            uv[i + 1] = Y(uv[i + 1]);
        }
        canvas_.Fill(Polygon(uv), c);
    }
    void StarAt(float u, float v, float outer, float inner, int points, Rgba c, float turn = 0) {
        canvas_.Fill(Star(X(u), Y(v), L(outer), L(inner), points, turn), c);
    }
    void Number(char digit, float u, float v, Rgba c) {
        const float scale = std::max(1.0f, std::floor(L(0.5f) / 4));
        DrawGlyphCentred(canvas_, digit, X(u), Y(v) - 3.5f * scale, scale, c);
    }
    // A slice of a disc from twelve o'clock clockwise, `share` of the whole.
    void Pie(float u, float v, float r, float share, Rgba c) {
        std::vector<float> uv = {u, v};
        const int steps = std::max(2, int(48 * share));
        for (int i = 0; i <= steps; ++i) {
            const float a = 2 * float(M_PI) * share * float(i) / float(steps);
            uv.push_back(u + r * std::sin(a));
            uv.push_back(v - r * std::cos(a));
        }
        Poly(uv, c);
    }
    // A line with an arrowhead at its end.
    void ArrowLine(float u0, float v0, float u1, float v1, float w, Rgba c) {
        const float du = u1 - u0, dv = v1 - v0, len = std::hypot(du, dv);
        const float nu = du / len, nv = dv / len, head = w * 2.6f;
        Line(u0, v0, u1 - nu * head * 0.8f, v1 - nv * head * 0.8f, w, c);
        Poly({u1, v1, u1 - nu * head - nv * head * 0.8f, v1 - nv * head + nu * head * 0.8f,
              u1 - nu * head + nv * head * 0.8f, v1 - nv * head - nu * head * 0.8f},
             c);
    }

private:
    Canvas& canvas_;
    float cx_, cy_, s_;
};

void Robot(Pen& p, float u, float v, float size, Rgba body) {
    p.Disc(u, v + 0.35f * size, 0.42f * size, body);
    p.Rect(u, v - 0.3f * size, 0.36f * size, 0.3f * size, body, 0.08f * size);
    p.Line(u, v - 0.6f * size, u, v - 0.85f * size, 0.05f * size, body);
    p.Disc(u, v - 0.88f * size, 0.09f * size, body);
    p.Disc(u - 0.14f * size, v - 0.32f * size, 0.08f * size, kInk);
    p.Disc(u + 0.14f * size, v - 0.32f * size, 0.08f * size, kInk);
}

void Stopwatch(Pen& p, Rgba face) {
    p.Disc(0, 0.1f, 0.72f, kDark);
    p.Disc(0, 0.1f, 0.62f, face);
    p.Rect(0, -0.72f, 0.14f, 0.1f, kDark);
}

void Heart(Pen& p, float size, Rgba c) {
    p.Disc(-0.32f * size, -0.2f * size, 0.38f * size, c);
    p.Disc(0.32f * size, -0.2f * size, 0.38f * size, c);
    p.Poly({-0.68f * size, -0.05f * size, 0.68f * size, -0.05f * size, 0, 0.75f * size}, c);
}

void Crown(Pen& p) {
    p.Poly({-0.75f, 0.45f, -0.8f, -0.45f, -0.4f, 0.0f, 0, -0.6f, 0.4f, 0.0f, 0.8f, -0.45f, 0.75f, 0.45f}, kGold);
    p.Rect(0, 0.52f, 0.75f, 0.12f, kGold);
    p.Disc(0, 0.15f, 0.1f, kRedTeam);
}

void Slash(Pen& p) {
    p.Line(-0.8f, 0.8f, 0.8f, -0.8f, 0.16f, kDark);
    p.Line(-0.8f, 0.8f, 0.8f, -0.8f, 0.09f, kRedTeam);
}

void Flame(Pen& p, float u, float v, float size) {
    p.Poly({u, v - 0.9f * size, u + 0.55f * size, v + 0.1f * size, u + 0.4f * size, v + 0.6f * size, u - 0.4f * size,
            v + 0.6f * size, u - 0.55f * size, v + 0.1f * size},
           RgbaFrom(240, 90, 20));
    p.Disc(u, v + 0.25f * size, 0.42f * size, RgbaFrom(240, 90, 20));
    p.Poly({u, v - 0.35f * size, u + 0.3f * size, v + 0.25f * size, u - 0.3f * size, v + 0.25f * size},
           RgbaFrom(255, 220, 60));
    p.Disc(u, v + 0.35f * size, 0.25f * size, RgbaFrom(255, 220, 60));
}

void Ball(Pen& p, float u, float v, float r) {
    p.Disc(u, v, r, kDark);
    p.Disc(u, v, r * 0.88f, kInk);
    p.StarAt(u, v, r * 0.36f, r * 0.3f, 5, kDark);
    for (int i = 0; i < 5; ++i) {
        const float a = float(M_PI) * (0.5f + 0.4f * i);
        p.Disc(u + std::cos(a) * r * 0.78f, v - std::sin(a) * r * 0.78f, r * 0.16f, kDark);
    }
}

void Toggle(Pen& p, bool on, char digit) {
    p.Rect(0, 0.15f, 0.8f, 0.38f, kDark, 0.38f);
    p.Rect(0, 0.15f, 0.7f, 0.28f, on ? RgbaFrom(80, 210, 90) : RgbaFrom(120, 120, 125), 0.28f);
    p.Disc(on ? 0.4f : -0.4f, 0.15f, 0.3f, kInk);
    if (digit) p.Number(digit, 0, -0.6f, kInk);
}

void Antenna(Pen& p, char digit, Rgba waves) {
    p.Line(-0.2f, 0.8f, -0.2f, -0.2f, 0.1f, kInk);
    p.Disc(-0.2f, -0.3f, 0.16f, kInk);
    for (float r : {0.42f, 0.7f}) {
        p.RingAt(-0.2f, -0.3f, r, 0.08f, waves);
    }
    if (digit) p.Number(digit, 0.55f, 0.45f, kInk);
}

void Bullet(Pen& p, bool empty) {
    const Rgba brass = empty ? RgbaFrom(110, 110, 110) : kGold;
    p.Rect(0, 0.2f, 0.25f, 0.5f, brass);
    p.Disc(0, -0.3f, 0.25f, brass);
    p.Rect(0, 0.72f, 0.3f, 0.06f, brass);
}

void CircularArrow(Pen& p, Rgba c) {
    p.RingAt(0, 0, 0.55f, 0.14f, c);
    p.Rect(0.45f, -0.35f, 0.25f, 0.3f, kDark);
    p.Poly({0.25f, -0.72f, 0.75f, -0.55f, 0.4f, -0.15f}, c);
}

void Burst(Pen& p, float u, float v, float r) {
    p.StarAt(u, v, r, r * 0.5f, 8, RgbaFrom(255, 140, 30));
    p.StarAt(u, v, r * 0.6f, r * 0.3f, 8, RgbaFrom(255, 235, 80), 0.2f);
}

void Mountain(Pen& p, float height) {
    p.Poly({-0.9f, 0.7f, -0.2f, 0.7f - height, 0.2f, 0.7f - height * 0.75f, 0.9f, 0.7f}, RgbaFrom(130, 110, 80));
    p.Poly({-0.2f, 0.7f - height, -0.35f, 0.7f - height * 0.7f, -0.05f, 0.7f - height * 0.78f}, kInk);
}

// A swatch of ground: its colour and a mark of its character.
void Ground(Pen& p, const std::string& kind) {
    static const std::map<std::string, std::pair<Rgba, Rgba>> colours = {
        {"Grass", {RgbaFrom(70, 150, 50), RgbaFrom(130, 200, 80)}},
        {"Dirt", {RgbaFrom(120, 80, 45), RgbaFrom(170, 130, 85)}},
        {"Stone", {RgbaFrom(130, 130, 135), RgbaFrom(60, 60, 62)}},
        {"Swamp", {RgbaFrom(60, 75, 35), RgbaFrom(110, 140, 50)}},
        {"Water", {RgbaFrom(30, 90, 190), RgbaFrom(170, 210, 255)}},
        {"Sand", {RgbaFrom(220, 190, 120), RgbaFrom(180, 150, 90)}},
        {"Snow", {RgbaFrom(235, 240, 250), RgbaFrom(160, 180, 215)}},
        {"Lava", {RgbaFrom(90, 20, 10), RgbaFrom(255, 150, 20)}},
    };
    const auto it = colours.find(kind);
    if (it == colours.end()) return;
    const auto [base, mark] = it->second;
    p.Rect(0, 0, 0.82f, 0.82f, base, 0.2f);
    if (kind == "Grass") {
        for (float u : {-0.5f, -0.2f, 0.1f, 0.4f}) p.Poly({u - 0.1f, 0.6f, u + 0.05f, -0.4f, u + 0.12f, 0.6f}, mark);
    } else if (kind == "Dirt") {
        for (auto [u, v] : {std::pair{-0.4f, -0.3f}, {0.35f, -0.1f}, {-0.1f, 0.4f}, {0.45f, 0.45f}})
            p.Disc(u, v, 0.13f, mark);
    } else if (kind == "Stone") {
        p.Line(-0.82f, 0, 0.82f, 0, 0.06f, mark);
        p.Line(0, -0.82f, 0, 0, 0.06f, mark);
        p.Line(-0.35f, 0, -0.35f, 0.82f, 0.06f, mark);
        p.Line(0.4f, 0, 0.4f, 0.82f, 0.06f, mark);
    } else if (kind == "Swamp") {
        p.RingAt(-0.3f, -0.2f, 0.2f, 0.06f, mark);
        p.RingAt(0.3f, 0.3f, 0.14f, 0.05f, mark);
    } else if (kind == "Water" || kind == "Sand") {
        for (float v : {-0.4f, 0.0f, 0.4f}) {
            p.Line(-0.6f, v, -0.2f, v - 0.12f, 0.06f, mark);
            p.Line(-0.2f, v - 0.12f, 0.2f, v, 0.06f, mark);
            p.Line(0.2f, v, 0.6f, v - 0.12f, 0.06f, mark);
        }
    } else if (kind == "Snow") {
        for (float a : {0.0f, 1.047f, 2.094f})
            p.Line(-0.5f * std::cos(a), -0.5f * std::sin(a), 0.5f * std::cos(a), 0.5f * std::sin(a), 0.07f, mark);
    } else {
        p.Line(-0.7f, -0.5f, 0.0f, 0.1f, 0.08f, mark);
        p.Line(0.0f, 0.1f, 0.6f, -0.2f, 0.08f, mark);
        p.Line(0.0f, 0.1f, -0.1f, 0.7f, 0.08f, mark);
    }
}

void Budget(Pen& p, float share) {
    p.Disc(0, 0, 0.8f, RgbaFrom(90, 90, 100));
    p.Pie(0, 0, 0.8f, share, kGold);
    p.RingAt(0, 0, 0.8f, 0.06f, kDark);
}

void Dots(Pen& p, const std::vector<std::pair<float, float>>& places) {
    for (auto [u, v] : places) p.Disc(u, v, 0.16f, kInk);
}

void Eye(Pen& p, float u, float v, float size) {
    p.Poly({u - 0.7f * size, v, u, v - 0.4f * size, u + 0.7f * size, v, u, v + 0.4f * size}, kInk);
    p.Disc(u, v, 0.22f * size, kDark);
}

void Frame(Pen& p) {
    p.Rect(0, 0, 0.85f, 0.7f, kInk, 0.1f);
    p.Rect(0, 0.05f, 0.72f, 0.55f, kDark);
}

void Floppy(Pen& p) {
    p.Rect(0, 0, 0.75f, 0.75f, kInk, 0.08f);
    p.Rect(0, -0.45f, 0.4f, 0.25f, kDark);
    p.Rect(0, 0.35f, 0.5f, 0.3f, RgbaFrom(200, 205, 215));
}

void Globe(Pen& p, float u, float v, float r) {
    p.Disc(u, v, r, RgbaFrom(60, 130, 220));
    p.RingAt(u, v, r * 0.5f, r * 0.08f, kInk);
    p.Line(u - r, v, u + r, v, r * 0.08f, kInk);
    p.Line(u, v - r, u, v + r, r * 0.08f, kInk);
    p.RingAt(u, v, r, r * 0.1f, kInk);
}

void Person(Pen& p, float u, float v, float size, Rgba c) {
    p.Disc(u, v - 0.45f * size, 0.3f * size, c);
    p.Disc(u, v + 0.45f * size, 0.5f * size, c);
}

void Shield(Pen& p, float u, float v, float size, Rgba c) {
    p.Poly({u - 0.6f * size, v - 0.6f * size, u + 0.6f * size, v - 0.6f * size, u + 0.55f * size, v + 0.1f * size, u,
            v + 0.75f * size, u - 0.55f * size, v + 0.1f * size},
           c);
}

// Upgrades: the quality drawn beside a robot of the chassis size.
void Upgrade(Pen& p, const std::string& quality, float size) {
    Robot(p, -0.35f, 0.2f, 0.35f + 0.25f * size, kInk);
    if (quality == "Speed") {
        for (float v : {-0.3f, 0.1f, 0.5f}) p.Line(0.3f, v, 0.85f, v, 0.07f, kGold);
    } else if (quality == "Armor") {
        Shield(p, 0.45f, 0.1f, 0.7f, kGold);
    } else {
        for (float v : {-0.35f, 0.05f, 0.45f})
            for (float u : {0.3f, 0.6f}) p.Rect(u, v, 0.11f, 0.11f, kGold);
    }
    p.ArrowLine(0.55f, -0.5f, 0.55f, -0.95f, 0.07f, RgbaFrom(90, 230, 100));
}

using Drawing = std::function<void(Pen&)>;

const std::map<std::string, Drawing>& Drawings() {
    static const std::map<std::string, Drawing> drawings = {
        // Weapons.
        {"Laser",
         [](Pen& p) {
             p.Rect(-0.55f, 0.3f, 0.35f, 0.2f, kMetal, 0.05f);
             p.Line(-0.2f, 0.3f, 0.85f, -0.45f, 0.2f, RgbaFrom(255, 60, 60));
             p.Line(-0.2f, 0.3f, 0.85f, -0.45f, 0.07f, kInk);
         }},
        {"ShrapnelGun",
         [](Pen& p) {
             p.Rect(-0.6f, 0, 0.3f, 0.22f, kMetal, 0.05f);
             for (float v : {-0.6f, -0.3f, 0.0f, 0.3f, 0.6f}) p.Disc(0.35f + 0.3f * (1 - std::fabs(v)), v, 0.11f, kInk);
         }},
        {"Bomb",
         [](Pen& p) {
             p.Disc(-0.1f, 0.2f, 0.58f, kDark);
             p.Disc(-0.3f, 0.0f, 0.14f, RgbaFrom(110, 110, 120));
             p.Line(0.25f, -0.25f, 0.5f, -0.55f, 0.08f, RgbaFrom(200, 170, 120));
             p.StarAt(0.6f, -0.65f, 0.25f, 0.1f, 6, kGold);
         }},
        {"Flameball", [](Pen& p) { Flame(p, 0, 0, 1.0f); }},
        {"Propeller",
         [](Pen& p) {
             for (int i = 0; i < 3; ++i) {
                 const float a = 2.094f * i - 0.5f;
                 p.Line(0, 0, 0.75f * std::cos(a), 0.75f * std::sin(a), 0.22f, kInk);
             }
             p.Disc(0, 0, 0.2f, kDark);
         }},
        {"BeaconSetter",
         [](Pen& p) {
             p.Line(-0.4f, 0.85f, -0.4f, -0.8f, 0.09f, kInk);
             p.Poly({-0.35f, -0.8f, 0.7f, -0.5f, -0.35f, -0.15f}, RgbaFrom(60, 230, 230));
             p.Rect(-0.4f, 0.85f, 0.35f, 0.08f, kInk);
         }},
        {"Missile",
         [](Pen& p) {
             p.Poly({0.85f, -0.85f, 0.2f, -0.55f, -0.45f, 0.1f, -0.1f, 0.45f, 0.55f, -0.2f}, kInk);
             p.Poly({-0.45f, 0.1f, -0.8f, 0.0f, -0.3f, -0.25f}, kRedTeam);
             p.Poly({-0.1f, 0.45f, 0.0f, 0.8f, 0.25f, 0.3f}, kRedTeam);
             Flame(p, -0.55f, 0.55f, 0.3f);
         }},
        {"StaticField",
         [](Pen& p) {
             p.Poly({0.15f, -0.9f, -0.5f, 0.1f, -0.05f, 0.1f, -0.25f, 0.9f, 0.5f, -0.15f, 0.05f, -0.15f, 0.35f, -0.9f},
                    kGold);
         }},
        {"GooField",
         [](Pen& p) {
             p.Disc(0, 0.25f, 0.5f, RgbaFrom(90, 210, 60));
             p.Poly({0, -0.85f, 0.45f, 0.05f, -0.45f, 0.05f}, RgbaFrom(90, 210, 60));
             p.Disc(-0.18f, 0.15f, 0.12f, RgbaFrom(200, 255, 170));
         }},
        {"HealthField",
         [](Pen& p) {
             p.Disc(0, 0, 0.8f, kInk);
             p.Rect(0, 0, 0.55f, 0.18f, kRedTeam);
             p.Rect(0, 0, 0.18f, 0.55f, kRedTeam);
         }},
        {"VornLauncher",
         [](Pen& p) {
             Robot(p, -0.2f, 0.25f, 0.65f, kInk);
             p.ArrowLine(0.35f, 0.6f, 0.75f, -0.7f, 0.09f, kGold);
         }},
        {"SoccerCleat",
         [](Pen& p) {
             p.Poly({-0.5f, -0.8f, -0.05f, -0.8f, 0.0f, 0.05f, 0.8f, 0.25f, 0.8f, 0.55f, -0.55f, 0.55f}, kDark);
             for (float u : {-0.35f, 0.15f, 0.6f}) p.Rect(u, 0.66f, 0.08f, 0.1f, kDark);
             p.Line(-0.45f, -0.2f, -0.05f, -0.2f, 0.06f, kInk);
             p.Line(-0.45f, 0.05f, 0.05f, 0.05f, 0.06f, kInk);
         }},
        // Things on the battlefield.
        {"Tree",
         [](Pen& p) {
             p.Rect(0, 0.55f, 0.12f, 0.35f, RgbaFrom(120, 80, 40));
             p.Disc(0, -0.2f, 0.62f, RgbaFrom(50, 150, 50));
             p.Disc(-0.2f, -0.35f, 0.22f, RgbaFrom(100, 200, 80));
         }},
        {"Rock",
         [](Pen& p) {
             p.Poly({-0.8f, 0.6f, -0.6f, -0.1f, -0.1f, -0.5f, 0.5f, -0.3f, 0.85f, 0.6f}, RgbaFrom(150, 145, 140));
             p.Poly({-0.1f, -0.5f, 0.0f, 0.0f, -0.6f, -0.1f}, RgbaFrom(190, 185, 180));
         }},
        {"SolarCharger",
         [](Pen& p) {
             p.StarAt(-0.35f, -0.4f, 0.5f, 0.3f, 10, kGold);
             p.Disc(-0.35f, -0.4f, 0.28f, RgbaFrom(255, 235, 120));
             p.Poly({-0.3f, 0.85f, 0.1f, 0.05f, 0.9f, 0.05f, 0.5f, 0.85f}, RgbaFrom(40, 80, 170));
             p.Line(0.3f, 0.05f, 0.1f, 0.85f, 0.04f, kInk);
             p.Line(0.5f, 0.05f, 0.3f, 0.85f, 0.04f, kInk);
         }},
        {"Beacon",
         [](Pen& p) {
             p.Poly({-0.25f, 0.5f, 0.25f, 0.5f, 0.12f, -0.9f, -0.12f, -0.9f}, RgbaFrom(120, 240, 255, 200));
             p.Rect(0, 0.6f, 0.7f, 0.18f, RgbaFrom(60, 200, 220), 0.18f);
         }},
        {"SoccerBall", [](Pen& p) { Ball(p, 0, 0, 0.82f); }},
        {"FriendGoal",
         [](Pen& p) {
             p.Rect(0, 0.1f, 0.8f, 0.6f, kBlueTeam);
             p.Rect(0, 0.15f, 0.65f, 0.5f, RgbaFrom(230, 235, 245));
             for (float u : {-0.33f, 0.0f, 0.33f}) p.Line(u, -0.35f, u, 0.65f, 0.04f, kBlueTeam);
             p.Line(-0.65f, 0.15f, 0.65f, 0.15f, 0.04f, kBlueTeam);
         }},
        {"EnemyGoal",
         [](Pen& p) {
             p.Rect(0, 0.1f, 0.8f, 0.6f, kRedTeam);
             p.Rect(0, 0.15f, 0.65f, 0.5f, RgbaFrom(245, 232, 230));
             for (float u : {-0.33f, 0.0f, 0.33f}) p.Line(u, -0.35f, u, 0.65f, 0.04f, kRedTeam);
             p.Line(-0.65f, 0.15f, 0.65f, 0.15f, 0.04f, kRedTeam);
         }},
        {"Friend", [](Pen& p) { Robot(p, 0, 0.05f, 0.95f, kBlueTeam); }},
        {"Enemy", [](Pen& p) { Robot(p, 0, 0.05f, 0.95f, kRedTeam); }},
        {"SmallFriend", [](Pen& p) { Robot(p, 0, 0.3f, 0.55f, kBlueTeam); }},
        {"MediumFriend", [](Pen& p) { Robot(p, 0, 0.15f, 0.75f, kBlueTeam); }},
        {"LargeFriend", [](Pen& p) { Robot(p, 0, 0.0f, 0.98f, kBlueTeam); }},
        {"SmallEnemy", [](Pen& p) { Robot(p, 0, 0.3f, 0.55f, kRedTeam); }},
        {"MediumEnemy", [](Pen& p) { Robot(p, 0, 0.15f, 0.75f, kRedTeam); }},
        {"LargeEnemy", [](Pen& p) { Robot(p, 0, 0.0f, 0.98f, kRedTeam); }},
        {"VIP", [](Pen& p) { Crown(p); }},
        {"NotVIP",
         [](Pen& p) {
             Crown(p);
             Slash(p);
         }},
        {"NotInjured", [](Pen& p) { Heart(p, 1.0f, kRedTeam); }},
        // Conditionals and actions.
        {"Injured",
         [](Pen& p) {
             Heart(p, 1.0f, kRedTeam);
             p.Poly({0.05f, -0.45f, -0.15f, -0.05f, 0.1f, 0.15f, -0.1f, 0.6f, 0.2f, 0.15f, -0.05f, -0.05f}, kDark);
         }},
        {"Switch1", [](Pen& p) { Toggle(p, true, '1'); }},
        {"Switch2", [](Pen& p) { Toggle(p, true, '2'); }},
        {"Switch1On", [](Pen& p) { Toggle(p, true, '1'); }},
        {"Switch2On", [](Pen& p) { Toggle(p, true, '2'); }},
        {"Switch1Off", [](Pen& p) { Toggle(p, false, '1'); }},
        {"Switch2Off", [](Pen& p) { Toggle(p, false, '2'); }},
        {"Signal", [](Pen& p) { Antenna(p, '1', kGold); }},
        {"Signal2", [](Pen& p) { Antenna(p, '2', kGold); }},
        {"SignalOn", [](Pen& p) { Antenna(p, '1', RgbaFrom(90, 230, 100)); }},
        {"Signal2On", [](Pen& p) { Antenna(p, '2', RgbaFrom(90, 230, 100)); }},
        {"SignalOff", [](Pen& p) { Antenna(p, '1', RgbaFrom(110, 110, 115)); }},
        {"Signal2Off", [](Pen& p) { Antenna(p, '2', RgbaFrom(110, 110, 115)); }},
        {"NoAmmo",
         [](Pen& p) {
             Bullet(p, true);
             Slash(p);
         }},
        // A screen with arrows out to two corners: the size of the game's window.
        {"ScreenSize",
         [](Pen& p) {
             Frame(p);
             p.ArrowLine(-0.1f, 0.15f, -0.55f, -0.3f, 0.08f, kInk);
             p.ArrowLine(0.1f, 0.15f, 0.55f, 0.5f, 0.08f, kInk);
         }},
        // The editor's small marks: a decision diamond for a conditional, rising bars
        // for a pattern's priority.
        {"MiniConditional",
         [](Pen& p) {
             p.Poly({0, -0.85f, 0.85f, 0, 0, 0.85f, -0.85f, 0}, kGold);
             p.Disc(0, 0, 0.22f, kDark);
         }},
        {"MiniPriority",
         [](Pen& p) {
             p.Rect(-0.55f, 0.45f, 0.2f, 0.35f, kInk);
             p.Rect(0, 0.2f, 0.2f, 0.6f, kInk);
             p.Rect(0.55f, -0.05f, 0.2f, 0.85f, kGold);
         }},
        {"OutOfAmmo",
         [](Pen& p) {
             Bullet(p, true);
             Slash(p);
             p.Number('1', 0.6f, 0.55f, kInk);
         }},
        {"OutOfAmmo2",
         [](Pen& p) {
             Bullet(p, true);
             Slash(p);
             p.Number('2', 0.6f, 0.55f, kInk);
         }},
        {"Reloading",
         [](Pen& p) {
             CircularArrow(p, kGold);
             p.Number('1', 0, 0, kInk);
         }},
        {"Reloading2",
         [](Pen& p) {
             CircularArrow(p, kGold);
             p.Number('2', 0, 0, kInk);
         }},
        {"TimerRunning",
         [](Pen& p) {
             Stopwatch(p, kInk);
             p.Line(0, 0.1f, 0.3f, -0.2f, 0.09f, kDark);
             p.Line(0, 0.1f, 0, 0.45f, 0.06f, kDark);
         }},
        {"TimerExpired",
         [](Pen& p) {
             Stopwatch(p, RgbaFrom(255, 200, 190));
             p.Line(-0.3f, -0.2f, 0.3f, 0.4f, 0.1f, kRedTeam);
             p.Line(0.3f, -0.2f, -0.3f, 0.4f, 0.1f, kRedTeam);
         }},
        {"SetTimer",
         [](Pen& p) {
             Stopwatch(p, kInk);
             p.Rect(0, 0.1f, 0.3f, 0.07f, RgbaFrom(40, 160, 60));
             p.Rect(0, 0.1f, 0.07f, 0.3f, RgbaFrom(40, 160, 60));
         }},
        {"HasBall",
         [](Pen& p) {
             Robot(p, -0.3f, 0.1f, 0.7f, kMetal);
             Ball(p, 0.45f, 0.45f, 0.35f);
         }},
        {"TurnToFace",
         [](Pen& p) {
             p.Poly({-0.7f, 0, 0, -0.4f, 0.7f, 0, 0, 0.4f}, kInk);
             p.Disc(0, 0, 0.22f, kDark);
             p.RingAt(0, 0, 0.8f, 0.08f, kGold);
             p.Poly({0.55f, -0.75f, 0.95f, -0.55f, 0.6f, -0.35f}, kGold);
         }},
        {"Fire",
         [](Pen& p) {
             Burst(p, 0, 0, 0.75f);
             p.Number('1', 0, 0, kDark);
         }},
        {"Fire2",
         [](Pen& p) {
             Burst(p, 0, 0, 0.75f);
             p.Number('2', 0, 0, kDark);
         }},
        {"FireUp",
         [](Pen& p) {
             Burst(p, 0.2f, 0.25f, 0.55f);
             p.ArrowLine(-0.55f, 0.6f, -0.55f, -0.85f, 0.1f, kInk);
             p.Number('1', 0.2f, 0.25f, kDark);
         }},
        {"Fire2Up",
         [](Pen& p) {
             Burst(p, 0.2f, 0.25f, 0.55f);
             p.ArrowLine(-0.55f, 0.6f, -0.55f, -0.85f, 0.1f, kInk);
             p.Number('2', 0.2f, 0.25f, kDark);
         }},
        {"ClearBeacon",
         [](Pen& p) {
             p.Poly({-0.25f, 0.5f, 0.25f, 0.5f, 0.12f, -0.9f, -0.12f, -0.9f}, RgbaFrom(120, 240, 255, 200));
             p.Rect(0, 0.6f, 0.7f, 0.18f, RgbaFrom(60, 200, 220), 0.18f);
             Slash(p);
         }},
        // Map tests.
        {"MapDirtGrassStone",
         [](Pen& p) {
             p.Rect(-0.55f, 0, 0.28f, 0.8f, RgbaFrom(140, 95, 55));
             p.Rect(0, 0, 0.28f, 0.8f, RgbaFrom(80, 160, 55));
             p.Rect(0.55f, 0, 0.28f, 0.8f, RgbaFrom(140, 140, 145));
         }},
        {"MapSandSnowSwamp",
         [](Pen& p) {
             p.Rect(-0.55f, 0, 0.28f, 0.8f, RgbaFrom(225, 195, 125));
             p.Rect(0, 0, 0.28f, 0.8f, RgbaFrom(240, 245, 252));
             p.Rect(0.55f, 0, 0.28f, 0.8f, RgbaFrom(80, 100, 40));
         }},
        {"MapLava", [](Pen& p) { Ground(p, "Lava"); }},
        {"MapWater", [](Pen& p) { Ground(p, "Water"); }},
        // Trays, windows, cameras and squad layouts.
        {"MiniMap",
         [](Pen& p) {
             p.Rect(0, 0, 0.8f, 0.8f, RgbaFrom(70, 150, 60), 0.1f);
             p.Rect(0.3f, -0.3f, 0.3f, 0.25f, RgbaFrom(40, 100, 200));
             p.Disc(-0.35f, 0.3f, 0.12f, kRedTeam);
             p.Disc(0.1f, 0.4f, 0.12f, kBlueTeam);
         }},
        {"ControlTray",
         [](Pen& p) {
             for (float u : {-0.45f, 0.0f, 0.45f}) p.Line(u, -0.7f, u, 0.7f, 0.06f, kInk);
             p.Rect(-0.45f, 0.3f, 0.18f, 0.1f, kGold);
             p.Rect(0.0f, -0.3f, 0.18f, 0.1f, kGold);
             p.Rect(0.45f, 0.1f, 0.18f, 0.1f, kGold);
         }},
        {"ObjectTray",
         [](Pen& p) {
             p.Rect(-0.35f, 0.45f, 0.08f, 0.3f, RgbaFrom(120, 80, 40));
             p.Disc(-0.35f, -0.1f, 0.42f, RgbaFrom(50, 150, 50));
             p.Poly({0.1f, 0.75f, 0.25f, 0.25f, 0.55f, 0.1f, 0.85f, 0.75f}, RgbaFrom(150, 145, 140));
         }},
        {"KillTray",
         [](Pen& p) {
             Robot(p, 0, 0.05f, 0.9f, RgbaFrom(120, 120, 125));
             p.Line(-0.55f, -0.6f, 0.55f, 0.6f, 0.12f, kRedTeam);
             p.Line(0.55f, -0.6f, -0.55f, 0.6f, 0.12f, kRedTeam);
         }},
        {"PaintTray",
         [](Pen& p) {
             p.Line(0.6f, -0.7f, -0.1f, 0.1f, 0.14f, RgbaFrom(200, 160, 100));
             p.Poly({-0.1f, 0.0f, 0.05f, 0.2f, -0.5f, 0.8f, -0.75f, 0.55f}, RgbaFrom(70, 170, 60));
         }},
        {"ChatWindow",
         [](Pen& p) {
             p.Rect(0, -0.15f, 0.8f, 0.5f, kInk, 0.2f);
             p.Poly({-0.4f, 0.3f, -0.1f, 0.3f, -0.5f, 0.75f}, kInk);
             for (float u : {-0.4f, 0.0f, 0.4f}) p.Disc(u, -0.15f, 0.1f, kDark);
         }},
        {"VornTray",
         [](Pen& p) {
             Robot(p, -0.4f, 0.15f, 0.55f, kInk);
             Robot(p, 0.4f, 0.15f, 0.55f, kInk);
         }},
        {"SquadTray",
         [](Pen& p) {
             Robot(p, -0.45f, 0.2f, 0.45f, kInk);
             Robot(p, 0.0f, 0.2f, 0.45f, kInk);
             Robot(p, 0.45f, 0.2f, 0.45f, kInk);
         }},
        {"Scoreboard",
         [](Pen& p) {
             p.Poly({-0.55f, -0.7f, 0.55f, -0.7f, 0.4f, 0.0f, -0.4f, 0.0f}, kGold);
             p.Disc(0, -0.05f, 0.4f, kGold);
             p.Rect(0, 0.4f, 0.1f, 0.25f, kGold);
             p.Rect(0, 0.7f, 0.4f, 0.1f, kGold);
         }},
        {"Window", [](Pen& p) { Frame(p); }},
        {"LayoutCircle",
         [](Pen& p) {
             std::vector<std::pair<float, float>> places;
             for (int i = 0; i < 6; ++i) places.push_back({0.6f * std::cos(1.047f * i), 0.6f * std::sin(1.047f * i)});
             Dots(p, places);
         }},
        {"LayoutLine",
         [](Pen& p) {
             Dots(p, {{-0.7f, 0}, {-0.35f, 0}, {0, 0}, {0.35f, 0}, {0.7f, 0}});
         }},
        {"LayoutRandom",
         [](Pen& p) {
             Dots(p, {{-0.6f, -0.4f}, {0.1f, -0.6f}, {0.5f, 0.1f}, {-0.2f, 0.2f}, {-0.5f, 0.6f}, {0.4f, 0.6f}});
         }},
        {"CameraOverhead",
         [](Pen& p) {
             Eye(p, 0, -0.55f, 0.6f);
             p.ArrowLine(0, -0.2f, 0, 0.45f, 0.08f, kInk);
             p.Rect(0, 0.7f, 0.8f, 0.08f, kInk);
         }},
        {"CameraTilted",
         [](Pen& p) {
             Eye(p, -0.5f, -0.5f, 0.55f);
             p.ArrowLine(-0.25f, -0.25f, 0.35f, 0.4f, 0.08f, kInk);
             p.Rect(0, 0.7f, 0.8f, 0.08f, kInk);
         }},
        {"CameraReset",
         [](Pen& p) {
             Eye(p, 0, 0, 0.6f);
             p.RingAt(0, 0, 0.75f, 0.07f, kGold);
             p.Poly({0.5f, -0.8f, 0.9f, -0.55f, 0.5f, -0.35f}, kGold);
         }},
        {"Erase",
         [](Pen& p) {
             p.Poly({-0.75f, 0.2f, 0.05f, -0.6f, 0.65f, 0.0f, -0.15f, 0.8f}, RgbaFrom(240, 140, 170));
             p.Poly({-0.75f, 0.2f, -0.35f, -0.2f, 0.25f, 0.4f, -0.15f, 0.8f}, kInk);
         }},
        {"QuarterBudget", [](Pen& p) { Budget(p, 0.25f); }},
        {"ThirdBudget", [](Pen& p) { Budget(p, 1.0f / 3.0f); }},
        {"HalfBudget", [](Pen& p) { Budget(p, 0.5f); }},
        {"Budget", [](Pen& p) { Budget(p, 1.0f); }},
        {"SaveVorn",
         [](Pen& p) {
             Floppy(p);
             Robot(p, 0, 0.4f, 0.35f, kBlueTeam);
         }},
        {"SaveSquad",
         [](Pen& p) {
             Floppy(p);
             Robot(p, -0.2f, 0.4f, 0.3f, kBlueTeam);
             Robot(p, 0.2f, 0.4f, 0.3f, kBlueTeam);
         }},
        {"MakeSquad",
         [](Pen& p) {
             Robot(p, -0.45f, 0.25f, 0.45f, kInk);
             Robot(p, 0.05f, 0.25f, 0.45f, kInk);
             p.Rect(0.6f, -0.45f, 0.28f, 0.08f, kGold);
             p.Rect(0.6f, -0.45f, 0.08f, 0.28f, kGold);
         }},
        {"TreeRandom",
         [](Pen& p) {
             p.Rect(-0.25f, 0.55f, 0.1f, 0.3f, RgbaFrom(120, 80, 40));
             p.Disc(-0.25f, -0.1f, 0.5f, RgbaFrom(50, 150, 50));
             p.Number('?', 0.55f, 0.3f, kInk);
         }},
        {"RockRandom",
         [](Pen& p) {
             p.Poly({-0.85f, 0.6f, -0.65f, -0.1f, -0.2f, -0.45f, 0.3f, -0.25f, 0.5f, 0.6f}, RgbaFrom(150, 145, 140));
             p.Number('?', 0.6f, 0.3f, kInk);
         }},
        {"GameRulesLastVornStanding",
         [](Pen& p) {
             Robot(p, 0, 0.25f, 0.75f, kBlueTeam);
             p.Poly({-0.35f, -0.55f, -0.4f, -0.9f, -0.15f, -0.7f, 0, -0.95f, 0.15f, -0.7f, 0.4f, -0.9f, 0.35f, -0.55f},
                    kGold);
         }},
        {"GameRulesKingOfTheHill",
         [](Pen& p) {
             Mountain(p, 1.1f);
             p.Line(-0.2f, -0.4f, -0.2f, -0.95f, 0.05f, kInk);
             p.Poly({-0.18f, -0.95f, 0.3f, -0.8f, -0.18f, -0.65f}, kRedTeam);
         }},
        {"GameRulesShootForTheStars", [](Pen& p) { p.StarAt(0, 0, 0.85f, 0.38f, 5, kGold); }},
        {"GameRulesSoccer", [](Pen& p) { Ball(p, 0, 0, 0.8f); }},
        // Upgrades, menus and network play.
        {"UpgradeSpeedSmall", [](Pen& p) { Upgrade(p, "Speed", 0 / 2.0f); }},
        {"UpgradeSpeedMedium", [](Pen& p) { Upgrade(p, "Speed", 1 / 2.0f); }},
        {"UpgradeSpeedLarge", [](Pen& p) { Upgrade(p, "Speed", 2 / 2.0f); }},
        {"UpgradeArmorSmall", [](Pen& p) { Upgrade(p, "Armor", 0 / 2.0f); }},
        {"UpgradeArmorMedium", [](Pen& p) { Upgrade(p, "Armor", 1 / 2.0f); }},
        {"UpgradeArmorLarge", [](Pen& p) { Upgrade(p, "Armor", 2 / 2.0f); }},
        {"UpgradePatternCountSmall", [](Pen& p) { Upgrade(p, "PatternCount", 0 / 2.0f); }},
        {"UpgradePatternCountMedium", [](Pen& p) { Upgrade(p, "PatternCount", 1 / 2.0f); }},
        {"UpgradePatternCountLarge", [](Pen& p) { Upgrade(p, "PatternCount", 2 / 2.0f); }},
        {"NetConnect",
         [](Pen& p) {
             Globe(p, 0.3f, 0, 0.55f);
             p.ArrowLine(-0.9f, 0, -0.15f, 0, 0.09f, kGold);
         }},
        {"NetBack", [](Pen& p) { p.ArrowLine(0.7f, 0, -0.7f, 0, 0.14f, kInk); }},
        {"NetServerIP",
         [](Pen& p) {
             Frame(p);
             for (float u : {-0.45f, -0.15f, 0.15f, 0.45f}) p.Disc(u, 0.05f, 0.08f, kGold);
         }},
        {"NetLobby",
         [](Pen& p) {
             Globe(p, -0.3f, -0.2f, 0.5f);
             for (float v : {0.35f, 0.6f}) p.Line(0.1f, v, 0.85f, v, 0.07f, kInk);
         }},
        {"NetSelectSquads",
         [](Pen& p) {
             Robot(p, -0.4f, 0.15f, 0.5f, kBlueTeam);
             Robot(p, 0.4f, 0.15f, 0.5f, kBlueTeam);
         }},
        {"NetDisconnect",
         [](Pen& p) {
             Globe(p, 0, 0, 0.7f);
             Slash(p);
         }},
        {"NetScenario",
         [](Pen& p) {
             p.Rect(0, 0, 0.8f, 0.7f, RgbaFrom(80, 160, 60), 0.1f);
             p.Disc(-0.3f, -0.2f, 0.2f, RgbaFrom(50, 120, 40));
             p.Poly({0.1f, 0.6f, 0.4f, 0.0f, 0.7f, 0.6f}, RgbaFrom(150, 145, 140));
         }},
        {"NetSquadCount",
         [](Pen& p) {
             Robot(p, -0.35f, 0.2f, 0.6f, kInk);
             p.Number('#', 0.5f, 0.1f, kGold);
         }},
        {"NetBudget", [](Pen& p) { Budget(p, 0.75f); }},
        {"NetLaunchDelay",
         [](Pen& p) {
             Stopwatch(p, kInk);
             p.Line(0, 0.1f, 0.3f, -0.2f, 0.09f, kDark);
         }},
        {"NetBoostCount",
         [](Pen& p) {
             p.StarAt(0, 0.1f, 0.6f, 0.28f, 5, kGold);
             p.ArrowLine(0.65f, 0.5f, 0.65f, -0.85f, 0.08f, RgbaFrom(90, 230, 100));
         }},
        {"NetMeteorDelay",
         [](Pen& p) {
             p.Line(0.75f, -0.75f, 0.0f, 0.0f, 0.2f, RgbaFrom(255, 160, 40));
             p.Disc(-0.1f, 0.1f, 0.42f, RgbaFrom(130, 90, 60));
         }},
        {"NetGoalCount",
         [](Pen& p) {
             p.Rect(0, 0.1f, 0.8f, 0.6f, kInk);
             p.Rect(0, 0.15f, 0.65f, 0.5f, RgbaFrom(90, 90, 100));
             p.Number('#', 0, 0.15f, kGold);
         }},
        {"NetBallCount",
         [](Pen& p) {
             Ball(p, -0.25f, 0.1f, 0.6f);
             p.Number('#', 0.6f, 0.5f, kGold);
         }},
        {"NetNetCount",
         [](Pen& p) {
             p.Rect(0, 0, 0.8f, 0.6f, kInk);
             for (float u : {-0.4f, 0.0f, 0.4f}) p.Line(u, -0.6f, u, 0.6f, 0.05f, kDark);
             for (float v : {-0.2f, 0.2f}) p.Line(-0.8f, v, 0.8f, v, 0.05f, kDark);
         }},
        {"NetWeaponsAllowed",
         [](Pen& p) {
             p.Line(-0.8f, 0.3f, 0.3f, -0.5f, 0.14f, RgbaFrom(255, 60, 60));
             p.Line(0.2f, 0.45f, 0.45f, 0.7f, 0.12f, RgbaFrom(90, 230, 100));
             p.Line(0.45f, 0.7f, 0.85f, 0.15f, 0.12f, RgbaFrom(90, 230, 100));
         }},
        {"NetGameTimer",
         [](Pen& p) {
             Stopwatch(p, kInk);
             p.Line(0, 0.1f, 0, -0.35f, 0.08f, kDark);
             p.Line(0, 0.1f, 0.3f, 0.1f, 0.08f, kDark);
         }},
        {"NetVIPCount", [](Pen& p) { Crown(p); }},
        {"NetSetupGame", [](Pen& p) { p.StarAt(0, 0, 0.8f, 0.55f, 8, kInk); }},
        {"NetRegisterLobby",
         [](Pen& p) {
             Globe(p, -0.2f, 0, 0.6f);
             p.Rect(0.6f, -0.55f, 0.28f, 0.08f, kGold);
             p.Rect(0.6f, -0.55f, 0.08f, 0.28f, kGold);
         }},
        {"NetServerName",
         [](Pen& p) {
             p.Poly({-0.8f, -0.35f, 0.45f, -0.35f, 0.85f, 0.0f, 0.45f, 0.35f, -0.8f, 0.35f}, kGold);
             p.Disc(0.45f, 0, 0.1f, kDark);
         }},
        {"StartNetworkGame",
         [](Pen& p) {
             Globe(p, -0.2f, 0, 0.6f);
             p.Poly({0.45f, -0.4f, 0.95f, 0.0f, 0.45f, 0.4f}, kGold);
         }},
        {"JoinNetworkGame",
         [](Pen& p) {
             Globe(p, 0.3f, 0, 0.6f);
             p.ArrowLine(-0.95f, 0, -0.3f, 0, 0.09f, kGold);
         }},
        {"NewPlayer",
         [](Pen& p) {
             Person(p, -0.2f, 0.1f, 0.9f, kInk);
             p.Rect(0.6f, -0.5f, 0.3f, 0.09f, kGold);
             p.Rect(0.6f, -0.5f, 0.09f, 0.3f, kGold);
         }},
        {"LoadPlayer",
         [](Pen& p) {
             Person(p, -0.3f, 0.1f, 0.85f, kInk);
             p.Poly({0.15f, 0.2f, 0.4f, 0.2f, 0.45f, 0.3f, 0.9f, 0.3f, 0.9f, 0.8f, 0.15f, 0.8f}, kGold);
         }},
        {"ShowIntroMovie",
         [](Pen& p) {
             p.Rect(0, 0, 0.85f, 0.6f, kInk, 0.08f);
             for (float u : {-0.6f, -0.2f, 0.2f, 0.6f}) {
                 p.Rect(u, -0.48f, 0.08f, 0.06f, kDark);
                 p.Rect(u, 0.48f, 0.08f, 0.06f, kDark);
             }
             p.Poly({-0.2f, -0.28f, 0.3f, 0.0f, -0.2f, 0.28f}, kDark);
         }},
        {"Credits",
         [](Pen& p) {
             p.Rect(0, 0, 0.65f, 0.85f, kInk, 0.08f);
             for (float v : {-0.5f, -0.2f, 0.1f, 0.4f}) p.Line(-0.4f, v, 0.4f, v, 0.07f, kDark);
         }},
        {"Lab",
         [](Pen& p) {
             p.Rect(0, -0.55f, 0.2f, 0.3f, kInk);
             p.Poly({-0.2f, -0.3f, 0.2f, -0.3f, 0.7f, 0.75f, -0.7f, 0.75f}, kInk);
             p.Poly({-0.45f, 0.25f, 0.45f, 0.25f, 0.65f, 0.68f, -0.65f, 0.68f}, RgbaFrom(90, 230, 100));
         }},
        {"SkipTutorial",
         [](Pen& p) {
             p.Poly({-0.7f, -0.5f, -0.1f, 0.0f, -0.7f, 0.5f}, kInk);
             p.Poly({-0.1f, -0.5f, 0.5f, 0.0f, -0.1f, 0.5f}, kInk);
             p.Rect(0.62f, 0, 0.08f, 0.5f, kInk);
         }},
        {"MapTutorial",
         [](Pen& p) {
             p.Disc(-0.25f, 0.1f, 0.55f, RgbaFrom(240, 200, 80));
             p.RingAt(-0.25f, 0.1f, 0.8f, 0.05f, kInk);
             p.Disc(0.5f, -0.5f, 0.16f, RgbaFrom(60, 130, 220));
             p.Number('?', -0.25f, 0.1f, kDark);
         }},
        {"TrainingGrounds",
         [](Pen& p) {
             p.Disc(0, 0, 0.8f, kInk);
             p.Disc(0, 0, 0.6f, kRedTeam);
             p.Disc(0, 0, 0.4f, kInk);
             p.Disc(0, 0, 0.2f, kRedTeam);
         }},
        {"Customize",
         [](Pen& p) {
             Robot(p, -0.3f, 0.15f, 0.75f, kBlueTeam);
             p.Line(0.85f, -0.8f, 0.35f, -0.05f, 0.1f, RgbaFrom(200, 160, 100));
             p.Disc(0.3f, 0.05f, 0.14f, kRedTeam);
         }},
        // Paint tools.
        {"BrushTiny", [](Pen& p) { p.Disc(0, 0, 0.15f, kInk); }},
        {"BrushSmall", [](Pen& p) { p.Disc(0, 0, 0.32f, kInk); }},
        {"BrushMedium", [](Pen& p) { p.Disc(0, 0, 0.55f, kInk); }},
        {"BrushLarge", [](Pen& p) { p.Disc(0, 0, 0.82f, kInk); }},
        {"Circle", [](Pen& p) { p.RingAt(0, 0, 0.65f, 0.14f, kInk); }},
        {"Square",
         [](Pen& p) {
             p.Rect(0, 0, 0.7f, 0.7f, kInk);
             p.Rect(0, 0, 0.55f, 0.55f, kDark);
         }},
        {"Rounded",
         [](Pen& p) {
             p.Disc(0, 0.7f, 0.7f, kInk);
             p.Rect(0, 0.75f, 0.9f, 0.12f, kInk);
         }},
        {"Plateau",
         [](Pen& p) {
             p.Poly({-0.9f, 0.75f, -0.45f, -0.1f, 0.45f, -0.1f, 0.9f, 0.75f}, kInk);
         }},
        {"LargeUp",
         [](Pen& p) {
             Mountain(p, 1.4f);
             p.ArrowLine(0.6f, 0.3f, 0.6f, -0.85f, 0.1f, RgbaFrom(90, 230, 100));
         }},
        {"SmallUp",
         [](Pen& p) {
             Mountain(p, 0.6f);
             p.ArrowLine(0.6f, 0.3f, 0.6f, -0.4f, 0.1f, RgbaFrom(90, 230, 100));
         }},
        {"LargeDown",
         [](Pen& p) {
             Mountain(p, 1.4f);
             p.ArrowLine(0.6f, -0.85f, 0.6f, 0.3f, 0.1f, kRedTeam);
         }},
        {"SmallDown",
         [](Pen& p) {
             Mountain(p, 0.6f);
             p.ArrowLine(0.6f, -0.4f, 0.6f, 0.3f, 0.1f, kRedTeam);
         }},
        {"Expand",
         [](Pen& p) {
             p.Rect(0, 0, 0.25f, 0.25f, kInk);
             for (auto [u, v] : {std::pair{1.0f, 1.0f}, {-1.0f, 1.0f}, {1.0f, -1.0f}, {-1.0f, -1.0f}})
                 p.ArrowLine(u * 0.3f, v * 0.3f, u * 0.85f, v * 0.85f, 0.08f, kInk);
         }},
        {"Shrink",
         [](Pen& p) {
             p.Rect(0, 0, 0.2f, 0.2f, kInk);
             for (auto [u, v] : {std::pair{1.0f, 1.0f}, {-1.0f, 1.0f}, {1.0f, -1.0f}, {-1.0f, -1.0f}})
                 p.ArrowLine(u * 0.9f, v * 0.9f, u * 0.35f, v * 0.35f, 0.08f, kInk);
         }},
        {"Randomize",
         [](Pen& p) {
             p.Rect(0, 0, 0.7f, 0.7f, kInk, 0.18f);
             for (auto [u, v] :
                  {std::pair{-0.35f, -0.35f}, {0.35f, -0.35f}, {0.0f, 0.0f}, {-0.35f, 0.35f}, {0.35f, 0.35f}})
                 p.Disc(u, v, 0.12f, kDark);
         }},
        {"Clear",
         [](Pen& p) {
             p.Rect(0, 0.55f, 0.9f, 0.1f, kInk);
             p.Poly({-0.2f, 0.35f, 0.3f, -0.55f, 0.75f, -0.3f, 0.25f, 0.55f}, RgbaFrom(240, 140, 170));
         }},
    };
    return drawings;
}

// Names whose subject differs from their first word.
const std::map<std::string, std::string>& Aliases() {
    static const std::map<std::string, std::string> aliases = {
        {"SignalConditional", "Signal"},
        {"Signal2Conditional", "Signal2"},
        {"Switch1Conditional", "Switch1"},
        {"Switch2Conditional", "Switch2"},
        {"InjuredConditional", "Injured"},
        {"TimerRunningConditional", "TimerRunning"},
        {"TimerExpiredConditional", "TimerExpired"},
        {"SignalOnAction", "SignalOn"},
        {"SignalOffAction", "SignalOff"},
        {"Signal2OnAction", "Signal2On"},
        {"Signal2OffAction", "Signal2Off"},
        {"PropertyInjured", "Injured"},
        {"PropertyNotInjured", "NotInjured"},
        {"PropertyVIP", "VIP"},
        {"PropertyNotVIP", "NotVIP"},
        {"PropertySoccerBall", "SoccerBall"},
        {"PropertySmallFriend", "SmallFriend"},
        {"PropertyMediumFriend", "MediumFriend"},
        {"PropertyLargeFriend", "LargeFriend"},
        {"PropertySmallEnemy", "SmallEnemy"},
        {"PropertyMediumEnemy", "MediumEnemy"},
        {"PropertyLargeEnemy", "LargeEnemy"},
        {"FriendGoalObject", "FriendGoal"},
        {"EnemyGoalObject", "EnemyGoal"},
        {"CreditsMenu", "Credits"},
        {"LabButtonTan", "Lab"},
        {"WinningCustomize", "Customize"},
        {"StartNetworkGame", "StartNetworkGame"},
        {"Reloading", "Reloading"},
        {"FriendControl", "Friend"},
        {"EnemyControl", "Enemy"},
        {"WeaponVornLauncher", "VornLauncher"},
        {"Squad", "SquadTray"},
    };
    return aliases;
}

}  // namespace

std::string PictogramSubject(const std::string& textureName) {
    std::string core = textureName;
    for (const char* suffix : {"32", "64"})
        if (EndsWith(core, suffix) && core.size() > 8) core.resize(core.size() - 2);
    if (EndsWith(core, "Button")) core.resize(core.size() - 6);
    if (StartsWith(core, "PaintTray") && core != "PaintTray") {
        core = core.substr(9);
        static const char* const kGrounds[] = {"Grass", "Dirt", "Stone", "Swamp", "Water", "Sand", "Snow", "Lava"};
        for (const char* ground : kGrounds)
            if (core == ground) return "Ground" + core;
        if (StartsWith(core, "Brush")) return core;
    }
    if (EndsWith(core, "Pattern") && core != "Pattern") core.resize(core.size() - 7);
    if (const auto alias = Aliases().find(core); alias != Aliases().end()) core = alias->second;
    return Drawings().count(core) ? core : std::string();
}

void DrawPictogram(Canvas& canvas, const std::string& subject, float cx, float cy, float half) {
    Pen pen(canvas, cx, cy, half);
    if (StartsWith(subject, "Ground")) {
        Ground(pen, subject.substr(6));
        return;
    }
    if (const auto it = Drawings().find(subject); it != Drawings().end()) it->second(pen);
}

Rgba PictogramColour(const std::string& subject) {
    static const std::map<std::string, Rgba> colours = {
        {"Laser", RgbaFrom(150, 40, 60)},         {"ShrapnelGun", RgbaFrom(110, 90, 70)},
        {"Bomb", RgbaFrom(200, 120, 40)},         {"Flameball", RgbaFrom(170, 40, 30)},
        {"Propeller", RgbaFrom(70, 130, 190)},    {"BeaconSetter", RgbaFrom(40, 120, 130)},
        {"Missile", RgbaFrom(90, 90, 110)},       {"StaticField", RgbaFrom(70, 60, 150)},
        {"GooField", RgbaFrom(40, 110, 40)},      {"HealthField", RgbaFrom(200, 70, 80)},
        {"VornLauncher", RgbaFrom(120, 60, 150)}, {"SoccerCleat", RgbaFrom(60, 160, 90)},
    };
    const auto it = colours.find(subject);
    return it != colours.end() ? it->second : RgbaFrom(60, 70, 90);
}

}  // namespace assetgen
