// The terrain painter's tray.
#include "battlefield/PaintTray.h"

#include <algorithm>
#include <iterator>

#include "battlefield/ArenaWindow.h"
#include "battlefield/DebugWindow.h"
#include "battlefield/MiniMap.h"
#include "battlefield/UpgradeOffer.h"
#include "core/FileHelpers.h"
#include "core/IconColors.h"
#include "core/TextTable.h"
#include "engine/AssetPaths.h"
#include "engine/Renderer.h"
#include "engine/Sprite.h"
#include "game/Event.h"
#include "ui/ConfirmClearTerrainMenu.h"
#include "ui/ConfirmRandomizeTerrainMenu.h"
#include "ui/UiServices.h"
#include "ui/WindowManager.h"
#include "ui/WindowTray.h"
#include "world/Arena.h"
#include "world/TerrainType.h"

namespace {

constexpr int32_t kCell = 32;
constexpr float kBrushRadii[] = {30.0f, 20.0f, 10.0f, 5.0f};
constexpr int32_t kSizeCount = int32_t(sizeof(kBrushRadii) / sizeof(kBrushRadii[0]));
constexpr int32_t kTerrainStep = 2;

struct Tool {
    const char* name;
    const char* image;
};

const Tool kTools[PaintTray::kToolCount] = {
    {"LargeBrush", "PaintTrayBrushLarge.tga"},
    {"MediumBrush", "PaintTrayBrushMedium.tga"},
    {"SmallBrush", "PaintTrayBrushSmall.tga"},
    {"TinyBrush", "PaintTrayBrushTiny.tga"},
    {"Circle", "PaintTrayCircle.tga"},
    {"Square", "PaintTraySquare.tga"},
    {"Rounded", "PaintTrayRounded.tga"},
    {"Plateau", "PaintTrayPlateau.tga"},
    {"Grass", "PaintTrayGrass.tga"},
    {"Dirt", "PaintTrayDirt.tga"},
    {"Stone", "PaintTrayStone.tga"},
    {"Swamp", "PaintTraySwamp.tga"},
    {"Water", "PaintTrayWater.tga"},
    {"Sand", "PaintTraySand.tga"},
    {"Snow", "PaintTraySnow.tga"},
    {"Lava", "PaintTrayLava.tga"},
    {"RaiseFast", "PaintTrayLargeUp.tga"},
    {"LowerFast", "PaintTrayLargeDown.tga"},
    {"RaiseSlow", "PaintTraySmallUp.tga"},
    {"LowerSlow", "PaintTraySmallDown.tga"},
    {"Grow", "PaintTrayExpand.tga"},
    {"Shrink", "PaintTrayShrink.tga"},
    {"Randomize", "PaintTrayRandomize.tga"},
    {"Clear", "PaintTrayClear.tga"},
};

enum ToolGroup : int32_t { kSizeTools = 0, kShapeTools = 4, kEdgeTools = 6, kModeTools = 8, kActionTools = 20 };

void OpenInFront(Window& window) {
    GetWindowManager().OpenWindow(&window);
    GetWindowManager().BringToFront(&window);
}

}  // namespace

PaintTray::PaintTray() : Tray("PaintTray", 8, 3, Point(kCell, kCell), 1.5f, true, false) {
    ResetToDefaults();
    Initialize();
}

void PaintTray::ResetToDefaults() {
    brush.tool = 1;
    brush.shape = 1;
    brush.flat = false;
    SetBrushSize(kMedium);
}

float PaintTray::BrushRadius(int32_t size) { return kBrushRadii[std::clamp(size, 0, kSizeCount - 1)]; }

void PaintTray::SetBrushSize(int32_t size) {
    brushSize = std::clamp(size, 0, kSizeCount - 1);
    brush.radius = BrushRadius(brushSize);
}

void PaintTray::CreateResources() {
    Tray::CreateResources();
    for (int32_t i = 0; i < kToolCount; ++i) {
        sprites_[i] = CreateUiSprite(kCell, kCell, kTools[i].image, Sprite::kAnchorTopLeft);
    }
}

