// The game base: event queues and dispatch, the input step, the chat line, text blocks,
// the countdown, the music key, the pause rule, and the list of a network game's players.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "audio/EffectSounds.h"
#include "audio/Music.h"
#include "core/Image.h"
#include "engine/Mouse.h"
#include "game/EventTarget.h"
#include "game/Game.h"
#include "game/GameWindows.h"
#include "game/Player.h"
#include "game/PlayerRoster.h"
#include "support/TempFolder.h"
#include "support/WorkingFolder.h"

namespace {

// A window that records the commands it is handed and can post more while handling one.
class RecordingTarget : public EventTarget {
public:
    explicit RecordingTarget(Game& owner) : game(owner) {}
    void HandleCommand(Event& event) override {
        handled.push_back(event.type);
        if (event.type == kEventPause && repostsLeft > 0) {
            --repostsLeft;
            Post(kEventPause);
        }
    }
    void Post(int32_t type) {
        Event* event = game.NewEvent();
        event->type = type;
        event->target = this;
        game.PostEvent(event);
    }

    Game& game;
    std::vector<int32_t> handled;
    int repostsLeft = 0;
};

class ChatGame : public Game {
public:
    bool ChatCommand(const String& line) override {
        lines.push_back(line.CStr());
        return false;
    }
    std::vector<std::string> lines;
};

// Windows that let every record through and post a command for each click.
class ClickWindows : public GameWindows {
public:
    explicit ClickWindows(RecordingTarget& button) : button_(button) {}
    bool PreviewRelease(const InputEvent&) override { return false; }
    bool OfferInput(const InputEvent& input) override {
        if (input.kind == kInputDown) button_.Post(kEventPickEntry);
        return input.kind == kInputDown;
    }
    void BroadcastInput(const InputEvent&) override { ++broadcasts; }
    void HoverAt(const InputEvent&) override { ++hovers; }
    bool TakesCharacters() const override { return editBoxOpen; }
    void RenderWindows() override {}
    void DrawZoomFrame(const IntRect&) override {}
    bool IsBattlefieldOpen() const override { return false; }
    void AimBattlefieldCamera(const Vector3&, const Vector3&) override {}
    void RefreshAndLayOut() override { ++layouts; }

