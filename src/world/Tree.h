#pragma once
// A tree: a solid upright cylinder in one of six looks. Damage sets fires on it that grow
// in number as its health falls; at zero health it goes up in a last burst of fire.
#include <cstdint>

#include "core/Array.h"
#include "world/Arena.h"
#include "world/WorldObject.h"

class FirePuff;

// The fire or smoke puffs burning on a tree or a solar charger. The puffs are world
// objects of their own; the list drops a puff when the arena removes it, so that a pool
// slot handed out again is never moved or put out by its former holder.
class PuffList : public RemovalListener {
public:
    PuffList() = default;
    ~PuffList() override;
    PuffList(const PuffList&) = delete;
    PuffList& operator=(const PuffList&) = delete;

    int Count() const { return puffs_.Count(); }
    FirePuff* At(int i) const { return puffs_[i]; }
    void Add(FirePuff* puff);
    // Every puff moved by the displacement.
    void MoveBy(const Vector3& displacement);
    // Every puff's ground-plane offset from the centre turned by the angle.
    void Rotate(const Vector3& centre, float angle);
    // Every puff ends once its particles have finished their cycle.
    void BurnOut();
    // Lets go of the puffs without removing them.
    void Forget();
    void OnObjectRemoved(WorldObject& object) override;

private:
    Array<FirePuff*> puffs_;
    Arena* listening_ = nullptr;
};

class Tree : public WorldObject {
public:
    static constexpr float kHeight = 8.0f;
    static constexpr float kCylinderRadius = 2.6f;
    static constexpr float kHealth = 40.0f;
    // The model stands this far up from its origin.
    static constexpr float kModelLift = 4.0f;

    Tree();

    void Reset() override;
    bool IsPatternTarget() const override { return true; }
    void Draw(const Vector3& point) override;
    void Update(bool paused) override;
    void PlaceAt(const Vector3& point) override;
    void FaceDirection(const Vector3& point) override;
    void SetTeam(int value) override;
    // Every kind of damage burns.
    void TakeDamage(Player* attacker, const Vector3& hitPoint, float amount, int flag) override;
    // With explode, the last burst: ten fires that burn out by themselves.
    void Remove(int explode) override;
    float GetRadius() const override { return 3.9f; }
    bool Load(Stream& stream) override;
    void Save(Stream& stream) override;
    void SetDefaults() override;
    bool IsSaved() const override { return true; }
    void OnPlaced() override;

    void SetShape(float radius);
    // A fire of the size at a random point of the model's surface.
    void AddFire(float size);
    // Turns the fires about the tree (the editor turns a tree).
    void RotateFires(float angle);

    int32_t fireSound = -1;
    int32_t burstSound = -1;
    PuffList fires;
};
