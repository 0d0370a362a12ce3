#include "game/SquadSummary.h"

#include <algorithm>
#include <string_view>

#include "core/FileStream.h"
#include "core/Stream.h"
#include "core/Vector3.h"
#include "game/Squad.h"
#include "platform/sys/Paths.h"
#include "world/SaveFilePaths.h"

bool SquadSummary::Load(const String& name) {
    fileName = name;
    entries.Clear();
    if (!sys::IsSafeName(std::string_view(name.CStr(), static_cast<size_t>(name.CharCount())))) return false;
    const String path = SquadFilePath(name);
    FileStream file(std::string_view(path.CStr(), static_cast<size_t>(path.CharCount())), "r");
    if (!file.IsOpen()) return false;
    Read(file);
    return true;
}

int32_t SquadSummary::Read(Stream& stream) {
    entries.Clear();
    String label;
    int32_t count = 0;
    String::ReadToken(stream, label);
    stream >> count;
    if (stream.HasError()) return 0;
    count = std::clamp(count, 0, Squad::kMaxMembers);
    String::ReadToken(stream, label);
    for (int32_t i = 0; i < count; ++i) {
        String name;
        Vector3 position;
        int32_t chassisType = -1;
        int32_t cost = 0;
        String::ReadToken(stream, label);
        String::ReadToken(stream, name);
        String::ReadToken(stream, label);
        position.ReadText(stream);
        String::ReadToken(stream, label);
        stream >> chassisType;
        String::ReadToken(stream, label);
        stream >> cost;
        if (stream.HasError()) break;
        AddEntry(name, Vector2(position.x, position.y), chassisType, cost);
    }
    return count;
}

void SquadSummary::AddEntry(const String& entryName, const Vector2& position, int32_t chassisType, int32_t cost) {
    entries.Append(SquadEntry{entryName, position, chassisType, cost});
}

int32_t SquadSummary::TotalCost() const {
    int32_t total = 0;
    for (const SquadEntry& entry : entries) total += entry.cost;
    return total;
}

int32_t SquadSummary::MinMemberCost() const {
    if (entries.IsEmpty()) return 0;
    int32_t lowest = entries[0].cost;
    for (const SquadEntry& entry : entries) lowest = std::min(lowest, entry.cost);
    return lowest;
}
