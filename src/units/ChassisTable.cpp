// The six chassis rows: their numbers and what their looks are built from.
#include "units/ChassisTable.h"

#include <algorithm>
#include <numbers>

#include "core/Debugger.h"
#include "core/Quaternion.h"
#include "core/Tga.h"
#include "core/Vector3.h"
#include "engine/AssetPaths.h"
#include "engine/Material.h"
#include "engine/Mesh.h"
#include "engine/ModelNode.h"
#include "engine/Renderer.h"
#include "game/PlayerRoster.h"
#include "units/AtlasMeshes.h"
#include "units/UnitPartAtlas.h"
#include "units/WeaponTable.h"
#include "world/LoadingListener.h"

namespace {

// Weapon models are fitted to this share of the body radius.
constexpr float kWeaponSizeFactor = 0.8f;

constexpr float kPi = std::numbers::pi_v<float>;

const char* const kChassisNames[kChassisCount] = {"RobotSmall", "RobotMedium", "RobotLarge",
                                                  "StalkSmall", "StalkMedium", "StalkLarge"};

// The numbers of a size class, the same in both families.
struct SizeNumbers {
    float scale;
    int32_t basePatternCount;
    int32_t weaponPlaces;
    int32_t baseCost;
    float baseHealth;
    float speed;
    float turnRate;
    float explosionRadius;
    float explosionDamage;
};

const SizeNumbers kSizeNumbers[3] = {
    {kChassisRadiusBySize[0], 4, 1, 20, 10.0f, 8.0f, 2.0f * kPi, 2.0f, 2.5f},
    {kChassisRadiusBySize[1], 6, 2, 40, 20.0f, 4.0f, 1.33f * kPi, 2.75f, 5.0f},
    {kChassisRadiusBySize[2], 8, 2, 70, 50.0f, 2.0f, kPi, 3.75f, 10.0f},
};

// The animation lists of one row, each ended by a null entry.
struct AnimationNames {
    const char* idle[5];
    const char* victory[5];
    const char* simpleVictory[5];
    const char* defeat[5];
    const char* walk[6];
    const char* fly[2];
    const char* rotate[3];
};

const AnimationNames kAnimations[kChassisCount] = {
    {{"HeadbobIdle", "GunTwirl", "QuickLook", "RockingIdle", nullptr},
     {"JumpDance", "JumpTwirl", "VictoryJump", "VictoryTilt", nullptr},
     {"Twirl", "Tilt", "TwirlAndBow", "Kicker", nullptr},
     {"ShakeHead", "ShakeHeadLow", "HeadDroop", "Sad", nullptr},
     {"Walk", "Walk2", "Walk3", "Walk4", "WalkTwirl", nullptr},
     {"Fly", nullptr},
     {"Twist", "Twist2", nullptr}},
    {{"JumpingJacks", "StretchIdle", "Stretch2Idle", "HeadTwist", nullptr},
     {"VictoryCheer", "VictoryWave", "VictoryJump", "VictoryDrum", nullptr},
     {nullptr},
     {"ShakeHead", "LookToTheSky", "Sag", "SagAndShake", nullptr},
     {"Walk", "Walk2", "Walk3", "Walk4", nullptr},
     {"Fly", nullptr},
     {"Twist", "Twist2", nullptr}},
    {{"JumpingJacks", "Stretch", "ToeTouch", "360", nullptr},
     {"VictoryPump", "VictoryPointing", "VictoryJump", "VictoryWhirly", nullptr},
     {nullptr},
     {"Hide", "SagAndShake", "WhyMe", "LookSkyward", nullptr},
     {"Walk", "Walk2", "Walk3", "Walk4", nullptr},
     {nullptr},
     {"Twist", "Twist2", nullptr}},
    {{"TwirlGunIdle", "IdleBackAndForth", "IdleMoreMoreMore", "LookAround", nullptr},
     {"JumpDance", "BackAndForthYay", "WooHoo", "Bow", nullptr},
     {nullptr},
     {"SagAndShake", "Sag", "SagToSide", "Embarrassed", nullptr},
     {"Walk", "Walk2", "Walk3", "Walk4", nullptr},
     {"Fly", nullptr},
     {"Twist", "Twist2", nullptr}},
    {{"TwistIdle", "LookAroundIdle", "RockingIdle", "ScrunchIdle", nullptr},
     {"RahRah", "GunTwirl", "BackAndForth", "Jump", nullptr},
     {nullptr},
     {"Sag", "Collapse", "SagAndShake", "DrunkDrop", nullptr},
     {"Walk", "Walk2", "Walk3", "Walk4", nullptr},
     {"Fly", nullptr},
     {"Twist", "DownTwist", nullptr}},
    {{"LookIdle", "WaveIdle", "JumpingJacksIdle", "BackAndForthIdle", nullptr},
     {"Jump", "Wave", "Wobble", "Dizzy", nullptr},
     {nullptr},
     {"Sag", "Splat", "Shake", "PeelAway", nullptr},
     {"Walk", "Walk2", "Walk3", "Walk4", nullptr},
     {nullptr},
     {"Twist", "DownTwist", nullptr}},
};

const char* const kRobotPaintedParts[] = {
    "RobotAntenna",    "Ball0",           "RobotSmallHead", "RobotSmallEar", "RobotMediumBody",    "RobotMediumEar",
    "RobotMediumHead", "RobotLargeTorso", "RobotLargeHead", "RobotLargeEar", "RobotLargeUpperArm", "RobotLargeForeArm"};
const char* const kStalkPaintedParts[] = {"Ball1",       "StalkSmallBody",  "StalkSegment",
                                          "StalkEyelid", "StalkMediumBody", "StalkLargeBody"};

// The table is built on first use, out of the way of the lookups: they ask for a row
// hundreds of thousands of times a battle and only test the guard inline.
[[gnu::noinline, gnu::cold]] ChassisDefinition* BuildRows() {
    static ChassisDefinition rows[kChassisCount];
    return rows;
}

ChassisDefinition* Rows() {
    static ChassisDefinition* const rows = BuildRows();
    return rows;
}

bool IsFamilyRow(int row) { return row == 0 || row == 3; }
bool IsRobotRow(int row) { return row < 3; }
int FamilyRowOf(int row) { return IsRobotRow(row) ? 0 : 3; }

void FillList(Array<const char*>& list, const char* const* names) {
    list.Clear();
    for (; *names != nullptr; ++names) list.Append(*names);
}

FacePart MakeFacePart(const String& name, float s, const Quaternion& rotation, const Vector3& offset) {
    Matrix4 scaling;
    scaling.SetScale(s);
    FacePart part;
    part.transform = Matrix4::Multiply(scaling, rotation.ToMatrix());
    part.transform.Translate(offset);
    Renderer& renderer = GetRenderer();
    part.model = renderer.LoadModel(ActorPath(name), 1.0f, 1.0f, 0, 0, 1, 0.01f);
    if (part.model != nullptr && part.model->mesh != nullptr) {
        part.mesh = renderer.CreateMeshCopy(*part.model->mesh);
        part.mesh->Transform(part.transform);
        renderer.CreateModelMeshes(part.mesh);
    }
    return part;
}

void SetMoodPart(MoodSet& set, int32_t mood, const FacePart& part) {
    if (mood < 0 || mood >= set.count) return;
    set.parts[mood] = part;
}

// A portrait or painted part that does not read leaves its image empty, and says why.
void LoadImageFile(const String& path, Image& image) {
    const TgaReadResult read = ReadTgaFile(path.CStr(), image);
    if (read != TgaReadResult::kOk) {
        Debugger::Instance().Line((String("Image file \"") + path + "\" refused: " + TgaReadResultText(read)).CStr());
    }
}

// Loading again (a test, a restart of the tables) starts from empty lists.
void ClearLooks(ChassisDefinition& row) {
    row.leftEyes.Clear();
    row.rightEyes.Clear();
    row.mouths.Clear();
    row.leftBrow = MoodSet();
    row.middleBrow = MoodSet();
    row.rightBrow = MoodSet();
    row.FreePaintedPartImages();
}

void SetNumbers(ChassisDefinition& row, int index) {
    const SizeNumbers& numbers = kSizeNumbers[index % 3];
    row.name = kChassisNames[index];
    row.sizeClass = index % 3;
    row.scale = numbers.scale;
    row.basePatternCount = numbers.basePatternCount;
    row.weaponPlaces = numbers.weaponPlaces;
    row.baseCost = numbers.baseCost;
    row.baseHealth = numbers.baseHealth;
    row.speed = numbers.speed;
    row.turnRate = numbers.turnRate;
    row.explosionRadius = numbers.explosionRadius;
    row.explosionDamage = numbers.explosionDamage;
}

void SetImages(ChassisDefinition& row) {
    row.modelName = row.name;
    row.shadowImage = row.name + "Shadow.tga";
    row.shadowTexture = GetRenderer().CreateTextureFromFile(TexturePath(row.shadowImage));
    row.buttonImage = row.name + "Button.tga";
    LoadImageFile(TexturePath(row.name + "Image64.tga"), row.portrait64);
    if (row.sizeClass == 0) LoadImageFile(TexturePath(row.name + "Image128.tga"), row.portrait128);
}

void SetAnimations(ChassisDefinition& row, int index) {
    const AnimationNames& names = kAnimations[index];
    FillList(row.idleAnimations, names.idle);
    FillList(row.victoryAnimations, names.victory);
    FillList(row.simpleVictoryAnimations, names.simpleVictory);
    FillList(row.defeatAnimations, names.defeat);
    FillList(row.walkAnimations, names.walk);
    FillList(row.flyAnimations, names.fly);
    FillList(row.rotateAnimations, names.rotate);
}

void SetFamilyFields(ChassisDefinition& row, int index) {
    const bool robots = IsRobotRow(index);
    row.goalTexture = robots ? "Goal0.tga" : "Goal1.tga";
    row.goalButton = robots ? "FriendGoalObjectButton.tga" : "EnemyGoalObjectButton.tga";
    row.paintedPartNames.Clear();
    if (robots) {
        for (const char* name : kRobotPaintedParts) row.paintedPartNames.Append(name);
    } else {
        for (const char* name : kStalkPaintedParts) row.paintedPartNames.Append(name);
    }
}

void AddRobotFace(ChassisDefinition& row) {
    const Quaternion none;
    const Vector3 zero;
    row.AddEyes("EyeSphere", 0.4f, none, zero);
    row.AddEyes("EyeSphere", 0.3f, none, zero);
    row.AddEyes("EyeCylinder", 0.3f, none, zero);
    row.AddEyes("EyeEllipse", 0.4f, none, zero);
    const char* const leftBrows[3] = {"LeftEyebrowMean", "LeftEyebrowNeutral", "LeftEyebrowSad"};
    const char* const rightBrows[3] = {"RightEyebrowMean", "RightEyebrowNeutral", "RightEyebrowSad"};
    for (int mood = 0; mood < 3; ++mood) {
        row.SetLeftBrow(mood, leftBrows[mood], 0.4f, none, zero);
        row.SetRightBrow(mood, rightBrows[mood], 0.4f, none, zero);
    }
    const Vector3 up(0.0f, 1.0f, 0.0f);
    row.SetMouth(0, 0, "MouthGrimace", 0.6f, none, zero);
    row.SetMouth(0, 1, "MouthSmile", 0.6f, none, zero);
    row.SetMouth(0, 2, "MouthFrown", 0.5f, none, zero);
    row.SetMouth(1, 0, "MouthBucktoothGrimace", 0.6f, none, zero);
    row.SetMouth(1, 1, "MouthBucktoothSmile", 0.6f, none, zero);
    row.SetMouth(1, 2, "MouthBucktoothOh", 0.4f, Quaternion::FromAxisAngle(up, kPi / 6.0f), zero);
    const Vector3 tongueOffset(0.1f, 0.0f, 0.0f);
    row.SetMouth(2, 0, "MouthTongueGrimace", 0.6f, none, tongueOffset);
    row.SetMouth(2, 1, "MouthTongueSmile", 0.6f, none, tongueOffset);
    row.SetMouth(2, 2, "MouthTongueOh", 0.45f, none, tongueOffset);
    const Quaternion triangleTurn = Quaternion::FromAxisAngle(up, kPi / 9.0f);
    row.SetMouth(3, 0, "MouthTriangleGrimace", 0.6f, triangleTurn, zero);
    row.SetMouth(3, 1, "MouthTriangleSmile", 0.6f, triangleTurn, zero);
    row.SetMouth(3, 2, "MouthTriangleOh", 0.6f, triangleTurn, zero);
}

void AddStalkFace(ChassisDefinition& row) {
    const Quaternion none;
    const Vector3 zero;
    const char* const brows[3] = {"UnibrowMean", "UnibrowHappy", "UnibrowSad"};
    const char* const mouths[3] = {"MouthFangGrimace", "MouthFangSmile", "MouthFangFrown"};
    const float browScale[3] = {0.6f, 0.8f, 1.2f};
    const float mouthScale[3] = {0.6f, 0.8f, 1.3f};
    const int size = row.sizeClass;
    for (int mood = 0; mood < 3; ++mood) {
        row.SetLeftBrow(mood, brows[mood], browScale[size], none, zero);
        if (size >= 1) row.SetRightBrow(mood, brows[mood], browScale[size], none, zero);
        if (size >= 2) row.SetMiddleBrow(mood, brows[mood], browScale[size], none, zero);
    }
    for (int mood = 0; mood < 3; ++mood) row.SetMouth(0, mood, mouths[mood], mouthScale[size], none, zero);
}

void LoadFamilyImages(ChassisDefinition& row) {
    for (const String& name : row.paintedPartNames) {
        Image* image = new Image();
        row.paintedPartImages.Append(image);
        LoadPaintedPartImage(name, *image);
    }
    row.partAtlas.Layout(row.paintedPartImages);
}

// The nodes of the tree whose mesh shows the texture, the node before its children.
void AddPartsDrawnWith(ModelNode& node, TextureHandle texture, Array<ModelNode*>& parts,
                       Array<Material*>& partMaterials) {
    if (node.mesh != nullptr) {
        Array<Material*> materials;
        node.mesh->GetMaterialsWithTexture(materials, texture);
        if (!materials.IsEmpty()) parts.Append(&node);
        for (Material* material : materials) partMaterials.Append(material);
    }
    for (ModelNode* child = node.firstChild; child != nullptr; child = child->nextSibling) {
        AddPartsDrawnWith(*child, texture, parts, partMaterials);
    }
}

void MakeAtlasMeshes(ChassisDefinition& row, const ChassisDefinition& family, const Array<TextureHandle>& textures) {
    row.atlasSources.Clear();
    row.atlasMeshes.Clear();
    row.atlasMaterials.Clear();
    for (int part = 0; part < row.paintedPartMeshes.Count() && part < family.partAtlas.PartCount(); ++part) {
        for (ModelNode* node : row.paintedPartMeshes[part]) {
            Mesh* mesh = node->mesh;
            if (row.atlasSources.Find(mesh) >= 0 || !FitsAtlas(*mesh, textures[part])) continue;
            Mesh* copy = GetRenderer().CreateMeshCopy(*mesh);
            MoveIntoAtlas(*copy, family.partAtlas, part, row.atlasMaterials);
            row.atlasSources.Append(mesh);
            row.atlasMeshes.Append(copy);
        }
    }
}

void LoadBody(ChassisDefinition& row, int index) {
    row.bodyModel = GetRenderer().LoadModel(ActorPath(row.modelName), 1.0f, 2.0f * row.scale, 2, 0, 1, 0.003f);
    row.paintedPartMeshes.Clear();
    row.paintedPartMaterials.Clear();
    Array<TextureHandle> textures;
    for (const String& name : Rows()[FamilyRowOf(index)].paintedPartNames) {
        const TextureHandle texture = GetRenderer().CreateTextureFromFile(ActorPaintedTexturePath(name));
        textures.Append(texture);
        Array<ModelNode*> parts;
        Array<Material*> materials;
        if (row.bodyModel != nullptr) AddPartsDrawnWith(*row.bodyModel, texture, parts, materials);
        row.paintedPartMeshes.Append(parts);
        row.paintedPartMaterials.Append(materials);
    }
    MakeAtlasMeshes(row, Rows()[FamilyRowOf(index)], textures);
}

void AddFaceParts(const FacePart* parts, int count, Array<Mesh*>& meshes) {
    for (int i = 0; i < count; ++i) meshes.Append(parts[i].mesh.Get());
}

bool IsPainted(const ChassisDefinition& row, const Mesh& mesh) {
    Array<Material*> materials;
    mesh.GetMaterials(materials);
    for (const Array<Material*>& painted : row.paintedPartMaterials) {
        for (Material* material : materials) {
            if (painted.Find(material) >= 0) return true;
        }
    }
    return false;
}

// The body's meshes that no owner's colours paint.
void AddPlainBodyParts(const ChassisDefinition& row, const ModelNode* node, Array<Mesh*>& meshes) {
    if (node == nullptr) return;
    if (node->mesh != nullptr && !IsPainted(row, *node->mesh)) meshes.Append(node->mesh);
    for (const ModelNode* child = node->firstChild; child != nullptr; child = child->nextSibling) {
        AddPlainBodyParts(row, child, meshes);
    }
}

// Every part a unit shows alike whoever owns it goes onto one picture, so that a body
// draws them together: the face parts, the plain body parts and every weapon.
void GatherUnitParts() {
    Array<Mesh*> meshes;
    for (int index = 0; index < kChassisCount; ++index) {
        const ChassisDefinition& row = Rows()[index];
        for (const MoodSet& mouth : row.mouths) AddFaceParts(mouth.parts, mouth.count, meshes);
        AddFaceParts(row.leftEyes.Data(), row.leftEyes.Count(), meshes);
        AddFaceParts(row.rightEyes.Data(), row.rightEyes.Count(), meshes);
        for (const MoodSet* brow : {&row.leftBrow, &row.middleBrow, &row.rightBrow}) {
            AddFaceParts(brow->parts, brow->count, meshes);
        }
        AddPlainBodyParts(row, row.bodyModel.Get(), meshes);
        for (int32_t kind = 0; kind < kWeaponKindCount; ++kind) meshes.Append(WeaponMesh(kind, row.sizeClass));
    }
    UnitPartAtlas::Gather(meshes);
}

}  // namespace

