#pragma once
// A node of a model tree: its name, local and world matrices, at most one mesh, and its
// children as a first-child / next-sibling chain. Instances made by the renderer refer
// back to the node they were copied from (their source), which lends them its pose
// animations; nodes are owned by the renderer, except that a tree built with AddChild
// owns the children added that way.
#include <cstdint>
#include <memory>
#include <vector>

#include "core/Array.h"
#include "core/Box.h"
#include "core/Matrix4.h"
#include "core/Sphere.h"
#include "core/String.h"
#include "core/Vector3.h"
#include "engine/PoseAnimation.h"
#include "engine/TextureHandle.h"

class AnimationController;
class Material;
class Mesh;
class ModelCacheIds;
class ModelCacheReader;
class Stream;

class ModelNode {
public:
    // A stored tree deeper than this, or a node with more animations, is damage.
    static constexpr int kMaxTreeDepth = 256;
    static constexpr int32_t kMaxAnimations = 256;

    ModelNode() = default;
    explicit ModelNode(const String& nodeName) : name(nodeName) {}
    ModelNode(const ModelNode&) = delete;
    ModelNode& operator=(const ModelNode&) = delete;

    // Appends the child at the end of the sibling chain, owned by this node; returns it.
    ModelNode* AddChild(std::unique_ptr<ModelNode> child);
    // Appends a child that someone else owns (the renderer's nodes).
    void LinkChild(ModelNode* child);

    // --- searches
    // The first node of the tree (depth first, this node first) with that name, case
    // ignored, or none.
    ModelNode* FindByName(const String& nodeName);
    // The animations of the loaded tree an instance was made from (through any instances
    // in between: a unit's body is an instance of its chassis' instance), else the node's own.
    const Array<PoseAnimation>& Animations() const;
    // The first animation named so, case ignored: by its full name ("KorrinSwim") or by
    // its pose-set name ("Swim"), the full name less the model's title; -1 when none.
    int FindAnimation(const String& animationName) const;
    // Distinct meshes and materials of the whole tree, ascending by address.
    void GetMeshes(Array<Mesh*>& out) const;
    void GetMaterials(Array<Material*>& out) const;
    void GetMaterialsWithTexture(TextureHandle texture, Array<Material*>& out) const;
    // The first mesh material met depth first, or none.
    Material* GetFirstMaterial() const;
    void RemapMaterials(const Array<Material*>& sortedOld, const Array<Material*>& replacements);

    // --- geometry
    // Recomputes the spheres bottom-up (optionally the meshes' own first), each in its
    // parent's space.
    void UpdateBounds(bool withMeshes);
    // The tree's box through the accumulated matrices; Box::Empty for a tree without
    // positions.
    Box GetBox() const;
    // The accumulated matrix of a node of this tree (its own local matrix only when
    // asked for); the identity when the node is not in the tree.
    Matrix4 GetWorldMatrix(const ModelNode* node, bool includeNode) const;
    // Every node's local matrix becomes its accumulated one (under the base), the links
    // are cut, and the nodes come out children first.
    void Flatten(const Matrix4& base, Array<ModelNode*>& out);
    // Translations and meshes scaled by s (a mesh shared by several nodes once), and
    // the points of the animations' tracks with them.
    void Scale(float s);
    // Scales the tree so that its box's largest side is `size`.
    void FitToSize(float size);
    // Moves the tree so that its lowest point lies on z = 0 / its box's centre at the
    // origin.
    void RestOnGround();
    void CentreAtOrigin();
    int CountPositions() const;
    // A mesh position of the tree, drawn with the game's generator, through the
    // accumulated matrix of its node; (0, 0, 0) for a tree without positions.
    Vector3 GetRandomPoint() const;

    // --- posing
    // For the whole tree: blend over the time from the current local matrices.
    void ResetPose(float blend);
    void ClearPose() { ResetPose(0.0f); }
    // Poses an instance from its source's animation at the controller's position, then
    // steps the blend by the elapsed time.
    void ApplyAnimation(int animationIndex, const AnimationController& controller, float elapsed);
    // Poses only the subtree under `part` (a node of this instance tree) from the
    // source's animation at the point; the other nodes keep their pose.
    void ApplyPartPose(int animationIndex, const Vector3& point, const ModelNode* part);
    // Copies the matrices and pose fields of a tree of the same shape, node by node.
    void CopyPose(const ModelNode& other);

    // --- the node record of the model cache
    void WriteTree(Stream& stream, const ModelCacheIds& ids) const;
    // False on a damaged record (the stream's error flag is then set too).
    bool ReadTree(Stream& stream, ModelCacheReader& reader, int depth);

    // Back to a fresh node: no name, identity matrices, no mesh, links, source or
    // animations. Nodes that this one owned stay alive until it is destroyed.
    void ResetToDefaults();

    String name;
    Matrix4 local;
    Matrix4 world;
    Mesh* mesh = nullptr;  // owned by the renderer
    ModelNode* firstChild = nullptr;
    ModelNode* nextSibling = nullptr;
    const ModelNode* source = nullptr;  // the node this instance was copied from
    Matrix4 savedPose;                  // the local matrix when the blend began
    float blendTime = 0.0f;
    float blendElapsed = 0.0f;
    Sphere bounds = Sphere::Empty();  // of the mesh and the subtree, in the parent's space
    Array<PoseAnimation> animations;

private:
    // The node at the end of the source chain: the loaded tree, which holds the animations.
    ModelNode& LoadedTree() const;
    void StepBlend(float elapsed);
    void PoseFrom(const PoseKey& pose, const ModelNode& sourceNode, int& index, bool isRoot);
    void PosePartFrom(const PoseKey& pose, const ModelNode& sourceNode, int& index, const ModelNode* part, bool inside);
    void AddBox(const Matrix4& parent, Box& box) const;
    bool FindWorld(const ModelNode* node, const Matrix4& parent, bool includeNode, Matrix4& out) const;
    void ScaleNodes(float s);
    void Translate(const Vector3& offset);

    std::vector<std::unique_ptr<ModelNode>> owned_;
};
