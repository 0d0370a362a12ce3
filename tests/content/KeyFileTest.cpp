// Pose keys are written in the key file's own space: axes (y, z, -x) of the model, scaled
// by its largest side and lifted by its lowest point. These tests read a written file back
// the way the game does and check that the model sees the poses that were meant.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "ActorModel.h"
#include "ModelFiles.h"

namespace {

using assetgen::V3;
using Row3 = std::array<float, 3>;
using Matrix = std::array<Row3, 3>;

Matrix Multiply(const Matrix& a, const Matrix& b) {
    Matrix r{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            for (int k = 0; k < 3; ++k) r[i][j] += a[i][k] * b[k][j];
    return r;
}

Row3 Times(const Row3& v, const Matrix& m)  // row vector times matrix
{
    return {v[0] * m[0][0] + v[1] * m[1][0] + v[2] * m[2][0], v[0] * m[0][1] + v[1] * m[1][1] + v[2] * m[2][1],
            v[0] * m[0][2] + v[1] * m[1][2] + v[2] * m[2][2]};
}

// A model from z = -1 to 4 (its top part one unit up), so side 5 and lift -1.
assetgen::ActorModel Pillar() {
    assetgen::ActorModel model;
    model.title = "Pillar";
    assetgen::MeshBuilder builder;
    builder.Box({{0, 0, 1}}, {0.5f, 0.5f, 2}, 0);
    model.meshes["Post"] = {builder.Mesh(), Image(4, 4)};
    model.roots = {{"Body", "Post", {}, {{"Top", "Post", {0, 0, 1}, {}}}}};
    return model;
}

struct ReadKey {
    Row3 point;
    std::vector<Matrix> rotations;
    Row3 translation;
};

std::vector<ReadKey> Parse(const std::string& text, int& models) {
    std::istringstream in(text);
    std::string token;
    int keys = 0;
    while (in >> token && token != "balls") {
    }
    in >> keys;
    while (in >> token && token != "models") {
    }
    in >> models;
    std::vector<ReadKey> out(keys);
    for (ReadKey& key : out) {
        in >> key.point[0] >> key.point[1] >> key.point[2];
        for (int m = 0; m < models; ++m) {
            Matrix r{};
            float ignored = 0;
            for (int row = 0; row < 3; ++row) in >> r[row][0] >> r[row][1] >> r[row][2] >> ignored;
            Row3 t{};
            in >> t[0] >> t[1] >> t[2] >> ignored;
            if (m == 0) key.translation = t;
            key.rotations.push_back(r);
        }
    }
    return out;
}

// The reader's axis change (x, y, z) -> (-s z, s x, s y), as a row-vector matrix.
Matrix AxisChange(float s) { return {{{0, s, 0}, {0, 0, s}, {-s, 0, 0}}}; }
Matrix AxisChangeBack(float s) { return {{{0, 0, -1 / s}, {1 / s, 0, 0}, {0, 1 / s, 0}}}; }

TEST(KeyFile, ModelSeesTheTurnsPointsAndOffsetsThatWereMeant) {
    assetgen::ActorModel model = Pillar();
    assetgen::PoseSet set{"Lean", {"Lean"}, {}, 1};
    set.keys.push_back({{0, 0, 0}, {}, {}});
    set.keys.push_back({{0, 5, -1}, {0, 0, 0.5f}, {{"Top", {0, 0, 1}, 90}}});
    int models = 0;
    const std::vector<ReadKey> keys = Parse(assetgen::KeyText(model, set), models);
    ASSERT_EQ(models, 3);  // the root, Body, Top
    ASSERT_EQ(keys.size(), 2u);
    const float side = 5, lowest = -1;
    for (std::size_t k = 0; k < keys.size(); ++k) {
        // Position: A(point) + (0, 0, lowest).
        const Row3 p = Times(keys[k].point, AxisChange(side));
        EXPECT_NEAR(p[0], set.keys[k].point.x, 1e-4f);
        EXPECT_NEAR(p[1], set.keys[k].point.y, 1e-4f);
        EXPECT_NEAR(p[2] + lowest, set.keys[k].point.z, 1e-4f);
        // Offset: A(translation) + (0, 0, lowest).
        const Row3 o = Times(keys[k].translation, AxisChange(side));
        EXPECT_NEAR(o[2] + lowest, set.keys[k].offset.z, 1e-4f);
    }
    // Stored rotation C R A; the model's x axis turned a quarter about z becomes its y axis.
    const Matrix turn = Multiply(Multiply(AxisChangeBack(side), keys[1].rotations[2]), AxisChange(side));
    const Row3 x = Times({1, 0, 0}, turn);
    EXPECT_NEAR(x[0], 0, 1e-4f);
    EXPECT_NEAR(x[1], 1, 1e-4f);
    EXPECT_NEAR(x[2], 0, 1e-4f);
    // Nodes without a turn keep their rest pose.
    const Matrix rest = Multiply(Multiply(AxisChangeBack(side), keys[1].rotations[1]), AxisChange(side));
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) EXPECT_NEAR(rest[i][j], i == j ? 1.0f : 0.0f, 1e-4f);
}

TEST(KeyFile, ActNamesEveryNodeBeforeTheActorsThatHoldIt) {
    const std::string act = assetgen::ActText(Pillar());
    EXPECT_LT(act.find("mesh Post {"), act.find("actor Top {"));
    EXPECT_LT(act.find("actor Top {"), act.find("actor Body {"));
    EXPECT_LT(act.find("actor Body {"), act.find("actor * {"));
    EXPECT_NE(act.find("  child Top\n"), std::string::npos);
}

}  // namespace
