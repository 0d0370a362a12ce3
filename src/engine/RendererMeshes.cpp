// The renderer's meshes: device meshes made from Mesh geometry and kept current, quads,
// dynamic meshes rewritten whole, and sprites.
#include <algorithm>
#include <cstring>

#include "engine/DynamicMesh.h"
#include "engine/Mesh.h"
#include "engine/ModelNode.h"
#include "engine/ParticleSystem.h"
#include "engine/Renderer.h"
#include "engine/Sprite.h"
#include "engine/SpriteGrid.h"
#include "platform/gfx/DeviceMesh.h"

namespace {

// Where the parts of a vertex lie, in floats: position, normal, colour, coordinate pairs.
struct VertexParts {
    bool normals = false;
    bool colours = false;
    int texSets = 0;
    int normalAt = 3;
    int colourAt = 3;
    int texAt = 3;
    int size = 3;
};

VertexParts PartsOf(bool normals, bool colours, int texSets) {
    VertexParts parts;
    parts.normals = normals;
    parts.colours = colours;
    parts.texSets = texSets;
    parts.colourAt = parts.normalAt + (normals ? 3 : 0);
    parts.texAt = parts.colourAt + (colours ? 1 : 0);
    parts.size = parts.texAt + 2 * texSets;
    return parts;
}

void WritePosition(float* out, const MeshVertex& v) {
    const Vector3 p = v.position != nullptr ? *v.position : Vector3();
    out[0] = p.x;
    out[1] = p.y;
    out[2] = p.z;
}

void WriteNormal(float* out, const VertexParts& parts, const MeshVertex& v) {
    out[parts.normalAt] = v.normal.x;
    out[parts.normalAt + 1] = v.normal.y;
    out[parts.normalAt + 2] = v.normal.z;
}

void WriteColour(float* out, const VertexParts& parts, const MeshVertex& v) {
    std::memcpy(out + parts.colourAt, &v.color.argb, sizeof(uint32_t));
}

// Sets the vertex lacks read (0, 0).
void WriteTexCoords(float* out, const VertexParts& parts, const MeshVertex& v) {
    for (int set = 0; set < parts.texSets; ++set) {
        const Vector2 uv = set < v.texCoords.Count() ? v.texCoords[set] : Vector2();
        out[parts.texAt + 2 * set] = uv.x;
        out[parts.texAt + 2 * set + 1] = uv.y;
    }
}

// The parts the change bits name (all of them for kAllChanges).
constexpr uint32_t kAllChanges =
    kVertexChangePosition | kVertexChangeNormal | kVertexChangeColor | kVertexChangeTexCoords;

void WriteVertex(float* out, const VertexParts& parts, const MeshVertex& v, uint32_t changes) {
    if (changes & kVertexChangePosition) WritePosition(out, v);
    if (parts.normals && (changes & kVertexChangeNormal)) WriteNormal(out, parts, v);
    if (parts.colours && (changes & kVertexChangeColor)) WriteColour(out, parts, v);
    if (changes & kVertexChangeTexCoords) WriteTexCoords(out, parts, v);
}

template <typename Index>
void WriteFaceIndices(uint8_t* out, const Array<MeshFace>& faces, const MeshVertex* first) {
    Index* indices = reinterpret_cast<Index*>(out);
    for (const MeshFace& face : faces) {
        for (const MeshVertex* corner : face.corners) *indices++ = Index(corner != nullptr ? corner - first : 0);
    }
}

void WriteIndices(uint8_t* out, gfx::IndexFormat format, const Array<MeshFace>& faces, const MeshVertex* first) {
    if (format == gfx::IndexFormat::Index32) {
        WriteFaceIndices<uint32_t>(out, faces, first);
    } else {
        WriteFaceIndices<uint16_t>(out, faces, first);
    }
}

// The smallest doubling of the capacity (at least 1) that holds n.
int32_t Grown(int32_t capacity, int32_t n) {
    int64_t grown = std::max(capacity, 1);
    while (grown < n) grown *= 2;
    return int32_t(std::min<int64_t>(grown, INT32_MAX));
}

// A quad's corner coordinates, vertex 0 to 3; flipped quads exchange the rows.
constexpr Vector2 kQuadCorners[4] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
constexpr Vector2 kFlippedCorners[4] = {{0, 1}, {1, 1}, {1, 0}, {0, 0}};

}  // namespace

