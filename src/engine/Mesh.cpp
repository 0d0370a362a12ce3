#include "engine/Mesh.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <functional>
#include <span>
#include <vector>

#include "core/MathStreamIO.h"
#include "core/MathUtil.h"
#include "core/Stream.h"
#include "engine/Material.h"
#include "platform/gfx/DeviceMesh.h"

namespace {

// Sizes of the stored records that the binary form measures references in; they are
// part of the cache format, whatever the records' sizes in memory.
constexpr uint32_t kStoredPositionSize = 12;
constexpr uint32_t kStoredVertexSize = 32;
constexpr uint32_t kStoredFaceSize = 40;
// Any non-zero start will do (0 means an empty array); a fixed one keeps the cache
// files of equal meshes byte for byte equal.
constexpr uint32_t kStoredStart = 0x00010000;
// Bounds on what a cache file may hold: the largest count keeps start + index x size
// within 32 bits; names and coordinate sets are far below theirs in every model.
constexpr int32_t kMaxStoredCount = 1 << 24;
constexpr int32_t kMaxStoredNameLength = 4096;
constexpr int32_t kMaxStoredTexCoordSets = 8;
constexpr int32_t kMaxStoredLevels = 64;
constexpr int kMaxLevelDepth = 8;

template <class T>
T* Rebased(T* reference, const T* oldStart, T* newStart) {
    if (reference == nullptr || oldStart == nullptr) return reference;
    const uintptr_t offset = reinterpret_cast<uintptr_t>(reference) - reinterpret_cast<uintptr_t>(oldStart);
    return newStart + offset / sizeof(T);
}

template <class T>
int IndexIn(const Array<T>& array, const T* element) {
    if (element == nullptr || array.Count() == 0) return -1;
    const T* start = array.Data();
    if (element < start || element >= start + array.Count()) return -1;
    return int(element - start);
}

// --- little-endian binary fields

void WriteUInt32(Stream& stream, uint32_t value) {
    const uint8_t bytes[4] = {uint8_t(value), uint8_t(value >> 8), uint8_t(value >> 16), uint8_t(value >> 24)};
    stream.Write(bytes, 4);
}

void WriteInt32(Stream& stream, int32_t value) { WriteUInt32(stream, uint32_t(value)); }

void WriteByte(Stream& stream, uint8_t value) { stream.Write(&value, 1); }

void WriteFloat(Stream& stream, float value) { WriteFloatsBinary(stream, &value, 1); }

uint32_t ReadUInt32(Stream& stream) {
    uint8_t bytes[4] = {};
    if (stream.HasError()) return 0;
    stream.Read(bytes, 4);
    if (stream.HasError()) return 0;
    return uint32_t(bytes[0]) | (uint32_t(bytes[1]) << 8) | (uint32_t(bytes[2]) << 16) | (uint32_t(bytes[3]) << 24);
}

uint8_t ReadByte(Stream& stream) {
    uint8_t value = 0;
    if (stream.HasError()) return 0;
    stream.Read(&value, 1);
    return stream.HasError() ? 0 : value;
}

float ReadFloat(Stream& stream) {
    float value = 0.0f;
    ReadFloatsBinary(stream, &value, 1);
    return value;
}

// A count of stored records: 0 after a read error or when negative; a count above the
// bound marks the stream as damaged.
int32_t ReadCount(Stream& stream, int32_t bound) {
    const auto count = int32_t(ReadUInt32(stream));
    if (count <= 0) return 0;
    if (count > bound) {
        stream.SetError();
        return 0;
    }
    return count;
}

void WriteName(Stream& stream, const String& name) {
    WriteInt32(stream, name.Length());
    stream.Write(name.CStr(), name.Length());
}

String ReadName(Stream& stream) {
    const int32_t length = ReadCount(stream, kMaxStoredNameLength);
    if (length == 0) return String();
    std::vector<char> bytes(size_t(length) + 1, '\0');
    stream.Read(bytes.data(), length);
    if (stream.HasError()) return String();
    return String(bytes.data());
}

uint32_t StoredReference(int index, uint32_t elementSize) {
    return index < 0 ? 0 : kStoredStart + uint32_t(index) * elementSize;
}

// The index a stored reference names, or -1 for none and for anything that is not the
// start of a record read.
int StoredIndex(uint32_t reference, uint32_t start, uint32_t elementSize, int count) {
    if (reference == 0) return -1;
    const uint32_t offset = reference - start;
    if (offset % elementSize != 0) return -1;
    const uint32_t index = offset / elementSize;
    return index < uint32_t(count) ? int(index) : -1;
}

template <class T>
T* Element(Array<T>& array, int index) {
    return index < 0 ? nullptr : &array[index];
}

float RowLength(const Matrix4& m, int row) {
    const float* r = &m.m[4 * row];
    return std::sqrt(r[0] * r[0] + r[1] * r[1] + r[2] * r[2] + r[3] * r[3]);
}

// The inverse of M, or the zero matrix when M is singular. The test is relative to the
// size of M's rows: an absolute one would call every small uniform scale (0.02 and
// below) singular and wipe the normals of scaled-down models.
Matrix4 InverseForNormals(const Matrix4& m) {
    float det = 0.0f;
    const Matrix4 adjugate = Matrix4Adjugate(m, det);
    const float scale = RowLength(m, 0) * RowLength(m, 1) * RowLength(m, 2);
    if (std::fabs(det) <= Tolerance * scale) return Matrix4::Zero();
    Matrix4 inverse;
    for (int i = 0; i < 16; ++i) inverse.m[i] = adjugate.m[i] / det;
    return inverse;
}

// n as a row vector times the upper 3 x 3 of the transpose of `inverse`.
Vector3 TransformNormal(const Matrix4& inverse, const Vector3& n) {
    const float* m = inverse.m;
    return {n.x * m[0] + n.y * m[1] + n.z * m[2], n.x * m[4] + n.y * m[5] + n.z * m[6],
            n.x * m[8] + n.y * m[9] + n.z * m[10]};
}

template <class T, class Less>
int InsertSortedBy(Array<T>& array, T value, Less less) {
    T* first = array.begin();
    const int index = int(std::upper_bound(first, array.end(), value, less) - first);
    array.Append(value);
    for (int i = array.Count() - 1; i > index; --i) array[i] = array[i - 1];
    array[index] = value;
    return index;
}

template <class T, class Less>
int FindSortedBy(const Array<T>& array, T value, Less less) {
    const T* first = array.begin();
    const T* found = std::lower_bound(first, array.end(), value, less);
    if (found == array.end() || less(value, *found)) return -1;
    return int(found - first);
}

}  // namespace

