// Pose sets from key and pose files: the reduced dimension, interpolation between keys,
// the fallbacks for damaged input, and the dense solver under them.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>

#include "core/FileStream.h"
#include "engine/BinaryFields.h"
#include "engine/DenseMatrix.h"
#include "engine/Matrix3.h"
#include "engine/Mesh.h"
#include "engine/ModelNode.h"
#include "engine/PoseAnimation.h"
#include "engine/PoseFiles.h"
#include "support/TempFolder.h"

namespace {

using platform_test::TempFolder;

// A row of a key file's matrix: the rotation's row and a fourth number that is ignored.
std::string Rotation(const Matrix3& r) {
    std::ostringstream text;
    for (int row = 0; row < 3; ++row)
        text << r.m[3 * row] << " " << r.m[3 * row + 1] << " " << r.m[3 * row + 2] << " 0\n";
    text << "0 0 0 1\n";
    return text.str();
}

// Turns about the file's x axis, which is the model's -z axis.
Matrix3 FileTurn(float angle) {
    Matrix3 r;
    r.m[4] = std::cos(angle), r.m[5] = std::sin(angle);
    r.m[7] = -std::sin(angle), r.m[8] = std::cos(angle);
    return r;
}

void ExpectNear(const Matrix3& actual, const Matrix3& expected, float tolerance = 1e-4f) {
    for (int i = 0; i < 9; ++i) EXPECT_NEAR(actual.m[i], expected.m[i], tolerance) << "element " << i;
}

class KeyFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        // A unit cube from z 0: the key space is the model's size 1, lifted by 0.
        for (int i = 0; i < 8; ++i) mesh_.AddPosition(Vector3(float(i & 1), float((i >> 1) & 1), float(i >> 2)));
        model_.mesh = &mesh_;
    }

    String Write(const std::string& name, const std::string& text) {
        std::ofstream(folder_ / name) << text;
        return String((folder_ / name).c_str());
    }

    // Keys at the given file points, each with one node turned by the given angle.
    String KeyFile(const std::vector<Vector3>& points, const std::vector<float>& angles) {
        std::ostringstream text;
        text << "header balls " << points.size() << " models 1\n";
        for (size_t i = 0; i < points.size(); ++i) {
            text << points[i].x << " " << points[i].y << " " << points[i].z << "\n" << Rotation(FileTurn(angles[i]));
        }
        return Write("RobotWalk.key", text.str());
    }

    TempFolder folder_;
    Mesh mesh_;
    ModelNode model_{String("Robot")};
    PoseAnimation animation_;
};

TEST_F(KeyFileTest, KeysOnALineInterpolateBetweenNeighbours) {
    ASSERT_TRUE(LoadKeyFile(KeyFile({{0, 0, 0}, {1, 0, 0}, {2, 0, 0}}, {0.0f, 1.0f, 0.2f}), model_, animation_));
    EXPECT_EQ(animation_.name, "RobotWalk");
    EXPECT_EQ(animation_.dimension, 1);
    // File x is the model's y: the keys stand at model y 0, 1 and 2.
    EXPECT_NEAR(animation_.keys[1].position.y, 1.0f, 1e-6f);
    // Halfway between the first two keys: their element-wise mean, made orthonormal.
    Matrix3 mean;
    for (int e = 0; e < 9; ++e)
        mean.m[e] = (animation_.keys[0].rotations[0].m[e] + animation_.keys[1].rotations[0].m[e]) / 2;
    mean.Orthonormalize(0.01f, 10);
    ExpectNear(animation_.Evaluate(Vector3(0, 0.5f, 0)).rotations[0], mean);
    ExpectNear(animation_.Evaluate(Vector3(0, 2, 0)).rotations[0], animation_.keys[2].rotations[0]);
}

TEST_F(KeyFileTest, TheDimensionFollowsTheSpreadOfTheKeys) {
    ASSERT_TRUE(LoadKeyFile(KeyFile({{0, 0, 0}, {4, 0, 0}, {2, 3, 0}}, {0, 0, 0}), model_, animation_));
    EXPECT_EQ(animation_.dimension, 2);
    ASSERT_TRUE(LoadKeyFile(KeyFile({{0, 0, 0}, {4, 0, 0}, {2, 3, 0}, {2, 1, 3}}, {0, 0, 0, 0}), model_, animation_));
    EXPECT_EQ(animation_.dimension, 3);
    // A key within a seventh of the spread of the line still counts as on it, and a key
    // at a place taken already is dropped.
    ASSERT_TRUE(
        LoadKeyFile(KeyFile({{0, 0, 0}, {7, 0, 0}, {3, 0.9f, 0}, {7, 0, 0}}, {0, 0, 0, 0}), model_, animation_));
    EXPECT_EQ(animation_.dimension, 1);
    EXPECT_EQ(animation_.keys.Count(), 3);
}

