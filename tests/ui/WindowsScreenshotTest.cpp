// A list box in its tray frame, a pop-up menu over it, an error box and a tool tip, drawn
// on the GL backend headless and checked at pixels worked out from the layout rules. The
// frame is kept as tests/screenshots/ui_windows.tga under the build folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>
#include <memory>

#include "UiTestSupport.h"
#include "app/ScreenTexts.h"
#include "core/Image.h"
#include "core/TextTable.h"
#include "engine/Camera.h"
#include "engine/Font.h"
#include "engine/GlTestWindow.h"
#include "engine/Mouse.h"
#include "engine/Renderer.h"
#include "engine/TestFont.h"
#include "platform/gfx/Device.h"
#include "platform/window/SystemWindow.h"
#include "support/TempFolder.h"
#include "support/WorkingFolder.h"
#include "ui/ErrorBox.h"
#include "ui/ListBox.h"
#include "ui/PopUpMenu.h"
#include "ui/ScreenTextQueue.h"
#include "ui/ToolTip.h"
#include "ui/WindowManager.h"

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;

bool Near(Color pixel, Color expected, int tolerance = 24) {
    return std::abs(pixel.Red() - expected.Red()) <= tolerance &&
           std::abs(pixel.Green() - expected.Green()) <= tolerance &&
           std::abs(pixel.Blue() - expected.Blue()) <= tolerance;
}

bool IsWhite(Color pixel) { return pixel.Red() > 200 && pixel.Green() > 200 && pixel.Blue() > 200; }

int WhitePixels(const Image& frame, const IntRect& area) {
    int count = 0;
    for (int y = area.top; y <= area.bottom; ++y) {
        for (int x = area.left; x <= area.right; ++x) count += IsWhite(frame.At(x, y)) ? 1 : 0;
    }
    return count;
}

// Solid stand-ins for the toolkit's images: white where a tint gives the colour.
void WriteTexture(const std::string& folder, const char* name, Color colour) {
    Image image(16, 16);
    image.Fill(colour);
    image.SaveTGA(folder + "/Textures/" + name);
}

class ThreeNames : public ListBox {
public:
    ThreeNames() : ListBox("ThreeNames", 8, 100, false) {
        closeButton = true;
        Initialize();
    }
    void Fill() override {
        items.Clear();
        for (const char* name : {"Alpha Centauri Station", "Bravo", "Charlie"}) items.Append(name);
    }
    void PickEntry(int32_t, const String&) override {}
};

class Ring : public PopUpMenu {
public:
    Ring() : PopUpMenu("Ring", 48, 96.0f) {
        title = "Pick";
        Initialize();
        AddItem("YesButton.tga", "Yes");
        AddItem("NoButton.tga", "No");
    }
    void OnChoice(int32_t) override {}
};

