#include "support/PlayerHarness.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <sstream>

#include "app/Application.h"
#include "audio/EffectSounds.h"
#include "audio/Sounder.h"
#include "battlefield/MiniMap.h"
#include "battlefield/PatternWindow.h"
#include "battlefield/VornWindow.h"
#include "core/Tga.h"
#include "core/ThrowError.h"
#include "engine/Font.h"
#include "engine/Material.h"
#include "engine/Mesh.h"
#include "engine/Renderer.h"
#include "engine/Sprite.h"
#include "engine/SpriteGrid.h"
#include "engine/TextObserver.h"
#include "game/Game.h"
#include "game/Player.h"
#include "game/PlayerRoster.h"
#include "modes/ButtonRowWindow.h"
#include "modes/SquadWindow.h"
#include "modes/UpgradeWindow.h"
#include "platform/sys/Paths.h"
#include "platform/sys/Random.h"
#include "platform/window/Keys.h"
#include "platform/window/ScriptedWindow.h"
#include "screens/OptionsWindow.h"
#include "screens/SceneScreen.h"
#include "support/GlyphFinder.h"
#include "ui/EditBox.h"
#include "ui/ErrorBox.h"
#include "ui/PopUpMenu.h"
#include "ui/Tray.h"
#include "ui/Window.h"
#include "ui/WindowManager.h"

namespace {
// Set once a harness drew with GL in this process.
bool glOpened = false;
}  // namespace

bool play_test::PlayerHarness::OpenedGl() { return glOpened; }

// Mesa's drivers keep allocations until the process ends, some in libraries they have
// already unloaded, so no suppression can name them: a process that drew with GL skips
// the leak check at exit. Weak, so that a test program with a GL helper of its own keeps
// that one.
extern "C" __attribute__((weak)) int __lsan_is_turned_off() { return glOpened ? 1 : 0; }

namespace play_test {

namespace fs = std::filesystem;

// Keeps the text runs of the frame being drawn; told by the renderer while the harness lives.
class TextCollector : public TextObserver {
public:
    TextCollector() : previous_(SetTextObserver(this)) {}
    ~TextCollector() override { SetTextObserver(previous_); }
    TextCollector(const TextCollector&) = delete;
    TextCollector& operator=(const TextCollector&) = delete;

    void NewFrame() { texts_.clear(); }
    const std::vector<ShownText>& Texts() const { return texts_; }

    void TextDrawn(const DrawnText& run) override {
        ShownText shown;
        shown.text = run.text.CStr();
        shown.rect = IntRect(int32_t(std::floor(run.position.x)), int32_t(std::floor(run.position.y)),
                             int32_t(std::ceil(run.position.x + run.size.x)) - 1,
                             int32_t(std::ceil(run.position.y + run.size.y)) - 1);
        shown.scale = run.scale;
        shown.colour = run.colour;
        texts_.push_back(shown);
    }

private:
    TextObserver* previous_;
    std::vector<ShownText> texts_;
};

namespace {

// What a player's own runs leave in the runtime folder; a fresh install has none of it.
bool IsLeftByARun(const std::string& name) {
    return name == "Players" || name == "vorns" || name.rfind("debug", 0) == 0;
}

std::string Joined(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) text += (text.empty() ? "" : ", ") + name;
    return text.empty() ? "none" : text;
}

// Frames a screen change may take: scenes and fades run for a second or two.
constexpr int kScreenChangeFrames = 300;

// Start-up seeds the random generator from the clock; a play-through starts from this seed
// instead, so that what the game leaves to chance (a count menu's spots, a menu's scene, a
// drop's turn) is the same on every run. VORNS_TEST_SEED gives another, to look for
// play-throughs that pass only by the luck of one seed.
uint32_t PlaySeed() {
    const char* given = std::getenv("VORNS_TEST_SEED");
    if (given != nullptr && *given != '\0') return uint32_t(std::strtoul(given, nullptr, 10));
    return 20261209u;
}

}  // namespace

