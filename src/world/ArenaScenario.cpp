// Scenario files (a saved battlefield), the last-play-point snapshot "__Temp", and the
// arena's side of squads. Scenario texts also arrive from network peers: every count
// is capped, every read loop stops at the first stream error, and names are checked
// before they become paths.
#include <algorithm>
#include <cmath>
#include <string_view>
#include <vector>

#include "core/ConsoleStream.h"
#include "core/FileStream.h"
#include "core/MathUtil.h"
#include "core/Stream.h"
#include "game/Game.h"
#include "game/Squad.h"
#include "platform/sys/Paths.h"
#include "platform/sys/Random.h"
#include "units/Vorn.h"
#include "world/Arena.h"
#include "world/ArenaViewListener.h"
#include "world/FlyByPoint.h"
#include "world/LaunchPoint.h"
#include "world/SaveFilePaths.h"
#include "world/Terrain.h"
#include "world/WorldObject.h"

namespace {

// Counts read from a scenario text are clamped to these; surplus entries are read
// and dropped.
constexpr int32_t kMaxScenarioObjects = 10000;
constexpr int32_t kMaxLaunchPoints = 1000;
constexpr int32_t kMaxFlyByPoints = 1000;
// Units of a loaded squad settle by steps of this length.
constexpr float kSettleStep = 1.0f;
// A unit placed from a squad with delay waits this long before it acts.
constexpr float kDelayedStart = 2.0f;

const char* const kTempScenario = "__Temp";

std::string_view View(const String& s) { return {s.CStr(), static_cast<size_t>(s.CharCount())}; }

bool KeyIs(const String& token, const char* key) { return token.EqualsNoCase(key); }

void Report(const String& text) {
    ConsoleStream& console = GetConsoleStream();
    console << text;
    console.Flush();
}

// Names come from players and peers: only a plain file name may reach the disk.
bool IsAcceptedName(const char* what, const String& name) {
    if (sys::IsSafeName(View(name))) {
        return true;
    }
    Report(what + String(" name \"") + name + "\" refused");
    return false;
}

// The temporary scenario, kept for going back to the last play point, never becomes the
// arena's scenario name.
bool TakeScenarioName(Arena& arena, const String& name) {
    if (!IsAcceptedName("Scenario", name)) {
        return false;
    }
    if (name != kTempScenario) {
        arena.SetScenarioName(name);
    }
    return true;
}

void ReportPlaced(const Vorn& unit) {
    ConsoleStream& console = GetConsoleStream();
    console << unit.name << " at ";
    unit.position.WriteText(console);
    console.Flush();
}

bool IsScenarioKind(int kind) {
    return kind == kKindTree || kind == kKindRock || kind == kKindSolarCharger || kind == kKindVorn ||
           kind == kKindSoccerBall || kind == kKindGoal;
}

// A count from the text: negative reads as 0.
int32_t ReadCount(Stream& stream) {
    int32_t n = 0;
    stream >> n;
    return stream.HasError() ? 0 : std::max(n, 0);
}

Vector3 RotatedOnGround(const Vector3& offset, float angle) {
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    return {offset.x * c - offset.y * s, offset.x * s + offset.y * c, 0.0f};
}

}  // namespace

// Scenario text.

void Arena::WriteScenario(Stream& stream) {
    int saved = 0;
    for (const WorldObject* object : objects_) {
        saved += object->IsSaved() ? 1 : 0;
    }
    stream << "Scenario" << Endl;
    stream << "Version " << 1 << Endl;
    stream << "Map " << Endl;
    terrain_->Save(stream);
    stream << Endl;
    stream << "Objects " << saved << Endl;
    for (WorldObject* object : objects_) {
        if (!object->IsSaved()) {
            continue;
        }
        if (object->kind == kKindVorn) {
            const auto* unit = static_cast<const Vorn*>(object);
            if (unit->vip) {
                stream << "VIP" << Endl;
            }
            if (unit->carryingBall) {
                stream << "HasBall" << Endl;
            }
        }
        object->Save(stream);
        stream << Endl;
    }
    stream << "LaunchPoints " << launchPoints.Count() << Endl;
    for (const LaunchPoint* point : launchPoints) {
        stream << '\t';
        point->position.WriteText(stream);
        stream << Endl;
    }
    stream << "FlyByPoints " << flyByPoints.Count() << Endl;
    for (const FlyByPoint* point : flyByPoints) {
        stream << '\t';
        point->position.WriteText(stream);
        stream << Endl;
    }
    stream << "EndScenario" << Endl;
}

