// A whole game on the GL backend headless, over the runtime folder's data set. The flow a
// player plays (WholeGameFlowTest) goes through the player harness. WholeGameTest keeps,
// set up by hand, what a fresh profile cannot reach by itself yet: a battle of the data
// set's units, which carry patterns, fought to its end against the computer's squad, and
// the results window, which only network games open. A frame of each moment is kept
// under the build folder as tests/screenshots/whole_game_<n>_<moment>.tga.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <memory>

#include "app/LanguageFile.h"
#include "app/PlayerFolders.h"
#include "battlefield/ArenaWindow.h"
#include "battlefield/BattleServices.h"
#include "battlefield/BattlefieldViews.h"
#include "battlefield/ControlTray.h"
#include "battlefield/MiniMap.h"
#include "battlefield/ObjectTray.h"
#include "battlefield/ResultsWindow.h"
#include "battlefield/SelectionTray.h"
#include "battlefield/SquadTray.h"
#include "battlefield/VornTray.h"
#include "core/Image.h"
#include "core/TextTable.h"
#include "engine/AssetPaths.h"
#include "engine/Camera.h"
#include "engine/Font.h"
#include "engine/GlTestWindow.h"
#include "engine/MeshBatch.h"
#include "engine/Mouse.h"
#include "engine/Renderer.h"
#include "game/Event.h"
#include "game/Game.h"
#include "game/Player.h"
#include "game/PlayerRoster.h"
#include "game/Squad.h"
#include "game/UpgradeItem.h"
#include "modes/PlayerFigure.h"
#include "modes/TrainingGame.h"
#include "platform/gfx/Device.h"
#include "platform/sys/Random.h"
#include "platform/window/Keys.h"
#include "platform/window/SystemWindow.h"
#include "support/PlayerHarness.h"
#include "support/RuntimeCopy.h"
#include "support/WorkingFolder.h"
#include "ui/Scoreboard.h"
#include "ui/SquadNameEditBox.h"
#include "ui/VornCountMenu.h"
#include "ui/VornNameEditBox.h"
#include "ui/WindowManager.h"
#include "ui/WindowTray.h"
#include "units/ChassisTable.h"
#include "units/PatternMatcher.h"
#include "units/Vorn.h"
#include "units/WeaponTable.h"
#include "world/Arena.h"
#include "world/ObjectKind.h"
#include "world/SaveFilePaths.h"

