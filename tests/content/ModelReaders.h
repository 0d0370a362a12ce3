#pragma once
// Small readers of the model files for the data set's checks, written from the file
// formats alone so that they check the files, not the generator's memory.
#include <map>
#include <string>
#include <vector>

#include "MeshBuilder.h"

namespace content_test {

// A painted OBJ: positions turned back from the file's (y, z, x) order.
struct ObjModel {
    assetgen::TriMesh mesh;
    int positions = 0;
    int faces = 0;
    bool onlyKnownStatements = true;  // v, vt, vn, f with three corners
};
bool ReadObj(const std::string& path, ObjModel& model);

struct ActNode {
    std::string name;
    std::string mesh;
    assetgen::V3 offset;
    std::vector<std::string> children;
};

struct ActFile {
    std::vector<std::string> meshes;                                         // mesh blocks, in order
    std::map<std::string, ActNode> actors;                                   // by name; the root is "*"
    std::vector<std::pair<std::string, std::vector<std::string>>> poseSets;  // name, tracks
    // Node names depth-first from the root (the root itself first).
    std::vector<std::string> NodesInOrder() const;
};
bool ReadAct(const std::string& path, ActFile& act);

struct KeyFile {
    int keys = 0;
    int models = 0;
    int numbers = 0;  // numbers after the header
};
bool ReadKey(const std::string& path, KeyFile& key);

struct PppFile {
    std::string track;
    int count = 0;
};
bool ReadPpp(const std::string& path, PppFile& ppp);

}  // namespace content_test
