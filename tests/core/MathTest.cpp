#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/Box.h"
#include "core/Color.h"
#include "core/FileStream.h"
#include "core/Frame.h"
#include "core/IntRect.h"
#include "core/MathStreamIO.h"
#include "core/MathUtil.h"
#include "core/Matrix4.h"
#include "core/Quaternion.h"
#include "core/Ray.h"
#include "core/Rect.h"
#include "core/Sphere.h"
#include "core/StringStream.h"
#include "core/Vector2.h"
#include "core/Vector3.h"
#include "platform/sys/Random.h"
#include "support/TempFolder.h"

namespace {

std::string Written(void (*write)(Stream&)) {
    StringStream stream;
    write(stream);
    return stream.Text();
}

// The seed whose first draw is r: inverts one step of the generator
// (state * 214013 + 2531011, result bits 16..30).
uint32_t SeedGiving(int r) {
    uint32_t inverse = 214013u;
    for (int i = 0; i < 5; ++i) {
        inverse *= 2u - 214013u * inverse;
    }
    const uint32_t next = uint32_t(r) << 16;
    return (next - 2531011u) * inverse;
}

int RandomIntWithDraw(int r, int a, int b) {
    sys::SRand(SeedGiving(r));
    return RandomIntBetween(a, b);
}

TEST(MathTest, ToleranceDecidesNearZeroAndCanBeChangedForAScope) {
    EXPECT_TRUE(FloatNearZero(0.00001f));
    EXPECT_FALSE(FloatNearZero(0.000011f));
    EXPECT_TRUE(FloatNearZero(-0.00001f));
    {
        ToleranceScope loose(0.01f);
        EXPECT_TRUE(FloatNearZero(0.005f));
        EXPECT_TRUE(Vector3(0.005f, -0.01f, 0).IsNearZero());
    }
    EXPECT_EQ(Tolerance, kDefaultTolerance);
    EXPECT_TRUE(VectorsNearlyEqual({1, 2, 3}, {1.000005f, 2, 3}));
    EXPECT_FALSE(Vector2::NearlyEqual({1, 2}, {1, 2.001f}));
}

TEST(MathTest, SmallHelpers) {
    EXPECT_EQ(ClampToNonNegative(-2.0f), 0.0f);
    EXPECT_EQ(ClampToNonNegative(3.5f), 3.5f);
    EXPECT_EQ(ClampToNonNegative(std::nanf("")), 0.0f);

    float a = 1.0f;
    float b = 2.0f;
    EXPECT_EQ(MaxFloatPointer(&a, &b), &b);
    EXPECT_EQ(MaxFloatPointer(&b, &a), &b);
    float c = 1.0f;
    EXPECT_EQ(MaxFloatPointer(&a, &c), &a);

    EXPECT_FLOAT_EQ(FloatMod(7.5f, 2.0f), 1.5f);
    EXPECT_FLOAT_EQ(FloatMod(-7.5f, 2.0f), -1.5f);

    EXPECT_EQ(TruncateToInt(-2.9f), -2);
    EXPECT_EQ(TruncateToInt(1e20f), INT32_MAX);
    EXPECT_EQ(TruncateToInt(-1e20f), INT32_MIN);
    EXPECT_EQ(TruncateToInt(std::nanf("")), 0);
    EXPECT_EQ(Vector2(-2.7f, 3.9f).ToPoint(), Point(-2, 3));

    const Quaternion q(1, 2, 3, 4);
    Quaternion copy;
    CopyFourWords(&copy, &q);
    EXPECT_EQ(copy, q);

    // Dropping 2 along (1, 0, -1): t = 2, half the horizontal travel is 1.
    const Vector3 dropped = ProjectDownAlongDirection({5, 5, 3}, 2.0f, {1, 0, -1});
    EXPECT_EQ(dropped, Vector3(6, 5, 1));
}

TEST(MathTest, VectorArithmetic) {
    EXPECT_EQ(Vector3(1, 2, 3) + Vector3(1, 1, 1), Vector3(2, 3, 4));
    EXPECT_EQ(Vector3::ScalarMul(2, {1, 2, 3}), Vector3::MulScalar({1, 2, 3}, 2));
    EXPECT_EQ(Vector3(2, 4, 6) / 2, Vector3(1, 2, 3));
    EXPECT_EQ(Vector3(1, -2, 3).Negated(), Vector3(-1, 2, -3));
    EXPECT_EQ(CrossProduct({1, 0, 0}, {0, 1, 0}), Vector3(0, 0, 1));
    EXPECT_FLOAT_EQ(Vector3(3, 4, 12).Length(), 13.0f);
    EXPECT_FLOAT_EQ(Vector3(1, 1, 1).Distance({4, 5, 1}), 5.0f);
    EXPECT_EQ(Vector3(0, 0, 5).Normalized(), Vector3(0, 0, 1));

    Vector2 scaled;
    Vector2::ScaleCopy({1, 2}, 3, scaled);
    EXPECT_EQ(scaled, Vector2(3, 6));
    EXPECT_EQ(Vector2(3, 6).DivideBy(3), Vector2(1, 2));
    const Vector2 turned = Vector2(1, 0).Rotated(kPi / 2);
    EXPECT_NEAR(turned.x, 0.0f, 1e-6f);
    EXPECT_NEAR(turned.y, 1.0f, 1e-6f);

    EXPECT_EQ(Point(3, 4) + Point(1, 1), Point(4, 5));
    EXPECT_EQ(Point(3, 4) - Point(1, 1), Point(2, 3));
    EXPECT_EQ(Point(-7, 7) / 2, Point(-3, 3));
    EXPECT_EQ(Point(5, 6) / 0, Point(5, 6));
}

TEST(MathTest, Rectangles) {
    EXPECT_EQ(IntRect(0, 0, 5, 5).GetCenter(), Point(2, 2));
    IntRect r(0, 0, 5, 5);
    r.Union({-2, 3, 4, 9});
    EXPECT_EQ(r, IntRect(-2, 0, 5, 9));
    EXPECT_TRUE(r.Contains(Point(5, 9)));
    EXPECT_FALSE(r.Contains(6, 0));

    const Rect f = Rect::FromCorners({4, 5}, {1, 2});
    EXPECT_TRUE(f.Contains({1, 2}));
    EXPECT_TRUE(f.Contains({4, 5}));
    EXPECT_FALSE(f.Contains({4.01f, 3}));
}

TEST(MathTest, BoxesAndColours) {
    Box box = Box::Empty();
    EXPECT_FALSE(box.IsValid());
    box.AddPoint({1, 2, 3});
    EXPECT_TRUE(box.IsValid());
    box.AddBox({{-1, 0, 0}, {0, 7, 4}});
    EXPECT_EQ(box.minimum, Vector3(-1, 0, 0));
    EXPECT_EQ(box.maximum, Vector3(1, 7, 4));
    EXPECT_FLOAT_EQ(box.MaxExtent(), 7.0f);

    const Color c = Color::FromRGBA(255, 16, 32, 128);
    EXPECT_EQ(c.argb, 0x80FF1020u);
    const auto f = c.ToFloats();
    EXPECT_FLOAT_EQ(f[0], 1.0f);
    EXPECT_FLOAT_EQ(f[1], 16 / 255.0f);
    EXPECT_FLOAT_EQ(f[2], 32 / 255.0f);
    EXPECT_FLOAT_EQ(f[3], 128 / 255.0f);
}

TEST(MathTest, VectorTextForm) {
    EXPECT_EQ(Written([](Stream& s) { Vector3(1, 2.5f, -3).WriteText(s); }), "< 1, 2.5, -3 >");
    EXPECT_EQ(Written([](Stream& s) { Vector2(0.125f, 100).WriteText(s); }), "< 0.125, 100 >");
    EXPECT_EQ(Written([](Stream& s) { Point(-4, 7).WriteText(s); }), "< -4, 7 >");
    EXPECT_EQ(Written([](Stream& s) { Quaternion().WriteText(s); }), "< 0, 0, 0, 1 >");

    StringStream in("< 1, 2.5, -3 > next");
    Vector3 v;
    v.ReadText(in);
    EXPECT_EQ(v, Vector3(1, 2.5f, -3));
    EXPECT_FALSE(in.HasError());
    EXPECT_STREQ(in.Text() + in.Position(), " next");

    StringStream packed("<1,2,3>\n");
    v.ReadText(packed);
    EXPECT_EQ(v, Vector3(1, 2, 3));

    StringStream two("Position < -0.5, 8 >\n");
    Vector2 p;
    p.ReadText(two);
    EXPECT_EQ(p, Vector2(-0.5f, 8));

    StringStream point("<3, -9>");
    Point q;
    q.ReadText(point);
    EXPECT_EQ(q, Point(3, -9));
}

TEST(MathTest, ColourTextForm) {
    const Color c = Color::FromRGBA(255, 16, 32, 128);
    EXPECT_EQ(Written([](Stream& s) { Color::FromRGBA(255, 16, 32, 128).WriteText(s); }), "< 255, 16, 32, 128 >");
    StringStream in("< 255, 16, 32, 128 >\n");
    Color read;
    read.ReadText(in);
    EXPECT_EQ(read, c);
    EXPECT_FALSE(in.HasError());
}

TEST(MathTest, TextReadsOfDamagedInput) {
    // A non-finite component is unreadable: it keeps its value and is counted, later
    // components are read in their places, and reading goes on without an error.
    StringStream nan("< 1, nan, 3 > 4 5\n");
    Vector3 v(7, 8, 9);
    v.ReadText(nan);
    EXPECT_FALSE(nan.HasError());
    EXPECT_EQ(nan.NonFiniteCount(), 1);
    EXPECT_EQ(v, Vector3(1, 8, 3));
    int after = 0;
    nan >> after;
    EXPECT_EQ(after, 4);

    StringStream overflow("< 1e999, 2 >\n");
    Vector2 w(5, 6);
    w.ReadText(overflow);
    EXPECT_FALSE(overflow.HasError());
    EXPECT_EQ(w, Vector2(5, 2));

    // Text that ends before the vector does is an error, whether a component or only the
    // closing bracket is missing, and so is a read at the very end.
    for (const char* text : {"< 1, 2", "< 1, 2, 3", ""}) {
        StringStream cut(text);
        v = {7, 8, 9};
        v.ReadText(cut);
        EXPECT_TRUE(cut.HasError()) << text;
    }
    StringStream cut("< 1, 2");
    v = {7, 8, 9};
    v.ReadText(cut);
    EXPECT_EQ(v, Vector3(1, 2, 9));
    StringStream ended("");
    Point p(3, 4);
    p.ReadText(ended);
    EXPECT_TRUE(ended.HasError());
    EXPECT_EQ(p, Point(3, 4));

    StringStream word("< 1, x, 3 >\n");
    v = {7, 8, 9};
    v.ReadText(word);
    EXPECT_EQ(v, Vector3(1, 3, 9)) << "a character that cannot start a number is skipped";

    StringStream infinite("< 1, -inf, 3 >\n");
    v = {7, 8, 9};
    v.ReadText(infinite);
    EXPECT_FALSE(infinite.HasError());
    EXPECT_EQ(v, Vector3(1, 8, 3));
}

class MathBinaryTest : public ::testing::Test {
protected:
    // Each test gets a folder of its own: CTest runs the tests of this fixture in parallel.
    void SetUp() override { path_ = folder_ / "records.bin"; }

