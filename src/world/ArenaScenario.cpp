// Scenario files (a saved battlefield), the last-play-point snapshot "__Temp", and the
// arena's side of squads. Scenario texts also arrive from network peers: every count
// is capped, every read loop stops at the first stream error, and names are checked
// before they become paths.
#include <algorithm>
#include <cmath>
#include <limits>
#include <string_view>
#include <vector>

#include "core/ConsoleStream.h"
#include "core/Debugger.h"
#include "core/FileHelpers.h"
#include "core/FileStream.h"
#include "core/MathUtil.h"
#include "core/Point.h"
#include "core/Stream.h"
#include "game/Game.h"
#include "game/Squad.h"
#include "platform/sys/FileSystem.h"
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

void LogFile(const char* what, const String& path, const String& reason) {
    Debugger::Instance().Line(View(what + String(" file \"") + path + "\": " + reason));
}

void LogScenario(const String& path, const String& reason) { LogFile("Scenario", path, reason); }

// Whether anything but white space is left.
bool TextFollows(Stream& stream) {
    int c = stream.PeekChar();
    while (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
        stream.GetChar();
        c = stream.PeekChar();
    }
    return c >= 0;
}

// A squad file's member list for the trays (name, position, chassis and cost) is not used
// here: it is read past up to "VornData", whatever the count says. False when the list
// is damaged.
bool SkipSquadIconData(Stream& stream) {
    String token;
    String value;
    String::ReadToken(stream, token);
    String::ReadToken(stream, token);
    while (KeyIs(token, "Name") && !stream.HasError()) {
        String::ReadToken(stream, value);
        String::ReadToken(stream, token);
        Vector3 position;
        position.ReadText(stream);
        int32_t number = 0;
        String::ReadToken(stream, token);
        stream >> number;
        String::ReadToken(stream, token);
        stream >> number;
        String::ReadToken(stream, token);
    }
    return KeyIs(token, "VornData");
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

// The ground searches of one placing, which only adds units between them: its free
// ground only shrinks. They share one store of work, so that the placing ends soon
// however the ground lies: once it is spent, each search still tries the ground nearest
// its point, and a member with none there is left out and named.
struct Placing {
    Arena::GroundSearch search;
    // The sizes of unit for which the squad's point had no free ground near (or none was
    // found with the work left): it has none for a later one of that size either.
    std::vector<float> noneAtPoint;
};

// Stands the unit at the free ground nearest the spot, clear of everything on the field,
// on ground no worse than the spot's, dry where the squad's point is, and not past a wall
// or across lava or water from it. A member hemmed in there (behind a tree at the lava's
// edge, say) comes in from the squad's point instead, to the free ground nearest that.
// False, the unit left where it was, when neither has any within the search's reach.
bool StandOnFreeGround(Arena& arena, Vorn& unit, const Vector3& spot, const Vector3& point, Placing& placing) {
    Vector3 place;
    const WorldObject* const self[] = {&unit};
    const float radius = unit.GetRadius();
    if (!arena.FindFreeGround(spot, radius, self, nullptr, place, &placing.search, &point)) {
        if (std::ranges::find(placing.noneAtPoint, radius) != placing.noneAtPoint.end()) return false;
        if (!arena.FindFreeGround(arena.WrapPosition(point), radius, self, nullptr, place, &placing.search, &point)) {
            placing.noneAtPoint.push_back(radius);
            return false;
        }
    }
    unit.PlaceAt(place);
    return true;
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

bool Arena::ReadScenario(Stream& stream, const String& source, String& section) {
    String token;
    String::ReadToken(stream, token);
    String::ReadToken(stream, token);
    int32_t version = 0;
    stream >> version;
    section = "Version";
    while (stream.IsGood()) {
        String::ReadToken(stream, section);
        bool whole = true;
        if (KeyIs(section, "Map")) {
            whole = ReadScenarioMap(stream, source);
        } else if (KeyIs(section, "Objects")) {
            whole = ReadScenarioObjects(stream);
        } else if (KeyIs(section, "LaunchPoints")) {
            whole = ReadLaunchPoints(stream);
        } else if (KeyIs(section, "FlyByPoints")) {
            whole = ReadFlyByPoints(stream);
        } else if (KeyIs(section, "EndScenario")) {
            return true;
        }
        if (!whole) {
            return false;
        }
    }
    // Words between the sections are passed over; the end of the text may come after any.
    return !stream.HasError() || stream.AtEnd();
}

bool Arena::ReadScenarioMap(Stream& stream, const String& source) {
    Point size;
    const Terrain::LoadResult result = terrain_->Load(stream, size);
    if (result == Terrain::LoadResult::kSizeRefused) {
        LogScenario(source, "map size " + String::FromInt(size.x) + " x " + String::FromInt(size.y) + " is outside " +
                                String::FromInt(Terrain::kMinSide) + ".." + String::FromInt(Terrain::kMaxSide) +
                                "; the map is left out");
    }
    return result != Terrain::LoadResult::kCut;
}

bool Arena::ReadScenarioObjects(Stream& stream) {
    const int32_t n = ReadCount(stream);
    if (stream.HasError()) {
        return false;
    }
    for (int32_t i = 0; i < n; ++i) {
        if (!ReadScenarioObject(stream, i < kMaxScenarioObjects)) {
            return !stream.HasError();
        }
    }
    return true;
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
    if (kindName.IsEmpty()) {
        // The text ended inside the list.
        stream.SetError();
    }
    if (stream.HasError()) {
        return false;
    }
    const int kind = WorldObject::KindFromName(kindName);
    if (!IsScenarioKind(kind)) {
        Report("Scenario: object of kind \"" + kindName + "\" cannot be loaded; the object list ends here");
        return false;
    }
    WorldObject* object = kind == kKindVorn ? NewVorn(0) : NewObjectOfKind(kind);
    // An entry cut short by the end of the text is dropped with the rest of the list.
    if (!object->Load(stream) && stream.AtEnd()) {
        stream.SetError();
    }
    if (stream.HasError()) {
        GiveBack(object);
        return false;
    }
    if (!keep) {
        GiveBack(object);
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
        GiveBack(unit);
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

// The loops run at most as often as the cap: the points beyond it are passed over as
// words between the sections.
bool Arena::ReadLaunchPoints(Stream& stream) {
    const int32_t n = std::min(ReadCount(stream), kMaxLaunchPoints);
    for (int32_t i = 0; i < n && !stream.HasError(); ++i) {
        Vector2 point;
        point.ReadText(stream);
        if (!stream.HasError() && launchPoints.Count() < kMaxLaunchPoints) {
            ToggleLaunchPoint(point, false);
        }
    }
    return !stream.HasError();
}

bool Arena::ReadFlyByPoints(Stream& stream) {
    const int32_t n = std::min(ReadCount(stream), kMaxFlyByPoints);
    for (int32_t i = 0; i < n && !stream.HasError(); ++i) {
        Vector3 point;
        point.ReadText(stream);
        if (!stream.HasError() && flyByPoints.Count() < kMaxFlyByPoints) {
            ToggleFlyByPoint(point, false);
        }
    }
    StartFlyByIfAny();
    return !stream.HasError();
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
    const bool written = file.Commit();
    if (name == kTempScenario) {
        playPointKept_ = written;
    }
    return written;
}

bool Arena::LoadScenario(const String& name) {
    ClearBattlefield(true);
    TellViews([](ArenaViewListener& view) { view.OnScenarioLoadStarted(); });
    if (!TakeScenarioName(*this, name)) {
        return false;
    }
    const String path = ScenarioFilePath(name);
    FileStream file(View(path), "r");
    if (!file.IsGood()) {
        LogScenario(path, "no such scenario file");
        return false;
    }
    String section;
    const bool whole = ReadScenario(file, path, section);
    if (file.NonFiniteCount() > 0) {
        LogScenario(path, String::FromInt(file.NonFiniteCount()) + " numbers that are not finite kept their defaults");
    }
    if (!whole) {
        LogScenario(path, "damaged or cut short while reading \"" + section + "\"");
    }
    file.Close();
    TellViews([](ArenaViewListener& view) { view.OnTerrainChanged(); });
    RebuildGrid();
    for (LaunchPoint* point : launchPoints) {
        point->used = 0;
    }
    TellViews([](ArenaViewListener& view) { view.OnScenarioLoaded(); });
    return whole;
}

bool Arena::HasLastPlayPoint() const { return playPointKept_ && FileExists(ScenarioFilePath(kTempScenario)); }

void Arena::ForgetLastPlayPoint() {
    playPointKept_ = false;
    sys::DeleteFile(ScenarioFilePath(kTempScenario).CStr());
}

bool Arena::RestoreLastPlayPoint(bool keepEdited) {
    // Clearing first would lose the field for nothing.
    if (!HasLastPlayPoint()) {
        return false;
    }
    ClearBattlefield(keepEdited);
    LoadScenario(kTempScenario);
    if (Game* game = CurrentGame()) {
        game->SetPaused(true);
    }
    return true;
}

// Squads.

namespace {

// The squad a save at the origin writes, handed to `use` while it stands formed: each unit
// stands on the squad's flat ground at its offset from the origin, and one pressed against
// another by the forming, or past the edge, takes the nearest free place; one with none
// is named in `unplaced`. The units then go back where they stood.
template <typename Use>
void FormSavedSquad(const Arena& arena, const Vector3& origin, std::span<Vorn* const> units, StringArray& unplaced,
                    Use use) {
    std::vector<Vector3> kept;
    kept.reserve(units.size());
    Squad squad;
    for (Vorn* unit : units) {
        kept.push_back(unit->position);
        const Vector3 offset = arena.NearestImage(origin, unit->position) - origin;
        unit->SetPosition(Vector3(offset.x, offset.y, unit->GetRadius()));
        if (squad.Fit(*unit)) {
            squad.Add(unit);
        } else {
            unplaced.Append(unit->name);
        }
    }
    use(squad);
    // The units live on the battlefield: the scratch squad only forgets them.
    squad.Clear();
    for (size_t i = 0; i < units.size(); ++i) {
        units[i]->SetPosition(kept[i]);
    }
}

}  // namespace

bool Arena::SaveSquadFile(const String& name, const Vector3& origin, std::span<Vorn* const> units,
                          StringArray* leftOut) {
    if (!IsAcceptedName("Squad", name)) {
        return false;
    }
    SetSquadName(name);
    StringArray unplaced;
    bool saved = false;
    FormSavedSquad(*this, origin, units, unplaced, [&](const Squad& squad) { saved = squad.Save(name); });
    if (!unplaced.IsEmpty()) {
        LogFile("Squad", SquadFilePath(name), Squad::LeftOutText(unplaced));
    }
    if (leftOut != nullptr) {
        *leftOut = unplaced;
    }
    TellViews([&name](ArenaViewListener& view) { view.OnSquadSaved(name); });
    return saved;
}

std::vector<Vorn*> Arena::SquadSaveMembers(const Vector3& origin, std::span<Vorn* const> units) {
    std::vector<Vorn*> members;
    StringArray unplaced;
    FormSavedSquad(*this, origin, units, unplaced,
                   [&](const Squad& squad) { members.assign(squad.members.begin(), squad.members.end()); });
    return members;
}

int Arena::LoadSquadFile(const String& name, const Vector3& point, Player* player, StringArray* leftOut,
                         StringArray* noRoom) {
    if (!IsAcceptedName("Squad", name)) {
        return 0;
    }
    const String path = SquadFilePath(name);
    FileStream file(View(path), "r");
    if (!file.IsOpen()) {
        LogFile("Squad", path, "no such squad file");
        return 0;
    }
    String token;
    String::ReadToken(file, token);
    const int32_t n = ReadCount(file);
    const bool listed = SkipSquadIconData(file);
    const float angle = float(sys::Rand()) / float(sys::kRandMax) * 2.0f * kPi;
    if (!listed) {
        LogFile("Squad", path, "the member list before \"VornData\" is damaged; nothing placed");
        return 0;
    }
    const int32_t wanted = std::min(n, Squad::kMaxMembers);
    // Every member first takes a place in the squad's own layout clear of those before
    // it, so that none lands on another and is stacked on it.
    Squad layout;
    // The circle has no free place left for a member at least this wide: one found none.
    float layoutFullFor = std::numeric_limits<float>::infinity();
    StringArray unplaced;
    int32_t read = 0;
    bool damaged = false;
    for (; read < wanted && !damaged && TextFollows(file); ++read) {
        Vorn* unit = NewVorn(0);
        if (!unit->Load(file)) {
            damaged = file.HasError() || file.AtEnd();
            LogFile("Squad", path,
                    "member " + String::FromInt(read + 1) +
                        (damaged ? " is damaged or cut short; it and the rest are left out"
                                 : " names a unit file that did not load; left out"));
            GiveBack(unit);
            continue;
        }
        if (!unit->HasValidChassis()) {
            Report("Squad " + name + ": unit \"" + unit->name + "\" has no chassis and is left out");
            GiveBack(unit);
            continue;
        }
        const float radius = unit->GetRadius();
        const bool fits = radius < layoutFullFor ? layout.Fit(*unit) : layout.CanPlace(unit->position, radius, unit);
        if (!fits) {
            layoutFullFor = std::min(layoutFullFor, radius);
            unplaced.Append(unit->name);
            GiveBack(unit);
            continue;
        }
        layout.Add(unit);
    }
    if (!damaged && (read < n || (!file.HasError() && TextFollows(file)))) {
        LogFile("Squad", path,
                "its count says " + String::FromInt(n) + " members, " + String::FromInt(read) + " were read (at most " +
                    String::FromInt(Squad::kMaxMembers) + ")");
    }
    if (!unplaced.IsEmpty()) {
        LogFile("Squad", path, Squad::LeftOutText(unplaced));
    }
    if (leftOut != nullptr) {
        *leftOut = unplaced;
    }
    // On the ground where it lands, whatever height it was saved at, and clear of what
    // stands there: never stacked on it.
    StringArray crowded;
    Placing placing;
    int placed = 0;
    for (Vorn* unit : layout.members) {
        unit->SetPlayer(player);
        unit->fromSquad = 1;
        // Rearmed and healed like every unit that enters a battle: the file holds no
        // health or ammunition.
        unit->SetDefaults();
        if (!StandOnFreeGround(*this, *unit, WrapPosition(point + RotatedOnGround(unit->position, angle)), point,
                               placing)) {
            crowded.Append(unit->name);
            GiveBack(unit);
            continue;
        }
        unit->SavePreviousState();
        ReportPlaced(*unit);
        AddObject(unit);
        ++placed;
    }
    if (!crowded.IsEmpty()) {
        LogFile("Squad", path, "no room on the field for " + String::FromInt(crowded.Count()) + " members");
    }
    if (noRoom != nullptr) {
        *noRoom = crowded;
    }
    // The units live on the battlefield now, or went back to the pool: the layout only
    // forgets them.
    layout.Clear();
    return placed;
}

int Arena::PlaceSquadUnits(Squad& squad, const Vector3& point, Player* player, bool delayed, StringArray* noRoom) {
    const float angle = float(sys::Rand()) / float(sys::kRandMax) * 2.0f * kPi;
    // A launched member is not left out while the field has free ground it can reach.
    Placing placing;
    placing.search.reach = kFloatMax;
    StringArray crowded;
    int placed = 0;
    for (Vorn* unit : squad.members) {
        unit->SetPlayer(player);
        unit->squadMember = 1;
        // A launched squad comes from the player's squad file: its units may be inspected.
        unit->fromSquad = 1;
        if (!unit->HasValidChassis()) {
            // Never enters the battle, and counts no loss.
            GiveBack(unit);
            continue;
        }
        unit->SetDefaults();
        unit->SetAngle(unit->heading + angle);
        if (!StandOnFreeGround(*this, *unit, WrapPosition(point + RotatedOnGround(unit->position, angle)), point,
                               placing)) {
            // Never stacked on what stands there: like a unit with no chassis, it never
            // enters the battle.
            crowded.Append(unit->name);
            GiveBack(unit);
            continue;
        }
        unit->SavePreviousState();
        unit->delayTimer = delayed ? kDelayedStart : 0.0f;
        ReportPlaced(*unit);
        AddObject(unit);
        ++placed;
    }
    if (!crowded.IsEmpty()) {
        Report(Squad::LeftOutText(crowded, "SquadMembersNoRoom"));
        Debugger::Instance().Line(View("Squad launched at " + String::FromFloat(point.x, 1) + ", " +
                                       String::FromFloat(point.y, 1) + ": no room on the field for " +
                                       String::FromInt(crowded.Count()) + " members"));
    }
    if (noRoom != nullptr) {
        *noRoom = crowded;
    }
    // The members are the battlefield's now, or went back to the pool.
    squad.Clear();
    return placed;
}
