#pragma once
// The small map of the whole arena over the battlefield: a click or a drag on it moves the
// battlefield camera there, and the three buttons below it switch or reset that camera.
#include <cstdint>
#include <optional>

#include "core/Color.h"
#include "core/Image.h"
#include "core/IntRect.h"
#include "core/Vector2.h"
#include "core/Vector3.h"
#include "engine/TextureHandle.h"
#include "ui/Window.h"

class Vorn;
class WorldObject;

class MiniMap : public Window {
public:
    static constexpr int32_t kMapSize = 100;
    static constexpr int32_t kButtonSize = 32;
    static constexpr int32_t kButtonCount = 3;
    static constexpr int32_t kImageSize = 256;
    static constexpr int32_t kIconCount = 12;
    static constexpr int32_t kIconSize = 12;

    MiniMap();

    void Refresh() override;
    void CreateResources() override;
    void ReleaseResources() override;
    void DrawContents() override;
    bool HandleMouse(const InputEvent& input) override;
    void HandleCommand(Event& event) override;

    // Redraws the terrain image after terrain changes and loads.
    void UpdateTerrainImage();
    int32_t terrainImageUpdates = 0;

    // The map fractions of a screen point: x to the right, y up the map.
    Vector2 FractionsAt(const Point& point) const;
    bool IsOnMap(const Point& point) const;
    // The arena point (on the terrain) under a screen point of the map.
    Vector3 ArenaPointAt(const Point& point) const;
    // The camera button under the point, or -1.
    int32_t ButtonAt(const Point& point) const;

    // The map pixel of an arena point.
    Point MapPixelOf(const Vector3& point) const;
    // The ring over a unit's icon while its health display runs: red after damage, green
    // after healing; none once the display is over.
    static std::optional<Color> HealthRingColour(const Vorn& vorn);

    IntRect mapRect;
    Image terrainImage;
    bool dragging = false;
    int32_t pressedButton = -1;

private:
    Sprite* IconOf(const WorldObject& object) const;
    void DrawIconAt(Sprite& icon, const Point& at);
    void DrawUnitIcon(const Vorn& vorn, const Point& at);
    void DrawViewOutline();
    TextureHandle terrainTexture_ = nullptr;
    Sprite* mapSprite_ = nullptr;
    Sprite* icons_[kIconCount] = {};
    Sprite* buttons_[kButtonCount] = {};
    Sprite* viewSprite_ = nullptr;
    Sprite* unitIcon_ = nullptr;  // takes the owner's coloured icon
    Sprite* ringSprite_ = nullptr;
};

MiniMap& GetMiniMap();
