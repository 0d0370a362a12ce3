// The renderer's drawing: the camera, model trees with culling and levels of detail,
// meshes, particles and sprites; and the model instances it hands out and takes back.
#include <algorithm>

#include "engine/DynamicMesh.h"
#include "engine/Mesh.h"
#include "engine/ModelNode.h"
#include "engine/ParticleSystem.h"
#include "engine/Renderer.h"
#include "engine/Sprite.h"
#include "engine/SpriteGrid.h"
#include "platform/gfx/DeviceMesh.h"

namespace {

// An eye closer than this to a mesh's centre sees it at full detail.
constexpr float kNearestLevelDistance = 0.00001f;
// A level whose vertices stray less than this share of a pixel from the full mesh draws
// the same picture to the eye, whatever the level-of-detail error allows.
constexpr float kUnseenPixelError = 0.5f;

Matrix4 ScaleXY(float x, float y) {
    Matrix4 m;
    m[0] = x;
    m[5] = y;
    return m;
}

Matrix4 TranslationXY(float x, float y) {
    Matrix4 m;
    m.SetTranslation(Vector3(x, y, 0));
    return m;
}

// A world direction in the model space of an orthonormal world matrix: times the
// transpose of its 3 x 3 part.
Vector3 IntoModelSpace(const Matrix4& w, const Vector3& d) {
    return Vector3(d.Dot(Vector3(w[0], w[1], w[2])), d.Dot(Vector3(w[4], w[5], w[6])),
                   d.Dot(Vector3(w[8], w[9], w[10])));
}

}  // namespace

void Renderer::SetCamera(Camera& camera) {
    FlushParticleBatch();
    gfx::Device& device = GetDevice();
    IntRect& v = camera.viewport;
    const bool invalid = v.left < 0 || v.top < 0 || v.right - v.left + 1 < 1 || v.bottom - v.top + 1 < 1;
    if (invalid || v.right > windowRect_.right || v.bottom > windowRect_.bottom) v = windowRect_;
    device.SetViewport(gfx::Viewport{uint32_t(v.left), uint32_t(v.top), uint32_t(v.right - v.left + 1),
                                     uint32_t(v.bottom - v.top + 1), camera.depthMin, camera.depthMax});
    // The device has fewer clip planes than a camera may hold; the rest cannot clip.
    const uint32_t planes = std::min<uint32_t>(uint32_t(camera.clipPlanes.Count()), caps_.maxUserClipPlanes);
    device.SetRenderState(gfx::RenderState::ClipPlaneEnable, camera.clipPlaneMask & ((1u << planes) - 1));
    for (uint32_t i = 0; i < planes; ++i) {
        const Plane& plane = camera.clipPlanes[int(i)];
        device.SetClipPlane(i, gfx::ClipPlane{plane.normal.x, plane.normal.y, plane.normal.z, plane.d});
    }
    camera.UpdateView();
    device.SetTransform(gfx::TransformKind::View, camera.view);
    camera.UpdateProjection();
    device.SetTransform(gfx::TransformKind::Projection, camera.projection);
    camera_ = camera;
    UpdatePixelScale();
}

// --- models and meshes

void Renderer::RenderModel(ModelNode* root, bool useLevels, bool cull) {
    if (root == nullptr) return;
    ++renderModelCount;
    if (cull && camera_.TestSphere(Sphere::Transform(world_, root->bounds)) == 1) return;
    std::vector<Matrix4> stack;
    stack.reserve(10);
    stack.push_back(world_);
    RenderNode(root, stack, useLevels);
}

void Renderer::RenderNode(ModelNode* node, std::vector<Matrix4>& stack, bool useLevels) {
    const bool push = node->mesh != nullptr || node->firstChild != nullptr;
    if (push) {
        stack.push_back(Matrix4MultiplyAffine(node->local, stack.back()));
        SetWorldMatrix(stack.back());
    }
    if (node->mesh != nullptr) RenderMesh(node->mesh, useLevels);
    for (ModelNode* child = node->firstChild; child != nullptr; child = child->nextSibling) {
        RenderNode(child, stack, useLevels);
    }
    if (push) {
        stack.pop_back();
        SetWorldMatrix(stack.back());
    }
}

void Renderer::RenderMesh(Mesh* mesh, bool useLevels) {
    if (mesh == nullptr) return;
    if (!useLevels) {
        DrawMeshSubsets(mesh);
        return;
    }
    DrawMeshSubsets(ChooseLevel(mesh, world_));
}

