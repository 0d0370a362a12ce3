#pragma once
// Steps of the campaign as a player takes them: the map's planets and buttons, the
// briefing's and result windows' button rows, the squad choice's trays, the lessons' text
// box and the marks a lesson points with. Each finds what it needs on screen by window
// and name, and fails naming what is missing.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "battlefield/ArenaWindow.h"
#include "battlefield/LaunchWindow.h"
#include "battlefield/LosingWindow.h"
#include "engine/Sprite.h"
#include "engine/SpriteGrid.h"
#include "modes/ButtonRowWindow.h"
#include "modes/GameModes.h"
#include "modes/MissionMapWindow.h"
#include "platform/sys/Random.h"
#include "platform/window/Keys.h"
#include "support/PlayerHarness.h"
#include "ui/TextBox.h"
#include "ui/Tray.h"
#include "ui/Window.h"
#include "units/Vorn.h"
#include "world/Arena.h"
#include "world/ObjectKind.h"

namespace play_test {

// Every part's battles are fought from this seed.
constexpr unsigned kCampaignSeed = 20261208;

// What a lesson asks and what the player does about it: the action runs once, when the
// text box first shows the words.
struct LessonStep {
    std::string words;
    std::function<void()> act;
    // The lesson sets itself up again after these words: every step is asked anew.
    bool startsOver = false;
};

class CampaignPlayer {
public:
    explicit CampaignPlayer(PlayerHarness& player) : player_(player) {}

    // A button of a campaign window's bottom row ("PlayButton", "PlayNextMissionButton").
    void ClickRowButton(const std::string& windowName, const std::string& button) {
        auto* window = dynamic_cast<ButtonRowWindow*>(&player_.OpenWindow(windowName));
        SpriteGrid* grid = window != nullptr ? window->buttons : nullptr;
        for (int i = 0; grid != nullptr && i < grid->Count(); ++i) {
            if (grid->IsShown(i) && button == grid->names[i].CStr()) {
                player_.Click(grid->sprites[i]->GetScreenCenter());
                return;
            }
        }
        throw PlayerStepFailed("\"" + button + "\" is not shown in \"" + windowName + "\"");
    }

    bool RowButtonShown(const std::string& windowName, const std::string& button) {
        auto* window = dynamic_cast<ButtonRowWindow*>(&player_.OpenWindow(windowName));
        SpriteGrid* grid = window != nullptr ? window->buttons : nullptr;
        for (int i = 0; grid != nullptr && i < grid->Count(); ++i) {
            if (grid->IsShown(i) && button == grid->names[i].CStr()) return true;
        }
        return false;
    }

    // The launch window's button by its name ("Launch", "Exit").
    void ClickLaunchButton(const std::string& button) {
        auto* launch = dynamic_cast<LaunchWindow*>(&player_.OpenWindow("LaunchWindow"));
        ASSERT_NE(launch, nullptr);
        const int32_t index = launch->buttons.FindByName(String(button.c_str()));
        ASSERT_GE(index, 0) << button;
        player_.Click(launch->buttons.ScreenRect(index).GetCenter());
    }

    // The losing window's "Try again" button, the second of its row (the harness does not
    // list that window's buttons).
    Point RetryPoint() {
        auto* losing = dynamic_cast<LosingWindow*>(&player_.OpenWindow("LosingWindow"));
        constexpr int32_t kRetryButton = 1;
        if (losing == nullptr || !losing->buttons.Grid().IsShown(kRetryButton)) {
            throw PlayerStepFailed("the losing window shows no \"Try again\"");
        }
        return losing->buttons.ScreenRect(kRetryButton).GetCenter();
    }
    // Frames until a text run holding the words is drawn: a tip shows once the pointer has
    // rested a while.
    void WaitForTheTip(const std::string& words) {
        player_.FramesUntil(
            [&] {
                const std::vector<ShownText>& runs = player_.TextsShown();
                return std::any_of(runs.begin(), runs.end(),
                                   [&](const ShownText& run) { return run.text.find(words) != std::string::npos; });
            },
            120, "the tip \"" + words + "\"");
    }