namespace {

namespace fs = std::filesystem;

constexpr int kWidth = 1024;
constexpr int kHeight = 768;
constexpr float kFrame = 1.0f / 30.0f;
constexpr float kTimeLimit = 180.0f;
constexpr const char* kComputerSquad = "Vanguard";

// The results of a battle against the computer, under the last-unit-standing rules.
class LastUnitStanding : public ResultsHost {
public:
    int32_t GameRules() const override { return 0; }
    void DrawPlayers(const StringArray&) override {}
    void ShowPose(Player&, bool) override {}
    void ResetPoses() override {}
    void RequestReplay() override {}
};

int CountUnitsOf(const Player* player) {
    int count = 0;
    for (const WorldObject* object : gArena->Objects()) {
        count += object->kind == kKindVorn && static_cast<const Vorn*>(object)->owner == player ? 1 : 0;
    }
    return count;
}

class WholeGameTest : public ::testing::Test {
protected:
    void SetUp() override {
        buildFolder_ = fs::current_path();
        const fs::path runtime = runtime_test::BuiltRuntimeFolder();
        if (!fs::exists(runtime / "Textures") || !fs::exists(runtime / "Squads")) GTEST_SKIP() << "no runtime folder";
        // The runtime folder's data in a folder of the test's own, with no options saved and
        // a Players folder that starts empty.
        folder_ = std::make_unique<runtime_test::RuntimeCopy>();
        fs::remove(*folder_ / "Options.txt");
        working_ = std::make_unique<app_test::WorkingFolder>(folder_->Path());

        Renderer& renderer = GetRenderer();
        renderer.Shutdown();
        const std::string failure = engine_test::OpenGlRenderer(kWidth, kHeight, window_, renderer);
        if (!failure.empty()) GTEST_SKIP() << failure;
        ASSERT_TRUE(LoadLanguageTexts("English.txt", GetTextTable()));
        renderer.LoadFont(GetFont(), TexturePath("VornsFontEnglish.tga"), 1);
        GetScreenCamera().SetScreenView(IntRect(0, 0, kWidth - 1, kHeight - 1), true);
        LoadChassisDefinitions();
        LoadWeaponDefinitions();
        GetMouse().LoadCursorSprites();

        sys::SRand(20261207);
        String refusal;
        ASSERT_TRUE(CreatePlayer("Tester", refusal)) << refusal.CStr();
        // The computer's side: a squad of the data set in the new player's folder, as a
        // mission's gift would put it there.
        fs::copy_file(runtime / "Squads" / (std::string(kComputerSquad) + ".SQD"),
                      *folder_ / "Players/Tester/Squads" / (std::string(kComputerSquad) + ".SQD"));
        Player& computer = GetOpponentPlayer();
        computer.name = "Computer";
        for (int size = 0; size < 3; ++size) computer.chassisChoices[size] = 3 + size;
        arena_ = std::make_unique<Arena>();
        gArena = arena_.get();
        arena_->Initialize();
        matcher_ = std::make_unique<PatternMatcher>();
        gPatternMatcher = matcher_.get();
        views_.Attach(*arena_);
        CreateBattleWindows(nullptr);
        training_ = std::make_unique<TrainingGame>(GetLocalPlayer(), computer);
    }
    void TearDown() override {
        if (arena_ == nullptr) return;
        if (CurrentGame() == training_.get()) training_->End();
        GetWindowManager().CloseAllWindows();
        GetPlayerRoster().networkPlayers.Clear();
        views_.Detach(*arena_);
        gPatternMatcher = nullptr;
        SetCurrentGame(nullptr);
        arena_->Shutdown();
        gArena = nullptr;
        FreeChassisDefinitions();
        GetRenderer().Shutdown();
        SetDataFolders("Vorns\\", "Squads\\", "Scenarios\\");
    }

