#pragma once
// A flying part of a destroyed unit's model: it tumbles, bounces without losing speed,
// clanks, and after two seconds ends in a harmless puff of explosion.
#include "core/Matrix4.h"
#include "core/Quaternion.h"
#include "world/WorldObject.h"

class Player;

class Debris : public WorldObject {
public:
    static constexpr float kLife = 2.0f;

    Debris();

    // Takes the part as its model (the part's local matrix becomes the identity), its
    // scale, rotation and centre from the part's world matrix, and flies away from the
    // source point at 5 to 10 units a second within 45 degrees of straight out. The
    // spawner skips parts whose scale or bounding radius is at most the tolerance.
    void Start(Player* partOwner, ModelNode* part, const Matrix4& partMatrix, const Vector3& sourcePoint, float budget);

    void Reset() override;
    bool IsPatternTarget() const override { return false; }
    void Draw(const Vector3& point) override;
    void Update(bool paused) override;
    void PlaceAt(const Vector3& point) override;
    const Matrix4& BuildWorldMatrix() override;
    // flag != 0: ends in a harmless explosion owned by the local player.
    void Remove(int flag) override;
    void OnPlaced() override;

    // The world matrix of the part drawn at the point.
    Matrix4 PartMatrix(const Vector3& point) const;

    float life = kLife;  // seconds of frame time left
    Quaternion orientation;
    float partScale = 1.0f;
    Player* owner = nullptr;  // whose colours the part shows; not owned
    int32_t punchSound = -1;

private:
    // The part's own bounding radius, unscaled; 0 without a part.
    float ModelRadius() const;
    // Rolls the part about the horizontal axis across its travel.
    void Tumble(float dt);
    void Fly(float dt);
    void PlayPunch(float volume);
};