    // "Try again", read in its tip and clicked, briefs the mission anew.
    void TryAgain(const std::string& briefingWords, const std::string& picture) {
        player_.MoveTo(RetryPoint());
        WaitForTheTip("Try again");
        EXPECT_TRUE(player_.ShowsText("Try again"));
        player_.KeepPicture("campaign_" + picture + "_retry_tip");
        player_.Click(RetryPoint());
        player_.FramesUntil([&] { return player_.IsOpen("MissionBriefingWindow"); }, 300, "the briefing again");
        EXPECT_TRUE(Says(briefingWords)) << Said();
        Picture(picture + "_retry_briefing");
    }

    // A tray's entry by its name, in the cell it is drawn in.
    Point TrayEntryPoint(const std::string& windowName, const std::string& entryName) {
        auto* tray = dynamic_cast<Tray*>(&player_.OpenWindow(windowName));
        const int32_t entry = tray != nullptr ? tray->FindEntryByName(String(entryName.c_str())) : -1;
        const int32_t cells = tray != nullptr ? std::min(tray->cellRects.Count(), tray->columns * tray->rows) : 0;
        for (int32_t i = 0; entry >= 0 && i < cells; ++i) {
            const int32_t at = tray->scrollPosition + i;
            if (at < tray->shownMap.Count() && tray->shownMap[at] == entry) return tray->cellRects[i].GetCenter();
        }
        throw PlayerStepFailed("\"" + entryName + "\" is not shown in tray \"" + windowName + "\"");
    }
    // The first entry a tray shows.
    std::string FirstTrayEntry(const std::string& windowName) {
        auto* tray = dynamic_cast<Tray*>(&player_.OpenWindow(windowName));
        if (tray == nullptr || tray->shownMap.IsEmpty()) return std::string();
        return tray->EntryName(tray->shownMap[0]).CStr();
    }

    // Space until the text box no longer waits for it, at most `presses` times.
    void ContinueTextBox(int presses) {
        for (int i = 0; i < presses && player_.IsOpen("TextBox"); ++i) {
            player_.TapKey(win::kKeySpace);
            player_.Frames(20);
        }
    }

    // Looks at the frame as a player would and keeps it.
    void Picture(const std::string& name) {
        EXPECT_TRUE(player_.ShowsAScreen(name));
        player_.KeepPicture("campaign_" + name);
    }

    // --- the map

    // From a new profile's game menu: the campaign, its tour read to the end, the map.
    void OpenTheMapAfterItsTour() {
        player_.ClickItem("GameMenu", "ContinueCampaign");
        player_.FramesUntil([&] { return player_.Mode() == "TutorialGame" && player_.IsOpen("MissionMapWindow"); }, 300,
                            "the campaign map's tour");
        player_.Frames(30);
        Picture("map_tour");
        for (int page = 0; page < 10 && player_.Mode() == "TutorialGame"; ++page) {
            player_.TapKey(win::kKeySpace);
            player_.Frames(20);
        }
        WaitForTheMap("the map after the tour");
    }

    void WaitForTheMap(const std::string& what) {
        player_.FramesUntil([&] { return player_.Mode() == "MissionGame" && player_.IsOpen("MissionMapWindow"); }, 600,
                            what);
    }

    MissionMapWindow& Map() { return dynamic_cast<MissionMapWindow&>(player_.OpenWindow("MissionMapWindow")); }

    // The campaign entries whose planets the map lets the player pick, in list order.
    std::vector<int> ReachedEntries() {
        std::vector<int> reached;
        MissionMapWindow& map = Map();
        for (int i = 0; i < map.missions.Count(); ++i) {
            if (map.missions[i].enabled && map.missions[i].shown) reached.push_back(i);
        }
        return reached;
    }

