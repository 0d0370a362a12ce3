// The player's profile: defaults, campaign progress and the key/value profile file
// "Players\<name>\<name>.DATA".
#include <algorithm>
#include <iterator>
#include <string_view>

#include "core/Debugger.h"
#include "core/FileStream.h"
#include "core/Stream.h"
#include "core/TextTable.h"
#include "game/Player.h"
#include "platform/sys/Paths.h"

namespace {

// Items every new player has at the basic level: the first windows, the play, pause and
// exit controls, the basic paint tools, the first fire action, three weapons and the
// small chassis with its upgrades.
constexpr int32_t kStartingRanges[][2] = {{0, 4}, {7, 7}, {9, 10}, {21, 32}, {38, 45}, {93, 93}, {99, 101}, {111, 114}};

void Log(const String& text) { Debugger::Instance().Line(text.CStr()); }

std::string_view View(const String& s) { return {s.CStr(), static_cast<size_t>(s.CharCount())}; }

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

String Trimmed(const String& text) {
    int first = 0;
    int last = text.CharCount();
    while (first < last && IsBlank(text[first])) ++first;
    while (last > first && IsBlank(text[last - 1])) --last;
    return text.Substring(first, last - first);
}

// Text values take the rest of the line: a name with blanks stays one value.
String ReadTextValue(Stream& stream) {
    String line;
    String::ReadLine(stream, line);
    return Trimmed(line);
}

int32_t ReadInt(Stream& stream, int32_t fallback) {
    int32_t value = fallback;
    stream >> value;
    return stream.HasError() ? fallback : value;
}

bool ReadFlag(Stream& stream, bool fallback) { return ReadInt(stream, fallback ? 1 : 0) != 0; }

}  // namespace

void Player::Init() {
    name = GetLanguageText("NoPlayerName");
    squadsInUse = -1;
    SetServerName(String());
    serverLaunchDelay = 30;
    serverMeteorDelay = 20;
    serverMaxSquadCount = 1;
    serverBudget = 1000;
    serverGameRules = 0;
    serverGoalCount = 4;
    serverBallCount = 1;
    serverNetCount = 1;
    serverGameTimer = 60;
    serverVipCount = 1;
    serverBoostCount = 0;
    serverWeaponsAllowed = true;
    serverScenarioName = GetLanguageText("NoScenarioName");
    serverClientServerIp = GetLanguageText("<ServerIP>");
    Reset();
}

void Player::Reset() {
    missionMapTutorial = false;
    maxMission = 0;
    missionWins.assign(1, 0);
    lastMission = -1;
    lastMissionTries = 0;
    replayMission = -1;
    replayMissionTries = 0;
    seenWinningMovie = false;
    boosts = 0;
    lending_ = false;
    std::fill(std::begin(upgradeLevels), std::end(upgradeLevels), -1);
    for (const auto& range : kStartingRanges) {
        for (int32_t item = range[0]; item <= range[1]; ++item) upgradeLevels[item] = 0;
    }
}

void Player::SetName(const String& playerName) {
    name = playerName;
    SetServerName(String());
}

void Player::SetServerName(const String& text) { serverName = text.IsEmpty() ? name + "Server" : text; }

bool Player::HasName() const { return name != GetLanguageText("NoPlayerName"); }

String Player::GetFilePath() const { return "Players\\" + name + "\\" + name + ".DATA"; }

void Player::ClearSquads() {
    for (Squad& squad : squads) squad.DestroyMembers();
}

void Player::RecordMissionWin(int32_t mission) {
    if (mission == -1) {
        missionMapTutorial = true;
        Save();
        return;
    }
    if (mission < 0 || mission >= kMaxMissionWins) return;
    if (static_cast<int32_t>(missionWins.size()) <= mission) missionWins.resize(mission + 1, 0);
    missionWins[mission] = 1;
    if (std::all_of(missionWins.begin(), missionWins.end(), [](uint8_t won) { return won != 0; })) {
        maxMission = static_cast<int32_t>(missionWins.size());
        missionWins.push_back(0);
    }
    maxMission = std::max(maxMission, mission);
    Save();
}

void Player::Write(Stream& stream) const {
    // While levels are lent, the profile keeps the player's own.
    const int32_t* levels = lending_ ? savedUpgradeLevels : upgradeLevels;
    stream << "Name " << name << Endl;
    stream << "MissionMapTutorial " << (missionMapTutorial ? 1 : 0) << Endl;
    stream << "MaxMission " << maxMission << Endl;
    stream << "MissionWins " << static_cast<int32_t>(missionWins.size()) << Endl;
    if (!missionWins.empty()) {
        for (size_t i = 0; i < missionWins.size(); ++i) stream << (i > 0 ? " " : "") << (missionWins[i] ? 1 : 0);
        stream << Endl;
    }
    stream << "LastMission " << lastMission << Endl;
    stream << "LastMissionTries " << lastMissionTries << Endl;
    stream << "ReplayMission " << replayMission << Endl;
    stream << "ReplayMissionTries " << replayMissionTries << Endl;
    stream << "SeenWinningMovie " << (seenWinningMovie ? 1 : 0) << Endl;
    stream << "PrimaryColor ";
    primaryColor.WriteText(stream);
    stream << Endl << "TrimColor ";
    trimColor.WriteText(stream);
    stream << Endl << "Boosts " << boosts << Endl;
    for (int32_t item = 0; item < kUpgradeItemCount; ++item) {
        stream << GetUpgradeItem(item).key << " " << levels[item] << Endl;
    }
    stream << "ServerName " << serverName << Endl;
    stream << "ServerLaunchDelay " << serverLaunchDelay << Endl;
    stream << "ServerMeteorDelay " << serverMeteorDelay << Endl;
    stream << "ServerGoalCount " << serverGoalCount << Endl;
    stream << "ServerBallCount " << serverBallCount << Endl;
    stream << "ServerNetCount " << serverNetCount << Endl;
    stream << "ServerVIPCount " << serverVipCount << Endl;
    stream << "ServerBoostCount " << serverBoostCount << Endl;
    stream << "ServerWeaponsAllowed " << (serverWeaponsAllowed ? 1 : 0) << Endl;
    stream << "ServerGameTimer " << serverGameTimer << Endl;
    stream << "ServerMaxSquadCount " << serverMaxSquadCount << Endl;
    stream << "ServerBudget " << serverBudget << Endl;
    stream << "ServerScenarioName " << serverScenarioName << Endl;
    stream << "ServerClientServerIP " << serverClientServerIp << Endl;
    stream << "ServerGameRules " << serverGameRules << Endl;
    stream << "End" << Endl;
}

