// Every mission of the campaign fought headless and won by a squad written for it, judged
// frame by frame as the mission game judges it. A mission no squad of the data set's own
// units can win, or one whose goal a bad file makes unwinnable, fails here.
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "DataFolder.h"
#include "core/StringStream.h"
#include "game/PlayerRoster.h"
#include "modes/CampaignList.h"
#include "modes/MissionFile.h"
#include "modes/MissionJudge.h"
#include "platform/sys/Random.h"
#include "support/VornTestWorld.h"
#include "world/Beacon.h"
#include "world/LaunchPoint.h"
#include "world/SaveFilePaths.h"

namespace {

constexpr float kFrame = 1.0f / 30.0f;

String Folder(const std::filesystem::path& path) { return String((path.string() + "/").c_str()); }

class CampaignWin : public VornTestWorld {
protected:
    void SetUp() override {
        VornTestWorld::SetUp();
        SetDataFolders(Folder(data_test::DataRoot() / "Vorns"), Folder(data_test::FixtureRoot() / "CampaignSquads"),
                       Folder(data_test::DataRoot() / "Scenarios"));
        blue.name = "#AI";
        GetPlayerRoster().networkPlayers.Append(&blue);
        game.firstPlayer = &GetLocalPlayer();
        game.secondPlayer = &blue;
    }
    void TearDown() override {
        GetPlayerRoster().networkPlayers.Clear();
        SetDataFolders("Vorns\\", "Squads\\", "Scenarios\\");
        VornTestWorld::TearDown();
    }

    Beacon* PlaceBeacon(Vector2 at, Player& owner) {
        Beacon* beacon = arena->NewBeacon();
        beacon->ownerPlayer = &owner;
        beacon->SetPosition(arena->GroundPoint(at.x, at.y));
        arena->AddObject(beacon);
        return beacon;
    }

    // Sets the mission's field up, launches our squad for it and fights until the judge
    // decides or five minutes pass.
    BattleResult Play(const std::string& mission, std::string& log) {
        MissionSettings settings;
        StringStream text(
            data_test::ReadWhole(data_test::DataRoot() / "Missions/English" / (mission + ".MIS")).c_str());
        MissionFile(settings, game, GetLocalPlayer(), blue).Read(text, mission.c_str());
        if (!arena->LoadScenario(settings.scenarioName)) {
            log = "scenario does not load";
            return BattleResult::kUndecided;
        }
        const bool beaconForUs = settings.goal == MissionGoal::kReachBeacon ||
                                 settings.goal == MissionGoal::kVipReachBeacon ||
                                 settings.goal == MissionGoal::kRaceToBeacon;
        const Beacon* localBeacon = beaconForUs ? PlaceBeacon(settings.beaconPosition, GetLocalPlayer()) : nullptr;
        const Beacon* computerBeacon =
            settings.goal == MissionGoal::kPreventReachBeacon ? PlaceBeacon(settings.beaconPosition, blue) : nullptr;
        float apex = 0.0f;
        if (settings.goal == MissionGoal::kReachApex) {
            float lowest = 0.0f;
            arena->GetTerrain().GetHeightRange(lowest, apex);
        }
        int launched = 0;
        for (int i = 0; i < arena->launchPoints.Count() && i < settings.maxSquadCount; ++i) {
            // Squad files place units as the editor does; a launch marks them as the squad's.
            std::set<const WorldObject*> before(arena->Objects().begin(), arena->Objects().end());
            const Vector2 at = arena->launchPoints[i]->position;
            launched += arena->LoadSquadFile((mission + (i == 0 ? "" : std::to_string(i + 1))).c_str(),
                                             Vector3(at.x, at.y, 0.0f), &GetLocalPlayer());
            int32_t cost = 0;
            for (WorldObject* object : arena->Objects()) {
                if (object->kind != kKindVorn || before.count(object) != 0) continue;
                Vorn* unit = static_cast<Vorn*>(object);
                unit->squadMember = 1;
                cost += unit->cost;
                for (const Weapon& weapon : unit->weapons)
                    EXPECT_TRUE(weapon.kind < 0 || weapon.kind >= kWeaponKindCount ||
                                settings.weaponAllowed[weapon.kind])
                        << unit->name.CStr() << " carries a weapon the mission forbids";
            }
            EXPECT_LE(cost, settings.budget) << "squad " << i + 1 << " costs more than the mission's budget";
        }
        if (launched == 0) {
            log = "no squad launched";
            return BattleResult::kUndecided;
        }
        MissionJudge judge(settings, *arena, GetLocalPlayer(), blue);
        for (float time = 0.0f; time < 300.0f; time += kFrame) {
            Step(kFrame);
            const BattleResult result = judge.Judge(kFrame, localBeacon, computerBeacon, apex);
            if (result != BattleResult::kUndecided) {
                log = "decided after " + std::to_string(int(time)) + " s";
                return result;
            }
        }
        log = "undecided after five minutes";
        return BattleResult::kUndecided;
    }
};

class EachMission : public CampaignWin, public ::testing::WithParamInterface<std::string> {};

TEST_P(EachMission, IsWonByItsSquad) {
    sys::SRand(20261207);
    std::string log;
    EXPECT_EQ(Play(GetParam(), log), BattleResult::kWon) << GetParam() << ": " << log;
}

// The campaign's missions with a goal to reach; free play has none.
std::vector<std::string> Missions() {
    std::vector<std::string> missions;
    for (const std::string& line :
         data_test::Lines(data_test::ReadWhole(data_test::DataRoot() / "Missions/English/MissionMap.txt"))) {
        const std::vector<std::string> words = data_test::Words(line);
        if (words.size() < 2 || words[0] == "Star" || words[0] == "Planet" || words[0].rfind("//", 0) == 0) continue;
        if (words[0].size() > 8 && words[0].compare(words[0].size() - 8, 8, "Tutorial") == 0) continue;
        if (words[0] == "FreePlay") continue;
        missions.push_back(words[0]);
    }
    return missions;
}

INSTANTIATE_TEST_SUITE_P(Campaign, EachMission, ::testing::ValuesIn(Missions()),
                         [](const ::testing::TestParamInfo<std::string>& info) { return info.param; });

}  // namespace
