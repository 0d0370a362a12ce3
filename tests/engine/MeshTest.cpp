// The mesh record: building with references that survive growth, degenerate faces,
// bounds, transforms, deep copies with levels, materials and the cache's binary form.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <filesystem>

#include "core/FileStream.h"
#include "core/MathUtil.h"
#include "engine/Material.h"
#include "engine/Mesh.h"
#include "support/TempFolder.h"

namespace {

void ExpectNear(const Vector3& actual, const Vector3& expected, float tolerance = 1e-5f) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

MeshVertex VertexAt(Mesh& mesh, int position, const Vector3& normal = {0, 0, 1}) {
    MeshVertex vertex;
    vertex.position = &mesh.positions[position];
    vertex.normal = normal;
    return vertex;
}

MeshFace FaceOf(Mesh& mesh, int a, int b, int c, Material* material = nullptr) {
    MeshFace face;
    face.corners[0] = &mesh.vertices[a];
    face.corners[1] = &mesh.vertices[b];
    face.corners[2] = &mesh.vertices[c];
    face.material = material;
    return face;
}

// The unit square in the x-y plane as two faces sharing the diagonal 0-2, built in
// arrays of capacity 1 so that every add moves its array.
void BuildSquare(Mesh& mesh, Material* first = nullptr, Material* second = nullptr) {
    mesh.name = "square";
    const Vector3 corners[4] = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
    for (const Vector3& corner : corners) mesh.AddPosition(corner);
    for (int i = 0; i < 4; ++i) {
        MeshVertex vertex = VertexAt(mesh, i);
        vertex.color = Color(0xFF000000u | uint32_t(i));
        vertex.texCoords.Append(Vector2(float(i), 0.5f));
        mesh.AddVertex(vertex);
    }
    mesh.AddFace(FaceOf(mesh, 0, 1, 2, first));
    mesh.AddFace(FaceOf(mesh, 0, 2, 3, second));
    mesh.faces[0].neighbours[2] = &mesh.faces[1];
    mesh.faces[1].neighbours[0] = &mesh.faces[0];
    MeshEdge edge;
    edge.ends[0] = &mesh.positions[1];
    edge.ends[1] = &mesh.positions[3];
    mesh.AddEdge(edge);
}

// Every reference points into the mesh's own arrays at the expected elements.
void ExpectSquareReferences(Mesh& mesh) {
    ASSERT_GE(mesh.positions.Count(), 4);
    ASSERT_EQ(mesh.vertices.Count(), 4);
    ASSERT_EQ(mesh.faces.Count(), 2);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(mesh.vertices[i].position, &mesh.positions[i]);
    EXPECT_EQ(mesh.faces[0].corners[1], &mesh.vertices[1]);
    EXPECT_EQ(mesh.faces[1].corners[2], &mesh.vertices[3]);
    EXPECT_EQ(mesh.faces[0].neighbours[2], &mesh.faces[1]);
    EXPECT_EQ(mesh.faces[1].neighbours[0], &mesh.faces[0]);
    EXPECT_EQ(mesh.faces[0].neighbours[0], nullptr);
    ASSERT_EQ(mesh.edges.Count(), 1);
    EXPECT_EQ(mesh.edges[0].ends[0], &mesh.positions[1]);
    EXPECT_EQ(mesh.edges[0].ends[1], &mesh.positions[3]);
}

TEST(MeshTest, ReferencesFollowEveryGrowingArray) {
    Mesh mesh(1, 1, 1, 1);
    BuildSquare(mesh);
    ExpectSquareReferences(mesh);
    for (int i = 0; i < 40; ++i) mesh.AddPosition({float(i), 0, 5});
    ExpectNear(*mesh.vertices[2].position, {1, 1, 0});
    ExpectNear(*mesh.edges[0].ends[1], {0, 1, 0});
    ExpectSquareReferences(mesh);
}

TEST(MeshTest, FacesWithSharedOrMissingCornersAreRefused) {
    Mesh mesh;
    mesh.AddPosition({0, 0, 0});
    mesh.AddPosition({1, 0, 0});
    mesh.AddPosition({0, 0, 0});                 // equal to position 0, another element
    mesh.AddPosition({0, Tolerance * 0.5f, 0});  // nearly, not exactly, position 0
    for (int i = 0; i < 4; ++i) mesh.AddVertex(VertexAt(mesh, i));
    mesh.AddVertex(MeshVertex());  // no position

    EXPECT_EQ(mesh.AddFace(FaceOf(mesh, 0, 1, 2)), -1);
    EXPECT_EQ(mesh.AddFace(FaceOf(mesh, 0, 1, 0)), -1);
    EXPECT_EQ(mesh.AddFace(FaceOf(mesh, 0, 1, 4)), -1);
    MeshFace missing = FaceOf(mesh, 0, 1, 3);
    missing.corners[1] = nullptr;
    EXPECT_EQ(mesh.AddFace(missing), -1);
    EXPECT_EQ(mesh.faces.Count(), 0);

    EXPECT_EQ(mesh.AddFace(FaceOf(mesh, 0, 1, 3)), 0);
    EXPECT_EQ(Tolerance, kDefaultTolerance);  // the exact test restores it
}

TEST(MeshTest, FaceHelpers) {
    Mesh mesh;
    BuildSquare(mesh);
    MeshFace& face = mesh.faces[1];
    EXPECT_EQ(face.IndexOfVertex(&mesh.vertices[2]), 1);
    EXPECT_EQ(face.IndexOfVertex(&mesh.vertices[1]), -1);
    EXPECT_EQ(face.IndexOfPosition(&mesh.positions[3]), 2);
    EXPECT_EQ(face.IndexOfPosition(&mesh.positions[1]), -1);

    // Counter-clockwise seen from +z: the normal of (B - C) x (A - B) points down.
    face.ComputeNormal();
    ExpectNear(face.normal, {0, 0, -1});
}

TEST(MeshTest, BoundsBoxesAndCoordinateSets) {
    Mesh mesh;
    mesh.UpdateBounds();
    EXPECT_EQ(mesh.bounds.radius, -1.0f);
    ExpectNear(mesh.bounds.centre, {0, 0, 0});
    const Box empty = mesh.GetTransformedBox(Matrix4());
    EXPECT_EQ(empty.minimum.x, FLT_MAX);
    EXPECT_EQ(empty.maximum.z, -FLT_MAX);
    mesh.UpdateTexCoordSetCount();
    EXPECT_EQ(mesh.texCoordSetCount, 0);

    BuildSquare(mesh);
    mesh.vertices[3].texCoords.Append(Vector2(1, 1));
    mesh.vertices[3].texCoords.Append(Vector2(2, 2));
    mesh.UpdateTexCoordSetCount();
    EXPECT_EQ(mesh.texCoordSetCount, 3);
    mesh.UpdateBounds();
    for (const Vector3& p : mesh.positions) {
        EXPECT_LE(p.Distance(mesh.bounds.centre), mesh.bounds.radius + 1e-5f);
    }
    Matrix4 move;
    move.SetTranslation({10, 20, 30});
    const Box box = mesh.GetTransformedBox(move);
    ExpectNear(box.minimum, {10, 20, 30});
    ExpectNear(box.maximum, {11, 21, 30});
}

TEST(MeshTest, TransformMovesPositionsAndTurnsNormals) {
    Mesh mesh;
    BuildSquare(mesh);
    mesh.vertices[1].normal = Vector3(1, 0, 0);
    Matrix4 m = Matrix::RotationZ(kPi * 0.5f);
    m.Translate({5, 0, 0});
    mesh.Transform(m);
    ExpectNear(mesh.positions[1], {5, 1, 0});
    ExpectNear(mesh.positions[2], {4, 1, 0});
    ExpectNear(mesh.vertices[1].normal, {0, 1, 0});
    ExpectNear(mesh.vertices[0].normal, {0, 0, 1});

    // A stretch along x tilts a slanted normal toward y (inverse transpose).
    Matrix4 stretch;
    stretch.m[0] = 2.0f;
    mesh.vertices[0].normal = Vector3(1, 1, 0).Normalized();
    mesh.Transform(stretch);
    ExpectNear(mesh.vertices[0].normal, Vector3(0.5f, 1, 0).Normalized());
    ExpectNear(mesh.positions[1], {10, 1, 0});
}

TEST(MeshTest, SmallUniformScaleKeepsUnitNormals) {
    Mesh mesh;
    BuildSquare(mesh);
    mesh.vertices[2].normal = Vector3(0, 0.6f, 0.8f);
    mesh.Scale(0.02f);
    ExpectNear(mesh.positions[2], {0.02f, 0.02f, 0});
    for (const MeshVertex& vertex : mesh.vertices) EXPECT_NEAR(vertex.normal.Length(), 1.0f, 1e-5f);
    ExpectNear(mesh.vertices[2].normal, {0, 0.6f, 0.8f});
}

TEST(MeshTest, SingularTransformZeroesNormalsAndLevelsFollow) {
    Mesh mesh;
    BuildSquare(mesh);
    auto* level = new Mesh();
    BuildSquare(*level);
    mesh.levels.Append({level, 0.25f});
    mesh.levels.Append({nullptr, 0.5f});

    mesh.Scale(2.0f);
    EXPECT_FLOAT_EQ(mesh.levels[0].error, 0.5f);
    EXPECT_FLOAT_EQ(mesh.levels[1].error, 0.5f);  // no mesh: left alone
    ExpectNear(level->positions[2], {2, 2, 0});
    EXPECT_NEAR(level->vertices[0].normal.Length(), 1.0f, 1e-5f);

    Matrix4 flatten;
    flatten.m[10] = 0.0f;
    mesh.Transform(flatten);
    for (const MeshVertex& vertex : mesh.vertices) ExpectNear(vertex.normal, {0, 0, 0});
    for (const MeshVertex& vertex : level->vertices) ExpectNear(vertex.normal, {0, 0, 0});
}

TEST(MeshTest, CopiesOwnTheirLevels) {
    auto source = std::make_unique<Mesh>();
    BuildSquare(*source);
    auto* level = new Mesh();
    BuildSquare(*level);
    level->name = "coarse";
    source->levels.Append({level, 0.1f});
    source->hasNormals = 1;
    source->dirty = 1;
    source->scaled = 1;
    source->changeBits.SetSize(4);
    source->changeBits[2] = kVertexChangeNormal;

    Mesh copy(*source);
    Mesh assigned;
    BuildSquare(assigned);
    assigned.levels.Append({new Mesh(), 3.0f});  // replaced, not leaked
    assigned = *source;
    source.reset();

    for (Mesh* mesh : {&copy, &assigned}) {
        ExpectSquareReferences(*mesh);
        EXPECT_EQ(mesh->name, "square");
        EXPECT_EQ(mesh->hasNormals, 1);
        EXPECT_EQ(mesh->dirty, 1);
        EXPECT_EQ(mesh->scaled, 0);
        ASSERT_EQ(mesh->changeBits.Count(), 4);
        EXPECT_EQ(mesh->changeBits[2], uint32_t(kVertexChangeNormal));
        EXPECT_FLOAT_EQ(mesh->vertices[3].texCoords[0].x, 3.0f);
        ASSERT_EQ(mesh->levels.Count(), 1);
        ASSERT_NE(mesh->levels[0].mesh, nullptr);
        EXPECT_EQ(mesh->levels[0].mesh->name, "coarse");
        ExpectSquareReferences(*mesh->levels[0].mesh);
    }
    EXPECT_NE(copy.levels[0].mesh, assigned.levels[0].mesh);
}

TEST(MeshTest, MaterialsAreListedSortedAndRemapped) {
    Material materials[3];
    Material* low = &materials[0];
    Material* high = &materials[2];
    Mesh mesh;
    BuildSquare(mesh, high, low);
    mesh.AddPosition({5, 5, 5});
    mesh.AddVertex(VertexAt(mesh, 4));
    mesh.AddFace(FaceOf(mesh, 0, 1, 4, high));
    mesh.AddFace(FaceOf(mesh, 1, 2, 4, nullptr));
    auto* level = new Mesh();
    BuildSquare(*level, low, nullptr);
    mesh.levels.Append({level, 1.0f});

    EXPECT_EQ(mesh.GetMaterial(), high);
    Array<Material*> list;
    list.Append(&materials[1]);  // emptied first
    mesh.GetMaterials(list);
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list[0], low);
    EXPECT_EQ(list[1], high);

