#pragma once
// Plays the real program as a player does, and nothing else.
//
// A harness starts the real Application through its own start-up order (Startup,
// EnterFrontEnd, then one RunFrame per frame) in a window of 1024 x 768, with the sound on
// the null device, which plays each frame's share of time (the scripted step, or the real
// time since the last frame) so that clips and spoken pages end after their own length, inside a fresh copy of the runtime folder (build/game) made in a
// temporary folder of its own, which becomes the working folder while the harness lives.
// Unless told otherwise it then makes a new profile through the title menu's player
// screens, clicking and typing as a player does, and ends on the game menu.
//
// Input goes only where a player's goes: through the scripted window, as pointer moves,
// presses, releases, wheel notches, keys and typed text. Each step runs the frames the
// program needs to see it. The finders (ItemPoint, WindowPoint, ...) look a control up
// on screen by its window's name and its own name; a step that names a window or a
// control that is not shown fails with that name and what is shown instead: the step
// throws PlayerStepFailed, which ends the test at that step (gtest reports the message).
//
// Drawing goes to the recording device (no pixels) unless `pictures` is asked for: then
// the window carries a hidden offscreen OpenGL surface and every frame is drawn by Mesa.
// When no GL context can be made, Unavailable() says why and the test should skip:
//
//     play_test::PlayerHarness player(play_test::WithPictures());
//     if (!player.Unavailable().empty()) GTEST_SKIP() << player.Unavailable();
//     player.EnterTheTrainingGrounds();
//     player.Drag(player.EntryPoint("ObjectTray", "SmallFriendVorn"), Point(500, 380));
//     player.RightClick(Point(500, 380));
//     player.WaitFor("VornWindow");
//     const Image frame = player.Picture();
//     EXPECT_TRUE(player.ShowsAScreen(frame, "the unit editor"));
//     EXPECT_TRUE(player.ShowsText(frame, "NoName", "VornWindow"));
//
// Read back: which windows are open and which is in front, the current game mode, the
// picture of a frame (GL only; kept under build/tests/screenshots/ by KeepPicture) and
// the two picture checks: a screen is shown (not one colour), and a given text is drawn
// with the font's glyphs (found by the glyphs' own shapes, so boxes fail); and every text
// run the last frame drew, with its screen rectangle (TextsShown). Every file the
// program asked for and could not find while the harness lived is listed by
// MissingFiles().
//
// Forked children: nothing of the harness exists before one is constructed, and it
// changes only process-wide things (working folder, environment, the renderer's
// globals) while it lives; a child process may construct its own harness after fork()
// as long as the parent's harness is not in the middle of a frame. One harness at a time
// per process. (Until every renderer object has one owner, a harness that follows another
// in one process may meet a model the first one's renderer freed: the units' bodies and
// pattern icons, the player figure.)
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/Color.h"
#include "core/Image.h"
#include "core/IntRect.h"
#include "core/Point.h"
#include "platform/window/Message.h"

class Application;
class Sprite;
class Tray;
class Window;
class SpriteGrid;
namespace win {
class ScriptedWindow;
}

namespace play_test {

class GlyphFinder;

// A step that could not be taken as asked: the message names what was missing.
class PlayerStepFailed : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct HarnessSettings {
    // Draw with OpenGL so that frames have pixels.
    bool pictures = false;
    // Make a new profile of this name through the screens and end on the game menu;
    // empty: stay on the title menu as a fresh install starts.
    std::string newPlayer = "Tester";
    // Words of the command line after "Window" (which the harness always gives).
    std::string commandLine;
    // Above 0: every frame lasts this long in the game, however long it took to run, so
    // battles play the same on a busy machine. 0: the real clock (programs that talk to
    // each other keep it).
    float frameSeconds = 0.0f;
};

// Drawn with GL, on the game menu of a new player.
inline HarnessSettings WithPictures() {
    HarnessSettings settings;
    settings.pictures = true;
    return settings;
}

// On the title menu as a fresh install starts, with no profile made.
inline HarnessSettings OnTheTitleMenu() {
    HarnessSettings settings;
    settings.newPlayer.clear();
    return settings;
}

// A text run the program drew in a frame: what, where on screen, how large and in what colour.
struct ShownText {
    std::string text;
    IntRect rect;  // the screen pixels the run covers, as the font measures it
    float scale = 1.0f;
    Color colour;
};

class TextCollector;

// Keys held through a drag.
enum Modifiers : uint32_t { kNoModifier = 0, kCtrl = 1, kShift = 2 };

class PlayerHarness {
public:
    // Frames a condition may take by default before the step fails.
    static constexpr int kDefaultFrameLimit = 600;

