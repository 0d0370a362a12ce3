#pragma once
// Adds an action to a path point of the edited pattern. Only the actions the player has
// unlocked and the unit's weapons can perform are offered.
#include <cstdint>

#include "core/Vector2.h"
#include "ui/PopUpMenu.h"

class PathPoint;
class PatternWindow;
class Vorn;

class ActionMenu : public PopUpMenu {
public:
    ActionMenu();

    void Prepare(PatternWindow* editor, PathPoint* point, Vorn* unit, const Vector2& at);
    void OnOpen() override;
    void OnChoice(int32_t index) override;
    void GetToolTip() override;
    float TitleWidth() const override;

    // Whether the unit can be given an action of the kind.
    static bool IsOffered(int32_t kind, const Vorn* unit);

    PatternWindow* window = nullptr;  // not owned
    PathPoint* pathPoint = nullptr;   // not owned
    Vorn* vorn = nullptr;             // not owned
    Vector2 clickPoint;
};

ActionMenu& GetActionMenu();
