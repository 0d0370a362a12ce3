#pragma once
// The battlefield's ground: a wrapping height field of grid points 10 world units apart,
// each with a height, a ground type, a tile variant, light and an edit mark. Grid point
// (i, j) stands at world (10 i, 10 j); every index wraps, so the last column and row
// connect back to the first.
#include <cstdint>

#include "core/Array.h"
#include "core/Color.h"
#include "core/Matrix4.h"
#include "core/Ray.h"
#include "core/Rect.h"
#include "core/String.h"
#include "core/Vector3.h"
#include "world/TerrainType.h"

class Image;
class Material;
class Player;
class Stream;
class Texture;
struct Point;
class DynamicMesh;

struct TerrainPoint {
    int32_t i = 0;
    int32_t j = 0;
    bool operator==(const TerrainPoint& other) const = default;
};

struct TerrainCell {
    float height = 0.0f;  // within [-25, 25]
    TerrainType type = kTerrainGrass;
    int32_t variant = 0;  // tile variant of the type
    float light = 0.0f;   // smoothed shade, 0..1
    uint8_t mark = 0;     // edit mark of the region operations
    float shade = 0.0f;   // unsmoothed light; the height brush's scratch weight
};

class Terrain {
public:
    static constexpr float kCellSize = 10.0f;
    static constexpr float kMaxHeight = 25.0f;
    static constexpr int32_t kMinSide = 16;
    static constexpr int32_t kMaxSide = 64;
    // Firm neighbours end at most this far apart in height.
    static constexpr float kMaxSlope = 10.0f;
    // CornerTileIndex of a cell that shows no corner tile of a type.
    static constexpr int32_t kNoCornerTile = 14;

    Terrain();
    ~Terrain();
    Terrain(const Terrain&) = delete;
    Terrain& operator=(const Terrain&) = delete;

    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    float WorldWidth() const { return float(width_) * kCellSize; }
    float WorldHeight() const { return float(height_) * kCellSize; }
    const String& Name() const { return name_; }
    void SetName(const String& name) { name_ = name; }
    const Vector3& LightDirection() const { return lightDirection_; }
    void SetLightDirection(const Vector3& direction) { lightDirection_ = direction; }

    // The cell of grid point (i, j), wrapped.
    TerrainCell& CellAt(int32_t i, int32_t j);
    const TerrainCell& CellAt(int32_t i, int32_t j) const;
    TerrainCell& CellAt(const TerrainPoint& p) { return CellAt(p.i, p.j); }
    const TerrainCell& CellAt(const TerrainPoint& p) const { return CellAt(p.i, p.j); }

    // Planar on the two triangles of each cell, split by the alternating diagonal.
    float GetHeight(float x, float y) const;
    // Bilinear between the four surrounding grid points.
    float GetLightAt(float x, float y) const;
    // The type of the grid point nearest the world point.
    TerrainType GetTypeAt(float x, float y) const;
    // The grid point nearest the world point, unwrapped.
    TerrainPoint NearestVertex(const Vector3& point) const;
    // 0 <= x < 10 w and 0 <= y < 10 h.
    bool ContainsPoint(const Vector3& point) const;
    // Starts from lowest 25 and highest -25.
    void GetHeightRange(float& lowest, float& highest) const;

    // The unwrapped grid points whose world position lies within the rectangle (edges
    // included); the corners may come in any order.
    void CellsUnderRect(const Rect& rect, Array<TerrainPoint>& out) const;
    // The unwrapped grid points within the circle (centre x, centre y, radius).
    void CellsUnderCircle(const Vector3& circle, Array<TerrainPoint>& out) const;

    // A random tile variant of the type: 0 to 3 common, 4 to 7 rare.
    static int32_t RandomVariant(TerrainType type);
    // Height 0, the type and a random variant everywhere.
    void Fill(TerrainType type);
    // Each side clamped to 16..64 and rounded down to even; new columns and rows copy
    // the last old ones.
    void Resize(int32_t width, int32_t height);