// --- faces

int MeshFace::IndexOfVertex(const MeshVertex* vertex) const {
    for (int i = 0; i < 3; ++i) {
        if (corners[i] == vertex) return i;
    }
    return -1;
}

int MeshFace::IndexOfPosition(const Vector3* position) const {
    for (int i = 0; i < 3; ++i) {
        if (corners[i] != nullptr && corners[i]->position == position) return i;
    }
    return -1;
}

bool MeshFace::IsDegenerate() const {
    for (const MeshVertex* corner : corners) {
        if (corner == nullptr || corner->position == nullptr) return true;
    }
    const Vector3& a = *corners[0]->position;
    const Vector3& b = *corners[1]->position;
    const Vector3& c = *corners[2]->position;
    // Only exactly equal positions count: nearly equal corners still make a face.
    const ToleranceScope exact(0.0f);
    return VectorsNearlyEqual(a, b) || VectorsNearlyEqual(a, c) || VectorsNearlyEqual(b, c);
}

void MeshFace::ComputeNormal() {
    for (const MeshVertex* corner : corners) {
        if (corner == nullptr || corner->position == nullptr) {
            normal = Vector3();
            return;
        }
    }
    const Vector3& a = *corners[0]->position;
    const Vector3& b = *corners[1]->position;
    const Vector3& c = *corners[2]->position;
    normal = (b - c).Cross(a - b);
    if (!normal.IsNearZero()) normal.Normalize();
}