ChassisDefinition::~ChassisDefinition() { FreePaintedPartImages(); }

void ChassisDefinition::AddEyes(const String& eyeName, float s, const Quaternion& rotation, const Vector3& offset) {
    leftEyes.Append(MakeFacePart("Left" + eyeName, s, rotation, offset));
    rightEyes.Append(MakeFacePart("Right" + eyeName, s, rotation, offset));
}

void ChassisDefinition::SetLeftBrow(int32_t mood, const String& partName, float s, const Quaternion& rotation,
                                    const Vector3& offset) {
    SetMoodPart(leftBrow, mood, MakeFacePart(partName, s, rotation, offset));
}

void ChassisDefinition::SetMiddleBrow(int32_t mood, const String& partName, float s, const Quaternion& rotation,
                                      const Vector3& offset) {
    SetMoodPart(middleBrow, mood, MakeFacePart(partName, s, rotation, offset));
}

void ChassisDefinition::SetRightBrow(int32_t mood, const String& partName, float s, const Quaternion& rotation,
                                     const Vector3& offset) {
    SetMoodPart(rightBrow, mood, MakeFacePart(partName, s, rotation, offset));
}

void ChassisDefinition::SetMouth(int32_t style, int32_t mood, const String& partName, float s,
                                 const Quaternion& rotation, const Vector3& offset) {
    if (style < 0) return;
    while (mouths.Count() <= style) mouths.Append(MoodSet());
    SetMoodPart(mouths[style], mood, MakeFacePart(partName, s, rotation, offset));
}

