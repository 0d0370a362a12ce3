#include "game/Squad.h"

#include <cfloat>
#include <cmath>
#include <string_view>

#include "core/FileStream.h"
#include "core/Stream.h"
#include "core/String.h"
#include "game/SquadSummary.h"
#include "platform/sys/Paths.h"
#include "units/Vorn.h"
#include "world/Arena.h"
#include "world/SaveFilePaths.h"

namespace {

constexpr float kSpacing = 0.01f;

std::string_view View(const String& s) { return {s.CStr(), static_cast<size_t>(s.CharCount())}; }

float GroundDistance(const Vector3& a, const Vector3& b) {
    const float dx = a.x - b.x;
    const float dy = a.y - b.y;
    return std::sqrt(dx * dx + dy * dy);
}

void ReturnToPool(Vorn* unit) {
    if (gArena == nullptr) return;
    gArena->DestroyObject(unit, false);
}

}  // namespace

void Squad::Add(Vorn* unit) {
    members.Append(unit);
    totalCost += unit->cost;
}

void Squad::Remove(Vorn* unit) {
    for (int i = 0; i < members.Count(); ++i) {
        if (members[i] != unit) continue;
        for (int j = i + 1; j < members.Count(); ++j) members[j - 1] = members[j];
        members.SetSize(members.Count() - 1);
        totalCost -= unit->cost;
        ReturnToPool(unit);
        if (gArena != nullptr) gArena->FlushObjectPools();
        return;
    }
}

void Squad::Clear() {
    members.Clear();
    totalCost = 0;
}

void Squad::DestroyMembers() {
    for (Vorn* unit : members) ReturnToPool(unit);
    if (gArena != nullptr && !members.IsEmpty()) gArena->FlushObjectPools();
    Clear();
}

Vorn* Squad::MemberAt(const Vector3& point) const {
    for (Vorn* unit : members) {
        if (unit->GetRadius() >= GroundDistance(unit->position, point)) return unit;
    }
    return nullptr;
}

Vorn* Squad::NearestMember(const Vector3& point, const char* memberName) const {
    const bool anyName = memberName == nullptr || memberName[0] == '\0';
    Vorn* nearest = nullptr;
    float best = FLT_MAX;
    for (Vorn* unit : members) {
        if (!anyName && !unit->name.EqualsNoCase(memberName)) continue;
        const float distance = (unit->position - point).LengthSquared();
        if (distance < best || nearest == nullptr) {
            best = distance;
            nearest = unit;
        }
    }
    return nearest;
}

bool Squad::CanPlace(const Vector3& position, float radius, const Vorn* ignored) const {
    // A member formed onto the disc's edge reads back from its file (six digits) a hair
    // outside it.
    constexpr float kWrittenDigits = 0.0005f;
    if (GroundDistance(position, Vector3(0.0f, 0.0f, 0.0f)) > kAreaRadius + kWrittenDigits) return false;
    for (const Vorn* unit : members) {
        if (unit == ignored) continue;
        if (GroundDistance(position, unit->position) < unit->GetRadius() + radius + kSpacing) return false;
    }
    return true;
}

Stream& Squad::Write(Stream& stream) const {
    stream << "Count " << members.Count() << Endl;
    stream << "IconData" << Endl;
    for (Vorn* unit : members) {
        stream << "Name " << unit->name << Endl;
        stream << "Position ";
        unit->position.WriteText(stream);
        stream << Endl;
        stream << "Type " << unit->chassisType << Endl;
        stream << "Cost " << unit->cost << Endl;
    }
    stream << "VornData" << Endl;
    for (Vorn* unit : members) {
        unit->Save(stream);
        stream << Endl;
    }
    return stream;
}

bool Squad::Accepts(const Vorn& unit) {
    if (unit.chassisType == -1) return false;
    if (!CanPlace(unit.position, unit.GetRadius(), nullptr)) return false;
    if (loadBudget < 0) return true;
    if (loadBudget < unit.cost) return false;
    loadBudget -= unit.cost;
    return true;
}

Stream& Squad::Read(Stream& stream) {
    DestroyMembers();
    if (gArena == nullptr) return stream;
    SquadSummary header;
    const int32_t count = header.Read(stream);
    String label;
    String::ReadToken(stream, label);
    for (int32_t i = 0; i < count && !stream.HasError(); ++i) {
        Vorn* unit = gArena->NewVorn(0);
        // A body cut short, or whose unit file is gone, is not kept half-read.
        const bool whole = unit->Load(stream);
        if (!whole || stream.HasError() || !Accepts(*unit)) {
            gArena->DestroyObject(unit, false);
            gArena->FlushObjectPools();
            continue;
        }
        Add(unit);
    }
    return stream;
}

bool Squad::Save(const String& name) const {
    if (!sys::IsSafeName(View(name))) {
        return false;
    }
    const String path = SquadFilePath(name);
    FileStream file(View(path), "w");
    if (!file.IsOpen()) {
        return false;
    }
    Write(file);
    return file.Commit();
}

bool Squad::Load(const String& name, int32_t budget) {
    if (!sys::IsSafeName(View(name))) {
        DestroyMembers();
        return false;
    }
    const String path = SquadFilePath(name);
    FileStream file(View(path), "r");
    if (!file.IsOpen()) {
        DestroyMembers();
        return false;
    }
    loadBudget = budget;
    Read(file);
    loadBudget = -1;
    return true;
}
