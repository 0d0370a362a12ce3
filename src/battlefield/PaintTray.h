#pragma once
// The terrain painter's tray: brush size, shape and edge, and what the brush paints (a
// ground type or a height change), plus the whole-terrain actions. The battlefield window
// paints with the chosen brush; while the tray is open the other screens are put away.
#include <cstdint>

#include "core/Array.h"
#include "core/Image.h"
#include "engine/TextureHandle.h"
#include "ui/Tray.h"
#include "world/TerrainBrush.h"

class PaintTray : public Tray {
public:
    static constexpr int32_t kToolCount = 24;
    enum BrushSize : int32_t { kLarge = 0, kMedium = 1, kSmall = 2, kTiny = 3 };
    static constexpr int32_t kFirstHeightMode = 8;

    PaintTray();

    void CreateResources() override;
    void ReleaseResources() override;
    void OnOpen() override;
    void OnClose() override;
    void DrawEntry(int32_t entry, const IntRect& rect, bool hovered) override;
    String EntryName(int32_t entry) const override;
    String EntryToolTip(int32_t entry, const IntRect& rect) const override;
    bool IsEntryShown(int32_t entry) const override;
    int32_t EntryCount() const override { return kToolCount; }
    void HandleCommand(Event& event) override;

    // The radius of a brush size, the size clamped to the four sizes.
    static float BrushRadius(int32_t size);
    void SetBrushSize(int32_t size);
    // The tool's choice, as picking it does; false for a name that is no tool.
    bool PickTool(const String& toolName);
    // The brush a new player starts with, which every lesson starts from too.
    void ResetToDefaults();
    // The ground "Clear" lays: the chosen ground, or grass while a height tool is chosen.
    int32_t ClearGround() const;
    // The question before clearing, naming the ground it lays.
    static String ClearQuestion(int32_t ground);

    // Tool, shape, radius and edge as the arena applies them.
    TerrainBrush brush;
    int32_t brushSize = kMedium;
    Array<Window*> closedWindows;

private:
    bool IsToolLit(int32_t tool) const;
    void BuildImages();
    bool imagesBuilt_ = false;
    Sprite* sprites_[kToolCount] = {};
    Image litImages_[kToolCount];
    Image unlitImages_[kToolCount];
    TextureHandle litTextures_[kToolCount] = {};
    TextureHandle unlitTextures_[kToolCount] = {};
    int8_t shownLit_[kToolCount] = {};
};

PaintTray& GetPaintTray();