void ChassisDefinition::FreePaintedPartImages() {
    for (Image* image : paintedPartImages) delete image;
    paintedPartImages.Clear();
}

ChassisDefinition* ChassisTable::Row(int32_t chassis) {
    if (!IsValid(chassis)) return nullptr;
    return &Rows()[chassis];
}

int32_t ChassisTable::SizeClass(int32_t chassis) {
    const ChassisDefinition* row = Row(chassis);
    return row ? row->sizeClass : -1;
}

void LoadChassisDefinitions() {
    for (int index = 0; index < kChassisCount; ++index) {
        ChassisDefinition& row = Rows()[index];
        ClearLooks(row);
        SetNumbers(row, index);
        SetImages(row);
        SetAnimations(row, index);
        if (IsFamilyRow(index)) SetFamilyFields(row, index);
        if (IsRobotRow(index)) {
            AddRobotFace(row);
        } else {
            AddStalkFace(row);
        }
    }
    ReportLoadingStep();
    LoadFamilyImages(Rows()[0]);
    LoadFamilyImages(Rows()[3]);
    ReportLoadingStep();
    for (int index = 0; index < kChassisCount; ++index) LoadBody(Rows()[index], index);
    GatherUnitParts();
    ReportLoadingStep();
}

void FreeChassisDefinitions() {
    for (int index = 0; index < kChassisCount; ++index) Rows()[index].FreePaintedPartImages();
}

