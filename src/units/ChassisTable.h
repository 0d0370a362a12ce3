#pragma once
// The six chassis every unit is built on: robots and stalks, each small, medium and
// large. A row holds the numbers the game rules read and what the unit's look is built
// from. Filled once at start-up by LoadChassisDefinitions and read-only afterwards.
#include <cstdint>

#include "core/Array.h"
#include "core/Image.h"
#include "core/Matrix4.h"
#include "core/String.h"
#include "engine/RendererRef.h"
#include "engine/TextureHandle.h"
#include "units/PaintedPartAtlas.h"

class Material;
class Mesh;
class ModelNode;
class Player;
struct Quaternion;
struct Vector3;

constexpr int kChassisCount = 6;
// The body radius of each size class (small, medium, large), which is also the unit's
// collision radius and the scale of its body; chassis row r is of size class r % 3.
constexpr float kChassisRadiusBySize[3] = {1.5f, 2.25f, 3.25f};

// One face-part mesh: the part's model, the matrix that sizes, turns and places it, and
// the model's mesh baked with that matrix (none when the model has no mesh).
struct FacePart {
    RendererRef<ModelNode> model;  // none: the slot was never set
    Matrix4 transform;
    RendererRef<Mesh> mesh;  // owned by the renderer
};

// Face parts by mood: 0 mean, 1 happy, 2 sad.
struct MoodSet {
    int32_t count = 3;
    FacePart parts[3];
};

class ChassisDefinition {
public:
    ChassisDefinition() = default;
    ChassisDefinition(const ChassisDefinition&) = delete;
    ChassisDefinition& operator=(const ChassisDefinition&) = delete;
    ~ChassisDefinition();

    // "Left" + name goes to leftEyes and "Right" + name to rightEyes.
    void AddEyes(const String& name, float s, const Quaternion& rotation, const Vector3& offset);
    void SetLeftBrow(int32_t mood, const String& name, float s, const Quaternion& rotation, const Vector3& offset);
    void SetMiddleBrow(int32_t mood, const String& name, float s, const Quaternion& rotation, const Vector3& offset);
    void SetRightBrow(int32_t mood, const String& name, float s, const Quaternion& rotation, const Vector3& offset);
    // Grows the mouth list to style + 1 entries when needed.
    void SetMouth(int32_t style, int32_t mood, const String& name, float s, const Quaternion& rotation,
                  const Vector3& offset);
    // Frees the painted-part images; the rows themselves live for the run.
    void FreePaintedPartImages();

    String name;
    int32_t sizeClass = 0;         // 0 small, 1 medium, 2 large
    float scale = 0.0f;            // the body's size factor and the unit's collision radius
    int32_t basePatternCount = 0;  // pattern slots before upgrades
    int32_t weaponPlaces = 0;      // weapon places in use
    int32_t baseCost = 0;
    float baseHealth = 0.0f;       // before the armour upgrade
    float speed = 0.0f;            // world units per second before the speed upgrade
    float turnRate = 0.0f;         // radians per second
    float explosionRadius = 0.0f;  // of the blast when a unit of this chassis is destroyed
    float explosionDamage = 0.0f;
    String modelName;
    String buttonImage;  // also the marker image of the editors' chassis buttons
    String shadowImage;
    RendererRef<Texture> shadowTexture;
    RendererRef<ModelNode> bodyModel;  // owned by the renderer
    // Family rows (0 and 3) only.
    Array<String> paintedPartNames;
    Array<Image*> paintedPartImages;  // owned
    // One list per painted part name of the row's family: the body parts drawn with it.
    Array<Array<ModelNode*>> paintedPartMeshes;  // nodes of bodyModel: none without it
    // The same per part: the materials that showed the part's picture when the body was
    // loaded, whichever player's colours they show since.
    Array<Array<Material*>> paintedPartMaterials;
    // Family rows: where each painted part lies in the family's one picture of them all.
    PaintedPartAtlas partAtlas;
    // The row's painted meshes drawn from that picture: copies with their coordinates
    // moved into the part's cell (atlasMeshes[i] stands in for atlasSources[i]), and the
    // copies' materials, which show the owner's picture of the family.
    Array<Mesh*> atlasSources;
    Array<RendererRef<Mesh>> atlasMeshes;
    Array<Material*> atlasMaterials;
    String goalTexture;  // a name in the texture folder, like goalButton
    String goalButton;
    Image portrait128;  // small rows only
    Image portrait64;
    Array<const char*> idleAnimations;
    Array<const char*> victoryAnimations;
    Array<const char*> simpleVictoryAnimations;
    Array<const char*> defeatAnimations;
    Array<const char*> walkAnimations;
    Array<const char*> flyAnimations;
    Array<const char*> rotateAnimations;
    Array<MoodSet> mouths;     // by mouth style
    Array<FacePart> leftEyes;  // by eye style; robot rows only
    Array<FacePart> rightEyes;
    MoodSet leftBrow;
    MoodSet middleBrow;
    MoodSet rightBrow;
};

class ChassisTable {
public:
    static constexpr int kRowCount = kChassisCount;

    // The row of a chassis index, or none outside 0..5: units start at -1 and indices
    // come from files and peers.
    static ChassisDefinition* Row(int32_t chassis);
    static bool IsValid(int32_t chassis) { return chassis >= 0 && chassis < kChassisCount; }
    // The row's size class; -1 outside 0..5.
    static int32_t SizeClass(int32_t chassis);
};

// Fills the whole table; once, during start-up, after the renderer exists.
void LoadChassisDefinitions();
// At shutdown: frees every painted-part image.
void FreeChassisDefinitions();
// The first row whose name equals the text ignoring case; 0 when none does.
int32_t FindChassisByName(const String& name);
// "SmallFriend" ... "LargeEnemy": Friend for the local player's units; empty text for
// a row outside 0..5.
const char* ChassisMarkerName(int32_t chassis, const Player* player);
// The mesh of a weapon kind fitted to a size class, loaded on first use and again once the
// renderer that held it has released its models; none for an unknown kind or size.
Mesh* WeaponMesh(int32_t kind, int32_t sizeClass);
// Loads "Actors\" + name + "_c_painted.tga" into the image; nothing for an empty name.
void LoadPaintedPartImage(const String& name, Image& image);