void Player::ReadMissionWins(Stream& stream) {
    const int32_t count = std::clamp(ReadInt(stream, 0), 0, kMaxMissionWins);
    missionWins.clear();
    for (int32_t i = 0; i < count; ++i) {
        int32_t flag = 0;
        stream >> flag;
        if (stream.HasError()) return;
        missionWins.push_back(flag != 0 ? 1 : 0);
    }
}

void Player::ReadValue(const String& key, Stream& stream) {
    struct IntField {
        const char* key;
        int32_t Player::*field;
        int32_t lowest;
    };
    static const IntField kIntFields[] = {
        {"MaxMission", &Player::maxMission, 0},
        {"LastMission", &Player::lastMission, -1},
        {"LastMissionTries", &Player::lastMissionTries, 0},
        {"ReplayMission", &Player::replayMission, -1},
        {"ReplayMissionTries", &Player::replayMissionTries, 0},
        {"Boosts", &Player::boosts, 0},
        {"ServerLaunchDelay", &Player::serverLaunchDelay, 0},
        {"ServerGameRules", &Player::serverGameRules, 0},
        {"ServerMeteorDelay", &Player::serverMeteorDelay, 0},
        {"ServerGoalCount", &Player::serverGoalCount, 0},
        {"ServerBallCount", &Player::serverBallCount, 0},
        {"ServerNetCount", &Player::serverNetCount, 0},
        {"ServerVIPCount", &Player::serverVipCount, 0},
        {"ServerBoostCount", &Player::serverBoostCount, 0},
        {"ServerGameTimer", &Player::serverGameTimer, 0},
        {"ServerMaxSquadCount", &Player::serverMaxSquadCount, 0},
        {"ServerBudget", &Player::serverBudget, 0},
    };
    for (const IntField& field : kIntFields) {
        if (key == field.key) {
            this->*field.field = std::max(ReadInt(stream, this->*field.field), field.lowest);
            return;
        }
    }
    if (key == "Name") {
        SetName(ReadTextValue(stream));
    } else if (key == "MissionMapTutorial") {
        missionMapTutorial = ReadFlag(stream, missionMapTutorial);
    } else if (key == "SeenWinningMovie") {
        seenWinningMovie = ReadFlag(stream, seenWinningMovie);
    } else if (key == "ServerWeaponsAllowed") {
        serverWeaponsAllowed = ReadFlag(stream, serverWeaponsAllowed);
    } else if (key == "MissionWins") {
        ReadMissionWins(stream);
    } else if (key == "HeadColor" || key == "PrimaryColor") {
        primaryColor.ReadText(stream);
    } else if (key == "BodyColor" || key == "TrimColor") {
        trimColor.ReadText(stream);
    } else if (key == "Credits") {
        ReadInt(stream, 0);
    } else if (key == "ServerName") {
        SetServerName(ReadTextValue(stream));
    } else if (key == "ServerScenarioName") {
        serverScenarioName = ReadTextValue(stream);
    } else if (key == "ServerClientServerIP") {
        serverClientServerIp = ReadTextValue(stream);
    } else if (const int32_t item = FindUpgradeItem(key); item >= 0 && GetUpgradeItem(item).key == key) {
        SetUpgradeLevel(item, ReadInt(stream, upgradeLevels[item]));
    }
}

void Player::Read(Stream& stream) {
    Init();
    String key;
    while (!stream.HasError()) {
        String::ReadToken(stream, key);
        if (key.IsEmpty() || key == "End") break;
        ReadValue(key, stream);
    }
}

bool Player::Save() const {
    if (!HasName()) return false;
    if (!sys::IsSafeName(View(name))) {
        Log("Profile not saved: the name \"" + name + "\" cannot be a file name");
        return false;
    }
    const String path = GetFilePath();
    FileStream file(View(path), "w");
    if (file.IsOpen()) {
        Write(file);
        file << Endl;
        if (file.Commit()) return true;
    }
    Log("Profile not saved: " + path);
    return false;
}

bool Player::Load() {
    if (!sys::IsSafeName(View(name))) return false;
    const String folderName = name;
    FileStream file(View(GetFilePath()), "r");
    if (!file.IsOpen() || file.AtEnd()) return false;
    Read(file);
    // A stored name that cannot be a file name could never be saved again: the profile
    // takes its folder's name instead.
    if (!sys::IsSafeName(View(name))) {
        Log("Profile name \"" + name + "\" cannot be a file name: the profile is called " + folderName);
        name = folderName;
    }
    RebuildVornIcon(false);
    return true;
}