gfx::VertexFormat Renderer::MeshFormat(bool normals, bool colours, int texSets, int& sizeInFloats) {
    const int sets = std::clamp<int>(texSets, 0, int(std::min(caps_.maxSimultaneousTextures, gfx::kMaxTexCoordSets)));
    sizeInFloats = PartsOf(normals, colours, sets).size;
    gfx::VertexFormat format = gfx::kFormatPosition | gfx::FormatTex(uint32_t(sets));
    if (normals) format |= gfx::kFormatNormal;
    if (colours) format |= gfx::kFormatDiffuse;
    return format;
}

// --- meshes

Mesh* Renderer::CreateMesh(int positionCapacity, int vertexCapacity, int faceCapacity, int edgeCapacity) {
    meshes_.push_back(std::make_unique<Mesh>(positionCapacity, vertexCapacity, faceCapacity, edgeCapacity));
    return meshes_.back().get();
}

Mesh* Renderer::CreateMeshCopy(const Mesh& mesh) {
    meshes_.push_back(std::make_unique<Mesh>(mesh));
    return meshes_.back().get();
}

void Renderer::DestroyLastMesh() {
    if (!meshes_.empty()) meshes_.pop_back();
}

void Renderer::CreateMeshBuffers(Mesh* mesh) {
    if (mesh == nullptr || mesh->deviceMesh != nullptr) return;
    if (mesh->faces.IsEmpty() || mesh->vertices.IsEmpty()) return;
    int size = 0;
    const gfx::VertexFormat format = MeshFormat(mesh->hasNormals, mesh->hasColors, mesh->texCoordSetCount, size);
    gfx::Created<gfx::DeviceMesh> created =
        gfx::DeviceMesh::Create(GetDevice(), uint32_t(mesh->faces.Count()), uint32_t(mesh->vertices.Count()), format);
    Check(created.result, "CreateMeshBuffers", "gfx::DeviceMesh::Create");
    mesh->deviceMesh = std::move(created.object);
    WriteDeviceMesh(*mesh);
}

void Renderer::WriteDeviceMesh(Mesh& mesh) {
    gfx::DeviceMesh& device = *mesh.deviceMesh;
    const VertexParts parts = PartsOf(mesh.hasNormals, mesh.hasColors, int(gfx::FormatTexCount(device.Format())));
    uint8_t* bytes = nullptr;
    Check(device.LockVertexBuffer(bytes), "CreateMeshBuffers", "gfx::DeviceMesh::LockVertexBuffer");
    for (int i = 0; i < mesh.vertices.Count(); ++i) {
        WriteVertex(reinterpret_cast<float*>(bytes + size_t(i) * device.Stride()), parts, mesh.vertices[i],
                    kAllChanges);
    }
    Check(device.UnlockVertexBuffer(), "CreateMeshBuffers", "gfx::DeviceMesh::UnlockVertexBuffer");

    Check(device.LockIndexBuffer(bytes), "CreateMeshBuffers", "gfx::DeviceMesh::LockIndexBuffer");
    WriteIndices(bytes, device.IndexType(), mesh.faces, mesh.vertices.Data());
    Check(device.UnlockIndexBuffer(), "CreateMeshBuffers", "gfx::DeviceMesh::UnlockIndexBuffer");

    // Subsets follow the materials' address order; a face without one is a subset too
    // and gets the default material when drawn.
    mesh.subsetMaterials.Clear();
    for (const MeshFace& face : mesh.faces) {
        if (FindSorted(mesh.subsetMaterials, face.material) < 0) InsertSorted(mesh.subsetMaterials, face.material);
    }
    uint32_t* subsets = nullptr;
    Check(device.LockAttributeBuffer(subsets), "CreateMeshBuffers", "gfx::DeviceMesh::LockAttributeBuffer");
    for (int f = 0; f < mesh.faces.Count(); ++f)
        subsets[f] = uint32_t(FindSorted(mesh.subsetMaterials, mesh.faces[f].material));
    Check(device.UnlockAttributeBuffer(), "CreateMeshBuffers", "gfx::DeviceMesh::UnlockAttributeBuffer");

    mesh.changeBits.SetSize(mesh.vertices.Count());
    for (int i = 0; i < mesh.changeBits.Count(); ++i) mesh.changeBits[i] = 0;
}

