// The unit's text form and its own ".VRN" file. Unit files also come from network
// peers, so every count and name read here is checked before it is used.
#include <algorithm>
#include <string_view>

#include "core/ConsoleStream.h"
#include "core/FileStream.h"
#include "core/Stream.h"
#include "core/TextTable.h"
#include "game/Player.h"
#include "game/PlayerRoster.h"
#include "platform/sys/FileSystem.h"
#include "platform/sys/Paths.h"
#include "units/ChassisTable.h"
#include "units/Pattern.h"
#include "units/Vorn.h"
#include "world/SaveFilePaths.h"

namespace {

// Nesting of unit files being read: a "Filename" reference is followed one level deep
// only, so a file naming itself (or a cycle of files) cannot recurse.
int gLoadDepth = 0;

class LoadDepthScope {
public:
    LoadDepthScope() { ++gLoadDepth; }
    ~LoadDepthScope() { --gLoadDepth; }
    LoadDepthScope(const LoadDepthScope&) = delete;
    LoadDepthScope& operator=(const LoadDepthScope&) = delete;
};

void Report(const String& text) {
    ConsoleStream& console = GetConsoleStream();
    console << text;
    console.Flush();
}

bool KeyIs(const String& token, const char* key) { return token.EqualsNoCase(key); }

// Keys whose value is read and not used.
bool IsIgnoredFloatKey(const String& token) {
    static const char* const kKeys[] = {"Health",   "MaxHealth",          "TeleportTimer", "DelayTimer",
                                        "ConditionalTimer", "AnimationTimer", "MovementMultiplier", "Speed"};
    return std::any_of(std::begin(kKeys), std::end(kKeys), [&](const char* key) { return KeyIs(token, key); });
}

std::string_view View(const String& s) { return {s.CStr(), static_cast<size_t>(s.CharCount())}; }

}  // namespace

bool Vorn::WritesShortForm() const {
    return !writingOwnFile && edited == 0 && costEdited == 0 && name != GetLanguageText("NoName");
}

void Vorn::Save(Stream& stream) {
    const bool shortForm = WritesShortForm();
    stream << "Type " << KindName(kind) << Endl;
    if (shortForm) {
        stream << "Filename " << name << Endl;
    }
    stream << "ID " << id << Endl;
    stream << "Name " << name << Endl;
    stream << "Position ";
    position.WriteText(stream);
    stream << Endl << "Velocity ";
    velocity.WriteText(stream);
    stream << Endl << "Angle " << heading << Endl;
    // A name-less owner is written as a name no player has, which reads back as the
    // local player; an empty value would swallow the next key.
    const bool named = owner != nullptr && !owner->name.IsEmpty();
    stream << "Player " << (named ? owner->name : GetLanguageText("None")) << Endl;
    if (!shortForm) {
        WriteBody(stream);
    }
    stream << "End" << Endl;
}

void Vorn::WriteBody(Stream& stream) {
    // A unit without a chassis writes none, so that it reads back without one.
    if (const ChassisDefinition* row = ChassisTable::Row(chassisType)) {
        stream << "ChassisType " << row->name << Endl;
    }
    stream << "Cost " << cost << Endl;
    stream << "Edited " << (edited != 0) << Endl;
    stream << "CostEdited " << (costEdited != 0) << Endl;
    stream << "Weapons " << kWeaponPlaces << Endl;
    for (const Weapon& weapon : weapons) {
        weapon.Save(stream);
    }
    stream << "Patterns " << patternCount << Endl;
    for (int i = 0; i < patternCount; ++i) {
        if (i > 0) {
            stream << Endl;
        }
        patterns[i].Save(stream);
    }
}

