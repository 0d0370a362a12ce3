// Model tree nodes: searches, bounds, scaling, posing and blending.
#include "engine/ModelNode.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "core/MathUtil.h"
#include "core/Stream.h"
#include "engine/AnimationController.h"
#include "engine/BinaryFields.h"
#include "engine/Material.h"
#include "engine/Matrix3.h"
#include "engine/Mesh.h"
#include "engine/ModelCache.h"
#include "engine/SortedIdList.h"

namespace {

constexpr float kBlendTolerance = 0.01f;
constexpr int kBlendPasses = 10;

// The node and its subtree (not the node's own siblings).
template <class Node, class Visit>
void ForEachNode(Node* node, const Visit& visit) {
    visit(*node);
    for (Node* child = node->firstChild; child != nullptr; child = child->nextSibling) ForEachNode(child, visit);
}

Matrix3 RotationOf(const Matrix4& m) {
    Matrix3 r;
    for (int row = 0; row < 3; ++row) {
        for (int c = 0; c < 3; ++c) r.m[3 * row + c] = m.m[4 * row + c];
    }
    return r;
}

void SetRotation(Matrix4& m, const Matrix3& r) {
    for (int row = 0; row < 3; ++row) {
        for (int c = 0; c < 3; ++c) m.m[4 * row + c] = r.m[3 * row + c];
    }
}

}  // namespace

ModelNode* ModelNode::AddChild(std::unique_ptr<ModelNode> child) {
    owned_.push_back(std::move(child));
    LinkChild(owned_.back().get());
    return owned_.back().get();
}

void ModelNode::LinkChild(ModelNode* child) {
    ModelNode** link = &firstChild;
    while (*link != nullptr) link = &(*link)->nextSibling;
    *link = child;
}

// --- searches

ModelNode* ModelNode::FindByName(const String& nodeName) {
    if (String::EqualsNoCaseString(name, nodeName)) return this;
    for (ModelNode* child = firstChild; child != nullptr; child = child->nextSibling) {
        ModelNode* found = child->FindByName(nodeName);
        if (found != nullptr) return found;
    }
    return nullptr;
}

ModelNode& ModelNode::LoadedTree() const {
    const ModelNode* tree = this;
    while (tree->source != nullptr) tree = tree->source;
    // Evaluation only uses the animations' working storage.
    return const_cast<ModelNode&>(*tree);
}

const Array<PoseAnimation>& ModelNode::Animations() const { return LoadedTree().animations; }

// Key files are named after the model's title followed by the pose set, and so are
// their animations; callers know only the pose set.
int ModelNode::FindAnimation(const String& animationName) const {
    const Array<PoseAnimation>& list = Animations();
    const String& title = LoadedTree().name;
    const String prefixed = title + animationName;
    for (int i = 0; i < list.Count(); ++i) {
        if (String::EqualsNoCaseString(list[i].name, animationName)) return i;
    }
    for (int i = 0; i < list.Count(); ++i) {
        if (String::EqualsNoCaseString(list[i].name, prefixed)) return i;
    }
    return -1;
}

void ModelNode::GetMeshes(Array<Mesh*>& out) const {
    out.Clear();
    ForEachNode(this, [&out](const ModelNode& node) {
        if (node.mesh != nullptr) SortedIdList::Insert(out, node.mesh);
    });
}

void ModelNode::GetMaterials(Array<Material*>& out) const {
    out.Clear();
    Array<Mesh*> meshes;
    GetMeshes(meshes);
    Array<Material*> own;
    for (const Mesh* each : meshes) {
        each->GetMaterials(own);
        for (Material* material : own) SortedIdList::Insert(out, material);
    }
}

void ModelNode::GetMaterialsWithTexture(TextureHandle texture, Array<Material*>& out) const {
    GetMaterials(out);
    int kept = 0;
    for (Material* material : out) {
        const bool shows =
            std::any_of(material->stages.begin(), material->stages.end(),
                        [texture](const TextureStageSettings& stage) { return stage.texture == texture; });
        if (shows) out[kept++] = material;
    }
    out.SetSize(kept);
}