    // The corner type of the highest tile priority, corners in the order (i, j),
    // (i + 1, j), (i + 1, j + 1), (i, j + 1).
    void DominantCorner(int32_t i, int32_t j, TerrainType& type, int32_t& variant) const;
    // 0..13 for the corner tile of type on cell (i, j); 14 for none.
    int32_t CornerTileIndex(int32_t i, int32_t j, TerrainType type) const;
    // The stored corner tile index of the type on cell (i, j), wrapped.
    int32_t TileIndex(int32_t i, int32_t j, TerrainType type) const;
    void UpdateAllTileIndices();
    void UpdateTileIndicesAround(int32_t i, int32_t j);

    // Height consistency from a point: firm neighbours end at most 10 apart, swamp and
    // water surfaces end flat.
    void Relax(int32_t i, int32_t j);
    void UpdateShading();
    void Relight() { UpdateShading(); }
    float SmoothedShade(int32_t i, int32_t j) const;
    // 3 with the first hit of the ray on the surface, else 0.
    int RayHit(const Ray& ray, Vector3& point) const;

    bool IsMarkBorder(const TerrainPoint& p, bool fourNeighbours) const;
    bool IsMarkBorder(int32_t i, int32_t j, bool fourNeighbours) const;
    // The size and cells of other; the tile indices are recomputed.
    void CopyCells(const Terrain& other);

    // Editing under a rectangle or a circle (centre x, centre y, radius).
    void RaiseRect(const Rect& rect, float amount, bool flat);
    void RaiseCircle(const Vector3& circle, float amount, bool flat);
    void PaintRect(const Rect& rect, TerrainType type);
    void PaintCircle(const Vector3& circle, TerrainType type);
    // Raises or lowers the work list's points, rim first.
    void HeightBrush(float amount, bool flat, const Vector3& circle);
    // Gives the work list's points a type; swamp and water also get one flat level.
    void PaintPoints(TerrainType type);
    // Ten hills, five hollows and three patches of ground on flat grass; the patches
    // take only ground types the local player has unlocked (upgrade kinds 30 to 37), and
    // a patch whose type 32 draws could not find is grass.
    void Randomize();
    void Randomize(const Player& player);
    // Every cell (i, j) takes the old cell (i - dx, j - dy), wrapped.
    void Scroll(int32_t dx, int32_t dy);

    // The text form: "[ < w, h >, " newline, one line of cells per row, then "]".
    Stream& Save(Stream& stream) const;
    enum class LoadResult { kLoaded, kCut, kSizeRefused };
    // Reads the text form (also from network peers); `size` takes the size the text
    // declares. A size outside 16..64 leaves the terrain untouched; a text cut short
    // keeps the cells read and sets the stream's error flag.
    LoadResult Load(Stream& stream, Point& size);
    static void WriteCell(Stream& stream, const TerrainCell& cell);
    // Fills type, variant and height of a cell that arrives as grass at height 0.
    static void ReadCell(Stream& stream, TerrainCell& cell);
    static TerrainType TypeFromLetter(char letter);

    const Array<TerrainPoint>& WorkList() const { return workList_; }

