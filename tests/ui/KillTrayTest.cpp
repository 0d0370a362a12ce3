// The kill tray: a unit deleted from it or cleared with the tray goes back to its pool;
// one dragged out does not.
#include <gtest/gtest.h>

#include "UiTestSupport.h"
#include "core/MemoryBlock.h"
#include "engine/Mouse.h"
#include "platform/window/Keys.h"
#include "support/TestArena.h"
#include "ui/ConfirmCloseKillTrayMenu.h"
#include "ui/KillTray.h"
#include "ui/WindowManager.h"
#include "units/Vorn.h"
#include "world/ObjectKind.h"

namespace {

using ui_test::UiTest;

class KillTrayTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        arena_ = world_test::OpenArena(game);
        SetCurrentGame(&game);
    }
    void TearDown() override {
        KillTray& tray = GetKillTray();
        while (tray.VornCount() > 0) tray.RemoveVorn(tray.GetVorn(0));
        UiTest::TearDown();
        world_test::CloseArena(*arena_);
    }
    Vorn* Unit(const char* name) {
        Vorn* vorn = arena_->NewVorn(0);
        vorn->name = name;
        return vorn;
    }
    int PendingVorns() const { return arena_->PoolOfKind(kKindVorn)->PendingCount(); }
    std::unique_ptr<Arena> arena_;
};

TEST_F(KillTrayTest, DeletingAndClearingGiveUnitsBackToTheirPool) {
    KillTray& tray = GetKillTray();
    Vorn* alpha = Unit("Alpha");
    Vorn* carried = Unit("Carried");
    tray.AddVorn(alpha);
    tray.AddVorn(Unit("Bravo"));
    tray.AddVorn(carried);
    tray.AddVorn(alpha);  // once only
    GetWindowManager().OpenWindow(&tray);
    ASSERT_EQ(tray.EntryCount(), 4);  // "#Clear" and three units
    EXPECT_EQ(tray.EntryName(0), "#Clear");
    const int before = PendingVorns();
    // Entry 1 (Alpha) sits in the second cell of the first row.
    const Point cell = tray.cellRects[1].GetCenter();
    MovePointer(cell.x, cell.y);
    TapKey(win::kKeyDelete);
    EXPECT_EQ(tray.VornCount(), 2);
    EXPECT_EQ(PendingVorns(), before + 1);
    // Dragged back onto the battlefield: out of the tray, not into the pool.
    tray.RemoveVorn(carried);
    EXPECT_EQ(PendingVorns(), before + 1);
    // Clearing asks first, then every unit left goes back.
    const Point clear = tray.cellRects[0].GetCenter();
    Click(clear.x, clear.y);
    ConfirmCloseKillTrayMenu& menu = GetConfirmCloseKillTrayMenu();
    ASSERT_TRUE(menu.open);
    menu.OnChoice(0);
    EXPECT_EQ(tray.VornCount(), 0);
    EXPECT_EQ(PendingVorns(), before + 2);
    EXPECT_FALSE(tray.open);
}

}  // namespace
