// The drawing resources shared by all patterns, the highlight pulse and the drawing calls
// of the pattern records. A picture missing from the data leaves its handle null, and a
// null handle draws nothing.
#include "units/PatternIcons.h"

#include <algorithm>
#include <cmath>

#include "core/FileHelpers.h"
#include "core/Matrix4.h"
#include "engine/AssetPaths.h"
#include "engine/Line3D.h"
#include "engine/ModelNode.h"
#include "engine/Renderer.h"
#include "engine/RendererRef.h"
#include "engine/Sprite.h"
#include "platform/gfx/Device.h"
#include "units/Pattern.h"
#include "world/Arena.h"
#include "world/MarchingArrows.h"

namespace {

PatternIcons gIcons;

// The background quad spans this far on each side of the unit.
constexpr float kBackgroundHalf = 20.0f;
// Ground drawings float this high over the terrain, above its decals.
constexpr float kGroundLift = 0.08f;
// The path's arrows on the terrain, half a unit each way.
constexpr float kPathArrowHalfSide = 0.5f;
// A turn's arc is drawn in steps of at most this many radians.
constexpr float kArcStep = 0.15f;
constexpr int kMaxArcSegments = 48;
const Color kLineColour = Color::FromRGBA(255, 255, 255, 200);

// Quads seen from either side: the diagram's camera and the arena's look from above, the
// billboards face the camera whichever way their corners run.
class NoCulling {
public:
    NoCulling() : previous_(GetRenderer().GetDevice().GetRenderState(gfx::RenderState::CullMode)) {
        GetRenderer().GetDevice().SetRenderState(gfx::RenderState::CullMode, gfx::Cull::None);
    }
    ~NoCulling() { GetRenderer().GetDevice().SetRenderState(gfx::RenderState::CullMode, previous_); }
    NoCulling(const NoCulling&) = delete;
    NoCulling& operator=(const NoCulling&) = delete;

private:
    uint32_t previous_;
};

// The unit quad (0, 0)-(1, 1) sized, turned about its centre and centred at the point.
Matrix4 QuadPlacement(const Vector3& centre, float width, float height, float angle) {
    Matrix4 m;
    m[0] = width;
    m[5] = height;
    m[12] = -0.5f * width;
    m[13] = -0.5f * height;
    if (angle != 0.0f) m = Matrix4::Multiply(m, Matrix::RotationZ(angle));
    m.Translate(centre);
    return m;
}

void DrawQuad(Sprite* sprite, const Matrix4& placement, Color colour) {
    if (sprite == nullptr || sprite->quad == nullptr) return;
    NoCulling both;
    sprite->SetColor(colour);
    Renderer& renderer = GetRenderer();
    const bool blending = renderer.IsAlphaBlendOn();
    renderer.DrawSpriteTransformed(*sprite, placement);
    if (blending) renderer.SetAlphaBlend();
}

// The diagram's band is one unit wide and widened by the world matrix; the arena's has
// its own width.
constexpr float kGroundLineHalfWidth = 0.12f;

Line3D& SharedLine() {
    static Line3D line;
    if (line.GetMesh() == nullptr) line.Create(0.5f);
    return line;
}

Line3D& GroundLine() {
    static Line3D line;
    if (line.GetMesh() == nullptr) line.Create(kGroundLineHalfWidth);
    return line;
}

Vector3 Lifted(const Vector3& point) { return point + Vector3(0.0f, 0.0f, kGroundLift); }

struct PatternPulse {
    float phase = 0.0f;
    float timeSinceReset = 0.0f;
    const Vorn* unit = nullptr;
};
PatternPulse gPulse;

}  // namespace

namespace {

// What a renderer made is gone once it releases everything: the parts loaded before are
// loaded again from the renderer of now, with the colour sets kept.
void ForgetIconsOfAnEarlierRenderer() {
    static RendererMark current;
    if (current.IsSet()) return;
    current.Set();
    const PatternIcons before = gIcons;
    gIcons = PatternIcons();
    gIcons.pathIconSet = before.pathIconSet;
    gIcons.objectIconSet = before.objectIconSet;
    if (before.pathLoaded) LoadPatternIcons();
    if (before.objectsLoaded) LoadPatternObjectIcons();
    if (before.mapLoaded) LoadMapConditionIcons();
}

}  // namespace

