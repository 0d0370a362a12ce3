#include "ActorModel.h"

#include <algorithm>

namespace assetgen {
namespace {

void Collect(const ActorNode& node, std::vector<const ActorNode*>& out) {
    out.push_back(&node);
    for (const ActorNode& child : node.children) Collect(child, out);
}

void Grow(const ActorModel& model, const ActorNode& node, V3 at, V3& low, V3& high) {
    const V3 here = at + node.offset;
    if (const auto it = model.meshes.find(node.mesh); !node.mesh.empty() && it != model.meshes.end()) {
        for (const MeshVertex& v : it->second.mesh.vertices) {
            const V3 p = v.position + here;
            low = {std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
            high = {std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
        }
    }
    for (const ActorNode& child : node.children) Grow(model, child, here, low, high);
}

}  // namespace

std::vector<const ActorNode*> ActorModel::NodesInOrder(ActorNode& rootHolder) const {
    rootHolder = ActorNode{title, rootMesh, {}, roots};
    std::vector<const ActorNode*> out;
    Collect(rootHolder, out);
    return out;
}

void ActorModel::Bounds(V3& low, V3& high) const {
    low = {1e30f, 1e30f, 1e30f};
    high = {-1e30f, -1e30f, -1e30f};
    Grow(*this, ActorNode{title, rootMesh, {}, roots}, {}, low, high);
}

}  // namespace assetgen
