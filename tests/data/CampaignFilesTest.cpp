// The campaign and its missions, checked for what the mission reader relies on: every
// entry has its file, every mission sets what would otherwise carry over from the one
// before, names only what exists, and is played on a field that holds what its goal
// is decided by.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <map>
#include <regex>
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
using data_test::Exists;
using data_test::IsComment;
using data_test::Lines;
using data_test::ReadWhole;
using data_test::SpeechLines;
using data_test::Words;

TEST(DataSpeech, EveryLineNamesASafeClipAndItsWords) {
    for (const std::string& line : Lines(ReadWhole(DataRoot() / "Speech" / "lines.txt"))) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        const size_t tab = line.find('\t');
        ASSERT_NE(tab, std::string::npos) << line;
        EXPECT_TRUE(sys::IsSafeName(line.substr(0, tab))) << line;
        EXPECT_FALSE(Words(line.substr(tab + 1)).empty()) << line;
    }
    const auto clips = SpeechLines();
    for (const char* fixed : {"PressTheSpaceBar", "RewardedOneBoost", "RewardedMultipleBoosts", "Vorns"}) {
        EXPECT_EQ(clips.count(fixed), 1u) << fixed;
    }
}

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
            const bool tutorial = name.size() > 8 && EqualsNoCase(name.substr(name.size() - 8), "Tutorial");
            entries.push_back({tutorial ? name.substr(0, name.size() - 8) : name, tutorial});
        }
    }
    return entries;
}

// The missions fought for a goal; a lesson's file holds only its briefing.
std::vector<std::string> GoalMissions() {
    std::vector<std::string> missions;
    for (const std::string& name : data_test::Titles("Missions/English", ".MIS")) {
        if (name.size() <= 8 || !EqualsNoCase(name.substr(name.size() - 8), "Tutorial")) missions.push_back(name);
    }
    return missions;
}

struct MissionText {
    std::map<std::string, std::vector<std::string>> settings;  // top-level keyword -> its words
    std::vector<std::string> clips;
    std::vector<std::string> losingClips;
    std::vector<std::string> legalWeapons;
    std::vector<std::string> giftUnits;
    std::vector<std::string> pages;  // the words of each page of every text block
    int blocks = 0;
    bool closed = true;
};

