// Welding, face adjacency and smooth normals: how a loaded mesh is finished.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <numeric>
#include <unordered_map>
#include <vector>

#include "core/MathUtil.h"
#include "engine/Mesh.h"

namespace {

// A key that orders floats as their values do, with 0 and -0 equal and every NaN after
// all numbers, so that sorting stays a strict weak order whatever a file held.
int64_t OrderKey(float value) {
    if (value == 0.0f) return 0;
    if (std::isnan(value)) return INT64_MAX;
    int32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits < 0 ? -int64_t(bits & 0x7FFFFFFF) : int64_t(bits);
}

int CompareFloats(float a, float b) {
    const int64_t ka = OrderKey(a);
    const int64_t kb = OrderKey(b);
    return ka < kb ? -1 : ka > kb ? 1 : 0;
}

int ComparePositions(const Vector3& a, const Vector3& b) {
    if (const int c = CompareFloats(a.x, b.x)) return c;
    if (const int c = CompareFloats(a.y, b.y)) return c;
    return CompareFloats(a.z, b.z);
}

int CompareVertices(const Mesh& mesh, const MeshVertex& a, const MeshVertex& b) {
    const int pa = mesh.PositionIndex(a.position);
    const int pb = mesh.PositionIndex(b.position);
    if (pa != pb) return pa < pb ? -1 : 1;
    if (const int c = ComparePositions(a.normal, b.normal)) return c;
    const uint8_t ca[4] = {a.color.Red(), a.color.Green(), a.color.Blue(), a.color.Alpha()};
    const uint8_t cb[4] = {b.color.Red(), b.color.Green(), b.color.Blue(), b.color.Alpha()};
    if (const int c = std::memcmp(ca, cb, 4)) return c < 0 ? -1 : 1;
    if (a.texCoords.Count() != b.texCoords.Count()) {
        return a.texCoords.Count() < b.texCoords.Count() ? -1 : 1;
    }
    for (int i = 0; i < a.texCoords.Count(); ++i) {
        if (const int c = CompareFloats(a.texCoords[i].x, b.texCoords[i].x)) return c;
        if (const int c = CompareFloats(a.texCoords[i].y, b.texCoords[i].y)) return c;
    }
    return 0;
}

bool TexCoordsNearlyEqual(const Vector2Array& a, const Vector2Array& b) {
    if (a.Count() != b.Count()) return false;
    for (int i = 0; i < a.Count(); ++i) {
        if (std::fabs(a[i].x - b[i].x) > Tolerance || std::fabs(a[i].y - b[i].y) > Tolerance) {
            return false;
        }
    }
    return true;
}

bool VerticesEqual(const MeshVertex& a, const MeshVertex& b) {
    return a.position == b.position && VectorsNearlyEqual(a.normal, b.normal) && a.color == b.color &&
           TexCoordsNearlyEqual(a.texCoords, b.texCoords);
}

// The representative of every element: the first of its run of equal elements in
// sorted order. `compare` orders exactly; `equal` decides whether a run goes on.
template <class Compare, class Equal>
std::vector<int> Representatives(int count, Compare compare, Equal equal) {
    std::vector<int> order(static_cast<size_t>(count));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return compare(a, b) < 0; });
    std::vector<int> representative(static_cast<size_t>(count));
    int run = -1;
    for (int index : order) {
        if (run < 0 || !equal(run, index)) run = index;
        representative[size_t(index)] = run;
    }
    return representative;
}

// New indices of the kept elements (their own representatives) in their old order; -1
// for the dropped ones. Returns the kept count.
int NumberKept(const std::vector<int>& representative, std::vector<int>& newIndex) {
    newIndex.assign(representative.size(), -1);
    int kept = 0;
    for (size_t i = 0; i < representative.size(); ++i) {
        if (representative[i] == int(i)) newIndex[i] = kept++;
    }
    return kept;
}

// Lists of ascending indices per slot, no repeats, built by appending in ascending order.
struct IndexLists {
    std::vector<std::vector<int>> lists;

    explicit IndexLists(int slots) : lists(size_t(slots)) {}
    void Add(int slot, int value) {
        std::vector<int>& list = lists[size_t(slot)];
        if (list.empty() || list.back() != value) list.push_back(value);
    }
    const std::vector<int>& operator[](int slot) const { return lists[size_t(slot)]; }
};

int CornerPosition(const Mesh& mesh, const MeshFace& face, int corner) {
    const MeshVertex* vertex = face.corners[corner];
    return vertex == nullptr ? -1 : mesh.PositionIndex(vertex->position);
}

float AngleBetween(const Vector3& a, const Vector3& b) { return std::acos(std::clamp(a.Dot(b), -1.0f, 1.0f)); }

Vector3 NormalizedUnlessShort(Vector3 v) {
    if (v.Length() > Tolerance) v.Normalize();
    return v;
}