    Texture* texture = reinterpret_cast<Texture*>(&materials[1]);
    high->stages.Append(TextureStageSettings(nullptr));
    high->stages.Append(TextureStageSettings(texture));
    mesh.GetMaterialsWithTexture(list, texture);
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list[0], high);

    Material replacement;
    Array<Material*> sortedOld;
    sortedOld.Append(low);
    Array<Material*> replacements;
    replacements.Append(&replacement);
    mesh.RemapMaterials(sortedOld, replacements);
    EXPECT_EQ(mesh.faces[1].material, &replacement);
    EXPECT_EQ(mesh.faces[0].material, high);
    EXPECT_EQ(mesh.faces[3].material, nullptr);
    EXPECT_EQ(level->faces[0].material, &replacement);

    mesh.RemapMaterials(sortedOld, replacements, true);
    EXPECT_EQ(mesh.faces[0].material, nullptr);
    EXPECT_EQ(mesh.faces[1].material, nullptr);  // &replacement is not in the old list
}

TEST(MeshTest, SortedArrays) {
    Array<int32_t> values;
    EXPECT_EQ(InsertSorted(values, 5), 0);
    EXPECT_EQ(InsertSorted(values, -3), 0);
    EXPECT_EQ(InsertSorted(values, 5), 2);  // after the equal one
    EXPECT_EQ(InsertSorted(values, 1), 1);
    ASSERT_EQ(values.Count(), 4);
    EXPECT_EQ(values[0], -3);
    EXPECT_EQ(values[3], 5);
    EXPECT_EQ(FindSorted(values, 1), 1);
    EXPECT_EQ(FindSorted(values, 2), -1);

    Array<uint32_t> words;
    InsertSorted(words, 0xFFFFFFFFu);
    InsertSorted(words, 1u);
    EXPECT_EQ(words[1], 0xFFFFFFFFu);
    EXPECT_EQ(FindSorted(words, 0xFFFFFFFFu), 1);
}

