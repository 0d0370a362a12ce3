#include "world/Rock.h"

#include "core/ConsoleStream.h"
#include "core/MathUtil.h"
#include "core/Stream.h"
#include "core/String.h"
#include "engine/AssetPaths.h"
#include "engine/Renderer.h"
#include "engine/RendererRef.h"
#include "engine/SceneLighting.h"
#include "world/Arena.h"

namespace {

constexpr const char* kModels[Rock::kVariantCount] = {"Rock", "Rock2", "Rock3", "Rock4", "Rock5", "Rock6"};
constexpr const char* kShadows[Rock::kVariantCount] = {"RockShadow.tga",  "Rock2Shadow.tga", "Rock3Shadow.tga",
                                                       "Rock4Shadow.tga", "Rock5Shadow.tga", "Rock6Shadow.tga"};
constexpr float kHealth = 1000.0f;
// The shadow stands for a body half again as tall as the collision cylinder.
constexpr float kShadowHeight = 1.5f * Rock::kHeight;

TextureHandle ShadowTexture(int variant) {
    static RendererRef<Texture> textures[Rock::kVariantCount];
    if (textures[variant] == nullptr) {
        textures[variant] = gArena->LoadSharedTexture(kShadows[variant]);
    }
    return textures[variant];
}

}  // namespace

Rock::Rock() {
    kind = kKindRock;
    SetTeam(kRandomVariant);
    SetShape(kCylinderRadius);
    ResetHealth(kHealth);
    heading = RandomFloatBetween(0.0f, 2.0f * kPi);
}

void Rock::Reset() {
    ResetHealth(kHealth);
    heading = RandomFloatBetween(0.0f, 2.0f * kPi);
    shadows[0] = ShadowDecal();
    shadows[1] = ShadowDecal();
}

void Rock::SetShape(float radius) { shape.SetCylinder(position, position + Vector3(0.0f, 0.0f, kHeight), radius); }

int Rock::ChooseVariant(int value) {
    if (value < 0 || value > kRandomVariant) {
        ConsoleStream& console = GetConsoleStream();
        console << "SubType " << value << " is not a look 0 to 6: one is drawn at random";
        console.Flush();
        value = kRandomVariant;
    }
    return value == kRandomVariant ? RandomPick(kVariantCount) : value;
}

void Rock::SetTeam(int value) {
    team = ChooseVariant(value);
    model = GetRenderer().LoadModel(ActorModelPath(kModels[team]), 1.0f, 4.0f, 0);
}

void Rock::Draw(const Vector3& point) { DrawLitModel(*this, point); }

void Rock::Update(bool) { SpendAllTime(); }

void Rock::PlaceAt(const Vector3& point) {
    WorldObject::PlaceAt(point);
    TakeTerrainLight();
    SetShape(shape.Radius());
    OnPlaced();
}

// Rocks and trees stand as they were placed.
void Rock::FaceDirection(const Vector3&) { facingAngle = 0.0f; }

void Rock::TakeDamage(Player*, const Vector3&, float, int) {}

void Rock::OnPlaced() {
    ComputeShadow(position, position + Vector3(0.0f, 0.0f, kShadowHeight),
                  position + Vector3(0.0f, 0.0f, kShadowHeight), ShadowTexture(team), false);
}

bool Rock::Load(Stream& stream) { return LoadText(*this, stream); }

void Rock::Save(Stream& stream) { SaveText(*this, stream); }

void Rock::DrawLitModel(WorldObject& object, const Vector3& point) {
    Renderer& renderer = GetRenderer();
    renderer.SetLight0Colors(object.litColour[0], object.litColour[1]);
    renderer.EnableLighting();
    object.DrawModelAt(point);
    UseSceneLight();
}

void Rock::SaveText(WorldObject& object, Stream& stream) {
    stream << "Type " << KindName(object.kind) << Endl;
    stream << "SubType " << object.team << Endl;
    stream << "ID " << object.id << Endl;
    stream << "Position ";
    object.position.WriteText(stream);
    stream << Endl;
    stream << "Angle " << object.heading << Endl;
    stream << "Health " << object.health << Endl;
    stream << "MaxHealth " << object.maxHealth << Endl;
    stream << "End" << Endl;
}

// Scenario entries also come from peers: a value that does not read ends the entry (and
// the load reports it); a number that is not finite leaves its field as it was.
bool Rock::LoadText(WorldObject& object, Stream& stream, bool withSubType) {
    String word;
    while (ReadEntryKey(stream, word)) {
        if (word.EqualsNoCase("ID") || (withSubType && word.EqualsNoCase("SubType"))) {
            const bool isId = word.EqualsNoCase("ID");
            int32_t value = 0;
            stream >> value;
            if (stream.HasError()) {
                return false;
            }
            if (isId) {
                object.loadedId = value;
            } else {
                object.SetTeam(value);
            }
        } else if (word.EqualsNoCase("Position")) {
            Vector3 point = object.position;
            point.ReadText(stream);
            if (stream.HasError()) {
                return false;
            }
            object.PlaceAt(point);
        } else {
            const int field = word.EqualsNoCase("Angle")       ? 0
                              : word.EqualsNoCase("Health")    ? 1
                              : word.EqualsNoCase("MaxHealth") ? 2
                                                               : -1;
            if (field < 0) {
                continue;
            }
            float value = 0.0f;
            stream >> value;
            if (stream.HasError()) {
                return false;
            }
            if (field == 0) {
                object.heading = value;
            } else if (field == 1) {
                object.SetHealth(value);
            } else {
                object.SetMaxHealth(value);
            }
        }
    }
    return word.EqualsNoCase("End");
}
