// The shared behaviour of the front-end menus.
#include "screens/FrontEndMenu.h"

#include "core/TextTable.h"
#include "engine/Mouse.h"
#include "engine/Renderer.h"
#include "engine/Sprite.h"
#include "engine/SpriteGrid.h"
#include "game/Event.h"
#include "game/Game.h"
#include "screens/BackgroundScene.h"
#include "ui/ToolTip.h"
#include "ui/UiServices.h"
#include "ui/WindowManager.h"

namespace {
constexpr int32_t kMusicKey = 'M';
}

FrontEndMenu::FrontEndMenu(const String& windowName, const Entry* entries, int32_t entryCount)
    : PopUpMenu(windowName, kItemPixels, kRingPixels), entries_(entries), entryCount_(entryCount) {
    title = GetLanguageText(windowName.CStr());
    for (int32_t i = 0; i < entryCount_; ++i) AddItem(entries_[i].image, entries_[i].itemName);
}

void FrontEndMenu::OnOpen() {
    PopUpMenu::OnOpen();
    const IntRect screen = UiScreenRect();
    SetButtonVisibility();
    MoveTo(Point((screen.right - screen.left + 1) / 2, kCentreY));
    StartScene();
}

void FrontEndMenu::DrawContents() {
    GetBackgroundScene().Draw();
    UseScreenCamera();
    PopUpMenu::DrawContents();
    Renderer& renderer = GetRenderer();
    renderer.SetAlphaBlend();
    DrawMessageLine(GetLanguageText("Vorns!"), 0);
    renderer.SetBlendOff();
}

bool FrontEndMenu::HandleMouse(const InputEvent& input) {
    if (input.kind == kInputFrameTick) {
        OnFrameTick();
        BackgroundScene& scene = GetBackgroundScene();
        const Game* game = CurrentGame();
        scene.Update(game != nullptr ? game->frameTime : Game::kMinFrameTime);
        if (scene.IsFinished()) StartScene();
        return true;
    }
    if (input.IsKeyDown(kMusicKey)) {
        ToggleMusic();
        return true;
    }
    return PopUpMenu::HandleMouse(input);
}

void FrontEndMenu::HandleCommand(Event& event) {
    if (event.type == kEventAbortMenu) return;
    PopUpMenu::HandleCommand(event);
}

void FrontEndMenu::OnChoice(int32_t index) {
    if (index >= 0 && index < entryCount_) PostEvent(entries_[index].event);
    GetMouse().ShowCursor();
}

void FrontEndMenu::GetToolTip() {
    ToolTip& tip = ::GetToolTip();
    const int32_t hovered = items != nullptr ? items->hovered : SpriteGrid::kNoItem;
    if (hovered < 0 || hovered >= entryCount_ || items->sprites[hovered] == nullptr) {
        tip.Clear();
        return;
    }
    // Above the item as drawn, enlarged under the pointer, not above its resting size.
    tip.SetForItem(ToolTipText(hovered), *items, *items->sprites[hovered]);
}

String FrontEndMenu::ToolTipText(int32_t index) const { return GetLanguageText(entries_[index].toolTipKey); }

bool FrontEndMenu::IsItemShown(int32_t index) const {
    return items != nullptr && items->IsValidIndex(index) && items->IsShown(index);
}

void FrontEndMenu::SetItemShown(int32_t index, bool shown) {
    if (items != nullptr) items->SetItemVisible(index, shown);
}

void FrontEndMenu::GoTo(Window& screen) {
    WindowManager& manager = GetWindowManager();
    manager.PushReturnWindow(this);
    manager.CloseAllWindows();
    manager.OpenWindow(&screen);
}