// The working lists of the normal computation, all by position or face index.
struct NormalWork {
    IndexLists facesAt;
    IndexLists verticesAt;
    std::vector<std::vector<int>> acrossHardEdges;  // per face

    explicit NormalWork(const Mesh& mesh)
        : facesAt(mesh.positions.Count()),
          verticesAt(mesh.positions.Count()),
          acrossHardEdges(size_t(mesh.faces.Count())) {}
};

void AddUnique(std::vector<int>& list, int value) {
    if (std::find(list.begin(), list.end(), value) == list.end()) list.push_back(value);
}

// Smoothing groups at one position that must split, grown across smooth neighbour links
// and never across an explicit edge; vertices used by several groups are split.
class PositionSplitter {
public:
    PositionSplitter(Mesh& mesh, const NormalWork& work, int position, float creaseAngle)
        : mesh_(mesh),
          work_(work),
          position_(position),
          creaseAngle_(creaseAngle),
          faces_(work.facesAt[position]),
          group_(faces_.size(), -1) {}

    void Split() {
        for (size_t i = 0; i < faces_.size(); ++i) {
            if (group_[i] < 0) GrowGroup(int(i));
        }
        SplitVertices();
    }

private:
    const MeshFace& FaceAt(int slot) const { return mesh_.faces[faces_[size_t(slot)]]; }

    bool Smooth(int a, int b) const {
        const Vector3& na = FaceAt(a).normal;
        const Vector3& nb = FaceAt(b).normal;
        return !na.IsNearZero() && !nb.IsNearZero() && AngleBetween(na, nb) <= creaseAngle_;
    }

    // The slots of the face's neighbours that meet at this position, ascending: only
    // they can join the face's group, so the growth need not look at any other face.
    std::vector<int> NeighbourSlots(int slot) const {
        std::vector<int> slots;
        for (const MeshFace* neighbour : FaceAt(slot).neighbours) {
            if (neighbour == nullptr) continue;
            const auto found = std::lower_bound(faces_.begin(), faces_.end(), mesh_.FaceIndex(neighbour));
            if (found != faces_.end() && *found == mesh_.FaceIndex(neighbour)) {
                slots.push_back(int(found - faces_.begin()));
            }
        }
        std::sort(slots.begin(), slots.end());
        slots.erase(std::unique(slots.begin(), slots.end()), slots.end());
        return slots;
    }

    void Join(int slot, int group, std::vector<int>& excluded) {
        group_[size_t(slot)] = group;
        groupFaces_[group].push_back(slot);
        const int face = faces_[size_t(slot)];
        for (int other : work_.acrossHardEdges[size_t(face)]) AddUnique(excluded, other);
        const int corner = FaceAt(slot).IndexOfPosition(&mesh_.positions[position_]);
        if (corner < 0) return;
        const int vertex = mesh_.VertexIndex(FaceAt(slot).corners[corner]);
        std::vector<int>& groups = vertexGroups_[vertex];
        if (std::find(groups.begin(), groups.end(), group) == groups.end()) {
            groups.push_back(group);
            if (groups.size() == 1) groupedVertices_.push_back(vertex);
        }
    }

    bool CanJoin(int current, int slot, const std::vector<int>& excluded) const {
        if (group_[size_t(slot)] >= 0 || !Smooth(current, slot)) return false;
        return std::find(excluded.begin(), excluded.end(), faces_[size_t(slot)]) == excluded.end();
    }

    // Depth first, as a recursion would go: each face takes its candidates in list order
    // and descends into one that joins before looking at the next. The order matters
    // because joined faces exclude the faces across their explicit edges.
    void GrowGroup(int first) {
        struct Step {
            int slot;
            std::vector<int> candidates;
            size_t next = 0;
        };
        const int group = first;
        std::vector<int> excluded = work_.acrossHardEdges[size_t(faces_[size_t(first)])];
        Join(first, group, excluded);
        std::vector<Step> stack;
        stack.push_back({first, NeighbourSlots(first)});
        while (!stack.empty()) {
            Step& step = stack.back();
            int joined = -1;
            while (step.next < step.candidates.size() && joined < 0) {
                const int candidate = step.candidates[step.next++];
                if (CanJoin(step.slot, candidate, excluded)) joined = candidate;
            }
            if (joined < 0) {
                stack.pop_back();
                continue;
            }
            Join(joined, group, excluded);
            stack.push_back({joined, NeighbourSlots(joined)});
        }
    }

    Vector3 GroupNormal(int group) const {
        Vector3 sum;
        for (int slot : groupFaces_.at(group)) sum += FaceAt(slot).normal;
        return NormalizedUnlessShort(sum);
    }

