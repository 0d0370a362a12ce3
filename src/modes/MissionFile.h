#pragma once
// The mission file ".MIS": keyword lines at the top level, text blocks, the weapon list
// and the upgrade list. Lines missing an argument and names no table holds are ignored
// with a line in the log naming the file.
#include <cstdint>

#include "core/Array.h"
#include "core/String.h"
#include "modes/MissionSettings.h"

class Game;
class Player;
class Stream;

class MissionFile {
public:
    // Reads into the settings. The game builds the text pages; the computer player takes
    // the "EnemyUpgrade" levels, copied from the local player where asked.
    MissionFile(MissionSettings& settings, Game& game, Player& local, Player& computer);

    // "Missions\<language>\<name>.MIS"; false (logged) for an unsafe name or a file that
    // cannot be opened, and the settings are then left as they were.
    bool Load(const String& language, const String& missionName);
    // Resets the settings to the defaults of a new mission and reads the text.
    void Read(Stream& stream, const String& fileName);

    static String Path(const String& language, const String& missionName);
    // Whether the mission has a file of its own to be briefed from.
    static bool Exists(const String& language, const String& missionName);

private:
    enum class State { kTop, kBriefing, kWinning, kLosing, kWeapons, kUpgrades };

    void Reset();
    void ReadLine(const StringArray& words);
    void ReadTopLevel(const StringArray& words);
    void ReadGoal(const StringArray& words);
    void ReadEnemyUpgrade(const String& which, const String& how);
    void ReadWeapon(const StringArray& words);
    void ReadUpgrade(const StringArray& words);
    void ReadTextBlock(const StringArray& words, Array<TextPage>& pages);
    // False (logged) when the line has fewer than `count` words.
    bool HasWords(const StringArray& words, int count) const;
    void Log(const String& text) const;

    MissionSettings& settings_;
    Game& game_;
    Player& local_;
    Player& computer_;
    String fileName_;
    State state_ = State::kTop;
    bool inComment_ = false;
};
