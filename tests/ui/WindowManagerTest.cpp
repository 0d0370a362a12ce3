// Opening and closing windows, and the trays that the world notifies.
#include <gtest/gtest.h>

#include "ui/Tray.h"
#include "ui/TrayRecentLists.h"
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

// A tray of three named entries with a recent row one entry wide.
class NamedTray : public Tray {
public:
    NamedTray() : Tray("SquadTray", 1, 3, Point(32, 32), 1.0f, false, true) {}
    String EntryName(int32_t entry) const override { return kNames[entry]; }
    int32_t EntryCount() const override { return 3; }

private:
    static constexpr const char* kNames[3] = {"Alpha", "Bravo", "Charlie"};
};

TEST(TrayTest, RemembersTheMostRecentEntryAndCountsRefreshes) {
    NamedTray tray;
    tray.MarkMostRecentlyUsed("Alpha");
    tray.MarkMostRecentlyUsed("Bravo");
    tray.MarkMostRecentlyUsed("Delta");  // no such entry: nothing changes
    ASSERT_EQ(tray.recent.Count(), 1);
    EXPECT_EQ(tray.recent[0].name, "Bravo");
    const int refreshes = tray.refreshCount;
    tray.Refresh();
    EXPECT_EQ(tray.refreshCount, refreshes + 1);
}

// A lesson leaves the player's recent list as it found it: emptied while it runs, put
// back at the first rebuild after it.
TEST(TrayTest, ATutorialSavesTheRecentListAndGetsItBackAtTheNextRebuild) {
    NamedTray tray;
    tray.MarkMostRecentlyUsed("Alpha");
    SaveTrayRecentLists();
    RefreshFileTrays();
    EXPECT_TRUE(tray.recent.IsEmpty());
    tray.MarkMostRecentlyUsed("Charlie");
    TutorialMarkTraysDirty();
    tray.Refresh();
    EXPECT_FALSE(tray.restoreRecentList);
    ASSERT_EQ(tray.recent.Count(), 1);
    EXPECT_EQ(tray.recent[0].name, "Alpha");
}

}  // namespace