// --- life

Mesh::Mesh(int positionCapacity, int vertexCapacity, int faceCapacity, int edgeCapacity)
    : positions(positionCapacity),
      vertices(vertexCapacity),
      faces(faceCapacity),
      edges(edgeCapacity),
      bounds(Sphere::Empty()) {}

Mesh::Mesh(const Mesh& other) : bounds(Sphere::Empty()) { CopyFrom(other); }

Mesh& Mesh::operator=(const Mesh& other) {
    if (&other == this) return *this;
    DestroyLevels();
    CopyFrom(other);
    ReleaseDeviceMesh();
    return *this;
}

Mesh::~Mesh() {
    ReleaseDeviceMesh();
    DestroyLevels();
}

void Mesh::CopyFrom(const Mesh& other) {
    name = other.name;
    positions = other.positions;
    vertices = other.vertices;
    faces = other.faces;
    edges = other.edges;
    RebaseReferences(other.positions.Data(), other.vertices.Data(), other.faces.Data());
    for (const MeshLevel& level : other.levels) {
        levels.Append({level.mesh != nullptr ? new Mesh(*level.mesh) : nullptr, level.error});
    }
    bounds = other.bounds;
    hasNormals = other.hasNormals;
    hasColors = other.hasColors;
    texCoordSetCount = other.texCoordSetCount;
    dirty = other.dirty;
    changeBits = other.changeBits;
}

void Mesh::DestroyLevels() {
    for (MeshLevel& level : levels) {
        delete level.mesh;
        level.mesh = nullptr;
    }
    levels.Clear();
}

// --- building

int Mesh::AddPosition(const Vector3& position) {
    const Vector3* old = positions.Data();
    const int index = positions.Append(position);
    if (old != positions.Data()) RebaseReferences(old, vertices.Data(), faces.Data());
    return index;
}

int Mesh::AddVertex(const MeshVertex& vertex) {
    const MeshVertex* old = vertices.Data();
    const int index = vertices.Append(vertex);
    if (old != vertices.Data()) RebaseReferences(positions.Data(), old, faces.Data());
    return index;
}

int Mesh::AddFace(const MeshFace& face) {
    if (face.IsDegenerate()) return -1;
    const MeshFace* old = faces.Data();
    const int index = faces.Append(face);
    if (old != faces.Data()) RebaseReferences(positions.Data(), vertices.Data(), old);
    return index;
}

int Mesh::AddEdge(const MeshEdge& edge) { return edges.Append(edge); }

void Mesh::RebaseReferences(const Vector3* oldPositions, const MeshVertex* oldVertices, const MeshFace* oldFaces) {
    for (MeshVertex& vertex : vertices) {
        vertex.position = Rebased(vertex.position, oldPositions, positions.Data());
    }
    for (MeshFace& face : faces) {
        for (int i = 0; i < 3; ++i) {
            face.corners[i] = Rebased(face.corners[i], oldVertices, vertices.Data());
            face.neighbours[i] = Rebased(face.neighbours[i], oldFaces, faces.Data());
        }
    }
    for (MeshEdge& edge : edges) {
        for (Vector3*& end : edge.ends) end = Rebased(end, oldPositions, positions.Data());
    }
}

int Mesh::PositionIndex(const Vector3* position) const { return IndexIn(positions, position); }

int Mesh::VertexIndex(const MeshVertex* vertex) const { return IndexIn(vertices, vertex); }

int Mesh::FaceIndex(const MeshFace* face) const { return IndexIn(faces, face); }

// --- whole-mesh operations

void Mesh::UpdateBounds() {
    bounds = Sphere::FromPoints(std::span<const Vector3>(positions.Data(), size_t(positions.Count())));
}