Mesh* Renderer::ChooseLevel(Mesh* mesh, const Matrix4& world) const {
    const bool sized = !mesh->levels.IsEmpty() || smallestMeshPixels > 0.0f;
    if (!sized || pixelScale_ <= 0.0f) return mesh;
    const Sphere sphere = Sphere::Transform(world, mesh->bounds);
    const float distance = (sphere.centre - camera_.eye).Length();
    if (distance <= kNearestLevelDistance) return mesh;
    // The mesh's radius in pixels.
    const float size = camera_.kind == Camera::kPerspective
                           ? sphere.radius * camera_.EffectiveNear() / (distance * pixelScale_)
                           : sphere.radius / pixelScale_;
    // A mesh whose bounds were never computed has no size to judge.
    if (!mesh->bounds.IsEmpty() && size < smallestMeshPixels) return nullptr;
    // A level's error in pixels: the mesh's diameter spans size pixels.
    const float pixelsPerUnit = mesh->bounds.radius > 0.0f ? 0.5f * size / mesh->bounds.radius : 0.0f;
    Mesh* chosen = mesh;
    for (const MeshLevel& level : mesh->levels) {
        if (level.mesh == nullptr) continue;
        if (level.error * size <= lodError || level.error * pixelsPerUnit < kUnseenPixelError) chosen = level.mesh;
    }
    return chosen;
}

void Renderer::DrawMeshSubsets(Mesh* mesh) {
    if (mesh == nullptr) return;
    FlushParticleBatch();
    CreateMeshBuffers(mesh);
    if (mesh->deviceMesh == nullptr) return;
    for (int i = 0; i < mesh->subsetMaterials.Count(); ++i) {
        const Material* material = mesh->subsetMaterials[i];
        ApplyMaterial(material != nullptr ? *material : defaultMaterial_);
        mesh->deviceMesh->DrawSubset(uint32_t(i));
    }
}

// --- particles

void Renderer::CreateParticleMesh(ParticleSystem& system) {
    if (system.mesh != nullptr) return;
    DynamicMesh* mesh = CreateDynamicMesh(4, 4, 2);
    mesh->material = system.material;
    mesh->hasColors = system.usesParticleColours ? 1 : 0;
    for (int k = 0; k < 4; ++k) mesh->AddPosition(Vector3());
    for (int k = 0; k < 4; ++k) {
        MeshVertex vertex;
        vertex.position = &mesh->positions[k];
        vertex.normal = Vector3(0, 0, -1);
        vertex.color = Color(0xFFFFFFFFu);
        mesh->AddVertex(vertex);
    }
    static constexpr int kCorners[2][3] = {{0, 1, 2}, {0, 2, 3}};
    for (const auto& corners : kCorners) {
        MeshFace face;
        for (int c = 0; c < 3; ++c) face.corners[c] = &mesh->vertices[corners[c]];
        mesh->AddFace(face);
    }
    SetParticleMaterial(*mesh, system.material);
    system.mesh = mesh;
    CreateDynamicMeshBuffers(mesh);
}

// The quad's corners in every stage of the material.
void Renderer::SetParticleMaterial(DynamicMesh& mesh, Material* material) {
    const int stages = material != nullptr ? material->stages.Count() : 0;
    mesh.material = material;
    mesh.texCoordSetCount = stages;
    for (int k = 0; k < mesh.vertices.Count() && k < 4; ++k) {
        Array<Vector2>& coords = mesh.vertices[k].texCoords;
        coords.Clear();
        for (int s = 0; s < stages; ++s) coords.Append(kParticleCorners[k]);
    }
    for (MeshFace& face : mesh.faces) face.material = material;
}

