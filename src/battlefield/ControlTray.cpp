// The row of buttons that runs the battle.
#include "battlefield/ControlTray.h"

#include <algorithm>
#include <iterator>

#include "battlefield/ArenaWindow.h"
#include "battlefield/UserError.h"
#include "core/TextTable.h"
#include "engine/Renderer.h"
#include "engine/Sprite.h"
#include "game/Event.h"
#include "game/Game.h"
#include "game/Player.h"
#include "ui/ConfirmClearBattlefieldMenu.h"
#include "ui/ConfirmLoadScenarioMenu.h"
#include "ui/ConfirmRestoreLastPlayPointMenu.h"
#include "ui/ScenarioListBox.h"
#include "ui/ScenarioNameEditBox.h"
#include "ui/UiServices.h"
#include "ui/WindowManager.h"
#include "world/Arena.h"

namespace {

enum Entry : int32_t {
    kPlay = 0,
    kPause,
    kTeamEnemy,
    kTeamFriend,
    kSetSignal1,
    kClearSignal1,
    kSetSignal2,
    kClearSignal2,
    kRestore,
    kClear,
    kLoad,
    kSave,
    kExit,
};

struct EntryInfo {
    const char* name;
    const char* image;
    int32_t upgrade;
};

constexpr EntryInfo kEntries[ControlTray::kEntryCount] = {
    {"Play", "PlayButton64.tga", 9},
    {"Pause", "PauseButton.tga", 10},
    {"TeamEnemy", "EnemyControlButton.tga", 11},
    {"TeamFriend", "FriendControlButton.tga", 12},
    {"SetSignal1", "SignalOffButton.tga", 13},
    {"ClearSignal1", "SignalOnButton.tga", 14},
    {"SetSignal2", "Signal2OffButton.tga", 15},
    {"ClearSignal2", "Signal2OnButton.tga", 16},
    {"RestoreToLastPlayPoint", "RedoButton64.tga", 17},
    {"ClearBattlefield", "NoButton64.tga", 18},
    {"LoadScenario", "LoadScenarioButton.tga", 19},
    {"SaveScenario", "SaveScenarioButton.tga", 20},
    {"Exit", "ExitButton64.tga", 21},
};

constexpr float kSignalDelaySeconds = 1.0f;

bool ModeIs(const char* name) {
    const Game* game = CurrentGame();
    return game != nullptr && game->modeName == name;
}

// The local player where the game names no sides of its own.
Player* Friendly() { return CurrentGame() != nullptr ? ArenaWindow::FriendlyPlayer() : nullptr; }

void OpenInFront(Window& window) {
    WindowManager& windows = GetWindowManager();
    windows.OpenWindow(&window);
    windows.RaiseWindow(&window);
}

void PauseGame() {
    if (Game* game = CurrentGame()) game->SetPaused(true);
}

}  // namespace

bool IsTrainingGame() { return ModeIs("TrainingGame"); }
bool IsMissionGame() { return ModeIs("MissionGame"); }

ControlTray::ControlTray() : Tray("ControlTray", 5, 2, Point(32, 32), 1.5f, true, false) { Initialize(); }

void ControlTray::CreateResources() {
    Tray::CreateResources();
    for (int32_t i = 0; i < kEntryCount; ++i) {
        sprites_[i] = CreateUiSprite(32, 32, kEntries[i].image, Sprite::kAnchorTopLeft);
    }
}

void ControlTray::ReleaseResources() {
    std::fill(std::begin(sprites_), std::end(sprites_), nullptr);
    Tray::ReleaseResources();
}

String ControlTray::EntryName(int32_t entry) const {
    return entry >= 0 && entry < kEntryCount ? String(kEntries[entry].name) : String();
}

bool ControlTray::IsEntryShown(int32_t entry) const {
    if (entry < 0 || entry >= kEntryCount) return false;
    const Game* game = CurrentGame();
    const Player* player = Friendly();
    if (game == nullptr || player == nullptr) return false;
    if (!player->HasUpgradeLevel(kEntries[entry].upgrade, 0) || !game->IsControlAllowed(entry)) return false;
    const bool friendPlacing = gArena == nullptr || gArena->placingPlayer == nullptr || gArena->placingPlayer == player;
    switch (entry) {
        // The pattern debugger's hold stops the world as a pause does.
        case kPlay: return game->playerPaused != 0 || game->debugPaused != 0;
        case kPause: return game->playerPaused == 0 && game->debugPaused == 0;
        case kTeamEnemy: return friendPlacing;
        case kTeamFriend: return !friendPlacing;
        case kSetSignal1: return player->signal1 == 0;
        case kClearSignal1: return player->signal1 != 0;
        case kSetSignal2: return player->signal2 == 0;
        case kClearSignal2: return player->signal2 != 0;
        default: return true;
    }
}

void ControlTray::DrawEntry(int32_t entry, const IntRect& rect, bool) {
    if (entry < 0 || entry >= kEntryCount || sprites_[entry] == nullptr) return;
    Sprite& sprite = *sprites_[entry];
    UseScreenCamera();
    sprite.x = rect.left;
    sprite.y = rect.top;
    sprite.width = rect.right - rect.left;
    sprite.height = rect.bottom - rect.top;
    GetRenderer().SetAlphaBlend();
    GetRenderer().DrawSprite(sprite);
    GetRenderer().SetBlendOff();
}