void Renderer::UpdateMeshBuffers(Mesh* mesh) {
    if (mesh == nullptr || !mesh->dirty) return;
    mesh->dirty = 0;
    int size = 0;
    const gfx::VertexFormat format = MeshFormat(mesh->hasNormals, mesh->hasColors, mesh->texCoordSetCount, size);
    const gfx::DeviceMesh* current = mesh->deviceMesh.get();
    // Geometry that grew or shrank since the device mesh was made no longer fits it.
    if (current == nullptr || current->VertexCount() != uint32_t(mesh->vertices.Count()) ||
        current->FaceCount() != uint32_t(mesh->faces.Count()) || current->Format() != format) {
        mesh->ReleaseDeviceMesh();
        CreateMeshBuffers(mesh);
        return;
    }
    gfx::DeviceMesh& device = *mesh->deviceMesh;
    const VertexParts parts = PartsOf(mesh->hasNormals, mesh->hasColors, int(gfx::FormatTexCount(format)));
    uint8_t* bytes = nullptr;
    Check(device.LockVertexBuffer(bytes), "UpdateMeshBuffers", "gfx::DeviceMesh::LockVertexBuffer");
    const int count = std::min(mesh->vertices.Count(), mesh->changeBits.Count());
    for (int i = 0; i < count; ++i) {
        uint32_t& changes = mesh->changeBits[i];
        if (changes == 0) continue;
        WriteVertex(reinterpret_cast<float*>(bytes + size_t(i) * device.Stride()), parts, mesh->vertices[i], changes);
        changes = 0;
    }
    Check(device.UnlockVertexBuffer(), "UpdateMeshBuffers", "gfx::DeviceMesh::UnlockVertexBuffer");
}

void Renderer::CreateModelMeshes(Mesh* mesh) {
    if (mesh == nullptr) return;
    CreateMeshBuffers(mesh);
    for (const MeshLevel& level : mesh->levels) CreateMeshBuffers(level.mesh);
}

void Renderer::CreateModelTreeMeshes(ModelNode* node) {
    if (node == nullptr) return;
    CreateModelMeshes(node->mesh);
    for (ModelNode* child = node->firstChild; child != nullptr; child = child->nextSibling) {
        CreateModelTreeMeshes(child);
    }
}

void Renderer::SetMeshTexCoord(Mesh* mesh, int vertex, float u, float v, int set) {
    if (mesh == nullptr || vertex < 0 || vertex >= mesh->vertices.Count() || set < 0) return;
    Array<Vector2>& coords = mesh->vertices[vertex].texCoords;
    const int had = coords.Count();
    if (had <= set) {
        coords.SetSize(set + 1);
        for (int i = had; i < set; ++i) coords[i] = Vector2();
    }
    coords[set] = Vector2(u, v);
    if (mesh->changeBits.Count() < mesh->vertices.Count()) mesh->changeBits.SetSize(mesh->vertices.Count());
    mesh->changeBits[vertex] |= kVertexChangeTexCoords;
    mesh->dirty = 1;
}

// --- quads

