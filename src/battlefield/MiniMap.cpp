// The small map of the whole arena.
#include "battlefield/MiniMap.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>

#include "battlefield/ArenaWindow.h"
#include "battlefield/MarkRequest.h"
#include "core/TextTable.h"
#include "engine/Mesh.h"
#include "engine/Mouse.h"
#include "engine/Renderer.h"
#include "engine/ScreenLayout.h"
#include "engine/Sprite.h"
#include "engine/SpriteGrid.h"
#include "game/Event.h"
#include "game/Player.h"
#include "ui/Highlighter.h"
#include "ui/ToolTip.h"
#include "ui/UiServices.h"
#include "ui/WindowManager.h"
#include "units/Vorn.h"
#include "world/Arena.h"
#include "world/Goal.h"
#include "world/ObjectKind.h"
#include "world/Terrain.h"
#include "world/WorldObject.h"

namespace {

constexpr Color kViewColour = Color(0x60FFFFFF);
constexpr float kMarkPulse = 1.6f;
// An object's mark is this many times its true size on the map, to be seen at all.
constexpr float kObjectMarkScale = 12.0f;
constexpr const char* kButtonNames[MiniMap::kButtonCount] = {"OverheadCamera", "TiltedCamera", "ResetCamera"};

struct Bounds {
    float lowX, highX, lowY, highY;
};

// The smallest x and y span holding the four points.
template <typename Point2>
Bounds BoundsOf(const Point2 (&points)[4]) {
    Bounds b{points[0].x, points[0].x, points[0].y, points[0].y};
    for (const Point2& p : points) {
        b.lowX = std::min(b.lowX, p.x);
        b.highX = std::max(b.highX, p.x);
        b.lowY = std::min(b.lowY, p.y);
        b.highY = std::max(b.highY, p.y);
    }
    return b;
}

// Whole arena sizes that move a span lying wholly beside [0, size) back to touch it: the
// outline is drawn from the arena's main copy.
float MainCopyShift(float low, float high, float size) {
    if (!(size > 0.0f) || !std::isfinite(low) || !std::isfinite(high)) return 0.0f;
    if (high < 0.0f) return std::ceil(-high / size) * size;
    if (low >= size) return -std::floor(low / size) * size;
    return 0.0f;
}

}  // namespace

MiniMap::MiniMap() : Window("MiniMap") {
    closeButton = true;
    backgroundShown = true;
    resizable = false;
    Resize(Point(kMapSize, kMapSize + kButtonSize));
    Refresh();
}

void MiniMap::Refresh() {
    mapRect = IntRect(left, top, left + kMapSize, top + kMapSize);
    if (cameraButtons != nullptr) cameraButtons->Layout(Point(left, top + kMapSize));
}

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
    cameraButtons = GetRenderer().CreateSpriteGrid();
    cameraButtons->SetItemsPerRow(kButtonCount);
    cameraButtons->SetSpacing(0);
    cameraButtons->hovered = SpriteGrid::kNoItem;
    cameraButtons->pressed = SpriteGrid::kNotPressed;
    for (int32_t i = 0; i < kButtonCount; ++i) {
        cameraButtons->AddItem(CreateUiSprite(kButtonSize, kButtonSize, kButtons[i], Sprite::kAnchorCentre),
                               kButtonNames[i], true);
    }
    unitIcon_ = CreateUiSprite(kIconSize, kIconSize, kIcons[7], Sprite::kAnchorTopLeft);
    ringSprite_ = CreateUiSprite(kIconSize, kIconSize, "Highlight.tga", Sprite::kAnchorTopLeft);
    // A material of its own: the terrain texture replaces its picture.
    mapSprite_ = GetRenderer().CreateSprite(kMapSize, String(), Sprite::kAnchorTopLeft);
    viewQuad_ = GetRenderer().CreateColoredQuad(QuadRect{0.0f, 0.0f, 1.0f, 1.0f}, kViewColour, 0.0f, 0, 0);
    GetRenderer().CreateModelMeshes(viewQuad_);
    Refresh();
    UpdateTerrainImage();
}

