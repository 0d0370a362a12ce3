// Small helpers of the application shared by the world, the units and the editors.
#include "app/GlobalHelpers.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <unordered_map>

#include "audio/Sound.h"
#include "audio/Sounder.h"
#include "core/Geometry.h"
#include "core/MathUtil.h"
#include "core/Ray.h"
#include "game/Game.h"
#include "world/CollisionShape.h"
#include "world/WorldObject.h"

namespace {

constexpr float kTwoPi = 6.283185307179586f;
// Two points nearer than this have no heading between them.
constexpr float kHeadingMinDistance = 0.01f;
constexpr float kMarkerRadius = 0.5f;
constexpr int kSpotTries = 16;

float gSharedPhase = 0.0f;
Vector3 gSceneLightDirection;
float gSecondMaterialColor[4] = {0.0f, 0.0f, 0.0f, 0.0f};

struct DataFolders {
    String vorns = "Vorns\\";
    String squads = "Squads\\";
    String scenarios = "Scenarios\\";
    String vornPrefix;
    String squadPrefix;
};

DataFolders& Folders() {
    static DataFolders folders;
    return folders;
}

float FoldAngle(float a) {
    while (a < 0.0f) a += kTwoPi;
    while (a >= kTwoPi) a -= kTwoPi;
    return a;
}

float Extent(const WorldObject& object) {
    const CollisionShape& shape = object.shape;
    float extent = shape.Radius();
    if (shape.kind == CollisionShape::kCylinder) extent += shape.cylinderFirst.Distance(shape.cylinderSecond);
    return extent;
}

}  // namespace

Vector2 VectorFromAngle(float angle) { return {std::cos(angle), std::sin(angle)}; }

Vector2 Normalize2D(const Vector2& v) { return v.DivideBy(v.Length()); }

double SafeAcos(double x) { return std::acos(std::clamp(x, -1.0, 1.0)); }

float AngleBetween(const Vector3& a, const Vector3& b) {
    return static_cast<float>(SafeAcos(a.Normalized().Dot(b.Normalized())));
}

float AngleDifference(float a, float b) {
    a = FoldAngle(a);
    b = FoldAngle(b);
    if (a <= b) {
        const float d = b - a;
        return d > kPi ? b - (a + kTwoPi) : d;
    }
    return a - b > kPi ? (b + kTwoPi) - a : b - a;
}

float HeadingBetween(const Vector2& from, const Vector2& to) {
    const Vector2 d = to - from;
    if (d.Length() < kHeadingMinDistance) return 0.0f;
    const Vector3 ahead(1.0f, 0.0f, 0.0f);
    const Vector3 direction(d.x, d.y, 0.0f);
    const float angle = AngleBetween(ahead, direction);
    return ahead.Cross(direction).z < 0.0f ? -angle : angle;
}

Vector3 PointAlongRay(const Ray& ray, float t) { return ray.origin + ray.direction * t; }

float ContactRadiusSum(const WorldObject& a, const WorldObject& b) {
    // The small margin keeps objects that just touch from counting as overlapping.
    return a.shape.Radius() + b.shape.Radius() + 0.005f;
}

float SeparationDistance(const WorldObject& a, const WorldObject& b, float gap) {
    return Extent(a) + Extent(b) + gap;
}

float MaxCircleOverlap(const Vector3& circle, const Vector3Array& circles) {
    float largest = 0.0f;
    for (const Vector3& other : circles) largest = std::max(largest, CircleOverlapArea(circle, other));
    return largest;
}

Vector2 FindFreeSpotAround(const Vector3& centre, float& angle, float scale, Vector3Array& markers) {
    const float step = kTwoPi / float(kSpotTries);
    // A marker may cover a fifth of another before the spot counts as taken.
    const float areaLimit = 0.2f * (kPi * kMarkerRadius * kMarkerRadius);
    const Vector2 c(centre.x, centre.y);
    const float r = centre.z;
    float bestOverlap = kFloatMax;
    Vector2 bestInner;
    Vector2 bestOuter;
    float bestAngle = angle;
    float theta = angle;
    for (int i = 0; i < kSpotTries; ++i) {
        const Vector2 u(std::sin(theta), -std::cos(theta));
        const Vector2 inner = c + u * (r + kMarkerRadius);
        const Vector2 outer = c + u * (scale * (r + kMarkerRadius));
        const float overlap = MaxCircleOverlap(Vector3(inner.x, inner.y, kMarkerRadius), markers);
        if (overlap < areaLimit) {
            markers.Append(Vector3(inner.x, inner.y, kMarkerRadius));
            angle = theta;
            return outer;
        }
        if (overlap < bestOverlap) {
            bestOverlap = overlap;
            bestInner = inner;
            bestOuter = outer;
            bestAngle = theta;
        }
        theta += theta >= 0.0f ? step : -step;
    }
    markers.Append(Vector3(bestInner.x, bestInner.y, kMarkerRadius));
    angle = bestAngle;
    return bestOuter;
}

void AdvanceSharedPhase() {
    const Game* game = CurrentGame();
    if (game == nullptr) return;
    gSharedPhase += game->frameTime * 0.75f;
    while (gSharedPhase > 1.0f) gSharedPhase -= 1.0f;
}

float GetSharedPhase() { return gSharedPhase; }

void SetSharedPhase(float phase) { gSharedPhase = phase; }

Vector3 GetSceneLightDirection() { return gSceneLightDirection; }

void SetSceneLightDirection(const Vector3& direction) { gSceneLightDirection = direction; }

