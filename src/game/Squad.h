#pragma once
// A squad: units that enter a battle together, with their positions relative to the
// squad's centre. The squad does not own its units: they come from the arena's unit pool.
#include <cstdint>

#include "core/Array.h"

class Stream;
class String;
struct Vector3;
class Vorn;

class Squad {
public:
    // Units a squad file may hold; more would come only from a damaged or hostile file.
    static constexpr int32_t kMaxMembers = 256;
    // Members stand within this distance of the centre on the ground.
    static constexpr float kAreaRadius = 20.0f;

    void Add(Vorn* unit);
    // Takes a member out and returns it to the arena's pool; a unit that is not a
    // member is left alone.
    void Remove(Vorn* unit);
    // Forgets the members without returning them to the pool (they live elsewhere).
    void Clear();
    // Every member back to the arena's pool.
    void DestroyMembers();
    int32_t Count() const { return members.Count(); }

    // The first member whose radius reaches the point on the ground, or none.
    Vorn* MemberAt(const Vector3& point) const;
    // The nearest member, among those of that name (without regard to case) when the
    // name is not empty; the earlier of two as near.
    Vorn* NearestMember(const Vector3& point, const char* memberName) const;
    // Whether a unit of that radius fits at the position: inside the squad area and
    // clear of every member but the ignored one.
    bool CanPlace(const Vector3& position, float radius, const Vorn* ignored) const;

    // The squad file body: the member list for the trays, then each unit's own text.
    Stream& Write(Stream& stream) const;
    // Replaces the members by those of a squad file body. Units without a chassis,
    // whose unit file is gone, outside the area, overlapping, over the budget or read
    // from a damaged body are left out.
    Stream& Read(Stream& stream);
    // A safe save of the squad file of that name; false for an unsafe name or a write
    // that did not reach the disk.
    bool Save(const String& name) const;
    // Reads the squad file of that name keeping within the budget (-1: none); false for
    // an unsafe name or a file that cannot be opened (the squad is then left empty).
    bool Load(const String& name, int32_t budget);

    int32_t totalCost = 0;
    Array<Vorn*> members;
    int32_t loadBudget = -1;

private:
    bool Accepts(const Vorn& unit);
};
