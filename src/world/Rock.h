#pragma once
// A rock: a solid upright cylinder in one of six looks that blocks units and shots and
// cannot be damaged. Rocks and trees share their drawing and their scenario text form,
// which live here.
#include "world/WorldObject.h"

class Rock : public WorldObject {
public:
    static constexpr float kHeight = 2.6f;
    static constexpr float kCylinderRadius = 2.0f;
    static constexpr int kVariantCount = 6;
    // A team number that asks for a variant drawn at random.
    static constexpr int kRandomVariant = 6;

    Rock();

    void Reset() override;
    bool IsPatternTarget() const override { return true; }
    void Draw(const Vector3& point) override;
    void Update(bool paused) override;
    void PlaceAt(const Vector3& point) override;
    void FaceDirection(const Vector3& point) override;
    // Chooses the look; 6 draws one at random.
    void SetTeam(int value) override;
    void TakeDamage(Player* attacker, const Vector3& hitPoint, float amount, int flag) override;
    float GetRadius() const override { return 3.0f; }
    bool Load(Stream& stream) override;
    void Save(Stream& stream) override;
    bool IsSaved() const override { return true; }
    void OnPlaced() override;

    void SetShape(float radius);

    // Shared with trees. A variant from a file or a peer outside 0..6 counts as 6 (with a
    // console line); 6 becomes a random variant 0..5.
    static int ChooseVariant(int value);
    // The object's model, lit by its two colours, turned, scaled and at the point.
    static void DrawLitModel(WorldObject& object, const Vector3& point);
    static void SaveText(WorldObject& object, Stream& stream);
    // withSubType: "SubType" chooses the look; otherwise it is skipped like any word.
    static bool LoadText(WorldObject& object, Stream& stream, bool withSubType = true);
};