PatternIcons& GetPatternIcons() {
    ForgetIconsOfAnEarlierRenderer();
    return gIcons;
}

Sprite* LoadIconSprite(const String& name) {
    const String path = TexturePath(name);
    if (!FileExists(path)) return nullptr;
    return GetRenderer().CreateSprite(32, path, Sprite::kAnchorTopLeft);
}

void LoadPatternIcons() {
    ForgetIconsOfAnEarlierRenderer();
    if (gIcons.pathLoaded) {
        return;
    }
    gIcons.pathLoaded = true;
    Renderer& renderer = GetRenderer();
    gIcons.arrowhead = renderer.LoadModel(ActorModelPath("ArrowheadRed"), 1.0f, 1.0f, 0);
    if (FileExists(TexturePath("PatternBackground.tga"))) {
        ModelNode* quad = renderer.NewModelNode();
        const float h = kBackgroundHalf;
        quad->mesh = renderer.CreateTexturedQuad(QuadRect{-h, -h, h, h}, TexturePath("PatternBackground.tga"), 0, 0, 0);
        gIcons.background = quad;
    }
    gIcons.miniConditional = LoadIconSprite("MiniConditional.tga");
    gIcons.miniPriority = LoadIconSprite("MiniPriority.tga");
    gIcons.whiteCross = LoadIconSprite("WhiteCross.tga");
    gIcons.whiteO = LoadIconSprite("WhiteO.tga");
    gIcons.menuBackground = LoadIconSprite("MenuBackground.tga");
    gIcons.pathStrip = LoadIconSprite("PathStrip.tga");
    const char* const sides[2] = {"Friend", "Enemy"};
    for (int side = 0; side < 2; ++side) {
        PatternIconSet& set = gIcons.pathIconSets[side];
        set.icon = LoadIconSprite(String(sides[side]) + "PathIcon.tga");
        set.wedge = LoadIconSprite(String(sides[side]) + "PatternWedge.tga");
        set.facing = LoadIconSprite("ArrowheadWhite.tga");
    }
    for (int i = 0; i < kMaxActionsPerPathPoint; ++i) {
        gIcons.orderBadges[i] = LoadIconSprite(String::FromInt(i + 1) + "Button.tga");
    }
    for (int kind = 0; kind < kActionKindCount; ++kind)
        gIcons.actionButtons[kind] = LoadIconSprite(ActionButtonNames[kind]);
}

