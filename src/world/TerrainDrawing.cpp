// The terrain's drawing: meshes of the visible cells rebuilt each frame, decals laid over
// the ground and the mini-map picture.
#include <algorithm>
#include <cmath>
#include <limits>

#include "core/Image.h"
#include "core/Vector2.h"
#include "engine/DynamicMesh.h"
#include "engine/Material.h"
#include "engine/Renderer.h"
#include "platform/gfx/States.h"
#include "world/Terrain.h"
#include "world/TerrainAtlases.h"

namespace {

// Starting sizes; the meshes grow with the view.
constexpr int kTerrainMeshVertices = 2500;
constexpr int kTerrainMeshFaces = 1250;
constexpr int kBaseMeshPositions = 676;
constexpr int kDecalMeshPositions = 121;
constexpr int kDecalMeshVertices = 400;
constexpr int kDecalMeshFaces = 200;
// A batch of decals is rendered once it holds this many vertices, which keeps the
// mesh's buffers small.
constexpr int kDecalBatchVertices = 4096;

constexpr float kLiquidFrameSeconds = 0.1f;
constexpr float kLiquidCycleSeconds = kLiquidFrameSeconds * kLiquidFrameCount;
// A decal narrower than this has no texture coordinates.
constexpr float kDecalTolerance = 1e-4f;
// Decals lie this far above the ground they follow. The terrain's triangles and a
// decal's are the same, but the two draws need not give the same depth to the last bit
// (different vertex layouts take different paths through the pipeline), and on a
// slope seen at a glancing angle the ground then wins in stripes and triangles.
constexpr float kDecalLift = 0.05f;
// No rectangle covers more than this many copies of the map per axis.
constexpr int32_t kMaxMapCopies = 3;

constexpr Color kMiniMapColours[kTerrainTypeCount] = {
    Color::FromRGBA(0, 128, 0, 255),     Color::FromRGBA(100, 50, 0, 255), Color::FromRGBA(140, 140, 140, 255),
    Color::FromRGBA(0, 57, 0, 255),      Color::FromRGBA(0, 0, 137, 255),  Color::FromRGBA(175, 138, 94, 255),
    Color::FromRGBA(220, 220, 220, 255), Color::FromRGBA(255, 0, 0, 255),
};

// Saturating, with a non-finite value giving 0.
int32_t ToCellIndex(double v) {
    if (!std::isfinite(v)) return 0;
    constexpr double kLimit = 1 << 24;
    return int32_t(std::clamp(v, -kLimit, kLimit));
}

int32_t FloorCell(float coordinate) { return ToCellIndex(std::floor(double(coordinate) / Terrain::kCellSize)); }

int32_t CeilCell(float coordinate) { return ToCellIndex(std::ceil(double(coordinate) / Terrain::kCellSize)); }

struct CellSpan {
    int32_t first = 0;
    int32_t last = 0;  // inclusive
};

// Cells and grid points alike run from the floor of the near edge to the ceiling of the
// far one, so the cell reaching past the far edge is drawn too.
CellSpan SpanOf(float from, float to, int32_t side) {
    CellSpan span{FloorCell(from), CeilCell(to)};
    span.last = std::clamp(span.last, span.first, span.first + kMaxMapCopies * side);
    return span;
}

Color GreyOfLight(float light) {
    const long grey = std::lround(std::clamp(light, 0.0f, 1.0f) * 255.0f);
    return Color::FromRGBA(uint8_t(grey), uint8_t(grey), uint8_t(grey), 255);
}

Color ScaledByLight(Color colour, float light) {
    const float l = std::clamp(light, 0.0f, 1.0f);
    auto scale = [l](uint8_t c) { return uint8_t(std::lround(float(c) * l)); };
    return Color::FromRGBA(scale(colour.Red()), scale(colour.Green()), scale(colour.Blue()), colour.Alpha());
}

void EmptyMesh(DynamicMesh& mesh) {
    mesh.positions.Clear();
    mesh.vertices.Clear();
    mesh.faces.Clear();
}

int AddVertex(DynamicMesh& mesh, const Vector3& position, Color colour, const Vector2& uv) {
    MeshVertex vertex;
    vertex.position = &mesh.positions[mesh.AddPosition(position)];
    vertex.normal = Vector3(0, 0, 1);
    vertex.color = colour;
    vertex.texCoords.Append(uv);
    return mesh.AddVertex(vertex);
}

void AddTriangle(DynamicMesh& mesh, int a, int b, int c) {
    MeshFace face;
    face.material = mesh.material;
    face.corners[0] = &mesh.vertices[a];
    face.corners[1] = &mesh.vertices[b];
    face.corners[2] = &mesh.vertices[c];
    mesh.AddFace(face);
}

// The two triangles of cell (i, j) over its corners (i, j), (i + 1, j), (i + 1, j + 1),
// (i, j + 1), split as the height is: along (i, j)-(i + 1, j + 1) on even cells. Wound
// clockwise seen from above, as every ground face is.
void AddCellTriangles(DynamicMesh& mesh, int first, int32_t i, int32_t j) {
    const int c0 = first, c1 = first + 1, c2 = first + 2, c3 = first + 3;
    if ((i + j) % 2 == 0) {
        AddTriangle(mesh, c0, c2, c1);
        AddTriangle(mesh, c0, c3, c2);
        return;
    }
    AddTriangle(mesh, c1, c0, c3);
    AddTriangle(mesh, c1, c3, c2);
}

Material* MakeTileMaterial(TextureHandle atlas) {
    Material* material = GetRenderer().CreateMaterial();
    material->diffuse = material->ambient = {1.0f, 1.0f, 1.0f, 1.0f};
    TextureStageSettings stage(atlas);
    stage.addressU = stage.addressV = uint32_t(gfx::Address::Clamp);
    stage.alphaOp = 4;    // modulate: the corner tiles' alpha blends them over the base
    stage.alphaArg2 = 0;  // diffuse (the vertex colour)
    stage.colorArg2 = 0;
    material->stages.Append(stage);
    return material;
}

DynamicMesh* MakeMesh(int positions, int vertices, int faces, Material* material) {
    DynamicMesh* mesh = GetRenderer().CreateDynamicMesh(positions, vertices, faces);
    mesh->material = material;
    mesh->hasColors = 1;
    mesh->texCoordSetCount = 1;
    return mesh;
}

void UploadAndRender(DynamicMesh& mesh) {
    Renderer& renderer = GetRenderer();
    if (mesh.faces.IsEmpty()) return;
    if (mesh.HasBuffers()) {
        renderer.UpdateDynamicMeshBuffers(&mesh);
    } else {
        renderer.CreateDynamicMeshBuffers(&mesh);
    }
    renderer.RenderDynamicMesh(&mesh);
}

}  // namespace

