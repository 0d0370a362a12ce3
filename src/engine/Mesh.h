#pragma once
// The drawable geometry of one model part: a named triangle mesh held in separate arrays
// of positions, vertices, faces and explicit edges, plus its simplified levels of detail.
//
// Elements refer to each other by plain pointers into the mesh's own arrays (a vertex to
// its position, a face to its corner vertices and its neighbour faces, an edge to its two
// positions). Whenever an array moves in memory, every pointer into it is re-pointed at
// once (RebaseReferences), so references never dangle.
#include <cstdint>
#include <functional>
#include <memory>

#include "core/Array.h"
#include "core/Box.h"
#include "core/Color.h"
#include "core/Matrix4.h"
#include "core/Sphere.h"
#include "core/String.h"
#include "core/Vector2.h"
#include "core/Vector3.h"

class Material;
class Mesh;
class Stream;
class Texture;
namespace gfx {
class DeviceMesh;
}

using Vector2Array = Array<Vector2>;

// What changed in a vertex since the renderer last uploaded it (one word per vertex).
enum MeshVertexChange : uint32_t {
    kVertexChangePosition = 1,
    kVertexChangeNormal = 2,
    kVertexChangeColor = 4,
    kVertexChangeTexCoords = 8,
};

struct MeshVertex {
    Vector3* position = nullptr;  // into the mesh's positions, or none
    Vector3 normal;
    Color color;
    Vector2Array texCoords;  // (u, v) pairs, one per texture-coordinate set
};

struct MeshFace {
    Vector3 normal;
    Material* material = nullptr;
    // Into the mesh's vertices, in winding order.
    MeshVertex* corners[3] = {nullptr, nullptr, nullptr};
    // Neighbour e is the face across the edge from corner e to corner (e + 1) mod 3.
    MeshFace* neighbours[3] = {nullptr, nullptr, nullptr};

    // The first corner whose vertex is the given one, else -1.
    int IndexOfVertex(const MeshVertex* vertex) const;
    // The first corner whose vertex has the given position, else -1.
    int IndexOfPosition(const Vector3* position) const;
    // A corner without vertex or position, or two corners at exactly the same position.
    bool IsDegenerate() const;
    // normal = (B - C) x (A - B) of the corner positions, normalised unless near zero.
    void ComputeNormal();
};

struct MeshEdge {
    Vector3* ends[2] = {nullptr, nullptr};  // into the mesh's positions
};

// A simplified copy of the mesh, owned by it, with its largest deviation from the full
// mesh in the mesh's own units.
struct MeshLevel {
    Mesh* mesh = nullptr;
    float error = 0.0f;
};

class Mesh {
public:
    explicit Mesh(int positionCapacity = 0, int vertexCapacity = 0, int faceCapacity = 0, int edgeCapacity = 0);
    // A deep copy: every reference points into the copy's own arrays, every level mesh
    // is copied; no device mesh and no subset materials.
    Mesh(const Mesh& other);
    // The same deep copy into this mesh, whose own levels are destroyed first; the device
    // mesh is dropped because the geometry changed.
    Mesh& operator=(const Mesh& other);
    ~Mesh();

    // --- building: each returns the new element's index
    int AddPosition(const Vector3& position);
    // The vertex's position must already point into this mesh's positions (or be none).
    int AddVertex(const MeshVertex& vertex);
    // -1 and no change for a degenerate face.
    int AddFace(const MeshFace& face);
    int AddEdge(const MeshEdge& edge);

    // Re-points every reference after arrays moved, given their old first elements
    // (none for an array that was empty, which nothing could refer into).
    void RebaseReferences(const Vector3* oldPositions, const MeshVertex* oldVertices, const MeshFace* oldFaces);

    int PositionIndex(const Vector3* position) const;
    int VertexIndex(const MeshVertex* vertex) const;
    int FaceIndex(const MeshFace* face) const;