void PaintTray::ReleaseResources() {
    std::fill(std::begin(sprites_), std::end(sprites_), nullptr);
    std::fill(std::begin(litTextures_), std::end(litTextures_), nullptr);
    std::fill(std::begin(unlitTextures_), std::end(unlitTextures_), nullptr);
    imagesBuilt_ = false;
    Tray::ReleaseResources();
}

void PaintTray::BuildImages() {
    imagesBuilt_ = true;
    for (int32_t i = 0; i < kToolCount; ++i) {
        const String path = TexturePath(kTools[i].image);
        if (sprites_[i] == nullptr || sprites_[i]->quad == nullptr || !FileExists(path)) continue;
        GetRenderer().LoadImageFile(litImages_[i], path);
        unlitImages_[i] = litImages_[i];
        ClearGreyOuterPixels(unlitImages_[i]);
        litTextures_[i] = GetRenderer().CreateTextureImage(litImages_[i], 1);
        unlitTextures_[i] = GetRenderer().CreateTextureImage(unlitImages_[i], 1);
        shownLit_[i] = 1;
    }
}

void PaintTray::OnOpen() {
    EnsureResources();
    if (!imagesBuilt_) BuildImages();
    WindowManager& manager = GetWindowManager();
    const Window* kept[] = {this, &GetMiniMap(), &GetArenaWindow(), manager.FindWindowByName("TextBox")};
    closedWindows.Clear();
    const Array<Window*> open = manager.OpenWindows();
    for (Window* window : open) {
        if (std::find(std::begin(kept), std::end(kept), window) != std::end(kept)) continue;
        closedWindows.Append(window);
        manager.CloseWindow(window);
    }
    WindowTray& windowTray = GetWindowTray();
    windowTray.allowed.AddUnique(this);
    windowTray.allowed.AddUnique(&GetMiniMap());
    // No stroke outlives the tray: a button still held from before paints nothing.
    GetArenaWindow().painting = false;
    Tray::OnOpen();
}

void PaintTray::OnClose() {
    WindowManager& manager = GetWindowManager();
    for (Window* window : closedWindows) {
        if (window != &GetDebugWindow()) manager.OpenWindow(window);
    }
    closedWindows.Clear();
    GetWindowTray().allowed.Clear();
    GetArenaWindow().painting = false;
    GetMiniMap().UpdateTerrainImage();
    ResetVornActionQueues();
    Tray::OnClose();
}

bool PaintTray::IsToolLit(int32_t tool) const {
    if (tool < kShapeTools) return tool - kSizeTools == brushSize;
    if (tool < kEdgeTools) return tool - kShapeTools == (brush.shape != 0 ? 1 : 0);
    if (tool < kModeTools) return tool - kEdgeTools == (brush.flat ? 1 : 0);
    if (tool < kActionTools) return tool - kModeTools == brush.tool;
    return true;
}

void PaintTray::DrawEntry(int32_t entry, const IntRect& rect, bool) {
    if (entry < 0 || entry >= kToolCount || sprites_[entry] == nullptr) return;
    Sprite& sprite = *sprites_[entry];
    const bool lit = IsToolLit(entry);
    if (shownLit_[entry] != int8_t(lit) && litTextures_[entry] != nullptr) {
        sprite.SetTexture(lit ? litTextures_[entry] : unlitTextures_[entry]);
        shownLit_[entry] = int8_t(lit);
    }
    sprite.x = rect.left;
    sprite.y = rect.top;
    sprite.width = rect.right - rect.left;
    sprite.height = rect.bottom - rect.top;
    UseScreenCamera();
    GetRenderer().SetAlphaBlend();
    GetRenderer().DrawSprite(sprite);
    GetRenderer().SetBlendOff();
}

String PaintTray::EntryName(int32_t entry) const {
    return entry >= 0 && entry < kToolCount ? String(kTools[entry].name) : String();
}