Material* ModelNode::GetFirstMaterial() const {
    Material* first = nullptr;
    ForEachNode(this, [&first](const ModelNode& node) {
        if (first == nullptr && node.mesh != nullptr) first = node.mesh->GetMaterial();
    });
    return first;
}

void ModelNode::RemapMaterials(const Array<Material*>& sortedOld, const Array<Material*>& replacements) {
    Array<Mesh*> meshes;
    GetMeshes(meshes);
    for (Mesh* each : meshes) each->RemapMaterials(sortedOld, replacements);
}

// --- geometry

void ModelNode::UpdateBounds(bool withMeshes) {
    bounds = Sphere::Empty();
    if (mesh != nullptr) {
        if (withMeshes) mesh->UpdateBounds();
        bounds.Merge(mesh->bounds);
    }
    for (ModelNode* child = firstChild; child != nullptr; child = child->nextSibling) {
        child->UpdateBounds(withMeshes);
        bounds.Merge(child->bounds);
    }
    if (!bounds.IsEmpty()) bounds = Sphere::Transform(local, bounds);
}

void ModelNode::AddBox(const Matrix4& parent, Box& box) const {
    const Matrix4 accumulated = Matrix4MultiplyAffine(local, parent);
    if (mesh != nullptr && !mesh->positions.IsEmpty()) box.AddBox(mesh->GetTransformedBox(accumulated));
    for (const ModelNode* child = firstChild; child != nullptr; child = child->nextSibling) {
        child->AddBox(accumulated, box);
    }
}

Box ModelNode::GetBox() const {
    Box box = Box::Empty();
    AddBox(Matrix4(), box);
    return box;
}

bool ModelNode::FindWorld(const ModelNode* node, const Matrix4& parent, bool includeNode, Matrix4& out) const {
    if (node == this) {
        out = includeNode ? Matrix4MultiplyAffine(local, parent) : parent;
        return true;
    }
    const Matrix4 accumulated = Matrix4MultiplyAffine(local, parent);
    for (const ModelNode* child = firstChild; child != nullptr; child = child->nextSibling) {
        if (child->FindWorld(node, accumulated, includeNode, out)) return true;
    }
    return false;
}

Matrix4 ModelNode::GetWorldMatrix(const ModelNode* node, bool includeNode) const {
    Matrix4 out;
    if (!FindWorld(node, Matrix4(), includeNode, out)) out.SetIdentity();
    return out;
}

void ModelNode::Flatten(const Matrix4& base, Array<ModelNode*>& out) {
    const Matrix4 accumulated = Matrix4MultiplyAffine(local, base);
    ModelNode* child = firstChild;
    while (child != nullptr) {
        ModelNode* next = child->nextSibling;
        child->Flatten(accumulated, out);
        child = next;
    }
    local = accumulated;
    firstChild = nullptr;
    nextSibling = nullptr;
    UpdateBounds(false);
    out.Append(this);
}

void ModelNode::ScaleNodes(float s) {
    ForEachNode(this, [s](ModelNode& node) {
        node.local.m[12] *= s;
        node.local.m[13] *= s;
        node.local.m[14] *= s;
        if (node.mesh != nullptr && !node.mesh->scaled) {
            Mesh& shared = *node.mesh;
            shared.Scale(s);
            shared.scaled = 1;
            if (!shared.bounds.IsEmpty())
                shared.bounds = Sphere(shared.bounds.centre * s, shared.bounds.radius * std::fabs(s));
        }
        // The keys and the tracks are in model units: both scale, or the tracks would
        // no longer pass through the keys.
        for (PoseAnimation& animation : node.animations) {
            for (PoseTrack& track : animation.tracks) {
                for (PoseTrackKey& key : track.keys) key.point = key.point * s;
            }
            for (PoseKey& key : animation.keys) {
                key.position = key.position * s;
                key.offset = key.offset * s;
            }
            if (!animation.keys.IsEmpty()) animation.Build();
        }
    });
}

void ModelNode::Scale(float s) {
    ForEachNode(this, [](ModelNode& node) {
        if (node.mesh != nullptr) node.mesh->scaled = 0;
    });
    ScaleNodes(s);
}

