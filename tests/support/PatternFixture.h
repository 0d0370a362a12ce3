#pragma once
// An arena and a pattern of the test's own, with a check for points in the pattern's plane.
#include <memory>

#include <gtest/gtest.h>

#include "core/Vector2.h"
#include "support/ArenaFixture.h"
#include "units/Pattern.h"

class PatternFixture : public ArenaFixture {
protected:
    // The pattern takes its records from the arena, which exists from SetUp on.
    void SetUp() override {
        ArenaFixture::SetUp();
        owned = std::make_unique<Pattern>();
    }
    void TearDown() override {
        owned.reset();
        ArenaFixture::TearDown();
    }

    Pattern& pattern() { return *owned; }

    static void ExpectNear(const Vector2& actual, const Vector2& expected) {
        EXPECT_NEAR(actual.x, expected.x, 1e-5f);
        EXPECT_NEAR(actual.y, expected.y, 1e-5f);
    }

    std::unique_ptr<Pattern> owned;
};
