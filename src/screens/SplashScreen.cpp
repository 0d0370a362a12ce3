// The closing screen.
#include "screens/SplashScreen.h"

#include "core/TextTable.h"
#include "engine/Renderer.h"
#include "game/Event.h"
#include "game/Game.h"
#include "screens/BackgroundScene.h"
#include "screens/FrontEndShell.h"
#include "ui/UiServices.h"
#include "ui/WindowManager.h"

namespace {

constexpr int32_t kMusicKey = 'M';
constexpr float kTitleScale = 1.5f;
constexpr float kTextScale = 0.75f;

const char* const kScenes[] = {"SmallEmotions",   "SmallSneaky",   "SmallStalkSideToSide",
                               "SmallSideToSide", "RockAttack",    "TreeHide",
                               "MissileChase",    "SmallMainMenu", "Test"};

}  // namespace

bool TakeMusicKey(const InputEvent& input) {
    if (input.IsKeyDown(kMusicKey)) ToggleMusic();
    return true;
}

SplashScreen::SplashScreen() : SceneScreen("SplashScreen") {
    SetButton("ExitMenuButton.tga", "ExitToWindows", kEventExit);
    Initialize();
}

void SplashScreen::OnOpen() {
    SetFullScreen(true);
    StartScene();
    GetFrontEndShell().SetClearColour(Color(0xFF000000));
}

void SplashScreen::StartScene() { GetBackgroundScene().Start(PickSceneName(kScenes, int32_t(std::size(kScenes)))); }

void SplashScreen::DrawContents() {
    GetBackgroundScene().Draw();
    UseScreenCamera();
    Renderer& renderer = GetRenderer();
    renderer.SetAlphaBlend();
    const IntRect screen = UiScreenRect();
    const float width = float(screen.right - screen.left + 1);
    const float height = float(screen.bottom - screen.top + 1);
    const String title = GetLanguageText("Vorns!");
    const Vector2 titleSize = MeasureText(title, kTitleScale);
    DrawUiText(title, (width - titleSize.x) * 0.5f, 0.0f, Color(0xFFFFFFFF), kTitleScale);
    const String byLine = GetLanguageText("ByCorvane");
    DrawUiText(byLine, (width - MeasureText(byLine, kTextScale).x) * 0.5f, titleSize.y, Color(0xFFFFFFFF), kTextScale);
    DrawTextCentred(GetLanguageText("SplashScreen"), Vector2(width * 0.5f, height * 0.5f), kTextScale);
    renderer.SetBlendOff();
    DrawButton();
}

bool SplashScreen::HandleOtherInput(const InputEvent& input) { return TakeMusicKey(input); }

void SplashScreen::HandleCommand(Event& event) {
    if (event.type != kEventExit) {
        Window::HandleCommand(event);
        return;
    }
    GetWindowManager().CloseWindow(this);
    GetFrontEndShell().Quit();
}

SplashScreen& GetSplashScreen() {
    static SplashScreen screen;
    return screen;
}