Color ColorComponentToByte(float red, float green, float blue, float alpha) {
    auto byte = [](float c) { return uint8_t(std::isfinite(c) ? std::clamp(c, 0.0f, 1.0f) * 255.0f : 0.0f); };
    return Color::FromRGBA(byte(red), byte(green), byte(blue), byte(alpha));
}

void Terrain::Initialize() {
    EnsureTileAtlases();
    CreateMeshes();
}

void Terrain::BuildTileAtlases() { EnsureTerrainAtlases(); }

void Terrain::EnsureTileAtlases() { EnsureTerrainAtlases(); }

void Terrain::CreateMeshes() {
    UpdateShading();
    if (baseMesh_ != nullptr) return;
    baseMaterial_ = MakeTileMaterial(GetBaseAtlas());
    baseMesh_ = MakeMesh(kBaseMeshPositions, kTerrainMeshVertices, kTerrainMeshFaces, baseMaterial_);
    typeMaterials_.Clear();
    typeMeshes_.Clear();
    for (TerrainType type = 0; type < kTerrainTypeCount; ++type) {
        typeMaterials_.Append(MakeTileMaterial(GetCornerAtlas(type, 0)));
        typeMeshes_.Append(
            MakeMesh(kTerrainMeshVertices, kTerrainMeshVertices, kTerrainMeshFaces, typeMaterials_[type]));
    }
}