void Renderer::DrawParticles(ParticleSystem& system) {
    if (system.particles.IsEmpty()) return;
    if (particleBatchDepth_ > 0) {
        GatherParticles(system);
        return;
    }
    CreateParticleMesh(system);
    DynamicMesh& mesh = *system.mesh;
    if (mesh.positions.Count() < 4 || mesh.vertices.Count() < 4) return;
    // Effects switch materials between frames (an animated trail takes the next one).
    if (mesh.material != system.material) SetParticleMaterial(mesh, system.material);
    mesh.hasColors = system.usesParticleColours ? 1 : 0;
    Vector3 right, up, back;
    camera_.GetAxes(right, up, back);
    right = IntoModelSpace(world_, right);
    up = IntoModelSpace(world_, up);
    if (mesh.material != nullptr) ApplyMaterial(*mesh.material);
    for (const Particle& particle : system.particles) {
        if (!particle.alive) continue;
        const float h = 0.5f * (system.usesParticleSizes ? particle.size : system.particleSize);
        const Vector3& p = particle.position;
        mesh.positions[0] = p + (up - right) * h;
        mesh.positions[1] = p + (up + right) * h;
        mesh.positions[2] = p + (right - up) * h;
        mesh.positions[3] = p - (right + up) * h;
        if (system.usesParticleColours) {
            for (int k = 0; k < 4; ++k) mesh.vertices[k].color = particle.colour;
        }
        UpdateDynamicMeshBuffers(&mesh);
        RenderDynamicMesh(&mesh);
    }
}

// The same corners and colours the separate draw gives, kept for the batch's end.
void Renderer::GatherParticles(const ParticleSystem& system) {
    int32_t live = 0;
    for (const Particle& particle : system.particles) live += particle.alive ? 1 : 0;
    if (live == 0) return;
    const Material* material = system.material;
    int size = 0;
    const gfx::VertexFormat format =
        MeshFormat(false, system.usesParticleColours, material != nullptr ? material->stages.Count() : 0, size);
    Vector3 right, up, back;
    camera_.GetAxes(right, up, back);
    right = IntoModelSpace(world_, right);
    up = IntoModelSpace(world_, up);
    ParticleQuad* quad = particleBatch_.Add(CurrentParticleKey(material, format), live).data();
    for (const Particle& particle : system.particles) {
        if (!particle.alive) continue;
        const float h = 0.5f * (system.usesParticleSizes ? particle.size : system.particleSize);
        const Vector3& p = particle.position;
        quad->corners[0] = p + (up - right) * h;
        quad->corners[1] = p + (up + right) * h;
        quad->corners[2] = p + (right - up) * h;
        quad->corners[3] = p - (right + up) * h;
        quad->colour = particle.colour;
        ++quad;
    }
}

// --- sprites

void Renderer::DrawSpriteTransformed(const Sprite& sprite, const Matrix4& matrix) {
    SetAlphaBlend();
    SetWorldMatrix(matrix);
    RenderMesh(sprite.quad, true);
    SetBlendOff();
}

void Renderer::DrawSprite(const Sprite& sprite) {
    Matrix4 m = ScaleXY(float(sprite.width), float(sprite.height));
    if (sprite.anchor == Sprite::kAnchorTopLeft) {
        m.Translate(Vector3(float(sprite.x), float(sprite.y), 0));
    } else if (sprite.anchor == Sprite::kAnchorCentre) {
        m.Translate(Vector3(float(sprite.x - sprite.width / 2), float(sprite.y - sprite.height / 2), 0));
    }
    // Drawn twice over itself: the interface art was made for texels blended twice.
    DrawSpriteTransformed(sprite, m);
    DrawSpriteTransformed(sprite, m);
}

void Renderer::DrawSpriteScaled(const Sprite& sprite, const Vector2& scale) {
    const Vector2 size(float(sprite.width) * scale.x, float(sprite.height) * scale.y);
    Matrix4 m = ScaleXY(size.x, size.y);
    if (sprite.anchor == Sprite::kAnchorTopLeft) {
        m.Translate(Vector3(float(sprite.x), float(sprite.y), 0));
    } else if (sprite.anchor == Sprite::kAnchorCentre) {
        m.Translate(Vector3(float(sprite.x) - size.x / 2, float(sprite.y) - size.y / 2, 0));
    }
    DrawSpriteTransformed(sprite, m);
}

void Renderer::DrawSpriteUniformScale(const Sprite& sprite, float factor) {
    DrawSpriteScaled(sprite, Vector2(factor, factor));
}

