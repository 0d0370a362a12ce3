// What a new player sees of the screens' text and tips, in GL pictures: titles drawn as
// glyphs, tool tips over everything on their backdrop, names kept inside their box; and
// the keys a name box, a list or a menu takes for itself.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "InputPlaySteps.h"
#include "core/Image.h"
#include "core/TextTable.h"
#include "core/Tga.h"
#include "engine/Font.h"
#include "platform/window/Keys.h"
#include "support/PlayerHarness.h"
#include "ui/ToolTip.h"
#include "ui/Window.h"

namespace {

using play_test::PlayerHarness;

bool IsWhite(Color pixel) { return std::min({pixel.Red(), pixel.Green(), pixel.Blue()}) > 160; }

// Clearly coloured, not a grey of the white text's edges: what shows of buttons and
// labels (under the tip's dark panel their colours are dimmed to greys).
bool IsColoured(Color pixel) {
    return std::max({pixel.Red(), pixel.Green(), pixel.Blue()}) - std::min({pixel.Red(), pixel.Green(), pixel.Blue()}) >
           60;
}

int CountIn(const Image& frame, const IntRect& rect, bool (*test)(Color)) {
    int count = 0;
    for (int y = std::max(0, rect.top); y <= std::min(frame.Height() - 1, rect.bottom); ++y) {
        for (int x = std::max(0, rect.left); x <= std::min(frame.Width() - 1, rect.right); ++x) {
            if (test(frame.At(x, y))) ++count;
        }
    }
    return count;
}

// The screen rectangle of a text drawn with the program's font at the scale.
IntRect TextRect(const String& text, float x, float y, float scale) {
    Vector2 size;
    GetFont().GetTextWidth(size, text, scale);
    return IntRect(int(x), int(y), int(x + size.x) - 1, int(y + size.y) - 1);
}

// A run of white text at its rectangle lights about as many pixels as the font's own
// glyphs cover (counted in the font texture the program loaded), not the whole
// rectangle as solid boxes would.
::testing::AssertionResult DrawnAsGlyphs(const PlayerHarness& player, const Image& frame, const String& text,
                                         const IntRect& rect, float scale) {
    Image texture;
    const std::string fontFile = (player.Folder() / "Textures" / "VornsFontEnglish.tga").string();
    if (ReadTgaFile(fontFile, texture) != TgaReadResult::kOk) return ::testing::AssertionFailure() << fontFile;
    const Font& font = GetFont();
    const int cellWidth = texture.Width() / Font::kCellsPerSide, cellHeight = texture.Height() / Font::kCellsPerSide;
    double covered = 0.0;
    for (int i = 0; i < text.CharCount(); ++i) {
        const unsigned char code = static_cast<unsigned char>(text[i]);
        const int centre = (code % Font::kCellsPerSide) * cellWidth + cellWidth / 2;
        const int top = (code / Font::kCellsPerSide) * cellHeight;
        for (int y = top; y < top + cellHeight; ++y) {
            for (int x = centre - font.widths[code] / 2; x < centre + font.widths[code] / 2; ++x) {
                if (texture.At(x, y).Alpha() > 127) covered += double(scale) * scale;
            }
        }
    }
    const double area = double(rect.right - rect.left + 1) * (rect.bottom - rect.top + 1);
    const double expected = covered / area;
    const double lit = CountIn(frame, rect, IsWhite) / area;
    if (lit > 0.4 * expected && lit < 1.6 * expected + 0.02) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "\"" << text.CStr() << "\" lights " << lit
                                         << " of its rectangle; its glyphs cover " << expected;
}

// Clicks the item of the menu and waits for the window it opens.
void Choose(PlayerHarness& player, const char* menu, const char* item, const char* opens) {
    player.ClickItem(menu, item);
    player.FramesUntil([&] { return player.IsOpen(opens); }, 300, std::string(opens) + " opens");
}

// The frame as the player sees it once the screen has settled, kept under the name.
Image Look(PlayerHarness& player, const char* name) {
    player.Frames(5);
    const Image frame = player.Picture();
    player.KeepPicture(name);
    EXPECT_TRUE(player.ShowsAScreen(name));
    return frame;
}

TEST(ScreensFaultsTest, TheOptionsTitleIsDrawnAsLetters) {
    PlayerHarness player(play_test::WithPictures());
    if (!player.Unavailable().empty()) GTEST_SKIP() << player.Unavailable();
    Choose(player, "GameMenu", "ReturnMainMenu", "MainMenu");
    Choose(player, "MainMenu", "Options", "OptionsWindow");
    const Image frame = Look(player, "screens_options");
    // The title stands centred in the top line, at one and a half times the font's size.
    const String title = GetLanguageText("Options");
    Vector2 size;
    GetFont().GetTextWidth(size, title, 1.5f);
    EXPECT_TRUE(DrawnAsGlyphs(player, frame, title, TextRect(title, 512.0f - size.x / 2, 0.0f, 1.5f), 1.5f));
}

TEST(ScreensFaultsTest, ATitleMenuTipIsReadOverTheButtonsOnItsBackdrop) {
    PlayerHarness player([] {
        play_test::HarnessSettings settings = play_test::OnTheTitleMenu();
        settings.pictures = true;
        return settings;
    }());
    if (!player.Unavailable().empty()) GTEST_SKIP() << player.Unavailable();
    player.FramesUntil([&] { return player.IsOpen("MainMenu"); }, 600, "the title menu opens");
    // The options button's tip stands above it, over its neighbour on the ring.
    player.MoveTo(player.ItemPoint("MainMenu", "Options"));
    const ToolTip& tip = GetToolTip();
    player.FramesUntil([&] { return tip.shown; }, 300, "the options button's tip shows");
    const Image frame = player.Picture();
    player.KeepPicture("screens_title_tip");
    const IntRect rect = TextRect(tip.text, tip.position.x, tip.position.y, 0.75f);
    EXPECT_TRUE(DrawnAsGlyphs(player, frame, tip.text, rect, 0.75f));
    // The neighbouring buttons and the menu's label lie under the tip's panel, dimmed.
    EXPECT_EQ(CountIn(frame, rect, IsColoured), 0) << "buttons show through the tip at " << rect.left << "," << rect.top
                                                   << " - " << rect.right << "," << rect.bottom;
}

TEST(ScreensFaultsTest, ALongPlayerNameStaysInsideThePlayerList) {
    play_test::HarnessSettings settings = play_test::WithPictures();
    settings.newPlayer = "Averyveryverylongplayernameiiiiiiiiiiiiiiiiiiii";
    PlayerHarness player(settings);
    if (!player.Unavailable().empty()) GTEST_SKIP() << player.Unavailable();
    Choose(player, "GameMenu", "ReturnMainMenu", "MainMenu");
    Choose(player, "MainMenu", "SelectPlayer", "PlayerMenu");
    Choose(player, "PlayerMenu", "LoadPlayer", "PlayerListBox");
    const Image frame = Look(player, "screens_player_list");
    const Window& list = player.OpenWindow("PlayerListBox");
    // Beside the box's right frame, level with its first rows: nothing of the name.
    const int32_t outside = list.right + list.frame.border + 1;
    EXPECT_EQ(CountIn(frame, IntRect(outside, list.top, outside + 200, list.top + 40), IsWhite), 0);
}

}  // namespace

