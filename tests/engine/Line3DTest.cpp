// The 3-D line ribbon's corners.
#include <gtest/gtest.h>

#include "engine/Line3D.h"
#include "engine/Mesh.h"

namespace {

Vector3 Corner(const Line3D& line, int k) { return *line.GetMesh()->vertices[k].position; }

TEST(Line3DTest, TheBandLiesAcrossTheSegmentOnTheGround) {
    Line3D unmade;
    unmade.Draw();  // nothing to draw, and no mesh is made
    EXPECT_EQ(unmade.GetMesh(), nullptr);

    Line3D line;
    line.Create(0.5f);
    line.SetColor(Color::FromRGBA(0, 255, 0, 255));
    line.SetEndpoints(Vector3(0, 0, 1), Vector3(4, 0, 1));
    line.Draw();
    // Along +x: a = 0.5, b = 0, so the long edges sit at y = -0.5 and y = +0.5.
    EXPECT_EQ(Corner(line, 0), Vector3(0, -0.5f, 1));
    EXPECT_EQ(Corner(line, 1), Vector3(0, 0.5f, 1));
    EXPECT_EQ(Corner(line, 2), Vector3(4, 0.5f, 1));
    EXPECT_EQ(Corner(line, 3), Vector3(4, -0.5f, 1));
    EXPECT_EQ(line.GetMesh()->vertices[2].color, Color::FromRGBA(0, 255, 0, 255));

    // A zero-length segment keeps the last fit; a vertical one has no width.
    line.SetEndpoints(Vector3(9, 9, 9), Vector3(9, 9, 9));
    line.Draw();
    EXPECT_EQ(Corner(line, 0), Vector3(0, -0.5f, 1));
    line.reversed = true;
    line.SetEndpoints(Vector3(2, 2, 0), Vector3(2, 2, 5));
    line.Draw();
    EXPECT_EQ(Corner(line, 3), Vector3(2, 2, 0));
    EXPECT_EQ(Corner(line, 0), Vector3(2, 2, 5));
}

}  // namespace
