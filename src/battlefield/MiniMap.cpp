// The small map of the whole arena.
#include "battlefield/MiniMap.h"

#include <algorithm>
#include <iterator>
#include <limits>

#include "battlefield/ArenaWindow.h"
#include "engine/Mouse.h"
#include "engine/Renderer.h"
#include "engine/Sprite.h"
#include "game/Event.h"
#include "game/Player.h"
#include "platform/gfx/States.h"
#include "ui/UiServices.h"
#include "ui/WindowManager.h"
#include "units/Vorn.h"
#include "world/Arena.h"
#include "world/Goal.h"
#include "world/ObjectKind.h"
#include "world/Terrain.h"
#include "world/WorldObject.h"

MiniMap::MiniMap() : Window("MiniMap") {
    closeButton = true;
    backgroundShown = true;
    resizable = false;
    Resize(Point(kMapSize, kMapSize + kButtonSize));
    Refresh();
}

void MiniMap::Refresh() { mapRect = IntRect(left, top, left + kMapSize, top + kMapSize); }

void MiniMap::CreateResources() {
    Window::CreateResources();
    static const char* const kIcons[kIconCount] = {
        "TreePatternButton.tga",        "SolarChargerPatternButton.tga", "RockPatternButton.tga",
        "BeaconPatternButton.tga",      "HealthFieldPatternButton.tga",  "GooFieldPatternButton.tga",
        "StaticFieldPatternButton.tga", "FriendPatternIcon.tga",         "EnemyPatternIcon.tga",
        "SoccerBallPatternButton.tga",  "FriendGoalPatternButton.tga",   "EnemyGoalPatternButton.tga"};
    static const char* const kButtons[kButtonCount] = {"CameraOverheadButton.tga", "CameraTiltedButton.tga",
                                                       "CameraResetButton.tga"};
    for (int32_t i = 0; i < kIconCount; ++i) {
        icons_[i] = CreateUiSprite(kIconSize, kIconSize, kIcons[i], Sprite::kAnchorTopLeft);
    }
    for (int32_t i = 0; i < kButtonCount; ++i) {
        buttons_[i] = CreateUiSprite(kButtonSize, kButtonSize, kButtons[i], Sprite::kAnchorTopLeft);
    }
    unitIcon_ = CreateUiSprite(kIconSize, kIconSize, kIcons[7], Sprite::kAnchorTopLeft);
    ringSprite_ = CreateUiSprite(kIconSize, kIconSize, "Highlight.tga", Sprite::kAnchorTopLeft);
    // A material of its own: the terrain texture replaces its picture.
    mapSprite_ = GetRenderer().CreateSprite(kMapSize, String(), Sprite::kAnchorTopLeft);
    // The outline is a plain white quad, see-through by its vertex colour.
    Image white(1, 1);
    white.Fill(Color(0xFFFFFFFF));
    viewSprite_ = GetRenderer().CreateSprite(1, String(), Sprite::kAnchorTopLeft);
    viewSprite_->SetTexture(GetRenderer().CreateTextureImage(white, 1));
    viewSprite_->SetAlphaOperation(uint32_t(gfx::TextureOp::Modulate));
    TintSprite(viewSprite_, Color(0x60FFFFFF));
    UpdateTerrainImage();
}

void MiniMap::ReleaseResources() {
    terrainTexture_ = nullptr;
    mapSprite_ = nullptr;
    std::fill(std::begin(icons_), std::end(icons_), nullptr);
    std::fill(std::begin(buttons_), std::end(buttons_), nullptr);
    viewSprite_ = nullptr;
    unitIcon_ = nullptr;
    ringSprite_ = nullptr;
    Window::ReleaseResources();
}

void MiniMap::UpdateTerrainImage() {
    ++terrainImageUpdates;
    if (gArena == nullptr || mapSprite_ == nullptr) return;
    if (terrainImage.Width() != kImageSize) terrainImage = Image(kImageSize, kImageSize);
    gArena->GetTerrain().RenderMiniMapImage(terrainImage);
    if (terrainTexture_ == nullptr) {
        terrainTexture_ = GetRenderer().CreateTextureImage(terrainImage, 1);
        mapSprite_->SetTexture(terrainTexture_);
    } else {
        GetRenderer().CreateTextureImage(terrainTexture_, terrainImage);
    }
}

Point MiniMap::MapPixelOf(const Vector3& point) const {
    const Vector2 f = gArena != nullptr ? gArena->FractionOfPoint(point) : Vector2();
    const float width = float(mapRect.right - mapRect.left + 1);
    const float height = float(mapRect.bottom - mapRect.top + 1);
    return Point(mapRect.left + int32_t(f.x * width), mapRect.top + int32_t((1.0f - f.y) * height));
}