int32_t FindChassisByName(const String& chassisName) {
    for (int index = 0; index < kChassisCount; ++index) {
        if (chassisName.EqualsNoCase(kChassisNames[index])) return index;
    }
    return 0;
}

const char* ChassisMarkerName(int32_t chassis, const Player* player) {
    static const char* const kFriend[3] = {"SmallFriend", "MediumFriend", "LargeFriend"};
    static const char* const kEnemy[3] = {"SmallEnemy", "MediumEnemy", "LargeEnemy"};
    const int32_t size = ChassisTable::SizeClass(chassis);
    if (size < 0) return "";
    return player == &GetLocalPlayer() ? kFriend[size] : kEnemy[size];
}

void LoadPaintedPartImage(const String& partName, Image& image) {
    if (partName.IsEmpty()) return;
    LoadImageFile(ActorPaintedTexturePath(partName), image);
}

Mesh* WeaponMesh(int32_t kind, int32_t sizeClass) {
    static Mesh* meshes[kWeaponKindCount][3] = {};
    static bool tried[kWeaponKindCount][3] = {};
    static RendererMark current;
    if (!WeaponTable::IsValidKind(kind) || sizeClass < 0 || sizeClass > 2) return nullptr;
    if (!current.IsSet()) {
        current.Set();
        std::fill(&meshes[0][0], &meshes[0][0] + kWeaponKindCount * 3, nullptr);
        std::fill(&tried[0][0], &tried[0][0] + kWeaponKindCount * 3, false);
    }
    if (!tried[kind][sizeClass]) {
        tried[kind][sizeClass] = true;
        const String name = String(WeaponKindName(kind)) + "Weapon";
        const float size = kWeaponSizeFactor * kChassisRadiusBySize[sizeClass];
        ModelNode* model =
            GetRenderer().LoadModel(ActorModelPath(name), 1.0f, size, 2, 0, 1, 0.0f, 0.5f, 1, true, false);
        Array<Mesh*> found;
        if (model != nullptr) model->GetMeshes(found);
        meshes[kind][sizeClass] = found.IsEmpty() ? nullptr : found[0];
    }
    return meshes[kind][sizeClass];
}
