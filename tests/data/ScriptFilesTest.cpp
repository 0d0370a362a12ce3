// The campaign, missions, lessons and scenes of the data set, checked for what their
// readers rely on: every name they use exists (scenario, unit, squad, window, event,
// actor kind, sound, speech clip), every mission sets what would otherwise carry over
// from the one before, and every scene ends by itself.
#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "DataFolder.h"
#include "core/Array.h"
#include "core/String.h"
#include "platform/sys/Paths.h"

namespace {

using data_test::DataRoot;
using data_test::EqualsNoCase;
using data_test::Lines;
using data_test::ReadWhole;
using data_test::Words;

bool Exists(const std::filesystem::path& relative) { return std::filesystem::exists(DataRoot() / relative); }

bool IsComment(const std::vector<std::string>& words) { return words.empty() || words[0].rfind("//", 0) == 0; }

// Speech clips with their spoken words, one "name<TAB>text" line each.
std::map<std::string, std::string> SpeechLines() {
    std::map<std::string, std::string> clips;
    for (const std::string& line : Lines(ReadWhole(DataRoot() / "Speech" / "lines.txt"))) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        const size_t tab = line.find('\t');
        EXPECT_NE(tab, std::string::npos) << line;
        if (tab != std::string::npos) {
            clips[line.substr(0, tab)] = line.substr(tab + 1);
        }
    }
    return clips;
}

TEST(DataSpeech, ClipNamesAreSafeAndEveryClipHasWords) {
    const auto clips = SpeechLines();
    for (const char* fixed : {"PressTheSpaceBar", "RewardedOneBoost", "RewardedMultipleBoosts", "Vorns"}) {
        EXPECT_EQ(clips.count(fixed), 1u) << fixed;
    }
    for (const auto& [clip, words] : clips) {
        EXPECT_TRUE(sys::IsSafeName(clip)) << clip;
        EXPECT_FALSE(Words(words).empty()) << clip;
    }
}

// A campaign line as the reader splits it: blanks part words, double quotes hold them.
std::vector<std::string> CampaignWords(const std::string& line) {
    StringArray parts;
    String::Split(line.c_str(), parts, ' ', '"');
    std::vector<std::string> words;
    for (int i = 0; i < parts.Count(); ++i) {
        words.emplace_back(parts[i].CStr());
    }
    return words;
}

struct CampaignEntry {
    std::string name;
    bool tutorial = false;
};

std::vector<CampaignEntry> CampaignEntries() {
    std::vector<CampaignEntry> entries;
    bool starSeen = false;
    for (const std::string& line : Lines(ReadWhole(DataRoot() / "Missions" / "English" / "MissionMap.txt"))) {
        const auto words = CampaignWords(line);
        if (IsComment(words)) {
            continue;
        }
        EXPECT_EQ(words.size(), 2u) << "ignored: " << line;
        if (EqualsNoCase(words[0], "Star")) {
            starSeen = true;
        } else if (!EqualsNoCase(words[0], "Planet")) {
            EXPECT_TRUE(starSeen) << "entry before the first star: " << line;
            const std::string& name = words[0];
            const bool tutorial =
                name.size() > 8 && EqualsNoCase(name.substr(name.size() - 8), "Tutorial");
            entries.push_back({tutorial ? name.substr(0, name.size() - 8) : name, tutorial});
        }
    }
    return entries;
}

struct MissionText {
    std::map<std::string, std::vector<std::string>> settings;  // top-level keyword -> its words
    std::vector<std::string> clips;
    std::vector<std::string> legalWeapons;
    std::vector<std::string> giftUnits;
    int blocks = 0;
    bool closed = true;
};

