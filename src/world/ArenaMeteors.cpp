// The staging of a battlefield: the meteor shower that ends every battle, the launch
// points where squads enter, and the camera's fly-by loop.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "audio/EffectSounds.h"
#include "core/MathUtil.h"
#include "core/Spline.h"
#include "game/Game.h"
#include "game/Squad.h"
#include "platform/sys/Random.h"
#include "units/ChassisTable.h"
#include "world/Arena.h"
#include "world/FlyByPoint.h"
#include "world/LaunchPoint.h"
#include "world/Meteor.h"

namespace {

// Two points nearer than this on the ground plane are the same point for a toggle.
constexpr float kToggleDistance = 1.0f;
// Meteors start this high above the ground.
constexpr float kMeteorStartHeight = 40.0f;
// The fly-by camera moves at this many units a second.
constexpr float kFlyBySpeed = 25.0f;
// A segment's length is measured by this many straight steps along it.
constexpr int kFlyByLengthSteps = 50;
// Segments shorter than this (two points on top of each other) take no time and are
// passed over, so the camera never divides by a zero duration.
constexpr float kMinFlyBySegment = 0.01f;
// Freeing a launch point matches its position to this tolerance.
constexpr float kLaunchPointMatch = 0.00001f;
// Random spots drawn for a squad with no launch point left before one clear of lava and
// water is given up on: a field may be all lava.
constexpr int kDrySpotTries = 64;
// A squad's members stand with their centres inside its circle; the corners of the
// largest one's square reach this far from its launch point.
constexpr float kLaunchClearance = Squad::kAreaRadius + kChassisRadiusBySize[2] * std::numbers::sqrt2_v<float>;

float RandomUnit() { return float(sys::Rand()) / float(sys::kRandMax); }

int WrapIndex(int i, int n) {
    const int m = i % n;
    return m < 0 ? m + n : m;
}

float PlaneDistance(float ax, float ay, float bx, float by) {
    const float dx = ax - bx;
    const float dy = ay - by;
    return std::sqrt(dx * dx + dy * dy);
}

void PlayPointSound(bool added) {
    static int32_t addedSound = -1;
    static int32_t removedSound = -1;
    int32_t& sound = added ? addedSound : removedSound;
    if (sound < 0) {
        sound = LoadEffectSound(SoundPath(added ? "PointAdded.ogg" : "PointRemoved.ogg"));
    }
    PlayEffectSound(sound, 1.0f, 0);
}

}  // namespace

// Meteor shower.

void Arena::ResetMeteorShower() {
    meteorClock = 0.0f;
    meteorIntensity = 1.0f;
    meteorAccumulator = 0.0f;
}

void Arena::UpdateMeteorShower() {
    const Game* game = CurrentGame();
    // A network client is sent every meteor of the server's shower.
    if (!meteorShowerOn || game == nullptr || game->IsNetworkClient()) {
        return;
    }
    const float dt = game->frameTime;
    meteorClock += dt;
    globalMeteorClock += dt;
    // Meteors per second once the clock is past each bound; the rate only rises, so
    // every battle ends.
    static constexpr float kBounds[][2] = {{0, 1}, {5, 3}, {10, 6}, {15, 10}, {25, 15}, {30, 20}};
    meteorIntensity = 0.0f;
    for (const auto& bound : kBounds) {
        if (meteorClock > meteorStartTime + bound[0]) {
            meteorIntensity = bound[1];
        }
    }
    if (meteorIntensity <= 0.0f) {
        return;
    }
    meteorAccumulator += dt;
    // One meteor per frame at most, so a long frame never floods the arena.
    if (meteorAccumulator > 1.0f / meteorIntensity) {
        meteorAccumulator -= 1.0f / meteorIntensity;
        SpawnMeteorAtRandom();
    }
}