    // Points at the planet (its star stops its orbit under the pointer) and clicks it.
    void ClickPlanet(int entry) {
        player_.MoveTo(Map().missions[entry].centre);
        player_.Frames(2);
        player_.Click(Map().missions[entry].centre);
    }

    // Every planet the map offers names itself in its tip, opens its own briefing, and the
    // briefing's Exit leads back to the map. Returns how many were offered.
    int BriefEveryReachedEntry() {
        const std::vector<int> reached = ReachedEntries();
        for (int entry : reached) {
            const std::string title = GetGameModes()->mission.campaign.titles[entry].CStr();
            player_.MoveTo(Map().missions[entry].centre);
            WaitForTheTip(title);
            EXPECT_TRUE(player_.ShowsText(title, "MissionMapWindow")) << "the tip of planet " << entry;
            ClickPlanet(entry);
            player_.FramesUntil([&] { return player_.IsOpen("MissionBriefingWindow"); }, 300,
                                "the briefing of \"" + title + "\"");
            EXPECT_EQ(GetGameModes()->mission.missionIndex, entry) << title;
            ClickRowButton("MissionBriefingWindow", "ExitButton");
            WaitForTheMap("the map after the briefing of \"" + title + "\"");
        }
        return int(reached.size());
    }

    // The next mission's briefing through the map's button.
    void BriefTheNextEntry(const std::string& picture) {
        ClickRowButton("MissionMapWindow", "PlayNextMissionButton");
        player_.FramesUntil([&] { return player_.IsOpen("MissionBriefingWindow"); }, 300, "the briefing");
        player_.Frames(30);
        Picture(picture);
    }

    // --- lessons

    // What the text box says now, its lines joined by blanks.
    static std::string Said() {
        const TextBox* box = TextBox::Instance();
        std::string said;
        for (int i = 0; box != nullptr && box->open && i < box->lines.Count(); ++i) {
            said += std::string(box->lines[i].CStr()) + " ";
        }
        return said;
    }
    // Whether the text box holds the words (at most one line break between them).
    static bool Says(const std::string& words) {
        std::string said = Said();
        std::replace(said.begin(), said.end(), '\n', ' ');
        return said.find(words) != std::string::npos;
    }

    // Where the lesson points now: the centre of its first mark.
    static Point Pointed() {
        const Highlighter& marks = GetGameModes()->tutorial.highlighter;
        if (marks.marks.IsEmpty()) throw PlayerStepFailed("the lesson points at nothing; it says: " + Said());
        const HighlightMark& mark = marks.marks[0];
        if (mark.kind == HighlightMark::kCircle) return Point(int32_t(mark.centreX), int32_t(mark.centreY));
        return Point(int32_t((mark.left + mark.right) / 2), int32_t((mark.top + mark.bottom) / 2));
    }

    // Plays the running lesson to its end: each step's action when its words are shown,
    // space whenever the text box waits for it, and the battle left to run. Every step
    // must have been met, and the lesson must end, back in the campaign.
    void FollowLesson(const std::string& lesson, const std::vector<LessonStep>& steps, int frameLimit = 6000) {
        std::vector<bool> done(steps.size(), false);
        int frames = 0;
        while (player_.Mode() == "TutorialGame" && frames < frameLimit) {
            bool acted = false;
            for (size_t i = 0; i < steps.size() && !acted; ++i) {
                if (done[i] || !Says(steps[i].words)) continue;
                done[i] = acted = true;
                player_.Frames(10);
                // The runs read are those of the last frame drawn: the picture's.
                const Image asked = player_.Picture();
                EXPECT_TRUE(PlayerHarness::ShowsAScreen(asked, lesson));
                EXPECT_TRUE(player_.ShowsTextRun(asked, steps[i].words));
                player_.KeepPicture("campaign_" + lesson + "_" + std::to_string(i + 1));
                steps[i].act();
                player_.Frames(10);
                // Set up again, the lesson asks every step anew; the words that say so
                // come again only after the next setback.
                for (size_t j = 0; j < steps.size(); ++j) {
                    if (j != i && (steps[i].startsOver || steps[j].startsOver)) done[j] = false;
                }
            }
            const TextBox* box = TextBox::Instance();
            if (!acted && box != nullptr && box->open && box->waitForContinue) player_.TapKey(win::kKeySpace);
            player_.Frames(10);
            frames += 10;
        }
        for (size_t i = 0; i < steps.size(); ++i) {
            EXPECT_TRUE(done[i] || steps[i].startsOver) << lesson << " never asked: " << steps[i].words;
        }
        if (player_.Mode() == "TutorialGame") player_.KeepPicture("campaign_" + lesson + "_unfinished");
        ASSERT_NE(player_.Mode(), "TutorialGame") << lesson << " did not end; it says: " << Said();
    }

