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
// keys ("VIP", "Crazy" and unknown words) have no value. False when the value did not
// read.
bool SkipValue(Stream& stream, const String& key) {
    String text;
    if (IsOneOf(key, {"Type", "Name", "Filename", "Player"})) {
        String::ReadToken(stream, text);
        return !text.IsEmpty();
    }
    if (IsOneOf(key, {"ID", "Edited", "CostEdited", "CurrentPattern"})) {
        int value = 0;
        stream >> value;
    } else if (IsOneOf(key, {"Position", "Velocity"})) {
        Vector3 value;
        value.ReadText(stream);
    } else if (IsOneOf(key, {"Angle", "Health", "MaxHealth", "DelayTimer", "AnimationTimer", "Speed", "TeleportTimer",
                             "ConditionalTimer", "MovementMultiplier"})) {
        float value = 0.0f;
        stream >> value;
    } else if (key.EqualsNoCase("Comment")) {
        // Read whole at any length, so that nothing of it is taken for a key.
        String::ReadLine(stream, text);
        return true;
    }
    return !stream.HasError();
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
    const bool whole = Scan(file);
    file.Close();
    if (!whole) {
        LogFailure(name, "the file is damaged or cut short");
        return false;
    }
    if (chassis < 0) {
        LogFailure(name, "the file names no chassis");
        return false;
    }
    return true;
}

bool VornSummary::Scan(Stream& stream) {
    bool haveCost = false;
    bool haveWeapons = false;
    String key;
    while (stream.IsGood() && !(chassis >= 0 && haveCost && haveWeapons)) {
        String::ReadToken(stream, key);
        // Patterns are the last section a unit file writes and hold nothing a summary
        // needs; reading on past them would take pattern words for keys.
        if (key.IsEmpty() || key.EqualsNoCase("End") || key.EqualsNoCase("Patterns")) return true;
        if (key.EqualsNoCase("ChassisType")) {
            String value;
            String::ReadToken(stream, value);
            if (value.IsEmpty()) return false;
            chassis = FindChassisByName(value);
        } else if (key.EqualsNoCase("Cost")) {
            int value = 0;
            stream >> value;
            if (stream.HasError()) return false;
            // A cost below 0 would buy budget in the launch window.
            cost = std::max(value, 0);
            haveCost = true;
        } else if (key.EqualsNoCase("Weapons")) {
            int count = 0;
            stream >> count;
            for (int place = 0; place < 2; ++place) {
                WeaponRecord record;
                if (stream.HasError() || !Weapon::ReadRecord(stream, record)) return false;
                weaponKinds[place] = record.kind;
                weaponLocations[place] = record.location;
                weaponAmmo[place] = record.ammoName;
            }
            haveWeapons = true;
        } else if (!SkipValue(stream, key)) {
            return false;
        }
    }
    // Stopped once everything was read, or at the end of the text after a whole value.
    return true;
}
