#pragma once
// A field of static opened by a field generator: units standing in it are marked for
// their behaviour code, and sparks run outward from the centre.
#include "world/Field.h"

class StaticField : public Field {
public:
    static constexpr int kSparkCount = 100;

    struct Spark {
        float clock = 0.0f;  // seconds; negative while waiting, 0..1 while running outward
        Vector3 direction;   // unit, in the ground plane
        float angle = 0.0f;  // a new random turn every frame while it runs
        bool visible = false;
        Vector3 position;
        float size = 0.0f;
    };

    StaticField();

    void Start(const Vector3& centre, float radius);

    void Reset() override;
    bool IsPatternTarget() const override { return true; }
    void Draw(const Vector3& point) override;
    void Update(bool paused) override;
    // Running sparks move with the centre.
    void PlaceAt(const Vector3& point) override;

    Spark sparks[kSparkCount];

private:
    void StepSpark(Spark& spark, float dt);
    void PlaceSpark(Spark& spark) const;
};