// Top-level lines and the lines of the text, weapon and upgrade blocks.
MissionText ReadMission(const std::string& name) {
    MissionText mission;
    enum class State { Top, Text, Weapons, Upgrades } state = State::Top;
    for (const std::string& line : Lines(ReadWhole(DataRoot() / "Missions" / "English" / (name + ".MIS")))) {
        const auto words = Words(line);
        if (IsComment(words)) {
            continue;
        }
        const bool end = words.size() == 1 && EqualsNoCase(words[0], "End");
        if (state == State::Text) {
            if (words[0] == "<S>" && words.size() >= 2) {
                mission.clips.push_back(words[1]);
            }
            state = end ? State::Top : state;
        } else if (state == State::Weapons || state == State::Upgrades) {
            if (end) {
                state = State::Top;
            } else if (state == State::Weapons) {
                mission.legalWeapons.push_back(words[0]);
            } else if (words.size() >= 2) {
                mission.giftUnits.push_back(words[1]);
            }
        } else if (words[0] == "Text" || words[0] == "WinningText" || words[0] == "LosingText") {
            state = State::Text;
            ++mission.blocks;
        } else if (words[0] == "LegalWeapons") {
            state = State::Weapons;
        } else if (words[0] == "Upgrades") {
            state = State::Upgrades;
        } else {
            mission.settings[words[0]] = std::vector<std::string>(words.begin() + 1, words.end());
        }
    }
    mission.closed = state == State::Top;
    return mission;
}

const std::set<std::string>& GoalKinds() {
    static const std::set<std::string> kinds = {
        "NoGoal",       "Survive",    "DestroyAllEnemies", "ReachBeacon",          "VIPReachBeacon", "RaceToBeacon",
        "PreventReachBeacon", "SaveVIP", "SaveVIPEnemy",   "DestroyAllVIPEnemies", "ReachApex",      "Soccer"};
    return kinds;
}

TEST(DataCampaign, EveryEntryHasItsMissionOrLessonAndAllGoalKindsAppear) {
    const auto entries = CampaignEntries();
    ASSERT_GE(entries.size(), 12u);
    std::set<std::string> goals;
    for (const CampaignEntry& entry : entries) {
        if (entry.tutorial) {
            EXPECT_TRUE(Exists("Tutorials/English/" + entry.name + ".TUT")) << entry.name;
            continue;
        }
        ASSERT_TRUE(Exists("Missions/English/" + entry.name + ".MIS")) << entry.name;
        goals.insert(ReadMission(entry.name).settings["Goal"].at(0));
    }
    EXPECT_EQ(goals, GoalKinds());
    EXPECT_TRUE(Exists("Tutorials/English/MissionMap.TUT"));
}

// Values left out carry over from the mission played before, so every file sets them.
TEST(DataCampaign, EveryMissionSetsItsOwnRulesAndNamesWhatExists) {
    const auto speech = SpeechLines();
    const std::set<std::string> weapons = {"Laser",  "ShrapnelGun", "Explosive",  "Flamethrower",
                                           "Propeller", "BeaconSetter", "MissileLauncher", "StaticFieldGenerator",
                                           "GooFieldGenerator", "HealthFieldGenerator", "VornLauncher", "Kicker"};
    for (const std::string& name : data_test::Titles("Missions/English", ".MIS")) {
        SCOPED_TRACE(name);
        MissionText mission = ReadMission(name);
        EXPECT_TRUE(mission.closed) << "a block runs to the end of the file";
        for (const char* key : {"Goal", "Scenario", "MaxSquadCount", "Meteors", "Budget"}) {
            EXPECT_FALSE(mission.settings[key].empty()) << key;
        }
        ASSERT_FALSE(mission.settings["Goal"].empty());
        EXPECT_EQ(GoalKinds().count(mission.settings["Goal"][0]), 1u);
        ASSERT_FALSE(mission.settings["Scenario"].empty());
        EXPECT_TRUE(Exists("Scenarios/" + mission.settings["Scenario"][0] + ".SCN"));
        const int squads = std::stoi(mission.settings["MaxSquadCount"].at(0));
        EXPECT_TRUE(squads >= 1 && squads <= 4) << squads;
        EXPECT_GE(mission.blocks, 3) << "briefing, winning and losing texts";
        for (const std::string& clip : mission.clips) {
            EXPECT_EQ(speech.count(clip), 1u) << "speech " << clip;
        }
        for (const std::string& weapon : mission.legalWeapons) {
            EXPECT_EQ(weapons.count(weapon), 1u) << weapon;
        }
        for (const std::string& unit : mission.giftUnits) {
            EXPECT_TRUE(Exists("Vorns/" + unit + ".VRN")) << unit;
        }
    }
}

