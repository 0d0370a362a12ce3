// The menu game's first run and its music, which follows the program's focus and
// starts a new song after a silence; the training grounds' escape question and pause.
#include <gtest/gtest.h>

#include "ModesTestSupport.h"
#include "audio/Music.h"
#include "core/TextTable.h"
#include "engine/Mouse.h"
#include "modes/MenuGame.h"
#include "modes/TrainingGame.h"
#include "screens/IntroScreen.h"
#include "screens/MainMenu.h"
#include "support/VornTestWorld.h"
#include "ui/WindowManager.h"

namespace {

using modes_test::ModesTest;

// Songs that play until the test ends them.
class SilentMenuGame final : public MenuGame {
public:
    ~SilentMenuGame() override { StopMusic(); }
    bool IsSongActive() const override { return songActive; }
    StreamSound* PlaySong() override {
        ++songsStarted;
        songActive = true;
        return reinterpret_cast<StreamSound*>(&songsStarted);
    }
    void ReleaseSong() override { songActive = false; }

    int songsStarted = 0;
    bool songActive = false;
};

class MenuGameTest : public ModesTest {
protected:
    void SetUp() override {
        ModesTest::SetUp();
        SetModeShell(&shell);
        menu.frameTime = 0.5f;
    }
    void TearDown() override {
        GetMouse().active = 1;
        SetMusicOff(false);
        SetModeShell(nullptr);
        ModesTest::TearDown();
    }
    void Tick(int frames) {
        InputEvent tick;
        tick.Set(kInputFrameTick, 0, Point());
        for (int i = 0; i < frames; ++i) menu.PreviewInputEvent(tick);
    }

    SilentMenuGame menu;
};

TEST_F(MenuGameTest, TheFirstRunShowsTheIntroWithoutMusicAndLaterRunsTheMenu) {
    shell.introSeen = false;
    menu.Begin();
    EXPECT_TRUE(GetWindowManager().IsOpen(&GetIntroScreen()));
    EXPECT_TRUE(shell.introSeen);
    EXPECT_EQ(menu.songsStarted, 0);

    GetWindowManager().CloseAllWindows();
    while (!GetWindowManager().ReturnStack().IsEmpty()) GetWindowManager().ReturnToPreviousWindow();
    menu.Begin();
    EXPECT_TRUE(GetWindowManager().IsOpen(&GetMainMenu()));
    EXPECT_EQ(menu.songsStarted, 1);
}

TEST_F(MenuGameTest, ASilenceOfThreeSecondsBringsTheNextSongAndFocusPausesTheMusic) {
    menu.StartMusic();
    menu.songActive = false;  // the song ended
    Tick(6);                  // 3 s of silence: not yet
    EXPECT_EQ(menu.songsStarted, 1);
    Tick(1);
    EXPECT_EQ(menu.songsStarted, 2);

    GetMouse().active = 0;
    Tick(1);
    EXPECT_FALSE(menu.IsMusicPlaying());
    Tick(4);  // stays off while the program is in the background
    EXPECT_EQ(menu.songsStarted, 2);
    GetMouse().active = 1;
    Tick(1);
    EXPECT_FALSE(menu.IsMusicPlaying());
    Tick(1);
    EXPECT_EQ(menu.songsStarted, 3);

    menu.StopMusic();
    SetMusicOff(true);
    menu.StartMusic();
    EXPECT_FALSE(menu.IsMusicPlaying());
}

class TrainingGameTest : public VornTestWorld {
protected:
    void SetUp() override {
        VornTestWorld::SetUp();
        GetTextTable().Set("LeaveTrainingGrounds?", "Leave?");
        GetTextTable().Set("UnsavedVorns", " Unsaved!");
    }
    void TearDown() override {
        GetTextTable().Clear();
        VornTestWorld::TearDown();
    }
};

TEST_F(TrainingGameTest, EscapeWarnsOfEditedUnitsAndPausingResetsPatternsOnce) {
    TrainingGame training(red, blue);
    training.playerPaused = 0;
    Vorn* unit = AddUnit(&red, kRobotSmall, 20.0f, 20.0f, 0.0f);
    EXPECT_EQ(training.EscapeQuestion(), "Leave?");
    unit->edited = 1;
    EXPECT_EQ(training.EscapeQuestion(), "Leave? Unsaved!");

    unit->actionQueue.Append(NewAction(0));
    training.SetPaused(true);
    EXPECT_TRUE(unit->actionQueue.IsEmpty());
    unit->actionQueue.Append(NewAction(0));
    training.SetPaused(true);  // already paused: the units keep their state
    EXPECT_EQ(unit->actionQueue.Count(), 1);
    unit->ClearActionQueue();
}

}  // namespace
