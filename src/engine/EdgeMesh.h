#pragma once
// The working form of a mesh under simplification: one vertex per mesh position with
// the quadric of the planes around it, one wedge per mesh vertex carrying the drawn
// attributes, the faces, one record per edge, and a queue of edges by collapse cost.
// Edges collapse cheapest first; each collapse merges two vertices at the point that
// keeps the summed squared distance to their planes lowest.
//
// Elements refer to each other by index; nothing is added after building, so indices
// stay valid for the structure's whole life.
#include <cstdint>
#include <memory>
#include <vector>

#include "core/Color.h"
#include "core/Vector3.h"
#include "engine/Mesh.h"

class Material;

// The squared distance to a set of planes, weighted by area: w, then the upper half of
// the symmetric 4 x 4 matrix in the order aa, ab, ac, ad, bb, bc, bd, cc, cd, dd.
struct Quadric {
    float w = 0.0f;
    float aa = 0.0f, ab = 0.0f, ac = 0.0f, ad = 0.0f;
    float bb = 0.0f, bc = 0.0f, bd = 0.0f;
    float cc = 0.0f, cd = 0.0f;
    float dd = 0.0f;

    // The plane a x + b y + c z + d = 0 with the normal (a, b, c), times the weight.
    static Quadric OfPlane(const Vector3& normal, float d, float weight);
    Quadric& operator+=(const Quadric& other);
    // The value at the point; a negative value (rounding) counts as 0.
    float Evaluate(const Vector3& point) const;
};

struct EdgeMeshVertex {
    Vector3 position;
    Quadric quadric;
    std::vector<int> edges;  // incident edges, ascending
};

struct EdgeMeshWedge {
    int vertex = -1;
    Vector3 normal;
    Color color;
    Vector2Array texCoords;
};

enum EdgeMeshFaceFlag : uint8_t {
    kFaceAlive = 1,
    kFaceNormalStale = 2,
};

struct EdgeMeshFace {
    Vector3 normal;
    Material* material = nullptr;
    int wedges[3] = {-1, -1, -1};
    // Neighbour e is across the edge from corner e to corner (e + 1) mod 3; -1 for none.
    int neighbours[3] = {-1, -1, -1};
    uint8_t flags = 0;
};

enum EdgeMeshEdgeFlag : uint8_t {
    kEdgeValid = 1,
    kEdgeBlocked = 2,
    kEdgeCostStale = 4,
};

struct EdgeMeshEdge {
    int queueIndex = -1;
    // -1 normally; the collapse count at which a collapse of this edge was refused.
    int stamp = -1;
    Vector3 target;
    float cost = 0.0f;
    float error = 0.0f;  // sqrt(cost / summed weight): a distance in the mesh's units
    int a = -1;
    int b = -1;
    int f1 = -1;  // may be none on a border
    int f2 = -1;
    uint8_t flags = 0;
};

class EdgeMesh {
public:
    // Performs the cheapest allowed collapse. False when the queue is empty, or when the
    // cheapest edge's error exceeds the limit (a negative limit means none).
    bool CollapseNext(float errorLimit, bool topologyCheck);
    bool CollapseEdge(int edge, bool topologyCheck);
    // A mesh of the live faces and the vertices and wedges they use, with adjacency.
    std::unique_ptr<Mesh> ToMesh() const;
    // The largest distance of any vertex from the planes it has absorbed.
    float MaxError() const;

    std::vector<EdgeMeshVertex> vertices;
    std::vector<EdgeMeshWedge> wedges;
    std::vector<EdgeMeshFace> faces;
    int collapseCount = 0;
    int liveFaceCount = 0;
    float totalArea = 0.0f;
    std::vector<EdgeMeshEdge> edges;
    std::vector<int> queue;  // a binary heap of edge indices

private:
    friend void BuildEdgeMesh(EdgeMesh& edgeMesh, const Mesh& mesh);

    void UpdateCost(EdgeMeshEdge& edge) const;
    bool Before(int first, int second) const;
    void Swap(int slot, int other);
    void SiftUp(int slot);
    void SiftDown(int slot);
    void Heapify();
    void DropFromQueue(int edge);

    bool IsAlive(int face) const { return face >= 0 && (faces[size_t(face)].flags & kFaceAlive); }
    const Vector3& WedgePosition(int wedge) const;
    int VertexOfCorner(int face, int corner) const;
    int WedgeAtVertex(int face, int vertex) const;
    void RefreshNormal(EdgeMeshFace& face);
    // The ring of edges around the two ends, and the faces on it other than the edge's.
    void CollectRing(const EdgeMeshEdge& edge, int edgeIndex);
    bool JoinsOutsideTheFaces(const EdgeMeshEdge& edge);
    bool FacesStaySound(const EdgeMeshEdge& edge, float& areaChange);
    void BlendWedges(const EdgeMeshEdge& edge);
    void RemoveFace(int face, int acrossA, int acrossB, int a, int b);
    void MergeVertexInto(int edgeIndex, int thirdOfFirst, int thirdOfSecond);

    // Scratch lists of one collapse, kept to spare allocations.
    std::vector<int> ring_;
    std::vector<int> affected_;
    std::vector<int> marks_;
    int mark_ = 0;
};

// Fills the structure from a merged mesh with adjacency (see Mesh::BuildAdjacency).
void BuildEdgeMesh(EdgeMesh& edgeMesh, const Mesh& mesh);
