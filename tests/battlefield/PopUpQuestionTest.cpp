// A question too long for one line of the round pop-up menu, as a player meets it on
// leaving the training grounds: it is broken into lines that all stay on the disc, each
// readable. A count menu's title keeps clear of the items round it.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "platform/window/Keys.h"
#include "support/PlayerHarness.h"
#include "ui/PopUpMenu.h"

namespace {

using play_test::PlayerHarness;
using play_test::ShownText;

std::string Words(const std::string& text) {
    std::istringstream in(text);
    std::string word;
    std::string words;
    while (in >> word) words += (words.empty() ? "" : " ") + word;
    return words;
}

bool OnTheDisc(const Point& centre, int radius, int x, int y) {
    return std::hypot(double(x - centre.x), double(y - centre.y)) <= double(radius);
}

TEST(PopUpQuestionTest, ALongQuestionIsBrokenIntoLinesThatStayOnTheDisc) {
    PlayerHarness player(play_test::WithPictures());
    if (!player.Unavailable().empty()) GTEST_SKIP() << player.Unavailable();
    player.EnterTheTrainingGrounds();
    player.TapKey(win::kKeyEscape);
    player.WaitFor("ConfirmEscapeMenu");
    const Image picture = player.Picture();
    player.KeepPicture("leave_question");

    const auto& menu = dynamic_cast<const PopUpMenu&>(player.OpenWindow("ConfirmEscapeMenu"));
    const std::string question = Words(menu.title.CStr());
    ASSERT_GT(question.size(), 20u) << "a question longer than the disc is wide";
    // The white runs of the question, in drawing order; each is also drawn once as its shadow.
    std::string said;
    int lines = 0;
    for (const ShownText& run : player.TextsShown()) {
        if (run.text.empty() || question.find(Words(run.text)) == std::string::npos) continue;
        const IntRect& r = run.rect;
        EXPECT_TRUE(OnTheDisc(menu.centre, menu.Reach(), r.left, r.top) &&
                    OnTheDisc(menu.centre, menu.Reach(), r.right, r.top) &&
                    OnTheDisc(menu.centre, menu.Reach(), r.left, r.bottom) &&
                    OnTheDisc(menu.centre, menu.Reach(), r.right, r.bottom))
            << "\"" << run.text << "\" runs off the disc";
        if (run.colour != Color(0xFFFFFFFF)) continue;
        EXPECT_TRUE(player.ShowsText(picture, run));
        said += (said.empty() ? "" : " ") + Words(run.text);
        ++lines;
    }
    EXPECT_GT(lines, 1);
    EXPECT_EQ(said, question);
}

// The runs of the title of the menu in front that run under one of its items.
std::vector<std::string> RunsUnderItems(PlayerHarness& player) {
    player.Frame();
    const std::string name = player.FrontWindow();
    const auto* menu = dynamic_cast<const PopUpMenu*>(&player.OpenWindow(name));
    if (menu == nullptr) return {name + " is not a pop-up menu"};
    std::vector<std::string> under;
    int lines = 0;
    for (const ShownText& run : player.TextsShown()) {
        const Point middle = run.rect.GetCenter();
        if (Words(run.text).empty() || !OnTheDisc(menu->centre, menu->Reach(), middle.x, middle.y)) continue;
        ++lines;
        for (const std::string& item : player.ItemNames(name)) {
            const IntRect r = player.ItemRect(name, item);
            if (run.rect.right > r.left && r.right > run.rect.left && run.rect.bottom > r.top && r.bottom > run.rect.top)
                under.push_back("\"" + run.text + "\" under item " + item);
        }
    }
    if (lines == 0) under.emplace_back("no title drawn");
    return under;
}

TEST(PopUpQuestionTest, ACountMenusTitleRunsUnderNoItem) {
    PlayerHarness player;
    if (!player.Unavailable().empty()) GTEST_SKIP() << player.Unavailable();
    player.EnterTheTrainingGrounds();
    player.Drag(player.EntryPoint("ObjectTray", "SmallFriendVorn"), player.WindowPoint("ArenaWindow", 0.5f, 0.5f),
                win::MouseButton::Left, play_test::kCtrl);
    EXPECT_EQ(RunsUnderItems(player), std::vector<std::string>{});
    // With Shift held the menu offers to spread the units across the arena.
    player.PressKey(win::kKeyShift);
    EXPECT_EQ(RunsUnderItems(player), std::vector<std::string>{});
    player.ReleaseKey(win::kKeyShift);
}

}  // namespace