    // --- whole-mesh operations
    // The sphere of all positions; an empty mesh gets centre (0, 0, 0) and radius -1.
    void UpdateBounds();
    // The box of all positions through the matrix; an empty mesh gives the inverted box
    // (FLT_MAX minimum, -FLT_MAX maximum).
    Box GetTransformedBox(const Matrix4& m) const;
    // Positions through M, vertex normals through the inverse transpose of M (zero for a
    // singular M), level meshes and errors likewise. Face normals and bounds stay.
    void Transform(const Matrix4& m);
    void Scale(float s);
    void UpdateTexCoordSetCount();

    // The first face material that is set, or none.
    Material* GetMaterial() const;
    // The distinct face materials (none never listed), in ascending address order.
    void GetMaterials(Array<Material*>& out) const;
    // As GetMaterials, keeping those with a texture stage showing the texture.
    void GetMaterialsWithTexture(Array<Material*>& out, const Texture* texture) const;
    // Every face material found in the sorted old list takes the new material at the same
    // index, in this mesh and its levels. With dropUnknown, materials not in the list
    // become none: the cache reader uses it, as its stored numbers are no references.
    void RemapMaterials(const Array<Material*>& sortedOld, const Array<Material*>& replacements,
                        bool dropUnknown = false);
    // Drops the device mesh and the subset materials, here and in every level.
    void ReleaseDeviceMesh();

    // --- finishing a loaded mesh, in this order: merge, adjacency, normals, levels
    // Positions with exactly equal coordinates become one; vertices follow.
    void MergePositions();
    // Vertices at one position with normals equal within the tolerance, the same colour
    // and texture coordinates equal within the tolerance become one; faces follow.
    void MergeVertices();
    // Links each pair of faces that run along a shared edge in opposite directions.
    void BuildAdjacency();
    // Face normals, then smooth vertex normals: faces meeting at a position at more than
    // the crease angle (radians), or across an explicit edge, get vertices of their own.
    void ComputeNormals(float creaseAngle);
    // Simplifies the mesh once by edge collapses within firstPassFactor x radius (none
    // when negative), then appends ever coarser copies, each with at most `ratio` of the
    // faces of the one before. Nothing when the mesh has levels already.
    void BuildLevelsOfDetail(float firstPassFactor, float ratio, bool topologyCheck);

    // --- the binary form of the model cache (little-endian, no header)
    // A material is written as a 32-bit identity; the default takes the low bits of its
    // address, which a cache writer replaces by numbers of its own through `identity`.
    using MaterialIdentity = std::function<uint32_t(const Material*)>;
    void WriteBinary(Stream& stream, const MaterialIdentity& identity = {}) const;
    // Replaces this mesh's contents. Face materials hold the stored identities as
    // addresses until RemapMaterials replaces them. A short or damaged stream leaves the
    // records read so far and sets the stream's error flag; references that do not point
    // at a record read become none.
    void ReadBinary(Stream& stream);

    String name;
    Array<Vector3> positions;
    Array<MeshVertex> vertices;
    Array<MeshFace> faces;
    Array<MeshEdge> edges;
    Array<MeshLevel> levels;  // finest first
    Sphere bounds;            // radius -1: not computed
    uint8_t hasNormals = 0;   // the device vertex format carries the normal
    uint8_t hasColors = 0;    // ... and the colour
    int32_t texCoordSetCount = 0;
    // Set and cleared by the model tree's one-time scaling of shared meshes.
    uint8_t scaled = 0;
    // Vertex data changed since the renderer's last upload.
    uint8_t dirty = 0;
    ExactArray<uint32_t> changeBits;  // MeshVertexChange bits per vertex
    std::unique_ptr<gfx::DeviceMesh> deviceMesh;
    // One per subset of the device mesh, filled by the renderer.
    Array<Material*> subsetMaterials;

private:
    void CopyFrom(const Mesh& other);
    void DestroyLevels();
    void ReadBinaryAt(Stream& stream, int depth);
};

// Inserts the value before the first greater element of an ascending array; its index.
int InsertSorted(Array<uint32_t>& array, uint32_t value);
int InsertSorted(Array<int32_t>& array, int32_t value);
int InsertSorted(Array<Material*>& array, Material* value);
// The index of the value in an ascending array, or -1.
int FindSorted(const Array<uint32_t>& array, uint32_t value);
int FindSorted(const Array<int32_t>& array, int32_t value);
int FindSorted(const Array<Material*>& array, const Material* value);