    // One frame as the main loop draws it.
    static Image Frame() {
        Renderer& renderer = GetRenderer();
        EXPECT_TRUE(renderer.GetReady());
        renderer.Clear(Color(0xFF000000), 1.0f, 3);
        GetWindowManager().RenderAll();
        GetMouse().Draw();
        renderer.EndFrame();
        Image frame;
        EXPECT_EQ(renderer.GetDevice().ReadBackBuffer(frame), gfx::Result::Ok);
        return frame;
    }
    // The frame is kept as a picture.
    Image Picture(const char* name) {
        Image frame = Frame();
        app_test::WorkingFolder back(buildFolder_.string());
        std::cout << "picture: " << engine_test::KeepPicture(frame, name) << "\n";
        return frame;
    }
    // The windows' own input step: the input, then the events it posted.
    void Input(const InputEvent& input) {
        WindowManager& manager = GetWindowManager();
        if (input.kind == kInputFrameTick || input.kind == kInputPointerMove) {
            manager.BroadcastInput(input);
        } else {
            manager.OfferInput(input);
        }
        training_->DispatchEvents();
    }
    void Tick() {
        InputEvent tick;
        tick.kind = kInputFrameTick;
        Input(tick);
    }
    void Post(Window& target, int32_t type, const char* text, int32_t value) {
        Event* event = training_->NewEvent();
        event->type = type;
        event->target = &target;
        event->text = text;
        event->value = value;
        training_->PostEvent(event);
        training_->DispatchEvents();
    }
    Point ScreenOf(const Vector3& ground) {
        const Vector3 screen = GetArenaWindow().CurrentCamera().Project(ground);
        return Point(int32_t(screen.x), int32_t(screen.y));
    }
    void Step() {
        training_->frameTime = kFrame;
        arena_->AdvanceObjectClocks();
        arena_->Update();
        training_->Update();
        training_->clock += kFrame;
    }
    // The unit's body over its screen square: the frame is drawn again without the body
    // and the pixels that change are the body's. A drawn body covers a good part of the
    // square and is lit, not a black cut-out.
    static void ExpectBodyShown(Vorn& unit, const Image& frame) {
        IntRect square;
        ASSERT_TRUE(GetArenaWindow().UnitScreenRect(unit, square)) << unit.name.CStr();
        ModelNode* body = unit.bodyModel;
        ASSERT_NE(body, nullptr);
        unit.bodyModel = nullptr;
        const Image bare = Frame();
        unit.bodyModel = body;
        int pixels = 0, covered = 0, brightness = 0;
        for (int y = std::max(square.top, 0); y <= std::min(square.bottom, kHeight - 1); ++y) {
            for (int x = std::max(square.left, 0); x <= std::min(square.right, kWidth - 1); ++x) {
                ++pixels;
                const Color shown = frame.At(x, y);
                if (shown.argb == bare.At(x, y).argb) continue;
                ++covered;
                brightness += std::max({shown.Red(), shown.Green(), shown.Blue()});
            }
        }
        ASSERT_GT(pixels, 0);
        EXPECT_GT(covered * 10, pixels) << unit.name.CStr() << ": " << covered << " of " << pixels << " pixels";
        EXPECT_GT(brightness, covered * 60) << unit.name.CStr() << ": the body is drawn unlit";
    }
    static bool Differs(const Image& frame, const IntRect& area) {
        const Color first = frame.At(area.left, area.top);
        for (int y = area.top; y <= area.bottom; y += 4) {
            for (int x = area.left; x <= area.right; x += 4) {
                if (frame.At(x, y).argb != first.argb) return true;
            }
        }
        return false;
    }

