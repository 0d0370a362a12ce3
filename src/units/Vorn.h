#pragma once
// The player-built combat unit: a world object with a chassis, an owning player, a name
// and the flags by which the arena and the scores count it.
#include <cstdint>

#include "core/String.h"
#include "world/WorldObject.h"

class Beacon;
class Player;

class Vorn : public WorldObject {
public:
    Vorn();

    void Reset() override;
    bool IsPatternTarget() const override { return true; }
    void Draw(const Vector3& point) override;
    // Spends the whole budget: the unit does nothing until its behaviour is built.
    void Update(bool paused) override;
    // Prepares the unit for battle.
    void SetDefaults() override { PrepareForBattle(); }
    bool IsSaved() const override { return true; }
    // Sets the heading (radians).
    virtual void SetAngle(float angle);

    void SetPlayer(Player* player);
    // Reads the named unit file into the unit; false when the file cannot be read.
    bool LoadFile(const String& fileName);
    // Readies the unit for battle: health from its chassis, actions and timers cleared.
    // The unit has neither until the chassis table and its behaviour are built.
    void PrepareForBattle();
    // Builds the body of the chassis row; there is no body to build without models.
    void BuildBody(int32_t chassis);
    // Sizes the pattern slots to what the local player may use on this chassis; the unit
    // has no pattern slots yet.
    void ApplyPatternSlots();
    // Puts a weapon kind (or none, -1) in weapon place 0 or 1.
    void SetWeaponKind(int32_t place, int32_t weaponKind);

    int32_t chassisType = -1;    // row of the chassis table; -1 none
    uint8_t squadMember = 0;     // placed as a member of a squad
    uint8_t edited = 0;          // changed since it was last saved
    uint8_t vip = 0;             // counts as a VIP of its player
    uint8_t doneThisTick = 0;    // set when the arena visits the unit again in the same pass
    String name;
    Player* owner = nullptr;     // not owned
    Beacon* beacon = nullptr;    // the last beacon this unit set
    int32_t weaponKinds[2] = {0, 0};
};