    // The lesson entry's briefing, then Play, until the lesson's first words show.
    void StartTheLesson(const std::string& lesson) {
        BriefTheNextEntry(lesson + "_briefing");
        ClickRowButton("MissionBriefingWindow", "PlayButton");
        player_.FramesUntil([&] { return player_.Mode() == "TutorialGame" && !Said().empty(); }, 300, lesson);
        player_.Frames(20);
        Picture(lesson);
    }

    // --- missions

    // The briefed mission's squad choice: the units named (from the unit tray) dropped in
    // rows on the squad's disc, around the disc's centre moved by `toward` pixels (the
    // battlefield's east is to the right, its north up), then Launch, until the
    // battlefield shows.
    void LaunchASquadOf(const std::vector<std::string>& units, const std::string& picture,
                        const Point& toward = Point(0, 0)) {
        ClickRowButton("MissionBriefingWindow", "PlayButton");
        player_.FramesUntil([&] { return player_.IsOpen("LaunchWindow"); }, 300, "the squad choice");
        EXPECT_EQ(player_.OpenWindowNames().front(), "LaunchWindow") << "the full-screen window stays behind";
        const Point middle = player_.WindowPoint("SquadWindow");
        const Point centre(middle.x + toward.x, middle.y + toward.y);
        // Rows of four, 60 pixels apart.
        for (size_t i = 0; i < units.size(); ++i) {
            const Point spot(centre.x - 90 + 60 * int(i % 4), centre.y - 30 + 60 * int(i / 4));
            player_.Drag(TrayEntryPoint("VornTray", units[i]), spot);
            player_.Frames(5);
        }
        const Image choice = player_.Picture();
        player_.KeepPicture("campaign_" + picture + "_squad_choice");
        // Below its buttons and budget line the window shows the squad's disc and members.
        const IntRect squadWindow = player_.OpenWindow("SquadWindow").Rect();
        const IntRect disc(squadWindow.left + 10, squadWindow.top + 80, squadWindow.right - 10,
                           squadWindow.bottom - 10);
        EXPECT_TRUE(PlayerHarness::ShowsAScreen(choice, "the squad's disc", disc));
        ClickLaunchButton("Launch");
        player_.FramesUntil([&] { return player_.IsOpen("ArenaWindow"); }, 600, "the battle");
        // The landed units wait two seconds before they move: the camera has settled by then.
        player_.Frames(90);
        EXPECT_TRUE(SeesTheLandedSquad());
        Picture(picture + "_battle");
    }

    // Whether every unit of the player's launched squad stands in the battlefield's view.
    static ::testing::AssertionResult SeesTheLandedSquad() {
        ArenaWindow& field = GetArenaWindow();
        int landed = 0;
        for (WorldObject* object : gArena->Objects()) {
            const Vorn* unit = object->kind == kKindVorn ? static_cast<const Vorn*>(object) : nullptr;
            if (unit == nullptr || unit->owner != ArenaWindow::FriendlyPlayer() || unit->squadMember == 0) continue;
            ++landed;
            IntRect shown;
            if (!field.UnitScreenRect(*unit, shown)) {
                return ::testing::AssertionFailure()
                       << "the unit landed at " << unit->position.x << ", " << unit->position.y << " is out of view";
            }
        }
        if (landed == 0) return ::testing::AssertionFailure() << "no unit landed";
        return ::testing::AssertionSuccess();
    }