Sprite* MiniMap::IconOf(const WorldObject& object) const {
    switch (object.kind) {
        case kKindTree: return icons_[0];
        case kKindSolarCharger: return icons_[1];
        case kKindRock: return icons_[2];
        case kKindBeacon: return icons_[3];
        case kKindHealthField: return icons_[4];
        case kKindGooField: return icons_[5];
        case kKindStaticField: return icons_[6];
        case kKindSoccerBall: return icons_[9];
        case kKindGoal:
            return icons_[static_cast<const Goal&>(object).owner == ArenaWindow::FriendlyPlayer() ? 10 : 11];
        case kKindVorn: return icons_[static_cast<const Vorn&>(object).owner == ArenaWindow::FriendlyPlayer() ? 7 : 8];
        default: return nullptr;
    }
}

std::optional<Color> MiniMap::HealthRingColour(const Vorn& vorn) {
    if (vorn.healthBarTimer <= 0.0f) return std::nullopt;
    return Color(vorn.damaged != 0 ? 0xFFFF0000 : 0xFF00FF00);
}

void MiniMap::DrawIconAt(Sprite& icon, const Point& at) {
    icon.x = at.x - kIconSize / 2;
    icon.y = at.y - kIconSize / 2;
    icon.width = kIconSize;
    icon.height = kIconSize;
    GetRenderer().DrawSprite(icon);
}

void MiniMap::DrawUnitIcon(const Vorn& vorn, const Point& at) {
    // An owner without its coloured icon yet shows the plain friend or enemy mark.
    Sprite* icon = IconOf(vorn);
    if (vorn.owner != nullptr && vorn.owner->patternIconTexture != nullptr && unitIcon_ != nullptr) {
        unitIcon_->SetTexture(vorn.owner->patternIconTexture);
        icon = unitIcon_;
    }
    if (icon != nullptr) DrawIconAt(*icon, at);
    const std::optional<Color> ring = HealthRingColour(vorn);
    if (!ring || ringSprite_ == nullptr) return;
    TintSprite(ringSprite_, *ring);
    DrawIconAt(*ringSprite_, at);
}

void MiniMap::DrawViewOutline() {
    if (gArena == nullptr || viewSprite_ == nullptr) return;
    Vector3 corners[4];
    GetArenaWindow().ViewCornersAtHeight(0.0f, corners);
    const float width = gArena->WorldWidth();
    const float height = gArena->WorldHeight();
    float lowX = corners[0].x, highX = corners[0].x, lowY = corners[0].y, highY = corners[0].y;
    for (const Vector3& corner : corners) {
        lowX = std::min(lowX, corner.x);
        highX = std::max(highX, corner.x);
        lowY = std::min(lowY, corner.y);
        highY = std::max(highY, corner.y);
    }
    // The outline starts in the arena's main copy.
    while (highX < 0.0f) lowX += width, highX += width;
    while (lowX >= width) lowX -= width, highX -= width;
    while (highY < 0.0f) lowY += height, highY += height;
    while (lowY >= height) lowY -= height, highY -= height;
    const float mapWidth = float(mapRect.right - mapRect.left + 1);
    const float mapHeight = float(mapRect.bottom - mapRect.top + 1);
    const float x0 = float(mapRect.left) + lowX / width * mapWidth;
    const float x1 = float(mapRect.left) + highX / width * mapWidth;
    const float y0 = float(mapRect.top) + (1.0f - highY / height) * mapHeight;
    const float y1 = float(mapRect.top) + (1.0f - lowY / height) * mapHeight;
    // Where the outline crosses an edge of the map, the rest shows at the other side.
    for (int dx = -1; dx <= 1; ++dx) {
        for (int dy = -1; dy <= 1; ++dy) {
            const float left0 = std::max(x0 + float(dx) * mapWidth, float(mapRect.left));
            const float right0 = std::min(x1 + float(dx) * mapWidth, float(mapRect.right));
            const float top0 = std::max(y0 + float(dy) * mapHeight, float(mapRect.top));
            const float bottom0 = std::min(y1 + float(dy) * mapHeight, float(mapRect.bottom));
            if (right0 <= left0 || bottom0 <= top0) continue;
            viewSprite_->x = int32_t(left0);
            viewSprite_->y = int32_t(top0);
            viewSprite_->width = int32_t(right0 - left0);
            viewSprite_->height = int32_t(bottom0 - top0);
            GetRenderer().DrawSprite(*viewSprite_);
        }
    }
}

