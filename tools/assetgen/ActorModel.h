#pragma once
// A model assembled from named painted meshes: a tree of nodes (each with an optional
// mesh and an offset from its parent) and pose sets that animate it. Written as an ".act"
// file beside one painted OBJ per mesh, a ".key" file per pose set and a ".ppp" file
// per track.
#include <map>
#include <string>
#include <vector>

#include "MeshBuilder.h"

namespace assetgen {

struct PaintedMesh {
    TriMesh mesh;
    Image texture;  // at most 64 pixels wide
};

struct ActorNode {
    std::string name;
    std::string mesh;  // empty for none
    V3 offset;
    std::vector<ActorNode> children;
};

struct NodeTurn {
    std::string node;
    V3 axis;
    float degrees = 0;
};

struct PoseKey {
    V3 point;                     // where the key sits in the model's own space
    V3 offset;                    // displacement of the whole model
    std::vector<NodeTurn> turns;  // nodes not listed keep their rest pose
};

struct PoseSet {
    std::string name;
    std::vector<std::string> tracks;  // each track walks the keys in order
    std::vector<PoseKey> keys;
    float seconds = 1;  // time to walk all keys
};

struct ActorModel {
    std::string title;  // file title: "RobotSmall"
    std::map<std::string, PaintedMesh> meshes;
    std::string rootMesh;          // the root actor's own mesh, empty for none
    std::vector<ActorNode> roots;  // children of the file's root actor
    std::vector<PoseSet> poseSets;

    // Nodes in depth-first order, the root actor first (its name is the title).
    std::vector<const ActorNode*> NodesInOrder(ActorNode& rootHolder) const;
    // Bounding box of every mesh placed by its node's accumulated offset.
    void Bounds(V3& low, V3& high) const;
};

}  // namespace assetgen