void LoadPatternObjectIcons() {
    ForgetIconsOfAnEarlierRenderer();
    if (gIcons.objectsLoaded) {
        return;
    }
    gIcons.objectsLoaded = true;
    Sprite* facing = LoadIconSprite("ArrowheadWhite.tga");
    // Set 1 shows the pattern of the other side: friend and enemy change colours.
    for (int set = 0; set < 2; ++set) {
        for (int kind = 0; kind < kPatternObjectKindCount; ++kind) {
            int shown = kind;
            if (set == 1 && (kind == kPatternFriend || kind == kPatternEnemy))
                shown = kPatternFriend + kPatternEnemy - kind;
            if (set == 1 && (kind == kPatternFriendGoal || kind == kPatternEnemyGoal)) {
                shown = kPatternFriendGoal + kPatternEnemyGoal - kind;
            }
            PatternIconSet& icons = gIcons.objectIconSets[set][kind];
            const String name = PatternObjectKindNames[shown];
            if (shown == kPatternFriend || shown == kPatternEnemy) {
                icons.icon = LoadIconSprite(name + "PatternIcon.tga");
                icons.wedge = LoadIconSprite(name + "PatternWedge.tga");
            } else {
                icons.icon = LoadIconSprite(name + "PatternButton.tga");
                icons.wedge = icons.icon;
            }
            icons.facing = facing;
        }
    }
    // Fields and goals lie under other objects, so their icons let those show through.
    constexpr uint8_t kSeeThrough = 200;
    for (PatternIconSet* set : {gIcons.objectIconSets[0], gIcons.objectIconSets[1]}) {
        for (int kind :
             {kPatternHealthField, kPatternGooField, kPatternStaticField, kPatternFriendGoal, kPatternEnemyGoal}) {
            set[kind].alpha = kSeeThrough;
        }
    }
    const char* const friendNames[kPatternPropertyCount] = {
        "PropertyInjuredButton.tga",      "PropertyNotInjuredButton.tga",  "PropertySmallFriendButton.tga",
        "PropertyMediumFriendButton.tga", "PropertyLargeFriendButton.tga", "PropertyVIPButton.tga",
        "PropertyNotVIPButton.tga",       "PropertySoccerBallButton.tga"};
    const char* const enemyNames[kPatternPropertyCount] = {
        "PropertyInjuredButton.tga",     "PropertyNotInjuredButton.tga", "PropertySmallEnemyButton.tga",
        "PropertyMediumEnemyButton.tga", "PropertyLargeEnemyButton.tga", "PropertyVIPButton.tga",
        "PropertyNotVIPButton.tga",      "PropertySoccerBallButton.tga"};
    for (int i = 0; i < kPatternPropertyCount; ++i) {
        gIcons.friendProperties[i] = LoadIconSprite(friendNames[i]);
        gIcons.enemyProperties[i] = LoadIconSprite(enemyNames[i]);
    }
}

void LoadMapConditionIcons() {
    ForgetIconsOfAnEarlierRenderer();
    if (gIcons.mapLoaded) {
        return;
    }
    gIcons.mapLoaded = true;
    for (int kind = 0; kind < kMapConditionKindCount; ++kind) {
        gIcons.mapConditions[kind] = LoadIconSprite(MapConditionIconNames[kind]);
    }
}

void SelectPathIconColours(bool friendColours) { gIcons.pathIconSet = friendColours ? 0 : 1; }

void SelectObjectIconColours(int set) {
    if (set == 0 || set == 1) {
        gIcons.objectIconSet = set;
    }
}

const PatternIconSet& CurrentPathIcons() { return gIcons.pathIconSets[gIcons.pathIconSet]; }

const PatternIconSet& CurrentObjectIcons(int32_t kind) {
    if (kind < 0 || kind >= kPatternObjectKindCount) {
        kind = 0;
    }
    return gIcons.objectIconSets[gIcons.objectIconSet][kind];
}

void AdvancePatternPulse(float frameTime) {
    if (!std::isfinite(frameTime)) {
        return;
    }
    gPulse.phase += 2.0f * frameTime;
    // Taking whole periods off at once keeps a long frame from looping for ever once
    // the phase is too large for subtracting 1 to change it.
    if (gPulse.phase >= 1.0f) {
        gPulse.phase -= std::floor(gPulse.phase);
    }
    gPulse.timeSinceReset += frameTime;
}

void ResetPatternPulse() { gPulse.timeSinceReset = 0.0f; }

void ResetPatternPulseFor(const Vorn* unit) {
    if (unit == gPulse.unit) {
        ResetPatternPulse();
    }
}

float PatternPulsePhase() { return gPulse.phase; }
float PatternPulseTime() { return gPulse.timeSinceReset; }
void SetPatternPulseTime(float seconds) { gPulse.timeSinceReset = seconds; }
void SetPatternPulsePhase(float phase) { gPulse.phase = phase; }
const Vorn* PatternPulseUnit() { return gPulse.unit; }
void SetPatternPulseUnit(const Vorn* unit) { gPulse.unit = unit; }

void DrawPatternSprite(Sprite* sprite, const Vector2& centre, float size, float angle, uint32_t colour) {
    DrawQuad(sprite, QuadPlacement(Vector3(centre.x, centre.y, 0.0f), size, size, angle), Color(colour));
}

