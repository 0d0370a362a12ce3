// A new player's tour of every screen and in-game window a fresh profile reaches: the
// title menu, options, credits, the player screens, the game menu, the campaign map with
// its tour, customising, and the training grounds with each tray, the unit and pattern
// editors, the debugger, the scoreboard and the key help. The tour is played once; each
// stop keeps its picture (build/tests/screenshots/tour_<stop>.tga) for the checks below.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>
#include <vector>

#include "battlefield/VornWindow.h"
#include "platform/sys/Paths.h"
#include "platform/window/Keys.h"
#include "screens/CreditsWindow.h"
#include "support/PlayerHarness.h"
#include "ui/ToolTip.h"
#include "ui/Window.h"

namespace {

using play_test::PlayerHarness;
using play_test::PlayerStepFailed;

constexpr int kChangeFrames = 300;
constexpr int kF1 = 0x70;
constexpr const char* kPlayer = "Tester";

struct Stop {
    Image picture;
    std::map<std::string, IntRect> windows;   // the open windows' rectangles
    std::vector<play_test::ShownText> texts;  // every text run of the kept frame
};

struct Tour {
    std::unique_ptr<PlayerHarness> player;
    std::map<std::string, Stop> stops;
    std::vector<Point> gameMenuBack;  // where the game menu's way back was, visit by visit
    std::string stoppedAt;  // the step that failed, if one did
    int legsDone = 0;
};

Tour* tour = nullptr;

class TourGuide {
public:
    explicit TourGuide(Tour& into) : tour_(into), player_(*into.player) {}

    // The tour goes in legs, each from where the last ended, so that a check looks only
    // as far as its stop (a test run alone then plays only that much). False when every
    // leg is done or one failed.
    bool NextLeg() {
        if (!tour_.stoppedAt.empty()) return false;
        try {
            switch (tour_.legsDone++) {
                case 0: FrontEnd(); return true;
                case 1: Campaign(); return true;
                case 2: Training(); return true;
                default: return false;
            }
        } catch (const PlayerStepFailed& failure) {
            tour_.stoppedAt = failure.what();
            return false;
        }
    }

private:
    void Keep(const std::string& stop) {
        player_.Frames(2);
        Stop& kept = tour_.stops[stop];
        kept.picture = player_.Picture();
        kept.texts = player_.TextsShown();
        if (!kept.picture.IsEmpty()) player_.KeepPicture("tour_" + stop);
        for (const std::string& name : player_.OpenWindowNames()) kept.windows[name] = player_.OpenWindow(name).Rect();
    }
    void WaitFor(const std::string& window) { player_.WaitFor(window); }
    void WaitGone(const std::string& window) { player_.WaitUntilClosed(window); }
    void Open(const std::string& window, const std::string& item, const std::string& opened) {
        player_.Open(window, item, opened);
    }

    void FrontEnd() {
        Keep("title");
        Open("MainMenu", "Options", "OptionsWindow");
        Keep("options");
        player_.ClickItem("OptionsWindow", "Cancel");
        WaitFor("MainMenu");
        Open("MainMenu", "Credits", "CreditsWindow");
        player_.Frames(30);
        Keep("credits");
        // The second pair's names line is the widest; it comes after five seconds.
        player_.FramesUntil([] { return GetCreditsWindow().creditIndex == 1; }, 100000, "the second credit shows");
        player_.Frames(2);
        Keep("credits_wide_line");
        player_.ClickItem("CreditsWindow", "YesButton.tga");
        WaitFor("MainMenu");
        Open("MainMenu", "SelectPlayer", "PlayerMenu");
        Keep("player_menu");
        Open("PlayerMenu", "LoadPlayer", "PlayerListBox");
        Keep("player_list");
        player_.ClickItem("PlayerSelectWindow", "ExitButton.tga");
        WaitFor("PlayerMenu");
        Open("PlayerMenu", "CreateNewPlayer", "PlayerNameEditBox");
        player_.Type(kPlayer);
        Keep("new_player");
        player_.TapKey(win::kKeyReturn);
        WaitFor("GameMenu");
        Keep("game_menu");
        tour_.gameMenuBack.push_back(player_.ItemPoint("GameMenu", "ReturnMainMenu"));
    }

