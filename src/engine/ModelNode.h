#pragma once
// A node of a model tree: its name, local and world matrices, at most one mesh, and its
// children as a first-child / next-sibling chain. Instances made by the renderer refer
// back to the node they were copied from (their source) and are owned by the renderer;
// a tree built with AddChild owns the children added that way.
#include <memory>
#include <vector>

#include "core/Matrix4.h"
#include "core/Sphere.h"
#include "core/String.h"
#include "core/Vector3.h"

class Mesh;

class ModelNode {
public:
    ModelNode() = default;
    explicit ModelNode(const String& nodeName) : name(nodeName) {}
    ModelNode(const ModelNode&) = delete;
    ModelNode& operator=(const ModelNode&) = delete;

    // Appends the child at the end of the sibling chain, owned by this node; returns it.
    ModelNode* AddChild(std::unique_ptr<ModelNode> child);
    // Appends a child that someone else owns (the renderer's nodes).
    void LinkChild(ModelNode* child);

    // The first node of the tree (depth first, this node first) with that name, case
    // ignored, or none.
    ModelNode* FindByName(const String& nodeName);
    // A point on the tree's surface, carried through the world matrix of the node that
    // holds it; a tree without faces answers this node's world translation.
    Vector3 GetRandomPoint() const;

    // Back to a fresh node: no name, identity matrices, no mesh, links or source. Nodes
    // that this one owned stay alive until it is destroyed.
    void ResetToDefaults();
    // Copies the matrices of a tree of the same shape, node by node.
    void CopyPose(const ModelNode& other);

    String name;
    Matrix4 local;
    Matrix4 world;
    Mesh* mesh = nullptr;  // owned by the renderer
    ModelNode* firstChild = nullptr;
    ModelNode* nextSibling = nullptr;
    const ModelNode* source = nullptr;  // the node this instance was copied from
    Sphere bounds = Sphere::Empty();    // of the mesh and the subtree, in the parent's space

private:
    std::vector<std::unique_ptr<ModelNode>> owned_;
};