void DrawPatternLine(const Vector2& from, const Vector2& to, float width, float) {
    Line3D& line = SharedLine();
    line.SetColor(kLineColour);
    const Vector2 along = to - from;
    const float length = along.Length();
    if (length <= 0.0f) return;
    NoCulling both;
    Matrix4 frame = Matrix::RotationZ(std::atan2(along.y, along.x));
    Matrix4 widen;
    widen[5] = width;
    frame = Matrix4::Multiply(widen, frame);
    frame.Translate(Vector3(from.x, from.y, 0.0f));
    GetRenderer().SetWorldTransform(frame);
    line.SetEndpoints(Vector3(), Vector3(length, 0.0f, 0.0f));
    line.Draw();
}

void DrawPatternStrip(Sprite*, const Vector2& from, const Vector2& to, float width, float zoom, float phase) {
    NoCulling both;
    DrawOrientedDecal(from, to, Color(0xFFFFFFFFu), width, zoom / 32.0f, phase);
}

void DrawGroundSprite(Sprite* sprite, const Vector3& centre, float size, float angle) {
    DrawQuad(sprite, QuadPlacement(Lifted(centre), size, size, angle), Color(0xFFFFFFFFu));
}

void DrawGroundLine(const Vector3& from, const Vector3& to) {
    Line3D& line = GroundLine();
    line.SetColor(kLineColour);
    NoCulling both;
    GetRenderer().SetWorldTransform(Matrix4());
    line.SetEndpoints(Lifted(from), Lifted(to));
    line.Draw();
}

void DrawGroundPath(const Vector3& from, const Vector3& to) {
    DrawMarchingTerrainDots(from, to, kLineColour, kPathArrowHalfSide, 0.0f);
}

void DrawGroundArc(const Vector3& centre, float radius, float fromHeading, float turn) {
    // No turn, no arc.
    const int segments = std::clamp(int(std::ceil(std::fabs(turn) / kArcStep)), 0, kMaxArcSegments);
    auto at = [&](int i) {
        const float heading = fromHeading + turn * float(i) / float(segments);
        const Vector3 point = centre + Vector3(std::cos(heading), std::sin(heading), 0.0f) * radius;
        return gArena != nullptr ? gArena->GroundPoint(point.x, point.y) : point;
    };
    for (int i = 0; i < segments; ++i) DrawGroundLine(at(i), at(i + 1));
}

void DrawGroundCircle(const Vector3& centre, float radius) {
    DrawGroundSprite(GetPatternIcons().whiteO, centre, 2.0f * radius);
}

void DrawBillboard(Sprite* sprite, const Vector3& centre, float width, float height, Color colour) {
    const Camera& camera = GetRenderer().GetCamera();
    Vector3 back = -camera.direction;
    if (back.IsNearZero()) return;
    back.Normalize();
    Vector3 right = camera.up.Cross(back);
    if (right.IsNearZero()) return;
    right.Normalize();
    const Vector3 up = back.Cross(right);
    // The picture's first row is its top: v runs down the screen.
    Matrix4 m;
    m[0] = right.x * width;
    m[1] = right.y * width;
    m[2] = right.z * width;
    m[4] = -up.x * height;
    m[5] = -up.y * height;
    m[6] = -up.z * height;
    const Vector3 corner = centre - right * (0.5f * width) + up * (0.5f * height);
    m[12] = corner.x;
    m[13] = corner.y;
    m[14] = corner.z;
    DrawQuad(sprite, m, colour);
}

void DrawPatternModel(ModelNode* model) {
    if (model) {
        NoCulling both;
        GetRenderer().RenderModel(model, false, false);
    }
}

void DrawArrowhead(const Vector3& point, float heading) {
    if (!gIcons.arrowhead) {
        return;
    }
    Matrix4 world = Matrix::RotationZ(heading);
    world.SetTranslation(point);
    GetRenderer().SetWorldTransform(world);
    GetRenderer().RenderModel(gIcons.arrowhead, false, false);
}