Box Mesh::GetTransformedBox(const Matrix4& m) const {
    Box box({FLT_MAX, FLT_MAX, FLT_MAX}, {-FLT_MAX, -FLT_MAX, -FLT_MAX});
    for (const Vector3& position : positions) box.AddPoint(TransformPoint(m, position));
    return box;
}

void Mesh::Transform(const Matrix4& m) {
    for (Vector3& position : positions) position = TransformPoint(m, position);
    const Matrix4 inverse = InverseForNormals(m);
    for (MeshVertex& vertex : vertices) {
        Vector3 n = TransformNormal(inverse, vertex.normal);
        if (n.Length() > Tolerance) n.Normalize();
        vertex.normal = n;
    }
    for (MeshLevel& level : levels) {
        if (level.mesh == nullptr) continue;
        level.mesh->Transform(m);
        level.error = Sphere::Transform(m, Sphere({0, 0, 0}, level.error)).radius;
    }
}

void Mesh::Scale(float s) {
    Matrix4 m;
    m.SetScale(s);
    Transform(m);
}

void Mesh::UpdateTexCoordSetCount() {
    texCoordSetCount = 0;
    for (const MeshVertex& vertex : vertices) {
        texCoordSetCount = std::max(texCoordSetCount, int32_t(vertex.texCoords.Count()));
    }
}

Material* Mesh::GetMaterial() const {
    for (const MeshFace& face : faces) {
        if (face.material != nullptr) return face.material;
    }
    return nullptr;
}

void Mesh::GetMaterials(Array<Material*>& out) const {
    out.Clear();
    for (const MeshFace& face : faces) {
        if (face.material != nullptr && FindSorted(out, face.material) < 0) {
            InsertSorted(out, face.material);
        }
    }
}

void Mesh::GetMaterialsWithTexture(Array<Material*>& out, const Texture* texture) const {
    GetMaterials(out);
    int kept = 0;
    for (Material* material : out) {
        const bool shows =
            std::any_of(material->stages.begin(), material->stages.end(),
                        [texture](const TextureStageSettings& stage) { return stage.texture == texture; });
        if (shows) out[kept++] = material;
    }
    out.SetSize(kept);
}

void Mesh::RemapMaterials(const Array<Material*>& sortedOld, const Array<Material*>& replacements, bool dropUnknown) {
    for (MeshFace& face : faces) {
        if (face.material == nullptr) continue;
        const int index = FindSorted(sortedOld, face.material);
        if (index >= 0 && index < replacements.Count()) {
            face.material = replacements[index];
        } else if (dropUnknown) {
            face.material = nullptr;
        }
    }
    for (MeshLevel& level : levels) {
        if (level.mesh != nullptr) level.mesh->RemapMaterials(sortedOld, replacements, dropUnknown);
    }
}

void Mesh::ReleaseDeviceMesh() {
    deviceMesh.reset();
    subsetMaterials.Clear();
    for (MeshLevel& level : levels) {
        if (level.mesh != nullptr) level.mesh->ReleaseDeviceMesh();
    }
}

// --- binary form