Mesh* Renderer::CreateQuad(const QuadRect& rect, Material* material, float depth, int quarterTurns, int flip) {
    Mesh* mesh = CreateMesh(4, 4, 2, 0);
    mesh->AddPosition(Vector3(rect.x0, rect.y0, depth));
    mesh->AddPosition(Vector3(rect.x1, rect.y0, depth));
    mesh->AddPosition(Vector3(rect.x1, rect.y1, depth));
    mesh->AddPosition(Vector3(rect.x0, rect.y1, depth));
    const bool flipped = flip == 1;
    const Vector2* corners = flipped ? kFlippedCorners : kQuadCorners;
    const int stages = material != nullptr ? material->stages.Count() : 0;
    const int turns = ((quarterTurns % 4) + 4) % 4;
    for (int k = 0; k < 4; ++k) {
        MeshVertex vertex;
        vertex.position = &mesh->positions[k];
        vertex.normal = Vector3(0, 0, flipped ? 1.0f : -1.0f);
        vertex.color = Color(0xFFFFFFFFu);
        for (int s = 0; s < stages; ++s) vertex.texCoords.Append(corners[(k + turns) % 4]);
        mesh->AddVertex(vertex);
    }
    // Both faces share the diagonal from vertex 0 to vertex 2: edge 2 of the first face
    // and edge 0 of the second (the other way round when flipped).
    static constexpr int kCorners[2][2][3] = {{{0, 1, 2}, {0, 2, 3}}, {{0, 2, 1}, {0, 3, 2}}};
    int added[2] = {-1, -1};
    for (int f = 0; f < 2; ++f) {
        MeshFace face;
        face.material = material;
        for (int c = 0; c < 3; ++c) face.corners[c] = &mesh->vertices[kCorners[flipped][f][c]];
        face.ComputeNormal();
        added[f] = mesh->AddFace(face);
    }
    if (added[0] >= 0 && added[1] >= 0) {
        mesh->faces[added[0]].neighbours[flipped ? 0 : 2] = &mesh->faces[added[1]];
        mesh->faces[added[1]].neighbours[flipped ? 2 : 0] = &mesh->faces[added[0]];
    }
    mesh->texCoordSetCount = stages;
    mesh->hasColors = 1;
    mesh->UpdateBounds();
    return mesh;
}

Mesh* Renderer::CreateColoredQuad(const QuadRect& rect, Color colour, float depth, int quarterTurns, int flip) {
    Mesh* mesh = CreateQuad(rect, nullptr, depth, quarterTurns, flip);
    for (MeshVertex& vertex : mesh->vertices) vertex.color = colour;
    return mesh;
}

Mesh* Renderer::CreateTexturedQuad(const QuadRect& rect, const String& file, float depth, int quarterTurns, int flip) {
    return CreateQuad(rect, CreateTexturedMaterial(file, -1, -1), depth, quarterTurns, flip);
}

// --- dynamic meshes

DynamicMesh* Renderer::CreateDynamicMesh(int positionCapacity, int vertexCapacity, int faceCapacity) {
    dynamicMeshes_.push_back(std::make_unique<DynamicMesh>(positionCapacity, vertexCapacity, faceCapacity));
    return dynamicMeshes_.back().get();
}

void Renderer::RecreateDynamicBuffers(DynamicMesh& mesh, int vertexCount, int faceCount) {
    mesh.ReleaseBuffers();
    int size = 0;
    mesh.format = MeshFormat(mesh.hasNormals, mesh.hasColors, mesh.texCoordSetCount, size);
    mesh.vertexSize = size;
    mesh.vertexCapacity = Grown(mesh.vertexCapacity, vertexCount);
    mesh.faceCapacity = Grown(mesh.faceCapacity, faceCount);
    // 16-bit indices reach 65,535 vertices; a larger buffer needs 32-bit ones.
    const gfx::IndexFormat indexFormat =
        mesh.vertexCapacity > 65535 ? gfx::IndexFormat::Index32 : gfx::IndexFormat::Index16;
    gfx::Device& device = GetDevice();
    gfx::Created<gfx::VertexBuffer> vertices =
        device.CreateVertexBuffer(uint32_t(mesh.vertexCapacity) * uint32_t(size) * 4, gfx::BufferUsage::Dynamic);
    Check(vertices.result, "CreateDynamicMeshBuffers", "gfx::Device::CreateVertexBuffer");
    gfx::Created<gfx::IndexBuffer> indices = device.CreateIndexBuffer(
        uint32_t(mesh.faceCapacity) * 3 * uint32_t(indexFormat), indexFormat, gfx::BufferUsage::Dynamic);
    Check(indices.result, "CreateDynamicMeshBuffers", "gfx::Device::CreateIndexBuffer");
    mesh.vertexBuffer = std::move(vertices.object);
    mesh.indexBuffer = std::move(indices.object);
    mesh.uploadedVertices = 0;
    mesh.uploadedFaces = 0;
}