// What a scenario holds, as far as mission goals care.
struct ScenarioContents {
    struct Unit {
        std::string name;
        bool enemy = false;
        bool vip = false;
    };
    std::vector<Unit> units;
    int trees = 0;
    int balls = 0;
    std::set<int> goalSides;
    int flyByPoints = 0;
    float worldWidth = 0.0f;
    float highest = -100.0f;

    int Count(bool enemy, bool vip) const {
        int n = 0;
        for (const Unit& unit : units) {
            n += (unit.enemy == enemy && (!vip || unit.vip)) ? 1 : 0;
        }
        return n;
    }
    bool Has(const std::string& name, bool enemy) const {
        for (const Unit& unit : units) {
            if (unit.name == name && unit.enemy == enemy) {
                return true;
            }
        }
        return false;
    }
};

// Terrain cells are a type letter, a variant letter and a height run together.
float CellHeight(const std::string& cell) { return cell.size() > 2 ? std::stof(cell.substr(2)) : 0.0f; }

ScenarioContents ReadScenarioContents(const std::string& name) {
    ScenarioContents contents;
    const auto lines = Lines(ReadWhole(DataRoot() / "Scenarios" / (name + ".SCN")));
    const auto size = Words(lines.at(3));
    contents.worldWidth = std::stof(size.at(2)) * 10.0f;
    for (size_t row = 4; row < lines.size() && lines[row] != "]"; ++row) {
        for (const std::string& cell : Words(lines[row])) {
            contents.highest = std::max(contents.highest, CellHeight(cell));
        }
    }
    std::string kind;
    ScenarioContents::Unit unit;
    int side = 0;
    for (const std::string& line : lines) {
        const auto words = Words(line);
        if (words.empty()) {
            continue;
        }
        if (words[0] == "VIP") {
            unit.vip = true;
        } else if (words[0] == "Type" && words.size() == 2) {
            kind = words[1];
        } else if (words[0] == "Name" && words.size() == 2) {
            unit.name = words[1];
        } else if (words[0] == "Player" && words.size() == 2) {
            unit.enemy = words[1] == "#AI";
            side = words[1] == "1" ? 1 : 0;
        } else if (words[0] == "FlyByPoints") {
            contents.flyByPoints = std::stoi(words.at(1));
        } else if (words[0] == "End") {
            contents.trees += kind == "Tree" ? 1 : 0;
            contents.balls += kind == "SoccerBall" ? 1 : 0;
            if (kind == "Goal") {
                contents.goalSides.insert(side);
            }
            if (kind == "Vorn") {
                contents.units.push_back(unit);
            }
            kind.clear();
            unit = {};
        }
    }
    return contents;
}

// Each goal is decided by things on the field: a mission whose scenario lacks them can
// never be won (or is won before it starts).
void ExpectScenarioServesGoal(const std::vector<std::string>& goal, const ScenarioContents& field) {
    const std::string& kind = goal.at(0);
    const auto after = [&goal](const char* word) {
        for (size_t i = 1; i + 1 < goal.size(); ++i) {
            if (goal[i] == word) {
                return goal[i + 1];
            }
        }
        return std::string();
    };
    if (kind != "NoGoal" && kind != "ReachBeacon" && kind != "VIPReachBeacon" && kind != "ReachApex" &&
        kind != "Soccer") {
        EXPECT_GT(field.Count(true, false), 0) << "no enemy";
    }
    if (!after("SaveVorn").empty()) {
        EXPECT_TRUE(field.Has(after("SaveVorn"), false)) << "no own unit " << after("SaveVorn");
    }
    if (!after("DestroyVorn").empty()) {
        EXPECT_TRUE(field.Has(after("DestroyVorn"), true)) << "no enemy " << after("DestroyVorn");
    }
    if (std::find(goal.begin(), goal.end(), "SaveTrees") != goal.end()) {
        EXPECT_GT(field.trees, 0);
    }
    if (!after("Position").empty()) {
        const float x = std::stof(after("Position"));
        EXPECT_TRUE(x >= 0.0f && x < field.worldWidth) << "beacon off the field";
    }
    if (kind == "VIPReachBeacon" || kind == "SaveVIP") {
        EXPECT_GT(field.Count(false, true), 0) << "no own VIP";
    }
    if (kind == "SaveVIPEnemy" || kind == "DestroyAllVIPEnemies") {
        EXPECT_GT(field.Count(true, true), 0) << "no enemy VIP";
    }
    if (kind == "SaveVIPEnemy") {
        EXPECT_GT(field.Count(true, false), field.Count(true, true)) << "won before it starts";
    }
    if (kind == "ReachApex") {
        EXPECT_GE(field.highest, 10.0f) << "no hill to climb";
    }
    if (kind == "Soccer") {
        EXPECT_EQ(field.goalSides, (std::set<int>{0, 1}));
        EXPECT_GT(field.balls, 0);
    }
}