PlayerHarness::PlayerHarness(const HarnessSettings& settings)
    : pictures_(settings.pictures), frameSeconds_(settings.frameSeconds), texts_(std::make_unique<TextCollector>()) {
    buildTests_ = fs::read_symlink("/proc/self/exe").parent_path();
    CopyRuntimeFolder();
    previousFolder_ = fs::current_path();
    fs::current_path(folder_);
    sys::ClearDirectoryCache();
    sys::RecordMissingFiles(true);
    Game::scriptedFrameSeconds = settings.frameSeconds;
    Start(settings);
    if (!unavailable_.empty() || settings.newPlayer.empty()) return;
    MakeNewPlayer(settings.newPlayer);
}

PlayerHarness::~PlayerHarness() {
    if (application_ != nullptr) {
        try {
            application_->Shutdown();
        } catch (const ThrowError&) {
            // The test has failed already or will say why; the folder still goes.
        }
        application_.reset();
        // The players outlive the program: their squads still name units of the arena
        // that went with it, which the next harness of this process would hand back to it.
        GetLocalPlayer().ClearSquads();
        GetOpponentPlayer().ClearSquads();
    }
    sys::RecordMissingFiles(false);
    Game::scriptedFrameSeconds = 0.0f;
    std::error_code ignored;
    fs::current_path(previousFolder_, ignored);
    sys::ClearDirectoryCache();
    fs::remove_all(folder_.parent_path(), ignored);
}