void ModelNode::FitToSize(float size) {
    const Box box = GetBox();
    if (!box.IsValid()) return;
    const float extent = box.MaxExtent();
    if (extent <= Tolerance) return;
    Scale(size / extent);
}

void ModelNode::Translate(const Vector3& offset) { local.Translate(offset); }

void ModelNode::RestOnGround() {
    const Box box = GetBox();
    if (box.IsValid()) Translate(Vector3(0, 0, -box.minimum.z));
}

void ModelNode::CentreAtOrigin() {
    const Box box = GetBox();
    if (box.IsValid()) Translate((box.minimum + box.maximum) * -0.5f);
}

int ModelNode::CountPositions() const {
    int count = mesh != nullptr ? mesh->positions.Count() : 0;
    for (const ModelNode* child = firstChild; child != nullptr; child = child->nextSibling) {
        count += child->CountPositions();
    }
    return count;
}

Vector3 ModelNode::GetRandomPoint() const {
    int index = RandomPick(CountPositions());
    if (index < 0) return Vector3();
    Vector3 point;
    const std::function<bool(const ModelNode&, const Matrix4&)> find = [&](const ModelNode& node,
                                                                           const Matrix4& parent) {
        const Matrix4 accumulated = Matrix4MultiplyAffine(node.local, parent);
        const int count = node.mesh != nullptr ? node.mesh->positions.Count() : 0;
        if (index < count) {
            point = TransformPoint(accumulated, node.mesh->positions[index]);
            return true;
        }
        index -= count;
        for (const ModelNode* child = node.firstChild; child != nullptr; child = child->nextSibling) {
            if (find(*child, accumulated)) return true;
        }
        return false;
    };
    find(*this, Matrix4());
    return point;
}

// --- posing

void ModelNode::ResetPose(float blend) {
    blendTime = blend;
    blendElapsed = 0.0f;
    savedPose = local;
    for (ModelNode* child = firstChild; child != nullptr; child = child->nextSibling) child->ResetPose(blend);
}

void ModelNode::StepBlend(float elapsed) {
    if (blendTime > 0.0f) {
        blendElapsed += elapsed;
        if (blendElapsed >= blendTime) {
            blendTime = 0.0f;
            blendElapsed = 0.0f;
        }
    }
    // A node the new pose leaves where it was has nothing to blend.
    if (blendTime > 0.0f && !std::equal(local.m, local.m + 15, savedPose.m)) {
        const float w = blendElapsed / blendTime;
        Matrix4 mixed = local;
        for (int i = 0; i < 16; ++i) {
            if (i % 4 != 3 && i < 15) mixed.m[i] = savedPose.m[i] * (1.0f - w) + local.m[i] * w;
        }
        Matrix3 rotation = RotationOf(mixed);
        rotation.Orthonormalize(kBlendTolerance, kBlendPasses);
        SetRotation(mixed, rotation);
        local = mixed;
    }
    for (ModelNode* child = firstChild; child != nullptr; child = child->nextSibling) child->StepBlend(elapsed);
}

// The pose's rotations are in depth-first order: this node, its children's subtrees in
// turn. A model with more nodes than the pose keeps the rest as they are.
void ModelNode::PoseFrom(const PoseKey& pose, const ModelNode& sourceNode, int& index, bool isRoot) {
    if (index < pose.rotations.Count()) {
        const Matrix3& rotation = pose.rotations[index];
        local = sourceNode.local;
        SetRotation(local, rotation);
        if (isRoot) {
            const Vector3 at = sourceNode.local.GetTranslation() + pose.offset;
            local.m[12] = at.x;
            local.m[13] = at.y;
            local.m[14] = at.z;
        }
    }
    ++index;
    const ModelNode* from = sourceNode.firstChild;
    for (ModelNode* child = firstChild; child != nullptr && from != nullptr; child = child->nextSibling) {
        child->PoseFrom(pose, *from, index, false);
        from = from->nextSibling;
    }
}

