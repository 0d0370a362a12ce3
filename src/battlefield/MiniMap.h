#pragma once
// The small map of the whole arena over the battlefield: a click or a drag on it moves the
// battlefield camera there, and the three buttons below it switch or reset that camera.
#include <cstdint>
#include <optional>

#include "core/Array.h"
#include "core/Color.h"
#include "core/Image.h"
#include "core/IntRect.h"
#include "core/Vector2.h"
#include "core/Vector3.h"
#include "engine/Camera.h"
#include "engine/TextureHandle.h"
#include "ui/Window.h"

class Mesh;
class SpriteGrid;
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
    void HitTestControls(const Point& point) override;
    void GetToolTip() override;
    // "MiniMap", a camera button's name, an "Object" or "Vorn" search from the arena's
    // centre, or "Circle" x y r: marked where the map shows it.
    void GetHighlightShape(const HighlightRequest& request, Highlighter& highlighter) override;

    // Redraws the terrain image after terrain changes and loads.
    void UpdateTerrainImage();
    int32_t terrainImageUpdates = 0;

    // The map fractions of a screen point: x to the right, y up the map.
    Vector2 FractionsAt(const Point& point) const;
    bool IsOnMap(const Point& point) const;
    // The arena point (on the terrain) under a screen point of the map.
    Vector3 ArenaPointAt(const Point& point) const;
    // The map pixel of an arena point.
    Point MapPixelOf(const Vector3& point) const;
    // Where the battlefield camera's view meets the ground, in map pixels: the corners of
    // the battlefield window's top-left, top-right, bottom-right and bottom-left, moved
    // into the arena's main copy (they may reach past the map's edges).
    void ViewOutline(Vector2 (&corners)[4]) const;
    // The ring over a unit's icon while its health display runs: red after damage, green
    // after healing; none once the display is over.
    static std::optional<Color> HealthRingColour(const Vorn& vorn);

    IntRect mapRect;
    Image terrainImage;
    bool dragging = false;
    // The overhead, tilted and reset buttons below the map; made with the window's sprites.
    SpriteGrid* cameraButtons = nullptr;

private:
    Sprite* IconOf(const WorldObject& object) const;
    float MapWidth() const { return float(mapRect.right - mapRect.left + 1); }
    float MapHeight() const { return float(mapRect.bottom - mapRect.top + 1); }
    void DrawIconAt(Sprite& icon, const Point& at);
    void DrawUnitIcon(const Vorn& vorn, const Point& at);
    void DrawViewOutline();
    void DrawViewQuad(const Vector2 (&corners)[4], const Vector2& shift);
    bool MarkArenaObject(const StringArray& words, Highlighter& highlighter);
    TextureHandle terrainTexture_ = nullptr;
    Sprite* mapSprite_ = nullptr;
    Sprite* icons_[kIconCount] = {};
    // Its viewport is the map, so the outline's pieces stop at the map's edges.
    Camera mapCamera_;
    Mesh* viewQuad_ = nullptr;
    Sprite* unitIcon_ = nullptr;  // takes the owner's coloured icon
    Sprite* ringSprite_ = nullptr;
};

MiniMap& GetMiniMap();
