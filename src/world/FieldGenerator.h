#pragma once
// A launched generator that raises a field where it lands.
#include "world/WorldObject.h"

class Player;

class FieldGenerator : public WorldObject {
public:
    FieldGenerator();

    void Reset() override;
    bool IsPatternTarget() const override { return false; }
    void Draw(const Vector3& point) override;
    void Update(bool paused) override;

    int32_t weaponKind = 0;     // 7 static, 8 goo, 9 health
    Vector3 landingPoint;       // 8 above the ground at the aimed spot
    Vector3 launchPoint;
    int32_t state = 0;          // 0 flying, 1 landed
    float lifeTimer = 0.0f;     // seconds left once landed
    WorldObject* field = nullptr;  // the field it opened
    Player* owner = nullptr;    // the throwing unit's player; not owned
};
