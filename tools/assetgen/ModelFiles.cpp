#include "ModelFiles.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "BmpFile.h"
#include "LittleEndian.h"
#include "Output.h"

namespace assetgen {
namespace {

std::string Num(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", std::fabs(value) < 1e-7f ? 0.0f : value);
    return text;
}

std::string Triple(V3 v) { return Num(v.x) + " " + Num(v.y) + " " + Num(v.z); }

using Matrix3 = std::array<std::array<float, 3>, 3>;

// Column-vector rotation about a unit axis.
Matrix3 Rotation(V3 axis, float degrees) {
    const V3 k = Normalised(axis);
    const float a = degrees * float(M_PI) / 180, c = std::cos(a), s = std::sin(a), t = 1 - c;
    return {{{c + k.x * k.x * t, k.x * k.y * t - k.z * s, k.x * k.z * t + k.y * s},
             {k.y * k.x * t + k.z * s, c + k.y * k.y * t, k.y * k.z * t - k.x * s},
             {k.z * k.x * t - k.y * s, k.z * k.y * t + k.x * s, c + k.z * k.z * t}}};
}

Matrix3 Multiply(const Matrix3& a, const Matrix3& b) {
    Matrix3 r{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            for (int k = 0; k < 3; ++k) r[i][j] += a[i][k] * b[k][j];
    return r;
}

// Key files describe poses in a space whose axes are the model's (y, z, -x), scaled by the
// model's largest side and lifted by its lowest point; these turn model values into it.
constexpr Matrix3 kToKeyAxes = {{{0, 1, 0}, {0, 0, 1}, {-1, 0, 0}}};
constexpr Matrix3 kFromKeyAxes = {{{0, 0, -1}, {1, 0, 0}, {0, 1, 0}}};

struct KeySpace {
    float side = 1;
    float lowest = 0;

    V3 ToKey(V3 model) const {
        const V3 m = model - V3{0, 0, lowest};
        return V3{m.y, m.z, -m.x} * (1 / side);
    }
};

KeySpace MeasureKeySpace(const ActorModel& model) {
    V3 low, high;
    model.Bounds(low, high);
    KeySpace space;
    space.side = std::max({high.x - low.x, high.y - low.y, high.z - low.z, 1e-6f});
    space.lowest = low.z;
    return space;
}

void AppendActor(const ActorNode& node, std::string& out) {
    for (const ActorNode& child : node.children) AppendActor(child, out);
    if (node.mesh.empty() && node.children.empty())
        throw std::logic_error("node " + node.name + " has neither mesh nor children");
    out += "actor " + node.name + " {\n";
    if (!node.mesh.empty()) out += "  mesh " + node.mesh + "\n";
    if (node.offset.x != 0 || node.offset.y != 0 || node.offset.z != 0)
        out += "  translate " + Triple(node.offset) + "\n";
    if (!node.children.empty()) {
        out += "  child ";
        for (std::size_t i = 0; i < node.children.size(); ++i)
            out += node.children[i].name + (i + 1 < node.children.size() ? ", " : "\n");
    }
    out += "}\n";
}

void PutFloat(std::string& out, float value) {
    uint32_t bits = 0;
    std::memcpy(&bits, &value, 4);
    Put32(out, bits);
}

}  // namespace

std::string ObjText(const TriMesh& mesh) {
    std::string out;
    for (const MeshVertex& v : mesh.vertices)
        out += "v " + Num(v.position.y) + " " + Num(v.position.z) + " " + Num(v.position.x) + "\n";
    for (const MeshVertex& v : mesh.vertices) out += "vt " + Num(v.u) + " " + Num(1 - v.v) + "\n";
    for (const MeshVertex& v : mesh.vertices)
        out += "vn " + Num(v.normal.y) + " " + Num(v.normal.z) + " " + Num(v.normal.x) + "\n";
    for (const auto& t : mesh.triangles) {
        // The game's front faces turn the other way round from ours.
        out += "f";
        for (int corner : {t[0], t[2], t[1]}) {
            const std::string i = std::to_string(corner + 1);
            out += " " + i + "/" + i + "/" + i;
        }
        out += "\n";
    }
    return out;
}

void WritePaintedMesh(Output& output, const std::string& folder, const std::string& name, const PaintedMesh& mesh) {
    const std::string base = folder + "/" + name + "_c_painted.";
    output.Write(base + "obj", ObjText(mesh.mesh));
    // The bitmap is the texture's source: a model without one is never read from its cache.
    output.Write(base + "bmp", EncodeBmp(mesh.texture));
    output.WriteImage(base + "tga", mesh.texture);
    // The game converts a bitmap that is not older than its TGA; dated before it, the TGA
    // written here is drawn as it stands.
    output.DateBefore(base + "bmp", base + "tga");
}

std::string ActText(const ActorModel& model) {
    std::string out;
    for (const auto& [name, mesh] : model.meshes) out += "mesh " + name + " {\n}\n";
    for (const ActorNode& node : model.roots) AppendActor(node, out);
    out += "actor * {\n";
    if (!model.rootMesh.empty()) out += "  mesh " + model.rootMesh + "\n";
    if (!model.roots.empty()) {
        out += "  child ";
        for (std::size_t i = 0; i < model.roots.size(); ++i)
            out += model.roots[i].name + (i + 1 < model.roots.size() ? ", " : "\n");
    }
    for (const PoseSet& set : model.poseSets) {
        out += "  poseset " + set.name;
        for (const std::string& track : set.tracks) out += ", " + track;
        out += "\n";
    }
    out += "}\n";
    return out;
}

std::string KeyText(const ActorModel& model, const PoseSet& set) {
    const KeySpace space = MeasureKeySpace(model);
    ActorNode holder;
    const std::vector<const ActorNode*> nodes = model.NodesInOrder(holder);
    std::string out = "keys " + set.name + "\nballs " + std::to_string(set.keys.size()) + "\nmodels " +
                      std::to_string(nodes.size()) + "\n";
    for (const PoseKey& key : set.keys) {
        out += Triple(space.ToKey(key.point)) + "\n";
        for (std::size_t n = 0; n < nodes.size(); ++n) {
            Matrix3 turn = Rotation({0, 0, 1}, 0);
            for (const NodeTurn& t : key.turns)
                if (t.node == nodes[n]->name) turn = Multiply(Rotation(t.axis, t.degrees), turn);
            const Matrix3 inKeyAxes = Multiply(Multiply(kToKeyAxes, turn), kFromKeyAxes);
            // Rows of the row-vector matrix are the columns of the column-vector one.
            for (int row = 0; row < 3; ++row)
                out += Num(inKeyAxes[0][row]) + " " + Num(inKeyAxes[1][row]) + " " + Num(inKeyAxes[2][row]) + " 0\n";
            // The reader adds the lowest point back to the first translation.
            const V3 move = n == 0 ? space.ToKey(key.offset) : V3{};
            out += Triple(move) + " 1\n";
        }
    }
    return out;
}

std::string PppBytes(const PoseSet& set, const std::string& track) {
    std::string out;
    Put32(out, uint32_t(track.size() + 1));
    out += track;
    out += '\0';
    Put32(out, uint32_t(set.keys.size()));
    const float step = set.keys.size() > 1 ? set.seconds / float(set.keys.size() - 1) : set.seconds;
    for (std::size_t i = 0; i < set.keys.size(); ++i) {
        PutFloat(out, set.keys[i].point.x);
        PutFloat(out, set.keys[i].point.y);
        PutFloat(out, set.keys[i].point.z);
        PutFloat(out, i == 0 ? 0.0f : step);
    }
    return out;
}

void WriteActor(Output& output, const std::string& folder, const ActorModel& model) {
    for (const auto& [name, mesh] : model.meshes) WritePaintedMesh(output, folder, name, mesh);
    output.Write(folder + "/" + model.title + ".act", ActText(model));
    for (const PoseSet& set : model.poseSets) {
        const std::string base = folder + "/" + model.title + set.name;
        output.Write(base + ".key", KeyText(model, set));
        for (const std::string& track : set.tracks) output.Write(base + track + ".ppp", PppBytes(set, track));
    }
}

std::string An8Sphere(const std::string& name, float radius) {
    return "header {\n  version { \"0.95\" }\n  build { \"assetgen\" }\n}\nobject { \"" + name +
           "\"\n  sphere {\n    name { \"" + name + "\" }\n    diameter { " + Num(2 * radius) +
           " }\n    longlat { 16 8 }\n  }\n}\n";
}

std::string An8Cylinder(const std::string& name, float radius, float length) {
    return "header {\n  version { \"0.95\" }\n  build { \"assetgen\" }\n}\nobject { \"" + name +
           "\"\n  cylinder {\n    name { \"" + name + "\" }\n    length { " + Num(length) + " }\n    diameter { " +
           Num(2 * radius) + " }\n    longlat { 16 1 }\n    capstart { }\n    capend { }\n  }\n}\n";
}

}  // namespace assetgen