TEST(DataCampaign, EveryMissionScenarioHoldsWhatItsGoalNeeds) {
    for (const std::string& name : data_test::Titles("Missions/English", ".MIS")) {
        SCOPED_TRACE(name);
        MissionText mission = ReadMission(name);
        const ScenarioContents field = ReadScenarioContents(mission.settings["Scenario"].at(0));
        ExpectScenarioServesGoal(mission.settings["Goal"], field);
        if (mission.settings.count("DrawFlyBy") != 0) {
            EXPECT_GE(field.flyByPoints, 2) << "the briefing flies along these";
        }
    }
}

// What a lesson names: windows at start and in steps, events, copied files, clips.
TEST(DataTutorials, NameOnlyExistingWindowsEventsFilesAndClips) {
    const auto windows = data_test::NameList("WindowNames.txt");
    const auto events = data_test::NameList("EventNames.txt");
    const auto speech = SpeechLines();
    for (const std::string& name : data_test::Titles("Tutorials/English", ".TUT")) {
        SCOPED_TRACE(name);
        enum class State { Top, Windows, Vorns, Squads, Stage, Text, Events } state = State::Top;
        int stages = 0;
        for (const std::string& line : Lines(ReadWhole(DataRoot() / "Tutorials" / "English" / (name + ".TUT")))) {
            auto words = Words(line);
            if (IsComment(words)) {
                continue;
            }
            const bool end = EqualsNoCase(words[0], "End");
            switch (state) {
            case State::Top:
                if (words[0] == "Windows") state = State::Windows;
                if (words[0] == "Vorns") state = State::Vorns;
                if (words[0] == "Squads") state = State::Squads;
                if (words[0] == "Stage") {
                    state = State::Stage;
                    ++stages;
                }
                if (words[0] == "Scenario") {
                    EXPECT_TRUE(Exists("Scenarios/" + words.at(1) + ".SCN")) << line;
                }
                if (words[0] == "CloseWindow") {
                    EXPECT_EQ(windows.count(words.at(1)), 1u) << line;
                }
                break;
            case State::Windows:
                if (!end) {
                    EXPECT_EQ(windows.count(words[0]), 1u) << line;
                }
                break;
            case State::Vorns:
                if (!end) {
                    EXPECT_TRUE(Exists("Vorns/" + words[0] + ".VRN")) << line;
                }
                break;
            case State::Squads:
                if (!end) {
                    EXPECT_TRUE(Exists("Squads/" + words[0] + ".SQD")) << line;
                }
                break;
            case State::Stage:
                if (words[0] == "Highlight") {
                    EXPECT_EQ(windows.count(words.at(1)), 1u) << line;
                }
                if (words[0] == "TextBox") state = State::Text;
                if (words[0] == "Events") state = State::Events;
                break;
            case State::Text:
                if (words[0] == "<S>") {
                    EXPECT_EQ(speech.count(words.at(1)), 1u) << line;
                }
                break;
            case State::Events:
                if (!end) {
                    const bool required = words[0] == "Require";
                    if (required || words[0] == "OrRequire") {
                        words.erase(words.begin());
                    }
                    const bool group = words.at(0) == "MoveCamera" || words[0] == "MoveCameraNoFollow";
                    // "Require" on a camera group would demand every kind of camera move.
                    EXPECT_FALSE(group && required) << line;
                    if (!group) {
                        EXPECT_EQ(windows.count(words.at(0)), 1u) << line;
                        EXPECT_EQ(events.count(words.at(1)), 1u) << line;
                    }
                }
                break;
            }
            if (end) {
                state = (state == State::Text || state == State::Events) ? State::Stage : State::Top;
            }
        }
        EXPECT_EQ(state, State::Top) << "a block is not closed";
        EXPECT_GT(stages, 0) << "a lesson without steps ends at once";
    }
}

