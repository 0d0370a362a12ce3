#pragma once
// The canister thrown by the field generator weapons (kinds 7 static, 8 goo, 9 health):
// it flies straight to 8 above the aimed spot at 20 units a second, opens its field
// there, hovers while the field lasts with a coloured wedge sweeping round beneath it,
// and at the end of the owner's weapon duration removes itself and its field.
#include <cstdint>

#include "core/Matrix4.h"
#include "world/Arena.h"
#include "world/WorldObject.h"

class DynamicMesh;
class Player;

class FieldGenerator : public WorldObject, public RemovalListener {
public:
    static constexpr float kSpeed = 20.0f;  // units per second in flight
    static constexpr float kHover = 8.0f;   // above the ground at the landing point
    static constexpr float kRadius = 0.5f;
    static constexpr float kHealth = 10.0f;
    static constexpr int32_t kStateFlying = 0;
    static constexpr int32_t kStateLanded = 1;

    FieldGenerator();
    ~FieldGenerator() override;

    // The model of the kind; any other kind keeps none.
    void SetWeaponKind(int32_t value);
    // The flight time from the launch point to the landing point.
    float ThrowDistance() const;
    // Opens the field of the weapon kind at the landing point, adds it to the arena and
    // remembers it; a kind other than 7, 8 and 9 opens nothing.
    void OpenField();
    // Upright along the line from the landing point's ground spot to the position,
    // turned by the angle about that line, at the position.
    Matrix4 OrientationAt(const Vector3& point, float angle) const;

    void Reset() override;
    bool IsPatternTarget() const override { return false; }
    void Draw(const Vector3& point) override;
    void Update(bool paused) override;
    void PlaceAt(const Vector3& point) override;
    const Matrix4& BuildWorldMatrix() override;
    void TakeDamage(Player*, const Vector3&, float, int) override {}
    // The field goes with the generator.
    void Remove(int flag) override;
    void OnPlaced() override;
    // Forgets its field when the field leaves the world by another way.
    void OnObjectRemoved(WorldObject& object) override;

    float spinA = 0.0f;      // radians, the model's turn: 5 per second
    int32_t weaponKind = 0;  // 7 static, 8 goo, 9 health
    Vector3 landingPoint;    // 8 above the ground at the aimed spot
    Vector3 launchPoint;
    int32_t state = kStateFlying;
    float lifeTimer = 0.0f;        // seconds left once landed
    WorldObject* field = nullptr;  // the field it opened
    DynamicMesh* wedge = nullptr;  // one triangle, made at the first drawing after landing
    float spinB = 0.0f;            // radians, the wedge's sweep: 4 per second
    int32_t sound = -1;            // "LaunchField.ogg"
    Player* owner = nullptr;       // the throwing unit's player; not owned

private:
    void Fly(float budget);
    void ForgetField();
    void DrawWedge(const Vector3& point);
};