class MeshFileTest : public ::testing::Test {
protected:
    std::string Write(const Mesh& mesh, const Mesh::MaterialIdentity& identity = {}) {
        const std::string path = folder_ / "mesh.sbm";
        FileStream out(path, "wb");
        mesh.WriteBinary(out, identity);
        EXPECT_TRUE(out.Commit());
        return path;
    }

    platform_test::TempFolder folder_;
};

TEST_F(MeshFileTest, RoundTripKeepsEveryRecordAndReference) {
    Material first;
    Material second;
    Mesh mesh;
    BuildSquare(mesh, &first, &second);
    mesh.faces[0].normal = Vector3(0, 0, -1);
    auto* level = new Mesh();
    BuildSquare(*level, &second, nullptr);
    mesh.levels.Append({level, 0.75f});
    mesh.levels.Append({nullptr, 2.0f});
    mesh.UpdateBounds();
    mesh.hasColors = 1;
    mesh.texCoordSetCount = 1;
    mesh.changeBits.SetSize(4);
    mesh.changeBits[1] = kVertexChangePosition | kVertexChangeColor;

    const auto identity = [&](const Material* m) { return m == &first ? 7u : 9u; };
    const std::string path = Write(mesh, identity);

    Mesh read;
    BuildSquare(read);  // replaced by what is read
    FileStream in(path, "rb");
    read.ReadBinary(in);
    EXPECT_FALSE(in.HasError());
    ExpectSquareReferences(read);
    EXPECT_EQ(read.name, "square");
    ExpectNear(read.positions[2], {1, 1, 0});
    EXPECT_EQ(read.vertices[3].color, Color(0xFF000003u));
    ASSERT_EQ(read.vertices[3].texCoords.Count(), 1);
    EXPECT_FLOAT_EQ(read.vertices[3].texCoords[0].x, 3.0f);
    ExpectNear(read.faces[0].normal, {0, 0, -1});
    EXPECT_EQ(read.bounds.radius, mesh.bounds.radius);
    EXPECT_EQ(read.hasColors, 1);
    EXPECT_EQ(read.hasNormals, 0);
    EXPECT_EQ(read.texCoordSetCount, 1);
    ASSERT_EQ(read.changeBits.Count(), 4);
    EXPECT_EQ(read.changeBits[1], 5u);
    ASSERT_EQ(read.levels.Count(), 2);
    ASSERT_NE(read.levels[0].mesh, nullptr);
    ExpectSquareReferences(*read.levels[0].mesh);
    EXPECT_FLOAT_EQ(read.levels[0].error, 0.75f);
    EXPECT_EQ(read.levels[1].mesh, nullptr);
    EXPECT_FLOAT_EQ(read.levels[1].error, 2.0f);

    // Stored identities stand in for the materials until the cache reader maps them.
    Array<Material*> ids;
    ids.Append(reinterpret_cast<Material*>(uintptr_t(7)));
    ids.Append(reinterpret_cast<Material*>(uintptr_t(9)));
    Array<Material*> created;
    created.Append(&second);
    created.Append(&first);
    read.RemapMaterials(ids, created, true);
    EXPECT_EQ(read.faces[0].material, &second);
    EXPECT_EQ(read.faces[1].material, &first);
    EXPECT_EQ(read.levels[0].mesh->faces[0].material, &first);
    EXPECT_EQ(read.levels[0].mesh->faces[1].material, nullptr);
}

