#pragma once
// The image buttons of a full-screen battle window: a press over a button plays
// "MouseDown.ogg", a release over the same button plays "MouseUp.ogg" and names it.
#include <cstdint>

#include "core/IntRect.h"
#include "core/Point.h"
#include "core/String.h"
#include "engine/RendererRef.h"
#include "engine/SpriteGrid.h"

class WindowButtons {
public:
    static constexpr int32_t kButtonPixels = 64;

    // The sprites are made on first use, once the renderer exists.
    void Add(const char* image, const char* buttonName);
    void EnsureSprites();
    // True when a button was pressed.
    bool Press(const Point& point);
    // The button released over, or -1; a release without a press is -1 too.
    int32_t Release(const Point& point);
    void Draw();
    void SetVisible(int32_t index, bool visible);
    bool IsVisible(int32_t index) const;
    // The button's centre goes to the point.
    void PlaceAt(int32_t index, const Point& centre);
    int32_t FindByName(const String& buttonName) const;
    // The visible button under the point, or -1.
    int32_t At(const Point& point) const;
    IntRect ScreenRect(int32_t index) const;
    int32_t Count() const { return images_.Count(); }
    SpriteGrid& Grid() { return grid_; }

private:
    bool SpritesCurrent() const;

    SpriteGrid grid_;
    Array<String> images_;
    Array<String> names_;
    Array<Point> places_;
    Array<uint8_t> visible_;
    bool made_ = false;
    // Cleared when the renderer frees the sprites, which are then made again.
    RendererMark current_;
};