    void Campaign() {
        Open("GameMenu", "ContinueCampaign", "MissionMapWindow");
        WaitFor("TextBox");
        Keep("campaign_map_tour");
        player_.ReadToTheEnd();
        Keep("campaign_map");
        player_.ClickItem("MissionMapWindow", "ExitButton.tga");
        WaitFor("GameMenu");
        Keep("game_menu_after_the_map");
        tour_.gameMenuBack.push_back(player_.ItemPoint("GameMenu", "ReturnMainMenu"));
        Open("GameMenu", "Customization", "UpgradeWindow");
        Keep("customise");
        player_.ClickItem("UpgradeWindow", "YesButton.tga");
        WaitFor("GameMenu");
    }

    void Training() {
        Open("GameMenu", "TrainingLaboratory", "ArenaWindow");
        WaitFor("WindowTray");
        player_.Frames(30);
        Keep("training");
        // Each tray the window tray offers, shown (kept) and hidden again, or hidden and
        // shown again.
        for (const std::string& tray : player_.EntryNames("WindowTray")) {
            const bool wasOpen = player_.IsOpen(tray);
            if (wasOpen) Keep("tray_" + tray);
            player_.ClickEntry("WindowTray", tray);
            player_.FramesUntil([&] { return player_.IsOpen(tray) != wasOpen; }, kChangeFrames, tray + " toggles");
            if (!wasOpen) Keep("tray_" + tray);
            player_.ClickEntry("WindowTray", tray);
            player_.FramesUntil([&] { return player_.IsOpen(tray) == wasOpen; }, kChangeFrames, tray + " toggles back");
        }
        Editors();
        player_.TapKey(kF1);
        Keep("key_help");
        player_.TapKey(kF1);
    }

    void Editors() {
        const Point field(500, 380);
        player_.Drag(player_.EntryPoint("ObjectTray", "SmallFriendVorn"), field);
        player_.RightClick(field);
        WaitFor("VornWindow");
        Keep("unit_editor");
        // The chassis button's tip, at the screen's left edge.
        player_.MoveTo(player_.ItemPoint("VornWindow", "Chassis"));
        player_.FramesUntil([] { return GetToolTip().shown; }, kChangeFrames, "the chassis button's tip shows");
        Keep("unit_editor_tip");
        // The chassis menu opens at the screen's top-left corner, where no tip fits above.
        player_.ClickItem("VornWindow", "Chassis");
        WaitFor("ChassisMenu");
        player_.MoveTo(player_.ItemPoint("ChassisMenu", player_.ItemNames("ChassisMenu").front()));
        player_.FramesUntil([] { return GetToolTip().shown; }, kChangeFrames, "a chassis' tip shows");
        Keep("chassis_menu_tip");
        player_.TapKey(win::kKeyEscape);
        WaitGone("ChassisMenu");
        // The first click after a menu left with Escape goes unheard: one on the editor's
        // empty lower part.
        player_.Click(player_.WindowPoint("VornWindow", 0.8f, 0.85f));
        // The weapon menu's tip over its title.
        player_.ClickItem("VornWindow", "Laser");
        WaitFor("WeaponMenu");
        player_.MoveTo(player_.ItemPoint("WeaponMenu", player_.ItemNames("WeaponMenu").back()));
        player_.FramesUntil([] { return GetToolTip().shown; }, kChangeFrames, "a weapon's tip shows");
        Keep("weapon_menu_tip");
        player_.TapKey(win::kKeyEscape);
        WaitGone("WeaponMenu");
        const auto& editor = dynamic_cast<const VornWindow&>(player_.OpenWindow("VornWindow"));
        // A left click on the thumbnail first, which once left the pointer caught so that
        // the pattern editor's buttons went unheard.
        player_.Click(editor.SlotRect(0).GetCenter());
        player_.RightClick(editor.SlotRect(0).GetCenter());
        WaitFor("PatternWindow");
        Keep("pattern_editor");
        player_.ClickItem("PatternWindow", "CloseButton.tga");
        WaitGone("PatternWindow");
        player_.ClickItem("VornWindow", "CloseButton.tga");
        WaitGone("VornWindow");
        player_.MoveTo(field);
        player_.TapKey('G');
        WaitFor("DebugWindow");
        Keep("debugger");
        player_.ClickItem("DebugWindow", "CloseButton.tga");
        WaitGone("DebugWindow");
    }

