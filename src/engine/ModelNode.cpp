// A node of a model tree.
#include "engine/ModelNode.h"

ModelNode* ModelNode::AddChild(std::unique_ptr<ModelNode> child) {
    children_.push_back(std::move(child));
    return children_.back().get();
}

ModelNode* ModelNode::FindByName(const String& nodeName) {
    if (name == nodeName) return this;
    for (const std::unique_ptr<ModelNode>& child : children_) {
        ModelNode* found = child->FindByName(nodeName);
        if (found != nullptr) return found;
    }
    return nullptr;
}

Vector3 ModelNode::GetRandomPoint() const { return world.GetTranslation(); }
