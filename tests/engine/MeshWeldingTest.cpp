// Finishing a loaded mesh: welding equal positions and vertices, linking neighbours and
// smooth normals split at creases and explicit edges.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "core/MathUtil.h"
#include "engine/Mesh.h"

namespace {

constexpr float kFullTurn = 2.0f * std::numbers::pi_v<float>;

// Appends a triangle with a position and a vertex of its own at every corner, as the
// model readers do before welding.
void AddLooseTriangle(Mesh& mesh, const Vector3& a, const Vector3& b, const Vector3& c) {
    const Vector3 corners[3] = {a, b, c};
    MeshFace face;
    int vertices[3];
    for (int k = 0; k < 3; ++k) {
        MeshVertex vertex;
        vertex.position = &mesh.positions[mesh.AddPosition(corners[k])];
        vertices[k] = mesh.AddVertex(vertex);
    }
    for (int k = 0; k < 3; ++k) face.corners[k] = &mesh.vertices[vertices[k]];
    mesh.AddFace(face);
}

// A unit cube of 12 loose faces whose normals point outwards.
void BuildLooseCube(Mesh& mesh) {
    const Vector3 axes[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    for (int axis = 0; axis < 3; ++axis) {
        for (float sign : {1.0f, -1.0f}) {
            const Vector3 n = axes[axis] * sign;
            const Vector3 u = axes[(axis + 1) % 3] * 0.5f;
            const Vector3 v = n.Cross(u);
            const Vector3 c = n * 0.5f;
            // u x v = n / 2: the corners below run clockwise seen from outside.
            AddLooseTriangle(mesh, c - u - v, c + u + v, c + u - v);
            AddLooseTriangle(mesh, c - u - v, c - u + v, c + u + v);
        }
    }
}

void Finish(Mesh& mesh, float creaseAngle) {
    mesh.MergePositions();
    mesh.MergeVertices();
    mesh.BuildAdjacency();
    mesh.ComputeNormals(creaseAngle);
}

int NeighbourCount(const Mesh& mesh) {
    int count = 0;
    for (const MeshFace& face : mesh.faces) {
        for (const MeshFace* neighbour : face.neighbours) count += neighbour != nullptr;
    }
    return count;
}

void ExpectNear(const Vector3& actual, const Vector3& expected) {
    EXPECT_NEAR(actual.x, expected.x, 1e-5f);
    EXPECT_NEAR(actual.y, expected.y, 1e-5f);
    EXPECT_NEAR(actual.z, expected.z, 1e-5f);
}

TEST(MeshWeldingTest, CubeWeldsToEightCornersAndSmoothsAtAFullTurn) {
    Mesh mesh;
    BuildLooseCube(mesh);
    ASSERT_EQ(mesh.positions.Count(), 36);
    Finish(mesh, kFullTurn);

    EXPECT_EQ(mesh.positions.Count(), 8);
    EXPECT_EQ(mesh.vertices.Count(), 8);
    EXPECT_EQ(NeighbourCount(mesh), 36);  // closed: every edge links two faces
    ExpectNear(mesh.faces[0].normal, {1, 0, 0});
    for (const MeshVertex& vertex : mesh.vertices) {
        // Each corner's normal points along its diagonal, away from the centre.
        const Vector3 diagonal = (*vertex.position * 2.0f).Normalized();
        ExpectNear(vertex.normal, diagonal);
    }
    for (const MeshFace& face : mesh.faces) {
        for (const MeshVertex* corner : face.corners) EXPECT_EQ(mesh.VertexIndex(corner) >= 0, true);
    }
}

TEST(MeshWeldingTest, CubeAtSixtyDegreesGetsOneVertexPerSideAtEachCorner) {
    Mesh mesh;
    BuildLooseCube(mesh);
    Finish(mesh, kFullTurn / 6);

    EXPECT_EQ(mesh.positions.Count(), 8);
    EXPECT_EQ(mesh.vertices.Count(), 24);
    for (const MeshFace& face : mesh.faces) {
        for (const MeshVertex* corner : face.corners) ExpectNear(corner->normal, face.normal);
    }
}

TEST(MeshWeldingTest, WeldingIsExactForPositionsAndWithinToleranceForVertices) {
    Mesh mesh;
    const float nextUp = std::nextafter(1.0f, 2.0f);
    for (const Vector3& p :
         {Vector3(1, 0, 0), Vector3(1, 0, 0), Vector3(nextUp, 0, 0), Vector3(-0.0f, 0, 0), Vector3(0, 0, 0)}) {
        mesh.AddPosition(p);
    }
    auto vertexAt = [&](int position, Vector3 normal, float u) {
        MeshVertex vertex;
        vertex.position = &mesh.positions[position];
        vertex.normal = normal;
        vertex.texCoords.Append(Vector2(u, 0));
        return mesh.AddVertex(vertex);
    };
    vertexAt(0, {0, 0, 1}, 0);
    vertexAt(1, {0, Tolerance * 0.5f, 1}, 0);  // welds with vertex 0 once positions merge
    vertexAt(1, {0, 1, 0}, 0.5f);              // another normal and coordinates: stays
    vertexAt(2, {0, 0, 1}, 0);                 // the next float up is another position
    vertexAt(4, {0, 0, 1}, 0);
    MeshEdge edge;
    edge.ends[0] = &mesh.positions[1];
    edge.ends[1] = &mesh.positions[4];
    mesh.AddEdge(edge);

    mesh.MergePositions();
    ASSERT_EQ(mesh.positions.Count(), 3);  // 1, the next float up, and 0 = -0
    EXPECT_EQ(mesh.vertices[1].position, &mesh.positions[0]);
    EXPECT_EQ(mesh.vertices[4].position, &mesh.positions[2]);
    EXPECT_EQ(mesh.edges[0].ends[0], &mesh.positions[0]);
    EXPECT_EQ(mesh.edges[0].ends[1], &mesh.positions[2]);

    mesh.MergeVertices();
    ASSERT_EQ(mesh.vertices.Count(), 4);
    EXPECT_EQ(mesh.vertices[1].texCoords[0].x, 0.5f);  // survivors keep their order
    EXPECT_EQ(mesh.vertices[3].position, &mesh.positions[2]);
}

TEST(MeshWeldingTest, OnlyFacesRunningAlongAnEdgeInOppositeDirectionsAreLinked) {
    Mesh mesh;
    AddLooseTriangle(mesh, {0, 0, 0}, {1, 0, 0}, {0, 1, 0});
    AddLooseTriangle(mesh, {1, 0, 0}, {0, 0, 0}, {0, -1, 0});  // opposite: linked
    AddLooseTriangle(mesh, {1, 0, 0}, {0, 0, 0}, {0, 0, 1});   // opposite too, but later
    AddLooseTriangle(mesh, {1, 0, 0}, {0, 1, 0}, {1, 1, 1});   // along 1-2 the same way
    mesh.MergePositions();
    mesh.MergeVertices();
    mesh.BuildAdjacency();

    EXPECT_EQ(mesh.faces[0].neighbours[0], &mesh.faces[1]);
    EXPECT_EQ(mesh.faces[1].neighbours[0], &mesh.faces[0]);
    EXPECT_EQ(mesh.faces[2].neighbours[0], nullptr);
    EXPECT_EQ(mesh.faces[0].neighbours[1], nullptr);
    EXPECT_EQ(mesh.faces[3].neighbours[0], nullptr);
}

TEST(MeshWeldingTest, AnExplicitEdgeSplitsEvenFlatFaces) {
    // A flat square of two faces whose shared diagonal is an explicit (hard) edge.
    Mesh mesh;
    AddLooseTriangle(mesh, {0, 0, 0}, {1, 1, 0}, {1, 0, 0});
    AddLooseTriangle(mesh, {0, 0, 0}, {0, 1, 0}, {1, 1, 0});
    mesh.MergePositions();
    MeshEdge diagonal;
    diagonal.ends[0] = &mesh.positions[0];
    diagonal.ends[1] = &mesh.positions[1];
    mesh.AddEdge(diagonal);
    Finish(mesh, kFullTurn);

    EXPECT_EQ(mesh.positions.Count(), 4);
    EXPECT_EQ(mesh.vertices.Count(), 6);  // both ends of the diagonal split
    EXPECT_NE(mesh.faces[0].corners[0], mesh.faces[1].corners[0]);
    EXPECT_NE(mesh.faces[0].corners[1], mesh.faces[1].corners[2]);
    for (const MeshVertex& vertex : mesh.vertices) ExpectNear(vertex.normal, {0, 0, 1});

    Mesh smooth;
    AddLooseTriangle(smooth, {0, 0, 0}, {1, 1, 0}, {1, 0, 0});
    AddLooseTriangle(smooth, {0, 0, 0}, {0, 1, 0}, {1, 1, 0});
    Finish(smooth, kFullTurn);
    EXPECT_EQ(smooth.vertices.Count(), 4);
}

TEST(MeshWeldingTest, SeamVerticesStayApartAndCreasesFollowTheAngle) {
    // A roof of two faces folded by 90 degrees along the ridge x = 0.
    Mesh mesh;
    AddLooseTriangle(mesh, {0, 0, 1}, {-1, 0, 0}, {0, 1, 1});
    AddLooseTriangle(mesh, {0, 0, 1}, {0, 1, 1}, {1, 0, 0});
    Mesh creased = mesh;
    Finish(mesh, kFullTurn / 2);  // 90 degrees is within 180: smooth
    EXPECT_EQ(mesh.vertices.Count(), 4);
    ExpectNear(mesh.faces[0].corners[0]->normal, mesh.faces[1].corners[0]->normal);

    Finish(creased, kFullTurn / 8);  // 45 degrees: the ridge splits
    EXPECT_EQ(creased.vertices.Count(), 6);
    ExpectNear(creased.faces[0].corners[0]->normal, creased.faces[0].normal);
    ExpectNear(creased.faces[1].corners[0]->normal, creased.faces[1].normal);
}

}  // namespace
