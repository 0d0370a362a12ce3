// Debris flies from the blast, tumbles, bounces without losing speed and ends in a
// harmless puff.
#include <cmath>

#include "core/MathUtil.h"
#include "core/Quaternion.h"
#include "engine/ModelNode.h"
#include "engine/Renderer.h"
#include "game/Player.h"
#include "game/PlayerRoster.h"
#include "support/ArenaFixture.h"
#include "world/Debris.h"
#include "world/ExplosionField.h"

namespace {

class DebrisTest : public ArenaFixture {
protected:
    void SetUp() override {
        ArenaFixture::SetUp();
        game.frameTime = 0.1f;
        // A renderer node: a debris hands its part back to the renderer for reuse.
        part = GetRenderer().NewModelNode();
        part->bounds = Sphere(Vector3(), 0.5f);
        part->local = Matrix::RotationZ(1.0f);
    }

    // The part turned a quarter about the vertical, scaled by 2, centred at the point.
    static Matrix4 PartMatrix(const Vector3& centre) {
        Matrix4 m = Matrix::RotationZ(kPi / 2.0f);
        m.Scale(2.0f);
        m[12] = centre.x;
        m[13] = centre.y;
        m[14] = centre.z;
        return m;
    }

    Debris* Launch(const Vector3& centre, const Vector3& source) {
        auto* debris = static_cast<Debris*>(arena->NewObjectOfKind(kKindDebris));
        debris->Start(&owner, part, PartMatrix(centre), source, 0.1f);
        arena->AddObject(debris);
        return debris;
    }

    void Step(float frame) {
        game.frameTime = frame;
        arena->AdvanceObjectClocks();
        arena->Update();
        game.clock += frame;
    }