// The scene kinds by name; an unknown name builds nothing and never shows.
const std::set<std::string>& ActorKinds() {
    static const std::set<std::string> kinds = {
        "RobotSmallVorn", "RobotMediumVorn", "RobotLargeVorn", "StalkSmallVorn", "StalkMediumVorn",
        "StalkLargeVorn", "Professor",       "Missile",        "Rock",           "PalmTree",
        "PineTree",       "OakTree",         "Cactus",         "Earth",          "WormHole",
        "Bunny",          "Cloud",           "LaserBeam",      "Debris",         "Explosion",
        "Mountain",       "SpaceBunny",      "Mesa",           "Computer",       "SoccerBall"};
    return kinds;
}

TEST(DataScenes, EveryScreenSceneExistsAndEveryKindAppears) {
    for (const std::string& name : data_test::NameList("SceneNames.txt")) {
        EXPECT_TRUE(Exists("Scenes/English/" + name + ".SCE")) << name;
    }
    std::set<std::string> used;
    for (const std::string& name : data_test::Titles("Scenes/English", ".SCE")) {
        for (const std::string& line : Lines(ReadWhole(DataRoot() / "Scenes" / "English" / (name + ".SCE")))) {
            const auto words = Words(line);
            if (words.size() == 3 && words[0] == "Actor") used.insert(words[1]);
        }
    }
    EXPECT_EQ(used, ActorKinds());
}

// The poses each body model carries, by track: a scene may play only these.
const std::map<std::string, std::map<std::string, std::string>>& ModelPoses() {
    static const auto poses = [] {
        const std::map<std::string, std::vector<std::pair<const char*, const char*>>> lists = {
            {"RobotSmallVorn",
             {{"Idle", "HeadbobIdle GunTwirl QuickLook RockingIdle"},
              {"Victory", "JumpDance JumpTwirl VictoryJump VictoryTilt"},
              {"SimpleVictory", "Twirl Tilt TwirlAndBow Kicker"},
              {"Defeat", "ShakeHead ShakeHeadLow HeadDroop Sad"},
              {"Walk", "Walk Walk2 Walk3 Walk4 WalkTwirl"}}},
            {"RobotMediumVorn",
             {{"Idle", "JumpingJacks StretchIdle Stretch2Idle HeadTwist"},
              {"Victory", "VictoryCheer VictoryWave VictoryJump VictoryDrum"},
              {"Defeat", "ShakeHead LookToTheSky Sag SagAndShake"},
              {"Walk", "Walk Walk2 Walk3 Walk4"}}},
            {"RobotLargeVorn",
             {{"Idle", "JumpingJacks Stretch ToeTouch 360"},
              {"Victory", "VictoryPump VictoryPointing VictoryJump VictoryWhirly"},
              {"Defeat", "Hide SagAndShake WhyMe LookSkyward"},
              {"Walk", "Walk Walk2 Walk3 Walk4"}}},
            {"StalkSmallVorn",
             {{"Idle", "TwirlGunIdle IdleBackAndForth IdleMoreMoreMore LookAround"},
              {"Victory", "JumpDance BackAndForthYay WooHoo Bow"},
              {"Defeat", "SagAndShake Sag SagToSide Embarrassed"},
              {"Walk", "Walk Walk2 Walk3 Walk4"}}},
            {"StalkMediumVorn",
             {{"Idle", "TwistIdle LookAroundIdle RockingIdle ScrunchIdle"},
              {"Victory", "RahRah GunTwirl BackAndForth Jump"},
              {"Defeat", "Sag Collapse SagAndShake DrunkDrop"},
              {"Walk", "Walk Walk2 Walk3 Walk4"}}},
            {"StalkLargeVorn",
             {{"Idle", "LookIdle WaveIdle JumpingJacksIdle BackAndForthIdle"},
              {"Victory", "Jump Wave Wobble Dizzy"},
              {"Defeat", "Sag Splat Shake PeelAway"},
              {"Walk", "Walk Walk2 Walk3 Walk4"}}},
            {"Professor",
             {{"Idle", "IdleGlasses IdleNosePick LookAround SideToSideStretch TapFoot LookUpAndAround "
                       "LookDownAndRight"}}}};
        std::map<std::string, std::map<std::string, std::string>> byKind;
        for (const auto& [kind, tracks] : lists) {
            byKind[kind]["Idle"] = "Idle";
            for (const auto& [track, names] : tracks) {
                for (const std::string& pose : Words(names)) {
                    byKind[kind][pose] = track;
                }
            }
        }
        return byKind;
    }();
    return poses;
}

