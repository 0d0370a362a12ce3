#include "ModelReaders.h"

#include <cstdint>
#include <cstring>
#include <fstream>
#include <functional>
#include <sstream>

namespace content_test {

using assetgen::V3;

bool ReadObj(const std::string& path, ObjModel& model) {
    std::ifstream in(path);
    if (!in) return false;
    std::vector<V3> positions;
    std::vector<std::pair<float, float>> uvs;
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string kind;
        words >> kind;
        if (kind == "v") {
            V3 p;
            words >> p.y >> p.z >> p.x;
            positions.push_back(p);
        } else if (kind == "vt") {
            float u = 0, v = 0;
            words >> u >> v;
            uvs.push_back({u, 1 - v});
        } else if (kind == "vn") {
        } else if (kind == "f") {
            std::array<int, 3> corners{};
            std::string corner;
            int n = 0;
            while (words >> corner) {
                if (n == 3) {
                    model.onlyKnownStatements = false;
                    break;
                }
                const int position = std::stoi(corner) - 1;
                const std::size_t slash = corner.find('/');
                const int uv = slash == std::string::npos ? -1 : std::stoi(corner.substr(slash + 1)) - 1;
                if (position < 0 || position >= int(positions.size())) return false;
                assetgen::MeshVertex vertex;
                vertex.position = positions[position];
                if (uv >= 0 && uv < int(uvs.size())) vertex.u = uvs[uv].first, vertex.v = uvs[uv].second;
                model.mesh.vertices.push_back(vertex);
                corners[n++] = int(model.mesh.vertices.size()) - 1;
            }
            if (n != 3)
                model.onlyKnownStatements = false;
            else
                model.mesh.triangles.push_back(corners);
        } else if (!kind.empty()) {
            model.onlyKnownStatements = false;
        }
    }
    model.positions = int(positions.size());
    model.faces = int(model.mesh.triangles.size());
    return true;
}

namespace {

// A name list: every token but the last ends with a comma.
std::vector<std::string> NameList(std::istream& in) {
    std::vector<std::string> names;
    std::string token;
    while (in >> token) {
        const bool more = token.back() == ',';
        if (more) token.pop_back();
        names.push_back(token);
        if (!more) break;
    }
    return names;
}

}  // namespace

bool ReadAct(const std::string& path, ActFile& act) {
    std::ifstream in(path);
    if (!in) return false;
    std::string token;
    while (in >> token) {
        if (token != "mesh" && token != "actor") continue;
        const bool isMesh = token == "mesh";
        std::string name, brace;
        in >> name >> brace;
        if (brace != "{") return false;
        ActNode node{name, "", {}, {}};
        for (in >> token; in && token != "}"; in >> token) {
            if (token == "mesh") {
                in >> node.mesh;
            } else if (token == "translate") {
                in >> node.offset.x >> node.offset.y >> node.offset.z;
            } else if (token == "child") {
                node.children = NameList(in);
            } else if (token == "poseset") {
                const std::vector<std::string> list = NameList(in);
                if (list.empty()) return false;
                act.poseSets.push_back({list[0], std::vector<std::string>(list.begin() + 1, list.end())});
            }
        }
        if (token != "}") return false;
        if (isMesh)
            act.meshes.push_back(name);
        else
            act.actors[name] = node;
    }
    return act.actors.count("*") == 1;
}

std::vector<std::string> ActFile::NodesInOrder() const {
    std::vector<std::string> out;
    std::function<void(const std::string&)> visit = [&](const std::string& name) {
        out.push_back(name);
        const auto it = actors.find(name);
        if (it == actors.end()) return;
        for (const std::string& child : it->second.children) visit(child);
    };
    visit("*");
    return out;
}

bool ReadKey(const std::string& path, KeyFile& key) {
    std::ifstream in(path);
    if (!in) return false;
    std::string token;
    while (in >> token && token != "balls") {
    }
    in >> key.keys;
    while (in >> token && token != "models") {
    }
    in >> key.models;
    float number = 0;
    while (in >> number) ++key.numbers;
    return key.keys > 0 && key.models > 0;
}

bool ReadPpp(const std::string& path, PppFile& ppp) {
    std::ifstream in(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    auto read32 = [&](std::size_t at, uint32_t& value) {
        if (at + 4 > bytes.size()) return false;
        std::memcpy(&value, bytes.data() + at, 4);
        return true;
    };
    uint32_t length = 0, count = 0;
    if (!read32(0, length) || length == 0 || 4 + length > bytes.size()) return false;
    if (bytes[4 + length - 1] != '\0') return false;
    ppp.track = bytes.substr(4, length - 1);
    if (!read32(4 + length, count)) return false;
    ppp.count = int(count);
    return bytes.size() == 8 + length + std::size_t(count) * 16;
}

}  // namespace content_test