const DynamicMesh* Terrain::TypeMesh(TerrainType type) const {
    return IsValidTerrainType(type) && type < typeMeshes_.Count() ? typeMeshes_[type] : nullptr;
}

void Terrain::SetLiquidFrame(int32_t frame) {
    liquidFrame_ = std::clamp(frame, 0, kLiquidFrameCount - 1);
    if (typeMaterials_.Count() < kTerrainTypeCount) return;
    for (TerrainType type = 0; type < kTerrainTypeCount; ++type) {
        if (!IsAnimatedTerrain(type)) continue;
        typeMaterials_[type]->stages[0].texture = GetCornerAtlas(type, liquidFrame_);
    }
}

void Terrain::AnimateLiquids(float seconds) {
    if (std::isfinite(seconds)) liquidClock_ += seconds;
    liquidClock_ -= std::floor(liquidClock_ / kLiquidCycleSeconds) * kLiquidCycleSeconds;
    if (!(liquidClock_ >= 0.0f && liquidClock_ < kLiquidCycleSeconds)) liquidClock_ = 0.0f;
    SetLiquidFrame(int32_t(liquidClock_ / kLiquidFrameSeconds));
}

void Terrain::Draw(const Rect& visible) {
    if (baseMesh_ == nullptr) CreateMeshes();
    EmptyMesh(*baseMesh_);
    for (DynamicMesh* mesh : typeMeshes_) EmptyMesh(*mesh);
    const CellSpan columns = SpanOf(visible.left, visible.right, width_);
    const CellSpan rows = SpanOf(visible.top, visible.bottom, height_);
    for (int32_t j = rows.first; j <= rows.last; ++j) {
        for (int32_t i = columns.first; i <= columns.last; ++i) {
            const int32_t corners[4][2] = {{i, j}, {i + 1, j}, {i + 1, j + 1}, {i, j + 1}};
            Vector3 points[4];
            Color colours[4];
            for (int k = 0; k < 4; ++k) {
                const TerrainCell& cell = CellAt(corners[k][0], corners[k][1]);
                points[k] = Vector3(float(corners[k][0]) * kCellSize, float(corners[k][1]) * kCellSize, cell.height);
                colours[k] = GreyOfLight(cell.light);
            }
            auto addQuad = [&](DynamicMesh& mesh, const Rect& tile) {
                const Vector2 uv[4] = {
                    {tile.left, tile.bottom}, {tile.right, tile.bottom}, {tile.right, tile.top}, {tile.left, tile.top}};
                const int first = mesh.vertices.Count();
                for (int k = 0; k < 4; ++k) AddVertex(mesh, points[k], colours[k], uv[k]);
                AddCellTriangles(mesh, first, i, j);
            };
            TerrainType type = kTerrainGrass;
            int32_t variant = 0;
            DominantCorner(i, j, type, variant);
            if (IsAnimatedTerrain(type)) variant = liquidFrame_;
            const int32_t tile = type * kTileVariantSlots + std::clamp(variant, 0, kTileVariantSlots - 1);
            addQuad(*baseMesh_, AtlasTileCoords(tile, kBaseAtlasTilesPerRow, kBaseAtlasSide));
            for (TerrainType t = 0; t < kTerrainTypeCount; ++t) {
                const int32_t n = TileIndex(i, j, t);
                if (n < 0 || n >= kNoCornerTile) continue;
                addQuad(*typeMeshes_[t], AtlasTileCoords(n, kCornerAtlasTilesPerRow, kCornerAtlasSide));
            }
        }
    }
    Renderer& renderer = GetRenderer();
    renderer.SetBlendOff();
    UploadAndRender(*baseMesh_);
    renderer.SetAlphaBlend();
    for (DynamicMesh* mesh : typeMeshes_) UploadAndRender(*mesh);
}

