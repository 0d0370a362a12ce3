// The worms window's keys: what they post while a worm waits, and the reset that also
// works once every worm has died.
#include <gtest/gtest.h>

#include "ScreenTestSupport.h"
#include "game/Event.h"
#include "platform/window/Keys.h"
#include "screens/WormsWindow.h"
#include "ui/WindowManager.h"

namespace {

using screens_test::ScreenTest;

class WormsWindowTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        GetWindowManager().OpenWindow(&worms);
        worms.world.Reset();
        game.posted.clear();
    }
    WormsWindow worms;
};

TEST_F(WormsWindowTest, KeysChooseAndSwitchOnlyWhileAWormWaits) {
    TapKey('3');
    TapKey(win::kKeySpace);
    EXPECT_TRUE(game.posted.empty());

    worms.world.waiting = 0;
    TapKey('3');
    TapKey('0');
    TapKey(win::kKeySpace);
    ASSERT_EQ(game.Types(), (std::vector<int32_t>{kEventMakeWormChoice, kEventMakeWormChoice, kEventSetCameraType}));
    EXPECT_EQ(game.posted[0].value, 2);
    EXPECT_EQ(game.posted[1].value, -1);
    EXPECT_TRUE(worms.IsTiltedCameraCurrent());
}

TEST_F(WormsWindowTest, ResetWorksWhileAWormWaitsAndOnceAllHaveDied) {
    TapKey('R');
    EXPECT_TRUE(game.posted.empty());
    for (WormWorld::Worm& worm : worms.world.worms) worm.alive = false;
    TapKey('R');
    EXPECT_EQ(game.Types(), std::vector<int32_t>{kEventResetWorms});
    EXPECT_EQ(worms.world.LivingCount(), WormWorld::kWormCount);
}

}  // namespace