    fs::path buildFolder_;
    std::unique_ptr<runtime_test::RuntimeCopy> folder_;
    std::unique_ptr<app_test::WorkingFolder> working_;
    std::unique_ptr<win::SystemWindow> window_;
    std::unique_ptr<Arena> arena_;
    std::unique_ptr<TrainingGame> training_;
    std::unique_ptr<PatternMatcher> matcher_;
    BattlefieldViews views_;
};

TEST_F(WholeGameTest, DesignLaunchFightAndSeeTheResults) {
    WindowManager& manager = GetWindowManager();
    ArenaWindow& battlefield = GetArenaWindow();
    // The training grounds, entered with their windows and controls unlocked; the game
    // lays the windows out, here by hand.
    Player& local = GetLocalPlayer();
    for (int32_t item = 0; item < WindowTray::kButtonCount; ++item) local.SetUpgradeLevel(item, 0);
    for (const char* key : {"TreeObject", "RockObject", "SolarChargerObject", "SmallVorn", "MediumVorn", "LargeVorn",
                            "PlayControl", "PauseControl", "TeamEnemyControl", "TeamFriendControl"}) {
        local.SetUpgradeLevel(FindUpgradeItem(key), 0);
    }
    SetCurrentGame(training_.get());
    training_->Begin();
    ASSERT_TRUE(manager.IsOpen(&battlefield));
    battlefield.SetCameraType(ArenaWindow::kCameraOverhead);
    battlefield.ResetCameras();
    Post(GetWindowTray(), kEventPickTrayEntry, "SquadTray", 0);
    ASSERT_TRUE(manager.IsOpen(&GetSquadTray()));
    training_->StopBackgroundFade();
    const struct {
        Window* window;
        Point place;
    } layout[] = {{&GetMiniMap(), Point(14, 14)},     {&GetControlTray(), Point(14, 180)},
                  {&GetObjectTray(), Point(960, 60)}, {&GetVornTray(), Point(14, 640)},
                  {&GetSquadTray(), Point(500, 640)}, {&GetWindowTray(), Point(700, 20)}};
    for (const auto& each : layout) {
        ASSERT_TRUE(manager.IsOpen(each.window)) << each.window->name.CStr();
        each.window->MoveTo(each.place);
        each.window->Refresh();
    }
    ASSERT_EQ(GetVornTray().EntryCount(), 0);  // a fresh profile has no saved unit
    const Image ground = Picture("whole_game_1_training_ground");
    EXPECT_TRUE(Differs(ground, IntRect(200, 200, 800, 600)));  // the terrain is drawn
    const int batchesOfTheEmptyField = MeshBatch::LiveCount();

    // A unit designed on a medium chassis and saved under its name.
    Vorn* design = arena_->PlaceChassisAt(1, Vector3(80.0f, 80.0f, 0.0f), &local);
    ASSERT_NE(design, nullptr);
    ASSERT_TRUE(design->LoadFile("Brawler"));  // the data set's unit as the starting point
    design->weapons[1].SetKind(kWeaponLaser);
    VornNameEditBox& nameBox = GetVornNameEditBox();
    nameBox.unit = design;
    manager.OpenWindow(&nameBox);
    nameBox.text = "Hornet";
    nameBox.Accept();
    manager.CloseWindow(&nameBox);
    ASSERT_TRUE(fs::exists(*folder_ / "Players/Tester/Vorns/Hornet.VRN"));
    ASSERT_EQ(GetVornTray().EntryCount(), 1);
    EXPECT_EQ(GetVornTray().EntryName(0), String("Hornet"));
    design->Remove(0);
    arena_->RemoveFlaggedObjects(false);
    Picture("whole_game_2_unit_saved");

    // Three copies dropped from the unit tray with Ctrl held, then band-selected and
    // saved as a squad.
    Mouse& mouse = GetMouse();
    mouse.HideCursor(VornTray::kCarryVorn, nullptr);
    mouse.dragText = "Hornet";
    mouse.heldKeys[win::kKeyControl] = 1;
    const Point drop = ScreenOf(Vector3(80.0f, 80.0f, 0.0f));
    InputEvent release;
    release.Set(kInputUp, kInputButtonLeft, drop);
    Input(release);
    mouse.heldKeys[win::kKeyControl] = 0;
    VornCountMenu& count = GetVornCountMenu();
    ASSERT_TRUE(count.open);
    count.OnChoice(2);
    ASSERT_EQ(CountUnitsOf(&local), 3);
    Post(battlefield, kEventBeginSelectGroup, "", 0);
    battlefield.bandStart = Vector3(55.0f, 80.0f, 0.0f);
    Event end;
    end.type = kEventEndSelectGroup;
    end.position3 = Vector3(105.0f, 80.0f, 0.0f);
    battlefield.HandleCommand(end);
    ASSERT_EQ(battlefield.Selection().Count(), 3);
    Post(GetSelectionTray(), kEventPickTrayEntry, "SaveSquad", 0);
    SquadNameEditBox& squadBox = GetSquadNameEditBox();
    ASSERT_TRUE(squadBox.open);
    squadBox.text = "Hornets";
    squadBox.Accept();
    manager.CloseWindow(&squadBox);
    ASSERT_EQ(GetSquadTray().FindSummary("Hornets") >= 0, true);
    const Image squad = Picture("whole_game_3_squad_saved");
    for (WorldObject* object : battlefield.Selection()) ExpectBodyShown(*static_cast<Vorn*>(object), squad);
    Post(GetSelectionTray(), kEventDeleteSelection, "", 0);
    arena_->RemoveFlaggedObjects(false);

    // The launch, paused: the squad dragged from the squad tray onto the field, the
    // placing side switched to the computer and its squad dropped facing ours, then Play.
    ControlTray& controls = GetControlTray();
    Post(controls, kEventPickTrayEntry, "Pause", 0);
    ASSERT_NE(training_->playerPaused, 0);
    const auto dropSquad = [&](const char* squadName, const Vector3& ground) {
        Post(GetSquadTray(), kEventGrabTrayEntry, squadName, 0);
        ASSERT_EQ(GetMouse().mode, SquadTray::kCarrySquad);
        InputEvent drop;
        drop.Set(kInputUp, kInputButtonLeft, ScreenOf(ground));
        Input(drop);
    };
    dropSquad("Hornets", Vector3(65.0f, 80.0f, 0.0f));
    ASSERT_EQ(CountUnitsOf(&local), 3);
    ASSERT_TRUE(controls.IsEntryShown(controls.FindEntryByName("TeamEnemy")));
    Post(controls, kEventPickTrayEntry, "TeamEnemy", 0);
    ASSERT_TRUE(controls.IsEntryShown(controls.FindEntryByName("TeamFriend")));
    dropSquad(kComputerSquad, Vector3(95.0f, 80.0f, 0.0f));
    ASSERT_GT(CountUnitsOf(&GetOpponentPlayer()), 0);
    EXPECT_EQ(CountUnitsOf(&local), 3);
    Picture("whole_game_4_launch");
    Post(controls, kEventPickTrayEntry, "Play", 0);
    ASSERT_EQ(training_->playerPaused, 0);

    // The battle, fought to its end or to the time limit, looked at half-way.
    battlefield.SetFollowVorn(ArenaWindow::FindNextTeamVorn(nullptr, true));
    float seconds = 0.0f;
    bool halfWay = false;
    for (; seconds < kTimeLimit; seconds += kFrame) {
        Step();
        if (CountUnitsOf(&local) == 0 || CountUnitsOf(&GetOpponentPlayer()) == 0) break;
        if (!halfWay && seconds > 2.0f) {
            // The camera has caught up with the followed unit, as after a few frames.
            Vorn* followed = ArenaWindow::FindNextTeamVorn(nullptr, true);
            ASSERT_NE(followed, nullptr);
            battlefield.SetFollowVorn(followed);
            battlefield.TickFollow();
            battlefield.CurrentCamera().SetLookAt(battlefield.CurrentCamera().target);
            const Image battle = Picture("whole_game_5_battle");
            ExpectBodyShown(*followed, battle);
            halfWay = true;
        }
    }
    const int left = CountUnitsOf(&local);
    const int right = CountUnitsOf(&GetOpponentPlayer());
    std::cout << "battle: " << seconds << " s, " << left << " of ours and " << right << " of theirs left\n";
    EXPECT_TRUE(left == 0 || right == 0 || seconds >= kTimeLimit - kFrame);

    // The results: every player's line, and the scoreboard over them.
    GetPlayerRoster().networkPlayers.Clear();
    GetPlayerRoster().networkPlayers.Append(&local);
    GetPlayerRoster().networkPlayers.Append(&GetOpponentPlayer());
    local.won = left > right ? 1 : 0;
    GetOpponentPlayer().won = right > left ? 1 : 0;
    GetScoreboard().ResetStatistics();
    EXPECT_EQ(local.vornsAlive, left);
    EXPECT_EQ(GetOpponentPlayer().vornsAlive, right);
    // The battlefield stays behind the results; the trays go.
    for (Window* window : {static_cast<Window*>(&GetWindowTray()), static_cast<Window*>(&GetMiniMap()),
                           static_cast<Window*>(&GetControlTray()), static_cast<Window*>(&GetObjectTray()),
                           static_cast<Window*>(&GetVornTray()), static_cast<Window*>(&GetSquadTray())}) {
        manager.CloseWindow(window);
    }
    LastUnitStanding rules;
    ResultsWindow& results = GetResultsWindow();
    results.host = &rules;
    manager.OpenWindow(&results);
    manager.OpenWindow(&GetScoreboard());
    GetScoreboard().MoveTo(Point(380, 300));
    GetScoreboard().Refresh();
    const Image shown = Picture("whole_game_6_results");
    EXPECT_TRUE(Differs(shown, GetScoreboard().Rect()));
    results.host = nullptr;

    // The draw batches of the units went with them.
    EXPECT_GT(MeshBatch::LiveCount(), batchesOfTheEmptyField);
    arena_->ClearBattlefield(false);
    EXPECT_EQ(MeshBatch::LiveCount(), batchesOfTheEmptyField);
}

// A whole game in the training grounds as a new player plays it, drawn with GL, from a
// fresh profile whose campaign map opened the grounds: a unit designed on a chassis and
// saved from the editor, three copies of it dropped with Ctrl held, band-selected and
// saved as a squad, the placing side switched to the other team with T and three copies
// dropped for it facing ours, and the battle started. A frame of each moment is kept as tests/screenshots/whole_game_<n>_<moment>.tga.
class WholeGameFlowTest : public ::testing::Test {
protected:
    void WaitFor(const std::string& window) { player_.WaitFor(window); }
    // Copies of the saved unit dragged from the unit tray with Ctrl held, as many as
    // picked from the count menu.
    void DropCopies(const Point& at, const std::string& count) {
        player_.Drag(player_.EntryPoint("VornTray", kUnit), at, win::MouseButton::Left, play_test::kCtrl);
        WaitFor("VornCountMenu");
        player_.ClickItem("VornCountMenu", count);
    }
    // A name typed into an edit box that has just opened, and confirmed.
    void Name(const std::string& box, const std::string& name) {
        WaitFor(box);
        player_.ClickWindow(box);
        player_.Type(name);
        player_.TapKey(win::kKeyReturn);
    }
    Image Keep(const std::string& moment) {
        const Image frame = player_.Picture();
        EXPECT_TRUE(player_.ShowsAScreen(frame, moment));
        player_.KeepPicture("whole_game_" + moment);
        return frame;
    }

