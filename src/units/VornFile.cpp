// The unit's text form and its own ".VRN" file. Unit files also come from network
// peers, so every count and name read here is checked before it is used.
#include <algorithm>
#include <string_view>

#include "core/ConsoleStream.h"
#include "core/Debugger.h"
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
    static const char* const kKeys[] = {"Health",           "MaxHealth",      "TeleportTimer",      "DelayTimer",
                                        "ConditionalTimer", "AnimationTimer", "MovementMultiplier", "Speed"};
    return std::any_of(std::begin(kKeys), std::end(kKeys), [&](const char* key) { return KeyIs(token, key); });
}

std::string_view View(const String& s) { return {s.CStr(), static_cast<size_t>(s.CharCount())}; }

void LogUnitFile(const String& path, const String& reason) {
    Debugger::Instance().Line(std::string_view(("Unit file \"" + path + "\": " + reason).CStr()));
}

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

// A record inside a scenario or squad text is whole only with its "End"; a unit file may
// end without one.
bool Vorn::Load(Stream& stream) {
    String key;
    return ReadRecord(stream, key) && KeyIs(key, "End");
}

bool Vorn::ReadRecord(Stream& stream, String& key) {
    bool filenameFailed = false;
    for (;;) {
        String::ReadToken(stream, key);
        // An empty key is the end of the text: every value before it was read whole.
        // Inside a unit file a "Filename" is refused and the file's own keys stand.
        if (key.IsEmpty() || KeyIs(key, "End")) {
            return !filenameFailed || gLoadDepth > 0;
        }
        if (!ReadValue(stream, key, filenameFailed)) {
            return false;
        }
    }
}

// Words are whole once read, even when the end of a file follows them directly; numbers
// and vectors are whole unless the stream's error flag went up.
bool Vorn::ReadValue(Stream& stream, const String& key, bool& filenameFailed) {
    String value;
    if (KeyIs(key, "Type")) {
        String::ReadToken(stream, value);
        return !value.IsEmpty();
    }
    if (KeyIs(key, "ID")) {
        return !(stream >> loadedId).HasError();
    }
    if (KeyIs(key, "Name")) {
        String::ReadToken(stream, value);
        if (!filenameFailed && !value.IsEmpty()) {
            name = value;
        }
        return !value.IsEmpty();
    }
    if (KeyIs(key, "Position") || KeyIs(key, "Velocity")) {
        const bool isPosition = KeyIs(key, "Position");
        Vector3 v = isPosition ? position : velocity;
        v.ReadText(stream);
        if (stream.HasError()) {
            return false;
        }
        if (isPosition) {
            SetPosition(v);
        } else {
            SetVelocity(v);
        }
        return true;
    }
    if (KeyIs(key, "Angle")) {
        float angle = heading;
        stream >> angle;
        SetAngle(angle);
        return !stream.HasError();
    }
    if (IsIgnoredFloatKey(key)) {
        float ignored = 0.0f;
        return !(stream >> ignored).HasError();
    }
    if (KeyIs(key, "Filename")) {
        String::ReadToken(stream, value);
        filenameFailed = value.IsEmpty() || !ReadFilename(value);
        return !value.IsEmpty();
    }
    if (KeyIs(key, "Player")) {
        String::ReadToken(stream, value);
        ReadOwner(value);
        return !value.IsEmpty();
    }
    if (KeyIs(key, "ChassisType")) {
        String::ReadToken(stream, value);
        BuildBody(FindChassisByName(value));
        return !value.IsEmpty();
    }
    if (KeyIs(key, "Cost")) {
        return !(stream >> cost).HasError();
    }
    if (KeyIs(key, "Edited") || KeyIs(key, "CostEdited")) {
        int32_t flag = 0;
        stream >> flag;
        (KeyIs(key, "Edited") ? edited : costEdited) = flag != 0 ? 1 : 0;
        return !stream.HasError();
    }
    if (KeyIs(key, "Patterns")) {
        return ReadPatterns(stream);
    }
    if (KeyIs(key, "Comment")) {
        // The rest of the line at any length: a long comment must not spill into the key
        // reader.
        String::ReadLine(stream, value);
        return true;
    }
    if (KeyIs(key, "CurrentPattern")) {
        int32_t ignored = 0;
        return !(stream >> ignored).HasError();
    }
    if (KeyIs(key, "Weapons")) {
        return ReadWeapons(stream);
    }
    // Flags without a value ("VIP", "Crazy") are accepted and not used.
    if (!KeyIs(key, "VIP") && !KeyIs(key, "Crazy")) {
        Report("Unit file: unknown key \"" + key + "\" skipped");
    }
    return true;
}

bool Vorn::ReadPatterns(Stream& stream) {
    int32_t n = 0;
    stream >> n;
    if (stream.HasError()) {
        return false;
    }
    n = std::max(n, 0);
    const ChassisDefinition* row = ChassisTable::Row(chassisType);
    const int allowed =
        owner != nullptr ? owner->GetMaxPatternCount(chassisType) : (row != nullptr ? row->basePatternCount : 0);
    const int kept = std::min(n, kMaxPatterns);
    const int count = std::min(kMaxPatterns, std::max(kept, allowed));
    bool whole = true;
    int read = 0;
    while (read < kept && whole) {
        whole = patterns[read++].Load(stream);
    }
    if (n > kMaxPatterns && whole) {
        // Patterns beyond the unit's sixteen slots are read past and dropped.
        Pattern surplus;
        for (int i = kMaxPatterns; i < n && whole; ++i) {
            whole = surplus.Load(stream);
        }
        Report("Unit file: " + String::FromInt(n - kMaxPatterns) + " patterns beyond the " +
               String::FromInt(kMaxPatterns) + " slots dropped");
    }
    for (int i = read; i < std::max(count, patternCount); ++i) {
        patterns[i].Reset();
    }
    patternCount = count;
    return whole;
}

bool Vorn::ReadWeapons(Stream& stream) {
    int32_t unused = 0;
    stream >> unused;
    for (Weapon& weapon : weapons) {
        if (stream.HasError() || !weapon.Load(stream)) {
            return false;
        }
    }
    return true;
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
        LogUnitFile(path, "no such unit file");
        LoadFailed();
        return false;
    }
    String key;
    bool whole = false;
    {
        LoadDepthScope depth;
        whole = ReadRecord(file, key);
    }
    currentPattern = nullptr;
    if (file.NonFiniteCount() > 0) {
        LogUnitFile(path, String::FromInt(file.NonFiniteCount()) + " numbers that are not finite kept their defaults");
    }
    if (!whole) {
        LogUnitFile(path, "damaged or cut short while reading \"" + key + "\"");
        LoadFailed();
        return false;
    }
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