TEST(WindowsScreenshotTest, ListPopUpErrorBoxAndToolTip) {
    const std::filesystem::path buildFolder = std::filesystem::current_path();
    platform_test::TempFolder folder;
    std::filesystem::create_directories(folder / "Textures");
    for (const char* name :
         {"WindowTop.tga", "WindowBottom.tga", "WindowLeft.tga", "WindowRight.tga", "WindowTopLeft.tga",
          "WindowTopRight.tga", "WindowBottomLeft.tga", "WindowBottomRight.tga", "CloseButton.tga",
          "PopUpBackground.tga", "DownArrow.tga", "UpArrow.tga", "Handle.tga", "FlatSphere.tga"}) {
        WriteTexture(folder.Path(), name, Color(0xFFFFFFFF));
    }
    WriteTexture(folder.Path(), "YesButton.tga", Color(0xFF00FF00));
    WriteTexture(folder.Path(), "NoButton.tga", Color(0xFFFF00FF));
    const std::string fontPath = engine_test::WriteTestFont(folder.Path(), "Font");
    app_test::WorkingFolder working(folder.Path());

    Renderer& renderer = GetRenderer();
    renderer.Shutdown();  // a headless device from earlier tests would refuse the GL one
    std::unique_ptr<win::SystemWindow> window;
    const std::string failure = engine_test::OpenGlRenderer(kWidth, kHeight, window, renderer);
    if (!failure.empty()) GTEST_SKIP() << failure;
    renderer.LoadFont(GetFont(), String(fontPath.c_str()), 1);
    GetScreenCamera().SetScreenView(IntRect(0, 0, kWidth - 1, kHeight - 1), true);
    GetTextTable().Set("CloseWindow", "Close");
    GetTextTable().Set("ContinueText", "Go on");

    WindowManager& manager = GetWindowManager();
    ThreeNames list;
    list.MoveTo(Point(80, 120));
    manager.OpenWindow(&list);
    // The list is 116 x 124 pixels: one 100-pixel column after the 16-pixel scroll column,
    // 8 rows of 12 (16 x 0.75) every 16.
    list.FitWidth();
    list.cellSize.x = 100;  // kept narrow, so that the long name runs under the menu
    ASSERT_EQ(list.Rect(), IntRect(80, 120, 195, 243));
    ErrorBox box;  // not the shared one: its sprites would be those of an earlier device
    box.AddLine("Boom");
    box.WrapText();
    manager.OpenWindow(&box);
    box.MoveTo(Point(20, 265));  // clamped: 479 - margin 1 - border 14 - height 199
    ASSERT_EQ(box.Rect(), IntRect(20, 265, 419, 464));
    manager.SetFocusWindow(&box);

    // The tool tip of the list's close button, at (right + 7, top + 1 - 7), shown at once.
    Mouse& mouse = GetMouse();
    mouse.position = Point(195 + 7, 120 - 6);
    list.HitTestControls(mouse.position);
    ToolTip& tip = GetToolTip();
    tip.Update(1.0f);
    tip.Update(1.0f);
    ASSERT_TRUE(tip.shown);

    Ring ring;
    manager.OpenWindowAt(&ring, Point(320, 240));
    ASSERT_EQ(ring.centre, Point(320, 240));

    ASSERT_TRUE(renderer.GetReady());
    renderer.Clear(Color(0xFF000000), 1.0f, 3);
    manager.RenderAll();
    // The tip goes out with the program's screen texts, drawn after every window.
    ScreenTexts texts;
    texts.screenCamera = &GetScreenCamera();
    SetScreenTextQueue(&texts);
    tip.Draw();
    SetScreenTextQueue(nullptr);
    texts.DrawScreenTexts();
    renderer.EndFrame();
    Image frame;
    ASSERT_EQ(renderer.GetDevice().ReadBackBuffer(frame), gfx::Result::Ok);
    {
        app_test::WorkingFolder back(buildFolder.string());
        std::cout << "picture: " << engine_test::KeepPicture(frame, "ui_windows") << "\n";
    }

    // The list's top frame band, 14 pixels above its inner rectangle, in the normal colour.
    EXPECT_TRUE(Near(frame.At(130, 112), WindowFrame::kNormalColour));
    // Its background in the empty scroll column, and its names in their rows.
    EXPECT_TRUE(Near(frame.At(85, 200), Window::kBackgroundColour));
    EXPECT_GT(WhitePixels(frame, IntRect(96, 152, 170, 164)), 0);  // "Charlie", row 2
    EXPECT_EQ(WhitePixels(frame, IntRect(96, 168, 170, 240)), 0);  // rows 3 to 7 are empty
    // The menu's square {176, 96, 464, 384} covers the end of row 0's long name: nothing
    // of it shows through, while its start shows beside the menu.
    EXPECT_TRUE(Near(frame.At(260, 200), PopUpMenu::kBackgroundTint));
    EXPECT_GT(WhitePixels(frame, IntRect(96, 120, 170, 132)), 0);
    EXPECT_EQ(WhitePixels(frame, IntRect(177, 120, 196, 132)), 0);
    // "Yes" stands straight above the centre, "No" below it.
    EXPECT_TRUE(Near(frame.At(320, 240 - 96), Color(0xFF00FF00)));
    EXPECT_TRUE(Near(frame.At(320, 240 + 96), Color(0xFFFF00FF)));
    // The error box: its left frame band (focused: red), its background and its line at
    // the top-left.
    EXPECT_TRUE(Near(frame.At(12, 440), Color(0xFFFF0000)));
    EXPECT_TRUE(Near(frame.At(100, 440), Window::kBackgroundColour));
    EXPECT_GT(WhitePixels(frame, IntRect(20, 265, 80, 277)), 0);
    // The tool tip above the close button's grown rectangle {190, 102, 214, 126}: the
    // text "Close" at scale 0.75 centred on x 202, its bottom on y 102.
    EXPECT_GT(WhitePixels(frame, IntRect(180, 88, 224, 101)), 0);

    manager.CloseAllWindows();
    tip.Clear();
    tip.shown = false;
    renderer.Shutdown();
    window.reset();
}

}  // namespace