    explicit PlayerHarness(const HarnessSettings& settings = HarnessSettings());
    ~PlayerHarness();
    PlayerHarness(const PlayerHarness&) = delete;
    PlayerHarness& operator=(const PlayerHarness&) = delete;

    // Whether a harness of this process has drawn with GL (whose drivers keep allocations
    // to the end: the leak check skips such a process).
    static bool OpenedGl();
    // Why the program could not be started as asked (no GL); empty when it runs.
    const std::string& Unavailable() const { return unavailable_; }
    // The copy of the runtime folder the program runs in.
    const std::filesystem::path& Folder() const { return folder_; }
    Application& App() { return *application_; }

    // --- frames
    void Frame();
    void Frames(int count);
    // Runs frames until the condition holds (checked before each); fails naming `what`
    // after `limit` frames.
    void FramesUntil(const std::function<bool()>& condition, int limit, const std::string& what);
    // Frames until the window is open (closed); fails naming it after the limit.
    void WaitFor(const std::string& windowName, int limit = kDefaultFrameLimit);
    void WaitUntilClosed(const std::string& windowName, int limit = kDefaultFrameLimit);
    // False once the program has ended (the quit message arrived).
    bool Running() const { return running_; }

    // --- the pointer (screen pixels); each step runs one frame after it
    void MoveTo(const Point& point);
    void Press(const Point& point, win::MouseButton button = win::MouseButton::Left);
    void Release(const Point& point, win::MouseButton button = win::MouseButton::Left);
    void Click(const Point& point, win::MouseButton button = win::MouseButton::Left);
    void RightClick(const Point& point) { Click(point, win::MouseButton::Right); }
    void DoubleClick(const Point& point, win::MouseButton button = win::MouseButton::Left);
    // Press at `from`, move in `steps` moves to `to`, release there; with the modifier
    // keys held throughout.
    void Drag(const Point& from, const Point& to, win::MouseButton button = win::MouseButton::Left,
              uint32_t modifiers = kNoModifier, int steps = 4);
    // Positive notches turn away from the player.
    void Wheel(const Point& point, int notches);

    // --- the keyboard (virtual-key codes of platform/window/Keys.h)
    void TapKey(int key);
    // Held down for `frames` frames, then released.
    void HoldKey(int key, int frames);
    void PressKey(int key);
    void ReleaseKey(int key);
    // Pressed in order and let go in reverse within one frame, as a quick hand on a slow
    // frame gives them (Control then F is Ctrl+F); one frame after.
    void Chord(std::initializer_list<int> keys);
    // Characters as a keyboard types them, one frame after.
    void Type(const std::string& text);

    // --- finding what is on screen (each fails when it is not shown)
    // An open window by its name.
    Window& OpenWindow(const std::string& windowName);
    Point WindowPoint(const std::string& windowName);
    // The point at that share of the open window's width and height (0, 0 the top-left
    // corner): a place on a slider, a spot on a map.
    Point WindowPoint(const std::string& windowName, float acrossShare, float downShare);
    // An item of the window's button grids (a menu's ring of items, a screen's buttons),
    // by the item's name, or for an item without one by its picture's file name
    // ("ExitButton.tga"), as a player knows a button by its face.
    // `nth` counts the items of that name from 0, for rows of alike buttons.
    Point ItemPoint(const std::string& windowName, const std::string& itemName, int nth = 0);
    // The screen rectangle of that item's picture.
    IntRect ItemRect(const std::string& windowName, const std::string& itemName, int nth = 0);
    // The names of the items shown, as ItemPoint takes them.
    std::vector<std::string> ItemNames(const std::string& windowName);
    void ClickItem(const std::string& windowName, const std::string& itemName);
    // An entry of a tray or list window (units, squads, players, ...) in a cell shown now,
    // by the entry's name; and the names of the entries shown.
    Point EntryPoint(const std::string& windowName, const std::string& entryName);
    std::vector<std::string> EntryNames(const std::string& windowName);
    void ClickEntry(const std::string& windowName, const std::string& entryName);
    void ClickWindow(const std::string& windowName) { Click(WindowPoint(windowName)); }
    // Clicks the item and waits until the window it opens is open.
    void Open(const std::string& windowName, const std::string& itemName, const std::string& opened);

