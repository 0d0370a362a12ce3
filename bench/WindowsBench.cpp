// A screen of 20 open windows: ten list boxes of 200 entries each, five grid trays, two
// pop-up menus, two text boxes and an error box, drawn on the recording device (the
// counters give the device calls per frame), and the time to hand one input record to
// the window under the pointer.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

#include "core/Image.h"
#include "engine/Font.h"
#include "engine/Renderer.h"
#include "game/Game.h"
#include "platform/gfx/Device.h"
#include "ui/ErrorBox.h"
#include "ui/ListBox.h"
#include "ui/PopUpMenu.h"
#include "ui/TextBox.h"
#include "ui/Tray.h"
#include "ui/WindowManager.h"

namespace {

class LongList : public ListBox {
public:
    LongList() : ListBox("LongList", 12, 120, true) { Initialize(); }
    void Fill() override {
        items.Clear();
        for (int i = 0; i < 200; ++i) {
            char name[24];
            std::snprintf(name, sizeof name, "Scenario %03d", i);
            items.Append(name);
        }
    }
    void PickEntry(int32_t, const String&) override {}
};

class GridTray : public Tray {
public:
    GridTray() : Tray("GridTray", 8, 2, Point(32, 32), 1.5f, false, false) { Initialize(); }
    int32_t EntryCount() const override { return 16; }
    String EntryName(int32_t entry) const override { return String::FromInt(entry); }
};

class Ring : public PopUpMenu {
public:
    Ring() : PopUpMenu("Ring", 48, 96.0f) {
        Initialize();
        for (int i = 0; i < 9; ++i) AddItem("Item.tga", String::FromInt(i + 1));
    }
    void OnChoice(int32_t) override {}
};

// A white glyph texture and widths of 8, so that every text draws its glyph quads.
void LoadBenchFont() {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "vorns-windows-bench";
    std::filesystem::create_directories(folder);
    Image glyphs(256, 256);
    glyphs.Fill(Color(0xFFFFFFFF));
    const std::string texture = (folder / "Font.tga").string();
    glyphs.SaveTGA(texture);
    std::ofstream widths(folder / "Font.dat", std::ios::binary);
    for (int i = 0; i < Font::kGlyphCount; ++i) widths.put(char(8));
    widths.close();
    GetRenderer().LoadFont(GetFont(), String(texture.c_str()), 1);
}

struct Screen {
    Game game;
    std::vector<std::unique_ptr<Window>> windows;
};

Screen& BuildScreen() {
    static Screen* screen = nullptr;
    if (screen != nullptr) return *screen;
    LoadBenchFont();
    screen = new Screen;
    SetCurrentGame(&screen->game);
    WindowManager& manager = GetWindowManager();
    auto add = [&](Window* window, const Point& at) {
        screen->windows.emplace_back(window);
        manager.OpenWindowAt(window, at);
    };
    for (int i = 0; i < 10; ++i) add(new LongList, Point(20 + 90 * i, 20 + 20 * i));
    for (int i = 0; i < 5; ++i) add(new GridTray, Point(40 + 150 * i, 560));
    for (int i = 0; i < 2; ++i) {
        auto* box = new TextBox;
        box->SetRectValues(0, 0, 600, 80);
        box->AddParagraph("The battle begins when every squad has landed; until then the arena waits.");
        box->WrapText();
        add(box, Point(200, 300 + 100 * i));
    }
    auto* error = new ErrorBox;
    error->AddLine("The scenario file could not be read; the battlefield stays as it was.");
    error->WrapText();
    add(error, Point(300, 200));
    for (int i = 0; i < 2; ++i) add(new Ring, Point(300 + 300 * i, 400));
    // The menus hold the capture while open; the routing benchmark offers its input to
    // the windows under the pointer, as without a menu.
    while (!manager.CaptureList().IsEmpty()) manager.RemoveFromFocusOrder(manager.CaptureList()[0]);
    return *screen;
}

void DrawFrame() {
    Renderer& renderer = GetRenderer();
    if (!renderer.GetReady()) return;
    renderer.Clear(Color(0xFF000000), 1.0f, 3);
    GetWindowManager().RenderAll();
    renderer.EndFrame();
    renderer.SwapBuffers();
}

void BM_TwentyWindowsFrame(benchmark::State& state) {
    BuildScreen();
    DrawFrame();
    gfx::Device& device = GetRenderer().GetDevice();
    device.ResetCounters();
    for (auto _ : state) DrawFrame();
    const double frames = double(state.iterations());
    state.counters["windows"] = double(GetWindowManager().OpenWindows().Count());
    state.counters["draws"] = double(device.Stats().drawCalls) / frames;
    state.counters["state_calls"] = double(device.Stats().stateCalls) / frames;
}
BENCHMARK(BM_TwentyWindowsFrame)->Unit(benchmark::kMicrosecond);

// A wheel notch over the bottom list, under every other window the walk passes first.
void BM_RouteOneInputRecord(benchmark::State& state) {
    BuildScreen();
    WindowManager& manager = GetWindowManager();
    const Window* bottom = manager.OpenWindows()[0];
    InputEvent wheel;
    wheel.Set(kInputWheel, 1, Point(bottom->left + 30, bottom->top + 30));
    for (auto _ : state) benchmark::DoNotOptimize(manager.OfferInput(wheel));
}
BENCHMARK(BM_RouteOneInputRecord);

}  // namespace