    std::uintmax_t FileSize() const { return std::filesystem::file_size(path_); }

    platform_test::TempFolder folder_;
    std::string path_;
};

TEST_F(MathBinaryTest, EveryRecordRoundTrips) {
    const Vector2 v2(1.5f, -2);
    const Vector3 v3(0.1f, 1e30f, -0.0f);
    const Quaternion q(0.1f, 0.2f, 0.3f, 0.9f);
    const Sphere sphere({1, 2, 3}, 4);
    const Ray ray({1, 2, 3}, {0, 0, -1});
    const Box box({-1, -2, -3}, {4, 5, 6});
    Matrix4 matrix = Matrix::RotationZ(0.3f);
    matrix.Translate({7, 8, 9});
    Frame frame;
    frame.origin = {10, 20, 30};
    frame.x = {0, 1, 0};
    const Color colour = Color::FromRGBA(255, 16, 32, 128);
    {
        FileStream out(path_, "wb");
        v2.WriteBinary(out);
        v3.WriteBinary(out);
        q.WriteBinary(out);
        sphere.WriteBinary(out);
        ray.WriteBinary(out);
        box.WriteBinary(out);
        matrix.WriteBinary(out);
        frame.WriteBinary(out);
        colour.WriteBinary(out);
        EXPECT_FALSE(out.HasError());
    }
    EXPECT_EQ(FileSize(), 8u + 12 + 16 + 16 + 24 + 24 + 64 + 48 + 4);

    FileStream in(path_, "rb");
    Vector2 r2;
    Vector3 r3;
    Quaternion rq;
    Sphere rs;
    Ray rr;
    Box rb;
    Matrix4 rm;
    Frame rf;
    Color rc;
    r2.ReadBinary(in);
    r3.ReadBinary(in);
    rq.ReadBinary(in);
    rs.ReadBinary(in);
    rr.ReadBinary(in);
    rb.ReadBinary(in);
    rm.ReadBinary(in);
    rf.ReadBinary(in);
    rc.ReadBinary(in);
    EXPECT_FALSE(in.HasError());
    EXPECT_EQ(r2, v2);
    EXPECT_EQ(r3, v3);
    EXPECT_EQ(rq, q);
    EXPECT_EQ(rs.centre, sphere.centre);
    EXPECT_EQ(rs.radius, sphere.radius);
    EXPECT_EQ(rr.origin, ray.origin);
    EXPECT_EQ(rr.direction, ray.direction);
    EXPECT_EQ(rr.inverseDirection, ray.inverseDirection);
    EXPECT_EQ(rb.minimum, box.minimum);
    EXPECT_EQ(rb.maximum, box.maximum);
    EXPECT_EQ(rm, matrix);
    EXPECT_EQ(rf.origin, frame.origin);
    EXPECT_EQ(rf.x, frame.x);
    EXPECT_EQ(rf.z, frame.z);
    EXPECT_EQ(rc, colour);
}

TEST_F(MathBinaryTest, BytesAreLittleEndianInFieldOrder) {
    {
        FileStream out(path_, "wb");
        Vector2(1.0f, -2.0f).WriteBinary(out);
        Color::FromRGBA(255, 16, 32, 128).WriteBinary(out);
    }
    FileStream in(path_, "rb");
    unsigned char bytes[12] = {};
    in.Read(bytes, 12);
    const unsigned char expected[12] = {0x00, 0x00, 0x80, 0x3F, 0x00, 0x00, 0x00, 0xC0, 0xFF, 0x10, 0x20, 0x80};
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(bytes[i], expected[i]) << "byte " << i;
    }
}