void ModelNode::ApplyAnimation(int animationIndex, const AnimationController& controller, float elapsed) {
    Array<PoseAnimation>& list = LoadedTree().animations;
    if (source != nullptr && animationIndex >= 0 && animationIndex < list.Count()) {
        const PoseKey pose = list[animationIndex].Evaluate(controller.position);
        int index = 0;
        PoseFrom(pose, *source, index, true);
    }
    StepBlend(elapsed);
}

void ModelNode::ApplyPartPose(int animationIndex, const Vector3& point, const ModelNode* part) {
    Array<PoseAnimation>& list = LoadedTree().animations;
    if (source == nullptr || part == nullptr || animationIndex < 0 || animationIndex >= list.Count()) return;
    const PoseKey pose = list[animationIndex].Evaluate(point);
    int index = 0;
    PosePartFrom(pose, *source, index, part, false);
}

void ModelNode::PosePartFrom(const PoseKey& pose, const ModelNode& sourceNode, int& index, const ModelNode* part,
                             bool inside) {
    inside = inside || this == part;
    if (inside && index < pose.rotations.Count()) {
        local = sourceNode.local;
        SetRotation(local, pose.rotations[index]);
    }
    ++index;
    const ModelNode* from = sourceNode.firstChild;
    for (ModelNode* child = firstChild; child != nullptr && from != nullptr; child = child->nextSibling) {
        child->PosePartFrom(pose, *from, index, part, inside);
        from = from->nextSibling;
    }
}

void ModelNode::CopyPose(const ModelNode& other) {
    local = other.local;
    world = other.world;
    savedPose = other.savedPose;
    blendTime = other.blendTime;
    blendElapsed = other.blendElapsed;
    const ModelNode* from = other.firstChild;
    for (ModelNode* to = firstChild; to != nullptr && from != nullptr; to = to->nextSibling) {
        to->CopyPose(*from);
        from = from->nextSibling;
    }
}

// --- the cache record

void ModelNode::WriteTree(Stream& stream, const ModelCacheIds& ids) const {
    WriteCountedString(stream, name);
    local.WriteBinary(stream);
    WriteUInt32(stream, ids.MeshId(mesh));
    for (const ModelNode* child = firstChild; child != nullptr; child = child->nextSibling) {
        WriteUInt32(stream, ids.NextNodeId());
        child->WriteTree(stream, ids);
    }
    WriteUInt32(stream, 0);
    WriteInt32(stream, animations.Count());
    for (const PoseAnimation& animation : animations) animation.WriteBinary(stream);
    bounds.WriteBinary(stream);
}

// Children are read by recursion, bounded by the depth; siblings in a loop.
bool ModelNode::ReadTree(Stream& stream, ModelCacheReader& reader, int depth) {
    name = ReadCountedString(stream);
    for (float& value : local.m) value = ReadFloat(stream);
    world = local;
    reader.NoteMesh(this, ReadUInt32(stream));
    ModelNode** link = &firstChild;
    for (uint32_t id = ReadUInt32(stream); id != 0 && !stream.HasError(); id = ReadUInt32(stream)) {
        ModelNode* child = depth < kMaxTreeDepth ? reader.NewNode() : nullptr;
        if (child == nullptr || !child->ReadTree(stream, reader, depth + 1)) {
            stream.SetError();
            return false;
        }
        *link = child;
        link = &child->nextSibling;
    }
    for (int32_t n = ReadCount(stream, kMaxAnimations); n > 0 && !stream.HasError(); --n) {
        PoseAnimation animation;
        animation.ReadBinary(stream);
        if (!stream.HasError()) animations.Append(animation);
    }
    const float sphere[4] = {ReadFloat(stream), ReadFloat(stream), ReadFloat(stream), ReadFloat(stream)};
    bounds = Sphere(Vector3(sphere[0], sphere[1], sphere[2]), sphere[3]);
    return !stream.HasError();
}

void ModelNode::ResetToDefaults() {
    name.Clear();
    local.SetIdentity();
    world.SetIdentity();
    mesh = nullptr;
    firstChild = nullptr;
    nextSibling = nullptr;
    source = nullptr;
    savedPose.SetIdentity();
    blendTime = 0.0f;
    blendElapsed = 0.0f;
    bounds = Sphere::Empty();
    animations.Clear();
}
