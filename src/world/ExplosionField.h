#pragma once
// The blast of every explosion: all of its damage happens when it starts, then it stays
// as long as its smoke and sparks are visible.
#include "world/Field.h"
#include "world/SmokeSystem.h"
#include "world/SparkSystem.h"

class Player;

class ExplosionField : public Field {
public:
    static constexpr int kSparkCount = 3;

    ExplosionField();

    // Places the blast, starts its smoke and sparks and, when damage > 0, deals the
    // arena's blast damage once (full within the inner radius, falling off to the outer).
    // damageKind: 0 projectile blast, 2 flame, 3 meteor.
    void Start(Player* blastOwner, const Vector3& centre, float blastDamage, float radius, float innerRadius,
               const Vector3& blastDirection, int damageKind);

    void Reset() override;
    bool IsPatternTarget() const override { return false; }
    void Draw(const Vector3& point) override;
    void Update(bool paused) override;

    Player* owner = nullptr;  // credited with the blast; none for meteors
    Vector3 direction;        // orients the smoke and sparks
    float damage = 0.0f;      // at the centre
    SmokeSystem smoke;
    SparkSystem sparks[kSparkCount];
};