// Top-level lines and the lines of the text, weapon and upgrade blocks.
MissionText ReadMission(const std::string& name) {
    MissionText mission;
    enum class State { Top, Text, Weapons, Upgrades } state = State::Top;
    bool losing = false;
    for (const std::string& line : Lines(ReadWhole(DataRoot() / "Missions" / "English" / (name + ".MIS")))) {
        const auto words = Words(line);
        if (IsComment(words)) {
            continue;
        }
        const bool end = words.size() == 1 && EqualsNoCase(words[0], "End");
        if (state == State::Text) {
            if (words[0] == "<S>" && words.size() >= 2) {
                mission.clips.push_back(words[1]);
                if (losing) mission.losingClips.push_back(words[1]);
                mission.pages.emplace_back();
            } else if (!end && words[0] != "<P>" && words[0] != "<BR>") {
                if (mission.pages.empty()) mission.pages.emplace_back();
                mission.pages.back() += " " + line;
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
            losing = words[0] == "LosingText";
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
    static const std::set<std::string> kinds = {"NoGoal",
                                                "Survive",
                                                "DestroyAllEnemies",
                                                "ReachBeacon",
                                                "VIPReachBeacon",
                                                "RaceToBeacon",
                                                "PreventReachBeacon",
                                                "SaveVIP",
                                                "SaveVIPEnemy",
                                                "DestroyAllVIPEnemies",
                                                "ReachApex",
                                                "Soccer"};
    return kinds;
}

TEST(DataCampaign, EveryEntryHasItsMissionOrLessonAndAllGoalKindsAppear) {
    const auto entries = CampaignEntries();
    ASSERT_GE(entries.size(), 12u);
    std::set<std::string> goals;
    for (const CampaignEntry& entry : entries) {
        if (entry.tutorial) {
            EXPECT_TRUE(Exists("Tutorials/English/" + entry.name + ".TUT")) << entry.name;
            // The map briefs a lesson from its file before the lesson starts.
            EXPECT_TRUE(Exists("Missions/English/" + entry.name + "Tutorial.MIS")) << entry.name;
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
    const std::set<std::string> weapons = {"Laser",
                                           "ShrapnelGun",
                                           "Explosive",
                                           "Flamethrower",
                                           "Propeller",
                                           "BeaconSetter",
                                           "MissileLauncher",
                                           "StaticFieldGenerator",
                                           "GooFieldGenerator",
                                           "HealthFieldGenerator",
                                           "VornLauncher",
                                           "Kicker"};
    for (const std::string& name : GoalMissions()) {
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
        // A battle without a goal mostly ends because the player leaves it, units and all.
        if (mission.settings["Goal"][0] == "NoGoal") {
            for (const std::string& clip : mission.losingClips) {
                const auto words = speech.find(clip);
                EXPECT_TRUE(words != speech.end() && words->second.find("gone") == std::string::npos) << clip;
            }
        }
        for (const std::string& weapon : mission.legalWeapons) {
            EXPECT_EQ(weapons.count(weapon), 1u) << weapon;
        }
        for (const std::string& unit : mission.giftUnits) {
            EXPECT_TRUE(Exists("Vorns/" + unit + ".VRN")) << unit;
        }
    }
}

// A mission lands each squad at a launch point of its field, turned at random: no text
// may ask the player to drop, put or send a squad somewhere, nor to move the Vorns there.
TEST(DataCampaign, MissionTextsAskNoPlaceForTheSquadsTheMissionLands) {
    const std::regex placing(R"(\b(drop|put|place|send|launch|position|move|walk|stand|meet)\b)");
    const std::regex somewhere(
        R"(\b(near|close to|next to|beside|behind|between|ahead of|in front of|both sides|different part|along|on the bridge)\b)");
    const std::regex clauseEnd("[.:;]");
    for (const std::string& name : GoalMissions()) {
        for (const std::string& page : ReadMission(name).pages) {
            std::string lower(page.size(), ' ');
            std::transform(page.begin(), page.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
            // Clause by clause: "your squad lands beside the keeper: launch both" tells, then asks.
            const std::sregex_token_iterator clauses(lower.begin(), lower.end(), clauseEnd, -1);
            for (auto clause = clauses; clause != std::sregex_token_iterator(); ++clause) {
                const std::string text = *clause;
                EXPECT_FALSE(std::regex_search(text, placing) && std::regex_search(text, somewhere))
                    << name << ": \"" << text << "\"";
            }
        }
    }
}

// A ground point of the field.
struct Spot {
    float x = 0.0f;
    float y = 0.0f;
};

// The point of a "Position < x, y, z >" or fly-by "< x, y, z >" line.
Spot SpotIn(const std::string& line) {
    Spot spot;
    std::sscanf(line.c_str() + line.find('<'), "< %f , %f", &spot.x, &spot.y);
    return spot;
}

// What a scenario holds, as far as mission goals and their briefings care.
struct ScenarioContents {
    struct Unit {
        std::string name;
        bool enemy = false;
        bool vip = false;
        Spot at;
    };
    std::vector<Unit> units;
    std::vector<Spot> trees;
    int balls = 0;
    std::set<int> goalSides;
    std::vector<Spot> goals;
    std::vector<Spot> flyBy;
    float worldWidth = 0.0f;
    float highest = -100.0f;
    Spot apex;  // the highest cell's corner

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
        const auto cells = Words(lines[row]);
        for (size_t column = 0; column < cells.size(); ++column) {
            if (CellHeight(cells[column]) <= contents.highest) continue;
            contents.highest = CellHeight(cells[column]);
            contents.apex = {float(column) * 10.0f, float(row - 4) * 10.0f};
        }
    }
    std::string kind;
    ScenarioContents::Unit unit;
    int side = 0;
    bool flyBy = false;
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
        } else if (words[0] == "Position") {
            unit.at = SpotIn(line);
        } else if (words[0] == "FlyByPoints") {
            flyBy = true;
        } else if (flyBy && words[0] == "<") {
            contents.flyBy.push_back(SpotIn(line));
        } else if (words[0] == "End") {
            if (kind == "Tree") {
                contents.trees.push_back(unit.at);
            }
            contents.balls += kind == "SoccerBall" ? 1 : 0;
            if (kind == "Goal") {
                contents.goalSides.insert(side);
                contents.goals.push_back(unit.at);
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

// The word after word on a "Goal" line, or nothing.
std::string GoalWordAfter(const std::vector<std::string>& goal, const char* word) {
    for (size_t i = 1; i + 1 < goal.size(); ++i) {
        if (goal[i] == word) {
            return goal[i + 1];
        }
    }
    return std::string();
}

// Each goal is decided by things on the field: a mission whose scenario lacks them can
// never be won (or is won before it starts).
void ExpectScenarioServesGoal(const std::vector<std::string>& goal, const ScenarioContents& field) {
    const std::string& kind = goal.at(0);
    const auto after = [&goal](const char* word) { return GoalWordAfter(goal, word); };
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
        EXPECT_FALSE(field.trees.empty());
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

// Where a goal is decided, as groups of spots: the beacon, the unit to keep or destroy,
// each VIP of the side the goal names, the trees to save, the enemies to destroy, each
// soccer goal, the summit. Seeing one spot of a group shows the player that part.
std::vector<std::vector<Spot>> GoalPlaces(const std::vector<std::string>& goal, const ScenarioContents& field) {
    const std::string& kind = goal.at(0);
    std::vector<std::vector<Spot>> places;
    const auto position = std::find(goal.begin(), goal.end(), "Position");
    if (goal.end() - position > 2) places.push_back({{std::stof(position[1]), std::stof(position[2])}});
    const auto unitsWhere = [&field](auto chosen) {
        std::vector<Spot> spots;
        for (const ScenarioContents::Unit& unit : field.units) {
            if (chosen(unit)) spots.push_back(unit.at);
        }
        return spots;
    };
    for (const char* key : {"SaveVorn", "DestroyVorn"}) {
        const std::string name = GoalWordAfter(goal, key);
        if (!name.empty()) places.push_back(unitsWhere([&](const auto& unit) { return unit.name == name; }));
    }
    if (std::find(goal.begin(), goal.end(), "SaveTrees") != goal.end()) places.push_back(field.trees);
    if (kind == "DestroyAllEnemies") places.push_back(unitsWhere([](const auto& unit) { return unit.enemy; }));
    const bool enemyVips = kind == "SaveVIPEnemy" || kind == "DestroyAllVIPEnemies";
    if (enemyVips || kind == "SaveVIP" || kind == "VIPReachBeacon") {
        for (const Spot& vip : unitsWhere([&](const auto& unit) { return unit.vip && unit.enemy == enemyVips; })) {
            places.push_back({vip});
        }
    }
    for (const Spot& soccerGoal : field.goals) places.push_back({soccerGoal});
    if (kind == "ReachApex") places.push_back({field.apex});
    return places;
}

TEST(DataCampaign, EveryMissionScenarioHoldsWhatItsGoalNeeds) {
    for (const std::string& name : GoalMissions()) {
        SCOPED_TRACE(name);
        MissionText mission = ReadMission(name);
        const ScenarioContents field = ReadScenarioContents(mission.settings["Scenario"].at(0));
        ExpectScenarioServesGoal(mission.settings["Goal"], field);

        // The briefing shows the battlefield along the fly-by, which passes within 10 units
        // (well inside the picture) of each place the goal is decided at.
        EXPECT_EQ(mission.settings.count("DrawFlyBy"), 1u) << "the briefing shows the battlefield";
        EXPECT_GE(field.flyBy.size(), 2u) << "the briefing flies along these";
        for (const Spot& point : field.flyBy) {
            EXPECT_TRUE(point.x >= 0.0f && point.x < field.worldWidth && point.y >= 0.0f && point.y < field.worldWidth)
                << "fly-by point off the field at " << point.x << ", " << point.y;
        }
        for (const std::vector<Spot>& place : GoalPlaces(mission.settings["Goal"], field)) {
            ASSERT_FALSE(place.empty());
            const bool passed = std::any_of(place.begin(), place.end(), [&field](const Spot& spot) {
                return std::any_of(field.flyBy.begin(), field.flyBy.end(), [&spot](const Spot& point) {
                    return std::hypot(point.x - spot.x, point.y - spot.y) < 10.0f;
                });
            });
            EXPECT_TRUE(passed) << "the fly-by misses the goal's place at " << place[0].x << ", " << place[0].y;
        }
    }
}

}  // namespace