TEST_F(MeshFileTest, EmptyArraysStoreAZeroStart) {
    Mesh mesh;
    mesh.AddPosition({1, 2, 3});
    const std::string path = Write(mesh);
    const std::string bytes = platform_test::ReadRaw(path);
    // name: count 1 and the zero; then the starts of positions, vertices and faces.
    ASSERT_GE(bytes.size(), 17u);
    EXPECT_NE(bytes.substr(5, 4), std::string(4, '\0'));
    EXPECT_EQ(bytes.substr(9, 8), std::string(8, '\0'));

    Mesh read;
    FileStream in(path, "rb");
    read.ReadBinary(in);
    EXPECT_EQ(read.positions.Count(), 1);
    EXPECT_EQ(read.faces.Count(), 0);
    EXPECT_EQ(read.bounds.radius, -1.0f);
}

TEST_F(MeshFileTest, DamagedFilesReadSafely) {
    Mesh mesh;
    BuildSquare(mesh);
    const std::string path = Write(mesh);
    const std::string whole = platform_test::ReadRaw(path);

    // Cut inside the faces: what came before stays, nothing refers past what was read.
    for (size_t cut : {size_t(3), size_t(40), whole.size() / 2, whole.size() - 1}) {
        platform_test::WriteRaw(path, whole.substr(0, cut));
        Mesh read;
        FileStream in(path, "rb");
        read.ReadBinary(in);
        EXPECT_TRUE(in.HasError()) << cut;
        for (const MeshFace& face : read.faces) {
            for (const MeshVertex* corner : face.corners) {
                EXPECT_TRUE(corner == nullptr || read.VertexIndex(corner) >= 0);
            }
        }
    }

    // A hostile position count and a reference between records.
    // "square": a count and seven bytes of name, then three starts.
    const size_t positionCount = 4 + 7 + 12;
    std::string hostile = whole;
    hostile.replace(positionCount, 4, std::string("\xFF\xFF\xFF\x7F", 4));
    platform_test::WriteRaw(path, hostile);
    {
        Mesh read;
        FileStream in(path, "rb");
        read.ReadBinary(in);
        EXPECT_TRUE(in.HasError());
        EXPECT_EQ(read.positions.Count(), 0);
    }
    std::string skewed = whole;
    const size_t firstVertexRef = positionCount + 4 + 4 * 12 + 4;
    skewed[firstVertexRef] = char(skewed[firstVertexRef] + 1);
    platform_test::WriteRaw(path, skewed);
    Mesh read;
    FileStream in(path, "rb");
    read.ReadBinary(in);
    EXPECT_FALSE(in.HasError());
    EXPECT_EQ(read.vertices[0].position, nullptr);
    EXPECT_EQ(read.vertices[1].position, &read.positions[1]);
}

}  // namespace
