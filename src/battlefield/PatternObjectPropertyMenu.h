#pragma once
// Adds a property to a friend or enemy of the edited pattern, in the colours of the side
// the object stands for.
#include <cstdint>

#include "ui/PopUpMenu.h"
#include "units/PatternObject.h"

class PatternWindow;

class PatternObjectPropertyMenu : public PopUpMenu {
public:
    PatternObjectPropertyMenu();

    void CreateResources() override;
    void ReleaseResources() override;
    void Prepare(PatternWindow* editor, PatternObject* edited, bool ownUnitMode);
    void OnOpen() override;
    void OnChoice(int32_t index) override;
    void GetToolTip() override;

    // Whether the object is drawn in the enemy's colours in that mode.
    static bool UsesEnemyImages(int32_t kind, bool ownUnitMode);

    PatternWindow* window = nullptr;  // not owned
    PatternObject* object = nullptr;  // not owned
    int32_t imageKind = -1;
    bool imageOwnMode = true;
    bool ownMode = true;
    bool enemyImages = false;

private:
    Sprite* friendSprites_[kPatternPropertyCount] = {};
    Sprite* enemySprites_[kPatternPropertyCount] = {};
};

PatternObjectPropertyMenu& GetPatternObjectPropertyMenu();