    static constexpr int kChangeFrames = 300;
    static constexpr const char* kUnit = "Hornet";
    play_test::PlayerHarness player_{play_test::WithPictures()};
};

TEST_F(WholeGameFlowTest, DesignCopyAndPlaceBothTeamsAndStartTheBattle) {
    if (!player_.Unavailable().empty()) GTEST_SKIP() << player_.Unavailable();
    player_.EnterTheTrainingGrounds();
    ASSERT_TRUE(player_.EntryNames("VornTray").empty());  // a fresh profile has no saved unit
    Keep("1_training_ground");

    // A unit placed from the object tray, opened in the editor and saved under a name.
    const Point designed(500, 380);
    player_.Drag(player_.EntryPoint("ObjectTray", "SmallFriendVorn"), designed);
    player_.RightClick(designed);
    WaitFor("VornWindow");
    const Window& editor = player_.OpenWindow("VornWindow");
    player_.Click(Point(editor.right - 16, editor.top + 16));  // the save button, top right
    Name("VornNameEditBox", kUnit);
    player_.WaitUntilClosed("VornNameEditBox");
    ASSERT_TRUE(fs::exists(player_.Folder() / "Players/Tester/Vorns/Hornet.VRN"));
    EXPECT_EQ(player_.EntryNames("VornTray"), std::vector<std::string>{kUnit});
    Keep("2_unit_saved");
    player_.ClickItem("VornWindow", "CloseButton.tga");

    // Three copies, band-selected with Shift held and saved as a squad.
    DropCopies(Point(300, 300), "3");
    EXPECT_EQ(CountUnitsOf(&GetLocalPlayer()), 4);
    player_.Drag(Point(200, 200), Point(420, 420), win::MouseButton::Left, play_test::kShift);
    WaitFor("SelectionTray");
    player_.ClickEntry("SelectionTray", "SaveSquad");
    Name("SquadNameEditBox", "Hornets");
    player_.FramesUntil([&] { return fs::exists(player_.Folder() / "Players/Tester/Squads/Hornets.SQD"); },
                        kChangeFrames, "the squad is saved");
    Keep("3_squad_saved");

    // The other team's copies: T switches the side units are placed for.
    player_.MoveTo(Point(700, 300));
    player_.TapKey('T');
    DropCopies(Point(700, 300), "3");
    ASSERT_EQ(CountUnitsOf(&GetOpponentPlayer()), 3);
    Keep("4_launch");

    // The battle runs. (Units designed without a pattern stand still, so it has no end
    // until the player draws them one in the pattern editor.)
    player_.ClickEntry("ControlTray", "Play");
    player_.Frames(100);
    EXPECT_EQ(CountUnitsOf(&GetLocalPlayer()), 4);
    EXPECT_EQ(CountUnitsOf(&GetOpponentPlayer()), 3);
    Keep("5_battle");
}

// The window tray offers a profile the same trays whether the training grounds were
// entered from the campaign map or from the game menu.
TEST_F(WholeGameFlowTest, TheWindowTrayOffersTheSameTraysFromTheMapAsFromTheGameMenu) {
    if (!player_.Unavailable().empty()) GTEST_SKIP() << player_.Unavailable();
    player_.EnterTheTrainingGrounds();
    const std::vector<std::string> fromTheMap = player_.EntryNames("WindowTray");
    player_.TapKey(win::kKeyEscape);
    player_.Open("ConfirmEscapeMenu", "Yes", "MissionMapWindow");
    player_.Open("MissionMapWindow", "ExitButton.tga", "GameMenu");
    player_.Open("GameMenu", "TrainingLaboratory", "WindowTray");
    EXPECT_EQ(fromTheMap, player_.EntryNames("WindowTray"));
}

}  // namespace

