// Model tree nodes.
#include "engine/ModelNode.h"

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

ModelNode* ModelNode::FindByName(const String& nodeName) {
    if (String::EqualsNoCaseString(name, nodeName)) return this;
    for (ModelNode* child = firstChild; child != nullptr; child = child->nextSibling) {
        ModelNode* found = child->FindByName(nodeName);
        if (found != nullptr) return found;
    }
    return nullptr;
}

Vector3 ModelNode::GetRandomPoint() const { return world.GetTranslation(); }

void ModelNode::ResetToDefaults() {
    name.Clear();
    local.SetIdentity();
    world.SetIdentity();
    mesh = nullptr;
    firstChild = nullptr;
    nextSibling = nullptr;
    source = nullptr;
    bounds = Sphere::Empty();
}

void ModelNode::CopyPose(const ModelNode& other) {
    local = other.local;
    world = other.world;
    const ModelNode* from = other.firstChild;
    for (ModelNode* to = firstChild; to != nullptr && from != nullptr; to = to->nextSibling) {
        to->CopyPose(*from);
        from = from->nextSibling;
    }
}
