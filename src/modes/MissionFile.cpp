#include "modes/MissionFile.h"

#include <algorithm>
#include <climits>
#include <string_view>

#include "core/Debugger.h"
#include "core/FileStream.h"
#include "core/Stream.h"
#include "game/Game.h"
#include "game/Player.h"
#include "modes/ScriptLines.h"
#include "platform/sys/FileSystem.h"
#include "platform/sys/Paths.h"

namespace {

using script_lines::HasWordNoCase;
using script_lines::ToInt;

int32_t WeaponKindOf(const String& name) {
    for (int32_t kind = 0; kind < kWeaponKindCount; ++kind) {
        if (name.EqualsNoCase(WeaponKindName(kind))) return kind;
    }
    return -1;
}

bool IsBeaconGoal(MissionGoal goal) {
    return goal == MissionGoal::kReachBeacon || goal == MissionGoal::kVipReachBeacon ||
           goal == MissionGoal::kRaceToBeacon || goal == MissionGoal::kPreventReachBeacon;
}

}  // namespace

MissionFile::MissionFile(MissionSettings& settings, Game& game, Player& local, Player& computer)
    : settings_(settings), game_(game), local_(local), computer_(computer) {}

String MissionFile::Path(const String& language, const String& missionName) {
    return "Missions\\" + language + "\\" + missionName + ".MIS";
}

bool MissionFile::Exists(const String& language, const String& missionName) {
    const String path = Path(language, missionName);
    return sys::IsSafeName(std::string_view(missionName.CStr(), static_cast<size_t>(missionName.CharCount()))) &&
           sys::Exists(std::string_view(path.CStr(), static_cast<size_t>(path.CharCount())));
}

bool MissionFile::Load(const String& language, const String& missionName) {
    const String path = Path(language, missionName);
    if (!sys::IsSafeName(std::string_view(missionName.CStr(), static_cast<size_t>(missionName.CharCount())))) {
        Debugger::Instance().Line((String("Mission file name refused: ") + path).CStr());
        return false;
    }
    FileStream file(std::string_view(path.CStr(), static_cast<size_t>(path.CharCount())), "r");
    if (!file.IsOpen()) {
        Debugger::Instance().Line((String("Mission file cannot be opened: ") + path).CStr());
        return false;
    }
    Read(file, path);
    return true;
}

void MissionFile::Reset() {
    settings_.budget = 100;
    settings_.rewardBoosts = 0;
    settings_.meteorsEnabled = false;
    settings_.briefingTexts.Clear();
    settings_.winningTexts.Clear();
    settings_.losingTexts.Clear();
    std::fill(std::begin(settings_.weaponAllowed), std::end(settings_.weaponAllowed), true);
    settings_.goalTime = 0.0f;
    settings_.timeLimited = false;
    settings_.saveVornName.Clear();
    settings_.destroyVornName.Clear();
    settings_.saveTrees = false;
    settings_.upgrades.Clear();
    settings_.secondUpgrades.Clear();
    settings_.drawFlyBy = false;
    settings_.music = MissionMusic::kByGoal;
    computer_.Reset();
    computer_.UnlockAllUpgrades();
    computer_.goalCount = 0;
    local_.goalCount = 0;
    state_ = State::kTop;
    inComment_ = false;
    game_.runningLine.Clear();
}

void MissionFile::Read(Stream& stream, const String& fileName) {
    fileName_ = fileName;
    Reset();
    script_lines::ForEachLine(stream, [this](const StringArray& words) { ReadLine(words); });
}

void MissionFile::ReadLine(const StringArray& words) {
    if (words.IsEmpty()) return;
    if (script_lines::SkipComment(words, inComment_)) return;
    switch (state_) {
        case State::kTop: ReadTopLevel(words); break;
        case State::kBriefing: ReadTextBlock(words, settings_.briefingTexts); break;
        case State::kWinning: ReadTextBlock(words, settings_.winningTexts); break;
        case State::kLosing: ReadTextBlock(words, settings_.losingTexts[settings_.losingTexts.Count() - 1]); break;
        case State::kWeapons: ReadWeapon(words); break;
        case State::kUpgrades: ReadUpgrade(words); break;
    }
}

void MissionFile::ReadTopLevel(const StringArray& words) {
    const String& key = words[0];
    if (key.EqualsNoCase("MaxSquadCount")) {
        if (HasWords(words, 2)) settings_.maxSquadCount = std::clamp(ToInt(words[1]), 1, MissionSettings::kMaxSquads);
    } else if (key.EqualsNoCase("Meteors")) {
        if (!HasWords(words, 2)) return;
        settings_.meteorsEnabled = true;
        settings_.meteorDelay = words[1].ToFloat();
    } else if (key.EqualsNoCase("RewardBoosts")) {
        if (HasWords(words, 2)) settings_.rewardBoosts = std::max(ToInt(words[1]), 0);
    } else if (key.EqualsNoCase("EnemyUpgrade")) {
        if (HasWords(words, 3)) ReadEnemyUpgrade(words[1], words[2]);
    } else if (key.EqualsNoCase("Text")) {
        state_ = State::kBriefing;
    } else if (key.EqualsNoCase("WinningText")) {
        state_ = State::kWinning;
    } else if (key.EqualsNoCase("LosingText")) {
        settings_.losingTexts.Append(Array<TextPage>());
        state_ = State::kLosing;
    } else if (key.EqualsNoCase("LegalWeapons")) {
        std::fill(std::begin(settings_.weaponAllowed), std::end(settings_.weaponAllowed), false);
        state_ = State::kWeapons;
    } else if (key.EqualsNoCase("Goal")) {
        if (HasWords(words, 2)) ReadGoal(words);
    } else if (key.EqualsNoCase("Scenario")) {
        if (HasWords(words, 2)) settings_.scenarioName = words[1];
    } else if (key.EqualsNoCase("Budget")) {
        if (HasWords(words, 2)) settings_.budget = std::max(ToInt(words[1]), 0);
    } else if (key.EqualsNoCase("Upgrades")) {
        state_ = State::kUpgrades;
    } else if (key.EqualsNoCase("DrawFlyBy")) {
        settings_.drawFlyBy = true;
    } else if (key.EqualsNoCase("Music")) {
        if (!HasWords(words, 2)) return;
        if (words[1].EqualsNoCase("War")) settings_.music = MissionMusic::kWar;
        if (words[1].EqualsNoCase("Sneak")) settings_.music = MissionMusic::kSneak;
    } else {
        Log("unknown keyword \"" + key + "\" ignored");
    }
}

