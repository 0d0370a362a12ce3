#include "Props.h"

#include <cmath>
#include <functional>
#include <map>
#include <stdexcept>

#include "Output.h"
#include "platform/sys/Random.h"

namespace assetgen {
namespace {

struct Maker {
    MeshBuilder builder;
    Palette palette;

    int Colour(int r, int g, int b) { return palette.Add(RgbaFrom(r, g, b)); }
    PaintedMesh Finish() { return {builder.Mesh(), palette.ToImage()}; }
};

Placement At(float x, float y, float z) { return {{x, y, z}}; }
Placement Scaled(float x, float y, float z, V3 scale) { return {{x, y, z}, scale}; }

void Rock(Maker& m, int variant) {
    static const int colours[6][3] = {{130, 125, 120}, {150, 140, 120}, {120, 90, 60},
                                      {90, 120, 90},   {50, 50, 55},    {190, 160, 120}};
    const int c = m.Colour(colours[variant][0], colours[variant][1], colours[variant][2]);
    const float flat = variant == 1 ? 0.45f : 0.65f;
    m.builder.Sphere(Scaled(0, 0, 0, {1.3f, 1.1f, 1.3f * flat}), 1.0f, c, 10, 7);
    m.builder.Roughen({}, 0.25f);
}

void Tree(Maker& m, const std::string& kind) {
    const int bark = m.Colour(110, 75, 40);
    // Centred on the origin: the game lifts trees by half their height.
    if (kind == "PineTree") {
        m.builder.Cylinder(At(0, 0, -4), 0.35f, 0.3f, 2.0f, bark);
        const int needles = m.Colour(30, 90, 45);
        for (int i = 0; i < 3; ++i) m.builder.Cylinder(At(0, 0, -2.5f + i * 2.0f), 2.2f - i * 0.6f, 0, 2.8f, needles);
    } else if (kind == "PalmTree") {
        m.builder.Cylinder({{0, 0, -4}, {1, 1, 1}, 0, 8}, 0.3f, 0.22f, 7.0f, bark);
        const int leaves = m.Colour(60, 150, 50);
        for (int i = 0; i < 5; ++i)
            m.builder.Box({{0.9f, 0, 2.9f}, {1, 1, 1}, i * 72.0f, 15}, {1.6f, 0.35f, 0.05f}, leaves);
    } else if (kind == "TreeCactus") {
        const int green = m.Colour(60, 130, 60);
        m.builder.Cylinder(At(0, 0, -4), 0.6f, 0.55f, 7.5f, green);
        m.builder.Cylinder({{0.5f, 0, -1}, {1, 1, 1}, 0, 60}, 0.35f, 0.3f, 1.5f, green);
        m.builder.Cylinder(At(1.2f, 0, -0.6f), 0.35f, 0.3f, 2.2f, green);
    } else {
        m.builder.Cylinder(At(0, 0, -4), 0.45f, 0.35f, 4.5f, bark);
        const int leaves = m.Colour(kind == "Tree7" ? 150 : 50, kind == "Tree6" ? 150 : 120, 40);
        m.builder.Sphere(Scaled(0, 0, 1.5f, {1, 1, 0.9f}), 2.5f, leaves);
        m.builder.Roughen({0, 0, 1.5f}, 0.3f);
    }
}

void Canister(Maker& m, int r, int g, int b) {
    const int body = m.Colour(170, 170, 180), band = m.Colour(r, g, b);
    m.builder.Cylinder(At(0, 0, -0.5f), 0.5f, 0.5f, 1.0f, body);
    m.builder.Cylinder(At(0, 0, -0.15f), 0.52f, 0.52f, 0.3f, band);
    m.builder.Sphere(At(0, 0, 0.55f), 0.15f, band);
}

void Weapon(Maker& m, const std::string& kind) {
    const int metal = m.Colour(150, 150, 160), dark = m.Colour(60, 60, 70);
    const Placement barrel{{0, 0, 0}, {1, 1, 1}, 0, 90};  // along +x
    if (kind == "Laser") {
        m.builder.Cylinder(barrel, 0.12f, 0.08f, 0.9f, metal);
        m.builder.Sphere(At(0.9f, 0, 0), 0.1f, m.Colour(255, 60, 60));
    } else if (kind == "ShrapnelGun") {
        m.builder.Cylinder(barrel, 0.18f, 0.22f, 0.8f, dark);
    } else if (kind == "Explosive") {
        m.builder.Sphere(At(0.25f, 0, 0), 0.25f, dark);
        m.builder.Cylinder(At(0.25f, 0, 0.2f), 0.03f, 0.03f, 0.15f, m.Colour(220, 180, 60));
    } else if (kind == "Flamethrower") {
        m.builder.Cylinder(barrel, 0.1f, 0.14f, 0.9f, metal);
        m.builder.Cylinder(At(0.1f, 0, -0.3f), 0.15f, 0.15f, 0.35f, m.Colour(200, 60, 30));
    } else if (kind == "Propeller") {
        m.builder.Cylinder(At(0, 0, 0), 0.06f, 0.06f, 0.3f, metal);
        for (int i = 0; i < 3; ++i) m.builder.Box({{0.3f, 0, 0.3f}, {1, 1, 1}, i * 120.0f}, {0.3f, 0.06f, 0.02f}, dark);
    } else if (kind == "BeaconSetter") {
        m.builder.Cylinder(At(0, 0, 0), 0.04f, 0.04f, 0.6f, metal);
        m.builder.Sphere(At(0, 0, 0.65f), 0.1f, m.Colour(255, 220, 40));
    } else if (kind == "MissileLauncher" || kind == "VornLauncher") {
        const float w = kind == "VornLauncher" ? 0.3f : 0.2f;
        m.builder.Box(At(0.4f, 0, 0), {0.45f, w, w}, dark);
        m.builder.Cylinder(barrel, w * 0.7f, w * 0.7f, 0.9f, metal);
    } else if (kind == "Kicker") {
        m.builder.Box(At(0.15f, 0, -0.1f), {0.3f, 0.12f, 0.1f}, dark);
        m.builder.Box(At(0, 0, 0.05f), {0.12f, 0.12f, 0.15f}, metal);
    } else {
        const int band = kind.find("Static") == 0 ? m.Colour(120, 160, 255)
                         : kind.find("Goo") == 0  ? m.Colour(90, 200, 60)
                                                  : m.Colour(255, 255, 255);
        m.builder.Cylinder(barrel, 0.15f, 0.15f, 0.6f, metal);
        m.builder.Sphere(At(0.6f, 0, 0), 0.18f, band);
    }
}

const std::map<std::string, std::function<void(Maker&)>>& Recipes() {
    static const std::map<std::string, std::function<void(Maker&)>> recipes = {
        {"Rocket",
         [](Maker& m) {
             const int body = m.Colour(220, 220, 225), tip = m.Colour(220, 50, 40);
             m.builder.Cylinder(At(0, 0, -0.5f), 0.12f, 0.12f, 0.75f, body);
             m.builder.Cylinder(At(0, 0, 0.25f), 0.12f, 0, 0.25f, tip);
             for (int i = 0; i < 4; ++i)
                 m.builder.Box({{0.15f, 0, -0.4f}, {1, 1, 1}, i * 90.0f}, {0.1f, 0.01f, 0.1f}, tip);
         }},
        {"Meteor",
         [](Maker& m) {
             m.builder.Sphere(At(0, 0, 0), 1.0f, m.Colour(110, 80, 60), 10, 7);
             m.builder.Roughen({}, 0.25f);
         }},
        {"StaticFieldGenerator", [](Maker& m) { Canister(m, 120, 160, 255); }},
        {"GooFieldGenerator", [](Maker& m) { Canister(m, 90, 200, 60); }},
        {"HealthFieldGenerator", [](Maker& m) { Canister(m, 250, 250, 250); }},
        {"SoccerBall",
         [](Maker& m) {
             m.builder.Sphere(At(0, 0, 0), 0.75f, m.Colour(245, 245, 245), 12, 8);
             const int black = m.Colour(30, 30, 30);
             for (int i = 0; i < 6; ++i) {
                 const float a = i * float(M_PI) / 3;
                 m.builder.Sphere(Scaled(0.62f * std::cos(a), 0.62f * std::sin(a), (i % 2 ? 0.3f : -0.3f), {1, 1, 1}),
                                  0.18f, black, 6, 4);
             }
         }},
        {"Ring", [](Maker& m) { m.builder.Torus(At(0, 0, 0), 1.0f, 0.08f, m.Colour(230, 200, 60)); }},
        {"Star",
         [](Maker& m) {
             std::vector<std::pair<float, float>> outline;
             for (int i = 0; i < 10; ++i) {
                 const float a = float(M_PI) * i / 5 + float(M_PI) / 2, r = i % 2 ? 0.2f : 0.5f;
                 outline.push_back({r * std::cos(a), r * std::sin(a)});
             }
             m.builder.Extrude({{0, 0, 0}, {1, 1, 1}, 0, 90}, outline, 0.12f, m.Colour(255, 220, 40));
         }},
        {"YellowBall", [](Maker& m) { m.builder.Sphere(At(0, 0, 0), 0.5f, m.Colour(250, 220, 40)); }},
        {"RedBall", [](Maker& m) { m.builder.Sphere(At(0, 0, 0), 0.5f, m.Colour(230, 40, 40)); }},
        {"GreenBall", [](Maker& m) { m.builder.Sphere(At(0, 0, 0), 0.5f, m.Colour(40, 200, 60)); }},
        {"Arrowhead",
         [](Maker& m) {
             m.builder.Extrude({{0, 0, 0}, {1, 1, 1}, 0, -90}, {{0.5f, 0}, {-0.5f, 0.4f}, {-0.25f, 0}, {-0.5f, -0.4f}},
                               0.05f, m.Colour(240, 240, 240));
         }},
        {"ArrowheadRed",
         [](Maker& m) {
             m.builder.Extrude({{0, 0, 0}, {1, 1, 1}, 0, -90}, {{0.5f, 0}, {-0.5f, 0.4f}, {-0.25f, 0}, {-0.5f, -0.4f}},
                               0.05f, m.Colour(230, 30, 30));
         }},
        {"WormHead",
         [](Maker& m) {
             m.builder.Sphere(At(0, 0, 0), 0.5f, m.Colour(200, 120, 160));
             const int eye = m.Colour(20, 20, 20);
             m.builder.Sphere(At(0.4f, 0.18f, 0.15f), 0.09f, eye, 6, 4);
             m.builder.Sphere(At(0.4f, -0.18f, 0.15f), 0.09f, eye, 6, 4);
         }},
        {"WormGridSpot", [](Maker& m) { m.builder.Cylinder(At(0, 0, 0), 0.5f, 0.5f, 0.05f, m.Colour(80, 200, 255)); }},
        {"Earth",
         [](Maker& m) {
             m.builder.Sphere(At(0, 0, 0), 1.0f, m.Colour(40, 90, 200), 16, 10);
             const int land = m.Colour(60, 150, 60);
             for (int i = 0; i < 5; ++i) {
                 const float a = i * 1.3f, b = std::sin(i * 2.1f) * 0.8f;
                 m.builder.Sphere(Scaled(0.82f * std::cos(a) * std::cos(b), 0.82f * std::sin(a) * std::cos(b),
                                         0.82f * std::sin(b), {1, 1, 1}),
                                  0.3f, land, 8, 5);
             }
         }},
        {"Cloud0",
         [](Maker& m) {
             const int white = m.Colour(245, 245, 250);
             m.builder.Sphere(At(0, 0, 0), 0.6f, white);
             m.builder.Sphere(At(0.6f, 0.1f, -0.1f), 0.45f, white);
             m.builder.Sphere(At(-0.6f, -0.1f, -0.1f), 0.45f, white);
         }},
        {"Mountain",
         [](Maker& m) {
             m.builder.Cylinder(At(0, 0, 0), 1.0f, 0, 1.0f, m.Colour(120, 110, 100));
             m.builder.Cylinder(At(0, 0, 0.7f), 0.31f, 0, 0.31f, m.Colour(245, 245, 250));
         }},
        {"Mesa", [](Maker& m) { m.builder.Cylinder(At(0, 0, 0), 1.0f, 0.75f, 0.6f, m.Colour(170, 90, 50)); }},
        {"ComputerStation",
         [](Maker& m) {
             const int grey = m.Colour(170, 170, 175);
             m.builder.Box(At(0, 0, 0.35f), {0.4f, 0.6f, 0.35f}, grey);
             m.builder.Box(At(0, 0, 0.95f), {0.08f, 0.4f, 0.25f}, m.Colour(40, 40, 50));
             m.builder.Box(At(0.09f, 0, 0.95f), {0.01f, 0.34f, 0.2f}, m.Colour(60, 200, 120));
         }},
        {"GrassTuft",
         [](Maker& m) {
             const int green = m.Colour(70, 150, 50);
             for (int i = 0; i < 5; ++i)
                 m.builder.Cylinder(
                     {{0.15f * std::cos(i * 1.3f), 0.15f * std::sin(i * 1.3f), 0}, {1, 1, 1}, 0, float(i * 7 - 14)},
                     0.06f, 0, 0.6f, green, 5);
         }},
        {"Socket", [](Maker& m) { m.builder.Sphere(At(0, 0, 0), 0.02f, m.Colour(128, 128, 128), 4, 3); }},
    };
    return recipes;
}

}  // namespace

PaintedMesh MakeProp(const std::string& name) {
    sys::SRand(SeedFor(name));
    Maker m;
    if (const auto it = Recipes().find(name); it != Recipes().end()) {
        it->second(m);
        return m.Finish();
    }
    if (name.rfind("Rock", 0) == 0) {
        Rock(m, name == "Rock" ? 0 : name[4] - '1');
        return m.Finish();
    }
    if (name == "Tree" || name.find("Tree") != std::string::npos) {
        Tree(m, name);
        return m.Finish();
    }
    if (name.size() > 6 && name.compare(name.size() - 6, 6, "Weapon") == 0) {
        Weapon(m, name.substr(0, name.size() - 6));
        return m.Finish();
    }
    throw std::runtime_error("no recipe for the model " + name);
}

}  // namespace assetgen