    void SplitVertices() {
        std::sort(groupedVertices_.begin(), groupedVertices_.end());
        for (int vertex : groupedVertices_) {
            const std::vector<int>& groups = vertexGroups_[vertex];
            mesh_.vertices[vertex].normal = GroupNormal(groups[0]);
            for (size_t g = 1; g < groups.size(); ++g) {
                MeshVertex copy = mesh_.vertices[vertex];
                copy.normal = GroupNormal(groups[g]);
                const int added = mesh_.AddVertex(copy);
                for (int slot : groupFaces_[groups[g]]) {
                    MeshFace& face = mesh_.faces[faces_[size_t(slot)]];
                    const int corner = face.IndexOfVertex(&mesh_.vertices[vertex]);
                    if (corner >= 0) face.corners[corner] = &mesh_.vertices[added];
                }
            }
        }
    }

    Mesh& mesh_;
    const NormalWork& work_;
    const int position_;
    const float creaseAngle_;
    const std::vector<int>& faces_;
    std::vector<int> group_;  // per slot of faces_
    std::unordered_map<int, std::vector<int>> groupFaces_;
    std::unordered_map<int, std::vector<int>> vertexGroups_;
    std::vector<int> groupedVertices_;
};

// Every face edge as a directed pair of positions, sorted so that the faces running
// along one edge in one direction stand together in ascending face order.
struct DirectedEdge {
    int from;
    int to;
    int face;
    int slot;
    bool operator<(const DirectedEdge& o) const {
        if (from != o.from) return from < o.from;
        if (to != o.to) return to < o.to;
        return face < o.face;
    }
};

}  // namespace

void Mesh::MergePositions() {
    const int count = positions.Count();
    const std::vector<int> representative = Representatives(
        count, [&](int a, int b) { return ComparePositions(positions[a], positions[b]); },
        [&](int a, int b) { return ComparePositions(positions[a], positions[b]) == 0; });
    std::vector<int> newIndex;
    if (NumberKept(representative, newIndex) == count) return;

    std::vector<int> vertexPositions(size_t(vertices.Count()));
    for (int v = 0; v < vertices.Count(); ++v) {
        const int old = PositionIndex(vertices[v].position);
        vertexPositions[size_t(v)] = old < 0 ? -1 : newIndex[size_t(representative[size_t(old)])];
    }
    std::vector<int> edgeEnds(size_t(edges.Count()) * 2);
    for (int e = 0; e < edges.Count(); ++e) {
        for (int k = 0; k < 2; ++k) {
            const int old = PositionIndex(edges[e].ends[k]);
            edgeEnds[size_t(e) * 2 + size_t(k)] = old < 0 ? -1 : newIndex[size_t(representative[size_t(old)])];
        }
    }
    int kept = 0;
    for (int i = 0; i < count; ++i) {
        if (newIndex[size_t(i)] >= 0) positions[kept++] = positions[i];
    }
    positions.SetSize(kept);
    for (int v = 0; v < vertices.Count(); ++v) {
        const int index = vertexPositions[size_t(v)];
        vertices[v].position = index < 0 ? nullptr : &positions[index];
    }
    for (int e = 0; e < edges.Count(); ++e) {
        for (int k = 0; k < 2; ++k) {
            const int index = edgeEnds[size_t(e) * 2 + size_t(k)];
            edges[e].ends[k] = index < 0 ? nullptr : &positions[index];
        }
    }
}

void Mesh::MergeVertices() {
    const int count = vertices.Count();
    const std::vector<int> representative = Representatives(
        count, [&](int a, int b) { return CompareVertices(*this, vertices[a], vertices[b]); },
        [&](int a, int b) { return VerticesEqual(vertices[a], vertices[b]); });
    std::vector<int> newIndex;
    if (NumberKept(representative, newIndex) == count) return;

    std::vector<int> cornerVertices(size_t(faces.Count()) * 3);
    for (int f = 0; f < faces.Count(); ++f) {
        for (int k = 0; k < 3; ++k) {
            const int old = VertexIndex(faces[f].corners[k]);
            cornerVertices[size_t(f) * 3 + size_t(k)] = old < 0 ? -1 : newIndex[size_t(representative[size_t(old)])];
        }
    }
    int kept = 0;
    for (int i = 0; i < count; ++i) {
        if (newIndex[size_t(i)] >= 0) {
            if (kept != i) vertices[kept] = vertices[i];
            ++kept;
        }
    }
    vertices.SetSize(kept);
    for (int f = 0; f < faces.Count(); ++f) {
        for (int k = 0; k < 3; ++k) {
            const int index = cornerVertices[size_t(f) * 3 + size_t(k)];
            faces[f].corners[k] = index < 0 ? nullptr : &vertices[index];
        }
    }
}

