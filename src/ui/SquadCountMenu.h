#pragma once
// How many members of a saved unit the squad window adds: a count, or a share of the
// launch budget. Only the buttons the remaining budget can pay for are shown.
#include <cstdint>

#include "ui/ChassisCountMenu.h"

class SquadCountMenu : public ChassisCountMenu {
public:
    enum BudgetButton : int32_t { kQuarter = 9, kThird = 10, kHalf = 11, kRemaining = 12, kItemCount = 13 };

    SquadCountMenu();

    // Reads the unit's cost and shows what the budget allows; false when nothing is
    // affordable (or the cost cannot be read or is not positive), and nothing is shown.
    bool Prepare(const String& fileName);
    // The count a button gives.
    int32_t CountFor(int32_t index) const;

    void CreateResources() override;
    void DrawContents() override;
    void OnChoice(int32_t index) override;
    void GetToolTip() override;

    String unitName;
    float eventValue = 0.0f;
    int32_t unitCost = 0;
    bool visible[kItemCount] = {};
    int32_t budget = 0;
    int32_t remaining = 0;

private:
    void ApplyVisibility();
};

SquadCountMenu& GetSquadCountMenu();