void Renderer::DrawSpriteRotated(const Sprite& sprite, const Vector2& position, const Vector2& scale, float angle,
                                 const Vector2& pivot, const Matrix4& extra) {
    const Vector2 size(float(sprite.width) * scale.x, float(sprite.height) * scale.y);
    const Vector2 half = size * 0.5f;
    Matrix4 m = ScaleXY(size.x, size.y);
    if (angle != 0.0f) {
        const Vector2 toPivot = pivot - half;
        m = Matrix4::Multiply(m, TranslationXY(toPivot.x, toPivot.y));
        m = Matrix4::Multiply(m, Matrix::RotationZ(angle));
        m = Matrix4::Multiply(m, TranslationXY(-toPivot.x, -toPivot.y));
    }
    if (sprite.anchor == Sprite::kAnchorTopLeft) {
        const Vector2 place = position + pivot;
        m = Matrix4::Multiply(m, TranslationXY(place.x, place.y));
    } else if (sprite.anchor == Sprite::kAnchorCentre) {
        const Vector2 place = position - half + pivot;
        m = Matrix4::Multiply(m, TranslationXY(place.x, place.y));
    }
    DrawSpriteTransformed(sprite, Matrix4::Multiply(m, extra));
}

void Renderer::UpdateSpriteMesh(const Sprite& sprite) { UpdateMeshBuffers(sprite.quad); }

void Renderer::DrawSpriteGrid(SpriteGrid& grid, bool drawHover) {
    for (int i = 0; i < grid.Count(); ++i) {
        if (grid.IsShown(i) && i != grid.hovered) DrawSprite(*grid.sprites[i]);
    }
    if (drawHover) DrawSpriteGridHover(grid);
}

void Renderer::DrawSpriteGridHover(SpriteGrid& grid) {
    if (grid.IsValidIndex(grid.hovered) && grid.IsShown(grid.hovered)) {
        Sprite& sprite = *grid.sprites[grid.hovered];
        const int32_t width = sprite.width, height = sprite.height;
        sprite.width = int32_t(float(width) * 1.5f);
        sprite.height = int32_t(float(height) * 1.5f);
        DrawSprite(sprite);
        sprite.width = width;
        sprite.height = height;
    }
    grid.hovered = SpriteGrid::kNoItem;
}

// --- model instances

ModelNode* Renderer::NewModelNode() {
    if (!freeNodes_.empty()) {
        ModelNode* node = freeNodes_.back();
        freeNodes_.pop_back();
        return node;
    }
    nodes_.push_back(std::make_unique<ModelNode>());
    return nodes_.back().get();
}

ModelNode* Renderer::CloneModel(const ModelNode* source, bool reuse) {
    if (source == nullptr) return nullptr;
    if (reuse) {
        auto released = freeInstances_.find(source);
        if (released != freeInstances_.end() && !released->second.empty()) {
            ModelNode* instance = released->second.back();
            released->second.pop_back();
            return instance;
        }
    }
    ModelNode* copy = NewModelNode();
    copy->name = source->name;
    copy->local = source->local;
    copy->world = source->world;
    copy->mesh = source->mesh;
    copy->source = reuse ? source : nullptr;
    copy->bounds = source->bounds;
    copy->firstChild = nullptr;
    copy->nextSibling = nullptr;
    ModelNode* previous = nullptr;
    for (const ModelNode* child = source->firstChild; child != nullptr; child = child->nextSibling) {
        ModelNode* childCopy = CloneModel(child, reuse);
        // A released instance still carries the sibling link of its last use.
        childCopy->nextSibling = nullptr;
        (previous == nullptr ? copy->firstChild : previous->nextSibling) = childCopy;
        previous = childCopy;
    }
    return copy;
}

void Renderer::RegisterModel(ModelNode* root) {
    if (root == nullptr) return;
    if (root->source == nullptr) {
        root->ResetToDefaults();
        freeNodes_.push_back(root);
        return;
    }
    freeInstances_[root->source].push_back(root);
    root->CopyPose(*root->source);
}

void Renderer::RegisterModelNodes(ModelNode* root) {
    if (root == nullptr) return;
    nodes_.emplace_back(root);
    for (ModelNode* child = root->firstChild; child != nullptr; child = child->nextSibling) {
        RegisterModelNodes(child);
    }
}

void Renderer::GetModelMeshList(const ModelNode* root, Array<MeshInstance>& list) {
    list.Clear();
    if (root != nullptr) CollectMeshes(root, Matrix4(), list);
}

void Renderer::CollectMeshes(const ModelNode* node, const Matrix4& parent, Array<MeshInstance>& list) {
    const Matrix4 world = Matrix4MultiplyAffine(node->local, parent);
    for (const ModelNode* child = node->firstChild; child != nullptr; child = child->nextSibling) {
        CollectMeshes(child, world, list);
    }
    if (node->mesh != nullptr) list.Append(MeshInstance{node->mesh, world});
}