const float* GetSecondMaterialColor() { return gSecondMaterialColor; }

void SetSecondMaterialColor(float red, float green, float blue, float alpha) {
    gSecondMaterialColor[0] = red;
    gSecondMaterialColor[1] = green;
    gSecondMaterialColor[2] = blue;
    gSecondMaterialColor[3] = alpha;
}

String TexturePath(const String& name) { return "Textures\\" + name; }

String SoundPath(const String& name) {
    String path = "Sounds\\" + name;
    if (name.Extension().IsEmpty()) path += ".WAV";
    return path;
}

String ActorPath(const String& name) { return "Actors\\" + name + ".act"; }

String ActorModelPath(const String& name) { return "Actors\\" + name + "_c_painted.obj"; }

String ActorPaintedTexturePath(const String& name) { return "Actors\\" + name + "_c_painted.tga"; }

String ScenarioFilePath(const String& name) { return Folders().scenarios + name + ".SCN"; }

String SquadFilePath(const String& name) { return Folders().squads + Folders().squadPrefix + name + ".SQD"; }

String VornFilePath(const String& name) { return Folders().vorns + Folders().vornPrefix + name + ".VRN"; }

void SetDataFolders(const String& vornFolder, const String& squadFolder, const String& scenarioFolder) {
    Folders().vorns = vornFolder;
    Folders().squads = squadFolder;
    Folders().scenarios = scenarioFolder;
}

void SetFilePrefixes(const String& vornPrefix, const String& squadPrefix) {
    Folders().vornPrefix = vornPrefix;
    Folders().squadPrefix = squadPrefix;
}

void ShowLoadingScreen() {}

// Effect sounds.

namespace {

// One effect sound: the manager's record, or a silent one of our own while no manager
// runs. Entries are never dropped, so an index stays valid for the whole run.
struct EffectSoundEntry {
    String name;  // upper-cased, as the manager keys its table
    Sound* sound = nullptr;
    std::unique_ptr<Sound> silent;
};

struct EffectSounds {
    Sounder* sounder = nullptr;
    float volumeFactor = 1.0f;
    std::vector<EffectSoundEntry> entries;
    std::unordered_map<std::string, int32_t> byName;
    bool recording = false;
    std::vector<EffectSoundRequest> requests;
};

EffectSounds& Effects() {
    static EffectSounds effects;
    return effects;
}

void LoadEntry(EffectSoundEntry& entry, Sounder* sounder) {
    entry.silent.reset();
    entry.sound = nullptr;
    if (sounder != nullptr) entry.sound = sounder->LoadSound(entry.name, Sound::kPanned, true);
    if (entry.sound != nullptr) return;
    entry.silent = std::make_unique<Sound>();
    entry.silent->SetName(entry.name);
    entry.silent->SetKind(Sound::kPanned);
    entry.sound = entry.silent.get();
}

EffectSoundEntry* EntryOf(int32_t sound) {
    std::vector<EffectSoundEntry>& entries = Effects().entries;
    if (sound < 0 || static_cast<size_t>(sound) >= entries.size()) return nullptr;
    return &entries[static_cast<size_t>(sound)];
}

}  // namespace

void SetEffectSounder(Sounder* sounder) {
    EffectSounds& effects = Effects();
    if (effects.sounder == sounder) return;
    effects.sounder = sounder;
    // The old manager's records go with it: every index is loaded again from the new one.
    for (EffectSoundEntry& entry : effects.entries) LoadEntry(entry, sounder);
}

Sounder* GetEffectSounder() { return Effects().sounder; }

void SetEffectVolumeFactor(float factor) { Effects().volumeFactor = factor; }

float GetEffectVolumeFactor() { return Effects().volumeFactor; }

int32_t LoadEffectSound(const String& path) {
    if (path.IsEmpty()) return -1;
    EffectSounds& effects = Effects();
    const String name = path.Uppered();
    const auto found = effects.byName.find(name.CStr());
    if (found != effects.byName.end()) return found->second;
    const auto index = static_cast<int32_t>(effects.entries.size());
    effects.entries.emplace_back();
    effects.entries.back().name = name;
    LoadEntry(effects.entries.back(), effects.sounder);
    effects.byName.emplace(name.CStr(), index);
    return index;
}

void PlayEffectSound(int32_t sound, float volume, int32_t argument) {
    EffectSoundEntry* entry = EntryOf(sound);
    if (entry == nullptr) return;
    EffectSounds& effects = Effects();
    const float level = effects.volumeFactor * volume;
    if (effects.recording) effects.requests.push_back({sound, entry->name, level, argument});
    if (effects.sounder != nullptr && entry->silent == nullptr) {
        effects.sounder->Play(entry->sound, level, static_cast<uint32_t>(argument));
    }
}

Sound* GetEffectSound(int32_t sound) {
    EffectSoundEntry* entry = EntryOf(sound);
    return entry != nullptr ? entry->sound : nullptr;
}

void PlaceEffectSound(int32_t sound, const Vector3& point) {
    if (Sound* record = GetEffectSound(sound)) record->SetPosition(point);
}

void StopEffectSound(int32_t sound) { StopSound(GetEffectSound(sound)); }

bool IsEffectSoundPlaying(int32_t sound) {
    const Sound* record = GetEffectSound(sound);
    return record != nullptr && record->IsPlaying();
}

void RecordEffectSoundRequests(bool on) {
    Effects().recording = on;
    Effects().requests.clear();
}

const std::vector<EffectSoundRequest>& GetEffectSoundRequests() { return Effects().requests; }
