// How many members of a saved unit the squad window adds.
#include "ui/SquadCountMenu.h"

#include <algorithm>

#include "core/TextTable.h"
#include "engine/Font.h"
#include "engine/Sprite.h"
#include "engine/SpriteGrid.h"
#include "engine/TextFitting.h"
#include "ui/CountMenuHost.h"
#include "ui/ToolTip.h"
#include "ui/WindowManager.h"

namespace {
constexpr float kNameWidth = 136.0f;
const char* const kBudgetImages[4] = {"QuarterBudgetButton.tga", "ThirdBudgetButton.tga", "HalfBudgetButton.tga",
                                      "BudgetButton.tga"};
const char* const kBudgetNames[4] = {"QuarterBudget", "ThirdBudget", "HalfBudget", "RemainingBudget"};
}  // namespace

SquadCountMenu::SquadCountMenu() : ChassisCountMenu("SquadCountMenu", nullptr) {
    for (int i = 0; i < 4; ++i) AddItem(kBudgetImages[i], kBudgetNames[i]);
}

bool SquadCountMenu::Prepare(const String& fileName) {
    unitName = fileName;
    std::fill(std::begin(visible), std::end(visible), false);
    ApplyVisibility();
    CountMenuHost* host = GetCountMenuHost();
    if (host == nullptr || !host->ReadVornCost(fileName, unitCost)) return false;
    // A unit of no cost would divide by zero; nothing is offered for it.
    if (unitCost <= 0) return false;
    budget = host->LaunchBudget();
    remaining = budget - host->LaunchedCost();
    const int32_t affordable = std::clamp(remaining / unitCost, 0, kCountButtons);
    if (affordable == 0) return false;
    for (int32_t i = 0; i < affordable; ++i) visible[i] = true;
    visible[kQuarter] = remaining >= budget / 4 && (budget / 4) / unitCost > 0;
    visible[kThird] = remaining >= budget / 3 && (budget / 3) / unitCost > 0;
    visible[kHalf] = remaining >= budget / 2 && (budget / 2) / unitCost > 0;
    visible[kRemaining] = remaining >= unitCost;
    ApplyVisibility();
    return true;
}

void SquadCountMenu::CreateResources() {
    PopUpMenu::CreateResources();
    ApplyVisibility();
}

void SquadCountMenu::ApplyVisibility() {
    if (items == nullptr) return;
    for (int32_t i = 0; i < kItemCount && i < items->Count(); ++i) items->SetItemVisible(i, visible[i]);
    items->Layout(centre);
}

int32_t SquadCountMenu::CountFor(int32_t index) const {
    if (unitCost <= 0) return 0;
    switch (index) {
        case kQuarter: return (budget / 4) / unitCost;
        case kThird: return (budget / 3) / unitCost;
        case kHalf: return (budget / 2) / unitCost;
        case kRemaining: return remaining / unitCost;
        default: return CountOf(index);
    }
}

void SquadCountMenu::DrawContents() {
    title = WrapText(unitName, GetFont(), kTitleScale, kNameWidth) + GetLanguageText("EOLCount");
    PopUpMenu::DrawContents();
}

void SquadCountMenu::OnChoice(int32_t index) {
    CountMenuHost* host = GetCountMenuHost();
    // Escape (-1) adds nobody; a hidden button cannot be chosen.
    const bool chosen = index >= 0 && index < kItemCount && visible[index];
    if (chosen && host != nullptr) {
        host->AddSquadMembers(unitName, CountFor(index), eventValue);
        host->MarkVornUsed(unitName);
    }
    WindowManager& manager = GetWindowManager();
    manager.RemoveFromFocusOrder(this);
    manager.CloseWindow(this);
}

void SquadCountMenu::GetToolTip() {
    if (items == nullptr || items->hovered < kQuarter || items->hovered >= kItemCount) {
        Window::GetToolTip();
        return;
    }
    const int32_t index = items->hovered;
    const String text = GetLanguageText(items->names[index]) + " " + GetLanguageText("LeftParen") +
                        String::FromInt(CountFor(index)) + GetLanguageText("RightParen");
    ::GetToolTip().SetForItem(text, *items, *items->sprites[index]);
}

SquadCountMenu& GetSquadCountMenu() {
    static SquadCountMenu menu;
    return menu;
}