// Screens wait for a scene to finish before they start the next, so every step has a
// time; directions, camera targets, cues and speech name what exists.
TEST(DataScenes, StepsEndByTimeAndNameOnlyActorsSoundsAndClips) {
    const auto sounds = data_test::NameList("SoundNames.txt");
    const auto speech = SpeechLines();
    const std::set<std::string> backgrounds = {"Stage", "Space", "City", "Desert", "Lab"};
    for (const std::string& name : data_test::Titles("Scenes/English", ".SCE")) {
        SCOPED_TRACE(name);
        enum class State { Top, Step, Camera, Text, Direction } state = State::Top;
        std::map<std::string, std::string> actors;
        std::string directed;
        bool timed = true;
        int steps = 0;
        for (const std::string& line : Lines(ReadWhole(DataRoot() / "Scenes" / "English" / (name + ".SCE")))) {
            const auto words = Words(line);
            if (IsComment(words)) {
                continue;
            }
            const bool end = words.size() == 1 && EqualsNoCase(words[0], "End");
            switch (state) {
            case State::Top:
                if (words[0] == "Background") {
                    EXPECT_EQ(backgrounds.count(words.at(1)), 1u) << line;
                }
                if (words[0] == "Actor") {
                    EXPECT_EQ(ActorKinds().count(words.at(1)), 1u) << line;
                    actors[words.at(2)] = words[1];
                }
                if (words[0] == "LinkScene") {
                    EXPECT_TRUE(Exists("Scenes/English/" + words.at(1) + ".SCE")) << line;
                }
                if (words[0] == "Stage") {
                    EXPECT_TRUE(timed) << "step " << steps << " has no time";
                    state = State::Step;
                    timed = false;
                    ++steps;
                }
                break;
            case State::Step:
                if (end) {
                    state = State::Top;
                } else if (words[0] == "Time") {
                    timed = std::stof(words.at(1)) > 0.0f;
                } else if (words[0] == "Camera") {
                    state = State::Camera;
                } else if (words[0] == "Text") {
                    state = State::Text;
                } else {
                    EXPECT_EQ(actors.count(words[0]), 1u) << "direction for " << words[0];
                    directed = actors[words[0]];
                    state = State::Direction;
                }
                break;
            case State::Camera:
                if (words[0].rfind("LookAtActor", 0) == 0) {
                    EXPECT_EQ(actors.count(words.at(1)), 1u) << line;
                }
                state = end ? State::Step : state;
                break;
            case State::Direction:
                if (words[0].rfind("Animation", 0) == 0 && ModelPoses().count(directed) != 0) {
                    const auto& poses = ModelPoses().at(directed);
                    const auto pose = poses.find(words.at(1));
                    ASSERT_TRUE(pose != poses.end()) << directed << " has no pose " << words[1];
                    EXPECT_EQ(words.at(2), pose->second) << line;
                }
                state = end ? State::Step : state;
                break;
            case State::Text:
                if (words.size() == 3 && words[0] == "<S>") {
                    EXPECT_EQ(sounds.count(words[2] + ".ogg"), 1u) << line;
                }
                if (words.size() == 2 && (words[0] == "<SS>" || words[0] == "<SSNB>")) {
                    EXPECT_EQ(speech.count(words[1]), 1u) << line;
                }
                if (end) state = State::Step;
                break;
            }
        }
        EXPECT_EQ(state, State::Top) << "a block is not closed";
        EXPECT_TRUE(timed && steps > 0);
    }
}

}  // namespace
