#include "Actors.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <stdexcept>

#include "Output.h"
#include "Props.h"
#include "platform/sys/Random.h"

namespace assetgen {
namespace {

const Rgba kKeyRed = RgbaFrom(255, 0, 0);
const Rgba kKeyGreen = RgbaFrom(0, 255, 0);
const Rgba kSteel = RgbaFrom(150, 150, 155);
const Rgba kDark = RgbaFrom(60, 60, 65);

const V3 kUp{0, 0, 1};
const V3 kSide{0, 1, 0};
const V3 kFront{1, 0, 0};

Placement At(float x, float y, float z) { return {{x, y, z}}; }

struct Part {
    MeshBuilder builder;
    Palette palette;
    int red = palette.Add(kKeyRed);
    int green = palette.Add(kKeyGreen);
    int steel = palette.Add(kSteel);
    int dark = palette.Add(kDark);
    PaintedMesh Finish() { return {builder.Mesh(), palette.ToImage()}; }
};

// ---- painted body parts ----

PaintedMesh BodyPart(const std::string& name) {
    Part p;
    MeshBuilder& b = p.builder;
    if (name == "Ball0" || name == "Ball1") {
        b.Sphere(At(0, 0, 0), 0.5f, p.red, 14, 9);
        b.Torus(At(0, 0, 0), 0.5f, 0.06f, name == "Ball0" ? p.green : p.steel);
    } else if (name == "RobotAntenna") {
        b.Cylinder(At(0, 0, 0), 0.03f, 0.03f, 0.35f, p.steel);
        b.Sphere(At(0, 0, 0.38f), 0.07f, p.green);
    } else if (name == "RobotSmallHead" || name == "RobotMediumHead" || name == "RobotLargeHead") {
        const float s = name == "RobotSmallHead" ? 0.45f : name == "RobotMediumHead" ? 0.35f : 0.3f;
        b.Box(At(0, 0, 0), {s, s * 1.1f, s * 0.85f}, p.red);
        b.Box(At(0, 0, -s * 0.85f - 0.03f), {s * 0.8f, s * 0.9f, 0.04f}, p.green);
    } else if (name.find("Ear") != std::string::npos) {
        b.Cylinder({{0, 0, 0}, {1, 1, 1}, 90, 90}, 0.12f, 0.08f, 0.12f, p.green);
    } else if (name == "RobotMediumBody" || name == "RobotLargeTorso") {
        const float s = name == "RobotMediumBody" ? 0.45f : 0.6f;
        b.Box(At(0, 0, 0), {s * 0.8f, s, s}, p.red);
        b.Box(At(s * 0.8f, 0, 0), {0.03f, s * 0.5f, s * 0.4f}, p.green);
    } else if (name == "RobotLargeUpperArm" || name == "RobotLargeForeArm") {
        b.Cylinder(At(0, 0, -0.45f), 0.1f, 0.12f, 0.45f, name == "RobotLargeUpperArm" ? p.red : p.green);
    } else if (name == "StalkSmallBody" || name == "StalkMediumBody" || name == "StalkLargeBody") {
        const float s = name == "StalkSmallBody" ? 0.35f : name == "StalkMediumBody" ? 0.45f : 0.55f;
        b.Lathe(At(0, 0, 0), {{0, 0}, {s, 0.1f}, {s * 1.1f, s * 1.2f}, {s * 0.6f, s * 2.2f}, {0, s * 2.3f}}, p.red);
        b.Torus(At(0, 0, s * 1.2f), s * 1.1f, 0.05f, p.green);
    } else if (name == "StalkSegment") {
        b.Cylinder(At(0, 0, 0), 0.08f, 0.07f, 0.3f, p.green);
    } else if (name == "StalkEyelid") {
        b.Lathe(At(0, 0, 0), {{0, -0.05f}, {0.2f, 0}, {0.18f, 0.12f}, {0, 0.2f}}, p.red);
    } else {
        throw std::runtime_error("no recipe for the body part " + name);
    }
    return p.Finish();
}

const std::vector<std::string>& BodyPartNames() {
    static const std::vector<std::string> names = {
        "RobotAntenna",    "Ball0",          "RobotSmallHead",     "RobotSmallEar",
        "RobotMediumBody", "RobotMediumEar", "RobotMediumHead",    "RobotLargeTorso",
        "RobotLargeHead",  "RobotLargeEar",  "RobotLargeUpperArm", "RobotLargeForeArm",
        "Ball1",           "StalkSmallBody", "StalkSegment",       "StalkEyelid",
        "StalkMediumBody", "StalkLargeBody"};
    return names;
}

// ---- plain meshes of our own ----

PaintedMesh Plain(const std::function<void(MeshBuilder&, Palette&)>& build) {
    MeshBuilder builder;
    Palette palette;
    build(builder, palette);
    return {builder.Mesh(), palette.ToImage()};
}

// The stalk's one eye, white with a dark pupil looking ahead (+x). It hangs a little below
// the eyelid, which covers its top; the brows and the mouth of the face sit on its front.
PaintedMesh StalkEye() {
    return Plain([](MeshBuilder& b, Palette& p) {
        b.Sphere(At(0, 0, -0.05f), 0.18f, p.Add(RgbaFrom(245, 245, 245)));
        b.Sphere(At(0.15f, 0, -0.02f), 0.05f, p.Add(RgbaFrom(20, 20, 20)), 8, 5);
    });
}

PaintedMesh Arm() {
    return Plain([](MeshBuilder& b, Palette& p) { b.Cylinder(At(0, 0, -0.4f), 0.07f, 0.08f, 0.4f, p.Add(kSteel)); });
}

// ---- face parts, about one unit, centred ----

PaintedMesh FacePart(const std::string& name) {
    return Plain([&](MeshBuilder& b, Palette& p) {
        const int white = p.Add(RgbaFrom(245, 245, 245)), black = p.Add(RgbaFrom(20, 20, 20));
        if (name.find("EyeSphere") != std::string::npos) {
            b.Sphere(At(0, 0, 0), 0.5f, white);
            b.Sphere(At(0.4f, 0, 0), 0.18f, black, 8, 5);
        } else if (name.find("EyeCylinder") != std::string::npos) {
            b.Cylinder({{-0.25f, 0, 0}, {1, 1, 1}, 0, 90}, 0.4f, 0.4f, 0.5f, white);
            b.Sphere(At(0.28f, 0, 0), 0.15f, black, 8, 5);
        } else if (name.find("EyeEllipse") != std::string::npos) {
            b.Sphere({{0, 0, 0}, {0.5f, 0.7f, 1}}, 0.5f, white);
            b.Sphere(At(0.22f, 0, 0), 0.15f, black, 8, 5);
        } else if (name.find("brow") != std::string::npos) {
            // A bar across the face, its inner end lowered for a mean look, raised for a sad one.
            const bool mean = name.find("Mean") != std::string::npos, sad = name.find("Sad") != std::string::npos;
            const float inner = name.rfind("Right", 0) == 0 ? -1.0f : 1.0f;
            const float d = (mean ? 0.15f : sad ? -0.15f : 0.0f) * inner;
            b.Extrude({{0, 0, 0}, {1, 1, 1}, 0, 90},
                      {{-0.1f + d, -0.5f}, {0.1f + d, -0.5f}, {0.1f - d, 0.5f}, {-0.1f - d, 0.5f}}, 0.15f, black);
        } else {
            // Mouths: a dark opening, with teeth, a tongue or fangs by style.
            const bool frown = name.find("Frown") != std::string::npos || name.find("Grimace") != std::string::npos;
            const bool round = name.find("Oh") != std::string::npos;
            if (round)
                b.Sphere({{0, 0, 0}, {0.3f, 0.6f, 0.6f}}, 0.5f, black);
            else
                b.Box(At(0, 0, frown ? -0.05f : 0.05f), {0.1f, 0.5f, 0.15f}, black);
            if (name.find("Bucktooth") != std::string::npos) b.Box(At(0.12f, 0, 0.05f), {0.05f, 0.15f, 0.12f}, white);
            if (name.find("Tongue") != std::string::npos)
                b.Sphere({{0.1f, 0, -0.1f}, {0.5f, 1, 0.6f}}, 0.2f, p.Add(RgbaFrom(220, 90, 110)));
            if (name.find("Fang") != std::string::npos) {
                b.Cylinder({{0.1f, 0.25f, 0.1f}, {1, 1, 1}, 0, 180}, 0.06f, 0, 0.2f, white);
                b.Cylinder({{0.1f, -0.25f, 0.1f}, {1, 1, 1}, 0, 180}, 0.06f, 0, 0.2f, white);
            }
            if (name.find("Triangle") != std::string::npos) b.Box(At(0.1f, 0, 0.1f), {0.04f, 0.3f, 0.04f}, white);
        }
    });
}

// ---- pose sets ----

PoseKey Key(V3 point, std::vector<NodeTurn> turns, V3 offset = {}) { return {point, offset, std::move(turns)}; }

// Keys walked in time order lie along the model's y axis, one model height apart.
PoseSet Timeline(const std::string& name, std::vector<std::string> tracks, float side, float seconds,
                 const std::vector<std::pair<std::vector<NodeTurn>, V3>>& poses) {
    PoseSet set{name, std::move(tracks), {}, seconds};
    for (std::size_t i = 0; i < poses.size(); ++i)
        set.keys.push_back(Key({0, side * float(i), 0}, poses[i].first, poses[i].second));
    return set;
}

enum class Motion { Idle, Victory, SimpleVictory, Defeat, Walk, Fly, Rotate, Aim, AimHigh };

PoseSet BodyPoses(const std::string& name, Motion motion, float side, int variant) {
    const float swing = 20.0f + 5.0f * (variant % 3);
    using T = std::vector<NodeTurn>;
    const T rest;
    switch (motion) {
        case Motion::Idle:
            return Timeline(
                name, {"Idle", name}, side, 2.0f,
                {{rest, {}}, {T{{"Torso", kUp, 15.0f + 5 * variant}}, {}}, {T{{"Torso", kUp, -10}}, {}}, {rest, {}}});
        case Motion::Victory:
            return Timeline(name, {"Victory", name}, side, 1.6f,
                            {{rest, {}},
                             {T{{"RightArm", kSide, -150}, {"LeftArm", kSide, -150}}, {0, 0, side * 0.3f}},
                             {T{{"Torso", kUp, 120}}, {0, 0, side * 0.1f}},
                             {rest, {}}});
        case Motion::SimpleVictory:
            return Timeline(name, {"SimpleVictory", name}, side, 1.2f,
                            {{rest, {}}, {T{{"Torso", kUp, 180}}, {}}, {T{{"Torso", kUp, 359}}, {}}});
        case Motion::Defeat:
            return Timeline(name, {"Defeat", name}, side, 1.6f,
                            {{rest, {}},
                             {T{{"Torso", kSide, 25}, {"RightArm", kFront, 10}, {"LeftArm", kFront, -10}}, {}},
                             {T{{"Torso", kSide, 30}, {"Torso", kUp, 15}}, {}},
                             {T{{"Torso", kSide, 25}}, {}}});
        case Motion::Walk:
            return Timeline(name, {"Walk", name}, side, 0.8f,
                            {{rest, {}},
                             {T{{"RightArm", kSide, swing}, {"LeftArm", kSide, -swing}, {"Torso", kUp, 5}}, {}},
                             {rest, {}},
                             {T{{"RightArm", kSide, -swing}, {"LeftArm", kSide, swing}, {"Torso", kUp, -5}}, {}},
                             {rest, {}}});
        case Motion::Fly:
            return Timeline(name, {"Fly", name}, side, 0.6f,
                            {{T{{"RightArm", kFront, -60}, {"LeftArm", kFront, 60}}, {}},
                             {T{{"RightArm", kFront, -80}, {"LeftArm", kFront, 80}}, {}},
                             {T{{"RightArm", kFront, -60}, {"LeftArm", kFront, 60}}, {}}});
        case Motion::Rotate:
            return Timeline(name, {"Rotate", name}, side, 1.0f,
                            {{rest, {}},
                             {T{{"Torso", kUp, 30.0f + 15 * variant}}, {}},
                             {rest, {}},
                             {T{{"Torso", kUp, -30}}, {}},
                             {rest, {}}});
        case Motion::Aim:
        case Motion::AimHigh: {
            // Keys at the aim directions around the unit; the arms follow the aim point.
            const float lift = motion == Motion::AimHigh ? -60.0f : -90.0f;
            PoseSet set{name, {name}, {}, 1.0f};
            for (int k = 0; k < 4; ++k) {
                const float a = k * 90.0f, rad = a * float(M_PI) / 180;
                set.keys.push_back(Key(
                    {side * std::cos(rad), side * std::sin(rad), side * 0.5f},
                    {{"RightArm", kSide, lift}, {"RightArm", kUp, a}, {"LeftArm", kSide, lift}, {"LeftArm", kUp, a}}));
            }
            return set;
        }
    }
    return {};
}

struct ChassisAnimations {
    std::vector<std::pair<Motion, std::vector<std::string>>> lists;
};

const std::map<std::string, ChassisAnimations>& AnimationTable() {
    using M = Motion;
    static const std::map<std::string, ChassisAnimations> table = {
        {"RobotSmall",
         {{{M::Idle, {"HeadbobIdle", "GunTwirl", "QuickLook", "RockingIdle"}},
           {M::Victory, {"JumpDance", "JumpTwirl", "VictoryJump", "VictoryTilt"}},
           {M::SimpleVictory, {"Twirl", "Tilt", "TwirlAndBow", "Kicker"}},
           {M::Defeat, {"ShakeHead", "ShakeHeadLow", "HeadDroop", "Sad"}},
           {M::Walk, {"Walk", "Walk2", "Walk3", "Walk4", "WalkTwirl"}},
           {M::Fly, {"Fly"}},
           {M::Rotate, {"Twist", "Twist2"}}}}},
        {"RobotMedium",
         {{{M::Idle, {"JumpingJacks", "StretchIdle", "Stretch2Idle", "HeadTwist"}},
           {M::Victory, {"VictoryCheer", "VictoryWave", "VictoryJump", "VictoryDrum"}},
           {M::Defeat, {"ShakeHead", "LookToTheSky", "Sag", "SagAndShake"}},
           {M::Walk, {"Walk", "Walk2", "Walk3", "Walk4"}},
           {M::Fly, {"Fly"}},
           {M::Rotate, {"Twist", "Twist2"}}}}},
        {"RobotLarge",
         {{{M::Idle, {"JumpingJacks", "Stretch", "ToeTouch", "360"}},
           {M::Victory, {"VictoryPump", "VictoryPointing", "VictoryJump", "VictoryWhirly"}},
           {M::Defeat, {"Hide", "SagAndShake", "WhyMe", "LookSkyward"}},
           {M::Walk, {"Walk", "Walk2", "Walk3", "Walk4"}},
           {M::Rotate, {"Twist", "Twist2"}}}}},
        {"StalkSmall",
         {{{M::Idle, {"TwirlGunIdle", "IdleBackAndForth", "IdleMoreMoreMore", "LookAround"}},
           {M::Victory, {"JumpDance", "BackAndForthYay", "WooHoo", "Bow"}},
           {M::Defeat, {"SagAndShake", "Sag", "SagToSide", "Embarrassed"}},
           {M::Walk, {"Walk", "Walk2", "Walk3", "Walk4"}},
           {M::Fly, {"Fly"}},
           {M::Rotate, {"Twist", "Twist2"}}}}},
        {"StalkMedium",
         {{{M::Idle, {"TwistIdle", "LookAroundIdle", "RockingIdle", "ScrunchIdle"}},
           {M::Victory, {"RahRah", "GunTwirl", "BackAndForth", "Jump"}},
           {M::Defeat, {"Sag", "Collapse", "SagAndShake", "DrunkDrop"}},
           {M::Walk, {"Walk", "Walk2", "Walk3", "Walk4"}},
           {M::Fly, {"Fly"}},
           {M::Rotate, {"Twist", "DownTwist"}}}}},
        {"StalkLarge",
         {{{M::Idle, {"LookIdle", "WaveIdle", "JumpingJacksIdle", "BackAndForthIdle"}},
           {M::Victory, {"Jump", "Wave", "Wobble", "Dizzy"}},
           {M::Defeat, {"Sag", "Splat", "Shake", "PeelAway"}},
           {M::Walk, {"Walk", "Walk2", "Walk3", "Walk4"}},
           {M::Rotate, {"Twist", "DownTwist"}}}}},
    };
    return table;
}

void AddBodyPoses(ActorModel& model) {
    V3 low, high;
    model.Bounds(low, high);
    const float side = std::max({high.x - low.x, high.y - low.y, high.z - low.z});
    std::vector<std::string> done;
    auto add = [&](const std::string& name, Motion motion, int variant) {
        for (const std::string& d : done)
            if (d == name) return;
        done.push_back(name);
        model.poseSets.push_back(BodyPoses(name, motion, side, variant));
    };
    for (const auto& [motion, names] : AnimationTable().at(model.title).lists)
        for (std::size_t i = 0; i < names.size(); ++i) add(names[i], motion, int(i));
    add("Idle", Motion::Idle, 0);
    add("Walk", Motion::Walk, 0);
    add("Aim", Motion::Aim, 0);
    add("AimHigh", Motion::AimHigh, 0);
}

// ---- chassis bodies ----

ActorNode Node(std::string name, std::string mesh, V3 offset, std::vector<ActorNode> children = {}) {
    return {std::move(name), std::move(mesh), offset, std::move(children)};
}

// The face, weapon and arm nodes every body has, around a head centred at the node.
std::vector<ActorNode> FaceNodes(float front, float width, float height) {
    return {Node("LeftEyeActor", "Socket", {front, width * 0.4f, height * 0.2f}),
            Node("RightEyeActor", "Socket", {front, -width * 0.4f, height * 0.2f}),
            Node("LeftEyebrowActor", "Socket", {front, width * 0.4f, height * 0.55f}),
            Node("MiddleEyebrowActor", "Socket", {front, 0, height * 0.6f}),
            Node("RightEyebrowActor", "Socket", {front, -width * 0.4f, height * 0.55f}),
            Node("MouthActor", "Socket", {front, 0, -height * 0.4f})};
}

ActorNode ArmNode(const std::string& side, const std::string& mesh, float y, float z, float reach,
                  const std::string& foreArm = "") {
    const std::string weapon = side == "Right" ? "RightWeaponActor" : "LeftWeaponActor";
    ActorNode socket = Node(weapon, "Socket", {0.1f, 0, -reach});
    if (!foreArm.empty())
        return Node(side + "Arm", mesh, {0, y, z},
                    {Node(side + "ForeArm", foreArm, {0, 0, -0.45f}, {Node(weapon, "Socket", {0.1f, 0, -0.45f})})});
    return Node(side + "Arm", mesh, {0, y, z}, {socket});
}

ActorModel Robot(const std::string& title) {
    ActorModel model{title, {}, {}, {}, {}};
    auto use = [&](const std::string& mesh) {
        model.meshes[mesh] = IsBodyPart(mesh) ? MakeBodyPart(mesh) : MakeProp(mesh);
    };
    use("Socket");
    use("Ball0");
    use("RobotAntenna");
    ActorNode ball = Node("BallActor", "Ball0", {0, 0, 0.5f});
    ActorNode torso;
    if (title == "RobotSmall") {
        use("RobotSmallHead");
        use("RobotSmallEar");
        model.meshes["RobotArm"] = Arm();
        std::vector<ActorNode> parts = FaceNodes(0.46f, 0.8f, 0.7f);
        parts.push_back(Node("Antenna", "RobotAntenna", {0, 0, 0.38f}));
        parts.push_back(Node("LeftEar", "RobotSmallEar", {0, 0.5f, 0}));
        parts.push_back(Node("RightEar", "RobotSmallEar", {0, -0.5f, 0}));
        parts.push_back(ArmNode("Right", "RobotArm", -0.55f, -0.1f, 0.4f));
        parts.push_back(ArmNode("Left", "RobotArm", 0.55f, -0.1f, 0.4f));
        torso = Node("Torso", "RobotSmallHead", {0, 0, 1.42f}, parts);
    } else if (title == "RobotMedium") {
        use("RobotMediumBody");
        use("RobotMediumHead");
        use("RobotMediumEar");
        model.meshes["RobotArm"] = Arm();
        std::vector<ActorNode> face = FaceNodes(0.36f, 0.7f, 0.6f);
        face.push_back(Node("Antenna", "RobotAntenna", {0, 0, 0.3f}));
        face.push_back(Node("LeftEar", "RobotMediumEar", {0, 0.4f, 0}));
        face.push_back(Node("RightEar", "RobotMediumEar", {0, -0.4f, 0}));
        torso = Node("Torso", "RobotMediumBody", {0, 0, 1.45f},
                     {Node("Head", "RobotMediumHead", {0, 0, 0.78f}, face),
                      ArmNode("Right", "RobotArm", -0.5f, 0.3f, 0.4f), ArmNode("Left", "RobotArm", 0.5f, 0.3f, 0.4f)});
    } else {
        use("RobotLargeTorso");
        use("RobotLargeHead");
        use("RobotLargeEar");
        use("RobotLargeUpperArm");
        use("RobotLargeForeArm");
        std::vector<ActorNode> face = FaceNodes(0.31f, 0.6f, 0.5f);
        face.push_back(Node("Antenna", "RobotAntenna", {0, 0, 0.26f}));
        face.push_back(Node("LeftEar", "RobotLargeEar", {0, 0.34f, 0}));
        face.push_back(Node("RightEar", "RobotLargeEar", {0, -0.34f, 0}));
        torso = Node("Torso", "RobotLargeTorso", {0, 0, 1.6f},
                     {Node("Head", "RobotLargeHead", {0, 0, 0.88f}, face),
                      ArmNode("Right", "RobotLargeUpperArm", -0.72f, 0.4f, 0.9f, "RobotLargeForeArm"),
                      ArmNode("Left", "RobotLargeUpperArm", 0.72f, 0.4f, 0.9f, "RobotLargeForeArm")});
    }
    model.roots = {ball, torso};
    AddBodyPoses(model);
    return model;
}

ActorModel Stalk(const std::string& title) {
    ActorModel model{title, {}, {}, {}, {}};
    auto use = [&](const std::string& mesh) {
        model.meshes[mesh] = IsBodyPart(mesh) ? MakeBodyPart(mesh) : MakeProp(mesh);
    };
    const std::string body = title == "StalkSmall"    ? "StalkSmallBody"
                             : title == "StalkMedium" ? "StalkMediumBody"
                                                      : "StalkLargeBody";
    const float s = title == "StalkSmall" ? 0.35f : title == "StalkMedium" ? 0.45f : 0.55f;
    for (const char* mesh : {"Socket", "Ball1", "StalkSegment", "StalkEyelid"}) use(mesh);
    use(body);
    model.meshes["StalkArm"] = Arm();
    model.meshes["StalkEye"] = StalkEye();
    // The eye sits on a neck of stalk segments above the body.
    const float neckBase = s * 2.2f;
    std::vector<ActorNode> face = FaceNodes(0.18f, 0.3f, 0.3f);
    face.push_back(Node("Eyelid", "StalkEyelid", {0, 0, 0.02f}));
    ActorNode eye = Node("EyeStalk", "StalkSegment", {0, 0, 0.3f}, {Node("Eye", "StalkEye", {0, 0, 0.3f}, face)});
    ActorNode torso = Node("Torso", body, {0, 0, 0.8f},
                           {Node("Neck", "StalkSegment", {0, 0, neckBase}, {eye}),
                            ArmNode("Right", "StalkArm", -s * 1.05f, s * 1.3f, 0.4f),
                            ArmNode("Left", "StalkArm", s * 1.05f, s * 1.3f, 0.4f)});
    model.roots = {Node("BallActor", "Ball1", {0, 0, 0.5f}), torso};
    AddBodyPoses(model);
    return model;
}

// ---- figures ----

ActorModel Professor() {
    ActorModel model{"Professor", {}, {}, {}, {}};
    model.meshes["ProfessorCoat"] = Plain([](MeshBuilder& b, Palette& p) {
        b.Lathe(At(0, 0, 0), {{0, 0}, {0.2f, 0}, {0.17f, 0.45f}, {0.1f, 0.55f}, {0, 0.56f}},
                p.Add(RgbaFrom(240, 240, 240)));
        b.Box(At(0, 0, -0.1f), {0.05f, 0.12f, 0.1f}, p.Add(RgbaFrom(70, 60, 90)));
    });
    model.meshes["ProfessorHead"] = Plain([](MeshBuilder& b, Palette& p) {
        b.Sphere(At(0, 0, 0.12f), 0.13f, p.Add(RgbaFrom(235, 195, 160)));
        b.Sphere({{-0.02f, 0, 0.2f}, {1, 1.1f, 0.6f}}, 0.13f, p.Add(RgbaFrom(200, 200, 205)));
        const int glass = p.Add(RgbaFrom(40, 40, 60));
        b.Torus({{0.12f, 0.05f, 0.14f}, {1, 1, 1}, 0, 90}, 0.035f, 0.008f, glass, 10, 4);
        b.Torus({{0.12f, -0.05f, 0.14f}, {1, 1, 1}, 0, 90}, 0.035f, 0.008f, glass, 10, 4);
    });
    model.meshes["ProfessorArm"] = Plain([](MeshBuilder& b, Palette& p) {
        b.Cylinder(At(0, 0, -0.3f), 0.035f, 0.045f, 0.3f, p.Add(RgbaFrom(240, 240, 240)));
        b.Sphere(At(0, 0, -0.32f), 0.04f, p.Add(RgbaFrom(235, 195, 160)));
    });
    model.meshes["ProfessorLeg"] = Plain(
        [](MeshBuilder& b, Palette& p) { b.Cylinder(At(0, 0, 0), 0.05f, 0.05f, 0.3f, p.Add(RgbaFrom(60, 60, 80))); });
    // Feet at -0.7 so that the figure stands on the shadow drawn below him.
    model.roots = {
        Node("Legs", "ProfessorLeg", {0, 0, -0.7f}),
        Node("Torso", "ProfessorCoat", {0, 0, -0.42f},
             {Node("Head", "ProfessorHead", {0, 0, 0.56f}), Node("LeftArm", "ProfessorArm", {0, 0.19f, 0.48f}),
              Node("RightArm", "ProfessorArm", {0, -0.19f, 0.48f})})};
    const float side = 1.0f;
    // The mouth points: closed, then open (the head tips back to open the jaw).
    PoseSet talk{"Talk", {"Talk"}, {Key({0, 0, 0}, {}), Key({0, side, 0}, {{"Head", kSide, -12}})}, 0.2f};
    // Key k points at the screen direction k x 45 degrees. The camera in front of him sees
    // his left (+y) on the right of the screen and +z up, so the arm hanging down points
    // there once turned about the front axis by the direction plus a quarter turn.
    PoseSet point{"Point", {"Point"}, {}, 1.0f};
    for (int k = 0; k < 8; ++k) {
        const float a = k * 45.0f, rad = a * float(M_PI) / 180;
        point.keys.push_back(Key({0, side * std::cos(rad), side * std::sin(rad)}, {{"LeftArm", kFront, a + 90}}));
    }
    model.poseSets = {talk, point,
                      Timeline("Idle", {"Idle"}, side, 3.0f,
                               {{{}, {}}, {{{"Torso", kUp, 4}}, {}}, {{{"Torso", kUp, -4}}, {}}, {{}, {}}})};
    const std::vector<std::pair<std::string, std::vector<NodeTurn>>> gestures = {
        {"IdleGlasses", {{"RightArm", kSide, -130}, {"Head", kSide, 5}}},
        {"IdleNosePick", {{"RightArm", kSide, -110}}},
        {"LookAround", {{"Head", kUp, 50}}},
        {"SideToSideStretch", {{"Torso", kFront, 15}, {"LeftArm", kFront, -150}, {"RightArm", kFront, 150}}},
        {"TapFoot", {{"Legs", kSide, -10}}},
        {"LookUpAndAround", {{"Head", kSide, -25}, {"Head", kUp, 30}}},
        {"LookDownAndRight", {{"Head", kSide, 20}, {"Head", kUp, -35}}},
        {"Wave", {{"RightArm", kFront, 150}}},
        {"Shrug", {{"LeftArm", kFront, -40}, {"RightArm", kFront, 40}}},
    };
    for (const auto& [name, turns] : gestures)
        model.poseSets.push_back(Timeline(name, {name, "Idle"}, side, 2.0f, {{{}, {}}, {turns, {}}, {{}, {}}}));
    return model;
}

ActorModel Bunny(const std::string& title) {
    ActorModel model{title, {}, {}, {}, {}};
    const bool space = title == "SpaceBunny";
    model.meshes[title + "Body"] = Plain([&](MeshBuilder& b, Palette& p) {
        const int fur = p.Add(space ? RgbaFrom(200, 200, 215) : RgbaFrom(235, 225, 210));
        b.Sphere({{0, 0, 0.3f}, {1, 0.9f, 1.1f}}, 0.28f, fur);
        b.Sphere(At(-0.27f, 0, 0.15f), 0.08f, p.Add(RgbaFrom(255, 255, 255)));
        if (space) b.Cylinder(At(-0.2f, 0, 0.25f), 0.1f, 0.1f, 0.3f, p.Add(RgbaFrom(150, 150, 160)));
    });
    model.meshes[title + "Head"] = Plain([&](MeshBuilder& b, Palette& p) {
        const int fur = p.Add(space ? RgbaFrom(200, 200, 215) : RgbaFrom(235, 225, 210));
        b.Sphere(At(0, 0, 0.12f), 0.17f, fur);
        b.Sphere({{0, 0.07f, 0.42f}, {0.4f, 0.5f, 1}}, 0.2f, fur);
        b.Sphere({{0, -0.07f, 0.42f}, {0.4f, 0.5f, 1}}, 0.2f, fur);
        const int eye = p.Add(RgbaFrom(30, 30, 30));
        b.Sphere(At(0.14f, 0.06f, 0.16f), 0.03f, eye, 6, 4);
        b.Sphere(At(0.14f, -0.06f, 0.16f), 0.03f, eye, 6, 4);
        if (space) b.Torus({{0, 0, 0.12f}, {1, 1, 1}, 0, 90}, 0.22f, 0.02f, p.Add(RgbaFrom(180, 220, 255)));
    });
    model.meshes[title + "Foot"] = Plain([&](MeshBuilder& b, Palette& p) {
        b.Sphere({{0.05f, 0, 0.04f}, {1.6f, 0.8f, 0.6f}}, 0.07f,
                 p.Add(space ? RgbaFrom(120, 120, 140) : RgbaFrom(235, 225, 210)));
    });
    model.roots = {Node("Torso", title + "Body", {0, 0, 0.05f}, {Node("Head", title + "Head", {0.05f, 0, 0.55f})}),
                   Node("LeftFoot", title + "Foot", {0, 0.12f, 0}), Node("RightFoot", title + "Foot", {0, -0.12f, 0})};
    const float side = 1.0f;
    using T = std::vector<NodeTurn>;
    model.poseSets = {
        Timeline("Idle", {"Idle"}, side, 2.0f, {{{}, {}}, {T{{"Head", kUp, 20}}, {}}, {{}, {}}}),
        Timeline("Hop", {"Hop", "Walk"}, side, 0.5f, {{{}, {}}, {T{{"Torso", kSide, 10}}, {0, 0, 0.3f}}, {{}, {}}}),
        Timeline("Walk", {"Walk"}, side, 0.5f, {{{}, {}}, {T{{"Torso", kSide, 10}}, {0, 0, 0.2f}}, {{}, {}}}),
        Timeline("Wave", {"Wave"}, side, 1.0f,
                 {{{}, {}}, {T{{"Head", kFront, 20}}, {}}, {T{{"Head", kFront, -20}}, {}}, {{}, {}}}),
        Timeline("Dance", {"Dance"}, side, 1.6f,
                 {{{}, {}}, {T{{"Torso", kUp, 180}}, {0, 0, 0.2f}}, {T{{"Torso", kUp, 359}}, {}}}),
    };
    return model;
}

ActorModel Lab() {
    ActorModel model{"Lab", {}, {}, {}, {}};
    model.meshes["LabRoom"] = Plain([](MeshBuilder& b, Palette& p) {
        b.Box(At(0, 0, -0.05f), {10, 10, 0.05f}, p.Add(RgbaFrom(150, 150, 160)));
        const int wall = p.Add(RgbaFrom(200, 205, 215));
        b.Box(At(-10, 0, 3), {0.1f, 10, 3}, wall);
        b.Box(At(0, 10, 3), {10, 0.1f, 3}, wall);
        const int bench = p.Add(RgbaFrom(120, 90, 60));
        b.Box(At(-7, 4, 0.5f), {1.5f, 3, 0.5f}, bench);
        b.Box(At(-3, 8, 0.5f), {3, 1, 0.5f}, bench);
        const int glass = p.Add(RgbaFrom(80, 200, 220));
        for (int i = 0; i < 4; ++i) b.Cylinder(At(-7, 2.0f + i * 1.2f, 1), 0.2f, 0.15f, 0.6f, glass, 8);
        b.Box(At(-9.8f, -4, 3.5f), {0.05f, 2, 1.2f}, p.Add(RgbaFrom(30, 60, 40)));
    });
    model.roots = {Node("Room", "LabRoom", {})};
    return model;
}

ActorModel Korrin() {
    ActorModel model{"Korrin", {}, {}, {}, {}};
    model.meshes["KorrinBody"] = Plain([](MeshBuilder& b, Palette& p) {
        const int skin = p.Add(RgbaFrom(90, 160, 200));
        b.Sphere({{0, 0, 0.3f}, {1.6f, 0.7f, 0.8f}}, 0.3f, skin);
        const int eye = p.Add(RgbaFrom(250, 250, 250));
        b.Sphere(At(0.38f, 0.1f, 0.38f), 0.06f, eye, 6, 4);
        b.Sphere(At(0.38f, -0.1f, 0.38f), 0.06f, eye, 6, 4);
        b.Box({{0, 0.25f, 0.25f}, {1, 1, 1}, 20}, {0.12f, 0.12f, 0.01f}, p.Add(RgbaFrom(60, 120, 170)));
        b.Box({{0, -0.25f, 0.25f}, {1, 1, 1}, -20}, {0.12f, 0.12f, 0.01f}, p.Add(RgbaFrom(60, 120, 170)));
    });
    model.meshes["KorrinTail"] = Plain([](MeshBuilder& b, Palette& p) {
        b.Extrude({{-0.2f, 0, 0}, {1, 1, 1}, 0, 0}, {{0, 0}, {-0.3f, 0.2f}, {-0.25f, 0}, {-0.3f, -0.2f}}, 0.04f,
                  p.Add(RgbaFrom(60, 120, 170)));
    });
    model.roots = {Node("Body", "KorrinBody", {}, {Node("Tail", "KorrinTail", {-0.35f, 0, 0.3f})})};
    model.poseSets = {Timeline("Swim", {"Swim"}, 1.0f, 1.2f,
                               {{{}, {}},
                                {{{"Tail", kUp, 30}, {"Body", kUp, -5}}, {0, 0, 0.03f}},
                                {{}, {}},
                                {{{"Tail", kUp, -30}, {"Body", kUp, 5}}, {0, 0, -0.03f}},
                                {{}, {}}})};
    return model;
}

ActorModel SolarCharger() {
    ActorModel model{"SolarCharger", {}, {}, {}, {}};
    model.meshes["SolarChargerBase"] = Plain([](MeshBuilder& b, Palette& p) {
        b.Cylinder(At(0, 0, 0), 0.8f, 0.6f, 0.4f, p.Add(RgbaFrom(120, 120, 130)));
        b.Cylinder(At(0, 0, 0.4f), 0.12f, 0.12f, 1.4f, p.Add(RgbaFrom(170, 170, 180)));
    });
    model.meshes["SolarChargerPanel"] = Plain([](MeshBuilder& b, Palette& p) {
        const int cell = p.Add(RgbaFrom(30, 50, 130)), frame = p.Add(RgbaFrom(200, 200, 210));
        b.Box(At(0, 0, 0), {0.15f, 0.15f, 0.15f}, frame);
        b.Box({{0, 0.6f, 0.2f}, {1, 1, 1}, 0, -30}, {0.5f, 0.45f, 0.03f}, cell);
        b.Box({{0, -0.6f, 0.2f}, {1, 1, 1}, 0, -30}, {0.5f, 0.45f, 0.03f}, cell);
    });
    model.roots = {Node("Base", "SolarChargerBase", {}, {Node("Panel", "SolarChargerPanel", {0, 0, 1.9f})})};
    PoseSet rotate = Timeline("SlowRotate", {"Rotate"}, 2.5f, 8.0f,
                              {{{}, {}},
                               {{{"Panel", kUp, 90}}, {}},
                               {{{"Panel", kUp, 180}}, {}},
                               {{{"Panel", kUp, 270}}, {}},
                               {{{"Panel", kUp, 360}}, {}}});
    model.poseSets = {rotate};
    return model;
}

const std::vector<std::string>& FacePartTitles() {
    static const std::vector<std::string> titles = {
        "LeftEyeSphere",         "RightEyeSphere",       "LeftEyeCylinder",    "RightEyeCylinder",   "LeftEyeEllipse",
        "RightEyeEllipse",       "LeftEyebrowMean",      "LeftEyebrowNeutral", "LeftEyebrowSad",     "RightEyebrowMean",
        "RightEyebrowNeutral",   "RightEyebrowSad",      "MouthGrimace",       "MouthSmile",         "MouthFrown",
        "MouthBucktoothGrimace", "MouthBucktoothSmile",  "MouthBucktoothOh",   "MouthTongueGrimace", "MouthTongueSmile",
        "MouthTongueOh",         "MouthTriangleGrimace", "MouthTriangleSmile", "MouthTriangleOh",    "MouthFangGrimace",
        "MouthFangSmile",        "MouthFangFrown",       "UnibrowMean",        "UnibrowHappy",       "UnibrowSad"};
    return titles;
}

}  // namespace

void AddAnimations(ActorModel& model, const std::vector<std::pair<std::string, std::string>>& wanted) {
    V3 low, high;
    model.Bounds(low, high);
    const float side = std::max({high.x - low.x, high.y - low.y, high.z - low.z});
    for (const auto& entry : wanted) {
        const std::string& animation = entry.first;
        const std::string& track = entry.second;
        auto set = std::find_if(model.poseSets.begin(), model.poseSets.end(),
                                [&](const PoseSet& s) { return s.name == animation; });
        if (set == model.poseSets.end()) {
            model.poseSets.push_back(
                Timeline(animation, {}, side, 1.5f,
                         {{{}, {}}, {{{"Torso", kUp, 20}}, {}}, {{{"Torso", kUp, -20}}, {}}, {{}, {}}}));
            set = model.poseSets.end() - 1;
        }
        if (!track.empty() && std::find(set->tracks.begin(), set->tracks.end(), track) == set->tracks.end())
            set->tracks.push_back(track);
        if (set->tracks.empty()) set->tracks.push_back(animation);
    }
}

bool IsBodyPart(const std::string& name) {
    for (const std::string& part : BodyPartNames())
        if (part == name) return true;
    return false;
}

PaintedMesh MakeBodyPart(const std::string& name) {
    sys::SRand(SeedFor(name));
    return BodyPart(name);
}

std::vector<std::string> ActorTitles() {
    std::vector<std::string> titles = {"RobotSmall",  "RobotMedium", "RobotLarge", "StalkSmall",
                                       "StalkMedium", "StalkLarge",  "Professor",  "Bunny",
                                       "SpaceBunny",  "Lab",         "Korrin",     "SolarCharger"};
    titles.insert(titles.end(), FacePartTitles().begin(), FacePartTitles().end());
    return titles;
}

ActorModel MakeActor(const std::string& title) {
    sys::SRand(SeedFor(title));
    if (title.rfind("Robot", 0) == 0) return Robot(title);
    if (title.rfind("Stalk", 0) == 0) return Stalk(title);
    if (title == "Professor") return Professor();
    if (title == "Bunny" || title == "SpaceBunny") return Bunny(title);
    if (title == "Lab") return Lab();
    if (title == "Korrin") return Korrin();
    if (title == "SolarCharger") return SolarCharger();
    // A face part is one mesh on the root itself, which the chassis copies into its face.
    ActorModel part{title, {}, title, {}, {}};
    part.meshes[title] = FacePart(title);
    return part;
}

namespace {

PaintedMesh ScaledPart(const std::string& part, float scale) {
    PaintedMesh mesh = FacePart(part);
    for (MeshVertex& v : mesh.mesh.vertices) v.position = v.position * scale;
    return mesh;
}

void DressFaces(ActorModel& model, std::vector<ActorNode>& nodes) {
    const auto find = [&](const char* name) -> ActorNode* {
        for (ActorNode& node : nodes)
            if (node.name == name) return &node;
        return nullptr;
    };
    ActorNode* left = find("LeftEyeActor");
    ActorNode* right = find("RightEyeActor");
    if (left != nullptr && right != nullptr) {
        // Parts are sized from the gap between the eyes, as the game sizes the chosen face.
        const float gap = std::fabs(left->offset.y - right->offset.y);
        const std::string size = std::to_string(int(gap * 1000));
        const std::pair<const char*, std::pair<const char*, float>> parts[] = {
            {"LeftEyeActor", {"LeftEyeSphere", 0.55f}},
            {"RightEyeActor", {"RightEyeSphere", 0.55f}},
            {"LeftEyebrowActor", {"LeftEyebrowNeutral", 0.4f}},
            {"RightEyebrowActor", {"RightEyebrowNeutral", 0.4f}},
            {"MouthActor", {"MouthSmile", 0.9f}}};
        for (const auto& [node, part] : parts) {
            ActorNode* holder = find(node);
            if (holder == nullptr) continue;
            const std::string mesh = std::string(part.first) + "@" + size;
            model.meshes[mesh] = ScaledPart(part.first, gap * part.second);
            holder->mesh = mesh;
        }
    }
    for (ActorNode& node : nodes) DressFaces(model, node.children);
}

}  // namespace

ActorModel WithFace(ActorModel model) {
    DressFaces(model, model.roots);
    return model;
}

}  // namespace assetgen
