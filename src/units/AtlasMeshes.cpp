#include "units/AtlasMeshes.h"

#include "engine/Material.h"
#include "engine/Mesh.h"
#include "engine/Renderer.h"
#include "units/PaintedPartAtlas.h"

namespace {

// Whether two painted materials look alike once both show the atlas.
bool LooksAlike(const Material& a, const Material& b) {
    if (!(a.Colours() == b.Colours()) || a.stages.Count() != b.stages.Count()) return false;
    for (int i = 0; i < a.stages.Count(); ++i) {
        TextureStageSettings stage = b.stages[i];
        if (i == 0) stage.texture = a.stages[0].texture;
        if (!(a.stages[i] == stage)) return false;
    }
    return true;
}

Material* AtlasMaterialFor(const Material& original, Array<Material*>& copies) {
    for (Material* copy : copies) {
        if (LooksAlike(*copy, original)) return copy;
    }
    Material* copy = GetRenderer().CreateMaterial();
    *copy = original;
    copies.Append(copy);
    return copy;
}

}  // namespace

bool FitsAtlas(const Mesh& mesh, TextureHandle texture) {
    if (texture == nullptr || mesh.texCoordSetCount < 1 || mesh.faces.IsEmpty()) return false;
    for (const MeshFace& face : mesh.faces) {
        const Material* material = face.material;
        if (material == nullptr || material->stages.IsEmpty() || material->stages[0].texture != texture) return false;
    }
    for (const MeshVertex& vertex : mesh.vertices) {
        if (vertex.texCoords.IsEmpty()) return false;
        const Vector2& uv = vertex.texCoords[0];
        if (uv.x < 0.0f || uv.x > 1.0f || uv.y < 0.0f || uv.y > 1.0f) return false;
    }
    for (const MeshLevel& level : mesh.levels) {
        if (level.mesh != nullptr && !FitsAtlas(*level.mesh, texture)) return false;
    }
    return true;
}

TextureHandle AtlasTextureOf(const Mesh& mesh) {
    if (mesh.faces.IsEmpty()) return nullptr;
    const Material* material = mesh.faces[0].material;
    if (material == nullptr || material->stages.IsEmpty()) return nullptr;
    const TextureHandle texture = material->stages[0].texture;
    return FitsAtlas(mesh, texture) ? texture : nullptr;
}

void MoveIntoAtlas(Mesh& mesh, const PaintedPartAtlas& atlas, int part, Array<Material*>& copies) {
    for (MeshVertex& vertex : mesh.vertices) vertex.texCoords[0] = atlas.Map(part, vertex.texCoords[0]);
    for (MeshFace& face : mesh.faces) face.material = AtlasMaterialFor(*face.material, copies);
    for (MeshLevel& level : mesh.levels) {
        if (level.mesh != nullptr) MoveIntoAtlas(*level.mesh, atlas, part, copies);
    }
}