    Tour& tour_;
    PlayerHarness& player_;
};

class ScreenTourTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        tour = new Tour;
        play_test::HarnessSettings settings = play_test::OnTheTitleMenu();
        settings.pictures = true;
        tour->player = std::make_unique<PlayerHarness>(settings);
    }
    static void TearDownTestSuite() {
        delete tour;
        tour = nullptr;
    }

    void SetUp() override {
        if (!tour->player->Unavailable().empty()) GTEST_SKIP() << tour->player->Unavailable();
    }

    static void WholeTour() {
        while (TourGuide(*tour).NextLeg()) {
        }
    }
    // The stop's picture, the tour going on until it gets there; fails when it never does.
    const Stop* At(const std::string& stop) {
        while (!tour->stops.contains(stop) && TourGuide(*tour).NextLeg()) {
        }
        const auto found = tour->stops.find(stop);
        if (found != tour->stops.end()) return &found->second;
        ADD_FAILURE() << "the tour did not reach " << stop << "; it stopped at: " << tour->stoppedAt;
        return nullptr;
    }
    ::testing::AssertionResult ShowsText(const std::string& stop, const std::string& text, const std::string& window) {
        const Stop* kept = At(stop);
        if (kept == nullptr) return ::testing::AssertionFailure() << "no picture of " << stop;
        const auto rect = kept->windows.find(window);
        if (rect == kept->windows.end()) return ::testing::AssertionFailure() << window << " was not open at " << stop;
        constexpr int kMargin = 40;
        const IntRect area(rect->second.left - kMargin, rect->second.top - kMargin, rect->second.right + kMargin,
                           rect->second.bottom + kMargin);
        return tour->player->ShowsText(kept->picture, text, area);
    }
    // A full-screen window's title, in the band at the top of the screen.
    ::testing::AssertionResult ShowsTitle(const std::string& stop, const std::string& text) {
        const Stop* kept = At(stop);
        if (kept == nullptr) return ::testing::AssertionFailure() << "no picture of " << stop;
        constexpr int kTitleBand = 120;
        return tour->player->ShowsText(kept->picture, text, IntRect(0, 0, kept->picture.Width(), kTitleBand));
    }
};

TEST_F(ScreenTourTest, TheTourReachesEveryStopAndEachShowsAScreen) {
    WholeTour();
    EXPECT_EQ(tour->stoppedAt, "");
    const char* const stops[] = {"title",
                                 "options",
                                 "credits",
                                 "credits_wide_line",
                                 "player_menu",
                                 "player_list",
                                 "new_player",
                                 "game_menu",
                                 "campaign_map_tour",
                                 "campaign_map",
                                 "game_menu_after_the_map",
                                 "customise",
                                 "training",
                                 "unit_editor",
                                 "unit_editor_tip",
                                 "chassis_menu_tip",
                                 "weapon_menu_tip",
                                 "pattern_editor",
                                 "debugger",
                                 "key_help"};
    for (const char* stop : stops) {
        if (const Stop* kept = At(stop)) {
            EXPECT_TRUE(PlayerHarness::ShowsAScreen(kept->picture, stop));
        }
    }
    for (const auto& [stop, kept] : tour->stops) {
        if (stop.rfind("tray_", 0) == 0) {
            EXPECT_TRUE(PlayerHarness::ShowsAScreen(kept.picture, stop));
        }
    }
}

TEST_F(ScreenTourTest, MenuTitlesAreDrawnAsGlyphs) {
    EXPECT_TRUE(ShowsText("title", "Main menu", "MainMenu"));
    EXPECT_TRUE(ShowsText("player_menu", "Player menu", "PlayerMenu"));
    EXPECT_TRUE(ShowsText("game_menu", "Game menu", "GameMenu"));
}

TEST_F(ScreenTourTest, TheNewPlayersNameIsDrawnAsGlyphsWhileTyped) {
    EXPECT_TRUE(ShowsText("new_player", kPlayer, "PlayerNameEditBox"));
}

TEST_F(ScreenTourTest, OptionsTitleIsDrawnAsGlyphs) { EXPECT_TRUE(ShowsTitle("options", "Options")); }

TEST_F(ScreenTourTest, CustomiseTitleIsDrawnAsGlyphs) { EXPECT_TRUE(ShowsTitle("customise", "Upgrades")); }

