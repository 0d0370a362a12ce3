#pragma once
// A puff of smoke left behind by missiles: six billboards that rise and fade within 1.1
// seconds. Smoke is local to each peer (no message makes or removes it), so a spent puff
// removes itself on network clients too.
#include "world/SmokeSystem.h"
#include "world/WorldObject.h"

class SmokePuff : public WorldObject {
public:
    SmokePuff();

    void Start(const Vector3& point, float size);

    void Reset() override;
    bool IsPatternTarget() const override { return false; }
    void Draw(const Vector3& point) override;
    void Update(bool paused) override;
    void SetHealth(float) override {}

    SmokeSystem smoke;
};