namespace {

bool ShowsTextStarting(const PlayerHarness& player, const String& start) {
    return std::ranges::any_of(player.TextsShown(),
                               [&](const play_test::ShownText& run) { return run.text.rfind(start.CStr(), 0) == 0; });
}

// A name typed into the editor's name box reaches the box alone: its "t" does not switch
// the team units are placed for, which T over the field does. Ctrl+F, as the key help
// says, shows the frame rate. The scenario's name box, too, takes every key while open.
TEST(ScreensFaultsTest, KeysReachTheNameBoxAloneAndCtrlFShowsTheFrameRate) {
    PlayerHarness player;
    player.EnterTheTrainingGrounds();
    const std::vector<std::string> ourUnits = player.EntryNames("ObjectTray");
    const Point field(500, 380);
    player.Drag(player.EntryPoint("ObjectTray", "SmallFriendVorn"), field);
    player.RightClick(field);
    player.WaitFor("VornWindow");
    player.ClickItem("VornWindow", "SaveVorn");
    player.WaitFor("VornNameEditBox");
    player.MoveTo(Point(300, 600));  // the pointer over the field, where T switches the team
    player.Type("Tattletale");
    player.TapKey(win::kKeyReturn);
    player.WaitUntilClosed("VornNameEditBox");
    EXPECT_TRUE(std::filesystem::exists(player.Folder() / "Players/Tester/Vorns/Tattletale.VRN"));
    EXPECT_EQ(player.EntryNames("ObjectTray"), ourUnits);
    player.ClickItem("VornWindow", "CloseButton.tga");
    player.WaitUntilClosed("VornWindow");
    player.MoveTo(field);
    player.TapKey('T');
    EXPECT_NE(player.EntryNames("ObjectTray"), ourUnits) << "T over the field switches the team";

    const String rate = GetLanguageText("FPS");
    EXPECT_FALSE(ShowsTextStarting(player, rate));
    player.PressKey(win::kKeyControl);
    player.TapKey('F');
    player.ReleaseKey(win::kKeyControl);
    player.FramesUntil([&] { return ShowsTextStarting(player, rate); }, 60, "the frame rate shows");
    player.PressKey(win::kKeyControl);
    player.TapKey('F');
    player.ReleaseKey(win::kKeyControl);
    player.FramesUntil([&] { return !ShowsTextStarting(player, rate); }, 60, "the frame rate hides again");

    // The scenario's name box takes the keys with the pointer left on the control tray, and
    // Escape closes the box alone. The cheat word typed over the field offers the tray's
    // scenario entries.
    player.TapKey(win::kKeyReturn);
    player.Type("quab");
    player.TapKey(win::kKeyReturn);
    const Point save = player.EntryPoint("ControlTray", "SaveScenario");
    player.Click(save);
    player.WaitFor("ScenarioNameEditBox");
    player.Type("Field");
    player.TapKey(win::kKeyReturn);
    player.WaitUntilClosed("ScenarioNameEditBox");
    EXPECT_TRUE(std::filesystem::exists(player.Folder() / "Players/Tester/Scenarios/Field.SCN"));
    player.Click(save);
    player.WaitFor("ScenarioNameEditBox");
    player.TapKey(win::kKeyEscape);
    player.WaitUntilClosed("ScenarioNameEditBox");
    player.Frames(10);
    EXPECT_FALSE(player.IsOpen("ConfirmEscapeMenu")) << "Escape in the name box asked to leave the grounds";
    // So does the scenario list, with the pointer on it.
    const auto openTheList = [&] {
        player.Click(player.EntryPoint("ControlTray", "LoadScenario"));
        player.WaitFor("ScenarioListBox");
        player.MoveTo(player.WindowPoint("ScenarioListBox"));
    };
    input_play::ExpectEscapeClosesOnly(player, "ConfirmEscapeMenu", openTheList, "ScenarioListBox");
}

}  // namespace