void Arena::ReadScenario(Stream& stream) {
    String token;
    String::ReadToken(stream, token);
    String::ReadToken(stream, token);
    int32_t version = 0;
    stream >> version;
    while (stream.IsGood()) {
        String::ReadToken(stream, token);
        if (KeyIs(token, "Map")) {
            terrain_->Load(stream);
        } else if (KeyIs(token, "Objects")) {
            ReadScenarioObjects(stream);
        } else if (KeyIs(token, "LaunchPoints")) {
            ReadLaunchPoints(stream);
        } else if (KeyIs(token, "FlyByPoints")) {
            ReadFlyByPoints(stream);
        } else if (KeyIs(token, "EndScenario")) {
            return;
        }
    }
}

void Arena::ReadScenarioObjects(Stream& stream) {
    const int32_t n = ReadCount(stream);
    for (int32_t i = 0; i < n && !stream.HasError(); ++i) {
        if (!ReadScenarioObject(stream, i < kMaxScenarioObjects)) {
            return;
        }
    }
}

bool Arena::ReadScenarioObject(Stream& stream, bool keep) {
    String token;
    String::ReadToken(stream, token);
    const bool vip = KeyIs(token, "VIP");
    if (vip) {
        String::ReadToken(stream, token);
    }
    const bool hasBall = KeyIs(token, "HasBall");
    if (hasBall) {
        String::ReadToken(stream, token);
    }
    String kindName;
    String::ReadToken(stream, kindName);
    if (stream.HasError()) {
        return false;
    }
    const int kind = WorldObject::KindFromName(kindName);
    if (!IsScenarioKind(kind)) {
        Report("Scenario: object of kind \"" + kindName + "\" cannot be loaded; the object list ends here");
        return false;
    }
    WorldObject* object = kind == kKindVorn ? NewVorn(0) : NewObjectOfKind(kind);
    object->Load(stream);
    // An entry cut short by the end of the text is dropped with the rest of the list.
    if (stream.HasError() || !keep) {
        FreeObject(object);
        return !stream.HasError();
    }
    if (kind != kKindVorn) {
        object->SetDefaults();
        object->SavePreviousState();
        AddObject(object);
        return true;
    }
    auto* unit = static_cast<Vorn*>(object);
    if (!unit->HasValidChassis()) {
        Report("Scenario: unit \"" + unit->name + "\" has no chassis and is left out");
        FreeObject(unit);
        return true;
    }
    unit->SetDefaults();
    unit->SavePreviousState();
    AddObject(unit);
    unit->PlaceAt(WrapPosition(unit->position));
    ResolvePlacementOverlap(unit, kSettleStep);
    if (vip) {
        unit->vip = 1;
    }
    if (hasBall) {
        unit->GiveBall();
    }
    return true;
}

void Arena::ReadLaunchPoints(Stream& stream) {
    const int32_t n = ReadCount(stream);
    for (int32_t i = 0; i < n && !stream.HasError(); ++i) {
        Vector2 point;
        point.ReadText(stream);
        if (!stream.HasError() && launchPoints.Count() < kMaxLaunchPoints) {
            ToggleLaunchPoint(point, false);
        }
    }
}

void Arena::ReadFlyByPoints(Stream& stream) {
    const int32_t n = ReadCount(stream);
    for (int32_t i = 0; i < n && !stream.HasError(); ++i) {
        Vector3 point;
        point.ReadText(stream);
        if (!stream.HasError() && flyByPoints.Count() < kMaxFlyByPoints) {
            ToggleFlyByPoint(point, false);
        }
    }
    StartFlyByIfAny();
}

// Scenario files.

bool Arena::SaveScenario(const String& name) {
    if (!TakeScenarioName(*this, name)) {
        return false;
    }
    FileStream file(View(ScenarioFilePath(name)), "w");
    if (!file.IsOpen()) {
        return false;
    }
    WriteScenario(file);
    return file.Commit();
}

bool Arena::LoadScenario(const String& name) {
    ClearBattlefield(true);
    TellViews([](ArenaViewListener& view) { view.OnScenarioLoadStarted(); });
    if (!TakeScenarioName(*this, name)) {
        return false;
    }
    FileStream file(View(ScenarioFilePath(name)), "r");
    if (!file.IsGood()) {
        return false;
    }
    ReadScenario(file);
    file.Close();
    TellViews([](ArenaViewListener& view) { view.OnTerrainChanged(); });
    RebuildGrid();
    for (LaunchPoint* point : launchPoints) {
        point->used = 0;
    }
    TellViews([](ArenaViewListener& view) { view.OnScenarioLoaded(); });
    return true;
}

