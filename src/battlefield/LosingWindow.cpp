// The screen of a lost mission.
#include "battlefield/LosingWindow.h"

#include "battlefield/UserError.h"
#include "core/TextTable.h"
#include "engine/AssetPaths.h"
#include "engine/Mouse.h"
#include "engine/Renderer.h"
#include "engine/ScreenLayout.h"
#include "game/Event.h"
#include "game/Game.h"
#include "game/Player.h"
#include "game/PlayerRoster.h"
#include "platform/sys/Random.h"
#include "screens/BackgroundScene.h"
#include "ui/TextBox.h"
#include "ui/ToolTip.h"
#include "ui/UiServices.h"
#include "ui/WindowManager.h"

namespace {

const char* const kScenes[LosingWindow::kSceneCount] = {"SmallLose",      "SmallEnemyWin", "MediumLose",
                                                        "MediumEnemyWin", "LargeLose",     "LargeEnemyWin"};
const char* const kToolTips[] = {"NextHint", "RetryMission", "TrainingGrounds", "Exit"};
constexpr int32_t kMediumScenesUpgrade = 115;
constexpr int32_t kLargeScenesUpgrade = 119;
constexpr int32_t kRandMax = 32767;

TextBox* SharedTextBox() { return static_cast<TextBox*>(GetWindowManager().FindWindowByName("TextBox")); }

float FrameSeconds() {
    const Game* game = CurrentGame();
    return game != nullptr ? game->frameTime : Game::kMinFrameTime;
}

}  // namespace

String JoinWithSpaces(const StringArray& words) {
    String joined;
    for (const String& word : words) joined = joined + word + " ";
    return joined;
}

LosingWindow::LosingWindow() : Window("LosingWindow") {
    frameShown = true;
    SetFullScreen(true);
    buttons.Add("OptionsButton.tga", "");
    buttons.Add("PlayPreviousMissionButton.tga", "");
    buttons.Add("LabButtonTan.tga", "");
    buttons.Add("ExitButton.tga", "");
    Initialize();
}

void LosingWindow::ClearHints() {
    hints.Clear();
    currentHint = 0;
}

void LosingWindow::AddHint(const LosingHint* hint) {
    if (hint != nullptr) hints.Append(hint);
}

const char* LosingWindow::ChooseLosingScene(int32_t randomDraw) {
    const Player& player = GetLocalPlayer();
    const int32_t offered = player.HasUpgradeLevel(kLargeScenesUpgrade, 0)    ? 6
                            : player.HasUpgradeLevel(kMediumScenesUpgrade, 0) ? 4
                                                                              : 2;
    const int32_t index = (randomDraw * (offered - 1) + kRandMax / 2) / kRandMax;
    return kScenes[index < offered ? index : offered - 1];
}

void LosingWindow::PlayLosingScene() { GetBackgroundScene().Start(ChooseLosingScene(sys::Rand())); }

void LosingWindow::OnOpen() {
    buttons.EnsureSprites();
    // A mission with one losing text has no other to offer: the button would repeat it.
    buttons.SetVisible(kNextHint, host != nullptr && host->LosingTextCount() >= 2);
    LayOutButtonRow(buttons.Grid(), UiScreenRect(), false);
    PlayLosingScene();
}

void LosingWindow::ShowNextHint() {
    TextBox* textBox = SharedTextBox();
    if ((textBox != nullptr && textBox->IsSpeaking()) || currentHint >= hints.Count()) return;
    const LosingHint* hint = hints[currentHint++];
    if (hint->speechName.IsEmpty() || textBox == nullptr) return;
    textBox->Say(SpeechPath(hint->speechName), JoinWithSpaces(hint->words));
}

void LosingWindow::DrawContents() {
    GetBackgroundScene().Draw();
    Renderer& renderer = GetRenderer();
    UseScreenCamera();
    renderer.DisableLighting();
    renderer.SetAlphaBlend();
    buttons.Draw();
    renderer.SetBlendOff();
    ShowNextHint();
}

bool LosingWindow::HandleMouse(const InputEvent& input) {
    const Point p(input.x, input.y);
    if (input.kind == kInputFrameTick) {
        BackgroundScene& scene = GetBackgroundScene();
        scene.Update(FrameSeconds());
        if (scene.IsFinished()) PlayLosingScene();
    }
    if (input.IsKeyDown(kInputButtonLeft) && buttons.Press(p)) return true;
    if (input.IsKeyUp(kInputButtonLeft)) {
        static const int32_t kEvents[] = {kEventWindowPrivate, kEventRetryMission, kEventOpenTraining, kEventExit};
        const int32_t released = buttons.Release(p);
        if (released >= 0) PostEvent(kEvents[released]);
        return true;
    }
    if (Window::HandleMouse(input)) return true;
    return IsCameraInput(input, GetMouse());
}

void LosingWindow::HandleCommand(Event& event) {
    WindowManager& manager = GetWindowManager();
    Game* game = CurrentGame();
    switch (event.type) {
        case kEventExit:
            manager.CloseAllWindows();
            if (game != nullptr) game->Begin();
            return;
        case kEventOpenTraining:
            if (host != nullptr) host->OpenTraining();
            manager.CloseAllWindows();
            return;
        case kEventRetryMission:
            if (host != nullptr) host->RetryMission();
            return;
        case kEventWindowPrivate: {
            if (TextBox* textBox = SharedTextBox()) manager.CloseWindow(textBox);
            const int32_t count = host != nullptr ? host->LosingTextCount() : 0;
            // Without losing texts there is no next one: the counter stays.
            if (count <= 0) return;
            Player& player = GetLocalPlayer();
            int32_t& tries = host->CountsReplayTries() ? player.replayMissionTries : player.lastMissionTries;
            tries = (tries + 1) % count;
            if (!player.Save()) ShowUserError("SaveFailed");
            host->ShowLosingText();
            return;
        }
        default: Window::HandleCommand(event);
    }
}

void LosingWindow::GetToolTip() {
    const int32_t button = buttons.At(GetMouse().position);
    if (button < 0) {
        Window::GetToolTip();
        return;
    }
    ::GetToolTip().Set(GetLanguageText(kToolTips[button]), buttons.ScreenRect(button));
}

LosingWindow& GetLosingWindow() {
    static LosingWindow window;
    return window;
}
