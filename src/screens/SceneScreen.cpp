// Full-screen windows over the animated scene.
#include "screens/SceneScreen.h"

#include "core/TextTable.h"
#include "engine/Renderer.h"
#include "engine/ScreenLayout.h"
#include "engine/Sprite.h"
#include "engine/SpriteGrid.h"
#include "game/Game.h"
#include "screens/BackgroundScene.h"
#include "ui/ToolTip.h"
#include "ui/UiServices.h"

float ScreenFrameTime() {
    const Game* game = CurrentGame();
    return game != nullptr ? game->frameTime : Game::kMinFrameTime;
}

SceneScreen::SceneScreen(const String& windowName) : Window(windowName) {}

void SceneScreen::SetButton(const char* image, const char* toolTipKey, int32_t command) {
    image_ = image;
    toolTipKey_ = toolTipKey;
    command_ = command;
}

void SceneScreen::CreateResources() {
    if (image_ == nullptr) return;
    buttons = GetRenderer().CreateSpriteGrid();
    buttons->hovered = SpriteGrid::kNoItem;
    buttons->pressed = SpriteGrid::kNotPressed;
    buttons->SetLayoutMode(SpriteGrid::kLayoutFree);
    buttons->AddItem(CreateUiSprite(kButtonPixels, kButtonPixels, image_, Sprite::kAnchorCentre), String(), true);
    Refresh();
}

void SceneScreen::ReleaseResources() {
    buttons = nullptr;
    Window::ReleaseResources();
}

void SceneScreen::Refresh() {
    if (buttons != nullptr) LayOutButtonRow(*buttons, UiScreenRect(), false);
}

void SceneScreen::DrawButton() {
    if (buttons == nullptr) return;
    UseScreenCamera();
    Renderer& renderer = GetRenderer();
    renderer.SetAlphaBlend();
    renderer.DrawSpriteGrid(*buttons, true);
    renderer.SetBlendOff();
}

bool SceneScreen::HandleMouse(const InputEvent& input) {
    if (input.kind == kInputFrameTick) {
        BackgroundScene& scene = GetBackgroundScene();
        scene.Update(ScreenFrameTime());
        if (scene.IsFinished()) StartScene();
        return true;
    }
    const Point p(input.x, input.y);
    if (buttons != nullptr && input.kind == kInputDown && input.code == kInputButtonLeft) {
        buttons->Press(p);
        if (buttons->pressed >= 0) {
            PlaySound("MouseDown.ogg");
            return true;
        }
    }
    if (buttons != nullptr && input.kind == kInputUp && input.code == kInputButtonLeft && buttons->pressed >= 0) {
        if (buttons->Release(p) >= 0) {
            PostEvent(command_);
            PlaySound("MouseUp.ogg");
            return true;
        }
    }
    return HandleOtherInput(input);
}

bool SceneScreen::HandleOtherInput(const InputEvent& input) { return Window::HandleMouse(input); }

void SceneScreen::HitTestControls(const Point& point) {
    if (buttons != nullptr) buttons->UpdateHover(point);
    Window::HitTestControls(point);
}

void SceneScreen::GetToolTip() {
    ToolTip& tip = ::GetToolTip();
    if (buttons == nullptr || buttons->hovered != 0 || buttons->sprites[0] == nullptr) {
        tip.Clear();
        return;
    }
    tip.Set(GetLanguageText(toolTipKey_), buttons->sprites[0]->GetScreenRect());
}
