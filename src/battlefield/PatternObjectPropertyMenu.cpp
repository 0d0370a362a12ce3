// Adds a property to a friend or enemy of the edited pattern.
#include "battlefield/PatternObjectPropertyMenu.h"

#include <algorithm>
#include <iterator>

#include "battlefield/PatternWindow.h"
#include "core/TextTable.h"
#include "engine/Mouse.h"
#include "engine/Sprite.h"
#include "engine/SpriteGrid.h"
#include "game/Player.h"
#include "game/PlayerRoster.h"
#include "game/UpgradeItem.h"
#include "ui/ToolTip.h"
#include "ui/UiServices.h"
#include "ui/WindowManager.h"

namespace {
constexpr const char* kFriendImages[kPatternPropertyCount] = {
    "PropertyInjuredButton.tga",      "PropertyNotInjuredButton.tga",  "PropertySmallFriendButton.tga",
    "PropertyMediumFriendButton.tga", "PropertyLargeFriendButton.tga", "PropertyVIPButton.tga",
    "PropertyNotVIPButton.tga",       "PropertySoccerBallButton.tga"};
constexpr const char* kEnemyImages[kPatternPropertyCount] = {
    "PropertyInjuredButton.tga",     "PropertyNotInjuredButton.tga", "PropertySmallEnemyButton.tga",
    "PropertyMediumEnemyButton.tga", "PropertyLargeEnemyButton.tga", "PropertyVIPButton.tga",
    "PropertyNotVIPButton.tga",      "PropertySoccerBallButton.tga"};
constexpr int32_t kItemSize = 64;

bool IsPropertyUnlocked(int32_t property) {
    const int32_t item = FindUpgradeItem(String(PropertyNames[property]) + "Property");
    return item >= 0 && GetLocalPlayer().GetUpgradeLevel(item) != -1;
}
}  // namespace

PatternObjectPropertyMenu::PatternObjectPropertyMenu() : PopUpMenu("PatternObjectPropertyMenu", kItemSize, 80.0f) {
    title = GetLanguageText("AddProperty");
    Initialize();
}

void PatternObjectPropertyMenu::CreateResources() {
    PopUpMenu::CreateResources();
    for (int32_t i = 0; i < kPatternPropertyCount; ++i) {
        friendSprites_[i] = CreateUiSprite(kItemSize, kItemSize, kFriendImages[i], Sprite::kAnchorCentre);
        enemySprites_[i] = CreateUiSprite(kItemSize, kItemSize, kEnemyImages[i], Sprite::kAnchorCentre);
        AddItemSprite(friendSprites_[i], PropertyNames[i]);
    }
    items->Layout(centre);
}

void PatternObjectPropertyMenu::ReleaseResources() {
    std::fill(std::begin(friendSprites_), std::end(friendSprites_), nullptr);
    std::fill(std::begin(enemySprites_), std::end(enemySprites_), nullptr);
    PopUpMenu::ReleaseResources();
}

bool PatternObjectPropertyMenu::UsesEnemyImages(int32_t kind, bool ownUnitMode) {
    return (!ownUnitMode && kind == kPatternFriend) || (ownUnitMode && kind == kPatternEnemy);
}

void PatternObjectPropertyMenu::Prepare(PatternWindow* editor, PatternObject* edited, bool ownUnitMode) {
    window = editor;
    object = edited;
    ownMode = ownUnitMode;
}

void PatternObjectPropertyMenu::OnOpen() {
    PopUpMenu::OnOpen();
    const int32_t kind = object != nullptr ? object->kind : -1;
    if (kind != imageKind || ownMode != imageOwnMode) {
        imageKind = kind;
        imageOwnMode = ownMode;
        enemyImages = UsesEnemyImages(kind, ownMode);
        for (int32_t i = 0; i < kPatternPropertyCount; ++i) {
            items->SetItemSprite(i, enemyImages ? enemySprites_[i] : friendSprites_[i]);
        }
    }
    for (int32_t i = 0; i < items->Count(); ++i) items->SetItemVisible(i, IsPropertyUnlocked(i));
    items->Layout(centre);
}

void PatternObjectPropertyMenu::OnChoice(int32_t index) {
    const bool chosen = index >= 0 && items->IsValidIndex(index) && items->IsShown(index);
    // The object may have left the pattern since the menu opened.
    const bool present = window != nullptr && window->pattern != nullptr && object != nullptr &&
                         window->pattern->FindObject(object) >= 0;
    if (chosen && present) {
        object->SetProperty(index, true);
        window->ApplyChanges();
    } else if (index >= 0) {
        PlayUiSound("Illegal.ogg");
    }
    GetWindowManager().CloseWindow(this);
    GetMouse().ShowCursor();
}

void PatternObjectPropertyMenu::GetToolTip() {
    if (items == nullptr || !items->IsValidIndex(items->hovered)) {
        Window::GetToolTip();
        return;
    }
    ::GetToolTip().SetForItem(GetLanguageText(PropertyNames[items->hovered]), *items, *items->sprites[items->hovered]);
}

PatternObjectPropertyMenu& GetPatternObjectPropertyMenu() {
    static PatternObjectPropertyMenu menu;
    return menu;
}