void MiniMap::DrawContents() {
    if (mapSprite_ == nullptr) return;
    if (terrainTexture_ == nullptr) UpdateTerrainImage();
    Renderer& renderer = GetRenderer();
    UseScreenCamera();
    renderer.SetAlphaBlend();
    mapSprite_->x = mapRect.left;
    mapSprite_->y = mapRect.top;
    mapSprite_->width = mapRect.right - mapRect.left;
    mapSprite_->height = mapRect.bottom - mapRect.top;
    renderer.DrawSprite(*mapSprite_);
    if (gArena != nullptr) {
        for (const WorldObject* object : gArena->Objects()) {
            const Point at = MapPixelOf(object->position);
            if (object->kind == kKindVorn) {
                DrawUnitIcon(static_cast<const Vorn&>(*object), at);
                continue;
            }
            if (Sprite* icon = IconOf(*object)) DrawIconAt(*icon, at);
        }
    }
    DrawViewOutline();
    for (int32_t i = 0; i < kButtonCount; ++i) {
        if (buttons_[i] == nullptr) continue;
        buttons_[i]->x = left + i * kButtonSize;
        buttons_[i]->y = top + kMapSize;
        renderer.DrawSprite(*buttons_[i]);
    }
    renderer.SetBlendOff();
}

Vector2 MiniMap::FractionsAt(const Point& point) const {
    const float width = float(mapRect.right - mapRect.left + 1);
    const float height = float(mapRect.bottom - mapRect.top + 1);
    return Vector2(float(point.x - mapRect.left) / width, 1.0f - float(point.y - mapRect.top) / height);
}

bool MiniMap::IsOnMap(const Point& point) const {
    const Vector2 f = FractionsAt(point);
    return f.x >= 0.0f && f.x <= 1.0f && f.y >= 0.0f && f.y <= 1.0f;
}

Vector3 MiniMap::ArenaPointAt(const Point& point) const {
    if (gArena == nullptr) return Vector3();
    const Vector2 f = FractionsAt(point);
    const Vector2 at = gArena->PointAtFraction(f.x, f.y);
    return gArena->GroundPoint(at.x, at.y);
}

int32_t MiniMap::ButtonAt(const Point& point) const {
    const int32_t y = point.y - (top + kMapSize);
    const int32_t x = point.x - left;
    if (y < 0 || y >= kButtonSize || x < 0 || x >= kButtonSize * kButtonCount) return -1;
    return x / kButtonSize;
}

bool MiniMap::HandleMouse(const InputEvent& input) {
    if (Window::HandleMouse(input)) return true;
    const Point point(input.x, input.y);
    if (input.kind == kInputFrameTick) {
        if (dragging && IsOnMap(point)) PostEventVector(kEventSetCameraTargetPosition, ArenaPointAt(point));
        return false;
    }
    if (input.IsKeyDown(kInputButtonLeft)) {
        if (IsOnMap(point)) {
            PostEventVector(kEventSetCameraTargetPosition, ArenaPointAt(point));
            PlayUiSound("MouseDown.ogg");
            return true;
        }
        pressedButton = ButtonAt(point);
        if (pressedButton < 0) return false;
        GetWindowManager().BringToFront(this);
        PlayUiSound("MouseDown.ogg");
        return true;
    }
    if (input.IsKeyUp(kInputButtonLeft)) {
        if (dragging) {
            const float far = std::numeric_limits<float>::max();
            PostEventVector(kEventEndMoveCamera, IsOnMap(point) ? ArenaPointAt(point) : Vector3(far, far, far));
            PlayUiSound("MouseUp.ogg");
        }
        if (pressedButton >= 0) {
            GetWindowManager().RemoveFromFocusOrder(this);
            if (ButtonAt(point) == pressedButton) {
                GetArenaWindow().PostEventInt(kEventSetCameraMode, pressedButton);
                PlayUiSound("MouseUp.ogg");
            }
            pressedButton = -1;
        }
        GetMouse().ShowCursor();
        return true;
    }
    if (input.kind == kInputWheel) {
        ArenaWindow& battlefield = GetArenaWindow();
        battlefield.CurrentCamera().HandleInput(battlefield, input);
        return true;
    }
    return false;
}

void MiniMap::HandleCommand(Event& event) {
    if (event.type == kEventSetCameraTargetPosition) {
        dragging = true;
        GetArenaWindow().PostEventVector(kEventSetCameraTargetPosition, event.position3);
        GetWindowManager().BringToFront(this);
        return;
    }
    if (event.type == kEventEndMoveCamera) {
        dragging = false;
        GetWindowManager().RemoveFromFocusOrder(this);
        return;
    }
    Window::HandleCommand(event);
}

MiniMap& GetMiniMap() {
    static MiniMap miniMap;
    return miniMap;
}