void Terrain::EnsureDecalMesh() {
    if (decalMesh_ != nullptr) return;
    decalMaterial_ = GetRenderer().CreateMaterial();
    decalMaterial_->diffuse = decalMaterial_->ambient = {1.0f, 1.0f, 1.0f, 1.0f};
    decalMaterial_->stages.Append(TextureStageSettings());
    decalMesh_ = MakeMesh(kDecalMeshPositions, kDecalMeshVertices, kDecalMeshFaces, decalMaterial_);
}

void Terrain::SetDecalStage(Texture* texture, uint32_t mode) {
    TextureStageSettings& stage = decalMaterial_->stages[0];
    stage.texture = texture;
    stage.colorOp = mode;
    stage.colorArg2 = 0;  // diffuse (the vertex colour)
    stage.alphaOp = 4;
    stage.alphaArg2 = 0;
    stage.addressU = stage.addressV = uint32_t(gfx::Address::Border);
}

DynamicMesh& Terrain::BatchMeshFor(Texture* texture, uint32_t mode) {
    const Matrix4& world = GetRenderer().GetWorldTransform();
    for (int32_t g = 0; g < usedDecalGroups_; ++g) {
        DecalGroup& group = decalGroups_[g];
        if (group.texture != texture || group.mode != mode || !(group.world == world)) continue;
        if (group.mesh->vertices.Count() >= kDecalBatchVertices) RenderDecalGroup(group);
        return *group.mesh;
    }
    if (usedDecalGroups_ == decalGroups_.Count()) {
        DecalGroup fresh;
        fresh.mesh = usedDecalGroups_ == 0
                         ? decalMesh_
                         : MakeMesh(kDecalMeshPositions, kDecalMeshVertices, kDecalMeshFaces, decalMaterial_);
        decalGroups_.Append(fresh);
    }
    DecalGroup& group = decalGroups_[usedDecalGroups_++];
    group.texture = texture;
    group.mode = mode;
    group.world = world;
    EmptyMesh(*group.mesh);
    return *group.mesh;
}

void Terrain::DrawDecal(const Rect& rect, Texture* texture, Color colour, bool lit, float angle, float scale,
                        uint32_t mode) {
    EnsureDecalMesh();
    DynamicMesh* mesh = decalMesh_;
    if (batchingDecals_) {
        mesh = &BatchMeshFor(texture, mode);
    } else {
        SetDecalStage(texture, mode);
        EmptyMesh(*decalMesh_);
    }
    const float x1 = rect.left, y1 = rect.top, x2 = rect.right, y2 = rect.bottom;
    if (!(x2 - x1 > kDecalTolerance) || !(y2 - y1 > kDecalTolerance)) return;
    const int first = mesh->vertices.Count();
    const CellSpan columns = SpanOf(x1, x2, width_);
    const CellSpan rows = SpanOf(y1, y2, height_);
    const float cosA = std::cos(angle), sinA = std::sin(angle);
    for (int32_t j = rows.first; j <= rows.last; ++j) {
        for (int32_t i = columns.first; i <= columns.last; ++i) {
            const float x = float(i) * kCellSize, y = float(j) * kCellSize;
            Vector2 uv((x - x1) / (x2 - x1), 1.0f - (y - y1) / (y2 - y1));
            if (scale != 1.0f) uv = Vector2(scale * (uv.x - 0.5f) + 0.5f, scale * (uv.y - 0.5f) + 0.5f);
            if (angle != 0.0f) {
                const float du = uv.x - 0.5f, dv = uv.y - 0.5f;
                uv = Vector2(cosA * du - sinA * dv + 0.5f, sinA * du + cosA * dv + 0.5f);
            }
            const TerrainCell& cell = CellAt(i, j);
            AddVertex(*mesh, Vector3(x, y, cell.height + kDecalLift), lit ? ScaledByLight(colour, cell.light) : colour,
                      uv);
        }
    }
    const int32_t across = columns.last - columns.first + 1;
    for (int32_t j = rows.first; j < rows.last; ++j) {
        for (int32_t i = columns.first; i < columns.last; ++i) {
            const int p00 = first + (j - rows.first) * across + (i - columns.first);
            const int p10 = p00 + 1, p01 = p00 + across, p11 = p01 + 1;
            if ((i + j) % 2 == 0) {
                AddTriangle(*mesh, p00, p11, p10);
                AddTriangle(*mesh, p00, p01, p11);
            } else {
                AddTriangle(*mesh, p10, p00, p01);
                AddTriangle(*mesh, p10, p01, p11);
            }
        }
    }
}