void Mesh::WriteBinary(Stream& stream, const MaterialIdentity& identity) const {
    WriteName(stream, name);
    WriteUInt32(stream, positions.Count() > 0 ? kStoredStart : 0);
    WriteUInt32(stream, vertices.Count() > 0 ? kStoredStart : 0);
    WriteUInt32(stream, faces.Count() > 0 ? kStoredStart : 0);

    WriteInt32(stream, positions.Count());
    for (const Vector3& position : positions) position.WriteBinary(stream);

    WriteInt32(stream, vertices.Count());
    for (const MeshVertex& vertex : vertices) {
        WriteUInt32(stream, StoredReference(PositionIndex(vertex.position), kStoredPositionSize));
        vertex.normal.WriteBinary(stream);
        vertex.color.WriteBinary(stream);
        WriteInt32(stream, vertex.texCoords.Count());
        for (const Vector2& pair : vertex.texCoords) pair.WriteBinary(stream);
    }

    WriteInt32(stream, faces.Count());
    for (const MeshFace& face : faces) {
        for (const MeshVertex* corner : face.corners) {
            WriteUInt32(stream, StoredReference(VertexIndex(corner), kStoredVertexSize));
        }
        for (const MeshFace* neighbour : face.neighbours) {
            WriteUInt32(stream, StoredReference(FaceIndex(neighbour), kStoredFaceSize));
        }
        face.normal.WriteBinary(stream);
        uint32_t material = 0;
        if (face.material != nullptr) {
            material = identity ? identity(face.material) : uint32_t(reinterpret_cast<uintptr_t>(face.material));
        }
        WriteUInt32(stream, material);
    }

    WriteInt32(stream, edges.Count());
    for (const MeshEdge& edge : edges) {
        for (const Vector3* end : edge.ends) {
            WriteUInt32(stream, StoredReference(PositionIndex(end), kStoredPositionSize));
        }
    }

    WriteInt32(stream, levels.Count());
    for (const MeshLevel& level : levels) {
        WriteUInt32(stream, level.mesh != nullptr ? 1 : 0);
        if (level.mesh != nullptr) level.mesh->WriteBinary(stream, identity);
        WriteFloat(stream, level.error);
    }

    bounds.WriteBinary(stream);
    WriteByte(stream, hasNormals ? 1 : 0);
    WriteByte(stream, hasColors ? 1 : 0);
    WriteInt32(stream, texCoordSetCount);
    WriteByte(stream, dirty ? 1 : 0);
    WriteInt32(stream, changeBits.Count());
    for (uint32_t bits : changeBits) WriteUInt32(stream, bits);
}

void Mesh::ReadBinary(Stream& stream) { ReadBinaryAt(stream, 0); }

