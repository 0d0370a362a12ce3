// Simplification by edge collapse and the levels of detail it makes, down to the level
// the renderer picks at each distance.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>

#include "engine/Camera.h"
#include "engine/EdgeMesh.h"
#include "engine/Material.h"
#include "engine/Mesh.h"
#include "engine/Renderer.h"
#include "platform/gfx/RecordingDevice.h"

namespace {

using Height = std::function<float(float, float)>;
using MaterialAt = std::function<Material*(float, float)>;

// A welded grid of cells x cells unit squares in the x-y plane, two faces each, raised
// by the height function; each face takes the material of its centre.
void BuildGrid(Mesh& mesh, int cells, const Height& height, const MaterialAt& material = nullptr) {
    for (int y = 0; y <= cells; ++y) {
        for (int x = 0; x <= cells; ++x) mesh.AddPosition({float(x), float(y), height(float(x), float(y))});
    }
    for (int i = 0; i < mesh.positions.Count(); ++i) {
        MeshVertex vertex;
        vertex.position = &mesh.positions[i];
        mesh.AddVertex(vertex);
    }
    auto corner = [&](int x, int y) { return &mesh.vertices[y * (cells + 1) + x]; };
    for (int y = 0; y < cells; ++y) {
        for (int x = 0; x < cells; ++x) {
            Material* m = material ? material(float(x) + 0.5f, float(y) + 0.5f) : nullptr;
            MeshFace first;
            first.material = m;
            first.corners[0] = corner(x, y);
            first.corners[1] = corner(x + 1, y + 1);
            first.corners[2] = corner(x + 1, y);
            mesh.AddFace(first);
            MeshFace second;
            second.material = m;
            second.corners[0] = corner(x, y);
            second.corners[1] = corner(x, y + 1);
            second.corners[2] = corner(x + 1, y + 1);
            mesh.AddFace(second);
        }
    }
    mesh.name = "grid";
    mesh.BuildAdjacency();
    mesh.ComputeNormals(2.0f * std::numbers::pi_v<float>);
    mesh.UpdateBounds();
    mesh.hasNormals = 1;
}

float Flat(float, float) { return 0.0f; }

float Bumpy(float x, float y) { return 2.0f * std::sin(x * 0.7f) * std::cos(y * 0.5f); }

float Area(const Mesh& mesh) {
    float area = 0.0f;
    for (const MeshFace& face : mesh.faces) {
        const Vector3& a = *face.corners[0]->position;
        const Vector3& b = *face.corners[1]->position;
        const Vector3& c = *face.corners[2]->position;
        area += (b - a).Cross(c - a).Length() * 0.5f;
    }
    return area;
}

TEST(MeshLevelsTest, FlatRegionsMergeInTheFirstPassAndKeepTheirOutline) {
    Mesh mesh;
    BuildGrid(mesh, 8, Flat);
    ASSERT_EQ(mesh.faces.Count(), 128);
    mesh.BuildLevelsOfDetail(0.0f, 0.5f, true);

    // Collapses inside the plane or along the border cost nothing: only the corners hold.
    EXPECT_LE(mesh.faces.Count(), 4);
    EXPECT_NEAR(Area(mesh), 64.0f, 1e-3f);
    EXPECT_EQ(mesh.name, "grid");
    EXPECT_EQ(mesh.hasNormals, 1);
    const Box box = mesh.GetTransformedBox(Matrix4());
    EXPECT_FLOAT_EQ(box.minimum.x, 0.0f);
    EXPECT_FLOAT_EQ(box.maximum.y, 8.0f);
}

TEST(MeshLevelsTest, LevelsHalveTheFacesAndGrowInError) {
    Mesh mesh;
    BuildGrid(mesh, 12, Bumpy);
    const int faces = mesh.faces.Count();
    mesh.BuildLevelsOfDetail(-1.0f, 0.5f, true);  // no first pass

    EXPECT_EQ(mesh.faces.Count(), faces);
    ASSERT_GE(mesh.levels.Count(), 4);
    int previousFaces = faces;
    float previousError = 0.0f;
    for (const MeshLevel& level : mesh.levels) {
        ASSERT_NE(level.mesh, nullptr);
        EXPECT_LE(level.mesh->faces.Count(), previousFaces / 2);
        EXPECT_GE(level.error, previousError);
        EXPECT_EQ(level.mesh->name, "grid");
        EXPECT_EQ(level.mesh->bounds.radius, mesh.bounds.radius);
        previousFaces = level.mesh->faces.Count();
        previousError = level.error;
    }
    EXPECT_GT(mesh.levels[0].error, 0.0f);

    // A second call leaves the levels as they are.
    const Mesh* first = mesh.levels[0].mesh;
    mesh.BuildLevelsOfDetail(0.0f, 0.1f, true);
    EXPECT_EQ(mesh.levels[0].mesh, first);
}

TEST(MeshLevelsTest, RatiosOutsideTheRangeAreClamped) {
    auto levelFaces = [](float ratio) {
        Mesh mesh;
        BuildGrid(mesh, 10, Bumpy);
        mesh.BuildLevelsOfDetail(-1.0f, ratio, true);
        std::vector<int> counts;
        for (const MeshLevel& level : mesh.levels) counts.push_back(level.mesh->faces.Count());
        return counts;
    };
    EXPECT_EQ(levelFaces(0.0f), levelFaces(0.01f));
    const std::vector<int> fine = levelFaces(1.0f);
    EXPECT_EQ(fine, levelFaces(0.99f));
    ASSERT_GT(fine.size(), 50u);  // a level almost every collapse
    EXPECT_EQ(fine[0], 198);
}

TEST(MeshLevelsTest, ASingleTriangleGetsNoLevel) {
    Mesh mesh;
    BuildGrid(mesh, 1, Flat);
    mesh.faces.SetSize(1);
    mesh.BuildAdjacency();
    mesh.BuildLevelsOfDetail(0.0f, 0.5f, true);
    EXPECT_EQ(mesh.faces.Count(), 1);
    EXPECT_TRUE(mesh.levels.IsEmpty());
}

TEST(MeshLevelsTest, MaterialSeamsHoldTheirLine) {
    Material left;
    Material right;
    Mesh mesh;
    BuildGrid(mesh, 8, Flat, [&](float x, float) { return x < 4.0f ? &left : &right; });
    mesh.BuildLevelsOfDetail(0.0f, 0.5f, true);

    // Moving off the line between the materials costs what leaving the surface would,
    // so the first pass, which allows no error, keeps every face on its own side.
    EXPECT_LE(mesh.faces.Count(), 8);
    for (const MeshFace& face : mesh.faces) {
        const float side = face.material == &left ? -1.0f : 1.0f;
        for (const MeshVertex* corner : face.corners) EXPECT_GE((corner->position->x - 4.0f) * side, -1e-4f);
    }
    EXPECT_NEAR(Area(mesh), 64.0f, 1e-3f);
}

TEST(MeshLevelsTest, TextureSeamsHoldTheirLine) {
    // One texture wraps around the grid: the column x = 4 has a vertex with u = 1 for
    // the faces on its left and one with u = 0 for those on its right.
    Mesh mesh;
    BuildGrid(mesh, 8, Flat);
    const int original = mesh.vertices.Count();
    for (int v = 0; v < original; ++v) {
        const Vector3& p = *mesh.vertices[v].position;
        mesh.vertices[v].texCoords.Append(Vector2(p.x < 4.5f ? p.x / 4.0f : (p.x - 4.0f) / 4.0f, p.y));
    }
    for (int v = 0; v < original; ++v) {
        if (mesh.vertices[v].position->x != 4.0f) continue;
        MeshVertex right = mesh.vertices[v];
        right.texCoords[0].x = 0.0f;
        const int added = mesh.AddVertex(right);
        for (MeshFace& face : mesh.faces) {
            const float centre =
                (face.corners[0]->position->x + face.corners[1]->position->x + face.corners[2]->position->x) / 3.0f;
            const int corner = face.IndexOfVertex(&mesh.vertices[v]);
            if (centre > 4.0f && corner >= 0) face.corners[corner] = &mesh.vertices[added];
        }
    }
    mesh.BuildAdjacency();
    mesh.BuildLevelsOfDetail(0.0f, 0.5f, true);

    EXPECT_LE(mesh.faces.Count(), 8);
    for (const MeshFace& face : mesh.faces) {
        float low = 8.0f;
        float high = 0.0f;
        for (const MeshVertex* corner : face.corners) {
            low = std::min(low, corner->position->x);
            high = std::max(high, corner->position->x);
        }
        EXPECT_TRUE(high <= 4.0f + 1e-4f || low >= 4.0f - 1e-4f) << low << " .. " << high;
    }
}

TEST(MeshLevelsTest, CollapsesNeverTurnAFaceOver) {
    Mesh mesh;
    BuildGrid(mesh, 10, Bumpy);
    EdgeMesh work;
    BuildEdgeMesh(work, mesh);
    int collapses = 0;
    while (work.CollapseNext(-1.0f, true)) {
        ++collapses;
        const std::unique_ptr<Mesh> now = work.ToMesh();
        for (const MeshFace& face : now->faces) {
            Vector3 normal = face.normal;
            ASSERT_FALSE(normal.IsNearZero());
            EXPECT_GT(normal.z, -0.2f) << "after collapse " << collapses;  // the surface faces up
        }
    }
    EXPECT_GT(collapses, 100);
    EXPECT_GE(work.liveFaceCount, 2);
}

// The renderer draws the coarsest level whose error, scaled by the mesh's size on the
// screen, stays within its level-of-detail error: move the camera away and the levels
// take over one by one, each exactly where its error crosses the threshold.
TEST(MeshLevelsTest, LevelsSwitchAtTheirPixelErrorThresholds) {
    Renderer renderer;
    auto& device = dynamic_cast<gfx::RecordingDevice&>(renderer.GetDevice());
    Mesh* mesh = renderer.CreateMesh(0, 0, 0, 0);
    BuildGrid(*mesh, 16, Bumpy);
    mesh->BuildLevelsOfDetail(-1.0f, 0.5f, true);
    ASSERT_GE(mesh->levels.Count(), 3);

    // A hundred pixels to the unit: every level's error shows, so only the
    // level-of-detail error decides.
    Camera camera;
    camera.kind = Camera::kOrthographic;
    camera.viewWidth = 10.24f;
    camera.viewHeight = 7.68f;
    renderer.SetCamera(camera);
    ASSERT_TRUE(renderer.GetReady());
    const float pixelScale = renderer.GetPixelScale();

    // An orthographic camera sizes the mesh by its radius alone; scaling the bounds is
    // how the test moves it nearer (larger) and farther (smaller).
    const float radius = mesh->bounds.radius;
    auto drawnFaces = [&](float size) {
        mesh->bounds.radius = size * pixelScale;
        const uint32_t before = device.Stats().primitives;
        renderer.RenderMesh(mesh, true);
        return int(device.Stats().primitives - before);
    };
    // Checked wherever neighbouring levels' errors are far enough apart to tell them by
    // a step of 0.1 % in size.
    int checks = 0;
    const int count = mesh->levels.Count();
    for (int i = 0; i < count; ++i) {
        const float error = mesh->levels[i].error;
        if (error <= 0.0f) continue;
        const float threshold = renderer.lodError / error;  // the mesh's size in pixels
        if (i + 1 == count || mesh->levels[i + 1].error > error * 1.002f) {
            EXPECT_EQ(drawnFaces(threshold * 0.999f), mesh->levels[i].mesh->faces.Count()) << "level " << i;
            ++checks;
        }
        if (i == 0 || mesh->levels[i - 1].error * 1.002f < error) {
            const Mesh* finer = i == 0 ? mesh : mesh->levels[i - 1].mesh;
            EXPECT_EQ(drawnFaces(threshold * 1.001f), finer->faces.Count()) << "level " << i;
            ++checks;
        }
    }
    EXPECT_GE(checks, 4);
    mesh->bounds.radius = radius;
}

}  // namespace
