// A player's colours where a new player meets them, in GL pictures: the faces pasted on
// the game menu's round buttons stay whole inside the buttons, and the customise screen's
// sliders and random colours dress the figure itself, over the screen's dark backdrop.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

#include "core/Image.h"
#include "core/Tga.h"
#include "engine/AssetPaths.h"
#include "engine/Renderer.h"
#include "game/Player.h"
#include "game/PlayerRoster.h"
#include "modes/UpgradeWindow.h"
#include "net/SessionPeers.h"
#include "platform/sys/Random.h"
#include "platform/window/Keys.h"
#include "support/PlayerHarness.h"
#include "support/ScopedEnv.h"
#include "ui/Window.h"
#include "units/ChassisTable.h"

namespace {

using play_test::PlayerHarness;

int Distance(Color a, Color b) {
    return std::abs(a.Red() - b.Red()) + std::abs(a.Green() - b.Green()) + std::abs(a.Blue() - b.Blue());
}

// Near one of the player's two colours, or white as the face's eyes are.
bool LooksLikeAFace(Color pixel, const Player& player) {
    constexpr int kNear = 90;
    return Distance(pixel, player.primaryColor) < kNear || Distance(pixel, player.trimColor) < kNear ||
           std::min({pixel.Red(), pixel.Green(), pixel.Blue()}) > 200;
}

// Where the button's own picture, stretched over its screen rectangle, is clear two
// pixels around: outside the button's outline and off its soft edge.
bool OutsideTheOutline(const Image& button, const IntRect& rect, int x, int y) {
    constexpr int kEdge = 2;
    const int width = rect.right - rect.left + 1, height = rect.bottom - rect.top + 1;
    for (int dy = -kEdge; dy <= kEdge; ++dy) {
        for (int dx = -kEdge; dx <= kEdge; ++dx) {
            const int u = std::clamp((x + dx - rect.left) * button.Width() / width, 0, button.Width() - 1);
            const int v = std::clamp((y + dy - rect.top) * button.Height() / height, 0, button.Height() - 1);
            if (button.At(u, v).Alpha() != 0) return false;
        }
    }
    return true;
}

TEST(ScreensColoursTest, TheGameMenusFacesStayInsideTheirRoundButtons) {
    PlayerHarness player(play_test::WithPictures());
    if (!player.Unavailable().empty()) GTEST_SKIP() << player.Unavailable();
    EXPECT_EQ(player.ItemNames("GameMenu"), (std::vector<std::string>{"ContinueCampaign", "ReturnMainMenu"}));
    player.TakeTheCampaignMapTour();
    player.Frames(30);
    const Image frame = player.Picture();
    player.KeepPicture("screens_game_menu_faces");
    const struct {
        const char* item;
        const char* button;  // the round picture the face is pasted on
    } kFaces[] = {{"Customization", "CustomizeButton.tga"},
                  {"StartNetworkGame", "StartNetworkGameButton.tga"},
                  {"JoinNetworkGame", "MenuButton.tga"}};
    for (const auto& face : kFaces) {
        Image button;
        ASSERT_EQ(ReadTgaFile((player.Folder() / "Textures" / face.button).string(), button), TgaReadResult::kOk);
        const IntRect rect = player.ItemRect("GameMenu", face.item);
        int outside = 0, faceLike = 0, painted = 0, rim = 0, faceOnRim = 0;
        long paintedX = 0;
        const double centreX = (rect.left + rect.right) / 2.0, centreY = (rect.top + rect.bottom) / 2.0;
        const double radius = (rect.right - rect.left + 1) / 2.0;
        for (int y = std::max(rect.top, 0); y <= std::min(rect.bottom, frame.Height() - 1); ++y) {
            for (int x = std::max(rect.left, 0); x <= std::min(rect.right, frame.Width() - 1); ++x) {
                if (Distance(frame.At(x, y), GetLocalPlayer().primaryColor) < 90) {
                    ++painted;
                    paintedX += x;
                }
                // The button's rim, an outer ring of its disc, shows all round.
                const double out = std::hypot(x - centreX, y - centreY) / radius;
                if (out > 0.85 && out < 0.92) {
                    ++rim;
                    faceOnRim += LooksLikeAFace(frame.At(x, y), GetLocalPlayer()) ? 1 : 0;
                }
                if (!OutsideTheOutline(button, rect, x, y)) continue;
                ++outside;
                faceLike += LooksLikeAFace(frame.At(x, y), GetLocalPlayer()) ? 1 : 0;
            }
        }
        EXPECT_GT(outside, 0) << face.item << ": its button fills its square";
        EXPECT_LE(faceOnRim, rim / 20) << face.item << ": the face covers " << faceOnRim << " of the " << rim
                                       << " pixels of the button's rim";
        EXPECT_LE(faceLike, outside / 50) << face.item << ": " << faceLike << " of the " << outside
                                          << " pixels outside the round button show its face";
        // Whole faces stand about the button's middle; a portrait's corner would lean aside.
        ASSERT_GT(painted, 0) << face.item << " shows none of the player's colour";
        const int width = rect.right - rect.left + 1;
        EXPECT_NEAR(double(paintedX) / painted, (rect.left + rect.right) / 2.0, width / 8.0) << face.item;
    }
}

// Lit and shaded, a painted part keeps its colour's hue: a pixel is a shade of the colour
// when both point the same way in colour space and the pixel is no grey.
bool IsAShadeOf(Color pixel, Color colour) {
    const float p[3] = {float(pixel.Red()), float(pixel.Green()), float(pixel.Blue())};
    const float c[3] = {float(colour.Red()), float(colour.Green()), float(colour.Blue())};
    const float dot = p[0] * c[0] + p[1] * c[1] + p[2] * c[2];
    const float lengths =
        std::sqrt(p[0] * p[0] + p[1] * p[1] + p[2] * p[2]) * std::sqrt(c[0] * c[0] + c[1] * c[1] + c[2] * c[2]);
    const float spread = std::max({p[0], p[1], p[2]}) - std::min({p[0], p[1], p[2]});
    return p[0] + p[1] + p[2] > 120.0f && spread > 40.0f && dot > 0.97f * lengths;
}

int ShadesIn(const Image& frame, const IntRect& rect, Color colour) {
    int count = 0;
    for (int y = rect.top; y <= rect.bottom; ++y) {
        for (int x = rect.left; x <= rect.right; ++x) count += IsAShadeOf(frame.At(x, y), colour) ? 1 : 0;
    }
    return count;
}

// Seeds the scene the game menu picks next: the lab, where the player's unit stands still in
// view.
constexpr uint32_t kSceneSeed = 6887;
// Seeds the customise screen's random colours.
constexpr uint32_t kColourSeed = 5113;

// The most shades of the colour the game menu's scene shows in a second of frames, below
// its sky and round its ring of buttons; the last frame kept under the name.
int SceneShades(PlayerHarness& player, Color colour, const std::string& picture) {
    const Window& menu = player.OpenWindow("GameMenu");
    int most = 0;
    for (int frame = 0; frame < 6; ++frame) {
        player.Frames(10);
        const Image shown = player.Picture();
        constexpr int kHorizon = 240;
        int count = ShadesIn(shown, IntRect(0, kHorizon, shown.Width() - 1, shown.Height() - 1), colour);
        count -= ShadesIn(shown, IntRect(menu.left, std::max(menu.top, kHorizon), menu.right, menu.bottom), colour);
        most = std::max(most, count);
    }
    player.KeepPicture(picture);
    return most;
}

// A colour no shade of which the other is, and strong enough to tell from greys.
bool FarFrom(Color colour, Color other) {
    const int strength = std::max({colour.Red(), colour.Green(), colour.Blue()}) -
                         std::min({colour.Red(), colour.Green(), colour.Blue()});
    return strength > 80 && !IsAShadeOf(colour, other) && !IsAShadeOf(other, colour);
}

TEST(ScreensColoursTest, TheCustomiseSlidersAndRandomColoursDressTheFigureOverADarkBackdrop) {
    PlayerHarness player(play_test::WithPictures());
    if (!player.Unavailable().empty()) GTEST_SKIP() << player.Unavailable();
    player.TakeTheCampaignMapTour();
    // The training ground's window tray shown once before the colours change.
    player.Open("GameMenu", "TrainingLaboratory", "WindowTray");
    player.TapKey(win::kKeyEscape);
    player.WaitFor("ConfirmEscapeMenu");
    player.ClickItem("ConfirmEscapeMenu", player.ItemNames("ConfirmEscapeMenu").front());
    player.WaitFor("GameMenu");
    player.Open("GameMenu", "Customization", "UpgradeWindow");
    player.Frames(10);
    const auto& screen = dynamic_cast<const UpgradeWindow&>(player.OpenWindow("UpgradeWindow"));
    const IntRect figure = screen.figureRect;
    const Color blue = Color::FromRGBA(0, 0, 255, 255);
    const Image first = player.Picture();
    player.KeepPicture("screens_customise_first");
    // Where nothing else is drawn the dark backdrop shows, not the black of the screen.
    for (const Point spot : {Point(8, 400), Point(1015, 400), Point(512, 610)}) {
        const Color pixel = first.At(spot.x, spot.y);
        EXPECT_NEAR(pixel.Red(), 24, 3) << spot.x << ", " << spot.y;
        EXPECT_EQ(pixel.Red(), pixel.Blue()) << spot.x << ", " << spot.y;
    }

    // The main colour's sliders slid to pure blue: red and green to their left ends,
    // blue to its right end.
    player.Click(player.WindowPoint("PrimaryRed", 0.0f, 0.5f));
    player.Click(player.WindowPoint("PrimaryGreen", 0.0f, 0.5f));
    player.Click(player.WindowPoint("PrimaryBlue", 0.99f, 0.5f));
    player.Frames(3);
    const Image blued = player.Picture();
    player.KeepPicture("screens_customise_blue");
    const int blueBefore = ShadesIn(first, figure, blue), blueAfter = ShadesIn(blued, figure, blue);
    EXPECT_GT(blueAfter, 1000) << "the figure wears " << blueAfter << " blue pixels, " << blueBefore << " before";
    EXPECT_GT(blueAfter, 4 * blueBefore + 100);

    // Random colours, asked again until both the main colour and the trim are far from
    // blue: a blue trim alone would dress the figure in as much blue as before. The main
    // colour is told from a new player's, and is not warm: the game menu's lab shows warm
    // shades of its own whoever plays (the professor's face, the wood), all red foremost.
    sys::SRand(kColourSeed);
    Color mixed = screen.SliderColour(UpgradeWindow::kPrimaryRed);
    const Color newPlayers = Color::FromRGBA(160, 100, 200, 255);
    const auto leftBlue = [&] {
        return FarFrom(mixed, blue) && FarFrom(screen.SliderColour(UpgradeWindow::kTrimRed), blue) &&
               FarFrom(mixed, newPlayers) && mixed.Red() < std::max(mixed.Green(), mixed.Blue());
    };
    for (int tries = 0; tries < 24 && !leftBlue(); ++tries) {
        player.ClickItem("UpgradeWindow", "OptionsButton.tga");
        player.Frames(2);
        mixed = screen.SliderColour(UpgradeWindow::kPrimaryRed);
    }
    ASSERT_TRUE(leftBlue()) << "random colours never left blue";
    player.Frames(3);
    const Image random = player.Picture();
    player.KeepPicture("screens_customise_random");
    EXPECT_LT(ShadesIn(random, figure, blue), blueAfter / 4);
    EXPECT_GT(ShadesIn(random, figure, mixed), 4 * ShadesIn(blued, figure, mixed) + 100);

    // Kept, the colours dress the training ground's window tray in the same visit: its
    // Vorns button shows a unit in the new main colour.
    player.ClickItem("UpgradeWindow", "YesButton.tga");
    player.WaitFor("GameMenu");
    player.Open("GameMenu", "TrainingLaboratory", "WindowTray");
    player.Frames(30);
    const Point button = player.EntryPoint("WindowTray", "VornTray");
    const IntRect area(button.x - 14, button.y - 14, button.x + 14, button.y + 14);
    const Image training = player.Picture();
    player.KeepPicture("screens_customise_tray");
    EXPECT_GT(ShadesIn(training, area, mixed), 10) << "the Vorns button keeps the old colours";

    // The game menu's scene shows the player's units in his colours; a new player's in the
    // new player's own, not in the last player's.
    player.TapKey(win::kKeyEscape);
    player.WaitFor("ConfirmEscapeMenu");
    sys::SRand(kSceneSeed);
    player.ClickItem("ConfirmEscapeMenu", player.ItemNames("ConfirmEscapeMenu").front());
    player.WaitFor("GameMenu");
    EXPECT_GT(SceneShades(player, mixed, "screens_game_menu_customised"), 200);
    player.Open("GameMenu", "ReturnMainMenu", "MainMenu");
    player.Open("MainMenu", "SelectPlayer", "PlayerMenu");
    player.Open("PlayerMenu", "CreateNewPlayer", "PlayerNameEditBox");
    player.Type("Second");
    sys::SRand(kSceneSeed);
    player.TapKey(win::kKeyReturn);
    player.WaitFor("GameMenu");
    EXPECT_LT(SceneShades(player, mixed, "screens_game_menu_new_player"), 20) << "the last player's colours";
}

// Pixels of the colour's shades in the picture a texture of the data set's shows now.
int ShadesInTexture(const String& name, Color colour) {
    Image picture;
    GetRenderer().LoadImageFile(picture, TexturePath(name));
    return ShadesIn(picture, IntRect(0, 0, picture.Width() - 1, picture.Height() - 1), colour);
}

// A server whose host wears the joiner's colours gives him others; once he has gone back to
// the game menu, whose scene shows his units in his own colours, and joined a server where
// his own are free, the pictures of his units in the trays and of his weapon buttons wear
// his own colours again.
TEST(ScreensColoursTest, AJoinerRecolouredByOneServerWearsHisOwnColoursAtTheNext) {
    PlayerHarness player(play_test::WithPictures());
    if (!player.Unavailable().empty()) GTEST_SKIP() << player.Unavailable();
    player.TakeTheCampaignMapTour();
    const Color own = GetLocalPlayer().primaryColor;
    net_test::Program wearer("Wearer"), other("Other");
    wearer.networker.SetLocalPlayer(nullptr, "Wearer", own.argb, GetLocalPlayer().trimColor.argb);
    for (net_test::Program* server : {&wearer, &other}) {
        server->networker.SetPort(0);
        ASSERT_TRUE(server->networker.StartServer());
        server->networker.SetState(SessionState::ServerWaiting);
    }
    const String pictures[] = {"VornLauncherButton.tga",
                               ChassisTable::Row(GetLocalPlayer().GetChassisChoice(0))->buttonImage};
    const auto joinAt = [&player](net_test::Program& server) {
        platform_test::ScopedEnv port("VORNS_GAME_PORT", std::to_string(server.networker.ListeningPort()));
        player.ClickItem("ClientSetupWindow", "Connect");
        const auto joined = [&] {
            server.Step();
            return player.IsOpen("ClientWaitAfterJoiningWindow");
        };
        player.FramesUntil(joined, PlayerHarness::kDefaultFrameLimit, "joined");
    };
    player.ClickItem("GameMenu", "JoinNetworkGame");  // a new player's address is this machine's
    player.WaitFor("ClientSetupWindow");
    joinAt(wearer);
    const Color given = GetLocalPlayer().primaryColor;
    ASSERT_TRUE(FarFrom(given, own));
    for (const String& name : pictures) EXPECT_GT(ShadesInTexture(name, given), 100) << name.CStr();

    player.Frames(10);  // his figure shown in them

    // Gone back to the game menu, his units there wear his own colours again.
    player.ClickItem("ClientWaitAfterJoiningWindow", "Cancel");
    player.WaitFor("ClientSetupWindow");
    sys::SRand(kSceneSeed);
    player.ClickItem("ClientSetupWindow", "Back");
    player.WaitFor("GameMenu");
    EXPECT_EQ(GetLocalPlayer().primaryColor.argb, own.argb);
    EXPECT_LT(SceneShades(player, given, "screens_game_menu_after_joining"), 20) << "the server's colours";
    EXPECT_GT(SceneShades(player, own, "screens_game_menu_after_joining"), 200);
    player.ClickItem("GameMenu", "JoinNetworkGame");
    player.WaitFor("ClientSetupWindow");
    joinAt(other);
    EXPECT_EQ(GetLocalPlayer().primaryColor.argb, own.argb);
    for (const String& name : pictures)
        EXPECT_LT(20 * ShadesInTexture(name, given), ShadesInTexture(name, own)) << name.CStr();
}

// A unit placed for each side on the training ground wears its own side's main colour.
TEST(ScreensColoursTest, FriendAndEnemyUnitsWearTheirOwnSidesColours) {
    PlayerHarness player(play_test::WithPictures());
    if (!player.Unavailable().empty()) GTEST_SKIP() << player.Unavailable();
    player.EnterTheTrainingGrounds();
    const Point friendly(400, 380), enemy(640, 380);
    player.Drag(player.EntryPoint("ObjectTray", "SmallFriendVorn"), friendly);
    const Color ours = GetLocalPlayer().primaryColor, theirs = GetOpponentPlayer().primaryColor;
    // The button it came from wears our colour too, the picture the trays of saved units show.
    const Point button = player.EntryPoint("ObjectTray", "SmallFriendVorn");
    const IntRect cell(button.x - 10, button.y - 10, button.x + 10, button.y + 10);
    const Image tray = player.Picture();
    EXPECT_GT(ShadesIn(tray, cell, ours), 10) << "our units' button is not in our colour";
    EXPECT_EQ(ShadesIn(tray, cell, theirs), 0) << "our units' button is in the enemy's colour";
    player.MoveTo(enemy);
    player.TapKey('T');
    player.Drag(player.EntryPoint("ObjectTray", player.EntryNames("ObjectTray").front()), enemy);
    player.MoveTo(Point(512, 700));
    player.Frames(3);
    const Image frame = player.Picture();
    player.KeepPicture("screens_friend_and_enemy");
    ASSERT_TRUE(FarFrom(ours, theirs)) << "the two sides start in alike colours: " << std::hex << ours.argb << " and "
                                       << theirs.argb;
    constexpr int kAround = 30;
    const auto around = [](const Point& at) {
        return IntRect(at.x - kAround, at.y - kAround, at.x + kAround, at.y + kAround);
    };
    EXPECT_GT(ShadesIn(frame, around(friendly), ours), 40);
    EXPECT_EQ(ShadesIn(frame, around(friendly), theirs), 0);
    EXPECT_GT(ShadesIn(frame, around(enemy), theirs), 40);
    EXPECT_EQ(ShadesIn(frame, around(enemy), ours), 0);
}

}  // namespace
