// What the trays and the launchers need of a unit file.
#include "units/VornSummary.h"

#include <algorithm>
#include <initializer_list>

#include "core/Debugger.h"
#include "core/FileStream.h"
#include "core/Vector3.h"
#include "platform/sys/Paths.h"
#include "units/ChassisTable.h"
#include "units/Weapon.h"
#include "world/SaveFilePaths.h"

namespace {

bool IsOneOf(const String& key, std::initializer_list<const char*> names) {
    return std::any_of(names.begin(), names.end(), [&](const char* name) { return key.EqualsNoCase(name); });
}

// Reads past the value of a key the summary does not keep, by the kind of value. Other
// keys ("VIP", "Crazy" and unknown words) have no value.
void SkipValue(Stream& stream, const String& key) {
    String text;
    if (IsOneOf(key, {"Type", "Name", "Filename", "Player"})) {
        String::ReadToken(stream, text);
    } else if (IsOneOf(key, {"ID", "Edited", "CostEdited", "CurrentPattern"})) {
        int value = 0;
        stream >> value;
    } else if (IsOneOf(key, {"Position", "Velocity"})) {
        Vector3 value;
        value.ReadText(stream);
    } else if (IsOneOf(key, {"Angle", "Health", "MaxHealth", "DelayTimer", "AnimationTimer", "Speed",
                             "TeleportTimer", "ConditionalTimer", "MovementMultiplier"})) {
        float value = 0.0f;
        stream >> value;
    } else if (key.EqualsNoCase("Comment")) {
        // Read whole at any length, so that nothing of it is taken for a key.
        String::ReadLine(stream, text);
    }
}

void LogFailure(const String& name, const char* reason) {
    Debugger& log = Debugger::Instance();
    log << "Unit summary \"" << name << "\": " << reason << "\n";
    log.Flush();
}

}  // namespace

bool VornSummary::Load(const String& name) {
    *this = VornSummary();
    fileName = name;
    if (!sys::IsSafeName(name.CStr())) {
        LogFailure(name, "not a safe file name");
        return false;
    }
    FileStream file(VornFilePath(name).CStr(), "r");
    if (!file.IsOpen()) {
        LogFailure(name, "no such unit file");
        return false;
    }
    Scan(file);
    file.Close();
    if (chassis < 0) {
        LogFailure(name, "the file names no chassis");
        return false;
    }
    return true;
}

void VornSummary::Scan(Stream& stream) {
    bool haveCost = false;
    bool haveWeapons = false;
    String key;
    while (stream.IsGood() && !(chassis >= 0 && haveCost && haveWeapons)) {
        String::ReadToken(stream, key);
        // Patterns are the last section a unit file writes and hold nothing a summary
        // needs; reading on past them would take pattern words for keys.
        if (key.IsEmpty() || key.EqualsNoCase("End") || key.EqualsNoCase("Patterns")) return;
        if (key.EqualsNoCase("ChassisType")) {
            String value;
            String::ReadToken(stream, value);
            if (!value.IsEmpty()) chassis = FindChassisByName(value);
        } else if (key.EqualsNoCase("Cost")) {
            int value = 0;
            stream >> value;
            // A cost below 0 would buy budget in the launch window.
            if (!stream.HasError()) cost = std::max(value, 0);
            haveCost = true;
        } else if (key.EqualsNoCase("Weapons")) {
            int count = 0;
            stream >> count;
            for (int place = 0; place < 2 && !stream.HasError(); ++place) {
                WeaponRecord record;
                Weapon::ReadRecord(stream, record);
                weaponKinds[place] = record.kind;
                weaponLocations[place] = record.location;
                weaponAmmo[place] = record.ammoName;
            }
            haveWeapons = true;
        } else {
            SkipValue(stream, key);
        }
        if (stream.HasError()) return;
    }
}