    int broadcasts = 0;
    int layouts = 0;
    int hovers = 0;
    bool editBoxOpen = false;

private:
    RecordingTarget& button_;
};

InputEvent Input(int32_t kind, int32_t code) {
    InputEvent input;
    input.Set(kind, code, Point(5, 5));
    return input;
}

TEST(GameEventsTest, EventsPostedDuringDispatchGoOutInTheSameCall) {
    Game game;
    RecordingTarget button(game);
    button.repostsLeft = 2;
    button.Post(kEventPause);
    button.Post(kEventCloseWindow);
    game.DispatchEvents();
    EXPECT_EQ(button.handled, (std::vector<int32_t>{kEventPause, kEventCloseWindow, kEventPause, kEventPause}));
    EXPECT_TRUE(game.pendingEvents.IsEmpty());
    game.Update();  // the records are free again after the flush
    EXPECT_TRUE(game.NewEvent()->target == nullptr);
}

TEST(GameEventsTest, AHandlerThatPostsForEverIsCutOffAndAnEventWithoutTargetIsIgnored) {
    Game game;
    RecordingTarget button(game);
    button.repostsLeft = 1000000;
    button.Post(kEventPause);
    Event* stray = game.NewEvent();
    stray->type = kEventOpenEscapeMenu;  // posted with no target
    game.PostEvent(stray);
    game.DispatchEvents();
    EXPECT_EQ(int(button.handled.size()), Game::kMaxEventsPerDispatch - 1);
    EXPECT_TRUE(game.pendingEvents.IsEmpty());
}

TEST(GameEventsTest, ADelayedEventDueExactlyAtTheFrameEndWaitsAFrame) {
    Game game;
    game.SetGameTime(10.0f);
    game.AdvanceClock(0.1f);  // clock 10.01, frame 0.1
    Event* early = game.NewEvent();
    early->dueTime = 10.1f;
    Event* exact = game.NewEvent();
    exact->dueTime = game.clock + game.frameTime;
    game.delayedEvents.Append(exact);
    game.delayedEvents.Append(early);
    game.ReleaseDueEvents();
    ASSERT_EQ(game.pendingEvents.Count(), 1);
    EXPECT_EQ(game.pendingEvents[0], early);
    ASSERT_EQ(game.delayedEvents.Count(), 1);
    EXPECT_EQ(game.delayedEvents[0], exact);
    game.ReleaseDelayedEvents();
    EXPECT_TRUE(game.delayedEvents.IsEmpty());
    game.DispatchEvents();
}

TEST(GameEventsTest, TheInputStepDispatchesAfterEveryRecord) {
    Game game;
    RecordingTarget button(game);
    ClickWindows windows(button);
    SetGameWindows(&windows);
    Array<InputEvent> inputs;
    inputs.Append(Input(kInputPointerMove, 0));
    inputs.Append(Input(kInputDown, kInputButtonLeft));
    inputs.Append(Input(kInputFrameTick, 0));
    game.HandleInputEvents(inputs);
    SetGameWindows(nullptr);
    EXPECT_EQ(button.handled, std::vector<int32_t>{kEventPickEntry});
    EXPECT_EQ(windows.broadcasts, 2);
    EXPECT_EQ(windows.hovers, 1);
}

TEST(GameEventsTest, TheChatLineRunsCheatWordsOnEnterButNotFromEditBoxes) {
    ChatGame game;
    RecordingTarget button(game);
    ClickWindows windows(button);
    SetGameWindows(&windows);
    Array<InputEvent> inputs;
    for (char c : std::string("plink")) inputs.Append(Input(kInputCharacter, c));
    inputs.Append(Input(kInputCharacter, 13));
    game.HandleInputEvents(inputs);
    // Typed into an edit box, the same word never reaches the chat line.
    windows.editBoxOpen = true;
    game.HandleInputEvents(inputs);
    windows.editBoxOpen = false;
    inputs.Clear();
    for (int i = 0; i < 33; ++i) inputs.Append(Input(kInputCharacter, 'a'));
    inputs.Append(Input(kInputCharacter, 13));
    game.HandleInputEvents(inputs);
    SetGameWindows(nullptr);
    EXPECT_EQ(game.lines, (std::vector<std::string>{"plink", ""}));
}

// Each word acts on the local player once, whatever the case; only "plink" answers true.
TEST(GameEventsTest, CheatWordsChangeTheLocalPlayerAndLayTheWindowsOutAgain) {
    Player& local = GetLocalPlayer();
    const Player saved = local;
    Game game;
    RecordingTarget button(game);
    ClickWindows windows(button);
    SetGameWindows(&windows);
    local.Reset();
    local.boosts = 5;
    EXPECT_TRUE(game.ChatCommand("hello PLINK"));
    EXPECT_EQ(local.boosts, 5 + Game::kCheatBoosts);
    EXPECT_EQ(windows.layouts, 0);
    EXPECT_FALSE(game.ChatCommand("zumvite"));
    EXPECT_EQ(local.GetUpgradeLevel(0), UpgradeMaxLevel(0));
    EXPECT_FALSE(game.ChatCommand("Frabel"));
    EXPECT_EQ(local.boosts, 0);
    EXPECT_EQ(local.GetUpgradeLevel(kFirstWeaponItem + 3), -1);
    EXPECT_FALSE(game.ChatCommand("quab"));
    EXPECT_EQ(local.GetUpgradeLevel(kFirstWeaponItem + 3), 0);
    EXPECT_EQ(local.GetUpgradeLevel(113), UpgradeMaxLevel(113));
    EXPECT_EQ(windows.layouts, 3);
    SetGameWindows(nullptr);
    local = saved;
}

TEST(GameEventsTest, TextBlocksJoinWordsIntoLinesAndPages) {
    Game game;
    Array<TextPage> pages;
    StringArray words;
    const auto line = [&](const char* text) {
        String(text).Split(words, ' ');
        return game.ReadTextBlockLine(words, pages);
    };
    EXPECT_FALSE(line("a b"));
    EXPECT_FALSE(line("c"));
    EXPECT_FALSE(line("<BR>"));
    EXPECT_FALSE(line("<S> Hello"));  // the first page has lines: a new page speaks
    EXPECT_FALSE(line("d"));
    EXPECT_TRUE(line("end"));
    ASSERT_EQ(pages.Count(), 2);
    ASSERT_EQ(pages[0].lines.Count(), 1);
    EXPECT_EQ(pages[0].lines[0], "a b c");
    EXPECT_EQ(pages[1].speech, "Hello");
    ASSERT_EQ(pages[1].lines.Count(), 1);
    EXPECT_EQ(pages[1].lines[0], "d");
}

TEST(GameEventsTest, TimeLeftTextAndZoomFrame) {
    EXPECT_EQ(FormatTimeLeft(125, ":"), "2:05");
    EXPECT_EQ(FormatTimeLeft(10, ":"), "0:10");
    Game game;
    game.AdvanceClock(0.2f);
    game.StartBackgroundFade(IntRect(0, 0, 100, 100), IntRect(100, 100, 300, 500));
    IntRect rect;
    ASSERT_TRUE(game.AdvanceBackgroundFade(rect));  // k = (0.4 - 0.2) / 0.4 = 0.5
    EXPECT_EQ(rect, IntRect(50, 50, 200, 300));
    game.AdvanceClock(0.5f);
    EXPECT_FALSE(game.AdvanceBackgroundFade(rect));
}

}  // namespace