// The player's figure on its stage, as the network, options and customise screens show
// it: the whole body stands inside its box, its shadow on the floor under its feet. Kept
// as tests/screenshots/player_figure.tga.
TEST_F(WholeGameTest, ThePlayersFigureStandsWholeInItsBoxOverItsShadow) {
    const IntRect box(384, 256, 639, 511);
    const Color floor(0xFF808080);
    PlayerFigure& figure = GetPlayerFigure(GetLocalPlayer());
    figure.rect = box;
    figure.SetPose(PlayerFigure::kIdle);
    const auto draw = [&figure, floor] {
        Renderer& renderer = GetRenderer();
        EXPECT_TRUE(renderer.GetReady());
        renderer.Clear(floor, 1.0f, 3);
        figure.Draw(0.0f);
        renderer.EndFrame();
        Image frame;
        EXPECT_EQ(renderer.GetDevice().ReadBackBuffer(frame), gfx::Result::Ok);
        return frame;
    };
    const Image dressed = draw();
    {
        app_test::WorkingFolder back(buildFolder_.string());
        std::cout << "picture: " << engine_test::KeepPicture(dressed, "player_figure") << "\n";
    }
    Vorn* unit = figure.GetVorn();
    ASSERT_NE(unit, nullptr);
    ModelNode* body = unit->bodyModel;
    unit->bodyModel = nullptr;
    const Image bare = draw();
    unit->bodyModel = body;
    // The rows the body covers, and those the shadow alone darkens.
    int bodyTop = kHeight, bodyBottom = -1, shadowTop = kHeight, shadowBottom = -1;
    for (int y = box.top; y <= box.bottom; ++y) {
        for (int x = box.left; x <= box.right; ++x) {
            if (dressed.At(x, y).argb != bare.At(x, y).argb) {
                bodyTop = std::min(bodyTop, y);
                bodyBottom = std::max(bodyBottom, y);
            }
            if (bare.At(x, y).argb != floor.argb) {
                shadowTop = std::min(shadowTop, y);
                shadowBottom = std::max(shadowBottom, y);
            }
        }
    }
    EXPECT_GT(bodyTop, box.top);
    EXPECT_LT(bodyBottom, box.bottom);
    EXPECT_LT(shadowTop, bodyBottom);
    EXPECT_GT(shadowBottom, bodyBottom);
    ReleasePlayerFigure(GetLocalPlayer());
}
