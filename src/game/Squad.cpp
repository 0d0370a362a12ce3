#include "game/Squad.h"

#include <string_view>

#include "core/FileStream.h"
#include "core/Stream.h"
#include "core/String.h"
#include "platform/sys/Paths.h"
#include "units/Vorn.h"
#include "world/SaveFilePaths.h"

void Squad::Add(Vorn* unit) {
    members.Append(unit);
    totalCost += unit->cost;
}

void Squad::Clear() {
    members.Clear();
    totalCost = 0;
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

bool Squad::Save(const String& name) const {
    if (!sys::IsSafeName(std::string_view(name.CStr(), static_cast<size_t>(name.CharCount())))) {
        return false;
    }
    const String path = SquadFilePath(name);
    FileStream file(std::string_view(path.CStr(), static_cast<size_t>(path.CharCount())), "w");
    if (!file.IsOpen()) {
        return false;
    }
    Write(file);
    return file.Commit();
}
