#include "engine/EdgeMesh.h"

#include <algorithm>
#include <cmath>

#include "core/MathUtil.h"

namespace {

// The same normal as a mesh face's: (B - C) x (A - B), normalised unless near zero.
Vector3 FaceNormal(const Vector3& a, const Vector3& b, const Vector3& c) {
    Vector3 n = (b - c).Cross(a - b);
    if (!n.IsNearZero()) n.Normalize();
    return n;
}

float TriangleArea(const Vector3& a, const Vector3& b, const Vector3& c) {
    return (a.Cross(b) + b.Cross(c) + c.Cross(a)).Length() * 0.5f;
}

// Weights (u, v) of the corners 1 and 2 at the target's projection onto the triangle's
// plane, each clamped to [0, 1]; the squared distance from the target to the point they
// give. A triangle without area gives weight to corner 0 only.
float ProjectOnto(const Vector3 corners[3], const Vector3& target, float& u, float& v) {
    const Vector3 e1 = corners[1] - corners[0];
    const Vector3 e2 = corners[2] - corners[0];
    const Vector3 p = target - corners[0];
    const float d11 = e1.Dot(e1);
    const float d12 = e1.Dot(e2);
    const float d22 = e2.Dot(e2);
    const float denominator = d11 * d22 - d12 * d12;
    u = 0.0f;
    v = 0.0f;
    if (std::fabs(denominator) > 0.0f) {
        const float p1 = p.Dot(e1);
        const float p2 = p.Dot(e2);
        u = std::clamp((d22 * p1 - d12 * p2) / denominator, 0.0f, 1.0f);
        v = std::clamp((d11 * p2 - d12 * p1) / denominator, 0.0f, 1.0f);
    }
    const Vector3 point = corners[0] * (1.0f - u - v) + corners[1] * u + corners[2] * v;
    return point.DistanceSquared(target);
}

void InsertAscending(std::vector<int>& list, int value) {
    list.insert(std::lower_bound(list.begin(), list.end(), value), value);
}

void EraseValue(std::vector<int>& list, int value) {
    const auto found = std::lower_bound(list.begin(), list.end(), value);
    if (found != list.end() && *found == value) list.erase(found);
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

}  // namespace

// --- quadrics

Quadric Quadric::OfPlane(const Vector3& n, float d, float weight) {
    Quadric q;
    q.w = weight;
    q.aa = n.x * n.x * weight;
    q.ab = n.x * n.y * weight;
    q.ac = n.x * n.z * weight;
    q.ad = n.x * d * weight;
    q.bb = n.y * n.y * weight;
    q.bc = n.y * n.z * weight;
    q.bd = n.y * d * weight;
    q.cc = n.z * n.z * weight;
    q.cd = n.z * d * weight;
    q.dd = d * d * weight;
    return q;
}

Quadric& Quadric::operator+=(const Quadric& o) {
    w += o.w;
    aa += o.aa;
    ab += o.ab;
    ac += o.ac;
    ad += o.ad;
    bb += o.bb;
    bc += o.bc;
    bd += o.bd;
    cc += o.cc;
    cd += o.cd;
    dd += o.dd;
    return *this;
}

float Quadric::Evaluate(const Vector3& p) const {
    const float value = aa * p.x * p.x + 2 * ab * p.x * p.y + 2 * ac * p.x * p.z + 2 * ad * p.x + bb * p.y * p.y +
                        2 * bc * p.y * p.z + 2 * bd * p.y + cc * p.z * p.z + 2 * cd * p.z + dd;
    return value > 0.0f ? value : 0.0f;
}

namespace {

Vector3 TimesMatrix(const Quadric& q, const Vector3& v) {
    return {q.aa * v.x + q.ab * v.y + q.ac * v.z, q.ab * v.x + q.bb * v.y + q.bc * v.z,
            q.ac * v.x + q.bc * v.y + q.cc * v.z};
}

// The point where the quadric is lowest, accepted only within the sphere around the
// edge's midpoint whose radius is the edge's length.
bool SolveMinimum(const Quadric& q, const Vector3& a, const Vector3& b, Vector3& target) {
    float inverse[6] = {q.bb * q.cc - q.bc * q.bc, q.ac * q.bc - q.ab * q.cc, q.ab * q.bc - q.ac * q.bb,
                        q.aa * q.cc - q.ac * q.ac, q.ab * q.ac - q.aa * q.bc, q.aa * q.bb - q.ab * q.ab};
    const float det = q.aa * inverse[0] + q.ab * inverse[1] + q.ac * inverse[2];
    if (std::fabs(det) <= Tolerance) return false;
    bool allSmall = true;
    for (float& element : inverse) {
        element /= det;
        if (std::fabs(element) > Tolerance) allSmall = false;
    }
    if (allSmall) return false;
    const Vector3 rhs(q.ad, q.bd, q.cd);
    const Vector3 x(-(inverse[0] * rhs.x + inverse[1] * rhs.y + inverse[2] * rhs.z),
                    -(inverse[1] * rhs.x + inverse[3] * rhs.y + inverse[4] * rhs.z),
                    -(inverse[2] * rhs.x + inverse[4] * rhs.y + inverse[5] * rhs.z));
    const Vector3 middle = (a + b) * 0.5f;
    if ((x - middle).LengthSquared() > (a - b).LengthSquared()) return false;
    target = x;
    return true;
}

// The lowest point of the quadric along the segment from b (t = 0) to a (t = 1).
bool SearchSegment(const Quadric& q, const Vector3& a, const Vector3& b, Vector3& target) {
    const Vector3 d = a - b;
    const Vector3 md = TimesMatrix(q, d);
    const float curvature = d.Dot(md);
    if (std::fabs(2.0f * curvature) <= Tolerance) return false;
    const Vector3 rhs(q.ad, q.bd, q.cd);
    const float t = std::clamp(-(md.Dot(b) + rhs.Dot(d)) / curvature, 0.0f, 1.0f);
    target = b + d * t;
    return true;
}

Vector3 BestOfEnds(const Quadric& q, const Vector3& a, const Vector3& b) {
    Vector3 best = q.Evaluate(b) < q.Evaluate(a) ? b : a;
    const Vector3 middle = (a + b) * 0.5f;
    if (q.Evaluate(middle) < q.Evaluate(best)) best = middle;
    return best;
}

}  // namespace

// --- building

void BuildEdgeMesh(EdgeMesh& edgeMesh, const Mesh& mesh) {
    edgeMesh = EdgeMesh();
    edgeMesh.vertices.resize(size_t(mesh.positions.Count()));
    for (int i = 0; i < mesh.positions.Count(); ++i) edgeMesh.vertices[size_t(i)].position = mesh.positions[i];
    edgeMesh.wedges.resize(size_t(mesh.vertices.Count()));
    for (int i = 0; i < mesh.vertices.Count(); ++i) {
        const MeshVertex& vertex = mesh.vertices[i];
        EdgeMeshWedge& wedge = edgeMesh.wedges[size_t(i)];
        wedge.vertex = mesh.PositionIndex(vertex.position);
        wedge.normal = vertex.normal;
        wedge.color = vertex.color;
        wedge.texCoords = vertex.texCoords;
    }
    edgeMesh.faces.resize(size_t(mesh.faces.Count()));
    for (int f = 0; f < mesh.faces.Count(); ++f) {
        const MeshFace& source = mesh.faces[f];
        EdgeMeshFace& face = edgeMesh.faces[size_t(f)];
        face.material = source.material;
        for (int k = 0; k < 3; ++k) {
            face.wedges[k] = mesh.VertexIndex(source.corners[k]);
            face.neighbours[k] = mesh.FaceIndex(source.neighbours[k]);
        }
        face.flags = kFaceAlive;
    }
    edgeMesh.liveFaceCount = mesh.faces.Count();
    edgeMesh.marks_.assign(std::max(edgeMesh.vertices.size(), edgeMesh.faces.size()), 0);

    // Faces whose corners lack a position take part in nothing but the face count.
    std::vector<float> areas(edgeMesh.faces.size(), 0.0f);
    std::vector<uint8_t> complete(edgeMesh.faces.size(), 0);
    for (size_t f = 0; f < edgeMesh.faces.size(); ++f) {
        EdgeMeshFace& face = edgeMesh.faces[f];
        complete[f] = face.wedges[0] >= 0 && face.wedges[1] >= 0 && face.wedges[2] >= 0 &&
                      edgeMesh.VertexOfCorner(int(f), 0) >= 0 && edgeMesh.VertexOfCorner(int(f), 1) >= 0 &&
                      edgeMesh.VertexOfCorner(int(f), 2) >= 0;
        if (!complete[f]) continue;
        const Vector3& a = edgeMesh.WedgePosition(face.wedges[0]);
        const Vector3& b = edgeMesh.WedgePosition(face.wedges[1]);
        const Vector3& c = edgeMesh.WedgePosition(face.wedges[2]);
        face.normal = FaceNormal(a, b, c);
        areas[f] = TriangleArea(a, b, c);
        edgeMesh.totalArea += areas[f];
        const Quadric plane = Quadric::OfPlane(face.normal, -face.normal.Dot(a), areas[f]);
        for (int k = 0; k < 3; ++k) edgeMesh.vertices[size_t(edgeMesh.VertexOfCorner(int(f), k))].quadric += plane;
    }

    // Borders and seams get a plane at right angles to the face through the edge, so that
    // collapses keep the outline and the lines where materials or coordinates change.
    for (size_t f = 0; f < edgeMesh.faces.size(); ++f) {
        if (!complete[f]) continue;
        const EdgeMeshFace& face = edgeMesh.faces[f];
        for (int e = 0; e < 3; ++e) {
            const int g = face.neighbours[e];
            bool constrained = g < 0;
            if (g >= 0) {
                const EdgeMeshFace& other = edgeMesh.faces[size_t(g)];
                const int k = std::find(other.neighbours, other.neighbours + 3, int(f)) - other.neighbours;
                if (k == 3) continue;
                constrained = other.material != face.material;
                const std::pair<int, int> sides[2] = {{face.wedges[e], other.wedges[(k + 1) % 3]},
                                                      {face.wedges[(e + 1) % 3], other.wedges[k]}};
                for (const auto& [mine, theirs] : sides) {
                    if (mine == theirs || mine < 0 || theirs < 0) continue;
                    const EdgeMeshWedge& w1 = edgeMesh.wedges[size_t(mine)];
                    const EdgeMeshWedge& w2 = edgeMesh.wedges[size_t(theirs)];
                    if (w1.color != w2.color || !TexCoordsNearlyEqual(w1.texCoords, w2.texCoords)) {
                        constrained = true;
                    }
                }
            }
            if (!constrained) continue;
            const Vector3& p = edgeMesh.WedgePosition(face.wedges[e]);
            const Vector3& q = edgeMesh.WedgePosition(face.wedges[(e + 1) % 3]);
            const Vector3& r = edgeMesh.WedgePosition(face.wedges[(e + 2) % 3]);
            Vector3 d = p - q;
            if (d.IsNearZero()) continue;
            d.Normalize();
            Vector3 v = (r - q) - d * (r - q).Dot(d);
            if (v.IsNearZero()) continue;
            v.Normalize();
            const Quadric plane = Quadric::OfPlane(v, -v.Dot(q), areas[f]);
            edgeMesh.vertices[size_t(edgeMesh.VertexOfCorner(int(f), e))].quadric += plane;
            edgeMesh.vertices[size_t(edgeMesh.VertexOfCorner(int(f), (e + 1) % 3))].quadric += plane;
        }
    }

    for (size_t f = 0; f < edgeMesh.faces.size(); ++f) {
        if (!complete[f]) continue;
        const EdgeMeshFace& face = edgeMesh.faces[f];
        for (int e = 0; e < 3; ++e) {
            const int g = face.neighbours[e];
            if (g >= 0 && g <= int(f)) continue;
            EdgeMeshEdge edge;
            edge.a = edgeMesh.VertexOfCorner(int(f), e);
            edge.b = edgeMesh.VertexOfCorner(int(f), (e + 1) % 3);
            edge.f1 = g;
            edge.f2 = int(f);
            edge.flags = kEdgeValid | kEdgeCostStale;
            edgeMesh.UpdateCost(edge);
            const int index = int(edgeMesh.edges.size());
            edgeMesh.edges.push_back(edge);
            edgeMesh.vertices[size_t(edge.a)].edges.push_back(index);
            edgeMesh.vertices[size_t(edge.b)].edges.push_back(index);
        }
    }
    edgeMesh.queue.resize(edgeMesh.edges.size());
    for (size_t i = 0; i < edgeMesh.edges.size(); ++i) {
        edgeMesh.queue[i] = int(i);
        edgeMesh.edges[i].queueIndex = int(i);
    }
    edgeMesh.Heapify();
}

// --- helpers

const Vector3& EdgeMesh::WedgePosition(int wedge) const {
    return vertices[size_t(wedges[size_t(wedge)].vertex)].position;
}

int EdgeMesh::VertexOfCorner(int face, int corner) const {
    const int wedge = faces[size_t(face)].wedges[corner];
    return wedge < 0 ? -1 : wedges[size_t(wedge)].vertex;
}

int EdgeMesh::WedgeAtVertex(int face, int vertex) const {
    for (int k = 0; k < 3; ++k) {
        if (VertexOfCorner(face, k) == vertex) return faces[size_t(face)].wedges[k];
    }
    return -1;
}

void EdgeMesh::RefreshNormal(EdgeMeshFace& face) {
    face.normal =
        FaceNormal(WedgePosition(face.wedges[0]), WedgePosition(face.wedges[1]), WedgePosition(face.wedges[2]));
    face.flags &= uint8_t(~kFaceNormalStale);
}

void EdgeMesh::UpdateCost(EdgeMeshEdge& edge) const {
    Quadric q = vertices[size_t(edge.a)].quadric;
    q += vertices[size_t(edge.b)].quadric;
    const Vector3& a = vertices[size_t(edge.a)].position;
    const Vector3& b = vertices[size_t(edge.b)].position;
    if (!SolveMinimum(q, a, b, edge.target) && !SearchSegment(q, a, b, edge.target)) {
        edge.target = BestOfEnds(q, a, b);
    }
    edge.cost = q.Evaluate(edge.target);
    edge.error = std::fabs(q.w) > Tolerance ? std::sqrt(edge.cost / q.w) : 0.0f;
    edge.flags &= uint8_t(~kEdgeCostStale);
}

// --- the queue: edges never refused first, by cost; refused ones behind, oldest first

bool EdgeMesh::Before(int first, int second) const {
    const EdgeMeshEdge& x = edges[size_t(first)];
    const EdgeMeshEdge& y = edges[size_t(second)];
    if ((x.stamp < 0) != (y.stamp < 0)) return x.stamp < 0;
    if (x.stamp < 0) return x.cost < y.cost;
    return x.stamp < y.stamp;
}

void EdgeMesh::Swap(int slot, int other) {
    std::swap(queue[size_t(slot)], queue[size_t(other)]);
    edges[size_t(queue[size_t(slot)])].queueIndex = slot;
    edges[size_t(queue[size_t(other)])].queueIndex = other;
}

void EdgeMesh::SiftUp(int slot) {
    while (slot > 0) {
        const int parent = (slot - 1) / 2;
        if (!Before(queue[size_t(slot)], queue[size_t(parent)])) return;
        Swap(slot, parent);
        slot = parent;
    }
}

void EdgeMesh::SiftDown(int slot) {
    const int count = int(queue.size());
    for (;;) {
        const int left = 2 * slot + 1;
        if (left >= count) return;
        int child = left;
        if (left + 1 < count && Before(queue[size_t(left + 1)], queue[size_t(left)])) child = left + 1;
        if (!Before(queue[size_t(child)], queue[size_t(slot)])) return;
        Swap(slot, child);
        slot = child;
    }
}

void EdgeMesh::Heapify() {
    for (int slot = int(queue.size()) / 2 - 1; slot >= 0; --slot) SiftDown(slot);
}

void EdgeMesh::DropFromQueue(int edge) {
    const int slot = edges[size_t(edge)].queueIndex;
    if (slot < 0) return;
    const int last = int(queue.size()) - 1;
    if (slot != last) Swap(slot, last);
    queue.pop_back();
    edges[size_t(edge)].queueIndex = -1;
    if (slot < last) {
        const int moved = queue[size_t(slot)];
        SiftUp(slot);
        SiftDown(edges[size_t(moved)].queueIndex);
    }
}

// --- collapsing

bool EdgeMesh::CollapseNext(float errorLimit, bool topologyCheck) {
    while (!queue.empty()) {
        const int top = queue[0];
        EdgeMeshEdge& edge = edges[size_t(top)];
        const bool deadFace = (edge.f1 >= 0 && !IsAlive(edge.f1)) || (edge.f2 >= 0 && !IsAlive(edge.f2));
        if (!(edge.flags & kEdgeValid) || edge.stamp == collapseCount || deadFace) {
            DropFromQueue(top);
            continue;
        }
        edge.stamp = -1;
        if (edge.flags & kEdgeCostStale) {
            UpdateCost(edge);
            SiftDown(0);
            continue;
        }
        if (errorLimit >= 0.0f && double(edge.error) - double(errorLimit) > 1e-5) return false;
        if (CollapseEdge(top, topologyCheck)) return true;
        if (!(edge.flags & kEdgeValid) || (edge.flags & kEdgeBlocked)) {
            DropFromQueue(top);
        } else {
            SiftDown(0);
        }
    }
    return false;
}

void EdgeMesh::CollectRing(const EdgeMeshEdge& edge, int edgeIndex) {
    ring_.clear();
    affected_.clear();
    const std::vector<int>& first = vertices[size_t(edge.a)].edges;
    const std::vector<int>& second = vertices[size_t(edge.b)].edges;
    std::set_union(first.begin(), first.end(), second.begin(), second.end(), std::back_inserter(ring_));
    ring_.erase(std::remove_if(ring_.begin(), ring_.end(),
                               [&](int e) { return e == edgeIndex || !(edges[size_t(e)].flags & kEdgeValid); }),
                ring_.end());
    ++mark_;
    for (int e : ring_) {
        for (int face : {edges[size_t(e)].f1, edges[size_t(e)].f2}) {
            if (!IsAlive(face) || face == edge.f1 || face == edge.f2 || marks_[size_t(face)] == mark_) continue;
            marks_[size_t(face)] = mark_;
            affected_.push_back(face);
        }
    }
}

// A vertex joined to both ends other than through the edge's two faces: collapsing
// would fold the surface onto itself there.
bool EdgeMesh::JoinsOutsideTheFaces(const EdgeMeshEdge& edge) {
    ++mark_;
    for (int face : {edge.f1, edge.f2}) {
        for (int k = 0; k < 3; ++k) {
            const int vertex = VertexOfCorner(face, k);
            if (vertex >= 0) marks_[size_t(vertex)] = mark_;
        }
    }
    const int ownFaces = mark_;
    const int seen = ++mark_;
    for (int e : ring_) {
        for (int vertex : {edges[size_t(e)].a, edges[size_t(e)].b}) {
            int& mark = marks_[size_t(vertex)];
            if (mark == ownFaces) continue;
            if (mark == seen) return true;
            mark = seen;
        }
    }
    return false;
}

// No face around the edge may turn over or lose its area, and the surface may not lose
// more than a quarter of its area at once.
bool EdgeMesh::FacesStaySound(const EdgeMeshEdge& edge, float& areaChange) {
    if (affected_.empty()) return false;
    float currentSum = 0.0f;
    float newSum = 0.0f;
    for (int f : affected_) {
        EdgeMeshFace& face = faces[size_t(f)];
        if (face.flags & kFaceNormalStale) RefreshNormal(face);
        Vector3 now[3];
        Vector3 moved[3];
        for (int k = 0; k < 3; ++k) {
            const int vertex = VertexOfCorner(f, k);
            now[k] = vertices[size_t(vertex)].position;
            moved[k] = vertex == edge.a || vertex == edge.b ? edge.target : now[k];
        }
        Vector3 n = (moved[1] - moved[2]).Cross(moved[0] - moved[1]);
        if (n.IsNearZero()) return false;
        n.Normalize();
        if (n.Dot(face.normal) <= 0.0f) return false;
        currentSum += TriangleArea(now[0], now[1], now[2]);
        newSum += TriangleArea(moved[0], moved[1], moved[2]);
    }
    for (int f : {edge.f1, edge.f2}) {
        if (f < 0) continue;
        currentSum += TriangleArea(WedgePosition(faces[size_t(f)].wedges[0]), WedgePosition(faces[size_t(f)].wedges[1]),
                                   WedgePosition(faces[size_t(f)].wedges[2]));
    }
    if (currentSum - newSum > totalArea / 4) return false;
    areaChange = newSum - currentSum;
    return true;
}

bool EdgeMesh::CollapseEdge(int edgeIndex, bool topologyCheck) {
    EdgeMeshEdge& edge = edges[size_t(edgeIndex)];
    for (int f : {edge.f1, edge.f2}) {
        if (f < 0) continue;
        const int* n = faces[size_t(f)].neighbours;
        if ((n[0] >= 0 && (n[0] == n[1] || n[0] == n[2])) || (n[1] >= 0 && n[1] == n[2])) {
            edge.flags |= kEdgeBlocked;
            return false;
        }
    }
    CollectRing(edge, edgeIndex);
    float areaChange = 0.0f;
    const bool folds = topologyCheck && edge.f1 >= 0 && edge.f2 >= 0 && JoinsOutsideTheFaces(edge);
    if (folds || !FacesStaySound(edge, areaChange)) {
        edge.flags |= kEdgeCostStale;
        edge.stamp = collapseCount;
        return false;
    }
    totalArea += areaChange;

    // The removed faces' shape is read before the wedges are blended: blending hands
    // them the wedge at `a` in place of the one at `b`.
    struct Removal {
        int face = -1;
        int third = -1;
        int acrossA = -1;
        int acrossB = -1;
    };
    Removal removals[2];
    const int edgeFaces[2] = {edge.f1, edge.f2};
    for (int i = 0; i < 2; ++i) {
        const int f = edgeFaces[i];
        if (!IsAlive(f)) continue;
        Removal& removal = removals[i];
        removal.face = f;
        for (int k = 0; k < 3; ++k) {
            const int from = VertexOfCorner(f, k);
            const int to = VertexOfCorner(f, (k + 1) % 3);
            if (from != edge.a && from != edge.b) removal.third = from;
            const bool touchesA = from == edge.a || to == edge.a;
            const bool touchesB = from == edge.b || to == edge.b;
            if (touchesA && !touchesB) removal.acrossA = faces[size_t(f)].neighbours[k];
            if (touchesB && !touchesA) removal.acrossB = faces[size_t(f)].neighbours[k];
        }
    }
    BlendWedges(edge);
    for (const Removal& removal : removals) {
        if (removal.face >= 0) RemoveFace(removal.face, removal.acrossA, removal.acrossB, edge.a, edge.b);
    }
    const int thirds[2] = {removals[0].third, removals[1].third};
    MergeVertexInto(edgeIndex, thirds[0], thirds[1]);

    DropFromQueue(edgeIndex);
    edge.flags &= uint8_t(~kEdgeValid);
    for (int e : ring_) {
        EdgeMeshEdge& ringEdge = edges[size_t(e)];
        if (!(ringEdge.flags & kEdgeValid) || ringEdge.queueIndex < 0) continue;
        UpdateCost(ringEdge);
        SiftUp(ringEdge.queueIndex);
        SiftDown(ringEdge.queueIndex);
    }
    for (int f : affected_) faces[size_t(f)].flags |= kFaceNormalStale;
    ++collapseCount;
    return true;
}

// The attributes at the collapse point, interpolated in the face around it that lies
// nearest to the point, replace the two wedges of each side of the edge.
void EdgeMesh::BlendWedges(const EdgeMeshEdge& edge) {
    // Both pairs first: blending the first side hands its faces the wedge at `a`.
    int pairs[2][2] = {{-1, -1}, {-1, -1}};
    const int sides[2] = {edge.f1, edge.f2};
    for (int i = 0; i < 2; ++i) {
        if (sides[i] < 0) continue;
        pairs[i][0] = WedgeAtVertex(sides[i], edge.a);
        pairs[i][1] = WedgeAtVertex(sides[i], edge.b);
    }
    for (int i = 0; i < 2; ++i) {
        const int wa = pairs[i][0];
        const int wb = pairs[i][1];
        if (wa < 0 || wb < 0) continue;
        if (i == 1 && pairs[0][0] == wa && pairs[0][1] == wb) continue;

        std::vector<int> users;
        auto uses = [&](int face) {
            const int* w = faces[size_t(face)].wedges;
            return std::find(w, w + 3, wa) != w + 3 || std::find(w, w + 3, wb) != w + 3;
        };
        for (int face : {edge.f1, edge.f2}) {
            if (face >= 0 && uses(face)) users.push_back(face);
        }
        for (int face : affected_) {
            if (uses(face)) users.push_back(face);
        }

        int nearest = -1;
        float best = 0.0f;
        float weights[3] = {1.0f, 0.0f, 0.0f};
        for (int face : users) {
            Vector3 corners[3];
            for (int k = 0; k < 3; ++k) corners[k] = WedgePosition(faces[size_t(face)].wedges[k]);
            float u = 0.0f;
            float v = 0.0f;
            const float distance = ProjectOnto(corners, edge.target, u, v);
            if (nearest >= 0 && distance >= best) continue;
            nearest = face;
            best = distance;
            weights[0] = 1.0f - u - v;
            weights[1] = u;
            weights[2] = v;
        }
        if (nearest < 0) continue;

        EdgeMeshWedge blended;
        float colour[4] = {0, 0, 0, 0};
        int sets = 0;
        for (int k = 0; k < 3; ++k) {
            sets = std::max(sets, wedges[size_t(faces[size_t(nearest)].wedges[k])].texCoords.Count());
        }
        blended.texCoords.SetSize(sets);
        for (Vector2& pair : blended.texCoords) pair = Vector2();
        for (int k = 0; k < 3; ++k) {
            const EdgeMeshWedge& corner = wedges[size_t(faces[size_t(nearest)].wedges[k])];
            blended.normal += corner.normal * weights[k];
            const auto floats = corner.color.ToFloats();
            for (int c = 0; c < 4; ++c) colour[c] += floats[size_t(c)] * weights[k];
            for (int s = 0; s < corner.texCoords.Count(); ++s) blended.texCoords[s] += corner.texCoords[s] * weights[k];
        }
        if (!blended.normal.IsNearZero()) blended.normal.Normalize();
        uint8_t bytes[4];
        for (int c = 0; c < 4; ++c) bytes[c] = uint8_t(std::clamp(colour[c], 0.0f, 1.0f) * 255.0f);
        blended.color = Color::FromRGBA(bytes[0], bytes[1], bytes[2], bytes[3]);

        for (int w : {wa, wb}) {
            EdgeMeshWedge& target = wedges[size_t(w)];
            target.normal = blended.normal;
            target.color = blended.color;
            target.texCoords = blended.texCoords;
        }
        for (int face : users) {
            for (int& w : faces[size_t(face)].wedges) {
                if (w == wb) w = wa;
            }
        }
    }
}

// Takes the face out and joins its two other neighbours across it, in their own links
// and in the edges of `a` that listed the face beside one of them.
void EdgeMesh::RemoveFace(int f, int acrossA, int acrossB, int a, int b) {
    EdgeMeshFace& face = faces[size_t(f)];
    for (const auto& [from, to] : {std::pair{acrossA, acrossB}, std::pair{acrossB, acrossA}}) {
        if (from < 0) continue;
        for (int& n : faces[size_t(from)].neighbours) {
            if (n == f) n = to;
        }
    }
    for (int e : vertices[size_t(a)].edges) {
        EdgeMeshEdge& edge = edges[size_t(e)];
        if (!(edge.flags & kEdgeValid) || (edge.f1 != f && edge.f2 != f)) continue;
        if (edge.a == b || edge.b == b) continue;  // the collapsing edge, or a twin of it
        int& removed = edge.f1 == f ? edge.f1 : edge.f2;
        const int other = edge.f1 == f ? edge.f2 : edge.f1;
        if (other == acrossA) {
            removed = acrossB;
        } else if (other == acrossB) {
            removed = acrossA;
        }
        // An edge no face runs along any more could only move points about.
        if (edge.f1 < 0 && edge.f2 < 0) edge.flags &= uint8_t(~kEdgeValid);
    }
    face.flags &= uint8_t(~kFaceAlive);
    --liveFaceCount;
}

void EdgeMesh::MergeVertexInto(int edgeIndex, int thirdOfFirst, int thirdOfSecond) {
    const EdgeMeshEdge& edge = edges[size_t(edgeIndex)];
    const int a = edge.a;
    const int b = edge.b;
    vertices[size_t(a)].position = edge.target;
    vertices[size_t(b)].position = edge.target;
    vertices[size_t(a)].quadric += vertices[size_t(b)].quadric;
    EraseValue(vertices[size_t(a)].edges, edgeIndex);

    for (int e : vertices[size_t(b)].edges) {
        if (e == edgeIndex) continue;
        EdgeMeshEdge& other = edges[size_t(e)];
        const int far = other.a == b ? other.b : other.a;
        for (int face : {other.f1, other.f2}) {
            if (!IsAlive(face)) continue;
            for (int w : faces[size_t(face)].wedges) {
                if (w >= 0 && wedges[size_t(w)].vertex == b) wedges[size_t(w)].vertex = a;
            }
        }
        // Edges to the removed faces' third corners now lie on edges of `a`; a second
        // edge between the two ends would become a loop.
        const bool coincides = far == thirdOfFirst || far == thirdOfSecond || far == a;
        if (!(other.flags & kEdgeValid) || coincides) {
            other.flags &= uint8_t(~kEdgeValid);
            continue;
        }
        (other.a == b ? other.a : other.b) = a;
        InsertAscending(vertices[size_t(a)].edges, e);
    }
    vertices[size_t(b)].edges.clear();
}

// --- results

std::unique_ptr<Mesh> EdgeMesh::ToMesh() const {
    std::vector<int> wedgeIndex(wedges.size(), -1);
    std::vector<int> vertexIndex(vertices.size(), -1);
    std::vector<int> faceIndex(faces.size(), -1);
    for (size_t f = 0; f < faces.size(); ++f) {
        if (!IsAlive(int(f))) continue;
        for (int w : faces[f].wedges) {
            if (w < 0) continue;
            wedgeIndex[size_t(w)] = 0;
            if (wedges[size_t(w)].vertex >= 0) vertexIndex[size_t(wedges[size_t(w)].vertex)] = 0;
        }
    }
    int vertexCount = 0;
    for (int& index : vertexIndex) {
        if (index == 0) index = vertexCount++;
    }
    int wedgeCount = 0;
    for (int& index : wedgeIndex) {
        if (index == 0) index = wedgeCount++;
    }

    auto mesh = std::make_unique<Mesh>(vertexCount, wedgeCount, liveFaceCount, 0);
    for (size_t v = 0; v < vertices.size(); ++v) {
        if (vertexIndex[v] >= 0) mesh->AddPosition(vertices[v].position);
    }
    for (size_t w = 0; w < wedges.size(); ++w) {
        if (wedgeIndex[w] < 0) continue;
        const EdgeMeshWedge& wedge = wedges[w];
        MeshVertex vertex;
        vertex.position = wedge.vertex >= 0 ? &mesh->positions[vertexIndex[size_t(wedge.vertex)]] : nullptr;
        vertex.normal = wedge.normal;
        vertex.color = wedge.color;
        vertex.texCoords = wedge.texCoords;
        mesh->AddVertex(vertex);
    }
    for (size_t f = 0; f < faces.size(); ++f) {
        if (!IsAlive(int(f))) continue;
        const EdgeMeshFace& face = faces[f];
        MeshFace out;
        out.material = face.material;
        for (int k = 0; k < 3; ++k) {
            out.corners[k] = face.wedges[k] >= 0 ? &mesh->vertices[wedgeIndex[size_t(face.wedges[k])]] : nullptr;
        }
        out.ComputeNormal();
        faceIndex[f] = mesh->AddFace(out);
    }
    for (size_t f = 0; f < faces.size(); ++f) {
        if (faceIndex[f] < 0) continue;
        for (int k = 0; k < 3; ++k) {
            const int n = faces[f].neighbours[k];
            if (n >= 0 && faceIndex[size_t(n)] >= 0 && IsAlive(n)) {
                mesh->faces[faceIndex[f]].neighbours[k] = &mesh->faces[faceIndex[size_t(n)]];
            }
        }
    }
    return mesh;
}

float EdgeMesh::MaxError() const {
    float largest = 0.0f;
    for (const EdgeMeshVertex& vertex : vertices) {
        if (std::fabs(vertex.quadric.w) <= Tolerance) continue;
        largest = std::max(largest, std::sqrt(vertex.quadric.Evaluate(vertex.position) / vertex.quadric.w));
    }
    return largest;
}