namespace {

TEST(GameCountdownTest, TheCountdownSoundPlaysWhenTheDigitChanges) {
    platform_test::TempFolder folder;
    app_test::WorkingFolder working(folder.Path());
    std::filesystem::create_directories(folder / "Textures");
    const Image picture(4, 4);
    for (int digit = 0; digit < 10; ++digit) {
        ASSERT_TRUE(picture.SaveTGA(folder / ("Textures/" + std::to_string(digit) + "Button.tga")));
    }
    Game game;
    RecordEffectSoundRequests(true);
    for (float secondsLeft : {9.5f, 9.0f, 8.5f, 8.0f, -3.0f}) game.DrawTimeLeft(secondsLeft);
    // 9.5 s shows "0:10" as text; 9.0 and 8.5 s show the digit 9, 8.0 s the digit 8.
    EXPECT_EQ(GetEffectSoundRequests().size(), 2u);
    EXPECT_EQ(game.lastDigit, 8);
    RecordEffectSoundRequests(false);
}

}  // namespace

namespace {

class MusicGame : public Game {
public:
    bool HasMusicSwitch() const override { return true; }
    void OnMusicSwitched(bool musicOn) override { switches.push_back(musicOn); }
    std::vector<bool> switches;
};

TEST(GameMusicTest, TheMusicKeyWorksOnlyInModesWithMusic) {
    Game training;
    SetCurrentGame(&training);
    ToggleMusic();
    EXPECT_FALSE(IsMusicOff());
    MusicGame menu;
    SetCurrentGame(&menu);
    ToggleMusic();
    ToggleMusic();
    EXPECT_EQ(menu.switches, (std::vector<bool>{false, true}));
    EXPECT_FALSE(IsMusicOff());
    SetCurrentGame(nullptr);
}

}  // namespace

namespace {

TEST(GamePauseTest, CarryingSomethingPausesAndOneStepLiftsOnlyTheDebugHold) {
    Game game;
    game.playerPaused = 0;
    GetMouse().mode = 9;  // placing an object
    EXPECT_TRUE(game.IsSimulationPaused());
    GetMouse().mode = Mouse::kModeNothing;
    EXPECT_FALSE(game.IsSimulationPaused());
    game.playerPaused = 1;
    game.stepOneFrame = 1;
    EXPECT_TRUE(game.IsSimulationPaused());  // the step is the debugger's, not the player's
}

}  // namespace

namespace {

TEST(PlayerRosterTest, ThePlayerListHoldsEachPlayerOnce) {
    PlayerRoster roster;
    Player ann, bob;
    ann.name = "Ann";
    bob.name = "Bob";
    roster.AddPlayer(&ann);
    roster.AddPlayer(&bob);
    roster.AddPlayer(&ann);
    EXPECT_EQ(roster.networkPlayers.Count(), 2);
    EXPECT_EQ(roster.FindPlayerByName("BOB"), &bob);
    roster.RemovePlayer(&ann);
    roster.RemovePlayer(&ann);
    ASSERT_EQ(roster.networkPlayers.Count(), 1);
    EXPECT_EQ(roster.networkPlayers[0], &bob);
}

}  // namespace