String PaintTray::EntryToolTip(int32_t entry, const IntRect&) const { return GetLanguageText(EntryName(entry)); }

bool PaintTray::IsEntryShown(int32_t entry) const {
    // The catalogue keys each tool by its name and "Paint".
    return entry >= 0 && entry < kToolCount && IsUpgradeOffered((String(kTools[entry].name) + "Paint").CStr());
}

bool PaintTray::PickTool(const String& toolName) {
    int32_t tool = -1;
    for (int32_t i = 0; i < kToolCount && tool < 0; ++i) {
        if (toolName == kTools[i].name) tool = i;
    }
    if (tool < 0) return false;
    if (tool < kShapeTools) {
        SetBrushSize(tool);
    } else if (tool < kEdgeTools) {
        brush.shape = tool - kShapeTools;
    } else if (tool < kModeTools) {
        brush.flat = tool - kEdgeTools == 1;
    } else if (tool < kActionTools) {
        brush.tool = tool - kModeTools;
    } else if (tool == kActionTools && gArena != nullptr) {
        gArena->GrowOrShrinkTerrain(kTerrainStep);
    } else if (tool == kActionTools + 1 && gArena != nullptr) {
        gArena->GrowOrShrinkTerrain(-kTerrainStep);
    } else if (tool == kActionTools + 2) {
        PostEvent(kEventConfirmRandomizeMap);
    } else if (tool == kActionTools + 3) {
        PostEvent(kEventConfirmClearMap);
    }
    return true;
}

void PaintTray::HandleCommand(Event& event) {
    switch (event.type) {
        case kEventPickTrayEntry: PickTool(event.text); return;
        case kEventGrabTrayEntry:
        case kEventEditTrayEntry:
        case kEventDeleteTrayEntry: return;
        case kEventRandomizeMap:
            if (gArena != nullptr) gArena->RandomizeTerrain();
            return;
        case kEventConfirmRandomizeMap: OpenInFront(GetConfirmRandomizeTerrainMenu()); return;
        case kEventClearMap:
            if (gArena != nullptr) gArena->FillTerrain(ClearGround());
            return;
        case kEventConfirmClearMap: {
            ConfirmClearTerrainMenu& menu = GetConfirmClearTerrainMenu();
            menu.title = ClearQuestion(ClearGround());
            OpenInFront(menu);
            return;
        }
        default: Tray::HandleCommand(event);
    }
}

int32_t PaintTray::ClearGround() const { return brush.tool < kFirstHeightMode ? brush.tool : kTerrainGrass; }

namespace {

// One question a ground, so that each reads as it should; indexed by the ground's type.
struct ClearQuestionKey {
    TerrainType ground;
    const char* key;
};
constexpr ClearQuestionKey kClearQuestions[] = {
    {kTerrainGrass, "ClearToGrass?"}, {kTerrainDirt, "ClearToDirt?"},   {kTerrainStone, "ClearToStone?"},
    {kTerrainSwamp, "ClearToSwamp?"}, {kTerrainWater, "ClearToWater?"}, {kTerrainSand, "ClearToSand?"},
    {kTerrainSnow, "ClearToSnow?"},   {kTerrainLava, "ClearToLava?"},
};

constexpr bool OneQuestionPerGroundInTypeOrder() {
    if (std::size(kClearQuestions) != size_t(kTerrainTypeCount)) return false;
    for (size_t i = 0; i < std::size(kClearQuestions); ++i) {
        if (kClearQuestions[i].ground != TerrainType(i)) return false;
    }
    return true;
}
static_assert(OneQuestionPerGroundInTypeOrder(), "a clear question for each ground type, in the types' order");

}  // namespace

String PaintTray::ClearQuestion(int32_t ground) {
    const bool known = ground >= 0 && ground < kTerrainTypeCount;
    return GetLanguageText(known ? kClearQuestions[ground].key : "ClearTerrain?");
}

PaintTray& GetPaintTray() {
    static PaintTray tray;
    return tray;
}
