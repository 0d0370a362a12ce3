// Full-screen campaign windows with a bottom row of buttons.
#include "modes/ButtonRowWindow.h"

#include "engine/Mouse.h"
#include "engine/Renderer.h"
#include "engine/ScreenLayout.h"
#include "engine/Sprite.h"
#include "engine/SpriteGrid.h"
#include "ui/ToolTip.h"
#include "ui/UiServices.h"

ButtonRowWindow::ButtonRowWindow(const String& windowName) : Window(windowName) {
    frameShown = false;
    movable = false;
    SetFullScreen(true);
}

void ButtonRowWindow::AddButton(const char* image) {
    images_.Append(image);
    shown_.Append(1);
}

void ButtonRowWindow::CreateResources() {
    buttons = GetRenderer().CreateSpriteGrid();
    buttons->SetLayoutMode(SpriteGrid::kLayoutFree);
    for (int32_t i = 0; i < images_.Count(); ++i) {
        // Each button is known by its picture's name ("PlayButton"), as a script names it.
        const String image(images_[i]);
        buttons->AddItem(CreateUiSprite(kButtonPixels, kButtonPixels, image, Sprite::kAnchorCentre),
                         image.StripExtension(), shown_[i] != 0);
    }
    LayOutButtons();
}

void ButtonRowWindow::ReleaseResources() {
    buttons = nullptr;
    Window::ReleaseResources();
}

void ButtonRowWindow::SetButtonShown(int32_t index, bool shown) {
    shown_[index] = shown ? 1 : 0;
    if (buttons != nullptr) buttons->SetItemVisible(index, shown);
}

void ButtonRowWindow::LayOutButtons() {
    if (buttons != nullptr) LayOutButtonRow(*buttons, UiScreenRect(), false);
}

IntRect ButtonRowWindow::ButtonRect(int32_t index) const {
    if (buttons == nullptr || buttons->sprites[index] == nullptr) return IntRect();
    return buttons->sprites[index]->GetScreenRect();
}

void ButtonRowWindow::DrawButtons() {
    if (buttons == nullptr) return;
    UseScreenCamera();
    Renderer& renderer = GetRenderer();
    renderer.SetAlphaBlend();
    renderer.DrawSpriteGrid(*buttons, true);
    renderer.SetBlendOff();
}

void ButtonRowWindow::HitTestControls(const Point& point) {
    if (buttons != nullptr) buttons->UpdateHover(point);
    Window::HitTestControls(point);
}

void ButtonRowWindow::GetToolTip() {
    if (buttons == nullptr || !buttons->IsValidIndex(buttons->hovered)) {
        Window::GetToolTip();
        return;
    }
    ::GetToolTip().Set(ButtonToolTip(buttons->hovered), ButtonRect(buttons->hovered));
}

bool ButtonRowWindow::HandleMouse(const InputEvent& input) {
    const Point point(input.x, input.y);
    if (input.kind == kInputFrameTick) return OnFrameTick();
    const bool left = input.code == kInputButtonLeft;
    if (input.kind == kInputDown && left) {
        if (buttons != nullptr) buttons->Press(point);
        if (buttons != nullptr && buttons->pressed >= 0) {
            PlaySound("MouseDown.ogg");
            return true;
        }
        if (OnLeftPress(point)) return true;
    }
    if (input.kind == kInputUp && left) {
        if (buttons != nullptr && buttons->pressed >= 0) {
            const int32_t released = buttons->Release(point);
            if (released >= 0) {
                OnButton(released);
                PlaySound("MouseUp.ogg");
            }
            return true;
        }
        if (OnLeftRelease(point)) return true;
    }
    return Window::HandleMouse(input) || IsCameraInput(input, GetMouse());
}

bool ButtonRowWindow::OnFrameTick() { return false; }

bool ButtonRowWindow::OnLeftPress(const Point&) { return false; }

bool ButtonRowWindow::OnLeftRelease(const Point&) { return false; }
