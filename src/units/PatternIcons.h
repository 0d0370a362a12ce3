#pragma once
// The drawing resources that all patterns share, loaded once and kept for the run, the
// highlight pulse that animates a pattern on show, and the drawing calls through which
// the pattern records reach the renderer.
#include <cstdint>

#include "core/Color.h"
#include "core/Vector2.h"
#include "core/Vector3.h"
#include "units/Action.h"
#include "units/MapConditional.h"
#include "units/PatternLimits.h"
#include "units/PatternObject.h"

class ModelNode;
class String;
struct Sprite;
class Vorn;

// Sprite handles belong to the renderer; a null handle draws nothing.
struct PatternIconSet {
    Sprite* icon = nullptr;    // plain icon
    Sprite* wedge = nullptr;   // icon turned toward a set facing handle
    Sprite* facing = nullptr;  // the facing arrow at the handle
    uint8_t alpha = 255;
};

struct PatternIcons {
    ModelNode* arrowhead = nullptr;   // "ArrowheadRed"
    ModelNode* background = nullptr;  // the quad behind the diagram, -20 to 20
    Sprite* miniConditional = nullptr;
    Sprite* miniPriority = nullptr;
    Sprite* whiteCross = nullptr;
    Sprite* whiteO = nullptr;          // ring behind an object's property icons
    Sprite* menuBackground = nullptr;  // disc behind a path point's action ring
    Sprite* pathStrip = nullptr;       // texture of the diagram's path segments
    // Path point icons in friend (0) and enemy (1) colours.
    PatternIconSet pathIconSets[2];
    int pathIconSet = 0;
    Sprite* orderBadges[kMaxActionsPerPathPoint] = {};
    Sprite* actionButtons[kActionKindCount] = {};
    Sprite* mapConditions[kMapConditionKindCount] = {};
    // Object icons by kind in two colour sets.
    PatternIconSet objectIconSets[2][kPatternObjectKindCount];
    int objectIconSet = 0;
    Sprite* friendProperties[kPatternPropertyCount] = {};
    Sprite* enemyProperties[kPatternPropertyCount] = {};
    bool pathLoaded = false;
    bool objectsLoaded = false;
    bool mapLoaded = false;
};

// The shared resources; loaded in parts by the first record that draws with them.
PatternIcons& GetPatternIcons();
void LoadPatternIcons();        // patterns and path points
void LoadPatternObjectIcons();  // pattern objects
void LoadMapConditionIcons();   // map conditionals

// A renderer sprite of the texture, or none when the data lacks it.
Sprite* LoadIconSprite(const String& name);

// Friend colours when true, enemy colours otherwise.
void SelectPathIconColours(bool friendColours);
// Makes object icon set 0 or 1 current; nothing when it already is.
void SelectObjectIconColours(int set);
const PatternIconSet& CurrentPathIcons();
const PatternIconSet& CurrentObjectIcons(int32_t kind);

// The highlight pulse: a phase in [0, 1) with a period of 0.5 s, the time since the
// pattern on show was last reset, and the unit whose pattern is on show.
void AdvancePatternPulse(float frameTime);
void ResetPatternPulse();
void ResetPatternPulseFor(const Vorn* unit);
float PatternPulsePhase();
void SetPatternPulsePhase(float phase);
float PatternPulseTime();
void SetPatternPulseTime(float seconds);
const Vorn* PatternPulseUnit();
void SetPatternPulseUnit(const Vorn* unit);

// Drawing calls of the diagram, in pattern coordinates; sizes are final (zoom applied).
void DrawPatternSprite(Sprite* sprite, const Vector2& centre, float size, float angle = 0.0f,
                       uint32_t colour = 0xFFFFFFFFu);
void DrawPatternLine(const Vector2& from, const Vector2& to, float width, float endSize);
void DrawPatternStrip(Sprite* sprite, const Vector2& from, const Vector2& to, float width, float zoom, float phase);
void DrawPatternModel(ModelNode* model);

// Drawing calls of the pattern in the arena, at ground points of the world.
void DrawGroundSprite(Sprite* sprite, const Vector3& centre, float size, float angle = 0.0f);
void DrawGroundLine(const Vector3& from, const Vector3& to);
// The path's marching arrows laid on the terrain from one point to the other.
void DrawGroundPath(const Vector3& from, const Vector3& to);
// An arc on the ground round the centre, from the heading through the signed turn.
void DrawGroundArc(const Vector3& centre, float radius, float fromHeading, float turn);
void DrawGroundCircle(const Vector3& centre, float radius);
// A picture standing upright and facing the camera, centred at the point.
void DrawBillboard(Sprite* sprite, const Vector3& centre, float width, float height, Color colour);
// The shared arrowhead model at the point, turned to the heading.
void DrawArrowhead(const Vector3& point, float heading);