TEST_F(KeyFileTest, ShortOrOversizedFilesAreRefused) {
    EXPECT_FALSE(
        LoadKeyFile(Write("Short.key", "balls 2 models 1\n0 0 0\n" + Rotation(Matrix3())), model_, animation_));
    EXPECT_FALSE(LoadKeyFile(Write("Huge.key", "balls 99999999 models 1\n"), model_, animation_));
    EXPECT_FALSE(LoadKeyFile(String((folder_ / "None.key").c_str()), model_, animation_));
    // No keys at all: the animation has nothing to say and poses nothing.
    ASSERT_TRUE(LoadKeyFile(Write("Empty.key", "balls 0 models 3\n"), model_, animation_));
    EXPECT_EQ(animation_.Evaluate(Vector3(1, 2, 3)).rotations.Count(), 0);
}

TEST_F(KeyFileTest, AnUnsolvableSystemFallsBackToTheNearestKey) {
    ASSERT_TRUE(LoadKeyFile(KeyFile({{0, 0, 0}, {1, 0, 0}, {2, 0, 0}}, {0.0f, 1.0f, 0.2f}), model_, animation_));
    animation_.system.permutation.Clear();  // as a failed factorisation leaves it
    ExpectNear(animation_.Evaluate(Vector3(0, 0.9f, 0)).rotations[0], animation_.keys[1].rotations[0]);
}

TEST_F(KeyFileTest, PoseFilesHoldNamedTimedPoints) {
    const std::string path = folder_ / "RobotWalkStep.ppp";
    {
        FileStream out(path, "wb");
        WriteCountedString(out, "Step");
        WriteInt32(out, 2);
        for (float value : {1.0f, 2.0f, 3.0f, 0.5f, 4.0f, 5.0f, 6.0f, 1.5f}) WriteFloat(out, value);
        ASSERT_TRUE(out.Commit());
    }
    PoseTrack track;
    ASSERT_TRUE(LoadPoseFile(path.c_str(), track));
    EXPECT_EQ(track.name, "Step");
    ASSERT_EQ(track.keys.Count(), 2);
    EXPECT_EQ(track.keys[1].point, Vector3(4, 5, 6));
    EXPECT_EQ(track.keys[1].duration, 1.5f);
    std::filesystem::resize_file(path, std::filesystem::file_size(path) - 2);
    PoseTrack unchanged;
    EXPECT_FALSE(LoadPoseFile(path.c_str(), unchanged));
    EXPECT_TRUE(unchanged.keys.IsEmpty());
}

TEST(DenseMatrixTest, SolvesByScaledPivotingAndRefusesSingularMatrices) {
    // 2x + y = 5, x + 3y = 10: x = 1, y = 3.
    DenseMatrix matrix(2, 2);
    matrix.At(0, 0) = 2, matrix.At(0, 1) = 1, matrix.At(1, 0) = 1, matrix.At(1, 1) = 3;
    ASSERT_TRUE(matrix.Factorise());
    Array<float> b, x;
    b.Append(5.0f);
    b.Append(10.0f);
    matrix.Solve(b, x);
    EXPECT_NEAR(x[0], 1.0f, 1e-5f);
    EXPECT_NEAR(x[1], 3.0f, 1e-5f);
    DenseMatrix singular(2, 2);
    singular.At(0, 0) = 1, singular.At(0, 1) = 2, singular.At(1, 0) = 2, singular.At(1, 1) = 4;
    EXPECT_FALSE(singular.Factorise());
    EXPECT_FALSE(singular.IsFactorised());
}

TEST(Matrix3Test, OrthonormalisingLeavesAMatrixWithAZeroRow) {
    Matrix3 m;
    m.m[3] = m.m[4] = m.m[5] = 0.0f;
    const Matrix3 before = m;
    EXPECT_FALSE(m.Orthonormalize(0.01f, 10));
    EXPECT_EQ(m, before);
    Matrix3 skewed;
    skewed.m[1] = 0.3f;
    EXPECT_TRUE(skewed.Orthonormalize(0.01f, 10));
    EXPECT_NEAR(skewed.Row(0).Dot(skewed.Row(1)), 0.0f, 0.1f);
}

}  // namespace