void Renderer::CreateDynamicMeshBuffers(DynamicMesh* mesh) {
    if (mesh == nullptr || mesh->vertexBuffer != nullptr || mesh->indexBuffer != nullptr) return;
    RecreateDynamicBuffers(*mesh, mesh->vertices.Count(), mesh->faces.Count());
    UpdateDynamicMeshBuffers(mesh);
}

void Renderer::UpdateDynamicMeshBuffers(DynamicMesh* mesh) {
    // Without buffers (a device reset is pending) the arrays keep the geometry, and the
    // buffers are filled from them when they are made.
    if (mesh == nullptr || !mesh->HasBuffers()) return;
    const int vertexCount = mesh->vertices.Count(), faceCount = mesh->faces.Count();
    if (vertexCount < 1 || faceCount < 1) return;
    int size = 0;
    const gfx::VertexFormat format = MeshFormat(mesh->hasNormals, mesh->hasColors, mesh->texCoordSetCount, size);
    if (vertexCount > mesh->vertexCapacity || faceCount > mesh->faceCapacity || format != mesh->format) {
        RecreateDynamicBuffers(*mesh, vertexCount, faceCount);
    }
    const VertexParts parts = PartsOf(mesh->hasNormals, mesh->hasColors, int(gfx::FormatTexCount(format)));
    const uint32_t stride = uint32_t(size) * 4;
    uint8_t* bytes = nullptr;
    Check(mesh->vertexBuffer->Lock(0, uint32_t(vertexCount) * stride, bytes, gfx::kLockDiscard),
          "UpdateDynamicMeshBuffers", "gfx::VertexBuffer::Lock");
    for (int i = 0; i < vertexCount; ++i) {
        WriteVertex(reinterpret_cast<float*>(bytes + size_t(i) * stride), parts, mesh->vertices[i], kAllChanges);
    }
    Check(mesh->vertexBuffer->Unlock(), "UpdateDynamicMeshBuffers", "gfx::VertexBuffer::Unlock");
    const gfx::IndexFormat indexFormat = mesh->indexBuffer->Format();
    Check(mesh->indexBuffer->Lock(0, uint32_t(faceCount) * 3 * uint32_t(indexFormat), bytes, gfx::kLockDiscard),
          "UpdateDynamicMeshBuffers", "gfx::IndexBuffer::Lock");
    WriteIndices(bytes, indexFormat, mesh->faces, mesh->vertices.Data());
    Check(mesh->indexBuffer->Unlock(), "UpdateDynamicMeshBuffers", "gfx::IndexBuffer::Unlock");
    mesh->uploadedVertices = vertexCount;
    mesh->uploadedFaces = faceCount;
}

void Renderer::UpdateDynamicMeshVertices(DynamicMesh* mesh, int first, int end) {
    if (mesh == nullptr || !mesh->HasBuffers()) return;
    const int vertexCount = mesh->vertices.Count();
    int size = 0;
    const gfx::VertexFormat format = MeshFormat(mesh->hasNormals, mesh->hasColors, mesh->texCoordSetCount, size);
    const bool sameShape = vertexCount == mesh->uploadedVertices && mesh->faces.Count() == mesh->uploadedFaces &&
                           format == mesh->format && first >= 0 && first < end && end <= vertexCount;
    if (!sameShape) {
        UpdateDynamicMeshBuffers(mesh);
        return;
    }
    const VertexParts parts = PartsOf(mesh->hasNormals, mesh->hasColors, int(gfx::FormatTexCount(format)));
    const uint32_t stride = uint32_t(size) * 4;
    uint8_t* bytes = nullptr;
    Check(mesh->vertexBuffer->Lock(uint32_t(first) * stride, uint32_t(end - first) * stride, bytes),
          "UpdateDynamicMeshVertices", "gfx::VertexBuffer::Lock");
    for (int i = first; i < end; ++i) {
        WriteVertex(reinterpret_cast<float*>(bytes + size_t(i - first) * stride), parts, mesh->vertices[i],
                    kVertexChangePosition | kVertexChangeNormal);
    }
    Check(mesh->vertexBuffer->Unlock(), "UpdateDynamicMeshVertices", "gfx::VertexBuffer::Unlock");
}