    ModelNode* part = nullptr;
    Player owner;
};

TEST_F(DebrisTest, TakesThePartsScaleRotationAndCentre) {
    Debris* debris = Launch(Vector3(50.0f, 50.0f, 10.0f), Vector3(50.0f, 50.0f, 10.0f));
    EXPECT_EQ(debris->model, part);
    EXPECT_EQ(part->local, Matrix4());
    EXPECT_FLOAT_EQ(debris->partScale, 2.0f);
    EXPECT_FLOAT_EQ(debris->shape.Radius(), 1.0f);
    EXPECT_EQ(debris->position, Vector3(50.0f, 50.0f, 10.0f));
    EXPECT_EQ(debris->owner, &owner);
    EXPECT_FLOAT_EQ(debris->life, Debris::kLife);
    const Quaternion quarter = Quaternion::FromAxisAngle(Vector3(0.0f, 0.0f, 1.0f), kPi / 2.0f);
    EXPECT_NEAR(std::fabs(debris->orientation.Dot(quarter)), 1.0f, 1e-5f);
    // From the source point itself it flies straight up, at 5 to 10 units a second.
    EXPECT_NEAR(debris->velocity.x, 0.0f, 1e-5f);
    EXPECT_NEAR(debris->velocity.y, 0.0f, 1e-5f);
    EXPECT_GE(debris->velocity.z, 5.0f);
    EXPECT_LE(debris->velocity.z, 10.0f);
    // The world matrix rebuilds the part's matrix.
    const Matrix4& world = debris->BuildWorldMatrix();
    const Matrix4 expected = PartMatrix(debris->position);
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(world[i], expected[i], 1e-5f);
}

TEST_F(DebrisTest, FliesAwayFromTheSourceWithinAQuarterTurn) {
    for (int i = 0; i < 20; ++i) {
        Debris* debris = Launch(Vector3(50.0f, 50.0f, 3.0f), Vector3(40.0f, 50.0f, 3.0f));
        const float speed = debris->velocity.Length();
        EXPECT_GE(speed, 5.0f);
        EXPECT_LE(speed, 10.0f);
        EXPECT_NEAR(debris->velocity.z, 0.0f, 1e-4f);
        EXPECT_GE(debris->velocity.x / speed, std::cos(kPi / 4.0f) - 1e-5f);
    }
    // Across the arena's edge it flies away from the source's near image.
    Debris* debris = Launch(Vector3(1.0f, 50.0f, 3.0f), Vector3(158.0f, 50.0f, 3.0f));
    EXPECT_GT(debris->velocity.x, 0.0f);
}

TEST_F(DebrisTest, FallsBouncesWithoutLosingSpeedAndTumbles) {
    Debris* debris = Launch(Vector3(50.0f, 50.0f, 1.2f), Vector3(50.0f, 50.0f, 1.2f));
    debris->SetVelocity(Vector3(4.0f, 0.0f, -3.0f));
    const Quaternion before = debris->orientation;
    Step(0.1f);
    // Gravity first (-3.98), then the ground at 1.0 (radius 1 on flat ground) turns it up.
    EXPECT_NEAR(debris->velocity.z, 3.98f, 1e-4f);
    EXPECT_FLOAT_EQ(debris->velocity.x, 4.0f);
    EXPECT_NEAR(debris->position.z, 1.0f, 1e-4f);
    EXPECT_NEAR(debris->position.x, 50.4f, 1e-4f);
    // Rolled about the axis across its travel by |v| dt / the part's own radius.
    const float angle = Vector3(4.0f, 0.0f, -3.0f).Length() * 0.1f / 0.5f;
    const Quaternion rolled = Quaternion::Multiply(Quaternion::FromAxisAngle(Vector3(0.0f, 4.0f, 0.0f), angle), before);
    EXPECT_NEAR(std::fabs(debris->orientation.Dot(rolled)), 1.0f, 1e-5f);
    Step(0.1f);
    EXPECT_NEAR(debris->velocity.z, 3.0f, 1e-4f);
    EXPECT_GT(debris->position.z, 1.0f);
}

TEST_F(DebrisTest, APartWithoutSizeDoesNotTumble) {
    part->bounds = Sphere(Vector3(), 0.0f);
    Debris* debris = Launch(Vector3(50.0f, 50.0f, 5.0f), Vector3(50.0f, 50.0f, 5.0f));
    debris->SetVelocity(Vector3(4.0f, 0.0f, 0.0f));
    const Quaternion before = debris->orientation;
    Step(0.1f);
    EXPECT_EQ(debris->orientation, before);
    EXPECT_TRUE(std::isfinite(debris->position.z));
}

TEST_F(DebrisTest, EndsAfterTwoSecondsInAHarmlessPuff) {
    Probe* rock = AddProbe(60.0f, 60.0f, 1.0f, kKindRock);
    Debris* debris = Launch(Vector3(60.0f, 58.5f, 1.0f), Vector3(60.0f, 58.5f, 1.0f));
    for (int i = 0; i < 19; ++i) Step(0.1f);
    EXPECT_GE(arena->FindObjectIndex(debris), 0);
    EXPECT_EQ(arena->CountObjectsOfKind(kKindExplosionField), 0);
    Step(0.1f);
    Step(0.1f);
    EXPECT_LT(arena->FindObjectIndex(debris), 0);
    ASSERT_EQ(arena->CountObjectsOfKind(kKindExplosionField), 1);
    ExplosionField* puff = nullptr;
    for (WorldObject* object : arena->Objects()) {
        if (object->kind == kKindExplosionField) puff = static_cast<ExplosionField*>(object);
    }
    ASSERT_NE(puff, nullptr);
    EXPECT_FLOAT_EQ(puff->damage, 0.0f);
    EXPECT_EQ(puff->owner, &GetLocalPlayer());
    EXPECT_FLOAT_EQ(puff->shape.Radius(), 1.0f);
    EXPECT_FLOAT_EQ(rock->health, 10.0f);
}

TEST_F(DebrisTest, PausedDebrisTumblesButNeitherFliesNorAges) {
    Debris* debris = Launch(Vector3(50.0f, 50.0f, 5.0f), Vector3(50.0f, 50.0f, 5.0f));
    debris->SetVelocity(Vector3(4.0f, 0.0f, 0.0f));
    const Vector3 at = debris->position;
    const Quaternion before = debris->orientation;
    debris->Update(true);
    EXPECT_EQ(debris->position, at);
    EXPECT_FLOAT_EQ(debris->life, Debris::kLife);
    EXPECT_NE(debris->orientation, before);
}

}  // namespace
