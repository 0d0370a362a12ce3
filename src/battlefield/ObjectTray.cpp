// The palette of placeable objects.
#include "battlefield/ObjectTray.h"

#include "battlefield/ArenaWindow.h"
#include "battlefield/UpgradeOffer.h"
#include "core/TextTable.h"
#include "engine/Mouse.h"
#include "engine/Renderer.h"
#include "engine/Sprite.h"
#include "game/Event.h"
#include "ui/RockMenu.h"
#include "ui/TreeMenu.h"
#include "ui/UiServices.h"
#include "ui/WindowManager.h"
#include "units/ChassisTable.h"
#include "world/Arena.h"
#include "world/ObjectKind.h"

namespace {

constexpr int32_t kCell = 32;
constexpr int32_t kRows = 12;

enum class Team { kAny, kFriend, kEnemy };

struct Entry {
    const char* name;
    const char* upgrade;
    Team team;
    int32_t kind;       // the world kind of an object drop, -1 for a unit drop
    int32_t sizeClass;  // of a unit drop
};

const Entry kEntries[ObjectTray::kEntryCount] = {
    {"Tree", "TreeObject", Team::kAny, kKindTree, 0},
    {"Rock", "RockObject", Team::kAny, kKindRock, 0},
    {"SolarCharger", "SolarChargerObject", Team::kAny, kKindSolarCharger, 0},
    {"SmallFriendVorn", "SmallVorn", Team::kFriend, -1, 0},
    {"MediumFriendVorn", "MediumVorn", Team::kFriend, -1, 1},
    {"LargeFriendVorn", "LargeVorn", Team::kFriend, -1, 2},
    {"SmallEnemyVorn", "SmallVorn", Team::kEnemy, -1, 0},
    {"MediumEnemyVorn", "MediumVorn", Team::kEnemy, -1, 1},
    {"LargeEnemyVorn", "LargeVorn", Team::kEnemy, -1, 2},
    {"SoccerBall", "SoccerBallObject", Team::kAny, kKindSoccerBall, 0},
    {"FriendGoal", "FriendGoalObject", Team::kFriend, kKindGoal, 0},
    {"EnemyGoal", "EnemyGoalObject", Team::kEnemy, kKindGoal, 1},
};

const char* const kTreeImages[] = {"TreeButton.tga",       "PineTreeButton.tga", "PalmTreeButton.tga",
                                   "TreeCactusButton.tga", "Tree6Button.tga",    "Tree7Button.tga",
                                   "TreeRandomButton.tga"};
const char* const kRockImages[] = {"RockButton.tga",  "Rock2Button.tga", "Rock3Button.tga",     "Rock4Button.tga",
                                   "Rock5Button.tga", "Rock6Button.tga", "RockRandomButton.tga"};
constexpr int32_t kVariantCount = 7;

Player* TeamPlayer(Team team) {
    return team == Team::kFriend ? ArenaWindow::FriendlyPlayer() : ArenaWindow::EnemyPlayer();
}

bool IsPlacingTeam(Team team) {
    if (team == Team::kAny) return true;
    const Player* placing = gArena != nullptr ? gArena->placingPlayer : nullptr;
    if (placing == nullptr) placing = ArenaWindow::FriendlyPlayer();
    return placing != nullptr && placing == TeamPlayer(team);
}

int32_t TeamChassis(Team team, int32_t sizeClass) {
    const Player* player = TeamPlayer(team);
    return player != nullptr ? player->GetChassisChoice(sizeClass) : -1;
}

// The goal buttons belong to the chassis family (the rows of the small chassis).
String GoalButton(Team team) {
    const int32_t chassis = TeamChassis(team, 0);
    const ChassisDefinition* family = ChassisTable::Row(chassis < 3 ? 0 : 3);
    return family != nullptr && !family->goalButton.IsEmpty() ? family->goalButton
           : team == Team::kFriend                            ? String("FriendGoalObjectButton.tga")
                                                              : String("EnemyGoalObjectButton.tga");
}

void OpenMenuAt(Window& menu, const Point& centre) {
    menu.MoveTo(centre);
    GetWindowManager().OpenWindow(&menu);
    GetWindowManager().BringToFront(&menu);
}

}  // namespace

ObjectTray::ObjectTray() : Tray("ObjectTray", 1, kRows, Point(kCell, kCell), 1.5f, true, false) {
    Initialize();
    FillImages();
}

String ObjectTray::EntryImage(int32_t entry) const {
    return entry >= 0 && entry < kEntryCount ? images_[entry] : String();
}

void ObjectTray::Refresh() {
    FillImages();
    Tray::Refresh();
}

