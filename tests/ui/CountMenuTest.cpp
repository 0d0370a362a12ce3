// Count and pick menus: Escape changes nothing, the squad count menu offers only what
// the budget pays for, and the weapon menu changes only the unit still being edited.
#include <gtest/gtest.h>

#include "UiTestSupport.h"
#include "engine/Sprite.h"
#include "engine/SpriteGrid.h"
#include "platform/window/Keys.h"
#include "ui/CountMenuHost.h"
#include "ui/SquadCountMenu.h"
#include "ui/VIPCountMenu.h"
#include "ui/WeaponMenu.h"
#include "ui/WindowManager.h"

namespace {

using ui_test::UiTest;

class RecordingHost : public CountMenuHost {
public:
    void SetNetworkCount(NetworkCount which, int32_t count) override { counts.push_back({which, count}); }
    void SetObjectVariant(ObjectVariant, int32_t) override {}
    Player* PlacingPlayer() override { return nullptr; }
    void MarkVornUsed(const String&) override {}
    void ResetVornActionQueues() override {}
    Vorn* EditedVorn() override { return edited; }
    void RefreshVornEditor() override { ++editorRefreshes; }
    void AddSquadMembers(const String&, int32_t count, float) override { added.push_back(count); }
    bool ReadVornCost(const String&, int32_t& result) override {
        result = cost;
        return true;
    }
    int32_t LaunchBudget() override { return budget; }
    int32_t LaunchedCost() override { return launched; }

    std::vector<std::pair<NetworkCount, int32_t>> counts;
    std::vector<int32_t> added;
    Vorn* edited = nullptr;
    int editorRefreshes = 0;
    int32_t cost = 100;
    int32_t budget = 1000;
    int32_t launched = 0;
};

class CountMenuTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        SetCountMenuHost(&host);
    }
    void TearDown() override {
        SetCountMenuHost(nullptr);
        UiTest::TearDown();
    }
    RecordingHost host;
};

TEST_F(CountMenuTest, EscapeLeavesANetworkCountAsItWas) {
    VIPCountMenu& menu = GetVIPCountMenu();
    GetWindowManager().OpenWindowAt(&menu, Point(400, 300));
    TapKey(win::kKeyEscape);
    EXPECT_FALSE(menu.open);
    EXPECT_TRUE(host.counts.empty());
    GetWindowManager().OpenWindowAt(&menu, Point(400, 300));
    const Point three = menu.items->sprites[2]->GetScreenCenter();
    Click(three.x, three.y);
    ASSERT_EQ(host.counts.size(), 1u);
    EXPECT_EQ(host.counts[0].second, 3);
}

TEST_F(CountMenuTest, TheSquadCountMenuOffersWhatTheRemainingBudgetPaysFor) {
    SquadCountMenu& menu = GetSquadCountMenu();
    host.cost = 0;
    EXPECT_FALSE(menu.Prepare("Scout"));  // a unit of no cost is never divided by
    host.cost = 100;
    host.launched = 950;  // 50 left: not even one unit
    EXPECT_FALSE(menu.Prepare("Scout"));
    host.launched = 700;  // 300 left of 1000: three units; a quarter (250) fits, a third (333) not
    ASSERT_TRUE(menu.Prepare("Scout"));
    EXPECT_TRUE(menu.visible[2]);
    EXPECT_FALSE(menu.visible[3]);
    EXPECT_TRUE(menu.visible[SquadCountMenu::kQuarter]);
    EXPECT_FALSE(menu.visible[SquadCountMenu::kThird]);
    EXPECT_FALSE(menu.visible[SquadCountMenu::kHalf]);
    EXPECT_TRUE(menu.visible[SquadCountMenu::kRemaining]);
    // Shares count from the whole budget, the last button from what remains.
    EXPECT_EQ(menu.CountFor(SquadCountMenu::kQuarter), 2);
    EXPECT_EQ(menu.CountFor(SquadCountMenu::kRemaining), 3);
    GetWindowManager().OpenWindowAt(&menu, Point(400, 300));
    TapKey(win::kKeyEscape);
    EXPECT_TRUE(host.added.empty());
    GetWindowManager().OpenWindowAt(&menu, Point(400, 300));
    menu.OnChoice(SquadCountMenu::kHalf);  // hidden: not chosen
    EXPECT_TRUE(host.added.empty());
}

TEST_F(CountMenuTest, TheWeaponMenuLeavesAUnitThatIsNoLongerEdited) {
    WeaponMenu& menu = GetWeaponMenu();
    GetWindowManager().OpenWindowAt(&menu, Point(400, 300));
    // The unit left the editor while the menu was open; its pointer is never followed.
    menu.unit = reinterpret_cast<Vorn*>(&host);
    menu.weaponPlace = 0;
    menu.OnChoice(3);
    EXPECT_EQ(menu.unit, nullptr);
    EXPECT_EQ(menu.weaponPlace, -1);
    EXPECT_EQ(host.editorRefreshes, 1);
    EXPECT_FALSE(menu.open);
}

}  // namespace