void Mesh::ReadBinaryAt(Stream& stream, int depth) {
    ReleaseDeviceMesh();
    DestroyLevels();
    positions.Clear();
    vertices.Clear();
    faces.Clear();
    edges.Clear();
    changeBits.SetSize(0);

    name = ReadName(stream);
    const uint32_t positionStart = ReadUInt32(stream);
    const uint32_t vertexStart = ReadUInt32(stream);
    const uint32_t faceStart = ReadUInt32(stream);

    // Records are appended one by one, so a damaged count costs only what the stream
    // really holds.
    for (int32_t n = ReadCount(stream, kMaxStoredCount); n > 0 && !stream.HasError(); --n) {
        Vector3 position;
        position.ReadBinary(stream);
        if (!stream.HasError()) positions.Append(position);
    }

    std::vector<uint32_t> vertexRefs;
    for (int32_t n = ReadCount(stream, kMaxStoredCount); n > 0 && !stream.HasError(); --n) {
        MeshVertex vertex;
        const uint32_t positionRef = ReadUInt32(stream);
        vertex.normal.ReadBinary(stream);
        vertex.color.ReadBinary(stream);
        for (int32_t k = ReadCount(stream, kMaxStoredTexCoordSets); k > 0 && !stream.HasError(); --k) {
            Vector2 pair;
            pair.ReadBinary(stream);
            vertex.texCoords.Append(pair);
        }
        if (stream.HasError()) break;
        vertexRefs.push_back(positionRef);
        vertices.Append(vertex);
    }

    std::vector<uint32_t> faceRefs;
    for (int32_t n = ReadCount(stream, kMaxStoredCount); n > 0 && !stream.HasError(); --n) {
        uint32_t refs[6];
        for (uint32_t& ref : refs) ref = ReadUInt32(stream);
        MeshFace face;
        face.normal.ReadBinary(stream);
        face.material = reinterpret_cast<Material*>(uintptr_t(ReadUInt32(stream)));
        if (stream.HasError()) break;
        faceRefs.insert(faceRefs.end(), std::begin(refs), std::end(refs));
        faces.Append(face);
    }

    std::vector<uint32_t> edgeRefs;
    for (int32_t n = ReadCount(stream, kMaxStoredCount); n > 0 && !stream.HasError(); --n) {
        const uint32_t first = ReadUInt32(stream);
        const uint32_t second = ReadUInt32(stream);
        if (stream.HasError()) break;
        edgeRefs.push_back(first);
        edgeRefs.push_back(second);
        edges.Append(MeshEdge());
    }

    for (int32_t n = ReadCount(stream, kMaxStoredLevels); n > 0 && !stream.HasError(); --n) {
        MeshLevel level;
        if (ReadUInt32(stream) != 0) {
            // Levels of levels are never built; the bound stops a hostile chain.
            if (depth >= kMaxLevelDepth) {
                stream.SetError();
                break;
            }
            level.mesh = new Mesh();
            level.mesh->ReadBinaryAt(stream, depth + 1);
        }
        level.error = ReadFloat(stream);
        levels.Append(level);
    }

    bounds = Sphere::Empty();
    bounds.ReadBinary(stream);
    hasNormals = ReadByte(stream) != 0 ? 1 : 0;
    hasColors = ReadByte(stream) != 0 ? 1 : 0;
    texCoordSetCount = std::clamp(int32_t(ReadUInt32(stream)), 0, kMaxStoredTexCoordSets);
    dirty = ReadByte(stream) != 0 ? 1 : 0;
    std::vector<uint32_t> bits;
    for (int32_t n = ReadCount(stream, kMaxStoredCount); n > 0 && !stream.HasError(); --n) {
        const uint32_t word = ReadUInt32(stream);
        if (!stream.HasError()) bits.push_back(word);
    }
    changeBits.SetSize(int(bits.size()));
    for (size_t i = 0; i < bits.size(); ++i) changeBits[int(i)] = bits[i];

    const int positionCount = positions.Count();
    const int vertexCount = vertices.Count();
    const int faceCount = faces.Count();
    for (int i = 0; i < vertexCount; ++i) {
        const int index = StoredIndex(vertexRefs[size_t(i)], positionStart, kStoredPositionSize, positionCount);
        vertices[i].position = Element(positions, index);
    }
    for (int i = 0; i < faceCount; ++i) {
        const uint32_t* refs = &faceRefs[size_t(i) * 6];
        for (int k = 0; k < 3; ++k) {
            faces[i].corners[k] = Element(vertices, StoredIndex(refs[k], vertexStart, kStoredVertexSize, vertexCount));
            faces[i].neighbours[k] = Element(faces, StoredIndex(refs[3 + k], faceStart, kStoredFaceSize, faceCount));
        }
    }
    for (int i = 0; i < edges.Count(); ++i) {
        for (int k = 0; k < 2; ++k) {
            const int index =
                StoredIndex(edgeRefs[size_t(i) * 2 + size_t(k)], positionStart, kStoredPositionSize, positionCount);
            edges[i].ends[k] = Element(positions, index);
        }
    }
}

// --- sorted arrays

int InsertSorted(Array<uint32_t>& array, uint32_t value) { return InsertSortedBy(array, value, std::less<uint32_t>()); }

int InsertSorted(Array<int32_t>& array, int32_t value) { return InsertSortedBy(array, value, std::less<int32_t>()); }

int InsertSorted(Array<Material*>& array, Material* value) {
    return InsertSortedBy(array, value, std::less<const Material*>());
}

int FindSorted(const Array<uint32_t>& array, uint32_t value) {
    return FindSortedBy(array, value, std::less<uint32_t>());
}

int FindSorted(const Array<int32_t>& array, int32_t value) { return FindSortedBy(array, value, std::less<int32_t>()); }

int FindSorted(const Array<Material*>& array, const Material* value) {
    return FindSortedBy(array, const_cast<Material*>(value), std::less<const Material*>());
}