void Arena::SpawnMeteorAtRandom() {
    const Vector3 spot = RandomPoint();
    const float r1 = RandomUnit();
    const float r2 = RandomUnit();
    const Vector3 direction = Vector3(r2 - 0.5f, r1 - 0.5f, -1.0f).Normalized();
    const float size = RandomUnit() * 1.8f + 0.2f;
    const float speed = RandomUnit() * 7.0f + 10.0f;
    AddMeteor(Vector3(spot.x, spot.y, kMeteorStartHeight), direction, speed, size);
}

Meteor* Arena::AddMeteor(const Vector3& start, const Vector3& direction, float speed, float size) {
    auto* meteor = static_cast<Meteor*>(NewObjectOfKind(kKindMeteor));
    AddObject(meteor);
    const Vector3 axis(RandomUnit() - 0.5f, RandomUnit() - 0.5f, RandomUnit() - 0.5f);
    meteor->spinAxis = axis.Length() > Tolerance ? axis.Normalized() : Vector3(0.0f, 0.0f, 1.0f);
    meteor->speed = speed;
    meteor->SetVelocity(direction * speed);
    meteor->spinRate = RandomUnit() * 5.0f;
    meteor->spinAngle = float(sys::Rand()) / float(sys::kRandMax + 1) * 2.0f * kPi;
    meteor->scale = size;
    meteor->PlaceAt(start);
    meteor->SavePreviousState();
    Game* game = CurrentGame();
    meteor->Update(game != nullptr && game->IsSimulationPaused());
    // Small meteors sound at 0.8, the largest at 1.0.
    const float volume = ((size - 0.2f) / 1.8f) * 0.2f + 0.8f;
    PlaySoundAtPoint(meteor->fallingSound, start, volume);
    if (game != nullptr) {
        game->OnMeteorAdded(meteor, meteor->fallingSound, volume, 0);
    }
    return meteor;
}

// Launch points.

void Arena::ToggleLaunchPoint(const Vector2& point, bool withSound) {
    for (int i = 0; i < launchPoints.Count(); ++i) {
        LaunchPoint* near = launchPoints[i];
        if (PlaneDistance(near->position.x, near->position.y, point.x, point.y) < kToggleDistance) {
            FreeLaunchPoint(near);
            launchPoints.RemoveAt(i);
            if (withSound) {
                PlayPointSound(false);
            }
            return;
        }
    }
    LaunchPoint* added = NewLaunchPoint();
    added->SetPoint(point);
    added->used = 0;
    launchPoints.Append(added);
    if (withSound) {
        PlayPointSound(true);
    }
}

Vector2 Arena::TakeRandomLaunchPoint() {
    int unused = 0;
    for (const LaunchPoint* point : launchPoints) {
        unused += point->used ? 0 : 1;
    }
    if (unused == 0) {
        // A squad launched in or beside lava or water would stand in it: the spot is drawn
        // again.
        Vector3 spot = RandomPoint();
        for (int tries = 1; tries < kDrySpotTries && HazardsWithin(spot.x, spot.y, kLaunchClearance) != 0; ++tries) {
            spot = RandomPoint();
        }
        return {spot.x, spot.y};
    }
    int index = int((int64_t(sys::Rand()) * (unused - 1) + 16383) / sys::kRandMax);
    for (LaunchPoint* point : launchPoints) {
        if (point->used) {
            continue;
        }
        if (index-- == 0) {
            point->used = 1;
            return point->position;
        }
    }
    return launchPoints[0]->position;
}

void Arena::FreeLaunchPointAt(const Vector2& point) {
    for (LaunchPoint* launch : launchPoints) {
        if (launch->used && std::fabs(launch->position.x - point.x) <= kLaunchPointMatch &&
            std::fabs(launch->position.y - point.y) <= kLaunchPointMatch) {
            launch->used = 0;
            return;
        }
    }
}

void Arena::ClearLaunchPoints() {
    for (LaunchPoint* point : launchPoints) {
        FreeLaunchPoint(point);
    }
    launchPoints.Clear();
}

