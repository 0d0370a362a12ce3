// One actor's part in one step.
#include "scenes/ActorDirection.h"

#include <strings.h>

#include "units/WeaponTable.h"

void ActorDirection::SetFromAxisAngle(const Vector3& axis, float degrees) {
    hasFromAxisAngle = true;
    fromAxis = axis;
    fromAngle = degrees;
}

void ActorDirection::SetToAxisAngle(const Vector3& axis, float degrees) {
    hasToAxisAngle = true;
    toAxis = axis;
    toAngle = degrees;
}

void ActorDirection::SetMood(const std::string& word) {
    static const char* const kMoods[] = {"Mean", "Happy", "Sad"};
    hasMood = true;
    for (int32_t i = 0; i < 3; ++i) {
        if (strcasecmp(word.c_str(), kMoods[i]) == 0) {
            mood = static_cast<ActorMood>(i);
            moodValueGiven = true;
            return;
        }
    }
}

void ActorDirection::SetWeapon(const std::string& word) {
    hasWeapon = true;
    weapon = 0;
    for (int32_t kind = 0; kind < kWeaponKindCount; ++kind) {
        if (strcasecmp(word.c_str(), WeaponKindName(kind)) == 0) {
            weapon = kind;
            return;
        }
    }
}

void ActorDirection::SetDebris(const Vector3& velocity) {
    hasDebris = true;
    debris = velocity;
}

void ActorDirection::SetAnimation(const std::string& name, const std::string& track) {
    hasAnimation = true;
    animation = name;
    animationTrack = track;
}

void ActorDirection::SetAnimationLoop(const std::string& name, const std::string& track) {
    hasAnimationLoop = true;
    animationLoop = name;
    animationLoopTrack = track;
}