void ObjectTray::FillImages() {
    images_[0] = kTreeImages[treeVariant >= 0 && treeVariant < kVariantCount ? treeVariant : kRandomVariant];
    images_[1] = kRockImages[rockVariant >= 0 && rockVariant < kVariantCount ? rockVariant : kRandomVariant];
    images_[2] = "SolarChargerButton.tga";
    images_[9] = "SoccerBallButton.tga";
    for (int32_t entry = 3; entry <= 8; ++entry) {
        const ChassisDefinition* row = ChassisTable::Row(TeamChassis(kEntries[entry].team, kEntries[entry].sizeClass));
        images_[entry] =
            row != nullptr && !row->buttonImage.IsEmpty() ? row->buttonImage : String("TrayPlaceholderButton.tga");
    }
    images_[10] = GoalButton(Team::kFriend);
    images_[11] = GoalButton(Team::kEnemy);
}

Sprite* ObjectTray::SpriteFor(const String& image) {
    // A grab may come before the tray's first drawing after a renderer restart.
    if (!spritesCurrent_.IsSet()) {
        sprites_.Clear();
        spriteImages_.Clear();
        spritesCurrent_.Set();
    }
    for (int32_t i = 0; i < spriteImages_.Count(); ++i) {
        if (spriteImages_[i] == image) return sprites_[i];
    }
    Sprite* sprite = CreateUiSprite(kCell, kCell, image, Sprite::kAnchorTopLeft);
    spriteImages_.Append(image);
    sprites_.Append(sprite);
    return sprite;
}

void ObjectTray::DrawEntry(int32_t entry, const IntRect& rect, bool) {
    if (entry < 0 || entry >= kEntryCount) return;
    Sprite* sprite = SpriteFor(images_[entry]);
    if (sprite == nullptr) return;
    sprite->x = rect.left;
    sprite->y = rect.top;
    sprite->width = rect.right - rect.left;
    sprite->height = rect.bottom - rect.top;
    UseScreenCamera();
    GetRenderer().SetAlphaBlend();
    GetRenderer().DrawSprite(*sprite);
    GetRenderer().SetBlendOff();
}

String ObjectTray::EntryName(int32_t entry) const {
    return entry >= 0 && entry < kEntryCount ? String(kEntries[entry].name) : String();
}

String ObjectTray::EntryToolTip(int32_t entry, const IntRect&) const { return GetLanguageText(EntryName(entry)); }

bool ObjectTray::IsEntryShown(int32_t entry) const {
    if (entry < 0 || entry >= kEntryCount) return false;
    return IsUpgradeOffered(kEntries[entry].upgrade) && IsPlacingTeam(kEntries[entry].team);
}

bool ObjectTray::Grab(int32_t entry) {
    if (!IsEntryShown(entry)) return false;
    const Entry& what = kEntries[entry];
    Mouse& mouse = GetMouse();
    Sprite* image = SpriteFor(images_[entry]);
    if (what.kind < 0) {
        const int32_t chassis = TeamChassis(what.team, what.sizeClass);
        if (!ChassisTable::IsValid(chassis)) return false;
        mouse.HideCursor(kCarryChassis, image);
        mouse.dragIndex = chassis;
        return true;
    }
    carriedKind = what.kind;
    carriedVariant = what.kind == kKindTree ? treeVariant : what.kind == kKindRock ? rockVariant : what.sizeClass;
    mouse.HideCursor(kCarryObject, image);
    mouse.dragIndex = carriedKind;
    return true;
}

void ObjectTray::HandleCommand(Event& event) {
    switch (event.type) {
        case kEventGrabTrayEntry: Grab(FindEntryByName(event.text)); return;
        case kEventEditTrayEntry: {
            const int32_t entry = FindEntryByName(event.text);
            if (entry != 0 && entry != 1) return;
            Window& menu = entry == 0 ? static_cast<Window&>(GetTreeMenu()) : GetRockMenu();
            Point centre = GetCenter();
            for (int32_t i = 0; i < cellRects.Count(); ++i) {
                const int32_t at = scrollPosition + i;
                if (at < shownMap.Count() && shownMap[at] == entry) {
                    centre = Point((cellRects[i].left + cellRects[i].right) / 2,
                                   (cellRects[i].top + cellRects[i].bottom) / 2);
                }
            }
            OpenMenuAt(menu, centre);
            return;
        }
        case kEventPickTrayEntry:
        case kEventDeleteTrayEntry: return;
        default: Tray::HandleCommand(event);
    }
}

void ObjectTray::ResetToDefaults() {
    treeVariant = kRandomVariant;
    rockVariant = kRandomVariant;
    Refresh();
}

ObjectTray& GetObjectTray() {
    static ObjectTray tray;
    return tray;
}
