// The drawing resources shared by all patterns, the highlight pulse and the drawing calls
// of the pattern records.
//
// Sprites, the background quad and line strips are not made through the renderer yet:
// every sprite handle stays null and the drawing calls below draw nothing. The names the
// sprites are made from stand beside the records that use them.
#include "units/PatternIcons.h"

#include <cmath>

#include "core/Matrix4.h"
#include "engine/AssetPaths.h"
#include "engine/Renderer.h"

namespace {

PatternIcons gIcons;

struct PatternPulse {
    float phase = 0.0f;
    float timeSinceReset = 0.0f;
    const Vorn* unit = nullptr;
};
PatternPulse gPulse;

}  // namespace

PatternIcons& GetPatternIcons() { return gIcons; }

void LoadPatternIcons() {
    if (gIcons.pathLoaded) {
        return;
    }
    gIcons.pathLoaded = true;
    gIcons.arrowhead = GetRenderer().LoadModel(ActorPath("ArrowheadRed"), 1.0f, 1.0f, 0);
}

void LoadPatternObjectIcons() {
    if (gIcons.objectsLoaded) {
        return;
    }
    gIcons.objectsLoaded = true;
    // Fields and goals lie under other objects, so their icons let those show through.
    constexpr uint8_t kSeeThrough = 200;
    for (PatternIconSet* set : {gIcons.objectIconSets[0], gIcons.objectIconSets[1]}) {
        for (int kind :
             {kPatternHealthField, kPatternGooField, kPatternStaticField, kPatternFriendGoal, kPatternEnemyGoal}) {
            set[kind].alpha = kSeeThrough;
        }
    }
}

void LoadMapConditionIcons() { gIcons.mapLoaded = true; }

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

void DrawPatternSprite(Sprite*, const Vector2&, float, float, uint32_t) {}
void DrawPatternLine(const Vector2&, const Vector2&, float, float) {}
void DrawPatternStrip(Sprite*, const Vector2&, const Vector2&, float, float, float) {}
void DrawGroundSprite(Sprite*, const Vector3&, float, float) {}
void DrawGroundLine(const Vector3&, const Vector3&) {}
void DrawGroundDots(const Vector3&, const Vector3&) {}
void DrawGroundCircle(const Vector3&, float) {}

void DrawPatternModel(ModelNode* model) {
    if (model) {
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
