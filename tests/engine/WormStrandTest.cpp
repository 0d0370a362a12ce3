// The worm strand: sparkles born one after another along a turning arm, fading out, and
// all born at once after a fill.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/WormStrand.h"

namespace {

TEST(WormStrandTest, SparklesAreBornInTurnDriftOutAndFade) {
    WormStrand strand;
    strand.Advance(0.1f);
    // Ages start at -i x 2.2 / 36: after 0.1 s sparkles 0 and 1 (age 0.1 and 0.039) live.
    EXPECT_TRUE(strand.active[0] && strand.active[1]);
    EXPECT_FALSE(strand.active[2]);
    // Sparkle 0 was born at the frame's start (angle 0), at distance 0.1 + 0.4.
    EXPECT_NEAR(strand.particles[0].position.x, 0.5f, 1e-5f);
    EXPECT_NEAR(strand.particles[0].position.z, 0.0f, 1e-5f);
    // Sparkle 1 was born 2.2 / 36 = 0.0611 s into the frame, when the strand had turned
    // 2 x 0.0611 radians.
    EXPECT_NEAR(std::atan2(strand.particles[1].position.z, strand.particles[1].position.x), 2.0f * 2.2f / 36.0f, 1e-4f);
    EXPECT_EQ(strand.particles[0].colour.Alpha(), std::lround((1.0f - 0.1f / 2.2f) * 255.0f));
    EXPECT_NEAR(strand.angle, 0.2f, 1e-6f);

    for (int frame = 0; frame < 22; ++frame) strand.Advance(0.1f);
    EXPECT_FALSE(strand.active[0]);  // older than its life: waiting to be born again
}

TEST(WormStrandTest, AFillBringsEverySparkleOutAtOnceEvenInAFrameOfNoTime) {
    WormStrand strand;
    strand.Fill();
    strand.Advance(0.0f);
    for (int i = 0; i < WormStrand::kParticleCount; ++i) {
        ASSERT_TRUE(strand.active[i]) << i;
        EXPECT_TRUE(std::isfinite(strand.particles[i].position.x)) << i;
    }
}

}  // namespace