    // --- longer steps every flow needs
    // Waits for the text box (a tour, a lesson) and pages through it with the space bar
    // until it closes.
    void ReadToTheEnd(const std::string& textWindow = "TextBox");
    // From a new profile's game menu: the campaign map, its tour read to the end, and back
    // to the game menu, which then offers the training grounds, customising and network play.
    void TakeTheCampaignMapTour();
    // From a new profile's game menu: the campaign map and its tour, which open the way,
    // then the map's training button, until the battlefield's trays are up.
    void EnterTheTrainingGrounds();

    // --- what the player sees
    bool IsOpen(const std::string& windowName) const;
    // Names of the open windows, back to front.
    std::vector<std::string> OpenWindowNames() const;
    std::string FrontWindow() const;
    // The current game mode's name ("MenuGame", "TrainingGame", ...); empty for none.
    std::string Mode() const;
    // A frame drawn now (runs one frame). Empty without pictures.
    Image Picture();
    // Picture() saved as build/tests/screenshots/<name>.tga; the full path.
    std::string KeepPicture(const std::string& name);
    // A picture already taken saved so, without drawing another frame: what was checked in
    // it is what is kept, and TextsShown() stays that frame's.
    std::string KeepPicture(const Image& picture, const std::string& name);

    // --- picture checks; without pictures they pass (there is nothing to look at), so
    // that one flow runs on both devices. The forms without a picture draw a frame.
    // The picture (or the rectangle of it) is not one uniform colour: a screen is shown.
    ::testing::AssertionResult ShowsAScreen(const std::string& what, const IntRect& rect = IntRect());
    static ::testing::AssertionResult ShowsAScreen(const Image& picture, const std::string& what,
                                                   const IntRect& rect = IntRect());
    // The text is drawn with the font's glyphs on screen, or over the open window of that
    // name: a player can read it. A text drawn as solid boxes, or not at all, fails.
    ::testing::AssertionResult ShowsText(const std::string& text, const std::string& windowName = "");
    ::testing::AssertionResult ShowsText(const Image& picture, const std::string& text,
                                         const std::string& windowName = "");
    ::testing::AssertionResult ShowsText(const Image& picture, const std::string& text, const IntRect& area);
    // A run of TextsShown() is drawn with the font's glyphs where and as large as it was drawn.
    ::testing::AssertionResult ShowsText(const Image& picture, const ShownText& run);
    // A run of the last frame's TextsShown() that holds the words is drawn with the font's
    // glyphs where and as large as it was drawn; the picture must be of that frame. Read
    // in its place, a text is not taken for stray pixels elsewhere on the screen.
    ::testing::AssertionResult ShowsTextRun(const Image& picture, const std::string& words);
    // Every text run drawn in the last frame, in drawing order (with or without pictures).
    const std::vector<ShownText>& TextsShown() const;
    // Every name the program asked to open since the harness started that names nothing.
    std::vector<std::string> MissingFiles() const;

private:
    void CopyRuntimeFolder();
    void Start(const HarnessSettings& settings);
    void MakeNewPlayer(const std::string& name);
    win::ScriptedWindow& Input();
    // The null sound device plays the frame's time, as a sound card would have meanwhile.
    void PlayOutSound();
    // Every button grid of the window, its own controls first.
    std::vector<SpriteGrid*> GridsOf(Window& window) const;
    const Sprite& ShownItem(const std::string& windowName, const std::string& itemName, int nth);
    Tray& OpenTray(const std::string& windowName);
    [[noreturn]] void Fail(const std::string& what) const;
    const GlyphFinder& Glyphs();

    std::filesystem::path buildTests_;
    std::filesystem::path folder_;
    std::filesystem::path previousFolder_;
    std::string unavailable_;
    bool pictures_ = false;
    bool running_ = false;
    float frameSeconds_ = 0.0f;
    std::chrono::steady_clock::time_point soundPlayedUntil_;
    std::unique_ptr<Application> application_;
    Image fontTexture_;
    std::unique_ptr<GlyphFinder> glyphs_;
    std::unique_ptr<TextCollector> texts_;
};

}  // namespace play_test
