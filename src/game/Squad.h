#pragma once
// A squad: units that enter a battle together, with their positions relative to the
// squad's centre. The squad does not own its units: they come from the arena's unit pool.
#include <cstdint>
#include <span>

#include "core/Array.h"
#include "core/String.h"

class Stream;
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
    // Forgets the members without returning them to the pool: for a squad that never
    // owned them, or whose members have gone to the battlefield.
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
    // clear of every member but the ignored one, allowing the hair a squad file's digits
    // take off either.
    bool CanPlace(const Vector3& position, float radius, const Vorn* ignored) const;
    // The place nearest the wanted one where a unit of that radius fits (CanPlace, with a
    // little room to spare); false when none is left in the area.
    bool FindFreePlace(const Vector3& wanted, float radius, const Vorn* ignored, Vector3& place) const;
    // A unit pressed against a member or past the area's edge moves to the nearest free
    // place; false, the unit left where it was, when there is none. The unit need not be
    // a member: a member is kept clear of the others only. The place is judged, and
    // taken, as a squad file's digits hold it, so that a file reads back as it was formed.
    bool Fit(Vorn& unit) const;
    // "No place was found in the squad's circle for " (or the text of another key) and
    // the names, comma-separated, each once with its count when repeated ("Brawler (2)"),
    // and a full stop; empty for no names.
    static String LeftOutText(const StringArray& names, const char* textKey = "SquadMembersLeftOut");

    // The squad file body: the member list for the trays, then each unit's own text.
    Stream& Write(Stream& stream) const;
    // Replaces the members by those of a squad file body. A member pressed against an
    // earlier one or past the area's edge moves to the nearest free place; one for which
    // no place is left is named in `leftOut`. Units without a chassis, whose unit file is
    // gone, over the budget or read from a damaged body are left out.
    Stream& Read(Stream& stream);
    // A safe save of the squad file of that name; false for an unsafe name or a write
    // that did not reach the disk.
    bool Save(const String& name) const;
    // Reads the squad file of that name keeping within the budget (-1: none); false for
    // an unsafe name or a file that cannot be opened (the squad is then left empty).
    // Members left out for want of a place are logged with the file.
    bool Load(const String& name, int32_t budget);
    // Whether the squad file of that name holds just these units, each as its own text
    // has it, wherever it stands, whatever its id and whoever it was placed for; false
    // for a file that cannot be read whole.
    static bool FileHolds(const String& name, std::span<Vorn* const> units);

    int32_t totalCost = 0;
    Array<Vorn*> members;
    int32_t loadBudget = -1;
    // The members the last read found no place for.
    StringArray leftOut;

private:
    bool Accepts(Vorn& unit);
};