void MiniMap::ReleaseResources() {
    terrainTexture_ = nullptr;
    mapSprite_ = nullptr;
    std::fill(std::begin(icons_), std::end(icons_), nullptr);
    cameraButtons = nullptr;
    viewQuad_ = nullptr;
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
    return Point(mapRect.left + int32_t(f.x * MapWidth()), mapRect.top + int32_t((1.0f - f.y) * MapHeight()));
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

void MiniMap::ViewOutline(Vector2 (&corners)[4]) const {
    Vector3 ground[4];
    GetArenaWindow().ViewCornersAtHeight(0.0f, ground);
    const float width = gArena != nullptr ? gArena->WorldWidth() : 1.0f;
    const float height = gArena != nullptr ? gArena->WorldHeight() : 1.0f;
    const Bounds bounds = BoundsOf(ground);
    const float shiftX = MainCopyShift(bounds.lowX, bounds.highX, width);
    const float shiftY = MainCopyShift(bounds.lowY, bounds.highY, height);
    for (int i = 0; i < 4; ++i) {
        corners[i] = Vector2(float(mapRect.left) + (ground[i].x + shiftX) / width * MapWidth(),
                             float(mapRect.top) + (1.0f - (ground[i].y + shiftY) / height) * MapHeight());
    }
}

void MiniMap::DrawViewQuad(const Vector2 (&corners)[4], const Vector2& shift) {
    // The quad's faces are wound for its corners in this turn; a view seen the other way
    // round is written backwards.
    const Vector2 a = corners[1] - corners[0];
    const Vector2 b = corners[2] - corners[0];
    const bool backwards = a.x * b.y - a.y * b.x < 0.0f;
    viewQuad_->changeBits.SetSize(viewQuad_->vertices.Count());
    for (int k = 0; k < 4; ++k) {
        const Vector2& corner = corners[backwards ? (4 - k) % 4 : k];
        *viewQuad_->vertices[k].position = Vector3(corner.x + shift.x, corner.y + shift.y, 0.0f);
        viewQuad_->changeBits[k] |= kVertexChangePosition;
    }
    viewQuad_->dirty = 1;
    Renderer& renderer = GetRenderer();
    renderer.UpdateMeshBuffers(viewQuad_);
    renderer.SetWorldTransform(Matrix4());
    renderer.RenderMesh(viewQuad_, false);
}

void MiniMap::DrawViewOutline() {
    if (gArena == nullptr || viewQuad_ == nullptr) return;
    Vector2 corners[4];
    ViewOutline(corners);
    const Bounds b = BoundsOf(corners);
    // The pixels of the map's picture that are on the screen: a viewport past the screen's
    // edge would be taken for the whole screen.
    const IntRect screen = UiScreenRect();
    const IntRect shown(std::max(mapRect.left, screen.left), std::max(mapRect.top, screen.top),
                        std::min(mapRect.right - 1, screen.right), std::min(mapRect.bottom - 1, screen.bottom));
    if (shown.right < shown.left || shown.bottom < shown.top) return;
    mapCamera_.SetScreenView(shown, true);
    Renderer& renderer = GetRenderer();
    renderer.SetCamera(mapCamera_);
    renderer.SetAlphaBlend();
    SetDepthTest(false);
    // Where the outline crosses an edge of the map, the rest shows at the other side.
    for (int dx = -1; dx <= 1; ++dx) {
        for (int dy = -1; dy <= 1; ++dy) {
            const Vector2 shift(float(dx) * MapWidth(), float(dy) * MapHeight());
            if (b.highX + shift.x < float(mapRect.left) || b.lowX + shift.x > float(mapRect.right + 1)) continue;
            if (b.highY + shift.y < float(mapRect.top) || b.lowY + shift.y > float(mapRect.bottom + 1)) continue;
            DrawViewQuad(corners, shift);
        }
    }
    SetDepthTest(true);
    UseScreenCamera();
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
    renderer.SetAlphaBlend();
    if (cameraButtons != nullptr) renderer.DrawSpriteGrid(*cameraButtons, true);
    renderer.SetBlendOff();
}

Vector2 MiniMap::FractionsAt(const Point& point) const {
    return Vector2(float(point.x - mapRect.left) / MapWidth(), 1.0f - float(point.y - mapRect.top) / MapHeight());
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
        if (cameraButtons == nullptr) return false;
        cameraButtons->Press(point);
        if (cameraButtons->pressed < 0) return false;
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
        if (cameraButtons != nullptr && cameraButtons->pressed >= 0) {
            GetWindowManager().RemoveFromFocusOrder(this);
            const int32_t released = cameraButtons->Release(point);
            if (released >= 0) {
                GetArenaWindow().PostEventInt(kEventSetCameraMode, released);
                PlayUiSound("MouseUp.ogg");
            }
        }
        GetMouse().ShowCursor();
        return true;
    }
    if (input.kind == kInputWheel) {
        ArenaWindow& battlefield = GetArenaWindow();
        battlefield.CurrentCamera().HandleInput(battlefield, input);
        return true;
    }
    return IsCameraInput(input, GetMouse());
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

void MiniMap::HitTestControls(const Point& point) {
    if (cameraButtons != nullptr && GetMouse().mode == Mouse::kModeNothing) cameraButtons->UpdateHover(point);
    Window::HitTestControls(point);
}

void MiniMap::GetToolTip() {
    const int32_t hovered = cameraButtons != nullptr ? cameraButtons->hovered : SpriteGrid::kNoItem;
    if (hovered < 0 || hovered >= kButtonCount || !cameraButtons->IsShown(hovered)) {
        Window::GetToolTip();
        return;
    }
    ::GetToolTip().SetForItem(GetLanguageText(kButtonNames[hovered]), *cameraButtons, *cameraButtons->sprites[hovered]);
}

void MiniMap::GetHighlightShape(const HighlightRequest& request, Highlighter& highlighter) {
    StringArray words;
    request.name.Split(words, ' ');
    if (request.kind != 1 || words.IsEmpty()) {
        Window::GetHighlightShape(request, highlighter);
        return;
    }
    if (words.Count() == 1 && words[0].EqualsNoCase("MiniMap")) {
        highlighter.AddIntRect(mapRect, kMarkPulse);
        return;
    }
    for (int32_t i = 0; words.Count() == 1 && cameraButtons != nullptr && i < kButtonCount; ++i) {
        if (!words[0].EqualsNoCase(kButtonNames[i]) || !cameraButtons->IsShown(i)) continue;
        highlighter.AddWindowShape(*cameraButtons, *cameraButtons->sprites[i]);
        return;
    }
    if (!MarkArenaObject(words, highlighter)) Window::GetHighlightShape(request, highlighter);
}

bool MiniMap::MarkArenaObject(const StringArray& words, Highlighter& highlighter) {
    if (gArena == nullptr) return false;
    const float width = gArena->WorldWidth();
    const Vector3 centre(width * 0.5f, gArena->WorldHeight() * 0.5f, 0.0f);
    const float pixelsPerUnit = MapWidth() / width;
    if (words[0].EqualsNoCase("Circle") && words.Count() == 4) {
        const Vector3 at = gArena->NearestImage(centre, Vector3(words[1].ToFloat(), words[2].ToFloat(), 0.0f));
        highlighter.AddCircleAt(MapPixelOf(at), words[3].ToFloat() * pixelsPerUnit, kMarkPulse);
        return true;
    }
    MarkRequest mark;
    if (!MarkRequest::Read(words, mark)) return false;
    Vector3 image;
    const WorldObject* found =
        mark.Find(*gArena, centre, ArenaWindow::FriendlyPlayer(), ArenaWindow::EnemyPlayer(), image);
    if (found == nullptr) return false;
    highlighter.AddCircleAt(MapPixelOf(found->position), found->GetRadius() * pixelsPerUnit * kObjectMarkScale,
                            kMarkPulse);
    return true;
}

MiniMap& GetMiniMap() {
    static MiniMap miniMap;
    return miniMap;
}
