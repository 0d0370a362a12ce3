#include "units/UnitPartAtlas.h"

#include <algorithm>
#include <vector>

#include "core/Image.h"
#include "engine/Material.h"
#include "engine/Mesh.h"
#include "engine/Renderer.h"
#include "engine/RendererRef.h"
#include "units/AtlasMeshes.h"
#include "units/PaintedPartAtlas.h"

namespace {

constexpr uint32_t kAddressClamp = 3;

// The atlas materials of the current renderer; a restarted renderer has freed them.
Array<Material*>& AtlasMaterials() {
    static RendererMark current;
    static Array<Material*> materials;
    if (!current.IsSet()) {
        current.Set();
        materials.Clear();
    }
    return materials;
}

// Batched meshes share a group per material, whose vertex layout is that of its meshes:
// only meshes of the plain layout join.
bool HasPlainLayout(const Mesh& mesh) { return mesh.hasNormals && !mesh.hasColors && mesh.texCoordSetCount == 1; }

// The texel beside an edge: the edge's own where the picture is clamped, the opposite
// edge's where it wraps; so filtering at a part's edge blends what it blended alone.
int Beside(int i, int size, bool clamped) { return clamped ? std::clamp(i, 0, size - 1) : (i + size) % size; }

void PlaceCell(Image& atlas, const PaintedPartAtlas& layout, int part, const Image& picture,
               const TextureStageSettings& stage) {
    const Vector2 corner = layout.Map(part, Vector2(0.0f, 0.0f));
    const int x0 = int(corner.x * float(layout.Width())), y0 = int(corner.y * float(layout.Height()));
    const bool clampU = stage.addressU == kAddressClamp, clampV = stage.addressV == kAddressClamp;
    for (int y = -1; y <= picture.Height(); ++y) {
        for (int x = -1; x <= picture.Width(); ++x) {
            atlas.At(x0 + x, y0 + y) =
                picture.At(Beside(x, picture.Width(), clampU), Beside(y, picture.Height(), clampV));
        }
    }
}

struct Candidates {
    Array<Mesh*> meshes;
    Array<int> cells;                    // of each mesh
    Array<TextureHandle> textures;       // of each cell
    Array<TextureStageSettings> stages;  // of each cell: how its first mesh samples it
    std::vector<Image> pictures;         // of each cell
};

void AddCandidate(Candidates& found, Mesh* mesh) {
    if (mesh == nullptr || found.meshes.Find(mesh) >= 0 || !HasPlainLayout(*mesh)) return;
    const TextureHandle texture = AtlasTextureOf(*mesh);
    if (texture == nullptr || AtlasMaterials().Find(mesh->faces[0].material) >= 0) return;
    int cell = found.textures.Find(texture);
    if (cell < 0) {
        Image picture;
        GetRenderer().ReadTextureImage(picture, texture);
        if (picture.IsEmpty()) return;
        cell = found.textures.Count();
        found.textures.Append(texture);
        found.stages.Append(mesh->faces[0].material->stages[0]);
        found.pictures.push_back(std::move(picture));
    }
    found.meshes.Append(mesh);
    found.cells.Append(cell);
}

}  // namespace

void UnitPartAtlas::Gather(const Array<Mesh*>& meshes) {
    Candidates found;
    for (Mesh* mesh : meshes) AddCandidate(found, mesh);
    if (found.meshes.IsEmpty()) return;
    Array<Image*> sizes;
    for (Image& picture : found.pictures) sizes.Append(&picture);
    PaintedPartAtlas layout;
    layout.Layout(sizes);
    Image picture(layout.Width(), layout.Height());
    for (int cell = 0; cell < found.textures.Count(); ++cell) {
        PlaceCell(picture, layout, cell, found.pictures[size_t(cell)], found.stages[cell]);
    }
    const TextureHandle texture = GetRenderer().CreateTextureImage(picture, 1);
    Array<Material*> copies;
    for (int i = 0; i < found.meshes.Count(); ++i) MoveIntoAtlas(*found.meshes[i], layout, found.cells[i], copies);
    for (Material* copy : copies) {
        copy->stages[0].texture = texture;
        AtlasMaterials().Append(copy);
    }
}

bool UnitPartAtlas::Holds(const Mesh* mesh) {
    if (mesh == nullptr || mesh->faces.IsEmpty()) return false;
    return AtlasMaterials().Find(mesh->faces[0].material) >= 0;
}