// Drawn at the scale that fits its panel, where it was drawn.
TEST_F(ScreenTourTest, KeyHelpIsDrawnAsGlyphs) {
    const Stop* kept = At("key_help");
    ASSERT_NE(kept, nullptr);
    const auto run = std::ranges::find_if(
        kept->texts, [](const auto& shown) { return shown.text.find("Show or hide this help") != std::string::npos; });
    ASSERT_NE(run, kept->texts.end());
    EXPECT_TRUE(tour->player->ShowsText(kept->picture, *run));
}

TEST_F(ScreenTourTest, UnitEditorNameAndCostAreDrawnAsGlyphs) {
    EXPECT_TRUE(ShowsText("unit_editor", "NoName", "VornWindow"));
    // Fitted above the slots at three quarters, where the thin bars of "=" may merge.
    EXPECT_TRUE(ShowsText("unit_editor", "Cost", "VornWindow"));
    EXPECT_TRUE(ShowsText("unit_editor", "$30", "VornWindow"));
}

// No stop draws a text off the screen or cut by its edge.
TEST_F(ScreenTourTest, EveryTextDrawnAtEveryStopLiesOnTheScreen) {
    WholeTour();
    EXPECT_EQ(tour->stoppedAt, "");
    const IntRect screen(0, 0, 1023, 767);
    for (const auto& [stop, kept] : tour->stops) {
        for (const play_test::ShownText& run : kept.texts) {
            EXPECT_TRUE(screen.Contains(run.rect.TopLeft()) && screen.Contains(run.rect.BottomRight()))
                << stop << ": \"" << run.text << "\" at (" << run.rect.left << ", " << run.rect.top << ") - ("
                << run.rect.right << ", " << run.rect.bottom << ")";
        }
    }
    const auto& help = At("key_help")->texts;
    EXPECT_TRUE(std::ranges::any_of(help, [](const auto& run) { return run.text.find("Ctrl+X") != std::string::npos; }))
        << "the key help's lines are among the texts drawn";
}

bool Overlap(const IntRect& a, const IntRect& b) {
    return a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom;
}

// What a player is meant to read of a frame's texts: not those fading in (faint on
// purpose) nor the outline and shadow passes that the same text drawn after covers.
std::vector<play_test::ShownText> ReadableTexts(const std::vector<play_test::ShownText>& texts) {
    std::vector<play_test::ShownText> readable;
    for (size_t i = 0; i < texts.size(); ++i) {
        const auto coveredLater = std::any_of(texts.begin() + long(i) + 1, texts.end(), [&](const auto& later) {
            return later.text == texts[i].text && Overlap(later.rect, texts[i].rect);
        });
        if (texts[i].colour.Alpha() >= 128 && !coveredLater) readable.push_back(texts[i]);
    }
    return readable;
}

// Every text a stop drew is made of the font's glyphs where it was drawn: none turned into
// boxes by what was drawn before it (a figure, a 3-D view), none drawn over by another.
// (The weapon and chassis menus' translucent rings lie over the unit editor's lines on
// purpose; there only the tip is looked at.)
TEST_F(ScreenTourTest, EveryTextDrawnAtEveryStopIsMadeOfGlyphs) {
    WholeTour();
    EXPECT_EQ(tour->stoppedAt, "");
    for (const auto& [stop, kept] : tour->stops) {
        if (stop == "weapon_menu_tip" || stop == "chassis_menu_tip") continue;
        for (const play_test::ShownText& run : ReadableTexts(kept.texts)) {
            EXPECT_TRUE(tour->player->ShowsText(kept.picture, run)) << stop;
        }
    }
}

// A menu item's tip is drawn last of all, read on screen, and leaves the menu's title
// (the runs holding the word) readable.
void ExpectTipClearOfTitle(const Stop& kept, const std::string& titleWord) {
    ASSERT_FALSE(kept.texts.empty());
    const play_test::ShownText& tip = kept.texts.back();
    EXPECT_TRUE(tour->player->ShowsText(kept.picture, tip));
    for (const play_test::ShownText& shown : kept.texts) {
        if (&shown == &tip || shown.text.find(titleWord) == std::string::npos) continue;
        const IntRect& a = shown.rect;
        const IntRect& b = tip.rect;
        EXPECT_FALSE(a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom)
            << "\"" << tip.text << "\" covers \"" << shown.text << "\"";
    }
}