void Terrain::RenderDecalMesh() {
    if (decalMesh_ == nullptr || batchingDecals_) return;
    RenderDecals(*decalMesh_);
}

// Every decal is a picture laid on the ground through its transparency, whatever the
// drawing before it left behind: an effect that switched blending off would otherwise
// leave the decal's clear parts as a black square.
void Terrain::RenderDecals(DynamicMesh& mesh) {
    GetRenderer().SetAlphaBlend();
    UploadAndRender(mesh);
}

void Terrain::BeginDecalBatch() {
    usedDecalGroups_ = 0;
    batchingDecals_ = true;
}

void Terrain::EndDecalBatch() {
    for (int32_t g = 0; g < usedDecalGroups_; ++g) RenderDecalGroup(decalGroups_[g]);
    usedDecalGroups_ = 0;
    batchingDecals_ = false;
}

void Terrain::RenderDecalGroup(DecalGroup& group) {
    if (group.mesh->faces.IsEmpty()) return;
    SetDecalStage(group.texture, group.mode);
    Renderer& renderer = GetRenderer();
    const Matrix4 current = renderer.GetWorldTransform();
    renderer.SetWorldTransform(group.world);
    RenderDecals(*group.mesh);
    renderer.SetWorldTransform(current);
    EmptyMesh(*group.mesh);
}

void Terrain::RenderMiniMapImage(Image& image) const {
    const int32_t w = image.Width(), h = image.Height();
    if (w < 1 || h < 1) return;
    for (int32_t py = 0; py < h; ++py) {
        for (int32_t px = 0; px < w; ++px) {
            const float x = (float(px) + 0.5f) * WorldWidth() / float(w);
            const float y = (float(py) + 0.5f) * WorldHeight() / float(h);
            const int32_t i = FloorCell(x), j = FloorCell(y);
            const float fx = x / kCellSize - float(i), fy = y / kCellSize - float(j);
            const float weights[4] = {(1 - fx) * (1 - fy), fx * (1 - fy), (1 - fx) * fy, fx * fy};
            const TerrainCell* cells[4] = {&CellAt(i, j), &CellAt(i + 1, j), &CellAt(i, j + 1), &CellAt(i + 1, j + 1)};
            float r = 0, g = 0, b = 0, light = 0;
            for (int k = 0; k < 4; ++k) {
                const Color c = kMiniMapColours[IsValidTerrainType(cells[k]->type) ? cells[k]->type : kTerrainGrass];
                r += weights[k] * float(c.Red());
                g += weights[k] * float(c.Green());
                b += weights[k] * float(c.Blue());
                light += weights[k] * cells[k]->light;
            }
            auto byte = [light](float c) { return uint8_t(std::clamp(c * light, 0.0f, 255.0f)); };
            image.At(px, h - 1 - py) = Color::FromRGBA(byte(r), byte(g), byte(b), 255);
        }
    }
}
