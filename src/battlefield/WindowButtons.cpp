// The image buttons of a full-screen battle window.
#include "battlefield/WindowButtons.h"

#include "engine/Renderer.h"
#include "engine/Sprite.h"
#include "ui/UiServices.h"

void WindowButtons::Add(const char* image, const char* buttonName) {
    images_.Append(image);
    names_.Append(buttonName);
    places_.Append(Point());
    visible_.Append(1);
}

bool WindowButtons::SpritesCurrent() const { return made_ && current_.IsSet(); }

void WindowButtons::EnsureSprites() {
    if (made_ && !current_.IsSet()) {
        grid_ = SpriteGrid();
        made_ = false;
    }
    if (!made_) grid_.SetLayoutMode(SpriteGrid::kLayoutFree);
    made_ = true;
    current_.Set();
    for (int32_t i = grid_.Count(); i < images_.Count(); ++i) {
        Sprite* sprite = CreateUiSprite(kButtonPixels, kButtonPixels, images_[i], Sprite::kAnchorCentre);
        grid_.AddItem(sprite, names_[i], visible_[i] != 0);
        PlaceAt(i, places_[i]);
    }
}

bool WindowButtons::Press(const Point& point) {
    EnsureSprites();
    grid_.Press(point);
    if (grid_.pressed < 0) return false;
    PlayUiSound("MouseDown.ogg");
    return true;
}

int32_t WindowButtons::Release(const Point& point) {
    EnsureSprites();
    if (grid_.pressed < 0) {
        grid_.pressed = SpriteGrid::kNotPressed;
        return -1;
    }
    const int32_t released = grid_.Release(point);
    if (released >= 0) PlayUiSound("MouseUp.ogg");
    return released;
}

void WindowButtons::Draw() {
    EnsureSprites();
    GetRenderer().DrawSpriteGrid(grid_, true);
}

void WindowButtons::SetVisible(int32_t index, bool visible) {
    if (index < 0 || index >= visible_.Count()) return;
    visible_[index] = visible ? 1 : 0;
    if (SpritesCurrent()) grid_.SetItemVisible(index, visible);
}

bool WindowButtons::IsVisible(int32_t index) const {
    return index >= 0 && index < visible_.Count() && visible_[index] != 0;
}

void WindowButtons::PlaceAt(int32_t index, const Point& centre) {
    if (index < 0 || index >= places_.Count()) return;
    places_[index] = centre;
    if (!SpritesCurrent() || !grid_.IsValidIndex(index) || grid_.sprites[index] == nullptr) return;
    grid_.sprites[index]->x = centre.x;
    grid_.sprites[index]->y = centre.y;
}

int32_t WindowButtons::FindByName(const String& buttonName) const {
    for (int32_t i = 0; i < names_.Count(); ++i) {
        if (names_[i].EqualsNoCase(buttonName.CStr())) return i;
    }
    return -1;
}

int32_t WindowButtons::At(const Point& point) const { return made_ ? grid_.FindItemAt(point) : -1; }

IntRect WindowButtons::ScreenRect(int32_t index) const {
    if (!made_ || !grid_.IsValidIndex(index) || grid_.sprites[index] == nullptr) return IntRect();
    return grid_.sprites[index]->GetScreenRect();
}
