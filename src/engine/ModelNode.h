#pragma once
// A node of a model tree: its name, its local and world matrices and its children. The
// nodes of a tree own their children.
#include <memory>
#include <vector>

#include "core/Matrix4.h"
#include "core/String.h"
#include "core/Vector3.h"

class ModelNode {
public:
    ModelNode() = default;
    explicit ModelNode(const String& nodeName) : name(nodeName) {}
    ModelNode(const ModelNode&) = delete;
    ModelNode& operator=(const ModelNode&) = delete;

    // Appends the child and returns it.
    ModelNode* AddChild(std::unique_ptr<ModelNode> child);
    int ChildCount() const { return static_cast<int>(children_.size()); }
    ModelNode* Child(int i) const { return children_[static_cast<size_t>(i)].get(); }

    // The first node of the tree (depth first, this node first) with that name, or none.
    ModelNode* FindByName(const String& nodeName);
    // A point on the tree's surface, carried through the world matrix of the node that
    // holds it; a tree without faces answers this node's world translation.
    Vector3 GetRandomPoint() const;

    String name;
    Matrix4 local;
    Matrix4 world;

private:
    std::vector<std::unique_ptr<ModelNode>> children_;
};