void Mesh::BuildAdjacency() {
    for (MeshFace& face : faces) {
        for (MeshFace*& neighbour : face.neighbours) neighbour = nullptr;
    }
    std::vector<DirectedEdge> directed;
    directed.reserve(size_t(faces.Count()) * 3);
    for (int f = 0; f < faces.Count(); ++f) {
        for (int e = 0; e < 3; ++e) {
            const int a = CornerPosition(*this, faces[f], e);
            const int b = CornerPosition(*this, faces[f], (e + 1) % 3);
            if (a >= 0 && b >= 0) directed.push_back({a, b, f, e});
        }
    }
    std::sort(directed.begin(), directed.end());
    // Faces once linked along an edge stay linked, so each run keeps a cursor past its
    // linked head and every search costs what it finds.
    std::vector<size_t> cursor(directed.size());
    for (size_t i = 0; i < directed.size(); ++i) cursor[i] = i;

    // The lowest-numbered face running from b to a whose edge there is still free.
    for (int f = 0; f < faces.Count(); ++f) {
        for (int e = 0; e < 3; ++e) {
            const int a = CornerPosition(*this, faces[f], e);
            const int b = CornerPosition(*this, faces[f], (e + 1) % 3);
            if (faces[f].neighbours[e] != nullptr || a < 0 || b < 0) continue;
            const auto run = std::lower_bound(directed.begin(), directed.end(), DirectedEdge{b, a, -1, 0});
            if (run == directed.end() || run->from != b || run->to != a) continue;
            size_t& at = cursor[size_t(run - directed.begin())];
            while (at < directed.size() && directed[at].from == b && directed[at].to == a &&
                   faces[directed[at].face].neighbours[directed[at].slot] != nullptr) {
                ++at;
            }
            if (at >= directed.size() || directed[at].from != b || directed[at].to != a) continue;
            MeshFace& other = faces[directed[at].face];
            faces[f].neighbours[e] = &other;
            other.neighbours[directed[at].slot] = &faces[f];
        }
    }
}

void Mesh::ComputeNormals(float creaseAngle) {
    NormalWork work(*this);
    for (int f = 0; f < faces.Count(); ++f) {
        MeshFace& face = faces[f];
        face.ComputeNormal();
        for (int corner = 0; corner < 3; ++corner) {
            const int position = CornerPosition(*this, face, corner);
            if (position < 0) continue;
            work.facesAt.Add(position, f);
            work.verticesAt.Add(position, VertexIndex(face.corners[corner]));
        }
    }
    for (std::vector<int>& list : work.verticesAt.lists) {
        std::sort(list.begin(), list.end());
        list.erase(std::unique(list.begin(), list.end()), list.end());
    }

    // A position touched by an explicit edge always splits, and a face takes the faces
    // across those of its own edges that are explicit edges as ones it never smooths
    // with. Edges are looked up by their sorted pair of positions, so a position met by
    // many edges and many faces costs no more than its faces.
    std::vector<uint8_t> split(size_t(positions.Count()), 0);
    std::vector<std::pair<int, int>> hardEdges;
    for (const MeshEdge& edge : edges) {
        const int a = PositionIndex(edge.ends[0]);
        const int b = PositionIndex(edge.ends[1]);
        if (a < 0 || b < 0) continue;
        split[size_t(a)] = split[size_t(b)] = 1;
        hardEdges.emplace_back(std::min(a, b), std::max(a, b));
    }
    std::sort(hardEdges.begin(), hardEdges.end());
    if (!hardEdges.empty()) {
        for (int f = 0; f < faces.Count(); ++f) {
            for (int e = 0; e < 3; ++e) {
                const int a = CornerPosition(*this, faces[f], e);
                const int b = CornerPosition(*this, faces[f], (e + 1) % 3);
                const MeshFace* across = faces[f].neighbours[e];
                if (a < 0 || b < 0 || across == nullptr) continue;
                const std::pair<int, int> key(std::min(a, b), std::max(a, b));
                if (std::binary_search(hardEdges.begin(), hardEdges.end(), key)) {
                    AddUnique(work.acrossHardEdges[size_t(f)], FaceIndex(across));
                }
            }
        }
    }

    for (int p = 0; p < positions.Count(); ++p) {
        Vector3 sum;
        for (int f : work.facesAt[p]) sum += faces[f].normal;
        sum = NormalizedUnlessShort(sum);
        if (sum.IsNearZero()) {
            split[size_t(p)] = 1;
        } else {
            for (int f : work.facesAt[p]) {
                const Vector3& n = faces[f].normal;
                if (!n.IsNearZero() && AngleBetween(sum, n) > creaseAngle / 2) split[size_t(p)] = 1;
            }
        }
        for (int v : work.verticesAt[p]) vertices[v].normal = sum;
    }

    for (int p = 0; p < positions.Count(); ++p) {
        if (split[size_t(p)]) PositionSplitter(*this, work, p, creaseAngle).Split();
    }
}