void PlayerHarness::CopyRuntimeFolder() {
    const fs::path runtime = buildTests_.parent_path() / "game";
    if (!fs::is_directory(runtime / "Textures")) Fail("no runtime folder at " + runtime.string());
    const char* base = std::getenv("VORNS_TEST_TMP");
    const fs::path parent = base != nullptr && *base != '\0' ? fs::path(base) : fs::temp_directory_path();
    fs::create_directories(parent);
    std::string pattern = (parent / "player-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) Fail("cannot make a temporary folder under " + parent.string());
    folder_ = fs::path(pattern) / "game";
    fs::create_directories(folder_ / "Players");
    for (const fs::directory_entry& entry : fs::directory_iterator(runtime)) {
        const std::string name = entry.path().filename().string();
        if (IsLeftByARun(name)) continue;
        fs::copy(entry.path(), folder_ / name, fs::copy_options::recursive);
    }
}

void PlayerHarness::Start(const HarnessSettings& settings) {
    LaunchSettings launch;
    launch.windowBackend = win::WindowBackend::Scripted;
    launch.soundDevice = snd::DeviceKind::Null;
    launch.commandLine = ParseCommandLine(String(("Window " + settings.commandLine).c_str()));
    if (pictures_) {
        setenv("SDL_VIDEODRIVER", "offscreen", 1);
        setenv("MESA_GL_VERSION_OVERRIDE", "2.1", 1);
        launch.windowBackend = win::WindowBackend::ScriptedGl;
        glOpened = true;
    }
    application_ = std::make_unique<Application>(launch);
    try {
        application_->Startup();
    } catch (const ThrowError& error) {
        const std::string message = error.message.CStr();
        application_.reset();
        if (!pictures_) Fail("start-up failed: " + message);
        unavailable_ = "no OpenGL: " + message;
        return;
    }
    running_ = true;
    sys::SRand(PlaySeed());
    soundPlayedUntil_ = std::chrono::steady_clock::now();
    application_->EnterFrontEnd();
    // A fresh install first plays the introduction, which a click skips.
    FramesUntil([this] { return IsOpen("MainMenu") || IsOpen("IntroScreen"); }, kScreenChangeFrames,
                "the introduction or the title menu opens");
    if (IsOpen("IntroScreen")) ClickWindow("IntroScreen");
    FramesUntil([this] { return IsOpen("MainMenu"); }, kScreenChangeFrames, "the title menu opens");
}

void PlayerHarness::MakeNewPlayer(const std::string& name) {
    Open("MainMenu", "SelectPlayer", "PlayerMenu");
    Open("PlayerMenu", "CreateNewPlayer", "PlayerNameEditBox");
    Type(name);
    TapKey(win::kKeyReturn);
    FramesUntil([this] { return IsOpen("GameMenu"); }, kScreenChangeFrames, "the game menu opens for " + name);
}

// --- frames

void PlayerHarness::Frame() {
    if (!running_) Fail("a frame after the program ended");
    texts_->NewFrame();
    running_ = application_->RunFrame();
    PlayOutSound();
}

void PlayerHarness::PlayOutSound() {
    const auto now = std::chrono::steady_clock::now();
    const double realSeconds = std::chrono::duration<double>(now - soundPlayedUntil_).count();
    soundPlayedUntil_ = now;
    Sounder* sounder = GetEffectSounder();
    if (!running_ || sounder == nullptr) return;
    sounder->PlayOut(frameSeconds_ > 0.0f ? double(frameSeconds_) : realSeconds);
}

void PlayerHarness::Frames(int count) {
    for (int i = 0; i < count && running_; ++i) Frame();
}

void PlayerHarness::FramesUntil(const std::function<bool()>& condition, int limit, const std::string& what) {
    for (int frame = 0; frame < limit; ++frame) {
        if (condition()) return;
        Frame();
    }
    if (condition()) return;
    const ErrorBox& error = GetErrorBox();
    const std::string said = IsOpen("ErrorBox") && !error.message.IsEmpty() ? error.message[0].CStr() : "";
    Fail("after " + std::to_string(limit) + " frames, still waiting for: " + what + "; mode " + Mode() +
         ", open: " + Joined(OpenWindowNames()) + (said.empty() ? "" : "; the error box says: " + said));
}

void PlayerHarness::WaitFor(const std::string& windowName, int limit) {
    FramesUntil([&] { return IsOpen(windowName); }, limit, windowName + " opens");
}

void PlayerHarness::WaitUntilClosed(const std::string& windowName, int limit) {
    FramesUntil([&] { return !IsOpen(windowName); }, limit, windowName + " closes");
}

// --- input

win::ScriptedWindow& PlayerHarness::Input() {
    if (application_ == nullptr) Fail("input without a running program");
    return static_cast<win::ScriptedWindow&>(application_->GetWindow());
}

void PlayerHarness::MoveTo(const Point& point) {
    Input().MovePointer(point.x, point.y);
    Frame();
}

void PlayerHarness::Press(const Point& point, win::MouseButton button) {
    MoveTo(point);
    Input().PressButton(button);
    Frame();
}

void PlayerHarness::Release(const Point& point, win::MouseButton button) {
    if (Input().PointerPosition() != win::Point{point.x, point.y}) MoveTo(point);
    Input().ReleaseButton(button);
    Frame();
}

void PlayerHarness::Click(const Point& point, win::MouseButton button) {
    Press(point, button);
    Release(point, button);
}

void PlayerHarness::DoubleClick(const Point& point, win::MouseButton button) {
    MoveTo(point);
    Input().DoubleClick(button);
    Frame();
}

void PlayerHarness::Drag(const Point& from, const Point& to, win::MouseButton button, uint32_t modifiers, int steps) {
    if ((modifiers & kCtrl) != 0) Input().PressKey(win::kKeyControl);
    if ((modifiers & kShift) != 0) Input().PressKey(win::kKeyShift);
    Press(from, button);
    const int count = std::max(steps, 1);
    for (int step = 1; step <= count; ++step) {
        MoveTo(Point(from.x + (to.x - from.x) * step / count, from.y + (to.y - from.y) * step / count));
    }
    Release(to, button);
    if ((modifiers & kShift) != 0) Input().ReleaseKey(win::kKeyShift);
    if ((modifiers & kCtrl) != 0) Input().ReleaseKey(win::kKeyControl);
    Frame();
}

void PlayerHarness::Wheel(const Point& point, int notches) {
    MoveTo(point);
    Input().TurnWheel(notches);
    Frame();
}

void PlayerHarness::TapKey(int key) {
    Input().TapKey(key);
    Frame();
}

void PlayerHarness::HoldKey(int key, int frames) {
    Input().PressKey(key);
    Frames(frames);
    Input().ReleaseKey(key);
    Frame();
}

void PlayerHarness::PressKey(int key) {
    Input().PressKey(key);
    Frame();
}

void PlayerHarness::ReleaseKey(int key) {
    Input().ReleaseKey(key);
    Frame();
}

void PlayerHarness::Chord(std::initializer_list<int> keys) {
    for (const int key : keys) Input().PressKey(key);
    for (auto key = std::rbegin(keys); key != std::rend(keys); ++key) Input().ReleaseKey(*key);
    Frame();
}

namespace {

// The key a keyboard presses for the character; 0 for one typed some other way.
int KeyOf(char character) {
    if (character >= 'a' && character <= 'z') return win::KeyOfLetter(character);
    if ((character >= 'A' && character <= 'Z') || (character >= '0' && character <= '9') || character == ' ')
        return character;
    return 0;
}

}  // namespace

void PlayerHarness::Type(const std::string& text) {
    // As a keyboard types: each letter's key goes down (with Shift for a capital), its
    // character follows, and the key comes up; so that a window that wrongly listens to
    // the keys while a box takes the text is found out.
    win::ScriptedWindow& input = Input();
    for (const char character : text) {
        const int key = KeyOf(character);
        const bool shifted = character >= 'A' && character <= 'Z';
        if (shifted) input.PressKey(win::kKeyShift);
        if (key != 0) input.PressKey(key);
        input.TypeText(std::string(1, character));
        if (key != 0) input.ReleaseKey(key);
        if (shifted) input.ReleaseKey(win::kKeyShift);
    }
    Frame();
}

// --- finding

Window& PlayerHarness::OpenWindow(const std::string& windowName) {
    Window* window = GetWindowManager().FindWindowByName(String(windowName.c_str()));
    if (window == nullptr || !GetWindowManager().IsOpen(window)) {
        Fail("window \"" + windowName + "\" is not on screen; open: " + Joined(OpenWindowNames()));
    }
    return *window;
}

Point PlayerHarness::WindowPoint(const std::string& windowName) { return OpenWindow(windowName).GetCenter(); }

Point PlayerHarness::WindowPoint(const std::string& windowName, float acrossShare, float downShare) {
    const Window& window = OpenWindow(windowName);
    return Point(window.left + int32_t(float(window.Width()) * acrossShare),
                 window.top + int32_t(float(window.Height()) * downShare));
}

std::vector<SpriteGrid*> PlayerHarness::GridsOf(Window& window) const {
    std::vector<SpriteGrid*> grids{window.controls};
    if (auto* menu = dynamic_cast<PopUpMenu*>(&window)) grids.push_back(menu->items);
    if (auto* box = dynamic_cast<EditBox*>(&window)) grids.push_back(box->buttons);
    if (auto* tray = dynamic_cast<Tray*>(&window); tray != nullptr && tray->scrollColumn) {
        grids.push_back(tray->scrollControls);
    }
    if (auto* row = dynamic_cast<ButtonRowWindow*>(&window)) grids.push_back(row->buttons);
    if (auto* scene = dynamic_cast<SceneScreen*>(&window)) grids.push_back(scene->buttons);
    if (auto* options = dynamic_cast<OptionsWindow*>(&window)) {
        grids.insert(grids.end(), {options->acceptCancel, options->sizeButtons});
    }
    if (auto* upgrades = dynamic_cast<UpgradeWindow*>(&window)) {
        grids.insert(grids.end(), {upgrades->upgrades, upgrades->placeholders, upgrades->bottomButtons});
    }
    if (auto* editor = dynamic_cast<VornWindow*>(&window)) {
        const std::vector<SpriteGrid*> buttons = editor->ButtonGrids();
        grids.insert(grids.end(), buttons.begin(), buttons.end());
    }
    if (auto* squad = dynamic_cast<SquadWindow*>(&window)) {
        grids.insert(grids.end(), {squad->fileButtons, squad->layoutButtons});
    }
    if (auto* pattern = dynamic_cast<PatternWindow*>(&window)) {
        grids.insert(grids.end(),
                     {pattern->conditionalGrid, pattern->priorityGrid, pattern->objectGrid, pattern->terrainGrid});
    }
    if (auto* map = dynamic_cast<MiniMap*>(&window)) grids.push_back(map->cameraButtons);
    std::erase(grids, nullptr);
    return grids;
}

namespace {

// The file name of an item's picture; empty when it has none.
std::string ItemPicture(const SpriteGrid& grid, int index) {
    const Sprite* sprite = grid.sprites[index];
    if (sprite->quad == nullptr || sprite->quad->subsetMaterials.IsEmpty()) return "";
    const Material* material = sprite->quad->subsetMaterials[0];
    if (material == nullptr || material->stages.IsEmpty() || material->stages[0].texture == nullptr) return "";
    const std::string path = sys::NormalizeSeparators(material->stages[0].texture->name.CStr());
    return path.substr(path.rfind('/') + 1);
}

// What names an item: its own name, else the file name of its picture, as a player
// knows a button by its face.
std::string ItemLabel(const SpriteGrid& grid, int index) {
    return grid.names[index].IsEmpty() ? ItemPicture(grid, index) : std::string(grid.names[index].CStr());
}

bool ItemIs(const SpriteGrid& grid, int index, const std::string& itemName) {
    return itemName == ItemLabel(grid, index) || itemName == ItemPicture(grid, index);
}

}  // namespace

std::vector<std::string> PlayerHarness::ItemNames(const std::string& windowName) {
    std::vector<std::string> names;
    for (SpriteGrid* grid : GridsOf(OpenWindow(windowName))) {
        for (int i = 0; i < grid->Count(); ++i) {
            if (grid->IsShown(i)) names.push_back(ItemLabel(*grid, i));
        }
    }
    return names;
}

const Sprite& PlayerHarness::ShownItem(const std::string& windowName, const std::string& itemName, int nth) {
    int seen = 0;
    for (SpriteGrid* grid : GridsOf(OpenWindow(windowName))) {
        for (int i = 0; i < grid->Count(); ++i) {
            if (!grid->IsShown(i) || !ItemIs(*grid, i, itemName)) continue;
            if (seen++ == nth) return *grid->sprites[i];
        }
    }
    Fail("\"" + itemName + "\" is not shown in window \"" + windowName + "\"; shown: " + Joined(ItemNames(windowName)));
}

Point PlayerHarness::ItemPoint(const std::string& windowName, const std::string& itemName, int nth) {
    return ShownItem(windowName, itemName, nth).GetScreenCenter();
}

IntRect PlayerHarness::ItemRect(const std::string& windowName, const std::string& itemName, int nth) {
    return ShownItem(windowName, itemName, nth).GetScreenRect();
}

void PlayerHarness::ClickItem(const std::string& windowName, const std::string& itemName) {
    Click(ItemPoint(windowName, itemName));
}

Tray& PlayerHarness::OpenTray(const std::string& windowName) {
    auto* tray = dynamic_cast<Tray*>(&OpenWindow(windowName));
    if (tray == nullptr) Fail("window \"" + windowName + "\" has no entries");
    return *tray;
}

std::vector<std::string> PlayerHarness::EntryNames(const std::string& windowName) {
    Tray& tray = OpenTray(windowName);
    std::vector<std::string> names;
    for (const IntRect& cell : tray.cellRects) {
        const int32_t entry = tray.EntryAt(cell.GetCenter());
        if (entry >= 0) names.emplace_back(tray.EntryName(entry).CStr());
    }
    return names;
}

Point PlayerHarness::EntryPoint(const std::string& windowName, const std::string& entryName) {
    Tray& tray = OpenTray(windowName);
    for (const IntRect& cell : tray.cellRects) {
        const int32_t entry = tray.EntryAt(cell.GetCenter());
        if (entry >= 0 && entryName == tray.EntryName(entry).CStr()) return cell.GetCenter();
    }
    Fail("entry \"" + entryName + "\" is not shown in \"" + windowName +
         "\"; shown: " + Joined(EntryNames(windowName)));
}

void PlayerHarness::ClickEntry(const std::string& windowName, const std::string& entryName) {
    Click(EntryPoint(windowName, entryName));
}

void PlayerHarness::Open(const std::string& windowName, const std::string& itemName, const std::string& opened) {
    ClickItem(windowName, itemName);
    WaitFor(opened);
}

// --- longer steps

void PlayerHarness::ReadToTheEnd(const std::string& textWindow) {
    constexpr int kMostPages = 60;
    WaitFor(textWindow);
    FramesUntil(
        [&] {
            TapKey(win::kKeySpace);
            return !IsOpen(textWindow);
        },
        kMostPages, textWindow + " reaches its end");
}

void PlayerHarness::TakeTheCampaignMapTour() {
    Open("GameMenu", "ContinueCampaign", "MissionMapWindow");
    ReadToTheEnd();
    Open("MissionMapWindow", "ExitButton.tga", "GameMenu");
}

void PlayerHarness::EnterTheTrainingGrounds() {
    Open("GameMenu", "ContinueCampaign", "MissionMapWindow");
    ReadToTheEnd();
    Open("MissionMapWindow", "TrainingGroundsButton.tga", "WindowTray");
    // The battlefield fades in.
    constexpr int kFadeFrames = 30;
    Frames(kFadeFrames);
}

// --- reading back

bool PlayerHarness::IsOpen(const std::string& windowName) const {
    const Window* window = GetWindowManager().FindWindowByName(String(windowName.c_str()));
    return window != nullptr && GetWindowManager().IsOpen(window);
}

std::vector<std::string> PlayerHarness::OpenWindowNames() const {
    std::vector<std::string> names;
    for (const Window* window : GetWindowManager().OpenWindows()) names.emplace_back(window->name.CStr());
    return names;
}

std::string PlayerHarness::FrontWindow() const {
    const Window* top = GetWindowManager().TopWindow();
    return top != nullptr ? top->name.CStr() : "";
}

std::string PlayerHarness::Mode() const {
    const Game* game = CurrentGame();
    return game != nullptr ? game->modeName.CStr() : "";
}

Image PlayerHarness::Picture() {
    if (!pictures_) return Image();
    application_->KeepNextFrame();
    Frame();
    const Image* kept = application_->KeptFrame();
    return kept != nullptr ? *kept : Image();
}

std::string PlayerHarness::KeepPicture(const std::string& name) { return KeepPicture(Picture(), name); }

std::string PlayerHarness::KeepPicture(const Image& picture, const std::string& name) {
    const fs::path folder = buildTests_ / "screenshots";
    fs::create_directories(folder);
    const std::string path = (folder / (name + ".tga")).string();
    // Tests running side by side may keep the same picture at once: the one whose save
    // loses the race says so and goes on, since the picture is for a person to look at.
    if (!picture.IsEmpty() && !picture.SaveTGA(path)) std::fprintf(stderr, "picture not kept: %s\n", path.c_str());
    return path;
}

// --- picture checks

::testing::AssertionResult PlayerHarness::ShowsAScreen(const std::string& what, const IntRect& rect) {
    return ShowsAScreen(Picture(), what, rect);
}

::testing::AssertionResult PlayerHarness::ShowsAScreen(const Image& picture, const std::string& what,
                                                       const IntRect& rect) {
    if (picture.IsEmpty()) return ::testing::AssertionSuccess() << "no pictures";
    IntRect area = rect;
    if (area.right <= area.left || area.bottom <= area.top) area = IntRect(0, 0, picture.Width(), picture.Height());
    const Color first = picture.At(area.left, area.top);
    for (int y = area.top; y < area.bottom && y < picture.Height(); ++y) {
        for (int x = area.left; x < area.right && x < picture.Width(); ++x) {
            if (picture.At(x, y).argb != first.argb) return ::testing::AssertionSuccess();
        }
    }
    std::ostringstream failure;
    failure << what << ": the frame is one colour 0x" << std::hex << first.argb;
    return ::testing::AssertionFailure() << failure.str();
}

::testing::AssertionResult PlayerHarness::ShowsText(const std::string& text, const std::string& windowName) {
    return ShowsText(Picture(), text, windowName);
}

::testing::AssertionResult PlayerHarness::ShowsText(const Image& picture, const std::string& text,
                                                    const std::string& windowName) {
    if (windowName.empty()) return ShowsText(picture, text, IntRect(0, 0, picture.Width(), picture.Height()));
    // Titles and captions may stand a little outside the frame.
    constexpr int kMargin = 40;
    const IntRect window = OpenWindow(windowName).Rect();
    return ShowsText(
        picture, text,
        IntRect(window.left - kMargin, window.top - kMargin, window.right + kMargin, window.bottom + kMargin));
}

::testing::AssertionResult PlayerHarness::ShowsText(const Image& picture, const std::string& text,
                                                    const IntRect& area) {
    if (picture.IsEmpty()) return ::testing::AssertionSuccess() << "no pictures";
    if (Glyphs().Find(picture, text, area)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "\"" << text << "\" is not drawn in glyphs inside (" << area.left << ", "
                                         << area.top << ") - (" << area.right << ", " << area.bottom << ")";
}

::testing::AssertionResult PlayerHarness::ShowsText(const Image& picture, const ShownText& run) {
    if (picture.IsEmpty()) return ::testing::AssertionSuccess() << "no pictures";
    // Where exactly a glyph's pixels fall depends on the run's fractional place.
    constexpr int kMargin = 3;
    const IntRect& rect = run.rect;
    const IntRect area(rect.left - kMargin, rect.top - kMargin, rect.right + kMargin, rect.bottom + kMargin);
    if (Glyphs().Find(picture, run.text, area, run.scale)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "\"" << run.text << "\" is not drawn in glyphs at scale " << run.scale
                                         << " at (" << rect.left << ", " << rect.top << ") - (" << rect.right << ", "
                                         << rect.bottom << ")";
}

::testing::AssertionResult PlayerHarness::ShowsTextRun(const Image& picture, const std::string& words) {
    if (picture.IsEmpty()) return ::testing::AssertionSuccess() << "no pictures";
    // The same words may be drawn more than once (a list and a chat line): one readable
    // run is enough.
    ::testing::AssertionResult read = ::testing::AssertionFailure() << "no run of text holds \"" << words << "\"";
    for (const ShownText& run : TextsShown()) {
        if (run.text.find(words) == std::string::npos) continue;
        read = ShowsText(picture, run);
        if (read) return read;
    }
    return read;
}

const GlyphFinder& PlayerHarness::Glyphs() {
    if (glyphs_ != nullptr) return *glyphs_;
    const std::string file = "Textures/VornsFont" + std::string(application_->LanguageName().CStr()) + ".tga";
    if (ReadTgaFile(file, fontTexture_) != TgaReadResult::kOk) Fail("cannot read the font picture " + file);
    glyphs_ = std::make_unique<GlyphFinder>(fontTexture_, GetFont());
    return *glyphs_;
}

const std::vector<ShownText>& PlayerHarness::TextsShown() const { return texts_->Texts(); }

std::vector<std::string> PlayerHarness::MissingFiles() const { return sys::MissingFiles(); }

[[noreturn]] void PlayerHarness::Fail(const std::string& what) const { throw PlayerStepFailed(what); }

}  // namespace play_test
