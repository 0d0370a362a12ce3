#include "world/TerrainAtlases.h"

#include <algorithm>
#include <array>
#include <vector>

#include "core/Debugger.h"
#include "core/Image.h"
#include "core/Tga.h"
#include "engine/AssetPaths.h"
#include "engine/Renderer.h"
#include "engine/RendererRef.h"
#include "platform/sys/FileSystem.h"

namespace {

struct AtlasSet {
    AtlasSource source = AtlasSource::kNone;
    TextureHandle base = nullptr;
    std::array<TextureHandle, kTerrainTypeCount * kLiquidFrameCount> corners{};
    // Cleared when a restarted renderer has freed the textures, which are made again.
    RendererMark current;
};

AtlasSet gAtlases;

const Color kOpaqueBlack = Color::FromRGBA(0, 0, 0, 255);

// The mask of each corner tile, named by the corners of the tile's type: three corners for
// tiles 0 to 3, two for 4 to 9, one for 10 to 13.
const char* const kMaskDigits[kCornerMaskCount] = {"012", "013", "023", "123", "01", "02", "03",
                                                   "12",  "13",  "23",  "0",   "1",  "2",  "3"};

int32_t CornerSlot(TerrainType type, int32_t frame) { return type * kLiquidFrameCount + frame; }

std::string PathOf(const String& name) { return TexturePath(name).CStr(); }

// The tile a corner atlas of the frame is made from: the liquids' frame, else variant 0.
int32_t SourceVariantOfFrame(TerrainType type, int32_t frame) { return IsAnimatedTerrain(type) ? frame : 0; }

void CopyTile(const Image& tile, Image& atlas, int32_t x, int32_t y) {
    const int32_t w = std::min(tile.Width(), kTerrainTileSide);
    const int32_t h = std::min(tile.Height(), kTerrainTileSide);
    for (int32_t row = 0; row < h; ++row) {
        for (int32_t col = 0; col < w; ++col) atlas.At(x + col, y + row) = tile.At(col, row);
    }
}

// The mask's grey level, scaled by its own alpha, becomes the tile's alpha: white shows
// the type, black lets the base tile below show through.
void CopyMaskedTile(const Image& tile, const Image& mask, Image& atlas, int32_t x, int32_t y) {
    const int32_t w = std::min({tile.Width(), mask.Width(), kTerrainTileSide});
    const int32_t h = std::min({tile.Height(), mask.Height(), kTerrainTileSide});
    for (int32_t row = 0; row < h; ++row) {
        for (int32_t col = 0; col < w; ++col) {
            const Color m = mask.At(col, row);
            Color c = tile.At(col, row);
            c.SetAlpha(uint8_t(uint32_t(m.Red()) * m.Alpha() / 255));
            atlas.At(x + col, y + row) = c;
        }
    }
}

bool ReadSource(const String& name, Image& image) {
    return ReadTgaFile(PathOf(name), image) == TgaReadResult::kOk && !image.IsEmpty();
}

bool AnySourceNewerThan(int64_t atlasTime) {
    auto newer = [atlasTime](const String& name) {
        const std::optional<int64_t> time = sys::LastWriteTime(PathOf(name));
        return time.has_value() && *time > atlasTime;
    };
    for (TerrainType type = 0; type < kTerrainTypeCount; ++type) {
        for (int32_t v = 0; v < kTileVariantSlots; ++v) {
            if (newer(BaseTileSourceName(type, v))) return true;
        }
    }
    for (int32_t n = 0; n < kCornerMaskCount; ++n) {
        if (newer(CornerMaskName(n))) return true;
    }
    return false;
}

bool CacheIsCurrent() {
    const std::optional<int64_t> atlasTime = sys::LastWriteTime(PathOf(kBaseAtlasName));
    return atlasTime.has_value() && !AnySourceNewerThan(*atlasTime);
}

bool LoadCachedAtlases(Image& base, std::vector<Image>& corners) {
    if (!ReadSource(kBaseAtlasName, base)) return false;
    for (TerrainType type = 0; type < kTerrainTypeCount; ++type) {
        for (int32_t f = 0; f < CornerAtlasFrameCount(type); ++f) {
            if (!ReadSource(CornerAtlasName(type, f), corners[size_t(CornerSlot(type, f))])) return false;
        }
    }
    return true;
}

void WriteAtlas(const Image& image, const String& name) {
    if (image.SaveTGA(PathOf(name))) return;
    Debugger::Instance().Line("Terrain atlas \"" + PathOf(name) + "\" not written; used from memory");
}

void WriteAtlases(const Image& base, const std::vector<Image>& corners) {
    WriteAtlas(base, kBaseAtlasName);
    for (TerrainType type = 0; type < kTerrainTypeCount; ++type) {
        for (int32_t f = 0; f < CornerAtlasFrameCount(type); ++f) {
            WriteAtlas(corners[size_t(CornerSlot(type, f))], CornerAtlasName(type, f));
        }
    }
}

}  // namespace

