// The winning window.
#include "modes/WinningWindow.h"

#include "core/TextTable.h"
#include "engine/Renderer.h"
#include "engine/Sprite.h"
#include "game/Event.h"
#include "game/Game.h"
#include "game/Player.h"
#include "modes/MissionGame.h"
#include "modes/Professor.h"
#include "platform/sys/Random.h"
#include "screens/BackgroundScene.h"
#include "ui/TextBox.h"
#include "ui/UiServices.h"
#include "ui/WindowManager.h"

namespace {

constexpr int32_t kMediumVornItem = 115;
constexpr int32_t kLargeVornItem = 119;

}  // namespace

WinningWindow::WinningWindow(MissionGame& mission, Player& local)
    : ButtonRowWindow("WinningWindow"), mission_(mission), local_(local) {
    AddButton("PlayButton.tga");
    AddButton("WinningCustomizeButton.tga");
}

int32_t WinningWindow::RewardDue() const { return mission_.alreadyWon ? 0 : rewardBoosts; }

int32_t WinningWindow::BoostsShown() const { return local_.boosts + RewardDue(); }

void WinningWindow::OnOpen() {
    rewardText.Clear();
    const int32_t reward = RewardDue();
    if (reward >= 1) {
        rewardText = GetLanguageText("RewardBoost1") +
                     GetLanguageText(reward == 1 ? "RewardOneBoost" : "RewardMultipleBoosts") +
                     GetLanguageText("RewardBoost2");
        rewardPage.lines.Clear();
        rewardPage.lines.Append(rewardText);
        rewardPage.speech = reward == 1 ? "RewardedOneBoost" : "RewardedMultipleBoosts";
        pages.Append(&rewardPage);
        if (TextBox* box = TextBox::Instance()) {
            box->AddParagraph("");
            box->AddParagraph(rewardText);
            box->WrapText();
        }
    }
    SetButtonShown(kCustomize, BoostsShown() >= 1);
    LayOutButtons();
    StartCelebration();
    // The celebration of the campaign's last goal is the winning movie: from now on the
    // game menu offers to show it again.
    if (!local_.seenWinningMovie && mission_.IsLastGoal()) {
        local_.seenWinningMovie = true;
        local_.Save();
    }
}

void WinningWindow::StartCelebration() {
    if (rewardBoosts > 1) {
        GetBackgroundScene().Start(kBigCelebration);
        return;
    }
    int32_t count = 2;
    if (local_.HasUpgradeLevel(kLargeVornItem, 0)) {
        count = 6;
    } else if (local_.HasUpgradeLevel(kMediumVornItem, 0)) {
        count = 4;
    }
    const int64_t pick = (int64_t(sys::Rand()) * (count - 1) + 16383) / 32767;
    GetBackgroundScene().Start(kCelebrations[pick]);
}

void WinningWindow::ClearPages() {
    pages.Clear();
    nextPage = 0;
}

void WinningWindow::AddPage(const TextPage& page) { pages.Append(&page); }

bool WinningWindow::OnFrameTick() {
    BackgroundScene& scene = GetBackgroundScene();
    scene.Update(CurrentGame() != nullptr ? CurrentGame()->frameTime : 0.0f);
    if (scene.IsFinished()) StartCelebration();
    return false;
}

void WinningWindow::DrawContents() {
    GetBackgroundScene().Draw();
    Renderer& renderer = GetRenderer();
    UseScreenCamera();
    renderer.SetAlphaBlend();
    // Over the celebration: a figure passing in front keeps its depths, not the count.
    SetDepthTest(false);
    if (IsButtonShown(kCustomize)) DrawBoostCount();
    SetDepthTest(true);
    renderer.SetBlendOff();
    DrawButtons();
    SpeakNextOf(pages, nextPage);
}

void WinningWindow::DrawBoostCount() {
    const int32_t count = BoostsShown();
    const String text = String::FromInt(count) + " " + GetLanguageText(count == 1 ? "Boost" : "Boosts");
    const IntRect button = ButtonRect(kCustomize);
    const Vector2 size = MeasureText(text, kCountScale);
    const float centreX = float(button.left + button.right) * 0.5f;
    const float baseline = float(button.top) - 64.0f - size.y;
    DrawUiText(text, centreX - size.x * 0.5f, baseline, Color(0xFFFFFFFF), kCountScale);
}

String WinningWindow::ButtonToolTip(int32_t index) const {
    return GetLanguageText(index == kContinue ? "Continue" : "Customize");
}

void WinningWindow::OnButton(int32_t index) {
    PostEvent(index == kContinue ? kEventContinueCampaign : kEventEditPlayerInfo);
}

void WinningWindow::HandleCommand(Event& event) {
    switch (event.type) {
        case kEventContinueCampaign:
            mission_.PayReward();
            mission_.Begin();
            return;
        case kEventEditPlayerInfo: {
            mission_.PayReward();
            WindowManager& manager = GetWindowManager();
            manager.CloseAllWindows();
            if (Window* map = manager.FindWindowByName("MissionMapWindow")) manager.PushReturnWindow(map);
            if (Window* upgrades = manager.FindWindowByName("UpgradeWindow")) manager.OpenWindow(upgrades);
            return;
        }
        default: ButtonRowWindow::HandleCommand(event);
    }
}
