#pragma once
// The second star as a player takes it, from the map after the first star's missions: its
// first two lessons skipped, the escort and the race won, the lesson on squads followed
// step by step, the bridge and the refuge won, until the map offers the third star's
// first lesson. Each mission is won the way its briefing and losing hints tell.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "CampaignPlayer.h"
#include "CampaignProfiles.h"
#include "engine/WindowCamera.h"
#include "game/Squad.h"
#include "modes/SquadWindow.h"
#include "platform/sys/Random.h"
#include "platform/window/Keys.h"
#include "support/PlayerHarness.h"
#include "ui/Tray.h"

namespace play_test {

// A mission as its briefing tells it to be won: the words the briefing must say, the
// squad dropped from the unit tray, and the words the winning window says.
struct MissionWin {
    std::string picture;
    std::string briefingWords;
    std::vector<std::string> squad;
    std::string winningWords;
};

// The next mission briefed, launched with its squad until it is won, and the map again.
inline void WinTheNextMission(CampaignPlayer& campaign, const MissionWin& mission) {
    campaign.BriefTheNextEntry(mission.picture + "_briefing");
    EXPECT_TRUE(CampaignPlayer::Says(mission.briefingWords)) << CampaignPlayer::Said();
    campaign.WinWith(mission.squad, mission.picture, mission.briefingWords);
    campaign.WaitForTheResult("WinningWindow", mission.winningWords, mission.picture + "_won");
    campaign.BackToTheMapAfterTheWin(mission.picture);
}

// The envoy walks east to the beacon on its own. Scouts would run ahead and stand on the
// beacon in its way; the briefing's Rangers, the mission's gift, hunt the swamp's guards
// instead.
inline void WinTheEscort(CampaignPlayer& campaign) {
    WinTheNextMission(campaign, {"escort", "Take the Rangers", std::vector<std::string>(6, "Ranger"),
                                 "The envoy has arrived safely"});
}

// Small units run quicker than large ones: four of the Sprinters the briefing gives, which
// turn to a beacon however they land, race for it.
inline const MissionWin kTheRace{"race", "A race!", std::vector<std::string>(4, "Sprinter"),
                                 "First at the beacon!"};

inline void WinTheRace(CampaignPlayer& campaign) { WinTheNextMission(campaign, kTheRace); }

// How many landings the race is measured over: VORNS_RACE_SEEDS, or 1.
inline int RaceSeeds() {
    const char* seeds = std::getenv("VORNS_RACE_SEEDS");
    return seeds != nullptr && std::atoi(seeds) > 1 ? std::atoi(seeds) : 1;
}

// The won race run again from its planet on the map, with the same squad, once from each
// of `count` seeds from `firstSeed` on; how many of those runs were won. Each ends on the
// map again.
inline int RaceAgain(CampaignPlayer& campaign, PlayerHarness& player, unsigned firstSeed, int count) {
    const auto& names = GetGameModes()->mission.campaign.entryNames;
    int race = 0;
    while (race < names.Count() && std::string(names[race].CStr()) != "Race") ++race;
    int won = 0;
    for (int k = 0; k < count; ++k) {
        const std::string picture = "race_seed_" + std::to_string(k + 1);
        campaign.ClickPlanet(race);
        player.FramesUntil([&] { return player.IsOpen("MissionBriefingWindow"); }, 300, "the race's briefing");
        sys::SRand(firstSeed + unsigned(k));
        campaign.LaunchASquadOf(kTheRace.squad, picture);
        if (campaign.WaitForTheBattlesEnd()) {
            ++won;
            campaign.BackToTheMapAfterTheWin(picture);
            continue;
        }
        campaign.TryAgain(kTheRace.briefingWords, picture);
        campaign.ClickRowButton("MissionBriefingWindow", "ExitButton");
        campaign.WaitForTheMap("the map after " + picture);
    }
    return won;
}

// Meets the enemy on the bridge with the gift's Burner and Scouts.
inline void WinTheBridge(CampaignPlayer& campaign) {
    WinTheNextMission(campaign, {"bridge",
                                 "The enemy is coming for the beacon",
                                 {"Burner", "Scout", "Scout", "Scout", "Scout"},
                                 "The bridge held"});
}

// Stands between the elder and the Brawlers with the gift's Medic beside the Scouts.
inline void WinTheRefuge(CampaignPlayer& campaign) {
    WinTheNextMission(campaign, {"refuge",
                                 "The elder is hiding in the grove",
                                 {"Medic", "Scout", "Scout", "Scout", "Scout"},
                                 "The elder is safe"});
}

// The lesson's battles as the player fights them: each drop after the first is fought
// from a seed of its own; the first lands far from the Mites, so that the lesson is met
// set up again. VORNS_LESSON_SEEDS asks for more seeded battles than the one the lesson
// needs.
struct SquadsBattles {
    int seeds = 1;
    int fought = 0;
    int won = 0;
    bool droppedFar = false;
};

inline int LessonSeeds() {
    const char* seeds = std::getenv("VORNS_LESSON_SEEDS");
    return seeds != nullptr ? std::max(1, std::atoi(seeds)) : 1;
}

// Units still fighting, the player's own or the others'.
inline std::vector<Vorn*> UnitsOnTheField(bool friends) {
    std::vector<Vorn*> units;
    for (WorldObject* object : gArena->Objects()) {
        auto* unit = object->kind == kKindVorn ? static_cast<Vorn*>(object) : nullptr;
        if (unit == nullptr || unit->removed || unit->health <= 0.0f) continue;
        if ((unit->owner == ArenaWindow::FriendlyPlayer()) == friends) units.push_back(unit);
    }
    return units;
}

// The Mites' screen rectangles; none while one of them is out of view.
inline std::vector<IntRect> TheMitesInView() {
    std::vector<IntRect> shown;
    for (Vorn* mite : UnitsOnTheField(false)) {
        IntRect rect;
        if (!GetArenaWindow().UnitScreenRect(*mite, rect)) return {};
        shown.push_back(rect);
    }
    return shown;
}

// The view turned east with the arrow key until the Mites show, and the squad dropped
// beside them on their west, a Mite's spacing from the nearest.
inline void DropNearTheMites(PlayerHarness& player, const Point& from) {
    for (int tries = 0; tries < 40 && TheMitesInView().empty(); ++tries) player.HoldKey(win::kKeyRight, 5);
    const std::vector<IntRect> mites = TheMitesInView();
    ASSERT_FALSE(mites.empty()) << "the Mites never came into view";
    int west = mites.front().GetCenter().x, east = west, y = 0;
    for (const IntRect& mite : mites) {
        west = std::min(west, mite.GetCenter().x);
        east = std::max(east, mite.GetCenter().x);
        y += mite.GetCenter().y / int(mites.size());
    }
    player.Drag(from, Point(west - std::max(east - west, 30), y));
}

// While the battle runs the view still follows the arrow keys, the wheel and the mini-map.
inline void TheViewMovesInTheBattle(PlayerHarness& player) {
    WindowCamera& camera = GetArenaWindow().CurrentCamera();
    Vector3 before = camera.target;
    player.HoldKey(win::kKeyLeft, 10);
    EXPECT_NE(camera.target.x, before.x) << "the arrow key left the view where it was";
    before = camera.eye;
    player.Wheel(player.WindowPoint("ArenaWindow"), 2);
    player.Frames(10);
    EXPECT_NE(camera.eye.z, before.z) << "the wheel left the view where it was";
    before = camera.target;
    player.Click(player.WindowPoint("MiniMap", 0.3f, 0.3f));
    player.Frames(10);
    EXPECT_NE(camera.target.x, before.x) << "the mini-map left the view where it was";
}

// The lesson on squads: a stock squad opened in the squad editor, a Brawler added, the
// squad saved under a name of the player's (the same each time the lesson is set up
// again) and dropped near the Mites, as the pages say.
inline std::vector<LessonStep> SquadsSteps(PlayerHarness& player, SquadsBattles& battles) {
    const auto readOn = [] {};
    return {{"A squad is a group of Vorns", readOn},
            {"Drag the Scouts squad",
             [&player] { player.Drag(CampaignPlayer::Pointed(), player.WindowPoint("SquadWindow")); }},
            {"Now drag a Brawler",
             [&player] {
                 CampaignPlayer campaign(player);
                 const Point centre = player.WindowPoint("SquadWindow");
                 ASSERT_NE(GetSquadWindow().squad, nullptr) << "no squad was opened from the tray";
                 const int32_t before = GetSquadWindow().squad->Count();
                 player.Drag(campaign.TrayEntryPoint("VornTray", "Brawler"), Point(centre.x + 50, centre.y + 50));
                 player.Frames(10);
                 EXPECT_EQ(GetSquadWindow().squad->Count(), before + 1) << "the Brawler joins the squad";
             }},
            {"These buttons choose how", readOn},
            {"Save the squad",
             [&player] {
                 player.Click(CampaignPlayer::Pointed());
                 player.WaitFor("SquadNameEditBox");
                 player.Type("Vanguard");
                 player.TapKey(win::kKeyReturn);
                 player.Frames(10);
                 EXPECT_FALSE(player.IsOpen("ConfirmOverwriteSquadMenu")) << "the lesson asks about its own squad";
             }},
            {"Your squad is in the squad tray",
             [&player, &battles] {
                 // The lesson outlines the tray's row of recent squads; the one just saved
                 // is in it.
                 auto& tray = dynamic_cast<Tray&>(player.OpenWindow("SquadTray"));
                 const int32_t saved = tray.FindRecentEntry("Vanguard");
                 ASSERT_GE(saved, 0) << "the saved squad is not in the row of recent squads";
                 ASSERT_LT(saved, tray.recentRects.Count());
                 const Point from = tray.recentRects[saved].GetCenter();
                 EXPECT_NEAR(from.y, CampaignPlayer::Pointed().y, tray.cellSize.y) << "the lesson points at the row";
                 sys::SRand(kCampaignSeed + unsigned(battles.fought++));
                 DropNearTheMites(player, from);
             }},
            {"Your squad has fallen", readOn, true},
            {"The squad won together", [&battles] { ++battles.won; }}};
}

// The lesson again from its planet, once it has been followed.
inline void PlayTheSquadsLessonAgain(PlayerHarness& player, CampaignPlayer& campaign, SquadsBattles& battles) {
    const int entry = GetGameModes()->mission.campaign.entryNames.Find("SquadsTutorial");
    ASSERT_GE(entry, 0);
    campaign.ClickPlanet(entry);
    player.FramesUntil([&] { return player.IsOpen("MissionBriefingWindow"); }, 300, "the lesson's briefing");
    campaign.ClickRowButton("MissionBriefingWindow", "PlayButton");
    player.FramesUntil([&] { return player.Mode() == "TutorialGame" && !CampaignPlayer::Said().empty(); }, 300,
                       "the lesson on squads again");
    campaign.FollowLesson("squads", SquadsSteps(player, battles), 20000);
    campaign.WaitForTheMap("the map after the lesson on squads again");
}

}  // namespace play_test