void MissionFile::ReadGoal(const StringArray& words) {
    MissionGoal goal = settings_.goal;
    if (!MissionGoalFromName(words[1], goal)) {
        // Its arguments would be read by the old goal's rules.
        Log("unknown goal \"" + words[1] + "\": the line is ignored");
        return;
    }
    settings_.goal = goal;
    if (IsBeaconGoal(goal)) settings_.beaconPosition = Vector2(0.0f, 0.0f);
    for (int i = 2; i < words.Count(); ++i) {
        const String& word = words[i];
        const bool hasNext = i + 1 < words.Count();
        switch (goal) {
            case MissionGoal::kSurvive:
                if (word == "SaveVorn" && hasNext) {
                    settings_.saveVornName = words[++i];
                } else {
                    settings_.goalTime = word.ToFloat();
                }
                break;
            case MissionGoal::kDestroyAllEnemies:
                if (word == "SaveVorn" && hasNext) {
                    settings_.saveVornName = words[++i];
                } else if (word == "DestroyVorn" && hasNext) {
                    settings_.destroyVornName = words[++i];
                } else if (word == "SaveTrees") {
                    settings_.saveTrees = true;
                } else {
                    settings_.timeLimited = true;
                    settings_.goalTime = word.ToFloat();
                }
                break;
            case MissionGoal::kReachBeacon:
            case MissionGoal::kVipReachBeacon:
            case MissionGoal::kRaceToBeacon:
            case MissionGoal::kPreventReachBeacon:
                if (word.EqualsNoCase("Position") && i + 2 < words.Count()) {
                    settings_.beaconPosition = Vector2(words[i + 1].ToFloat(), words[i + 2].ToFloat());
                    i += 2;
                } else if (word.EqualsNoCase("Position")) {
                    Log("\"Position\" without its two numbers ignored");
                    i = words.Count();
                } else {
                    settings_.timeLimited = true;
                    settings_.goalTime = word.ToFloat();
                }
                break;
            case MissionGoal::kSaveVip:
            case MissionGoal::kSaveVipEnemy: settings_.goalTime = word.ToFloat(); break;
            case MissionGoal::kDestroyAllVipEnemies:
            case MissionGoal::kReachApex:
            case MissionGoal::kSoccer:
                settings_.timeLimited = true;
                settings_.goalTime = word.ToFloat();
                break;
            case MissionGoal::kNoGoal: break;
        }
    }
}

void MissionFile::ReadEnemyUpgrade(const String& which, const String& how) {
    const bool all = which.EqualsNoCase("All");
    const int32_t item = all ? -1 : FindUpgradeItem(which);
    if (!all && item < 0) {
        Log("unknown upgrade \"" + which + "\" ignored");
        return;
    }
    const int32_t first = all ? 0 : item;
    const int32_t last = all ? Player::kUpgradeItemCount - 1 : item;
    for (int32_t kind = first; kind <= last; ++kind) {
        if (how == "LocalPlayer") {
            computer_.SetUpgradeLevel(kind, local_.GetUpgradeLevel(kind));
        } else if (how == "PlusOne") {
            computer_.SetUpgradeLevel(kind, computer_.GetUpgradeLevel(kind) + 1);
        } else {
            computer_.SetUpgradeLevel(kind, ToInt(how));
        }
    }
}

void MissionFile::ReadWeapon(const StringArray& words) {
    if (words.Count() == 1 && words[0].EqualsNoCase("End")) {
        state_ = State::kTop;
        return;
    }
    const int32_t kind = WeaponKindOf(words[0]);
    if (kind < 0) {
        Log("unknown weapon \"" + words[0] + "\" ignored");
        return;
    }
    settings_.weaponAllowed[kind] = true;
}

void MissionFile::ReadUpgrade(const StringArray& words) {
    if (words.Count() == 1 && words[0].EqualsNoCase("End")) {
        state_ = State::kTop;
    } else if (words.Count() == 1) {
        settings_.upgrades.Append(words[0]);
    } else {
        settings_.secondUpgrades.Append(words[1]);
    }
}

void MissionFile::ReadTextBlock(const StringArray& words, Array<TextPage>& pages) {
    if (game_.ReadTextBlockLine(words, pages)) state_ = State::kTop;
}

bool MissionFile::HasWords(const StringArray& words, int count) const {
    if (words.Count() >= count) return true;
    Log("\"" + words[0] + "\" without its argument ignored");
    return false;
}

void MissionFile::Log(const String& text) const { Debugger::Instance().Line((fileName_ + ": " + text).CStr()); }