void Arena::RestoreLastPlayPoint(bool keepEdited) {
    ClearBattlefield(keepEdited);
    LoadScenario(kTempScenario);
    if (Game* game = CurrentGame()) {
        game->SetPaused(true);
    }
}

// Squads.

bool Arena::SaveSquadFile(const String& name, const Vector3& origin, std::span<Vorn* const> units) {
    if (!IsAcceptedName("Squad", name)) {
        return false;
    }
    SetSquadName(name);
    std::vector<Vector3> kept;
    kept.reserve(units.size());
    Squad squad;
    for (Vorn* unit : units) {
        kept.push_back(unit->position);
        unit->SetPosition(unit->position - Vector3(origin.x, origin.y, 0.0f));
        squad.Add(unit);
    }
    const bool saved = squad.Save(name);
    // The units live on the battlefield: the scratch squad only forgets them.
    squad.Clear();
    for (size_t i = 0; i < units.size(); ++i) {
        units[i]->SetPosition(kept[i]);
    }
    TellViews([&name](ArenaViewListener& view) { view.OnSquadSaved(name); });
    return saved;
}

int Arena::LoadSquadFile(const String& name, const Vector3& point, Player* player) {
    if (!IsAcceptedName("Squad", name)) {
        return 0;
    }
    FileStream file(View(SquadFilePath(name)), "r");
    if (!file.IsOpen()) {
        return 0;
    }
    String token;
    String::ReadToken(file, token);
    const int32_t n = ReadCount(file);
    String::ReadToken(file, token);
    for (int32_t i = 0; i < n && !file.HasError(); ++i) {
        // The member list for the trays: name, position, chassis and cost, not used here.
        String value;
        Vector3 position;
        int32_t number = 0;
        String::ReadToken(file, token);
        String::ReadToken(file, value);
        String::ReadToken(file, token);
        position.ReadText(file);
        String::ReadToken(file, token);
        file >> number;
        String::ReadToken(file, token);
        file >> number;
    }
    String::ReadToken(file, token);
    const float angle = float(sys::Rand()) / float(sys::kRandMax) * 2.0f * kPi;
    Array<Vorn*> placed;
    for (int32_t i = 0; i < n && !file.HasError(); ++i) {
        Vorn* unit = NewVorn(0);
        unit->Load(file);
        if (file.HasError() || i >= Squad::kMaxMembers) {
            FreeObject(unit);
            continue;
        }
        if (!unit->HasValidChassis()) {
            Report("Squad " + name + ": unit \"" + unit->name + "\" has no chassis and is left out");
            FreeObject(unit);
            continue;
        }
        unit->SetPlayer(player);
        unit->fromSquad = 1;
        // Rearmed and healed like every unit that enters a battle: the file holds no
        // health or ammunition.
        unit->SetDefaults();
        const Vector3 spot = WrapPosition(point + RotatedOnGround(unit->position, angle));
        unit->PlaceAt(GroundPoint(spot.x, spot.y));
        unit->SavePreviousState();
        ReportPlaced(*unit);
        AddObject(unit);
        placed.Append(unit);
    }
    for (Vorn* unit : placed) {
        ResolvePlacementOverlap(unit, kSettleStep);
    }
    return placed.Count();
}

int Arena::PlaceSquadUnits(Squad& squad, const Vector3& point, Player* player, bool delayed) {
    const float angle = float(sys::Rand()) / float(sys::kRandMax) * 2.0f * kPi;
    Array<Vorn*> placed;
    for (Vorn* unit : squad.members) {
        unit->SetPlayer(player);
        unit->squadMember = 1;
        if (!unit->HasValidChassis()) {
            // Only flagged: a unit that never entered the battle counts no loss.
            unit->WorldObject::Remove(0);
            continue;
        }
        unit->SetDefaults();
        const Vector3 spot = WrapPosition(point + RotatedOnGround(unit->position, angle));
        unit->SetAngle(unit->heading + angle);
        unit->PlaceAt(GroundPoint(spot.x, spot.y));
        unit->SavePreviousState();
        unit->delayTimer = delayed ? kDelayedStart : 0.0f;
        ReportPlaced(*unit);
        AddObject(unit);
        placed.Append(unit);
    }
    for (Vorn* unit : placed) {
        ResolvePlacementOverlap(unit, kSettleStep);
    }
    return placed.Count();
}
