// The credits screen.
#include "screens/CreditsWindow.h"

#include <algorithm>

#include "core/FileStream.h"
#include "core/TextTable.h"
#include "engine/AssetPaths.h"
#include "engine/Renderer.h"
#include "game/Event.h"
#include "screens/BackgroundScene.h"
#include "screens/FrontEndShell.h"
#include "screens/SplashScreen.h"
#include "ui/UiServices.h"
#include "ui/WindowManager.h"

namespace {
const char* const kScenes[] = {"SmallSideToSide", "RockAttack", "TreeHide", "MissileChase", "SmallMainMenu", "Test"};
constexpr float kFitStep = 1.01f;
// A names line keeps this share of the screen's width clear on each side.
constexpr float kSideMarginShare = 0.0625f;
// The dark outline that keeps the white letters readable over a light backdrop.
constexpr float kOutlinePixels = 2.0f;

void DrawOutlinedText(const String& text, float x, float y, uint8_t alpha, float scale) {
    const Color outline = Color::FromRGBA(0, 0, 0, alpha);
    for (const float dx : {-kOutlinePixels, kOutlinePixels}) {
        for (const float dy : {-kOutlinePixels, kOutlinePixels}) DrawUiText(text, x + dx, y + dy, outline, scale);
    }
    DrawUiText(text, x, y, Color::FromRGBA(255, 255, 255, alpha), scale);
}
}  // namespace

CreditsWindow::CreditsWindow() : SceneScreen("CreditsWindow") {
    SetButton("YesButton.tga", "Done", kEventExit);
    Initialize();
}

void CreditsWindow::OnOpen() {
    SetFullScreen(true);
    ReadCredits("Credits" + GetLanguageName() + ".txt");
    StartScene();
    creditIndex = 0;
    creditTimer = 0.0f;
    GetFrontEndShell().SetClearColour(Color(0xFF000000));
}

void CreditsWindow::StartScene() { GetBackgroundScene().Start(PickSceneName(kScenes, int32_t(std::size(kScenes)))); }

void CreditsWindow::ReadCredits(const String& path) {
    headings.Clear();
    lines.Clear();
    FileStream stream(path.CStr(), "r");
    String heading;
    while (stream.IsGood()) {
        String::ReadLine(stream, heading);
        // The end of the file after its last line end reads as one empty line.
        if (heading.IsEmpty() && !stream.IsGood()) break;
        if (heading.EqualsNoCase("End")) break;
        // A heading on the file's last line gets an empty names line.
        String names;
        if (stream.IsGood()) String::ReadLine(stream, names);
        headings.Append(heading);
        lines.Append(names);
    }
}

void CreditsWindow::Advance(float frameSeconds) {
    creditTimer += frameSeconds;
    if (creditTimer <= kSecondsPerCredit) return;
    creditTimer = 0.0f;
    ++creditIndex;
    if (creditIndex >= headings.Count()) creditIndex = 0;
}

float CreditsWindow::FitScale(const String& line, float width) {
    float scale = kLineScale;
    for (int32_t step = 0; step < kMaxFitSteps && MeasureText(line, scale).x > width; ++step) scale /= kFitStep;
    return scale;
}

void CreditsWindow::DrawContents() {
    GetBackgroundScene().Draw();
    UseScreenCamera();
    Renderer& renderer = GetRenderer();
    renderer.SetAlphaBlend();
    DrawMessageLine(GetLanguageText("Credits"), 0);
    Advance(ScreenFrameTime());
    if (creditIndex < headings.Count()) {
        const IntRect screen = UiScreenRect();
        const float width = float(screen.right - screen.left + 1);
        const String& heading = headings[creditIndex];
        DrawOutlinedText(heading, (width - MeasureText(heading, kHeadingScale).x) * 0.5f, kTop, 255, kHeadingScale);
        const String& line = lines[creditIndex];
        const float scale = FitScale(line, width * (1.0f - 2.0f * kSideMarginShare));
        const int32_t alpha = std::clamp(int32_t(510.0f * creditTimer / kSecondsPerCredit), 0, 255);
        DrawOutlinedText(line, (width - MeasureText(line, scale).x) * 0.5f, kTop + kLineScale * FontLineHeight(),
                         uint8_t(alpha), scale);
    }
    renderer.SetBlendOff();
    DrawButton();
}

bool CreditsWindow::HandleOtherInput(const InputEvent& input) { return TakeMusicKey(input); }

void CreditsWindow::HandleCommand(Event& event) {
    if (event.type == kEventExit) {
        GetWindowManager().ReturnToPreviousWindow();
        return;
    }
    Window::HandleCommand(event);
}

CreditsWindow& GetCreditsWindow() {
    static CreditsWindow window;
    return window;
}