    // --- drawing
    // The tile atlases (once per run) and the meshes.
    void Initialize();
    static void BuildTileAtlases();
    static void EnsureTileAtlases();
    // Recomputes the shading, then makes the base mesh, the type meshes and their
    // materials (once; later calls only reshade).
    void CreateMeshes();
    // Gives the animated types' materials the corner atlas of the frame (0 to 7).
    void SetLiquidFrame(int32_t frame);
    int32_t LiquidFrame() const { return liquidFrame_; }
    // Advances the liquid clock, which runs round every 0.8 seconds, and sets the frame.
    void AnimateLiquids(float seconds);
    // Builds and renders the meshes for the cells the rectangle (world units, unwrapped)
    // covers: the base tiles, then each type's corner tiles blended over them.
    void Draw(const Rect& visible);
    // Fills the decal mesh with the texture laid over the rectangle, following the ground;
    // RenderDecalMesh draws it. mode is the material's colour operation (4 modulates); lit
    // shades the colour by the ground's light. A rectangle without area leaves the mesh
    // empty.
    void DrawDecal(const Rect& rect, Texture* texture, Color colour, bool lit, float angle, float scale,
                   uint32_t mode = 4);
    void RenderDecalMesh();
    // Between these, rendered decals wait in one mesh per texture, mode and world
    // transform, and each mesh goes to the device as one draw at the end, in the order
    // its first decal came: a frame's shadows share a few textures. Decals of different
    // meshes may land over one another in another order, which the black shadows this
    // serves allow (darkening commutes). The decal mesh holds the first mesh's decals.
    void BeginDecalBatch();
    void EndDecalBatch();
    // Fills the image with the map's ground colours and light, rows bottom-up.
    void RenderMiniMapImage(Image& image) const;
    const DynamicMesh* BaseMesh() const { return baseMesh_; }
    const DynamicMesh* TypeMesh(TerrainType type) const;
    const DynamicMesh* DecalMesh() const { return decalMesh_; }

private:
    int32_t Index(int32_t i, int32_t j) const;
    int32_t WrapI(int32_t i) const;
    int32_t WrapJ(int32_t j) const;
    void ComputeTileIndices(int32_t i, int32_t j);
    // Tests the two triangles of cell (ci, cj) when the ray's height between tEnter and
    // tExit meets the cell's height band: true on a hit (bestT); a miss nearer than
    // bestMiss becomes the near-miss candidate.
    bool RayHitCell(const Ray& ray, int32_t ci, int32_t cj, float tEnter, float tExit, float& bestT, float& bestMiss,
                    Vector3& candidate) const;
    // Walks the cells along a direction of unit horizontal length; true with the hit
    // point in candidate.
    bool WalkRay(const Vector3& start, Vector3 direction, float& bestT, float& bestMiss, Vector3& candidate) const;
    // The point and its 8 neighbours are all firm ground.
    bool IsFirmAround(int32_t i, int32_t j) const;
    void PaintFlat(TerrainType type);
    // Decals of a batch that are drawn together.
    struct DecalGroup {
        Texture* texture = nullptr;
        uint32_t mode = 0;
        Matrix4 world;
        DynamicMesh* mesh = nullptr;
    };
    void EnsureDecalMesh();
    void RenderDecals(DynamicMesh& mesh);
    void SetDecalStage(Texture* texture, uint32_t mode);
    // The batch's mesh for decals of the texture and mode under the current world
    // transform; a full one is rendered and emptied first.
    DynamicMesh& BatchMeshFor(Texture* texture, uint32_t mode);
    // Renders the group's decals under the world transform they were made for.
    void RenderDecalGroup(DecalGroup& group);

    int32_t width_ = 0;
    int32_t height_ = 0;
    Array<TerrainCell> cells_;
    Array<int32_t> tileIndices_;
    Array<TerrainPoint> queue_;
    Array<TerrainPoint> workList_;
    Vector3 lightDirection_;
    DynamicMesh* baseMesh_ = nullptr;
    Array<DynamicMesh*> typeMeshes_;
    DynamicMesh* decalMesh_ = nullptr;
    Material* baseMaterial_ = nullptr;
    Array<Material*> typeMaterials_;
    Material* decalMaterial_ = nullptr;
    bool batchingDecals_ = false;
    // The groups of the batch under way come first; their meshes are kept for the next.
    Array<DecalGroup> decalGroups_;
    int32_t usedDecalGroups_ = 0;
    float liquidClock_ = 0.0f;
    int32_t liquidFrame_ = 0;
    String name_;
    // The consistency pass's stack, kept between calls so it does not allocate again.
    Array<TerrainPoint> relaxStack_;
};

// A packed colour of four components, each clamped to [0, 1], times 255, truncated.
Color ColorComponentToByte(float red, float green, float blue, float alpha);

// Sets each component within the tolerance to 0.
void SnapNearZero(Vector3& v);