TEST_F(MathBinaryTest, AShortStreamSetsTheErrorAndLeavesTheRestUnread) {
    {
        FileStream out(path_, "wb");
        Vector2(1, 2).WriteBinary(out);
        out.Write("xy", 2);
    }
    FileStream in(path_, "rb");
    Vector3 v(7, 8, 9);
    v.ReadBinary(in);
    EXPECT_TRUE(in.HasError());
    EXPECT_EQ(v, Vector3(1, 2, 9));

    Quaternion q(5, 5, 5, 5);
    q.ReadBinary(in);
    EXPECT_EQ(q, Quaternion(5, 5, 5, 5));
}

TEST(MathTest, RandomIntBetweenRoundsToTheNearestStep) {
    EXPECT_EQ(RandomIntWithDraw(0, 0, 1), 0);
    EXPECT_EQ(RandomIntWithDraw(16383, 0, 1), 0);
    EXPECT_EQ(RandomIntWithDraw(16384, 0, 1), 1);
    EXPECT_EQ(RandomIntWithDraw(32767, 0, 1), 1);
    EXPECT_EQ(RandomIntWithDraw(32767, 3, 9), 9);
    // Wide ranges do not overflow, and negative ranges work.
    EXPECT_EQ(RandomIntWithDraw(32767, 0, 100000), 100000);
    EXPECT_EQ(RandomIntWithDraw(0, -100000, 100000), -100000);
    EXPECT_EQ(RandomIntWithDraw(32767, -100000, 100000), 100000);
    EXPECT_EQ(RandomIntWithDraw(32767, -20, -10), -10);
    EXPECT_EQ(RandomIntWithDraw(0, -20, -10), -20);

    sys::SRand(SeedGiving(32767));
    EXPECT_EQ(RandomPick(3), 2);
    sys::SRand(SeedGiving(8191));
    EXPECT_EQ(RandomPick(3), 0);
    EXPECT_EQ(RandomPick(0), -1);
    EXPECT_EQ(RandomPick(1), 0);

    sys::SRand(SeedGiving(32767));
    EXPECT_FLOAT_EQ(RandomFloatBetween(-2, 6), 6.0f);
}

TEST(MathTest, RandomPointsStayInTheirCircle) {
    sys::SRand(12345);
    for (int i = 0; i < 500; ++i) {
        const Vector2 p = RandomPointInCircle(Vector3(10, -4, 20));
        EXPECT_LE(p.Distance({10, -4}), 20.0001f);
    }
}

}  // namespace
