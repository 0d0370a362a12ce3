// Joint tracks of a figure's sequence: keys at one time compose, and keys needed at the
// other tracks' times are interpolated between neighbours that wrap around the length.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "engine/JointTrack.h"

namespace {

constexpr float kDegrees = std::numbers::pi_v<float> / 180.0f;

Quaternion AboutX(float degrees) { return Quaternion::FromAxisAngle({1, 0, 0}, degrees * kDegrees); }

// The angle about x of a rotation about x, in degrees.
float AngleOf(const Quaternion& q) { return 2.0f * std::atan2(q.x, q.w) / kDegrees; }

TEST(JointTrackTest, KeysAtOneTimeComposeAndStaySorted) {
    JointTrack track;
    track.AddKey({AboutX(10), 1.0f});
    track.AddKey({AboutX(5), 0.5f});
    track.AddKey({AboutX(20), 1.0f + 5e-6f});  // within the tolerance of 1.0
    track.AddKey({AboutX(1), 2.0f});
    ASSERT_EQ(track.keys.Count(), 3);
    EXPECT_FLOAT_EQ(track.keys[0].time, 0.5f);
    EXPECT_FLOAT_EQ(track.keys[1].time, 1.0f);
    EXPECT_NEAR(AngleOf(track.keys[1].rotation), 30.0f, 1e-3f);
    EXPECT_FLOAT_EQ(track.keys[2].time, 2.0f);

    bool found = true;
    EXPECT_EQ(track.FindKey(0.1f, found), 0);
    EXPECT_FALSE(found);
    EXPECT_EQ(track.FindKey(1.5f, found), 2);
    EXPECT_FALSE(found);
    EXPECT_EQ(track.FindKey(3.0f, found), 3);
    EXPECT_EQ(track.FindKey(2.0f, found), 2);
    EXPECT_TRUE(found);
}

TEST(JointTrackTest, InterpolatedKeysWrapAroundTheLength) {
    // A sequence of 2 s with keys at 0 s (0 degrees) and 1 s (90 degrees).
    JointTrack track;
    track.length = 2.0f;
    track.AddKey({AboutX(0), 0.0f});
    track.AddKey({AboutX(90), 1.0f});
    track.AddInterpolatedKey(0.5f);  // halfway from 0 s to 1 s
    track.AddInterpolatedKey(1.5f);  // span 0 - 1 + 2 = 1: halfway from 1 s back to 0 s
    track.AddInterpolatedKey(1.0f);  // keyed already: nothing
    ASSERT_EQ(track.keys.Count(), 4);
    EXPECT_NEAR(AngleOf(track.keys[1].rotation), 45.0f, 1e-3f);
    EXPECT_NEAR(AngleOf(track.keys[3].rotation), 45.0f, 1e-3f);
    EXPECT_FLOAT_EQ(track.keys[3].time, 1.5f);

    JointTrack single;
    single.AddKey({AboutX(30), 0.25f});
    single.AddInterpolatedKey(1.0f);
    single.AddInterpolatedKey(0.0f);
    ASSERT_EQ(single.keys.Count(), 3);
    for (const JointKey& key : single.keys) EXPECT_NEAR(AngleOf(key.rotation), 30.0f, 1e-3f);

    // Two keys a whole length apart leave no span: the new key takes the earlier one's.
    JointTrack looped;
    looped.length = 1.0f;
    looped.AddKey({AboutX(10), 0.0f});
    looped.AddKey({AboutX(50), 1.0f});
    looped.AddInterpolatedKey(1.5f);
    ASSERT_EQ(looped.keys.Count(), 3);
    EXPECT_NEAR(AngleOf(looped.keys[2].rotation), 50.0f, 1e-3f);
    for (const JointKey& key : looped.keys) EXPECT_TRUE(std::isfinite(key.rotation.w));

    JointTrack empty;
    empty.AddInterpolatedKey(1.0f);
    EXPECT_TRUE(empty.keys.IsEmpty());
}

}  // namespace
