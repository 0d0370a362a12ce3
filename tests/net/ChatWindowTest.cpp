#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "SessionPeers.h"
#include "core/TextTable.h"
#include "engine/Renderer.h"
#include "engine/TextObserver.h"
#include "game/Event.h"
#include "game/Player.h"
#include "game/PlayerRoster.h"
#include "net/ChatWindow.h"
#include "ui/Scoreboard.h"
#include "ui/ServerIPEditBox.h"

namespace {

// Every character is ten pixels wide.
float TenEach(const String& text) { return 10.0f * static_cast<float>(text.CharCount()); }

std::vector<std::string> Texts(const std::vector<String>& pieces) {
    std::vector<std::string> texts;
    for (const String& piece : pieces) texts.push_back(piece.CStr());
    return texts;
}

TEST(ChatWindowTest, LongLinesBreakAtBlanksAndEveryPieceTakesACharacter) {
    EXPECT_EQ(Texts(ChatWindow::WrapLine("short", 100, TenEach)), std::vector<std::string>{"short"});
    EXPECT_EQ(Texts(ChatWindow::WrapLine("one two three", 80, TenEach)),
              (std::vector<std::string>{"one two", " three"}));
    EXPECT_EQ(Texts(ChatWindow::WrapLine("abcdefghij", 40, TenEach)), (std::vector<std::string>{"abcd", "efgh", "ij"}));
    // Narrower than one character: one character a piece, and the loop ends.
    EXPECT_EQ(Texts(ChatWindow::WrapLine("abc", 5, TenEach)), (std::vector<std::string>{"a", "b", "c"}));
}

TEST(ChatWindowTest, ADarkPlayersColourIsLightenedForReadingAndKeepsItsHue) {
    const Color blue = ChatWindow::ReadableOnBlack(Color::FromRGBA(0, 0, 255, 255));
    EXPECT_EQ(blue.Red(), blue.Green());
    EXPECT_EQ(blue.Blue(), 255);
    EXPECT_GE(blue.Red(), 90) << "pure blue on black reads at about 2.4 : 1";
    EXPECT_LE(blue.Red(), 140) << "no paler than it needs to be";
    const Color green = Color::FromRGBA(0, 255, 0, 255);
    EXPECT_EQ(ChatWindow::ReadableOnBlack(green), green);
}

class ChatHistoryTest : public ::testing::Test {
protected:
    void SetUp() override { window.SetMeasure(TenEach); }
    void Command(int32_t type, int32_t value = 0) {
        Event event;
        event.type = type;
        event.value = value;
        window.HandleCommand(event);
    }
    ChatWindow window;
};

TEST_F(ChatHistoryTest, TheHistoryKeepsFiftyLinesAndAScrolledViewStaysPut) {
    for (int i = 0; i < 51; ++i) window.AddLine(String::FromInt(i), Color(0xFFFFFFFF));
    ASSERT_EQ(window.History().size(), 50u);
    EXPECT_STREQ(window.History().front().text.CStr(), "50");
    EXPECT_STREQ(window.History().back().text.CStr(), "1");
    Command(kEventSetScroller, 3);
    EXPECT_EQ(window.ScrollPosition(), 3);
    window.AddChatLine("ann", "hello", Color(0xFF00FF00));
    EXPECT_EQ(window.ScrollPosition(), 4);
    Command(kEventSetScroller, 1000);
    EXPECT_EQ(window.ScrollPosition(), 45);
}

TEST_F(ChatHistoryTest, OnlyALaughInTheMessageItselfPlaysALaugh) {
    window.AddChatLine("LOLA", "hello", Color(0xFFFFFFFF));
    EXPECT_EQ(window.LaughsPlayed(), 0);
    window.AddChatLine("ann", "that was LOL", Color(0xFFFFFFFF));
    EXPECT_EQ(window.LaughsPlayed(), 1);
}

TEST_F(ChatHistoryTest, TheEntryLineTakesPrintableCharactersUpToItsLimit) {
    Command(kEventAddChar, 8);  // backspace on nothing: refused, nothing breaks
    for (int i = 0; i < 300; ++i) Command(kEventAddChar, 'x');
    EXPECT_EQ(window.EntryText().CharCount(), ChatWindow::kMaxEntryChars);
    Command(kEventAddChar, 8);
    Command(kEventAddChar, 7);  // a control code is ignored
    EXPECT_EQ(window.EntryText().CharCount(), ChatWindow::kMaxEntryChars - 1);
    Command(kEventAddChar, 13);
    EXPECT_TRUE(window.EntryText().IsEmpty());
    Command(kEventAddChar, 13);  // return on an empty line sends nothing
    EXPECT_TRUE(window.EntryText().IsEmpty());
}

// A see-through colour, black and a very dark grey: each player's chat line and
// scoreboard row is written opaque and light enough to read.
TEST_F(ChatHistoryTest, LinesAndScoreboardRowsReadInAnyColour) {
    struct : TextObserver {
        void TextDrawn(const DrawnText& run) override { colours[run.text.CStr()] = run.colour; }
        std::map<std::string, Color> colours;
    } drawn;
    Player players[3];
    const std::pair<const char*, uint32_t> looks[3] = {
        {"Ghost", 0x0000FF00}, {"Shadow", 0xFF000000}, {"Dusk", 0xFF202020}};
    for (int i = 0; i < 3; ++i) {
        players[i].name = looks[i].first;
        players[i].primaryColor = Color(looks[i].second);
        GetPlayerRoster().networkPlayers.Append(&players[i]);
        window.AddLine(String(looks[i].first) + " line", Color(looks[i].second));
    }
    GetScoreboard().Refresh();
    TextObserver* kept = SetTextObserver(&drawn);
    ASSERT_TRUE(GetRenderer().GetReady());
    window.DrawContents();
    GetScoreboard().DrawContents();
    GetRenderer().EndFrame();
    SetTextObserver(kept);
    GetPlayerRoster().networkPlayers.Clear();
    for (const auto& [name, colour] : looks) {
        for (const std::string& text : {std::string(name), std::string(name) + " line"}) {
            const Color shown = drawn.colours[text];
            EXPECT_EQ(shown.Alpha(), 255) << text;
            EXPECT_GE(std::max({shown.Red(), shown.Green(), shown.Blue()}), 110) << text;
        }
    }
}

// "You are out" is about the battle it came in: it stays for the battle and its results
// and is gone when the next set-up opens the chat; the rest of the history stays.
TEST_F(ChatHistoryTest, TheOutLineIsGoneOnceItsBattleIsOver) {
    net_test::Program program("alice");
    window.SetSession(&program.networker);
    GetTextTable().Set("NoVornsLeft", "You are out.");
    window.AddChatLine("bob", "good luck", Color(0xFF00FF00));
    program.networker.SetState(SessionState::ClientPlaying);
    window.AddLine("** You are out.", Color(0xFFFFFFFF));
    for (const SessionState state : {SessionState::ClientPlaying, SessionState::ClientResults}) {
        program.networker.SetState(state);
        window.OnOpen();
        ASSERT_EQ(window.History().size(), 2u);
    }
    program.networker.SetState(SessionState::ClientSetup);
    window.OnOpen();
    ASSERT_EQ(window.History().size(), 1u);
    EXPECT_NE(std::string(window.History()[0].text.CStr()).find("good luck"), std::string::npos);
}

TEST(ServerIPEditBoxTest, TheHostIsTheTextAfterTheLastColon) {
    EXPECT_STREQ(ServerIPEditBox::HostPart("10.0.0.5").CStr(), "10.0.0.5");
    EXPECT_STREQ(ServerIPEditBox::HostPart("name:alias:10.0.0.5").CStr(), "10.0.0.5");
    EXPECT_STREQ(ServerIPEditBox::HostPart("name:").CStr(), "");
}

}  // namespace