String ControlTray::EntryToolTip(int32_t entry, const IntRect&) const { return GetLanguageText(EntryName(entry)); }

void ControlTray::HandleCommand(Event& event) {
    switch (event.type) {
        case kEventPickTrayEntry:
            for (int32_t i = 0; i < kEntryCount; ++i) {
                if (event.text == kEntries[i].name) PickEntry(i, event.point);
            }
            return;
        case kEventSetSignal1:
        case kEventClearSignal1:
        case kEventSetSignal2:
        case kEventClearSignal2: ChangeSignal(event.type); return;
        case kEventRestoreToLastPlayPoint: RestoreLastPlayPoint(); return;
        case kEventClearBattlefield:
            OpenInFront(GetConfirmClearBattlefieldMenu());
            PauseGame();
            return;
        case kEventLoadScenario:
            if (!IsTutorialGame() && gArena != nullptr && gArena->HasEditedVorn()) {
                OpenInFront(GetConfirmLoadScenarioMenu());
            } else {
                OpenInFront(GetScenarioListBox());
            }
            PauseGame();
            return;
        case kEventSaveScenario:
            // The box takes the keys and clicks until it is closed, wherever the pointer is.
            GetScenarioNameEditBox().MoveTo(event.point);
            OpenInFront(GetScenarioNameEditBox());
            GetWindowManager().BringToFront(&GetScenarioNameEditBox());
            return;
        case kEventGrabTrayEntry:
        case kEventEditTrayEntry:
        case kEventDeleteTrayEntry: return;
        default: Tray::HandleCommand(event);
    }
}

void ControlTray::PickEntry(int32_t entry, const Point& point) {
    Game* game = CurrentGame();
    if (game == nullptr) return;
    if (game->battleOver != 0) {
        PlayUiSound("Illegal.ogg");
        return;
    }
    ArenaWindow& battlefield = GetArenaWindow();
    switch (entry) {
        case kPlay: battlefield.PostEvent(kEventUnpause); return;
        case kPause: battlefield.PostEvent(kEventPause); return;
        case kTeamEnemy: battlefield.PostEvent(kEventVornTeamEnemy); return;
        case kTeamFriend: battlefield.PostEvent(kEventVornTeamFriend); return;
        case kSetSignal1:
        case kClearSignal1:
        case kSetSignal2:
        case kClearSignal2: {
            const int32_t types[] = {kEventSetSignal1, kEventClearSignal1, kEventSetSignal2, kEventClearSignal2};
            const int32_t type = types[entry - kSetSignal1];
            if (!game->IsNetworkServer()) {
                PostEvent(type);
                return;
            }
            // The server lets its clients hear of the change before it takes effect.
            Event* event = game->NewEvent();
            event->type = type;
            event->target = this;
            event->dueTime = game->clock + kSignalDelaySeconds;
            game->delayedEvents.Append(event);
            return;
        }
        case kRestore: PostEvent(kEventRestoreToLastPlayPoint); return;
        case kClear: PostEvent(kEventClearBattlefield); return;
        case kLoad: PostEvent(kEventLoadScenario); return;
        case kSave: PostEventPoint(kEventSaveScenario, point); return;
        case kExit:
            game->resumePaused = IsTrainingGame() ? 1 : game->playerPaused;
            if (!IsTutorialGame() && !game->IsNetworkServer() && !game->IsNetworkClient()) game->SetPaused(true);
            if (Event* event = game->NewEvent()) {
                event->type = kEventOpenEscapeMenu;
                game->PostEvent(event);
            }
            return;
        default: return;
    }
}

void ControlTray::ChangeSignal(int32_t type) {
    Game* game = CurrentGame();
    Player* player = Friendly();
    if (game == nullptr || player == nullptr) return;
    const int32_t which = type == kEventSetSignal1 || type == kEventClearSignal1 ? 1 : 2;
    const uint8_t value = type == kEventSetSignal1 || type == kEventSetSignal2 ? 1 : 0;
    if (game->IsNetworkClient()) {
        game->RequestSignal(player, which, value);
        return;
    }
    if (which == 1) {
        player->SetSignal1(value != 0);
    } else {
        player->SetSignal2(value != 0);
    }
    if (game->IsNetworkServer()) game->OnSignalChanged(player, which, value);
    Refresh();
}

void ControlTray::RestoreLastPlayPoint() {
    if (gArena == nullptr) return;
    if (!gArena->HasLastPlayPoint()) {
        ShowUserError("NoLastPlayPoint");
        return;
    }
    if (!IsTutorialGame() && gArena->HasEditedVorn()) {
        OpenInFront(GetConfirmRestoreLastPlayPointMenu());
        PauseGame();
        return;
    }
    gArena->ClearBattlefield(!IsTutorialGame());
    gArena->LoadScenario("__Temp");
    PauseGame();
}

ControlTray& GetControlTray() {
    static ControlTray controlTray;
    return controlTray;
}