bool IsAnimatedTerrain(TerrainType type) {
    return type == kTerrainSwamp || type == kTerrainWater || type == kTerrainLava;
}

int32_t CornerAtlasFrameCount(TerrainType type) { return IsAnimatedTerrain(type) ? kLiquidFrameCount : 1; }

String BaseTileSourceName(TerrainType type, int32_t variant) {
    return String(GetTerrainTypeInfo(type).name) + "Tile" + String::FromInt(variant) + ".tga";
}

String CornerMaskName(int32_t cornerTile) { return String("Tile") + kMaskDigits[cornerTile] + ".tga"; }

String CornerAtlasName(TerrainType type, int32_t frame) {
    return String(GetTerrainTypeInfo(type).name) + "CornerTiles" + String::FromInt(frame) + ".tga";
}

Rect AtlasTileCoords(int32_t tile, int32_t tilesPerRow, int32_t atlasSide) {
    const float c = float(tile % tilesPerRow);
    const float r = float(tile / tilesPerRow);
    const float side = float(atlasSide);
    const float t = float(kTerrainTileSide);
    return Rect{(t * c + 1.0f) / side, (t * r + 1.0f) / side, (t * c + t - 1.0f) / side, (t * r + t - 1.0f) / side};
}

void ComposeTerrainAtlases(Image& base, Image* corners) {
    base.Resize(kBaseAtlasSide, kBaseAtlasSide);
    base.Fill(kOpaqueBlack);
    Image tile;
    for (TerrainType type = 0; type < kTerrainTypeCount; ++type) {
        for (int32_t v = 0; v < kTileVariantSlots; ++v) {
            if (!ReadSource(BaseTileSourceName(type, v), tile)) continue;
            const int32_t k = type * kTileVariantSlots + v;
            CopyTile(tile, base, kTerrainTileSide * (k % kBaseAtlasTilesPerRow),
                     kTerrainTileSide * (k / kBaseAtlasTilesPerRow));
        }
    }
    std::vector<Image> masks(kCornerMaskCount);
    for (int32_t n = 0; n < kCornerMaskCount; ++n) ReadSource(CornerMaskName(n), masks[size_t(n)]);
    for (TerrainType type = 0; type < kTerrainTypeCount; ++type) {
        for (int32_t f = 0; f < CornerAtlasFrameCount(type); ++f) {
            Image& atlas = corners[CornerSlot(type, f)];
            atlas.Resize(kCornerAtlasSide, kCornerAtlasSide);
            atlas.Fill(kOpaqueBlack);
            if (!ReadSource(BaseTileSourceName(type, SourceVariantOfFrame(type, f)), tile)) continue;
            for (int32_t n = 0; n < kCornerMaskCount; ++n) {
                if (masks[size_t(n)].IsEmpty()) continue;
                CopyMaskedTile(tile, masks[size_t(n)], atlas, kTerrainTileSide * (n % kCornerAtlasTilesPerRow),
                               kTerrainTileSide * (n / kCornerAtlasTilesPerRow));
            }
        }
    }
}

void EnsureTerrainAtlases() {
    if (gAtlases.source != AtlasSource::kNone && gAtlases.current.IsSet()) return;
    gAtlases = AtlasSet();
    Image base;
    std::vector<Image> corners(kTerrainTypeCount * kLiquidFrameCount);
    if (CacheIsCurrent() && LoadCachedAtlases(base, corners)) {
        gAtlases.source = AtlasSource::kCache;
    } else {
        ComposeTerrainAtlases(base, corners.data());
        WriteAtlases(base, corners);
        gAtlases.source = AtlasSource::kComposed;
    }
    Renderer& renderer = GetRenderer();
    gAtlases.current.Set();
    gAtlases.base = renderer.CreateTextureImage(base, 1);
    for (TerrainType type = 0; type < kTerrainTypeCount; ++type) {
        for (int32_t f = 0; f < CornerAtlasFrameCount(type); ++f) {
            const int32_t slot = CornerSlot(type, f);
            gAtlases.corners[size_t(slot)] = renderer.CreateTextureImage(corners[size_t(slot)], 1);
        }
    }
}

AtlasSource TerrainAtlasSource() { return gAtlases.source; }

void ResetTerrainAtlases() { gAtlases = AtlasSet(); }

TextureHandle GetBaseAtlas() { return gAtlases.base; }

TextureHandle GetCornerAtlas(TerrainType type, int32_t frame) {
    if (!IsValidTerrainType(type)) return nullptr;
    return gAtlases.corners[size_t(CornerSlot(type, std::clamp(frame, 0, CornerAtlasFrameCount(type) - 1)))];
}
