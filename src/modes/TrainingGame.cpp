// The training grounds.
#include "modes/TrainingGame.h"

#include "battlefield/ArenaWindow.h"
#include "battlefield/ControlTray.h"
#include "battlefield/DebugWindow.h"
#include "battlefield/MiniMap.h"
#include "battlefield/ObjectTray.h"
#include "battlefield/VornTray.h"
#include "core/TextTable.h"
#include "engine/Mouse.h"
#include "game/GameListener.h"
#include "game/Player.h"
#include "game/PlayerRoster.h"
#include "modes/ModeFolders.h"
#include "modes/ModeShell.h"
#include "platform/window/Keys.h"
#include "ui/ConfirmEscapeMenu.h"
#include "ui/KillTray.h"
#include "ui/ToolkitWindows.h"
#include "ui/UiServices.h"
#include "ui/WindowManager.h"
#include "ui/WindowTray.h"
#include "units/Vorn.h"
#include "world/Arena.h"
#include "world/ObjectKind.h"
#include "world/Terrain.h"

namespace {

constexpr int32_t kEscapeCharacter = 27;

bool IsIgnoredLetter(int32_t character) {
    switch (character) {
        case 'I':
        case 'i':
        case 'K':
        case 'k':
        case 'L':
        case 'l':
        case 'O':
        case 'o': return true;
        default: return false;
    }
}

bool ArenaHoldsEditedVorn() {
    if (gArena == nullptr) return false;
    for (WorldObject* object : gArena->Objects()) {
        if (object->kind == kKindVorn && static_cast<Vorn*>(object)->edited != 0) return true;
    }
    return false;
}

}  // namespace

TrainingGame::TrainingGame(Player& local, Player& computer) : local_(local), computer_(computer) {
    modeName = "TrainingGame";
}

TrainingGame::~TrainingGame() { GetPlayerRoster().RemovePlayer(&computer_); }

void TrainingGame::Begin() {
    GetPlayerRoster().AddPlayer(&computer_);
    computer_.UseUpgradeLevelsOf(local_);
    frameTimer.Start();
    UsePlayerFolders(local_);
    // Windows a lesson placed, or the player moved, go back to their places.
    GetToolkitWindows().LayOutWindows();
    WindowManager& manager = GetWindowManager();
    manager.CloseAllWindows();
    // The grounds' own field is laid before the battlefield opens: opening aims the cameras
    // at the middle of the field as it is then, not of the last battle's.
    if (gArena != nullptr) {
        gArena->ClearBattlefield(false);
        gArena->ClearLaunchPoints();
        gArena->ClearFlyByPoints();
        gArena->GetTerrain().Resize(kArenaCells, kArenaCells);
        gArena->FillTerrain(0);
    }
    manager.OpenWindows(
        {&GetArenaWindow(), &GetVornTray(), &GetWindowTray(), &GetControlTray(), &GetObjectTray(), &GetMiniMap()});
}

void TrainingGame::End() {
    StopBackgroundFade();
    computer_.RestoreUpgradeLevels();
    GetPlayerRoster().RemovePlayer(&computer_);
    GetWindowManager().CloseWindow(&GetDebugWindow());
}

void TrainingGame::Update() {
    if (selectedVornChosePattern != 0) OpenDebuggerOnSelectedVorn();
    Game::Update();
}

void TrainingGame::OpenDebuggerOnSelectedVorn() {
    selectedVornChosePattern = 0;
    if (selectedVorn == nullptr) return;
    selectedVorn->debuggerPattern = selectedVorn->currentPattern;
    debugPaused = 1;
    if (GameListener* listener = GetGameListener()) listener->OnControlsChanged();
    DebugWindow& debugger = GetDebugWindow();
    debugger.SetVorn(selectedVorn);
    if (debugger.open) return;
    const IntRect screen = UiScreenRect();
    debugger.MoveTo(Point(screen.right - debugger.Width(), screen.top + 40));
    GetWindowManager().OpenWindow(&debugger);
}

void TrainingGame::SetPaused(bool paused) {
    const bool wasPaused = playerPaused != 0;
    Game::SetPaused(paused);
    if (!paused || wasPaused || gArena == nullptr) return;
    for (WorldObject* object : gArena->Objects()) {
        if (object->kind == kKindVorn) static_cast<Vorn*>(object)->ResetPatternState();
    }
}

bool TrainingGame::PostviewInputEvent(const InputEvent& input) {
    if (input.IsKeyDown(win::KeyOfFunction(9))) {
        GetModeShell().StepProfiler();
        return true;
    }
    if (input.kind == kInputCharacter) return HandleCharacter(input);
    return false;
}

bool TrainingGame::HandleCharacter(const InputEvent& input) {
    const int32_t character = input.code;
    if (character >= '1' && character <= '8') return GetWindowTray().HandleMouse(input);
    if (IsIgnoredLetter(character)) return true;
    if (character == kEscapeCharacter && GetMouse().mode == Mouse::kModeNothing) {
        Event* event = NewEvent();
        event->type = kEventOpenEscapeMenu;
        PostEvent(event);
        resumePaused = 1;
        SetPaused(true);
    }
    return false;
}

String TrainingGame::EscapeQuestion() const {
    String question = GetLanguageText("LeaveTrainingGrounds?");
    if (ArenaHoldsEditedVorn() || GetKillTray().VornCount() > 0) question += GetLanguageText("UnsavedVorns");
    return question;
}

void TrainingGame::HandleEvent(Event& event) {
    if (event.type == kEventOpenEscapeMenu) {
        ConfirmEscapeMenu& menu = GetConfirmEscapeMenu();
        menu.title = EscapeQuestion();
        GetWindowManager().OpenWindow(&menu);
        GetWindowManager().BringToFront(&menu);
        return;
    }
    if (event.type == kEventEscape) {
        GetModeShell().PopGame();
        return;
    }
    Game::HandleEvent(event);
}

void TrainingGame::DrawFrame() {
    DrawWindows();
    GetMouse().Draw();
}
