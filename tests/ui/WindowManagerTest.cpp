// Opening and closing windows, and the trays that the world notifies.
#include <gtest/gtest.h>

#include "ui/Tray.h"
#include "ui/Window.h"
#include "ui/WindowManager.h"

namespace {

TEST(WindowManagerTest, OpensOnceAndClosesKeepingTheOrder) {
    WindowManager manager;
    Window a("A");
    Window b("B");
    Window c("C");
    manager.OpenWindow(&a);
    manager.OpenWindow(&b);
    manager.OpenWindow(&c);
    manager.OpenWindow(&a);  // already open: stays where it is
    ASSERT_EQ(manager.OpenWindows().Count(), 3);
    manager.CloseWindow(&b);
    EXPECT_FALSE(manager.IsOpen(&b));
    EXPECT_FALSE(b.open);
    ASSERT_EQ(manager.OpenWindows().Count(), 2);
    EXPECT_EQ(manager.OpenWindows()[0], &a);
    EXPECT_EQ(manager.OpenWindows()[1], &c);
    manager.CloseWindow(&b);  // closing a closed window changes nothing
    manager.CloseWindow(nullptr);
    EXPECT_EQ(manager.OpenWindows().Count(), 2);
    EXPECT_TRUE(manager.IsOpen(&c));
    EXPECT_TRUE(c.open);
}

TEST(TrayTest, RemembersTheMostRecentEntryAndCountsRefreshes) {
    Tray tray("SquadTray");
    tray.MarkMostRecentlyUsed("Alpha");
    tray.MarkMostRecentlyUsed("Bravo");
    EXPECT_EQ(tray.MostRecentlyUsed(), "Bravo");
    tray.Refresh();
    EXPECT_EQ(tray.refreshCount, 1);
}

}  // namespace