void Renderer::DestroyDynamicMesh(DynamicMesh* mesh) {
    auto found = std::find_if(dynamicMeshes_.begin(), dynamicMeshes_.end(),
                              [mesh](const std::unique_ptr<DynamicMesh>& m) { return m.get() == mesh; });
    if (found == dynamicMeshes_.end()) return;
    std::erase(releasedForReset_, mesh);
    dynamicMeshes_.erase(found);
}

void Renderer::DestroyParticleMesh(ParticleSystem& system) {
    if (system.mesh == nullptr) return;
    DestroyDynamicMesh(system.mesh);
    system.mesh = nullptr;
}

// Draws what the buffers hold, which is the geometry as of the last update.
void Renderer::RenderDynamicMesh(DynamicMesh* mesh) {
    if (mesh == nullptr || !mesh->HasBuffers() || mesh->uploadedFaces < 1) return;
    FlushParticleBatch();
    ApplyMaterial(mesh->material != nullptr ? *mesh->material : defaultMaterial_);
    gfx::Device& device = GetDevice();
    Check(device.SetStreamSource(mesh->vertexBuffer.get(), uint32_t(mesh->vertexSize) * 4), "RenderDynamicMesh",
          "SetStreamSource");
    Check(device.SetVertexFormat(mesh->format), "RenderDynamicMesh", "SetVertexFormat");
    Check(device.SetIndices(mesh->indexBuffer.get()), "RenderDynamicMesh", "SetIndices");
    Check(device.DrawIndexedPrimitive(gfx::PrimitiveType::TriangleList, 0, 0, uint32_t(mesh->uploadedVertices), 0,
                                      uint32_t(mesh->uploadedFaces)),
          "RenderDynamicMesh", "DrawIndexPrimitive");
}

// --- sprites

Sprite* Renderer::CreateSprite(int x, int y, int width, int height, const String& file, int anchor, float depth,
                               int quarterTurns, int flip) {
    sprites_.push_back(std::make_unique<Sprite>(IntRect(x, y, x + width - 1, y + height - 1)));
    Sprite* sprite = sprites_.back().get();
    sprite->anchor = anchor;
    Material* material = CreateTexturedMaterial(file, -1, -1);
    // Clamped, so the edge texels do not pick up the opposite edge.
    material->stages[0].addressU = uint32_t(gfx::Address::Clamp);
    material->stages[0].addressV = uint32_t(gfx::Address::Clamp);
    sprite->quad = CreateQuad(QuadRect{0, 0, 1, 1}, material, depth, quarterTurns, flip);
    CreateModelMeshes(sprite->quad);
    return sprite;
}

Sprite* Renderer::CreateSprite(int width, int height, const String& file, int anchor, float depth, int quarterTurns,
                               int flip) {
    return CreateSprite(0, 0, width, height, file, anchor, depth, quarterTurns, flip);
}

Sprite* Renderer::CreateSprite(int size, const String& file, int anchor, float depth, int quarterTurns, int flip) {
    return CreateSprite(0, 0, size, size, file, anchor, depth, quarterTurns, flip);
}

SpriteGrid* Renderer::CreateSpriteGrid() {
    spriteGrids_.push_back(std::make_unique<SpriteGrid>());
    return spriteGrids_.back().get();
}