TEST_F(ScreenTourTest, MenuTipsAreReadOnScreenClearOfTheirTitles) {
    const Stop* weapons = At("weapon_menu_tip");
    ASSERT_NE(weapons, nullptr);
    // A weapon's tip names its price.
    EXPECT_NE(weapons->texts.back().text.find('$'), std::string::npos) << weapons->texts.back().text;
    ExpectTipClearOfTitle(*weapons, "weapon");
    const Stop* chassis = At("chassis_menu_tip");
    ASSERT_NE(chassis, nullptr);
    ExpectTipClearOfTitle(*chassis, "Pick");
    ExpectTipClearOfTitle(*chassis, "chassis");
}

// The help's lines lie in two columns inside its panel (x 15 to 842), none over another,
// and the zoom keys' lines say what the keys do: "-" brings the view closer.
TEST_F(ScreenTourTest, TheKeyHelpsLinesStayInsideItsPanelAndApart) {
    const Stop* kept = At("key_help");
    ASSERT_NE(kept, nullptr);
    std::vector<play_test::ShownText> lines;
    for (const play_test::ShownText& run : kept->texts) {
        if (run.rect.left >= 15 && run.rect.top < 20 + 589 && run.text.find("  ") != std::string::npos) {
            lines.push_back(run);
        }
    }
    ASSERT_GT(lines.size(), 10u);
    for (size_t i = 0; i < lines.size(); ++i) {
        EXPECT_LE(lines[i].rect.right, 842) << "\"" << lines[i].text << "\" runs off the panel";
        for (size_t j = i + 1; j < lines.size(); ++j) {
            const IntRect& a = lines[i].rect;
            const IntRect& b = lines[j].rect;
            EXPECT_FALSE(a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom)
                << "\"" << lines[i].text << "\" and \"" << lines[j].text << "\" overprint";
        }
    }
    const auto line = [&](const std::string& key) {
        for (const auto& run : lines) {
            if (run.text.rfind(key + "  ", 0) == 0) return run.text;
        }
        return std::string();
    };
    EXPECT_EQ(line("-"), "-  Zoom in");
    EXPECT_EQ(line("+"), "+  Zoom out");
}

// A credit's names line keeps clear of the screen's edges.
TEST_F(ScreenTourTest, ACreditsNamesLineKeepsClearOfTheScreensEdges) {
    const Stop* kept = At("credits_wide_line");
    ASSERT_NE(kept, nullptr);
    const std::string line = GetCreditsWindow().lines[1].CStr();
    int found = 0;
    for (const play_test::ShownText& run : kept->texts) {
        if (run.text != line) continue;
        ++found;
        EXPECT_GE(run.rect.left, 32) << run.text;
        EXPECT_LE(run.rect.right, 1023 - 32) << run.text;
    }
    EXPECT_GT(found, 0) << "\"" << line << "\" is not drawn";
}

// A new player's game menu grows from two buttons to six after the campaign map, and the
// way back stays where it was.
TEST_F(ScreenTourTest, TheGameMenusWayBackKeepsItsPlaceAsTheMenuGrows) {
    ASSERT_NE(At("game_menu_after_the_map"), nullptr);
    ASSERT_EQ(tour->gameMenuBack.size(), 2u);
    const Point first = tour->gameMenuBack[0];
    const Point later = tour->gameMenuBack[1];
    EXPECT_TRUE(first == later) << "(" << first.x << ", " << first.y << ") then (" << later.x << ", " << later.y << ")";
}

// A bitmap beside a picture of the same name is looked for only to convert it when an
// artist left one there; its absence is the usual case.
bool IsOptionalCompanion(const std::string& name) {
    const std::string stem = name.substr(0, name.size() - 3);
    return name.ends_with(".bmp") &&
           std::filesystem::exists(tour->player->Folder() / sys::NormalizeSeparators(stem + "tga"));
}

// Every name the program asked for during the tour exists in the data set.
TEST_F(ScreenTourTest, EveryFileTheProgramAskedForExists) {
    WholeTour();
    EXPECT_EQ(tour->stoppedAt, "");
    std::string missing;
    for (const std::string& name : tour->player->MissingFiles()) {
        if (!IsOptionalCompanion(name)) missing += "\n  " + name;
    }
    EXPECT_EQ(missing, "") << "asked for and not found:" << missing;
}

}  // namespace
