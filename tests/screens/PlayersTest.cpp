// The player list: what it lists, picking a profile, deleting one (and only that one),
// and the new-player name box, which says why it refuses a name.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "ScreenTestSupport.h"
#include "core/FileHelpers.h"
#include "core/TextTable.h"
#include "game/Event.h"
#include "platform/window/Keys.h"
#include "screens/ConfirmDeletePlayerMenu.h"
#include "screens/GameMenu.h"
#include "screens/PlayerListBox.h"
#include "screens/PlayerMenu.h"
#include "screens/PlayerNameEditBox.h"
#include "screens/PlayerSelectWindow.h"
#include "support/TempFolder.h"
#include "support/WorkingFolder.h"
#include "ui/ErrorBox.h"
#include "ui/WindowManager.h"

namespace {

namespace fs = std::filesystem;
using screens_test::ScreenTest;

class PlayersTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        working_ = std::make_unique<app_test::WorkingFolder>(folder_.Path());
        for (const char* player : {"Ann", "Bob", ".hidden"})
            fs::create_directories(folder_ / (std::string("Players/") + player));
        fs::create_directories(folder_ / "Players/Bob/Vorns");
        std::ofstream(folder_ / "Players/Bob/Bob.DATA") << "Name Bob\n";
        std::ofstream(folder_ / "Players/Old.DATA") << "Name Old\n";
        std::ofstream(folder_ / "Players/Loose") << "\n";
        GetWindowManager().OpenWindow(&GetPlayerSelectWindow());
    }
    void TearDown() override {
        SetDataRoot(".");
        ScreenTest::TearDown();
        working_.reset();
    }
    std::vector<std::string> Listed() const {
        std::vector<std::string> names;
        for (const String& item : GetPlayerListBox().items) names.push_back(item.CStr());
        return names;
    }
    void DeleteByAnswer(const char* name) {
        Post(GetPlayerListBox(), kEventDeleteTrayEntry, 0, name);
        ConfirmDeletePlayerMenu& menu = GetConfirmDeletePlayerMenu();
        ASSERT_TRUE(IsOpen(menu));
        Post(menu, kEventPickEntry, ConfirmDeletePlayerMenu::kYes);
    }

    platform_test::TempFolder folder_;
    std::unique_ptr<app_test::WorkingFolder> working_;
};

std::vector<std::string> Names(std::initializer_list<const char*> names) { return {names.begin(), names.end()}; }

TEST_F(PlayersTest, TheListHoldsTheNamesWithoutExtensionAndNoHiddenOnes) {
    EXPECT_TRUE(IsOpen(GetPlayerListBox()));
    EXPECT_EQ(Listed(), Names({"Ann", "Bob", "Loose"}));
}

TEST_F(PlayersTest, PickingAProfileLoadsItRemembersItAndOpensTheGameMenu) {
    Post(GetPlayerListBox(), kEventOpenGameMenu, 1);
    EXPECT_EQ(shell.loaded, std::vector<std::string>{"Bob"});
    EXPECT_EQ(shell.writtenLastPlayer, "Bob");
    EXPECT_TRUE(IsOpen(GetGameMenu()));
    EXPECT_FALSE(IsOpen(GetPlayerSelectWindow()));

    GetWindowManager().OpenWindow(&GetPlayerSelectWindow());
    TakeSounds();
    Post(GetPlayerListBox(), kEventOpenGameMenu, 7);  // a stale index
    EXPECT_EQ(shell.loaded.size(), 1u);
    EXPECT_EQ(TakeSounds(), std::vector<std::string>{"SOUNDS\\ILLEGAL.OGG"});
}

TEST_F(PlayersTest, DeletingAPlayerRemovesItsFolderWithTheProfileAndNothingElse) {
    shell.lastPlayer = "Bob";
    DeleteByAnswer("Bob");
    EXPECT_FALSE(fs::exists(folder_ / "Players/Bob"));
    EXPECT_TRUE(fs::exists(folder_ / "Players/Ann"));
    EXPECT_TRUE(fs::exists(folder_ / "Players/Old.DATA"));
    EXPECT_EQ(Listed(), Names({"Ann", "Loose"}));
    EXPECT_EQ(shell.writtenLastPlayer, "");  // the last player's name goes with it

    shell.lastPlayer = "Ann";
    DeleteByAnswer("Loose");
    EXPECT_EQ(shell.lastPlayer, "Ann");
}

TEST_F(PlayersTest, ADeletionThatFailsOrNamesNoListedPlayerChangesNothing) {
    // Outside the data folder nothing is deleted, as on a disk that refuses.
    SetDataRoot((folder_ / "Players/Ann").c_str());
    DeleteByAnswer("Bob");
    EXPECT_TRUE(fs::exists(folder_ / "Players/Bob/Bob.DATA"));
    EXPECT_EQ(Listed(), Names({"Ann", "Bob", "Loose"}));
    SetDataRoot(".");

    TakeSounds();
    DeleteByAnswer("..");
    DeleteByAnswer(".hidden");
    EXPECT_TRUE(fs::exists(folder_ / "Players/.hidden"));
    EXPECT_EQ(TakeSounds(), (std::vector<std::string>{"SOUNDS\\MOUSEUP.OGG", "SOUNDS\\ILLEGAL.OGG",
                                                      "SOUNDS\\MOUSEUP.OGG", "SOUNDS\\ILLEGAL.OGG"}));
}

TEST_F(PlayersTest, ANewNameMakesThePlayerAndARefusedOneAsksAgain) {
    GetTextTable().Set("PlayerAlreadyExists", "Taken");
    GetTextTable().Set("PlayerNameEmpty", "Nameless");
    GetTextTable().Set("NameCharacters", "Letters");
    PlayerNameEditBox& box = GetPlayerNameEditBox();
    GetWindowManager().OpenWindow(&box);
    GetWindowManager().BringToFront(&box);
    // Return on no name, and a blank or a sign typed, keep the box and say why.
    const auto said = [&] { return box.Complaint().IsEmpty() ? std::string() : box.Complaint()[0].CStr(); };
    MovePointer(box.left + 10, box.top + 5);
    TapKey(win::kKeyReturn);
    EXPECT_TRUE(IsOpen(box));
    EXPECT_EQ(said(), "Nameless");
    for (const char* sign : {" ", ".", "_", "-", "\xc3\xa9"}) {
        Type(sign);
        EXPECT_EQ(said(), "Letters") << sign;
    }
    EXPECT_EQ(box.text, "");
    EXPECT_TRUE(shell.created.empty());
    shell.failure = "PlayerAlreadyExists";
    box.text = "bob";
    Post(box, kEventEnterString, 0, "bob");
    ErrorBox& error = GetErrorBox();
    ASSERT_TRUE(IsOpen(error));
    EXPECT_EQ(error.message[0], "Taken");
    EXPECT_FALSE(IsOpen(box));
    Post(error, kEventContinueErrorBox);
    EXPECT_TRUE(IsOpen(box));

    shell.failure.Clear();
    box.text = "Cy";
    Post(box, kEventEnterString, 0, "Cy");
    EXPECT_EQ(shell.created, (std::vector<std::string>{"bob", "Cy"}));
    EXPECT_EQ(shell.writtenLastPlayer, "Cy");
    EXPECT_TRUE(IsOpen(GetGameMenu()));

    GetWindowManager().OpenWindow(&box);
    Post(box, kEventAbortString);
    EXPECT_TRUE(IsOpen(GetPlayerMenu()));
}

}  // namespace
