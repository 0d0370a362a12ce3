#pragma once
// The ground's tile pictures, composed once per run into atlases that are cached as TGA
// files beside their sources: one base atlas of every type's variants (animation frames
// for the liquids) and per type and frame one atlas of the corner tiles that blend the
// type into its neighbours.
#include <cstdint>

#include "core/Rect.h"
#include "core/String.h"
#include "engine/TextureHandle.h"
#include "world/TerrainType.h"

class Image;

constexpr int32_t kTerrainTileSide = 64;
constexpr int32_t kBaseAtlasSide = 512;
constexpr int32_t kBaseAtlasTilesPerRow = 8;
constexpr int32_t kCornerAtlasSide = 256;
constexpr int32_t kCornerAtlasTilesPerRow = 4;
constexpr int32_t kCornerMaskCount = 14;
constexpr int32_t kLiquidFrameCount = 8;
constexpr int32_t kTileVariantSlots = 8;

// Swamp, water and lava show animation frames where the other types show variants.
bool IsAnimatedTerrain(TerrainType type);
int32_t CornerAtlasFrameCount(TerrainType type);

String BaseTileSourceName(TerrainType type, int32_t variant);
String CornerMaskName(int32_t cornerTile);
String CornerAtlasName(TerrainType type, int32_t frame);
constexpr const char* kBaseAtlasName = "BaseTiles.tga";

// Texture coordinates of a tile (left, top, right, bottom), one texel inside its edges so
// that filtering never reaches the neighbouring tile.
Rect AtlasTileCoords(int32_t tile, int32_t tilesPerRow, int32_t atlasSide);

enum class AtlasSource { kNone, kCache, kComposed };

// Loads the cached atlases when "BaseTiles.tga" is there and no source tile is newer,
// else composes them from the sources and writes them back (a failed write is logged and
// the composed atlases serve this run). Does the work once per run.
void EnsureTerrainAtlases();
AtlasSource TerrainAtlasSource();
// Forgets the atlases, so the next EnsureTerrainAtlases builds them again.
void ResetTerrainAtlases();

TextureHandle GetBaseAtlas();
TextureHandle GetCornerAtlas(TerrainType type, int32_t frame);

// Composes from the source images in the texture folder; a missing source leaves its
// tile opaque black. corners holds 8 x 8 images, frame f of type t at t * 8 + f.
void ComposeTerrainAtlases(Image& base, Image* corners);