void Vorn::Load(Stream& stream) {
    bool filenameFailed = false;
    String token;
    String value;
    while (!stream.HasError()) {
        String::ReadToken(stream, token);
        if (token.IsEmpty() || KeyIs(token, "End")) {
            return;
        }
        if (KeyIs(token, "Type")) {
            String::ReadToken(stream, value);
        } else if (KeyIs(token, "ID")) {
            stream >> loadedId;
        } else if (KeyIs(token, "Name")) {
            String::ReadToken(stream, value);
            if (!filenameFailed && !stream.HasError()) {
                name = value;
            }
        } else if (KeyIs(token, "Position")) {
            Vector3 p = position;
            p.ReadText(stream);
            SetPosition(p);
        } else if (KeyIs(token, "Velocity")) {
            Vector3 v = velocity;
            v.ReadText(stream);
            SetVelocity(v);
        } else if (KeyIs(token, "Angle")) {
            float angle = heading;
            stream >> angle;
            SetAngle(angle);
        } else if (IsIgnoredFloatKey(token)) {
            float ignored = 0.0f;
            stream >> ignored;
        } else if (KeyIs(token, "Filename")) {
            String::ReadToken(stream, value);
            filenameFailed = !ReadFilename(value);
        } else if (KeyIs(token, "Player")) {
            String::ReadToken(stream, value);
            ReadOwner(value);
        } else if (KeyIs(token, "VIP") || KeyIs(token, "Crazy")) {
            // Flags without a value: accepted and not used.
        } else if (KeyIs(token, "ChassisType")) {
            String::ReadToken(stream, value);
            BuildBody(FindChassisByName(value));
        } else if (KeyIs(token, "Cost")) {
            stream >> cost;
        } else if (KeyIs(token, "Edited") || KeyIs(token, "CostEdited")) {
            int32_t flag = 0;
            stream >> flag;
            (KeyIs(token, "Edited") ? edited : costEdited) = flag != 0 ? 1 : 0;
        } else if (KeyIs(token, "Patterns")) {
            ReadPatterns(stream);
        } else if (KeyIs(token, "Comment")) {
            // The rest of the line at any length: a long comment must not spill into
            // the key reader.
            String::ReadLine(stream, value);
        } else if (KeyIs(token, "CurrentPattern")) {
            int32_t ignored = 0;
            stream >> ignored;
        } else if (KeyIs(token, "Weapons")) {
            ReadWeapons(stream);
        } else {
            Report("Unit file: unknown key \"" + token + "\" skipped");
        }
    }
}

void Vorn::ReadPatterns(Stream& stream) {
    int32_t n = 0;
    stream >> n;
    if (stream.HasError()) {
        return;
    }
    n = std::max(n, 0);
    const ChassisDefinition* row = ChassisTable::Row(chassisType);
    const int allowed = owner != nullptr ? owner->GetMaxPatternCount(chassisType)
                                         : (row != nullptr ? row->basePatternCount : 0);
    const int kept = std::min(n, kMaxPatterns);
    const int count = std::min(kMaxPatterns, std::max(kept, allowed));
    int read = 0;
    for (; read < kept && !stream.HasError(); ++read) {
        patterns[read].Load(stream);
    }
    if (n > kMaxPatterns) {
        // Patterns beyond the unit's sixteen slots are read past and dropped.
        Pattern surplus;
        for (int i = kMaxPatterns; i < n && !stream.HasError(); ++i) {
            surplus.Load(stream);
        }
        Report("Unit file: " + String::FromInt(n - kMaxPatterns) + " patterns beyond the " +
               String::FromInt(kMaxPatterns) + " slots dropped");
    }
    for (int i = read; i < std::max(count, patternCount); ++i) {
        patterns[i].Reset();
    }
    patternCount = count;
}

void Vorn::ReadWeapons(Stream& stream) {
    int32_t unused = 0;
    stream >> unused;
    for (Weapon& weapon : weapons) {
        if (stream.HasError()) {
            return;
        }
        weapon.Load(stream);
    }
}

void Vorn::ReadOwner(const String& playerName) {
    Player* player = GetPlayerRoster().FindPlayerByName(playerName);
    SetPlayer(player != nullptr ? player : &GetLocalPlayer());
}

bool Vorn::ReadFilename(const String& fileName) {
    if (gLoadDepth > 0) {
        Report("Unit file: \"Filename " + fileName + "\" inside another unit file refused");
        LoadFailed();
        return false;
    }
    if (!LoadFile(fileName)) {
        return false;
    }
    name = fileName;
    return true;
}

void Vorn::LoadFailed() {
    BuildBody(0);
    name = GetLanguageText("NoName");
    currentPattern = nullptr;
}

bool Vorn::LoadFile(const String& fileName) {
    if (!sys::IsSafeName(View(fileName))) {
        Report("Unit file name \"" + fileName + "\" refused");
        LoadFailed();
        return false;
    }
    String path = VornFilePath(fileName);
    if (!sys::Exists(View(path))) {
        path = "Vorns\\" + fileName.FileTitle() + ".VRN";
    }
    FileStream file(View(path), "r");
    if (!file.IsOpen()) {
        LoadFailed();
        return false;
    }
    {
        LoadDepthScope depth;
        Load(file);
    }
    currentPattern = nullptr;
    return true;
}

bool Vorn::SaveFile(const String& fileName) {
    if (!sys::IsSafeName(View(fileName))) {
        Report("Unit file name \"" + fileName + "\" refused");
        return false;
    }
    FileStream file(View(VornFilePath(fileName)), "w");
    if (!file.IsOpen()) {
        return false;
    }
    writingOwnFile = true;
    Save(file);
    writingOwnFile = false;
    return file.Commit();
}