// Fly-by points.

void Arena::ToggleFlyByPoint(const Vector3& point, bool withSound) {
    for (int i = 0; i < flyByPoints.Count(); ++i) {
        FlyByPoint* near = flyByPoints[i];
        if (PlaneDistance(near->position.x, near->position.y, point.x, point.y) < kToggleDistance) {
            FreeFlyByPoint(near);
            flyByPoints.RemoveAt(i);
            if (withSound) {
                PlayPointSound(false);
            }
            return;
        }
    }
    FlyByPoint* added = NewFlyByPoint();
    added->position = GroundPoint(point.x, point.y);
    flyByPoints.Append(added);
    if (withSound) {
        PlayPointSound(true);
    }
}

void Arena::ClearFlyByPoints() {
    for (FlyByPoint* point : flyByPoints) {
        FreeFlyByPoint(point);
    }
    flyByPoints.Clear();
}

int Arena::FindFlyByPointIndex(const FlyByPoint* point) const {
    for (int i = 0; i < flyByPoints.Count(); ++i) {
        if (flyByPoints[i] == point) {
            return i;
        }
    }
    return -1;
}

void Arena::BuildFlyByPath(int i) {
    const int n = flyByPoints.Count();
    if (n == 0) {
        flyByPathLength = 0.0f;
        return;
    }
    flyByPath[0] = flyByPoints[WrapIndex(i - 1, n)]->position;
    flyByPath[1] = NearestImage(flyByPath[0], flyByPoints[WrapIndex(i, n)]->position);
    flyByPath[2] = NearestImage(flyByPath[1], flyByPoints[WrapIndex(i + 1, n)]->position);
    flyByPath[3] = NearestImage(flyByPath[2], flyByPoints[WrapIndex(i + 2, n)]->position);
    float length = 0.0f;
    Vector3 previous = FlyByPathPoint(0.0f);
    for (int step = 1; step <= kFlyByLengthSteps; ++step) {
        const Vector3 next = FlyByPathPoint(float(step) / float(kFlyByLengthSteps));
        length += (next - previous).Length();
        previous = next;
    }
    flyByPathLength = length;
}

void Arena::StartFlyBy() { BuildFlyByPath(0); }

void Arena::StartFlyByIfAny() {
    if (flyByPoints.Count() > 0) {
        StartFlyBy();
    }
}

Vector3 Arena::FlyByPathPoint(float t) const {
    return CatmullRom(flyByPath[0], flyByPath[1], flyByPath[2], flyByPath[3], t);
}

Vector3 Arena::GetFlyByPoint(float& time, int& index) {
    const int n = flyByPoints.Count();
    if (n == 0) {
        return GroundPoint(0.5f * WorldWidth(), 0.5f * WorldHeight());
    }
    if (n == 1) {
        return flyByPoints[0]->position;
    }
    const Game* game = CurrentGame();
    time += game != nullptr ? game->frameTime : 0.0f;
    index = WrapIndex(index, n);
    bool anySegment = false;
    // Each pass either answers or moves to the next segment; n moves go once round the
    // loop, which bounds the work even when every segment is degenerate.
    for (int advances = 0;; ++advances) {
        const bool degenerate = !(flyByPathLength >= kMinFlyBySegment);
        const float duration = flyByPathLength / kFlyBySpeed;
        anySegment = anySegment || !degenerate;
        if (!degenerate && time <= duration) {
            return FlyByPathPoint(time / duration);
        }
        if (advances == n) {
            break;
        }
        if (!degenerate) {
            time -= duration;
        }
        index = (index + 1) % n;
        BuildFlyByPath(index);
    }
    if (!anySegment) {
        time = 0.0f;
        index = 0;
        BuildFlyByPath(0);
        return flyByPoints[0]->position;
    }
    // A frame longer than the whole loop: the camera waits at the start of this segment.
    time = 0.0f;
    return flyByPath[1];
}