    // Launches the briefed mission with the units named until it is won. How each one
    // lands and faces is the landing's luck, so a battle that still goes wrong is tried
    // again from the losing window, three tries at most. Each try is fought from the
    // campaign's seed and its number: how long the words before it took to be spoken on
    // a busy machine does not choose the battle.
    void WinWith(const std::vector<std::string>& units, const std::string& picture,
                 const std::string& briefingWords) {
        sys::SRand(kCampaignSeed);
        LaunchASquadOf(units, picture);
        triesTaken = 1;
        for (int& tries = triesTaken; !WaitForTheBattlesEnd(); ++tries) {
            ASSERT_LT(tries, 4) << picture << " was never won; the text box says: " << Said();
            TryAgain(briefingWords, picture + "_" + std::to_string(tries));
            sys::SRand(kCampaignSeed + unsigned(tries));
            LaunchASquadOf(units, picture + "_" + std::to_string(tries));
        }
    }
    // How many launches the last WinWith took.
    int triesTaken = 0;
    void WinWithScouts(int count, const std::string& picture, const std::string& briefingWords) {
        WinWith(std::vector<std::string>(size_t(count), "Scout"), picture, briefingWords);
    }

    // The won battle's winning window, its Play, and the map again.
    void BackToTheMapAfterTheWin(const std::string& what) {
        if (!player_.IsOpen("WinningWindow")) throw PlayerStepFailed(what + " was not won");
        ClickRowButton("WinningWindow", "PlayButton");
        WaitForTheMap("the map after " + what);
    }

    // From a new profile's game menu: the map's tour, the first lesson skipped and the
    // first mission won, its pictures named after `picture`, up to its winning window.
    void WinTheFirstContact(const std::string& picture = "first_contact") {
        OpenTheMapAfterItsTour();
        SkipTheNextLesson();
        BriefTheNextEntry(picture + "_briefing");
        WinWithScouts(5, picture, "Three little Mites");
    }

    // The next entry, a lesson, skipped from its briefing as a player who knows it does.
    void SkipTheNextLesson() {
        BriefTheNextEntry("skipped_lesson_briefing");
        ClickRowButton("MissionBriefingWindow", "SkipTutorialButton");
        WaitForTheMap("the map after skipping a lesson");
    }

    // The battle until a result window opens; whether it was won.
    bool WaitForTheBattlesEnd() {
        player_.FramesUntil([&] { return player_.IsOpen("WinningWindow") || player_.IsOpen("LosingWindow"); }, 20000,
                            "the battle's end");
        return player_.IsOpen("WinningWindow");
    }

    // The battle until the result window opens with the result's words in the text box and
    // the guide drawn beside them; the picture is kept.
    Image WaitForTheResult(const std::string& window, const std::string& words, const std::string& picture) {
        WaitForTheBattlesEnd();
        if (!player_.IsOpen(window)) throw PlayerStepFailed("the battle ended otherwise; the text box says: " + Said());
        player_.FramesUntil([&] { return Says(words); }, 300, "\"" + words + "\" in the text box");
        player_.Frames(30);
        const Image frame = player_.Picture();
        player_.KeepPicture("campaign_" + picture);
        EXPECT_TRUE(PlayerHarness::ShowsAScreen(frame, picture));
        const TextBox* box = TextBox::Instance();
        if (box != nullptr) {
            EXPECT_TRUE(PlayerHarness::ShowsAScreen(frame, "the guide beside the text box", box->speakerRect));
        }
        return frame;
    }

private:
    PlayerHarness& player_;
};

}  // namespace play_test
