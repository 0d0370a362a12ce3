#pragma once
// What one step of a scene asks of one actor: where it moves, turns and grows, what it
// animates and what it does. Every optional value carries its own "given" flag.
#include <cstdint>
#include <string>

#include "core/Vector3.h"

enum class ActorMood : int32_t { Mean = 0, Happy = 1, Sad = 2 };

class ActorDirection {
public:
    void SetFromAxisAngle(const Vector3& axis, float degrees);
    void SetToAxisAngle(const Vector3& axis, float degrees);
    // "Mean", "Happy" or "Sad" (any case); another word still marks the mood as given,
    // without a value.
    void SetMood(const std::string& word);
    // A weapon kind name, any case; an unknown name gives kind 0.
    void SetWeapon(const std::string& word);
    void SetDebris(const Vector3& velocity);
    void SetAnimation(const std::string& name, const std::string& track);
    void SetAnimationLoop(const std::string& name, const std::string& track);

    std::string actorName;
    bool hasFrom = false;
    Vector3 from;
    bool hasTo = false;
    Vector3 to;
    bool hasShotVelocity = false;
    Vector3 shotVelocity;
    bool hasFallTo = false;
    Vector3 fallTo;
    bool hasSpeed = false;
    float speed = 1.0f;
    bool hasFromAxisAngle = false;
    Vector3 fromAxis;
    float fromAngle = 0.0f;
    bool hasToAxisAngle = false;
    Vector3 toAxis;
    float toAngle = 0.0f;
    bool hasTiltPosition = false;
    float tiltPosition[2] = {0.0f, 0.0f};
    bool hasFlipRate = false;
    float flipRate = 0.0f;
    bool hasFromScale = false;
    float fromScale = 1.0f;
    bool hasToScale = false;
    float toScale = 1.0f;
    bool hasAnimation = false;
    std::string animation;
    std::string animationTrack;
    bool hasAnimationLoop = false;
    std::string animationLoop;
    std::string animationLoopTrack;
    bool hasMood = false;
    bool moodValueGiven = false;
    ActorMood mood = ActorMood::Mean;
    bool hasWeapon = false;
    int32_t weapon = 0;
    // Sparkle size and height, in multiples of the actor's look height.
    bool hasTeleportIn = false;
    float teleportIn[2] = {0.0f, 0.0f};
    bool hasTeleportOut = false;
    float teleportOut[2] = {0.0f, 0.0f};
    bool hasDebris = false;
    Vector3 debris;
    bool noSpin = false;
    bool permanent = false;
    bool full = false;
};
