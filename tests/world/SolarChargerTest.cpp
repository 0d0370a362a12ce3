// Solar chargers heal the units near them, smoke when hit and explode a moment after a
// fatal hit, crediting the attacker.
#include "core/MathUtil.h"
#include "core/StringStream.h"
#include "support/VornTestWorld.h"
#include "world/ExplosionField.h"
#include "world/FirePuff.h"
#include "world/SolarCharger.h"

namespace {

class SolarChargerTest : public VornTestWorld {
protected:
    SolarCharger* ChargerAt(float x, float y) {
        SolarCharger* charger = arena->NewSolarCharger();
        arena->AddObject(charger);
        charger->PlaceAt(Vector3(x, y, 0));
        return charger;
    }

    Vorn* HurtUnitAt(float x, float y) {
        Vorn* unit = AddUnit(&red, kRobotMedium, x, y, 0.0f);
        unit->SetHealth(unit->maxHealth - 20.0f);
        return unit;
    }

    template <typename T>
    T* FirstOfKind(int kind) const {
        for (WorldObject* object : arena->Objects()) {
            if (object->kind == kind) return static_cast<T*>(object);
        }
        return nullptr;
    }
};

TEST_F(SolarChargerTest, UnitsWithinTenUnitsGainFiveHealthASecond) {
    SolarCharger* charger = ChargerAt(50, 50);
    Vorn* near = HurtUnitAt(59.9f, 50);
    Vorn* far = HurtUnitAt(50, 60.0f);
    const float nearStart = near->health;
    const float farStart = far->health;
    for (int i = 0; i < 10; ++i) Step(0.1f);
    EXPECT_NEAR(near->health, nearStart + 5.0f, 1e-3f);
    EXPECT_EQ(far->health, farStart);
    ASSERT_EQ(charger->targets.Count(), 1);
    EXPECT_EQ(charger->targets[0], near->position);
    EXPECT_FLOAT_EQ(charger->targetRadii[0], near->shape.Radius());

    // A second charger (across the arena's edge from the unit) doubles the rate, and
    // nobody is healed past the maximum.
    Vorn* edge = HurtUnitAt(kW - 4.0f, 100);
    ChargerAt(5.0f, 100);
    ChargerAt(kW - 9.0f, 100);
    const float edgeStart = edge->health;
    for (int i = 0; i < 10; ++i) Step(0.1f);
    EXPECT_NEAR(edge->health, edgeStart + 10.0f, 1e-3f);
    for (int i = 0; i < 40; ++i) Step(0.1f);
    EXPECT_EQ(near->health, near->maxHealth);
}

TEST_F(SolarChargerTest, DamageMakesItSmoke) {
    SolarCharger* charger = ChargerAt(50, 50);
    charger->TakeDamage(&blue, charger->position, 1.0f, 0);
    EXPECT_EQ(charger->smokes.Count(), 0);
    charger->TakeDamage(&blue, charger->position, 1.0f, 0);
    EXPECT_EQ(charger->health, 8.0f);
    ASSERT_EQ(charger->smokes.Count(), 1);
    EXPECT_EQ(charger->smokes.At(0)->style, FirePuff::kStyleSmoke);
    EXPECT_NEAR(charger->smokes.At(0)->shape.Radius(), 0.4f, 1e-5f);
}

TEST_F(SolarChargerTest, AFatalHitExplodesAMomentLaterForTheAttacker) {
    SolarCharger* charger = ChargerAt(50, 50);
    charger->TakeDamage(&blue, charger->position, 10.0f, 0);
    charger->TakeDamage(nullptr, charger->position, 99.0f, 0);
    EXPECT_EQ(charger->health, 10.0f);
    EXPECT_FLOAT_EQ(charger->deathTimer, 0.3f);
    EXPECT_EQ(charger->pendingDamage, 10.0f);
    EXPECT_EQ(charger->pendingAttacker, &blue);

    Step(0.2f);
    EXPECT_EQ(arena->CountObjectsOfKind(kKindSolarCharger), 1);
    EXPECT_EQ(game.blasts, 0);
    Step(0.2f);
    EXPECT_EQ(arena->CountObjectsOfKind(kKindSolarCharger), 0);
    EXPECT_EQ(game.blasts, 1);
    auto* blast = FirstOfKind<ExplosionField>(kKindExplosionField);
    ASSERT_NE(blast, nullptr);
    EXPECT_EQ(blast->owner, &blue);
    EXPECT_EQ(blast->damage, 50.0f);
    EXPECT_EQ(arena->CountObjectsOfKind(kKindScorchMark), 1);
    // Ten smokes that burn out by themselves.
    EXPECT_EQ(arena->CountObjectsOfKind(kKindFirePuff), 10);
    auto* smoke = FirstOfKind<FirePuff>(kKindFirePuff);
    EXPECT_TRUE(smoke->ending);
}

TEST_F(SolarChargerTest, AClientLeavesTheExplosionToTheServer) {
    game.client = true;
    SolarCharger* charger = ChargerAt(50, 50);
    Vorn* unit = HurtUnitAt(55, 50);
    const float start = unit->health;
    charger->TakeDamage(&blue, charger->position, 20.0f, 0);
    for (int i = 0; i < 4; ++i) Step(0.1f);
    EXPECT_EQ(arena->CountObjectsOfKind(kKindSolarCharger), 1);
    EXPECT_EQ(game.blasts, 0);
    EXPECT_EQ(unit->health, start);
    // Rings are drawn on every peer.
    EXPECT_EQ(charger->targets.Count(), 1);
}

TEST_F(SolarChargerTest, TextFormReadsBack) {
    SolarCharger* charger = ChargerAt(30, 40);
    charger->heading = 0.75f;
    charger->SetHealth(6.5f);
    StringStream out;
    charger->Save(out);
    EXPECT_EQ(std::string(out.Text()).rfind("Type SolarCharger\n\tID ", 0), 0u);
    SolarCharger* copy = arena->NewSolarCharger();
    StringStream in(out.Text());
    copy->Load(in);
    EXPECT_EQ(copy->position, charger->position);
    EXPECT_FLOAT_EQ(copy->heading, 0.75f);
    EXPECT_FLOAT_EQ(copy->health, 6.5f);
    EXPECT_EQ(copy->loadedId, charger->id);
    EXPECT_EQ(copy->chargingBounds, charger->chargingBounds);
}

}  // namespace
