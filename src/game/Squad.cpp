#include "game/Squad.h"

#include <cfloat>
#include <algorithm>
#include <cmath>
#include <string>
#include <string_view>
#include <vector>

#include "core/Debugger.h"
#include "core/FileStream.h"
#include "core/Stream.h"
#include "core/String.h"
#include "core/StringStream.h"
#include "core/TextTable.h"
#include "core/Vector2.h"
#include "core/Vector3.h"
#include "game/SquadSummary.h"
#include "platform/sys/Paths.h"
#include "units/Vorn.h"
#include "world/Arena.h"
#include "world/FreeGround.h"
#include "world/SaveFilePaths.h"

namespace {

constexpr float kSpacing = 0.01f;
// Room kept beyond the spacing rule and inside the edge when a unit is moved to a free
// place, so that the six digits its file keeps of the place do not press it again.
constexpr float kFitRoom = 0.001f;

std::string_view View(const String& s) { return {s.CStr(), static_cast<size_t>(s.CharCount())}; }

float GroundDistance(const Vector3& a, const Vector3& b) {
    const float dx = a.x - b.x;
    const float dy = a.y - b.y;
    return std::sqrt(dx * dx + dy * dy);
}

Vector2 Ground(const Vector3& point) { return {point.x, point.y}; }

// The point as a squad file holds it: the digits its text keeps.
Vector3 AsWritten(const Vector3& point) {
    StringStream text;
    point.WriteText(text);
    StringStream back(text.Text());
    Vector3 read = point;
    read.ReadText(back);
    return back.HasError() ? point : read;
}

void ReturnToPool(Vorn* unit) {
    if (gArena == nullptr) return;
    gArena->DestroyObject(unit, false);
}

// The lines of a unit's text, up to its owner, that a drop or a battle changes: a unit
// read back from a squad file is the same member wherever it was put and for whom.
bool IsPlacingLine(std::string_view line) {
    static constexpr std::string_view kKeys[] = {"ID ", "Position ", "Velocity ", "Angle ", "Player "};
    return std::ranges::any_of(kKeys, [line](std::string_view key) { return line.starts_with(key); });
}

std::string MemberText(Vorn& unit) {
    StringStream stream;
    unit.Save(stream);
    const std::string_view whole(stream.Text(), size_t(stream.TextLength()));
    std::string kept;
    bool placing = true;
    size_t start = 0;
    while (start < whole.size()) {
        const size_t end = std::min(whole.find('\n', start), whole.size());
        const std::string_view line = whole.substr(start, end + 1 - start);
        const bool placed = placing && IsPlacingLine(line);
        if (!placed) kept += line;
        // The unit's body below may hold positions of its own, which do count.
        placing = placing && !line.starts_with("Player ");
        start = end + 1;
    }
    return kept;
}

std::vector<std::string> MemberTexts(std::span<Vorn* const> units) {
    std::vector<std::string> texts;
    texts.reserve(units.size());
    for (Vorn* unit : units) texts.push_back(MemberText(*unit));
    std::ranges::sort(texts);
    return texts;
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
    // A member formed onto the disc's edge, or against another at just the spacing, reads
    // back from its file (six digits) a hair outside the disc or nearer the other.
    constexpr float kTextTolerance = 0.0005f;
    if (GroundDistance(position, Vector3(0.0f, 0.0f, 0.0f)) > kAreaRadius + kTextTolerance) return false;
    for (const Vorn* unit : members) {
        if (unit == ignored) continue;
        if (GroundDistance(position, unit->position) < unit->GetRadius() + radius + kSpacing - kTextTolerance) {
            return false;
        }
    }
    return true;
}

bool Squad::FindFreePlace(const Vector3& wanted, float radius, const Vorn* ignored, Vector3& place) const {
    if (CanPlace(wanted, radius, ignored)) {
        place = wanted;
        return true;
    }
    std::vector<GroundDisc> taken;
    for (const Vorn* unit : members) {
        if (unit != ignored) taken.push_back({Ground(unit->position), unit->GetRadius() + radius + kSpacing});
    }
    const GroundDisc area{Vector2(0.0f, 0.0f), kAreaRadius};
    Vector2 spot;
    if (!NearestFreePoint(Ground(wanted), taken, &area, kFitRoom, spot)) return false;
    place = Vector3(spot.x, spot.y, wanted.z);
    return true;
}

bool Squad::Fit(Vorn& unit) const {
    // Judged where its file will have it, so that the reader finds the place the writer
    // found: a unit read from a file is there already.
    const Vector3 wanted = AsWritten(unit.position);
    Vector3 place;
    if (!FindFreePlace(wanted, unit.GetRadius(), &unit, place)) return false;
    // A place found anew has room to spare for the digits.
    if (!(place == wanted)) place = AsWritten(place);
    if (!(place == unit.position)) unit.SetPosition(place);
    return true;
}

String Squad::LeftOutText(const StringArray& names, const char* textKey) {
    if (names.IsEmpty()) return String();
    // Each name once, with its count when several members bear it, so that a crowd left
    // out still fits the box that shows it.
    String text = GetLanguageText(textKey);
    bool first = true;
    for (int32_t i = 0; i < names.Count(); ++i) {
        int32_t same = 0;
        bool earlier = false;
        for (int32_t j = 0; j < names.Count(); ++j) {
            if (!(names[j] == names[i])) continue;
            earlier = earlier || j < i;
            ++same;
        }
        if (earlier) continue;
        text += (first ? String() : String(", ")) + names[i];
        if (same > 1) text += " (" + String::FromInt(same) + ")";
        first = false;
    }
    return text + ".";
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

bool Squad::Accepts(Vorn& unit) {
    if (unit.chassisType == -1) return false;
    if (loadBudget >= 0 && loadBudget < unit.cost) return false;
    if (!Fit(unit)) {
        leftOut.Append(unit.name);
        return false;
    }
    if (loadBudget >= 0) loadBudget -= unit.cost;
    return true;
}

Stream& Squad::Read(Stream& stream) {
    DestroyMembers();
    leftOut.Clear();
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

bool Squad::FileHolds(const String& name, std::span<Vorn* const> units) {
    SquadSummary listed;
    if (!listed.Load(name) || listed.entries.Count() != int32_t(units.size())) return false;
    Squad held;
    // A member the reading drops or leaves out is one the file holds and the units lack.
    const bool whole = held.Load(name, -1) && held.leftOut.IsEmpty() && held.Count() == listed.entries.Count();
    const bool same = whole && MemberTexts({held.members.Data(), size_t(held.Count())}) == MemberTexts(units);
    held.DestroyMembers();
    return same;
}

bool Squad::Load(const String& name, int32_t budget) {
    leftOut.Clear();
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
    if (!leftOut.IsEmpty()) {
        Debugger::Instance().Line(View("Squad file \"" + path + "\": " + LeftOutText(leftOut)));
    }
    return true;
}
