// The tutorial mode: the step machine over a tutorial script.
#include "modes/TutorialGame.h"

#include <algorithm>

#include "battlefield/ArenaWindow.h"
#include "battlefield/ControlTray.h"
#include "battlefield/LaunchSquadTray.h"
#include "battlefield/LaunchWindow.h"
#include "battlefield/MiniMap.h"
#include "battlefield/ObjectTray.h"
#include "battlefield/PaintTray.h"
#include "battlefield/SquadTray.h"
#include "battlefield/VornTray.h"
#include "core/Debugger.h"
#include "core/TextTable.h"
#include "engine/AssetPaths.h"
#include "engine/Mouse.h"
#include "engine/Renderer.h"
#include "game/GameWindows.h"
#include "game/Player.h"
#include "game/PlayerRoster.h"
#include "modes/MissionGame.h"
#include "modes/ModeFolders.h"
#include "modes/ModeShell.h"
#include "modes/Professor.h"
#include "modes/ScriptLines.h"
#include "modes/SquadWindow.h"
#include "platform/sys/FileSystem.h"
#include "platform/window/Keys.h"
#include "ui/ConfirmEscapeMenu.h"
#include "ui/CountMenuHost.h"
#include "ui/KillTray.h"
#include "ui/SavedFileTrays.h"
#include "ui/ScenarioListBox.h"
#include "ui/SquadNameEditBox.h"
#include "ui/TextBox.h"
#include "ui/ToolkitWindows.h"
#include "ui/UiServices.h"
#include "ui/VornNameEditBox.h"
#include "ui/WindowManager.h"
#include "ui/WindowTray.h"
#include "units/Vorn.h"
#include "world/Arena.h"
#include "world/ObjectKind.h"
#include "world/SaveFilePaths.h"

namespace {

constexpr float kSpeakingVolume = 0.8f;
constexpr float kVolumeRecovery = 0.1f;
constexpr int32_t kCameraDragValue = 2;
constexpr int32_t kCameraJumpValue = 1;

struct TutorialCopies {
    const char* folder;
    const char* extension;
};
constexpr TutorialCopies kCopyFolders[] = {
    {"Tutorials/Vorns", ".vrn"}, {"Tutorials/Squads", ".sqd"}, {"Tutorials/Scenarios", ".scn"}};

// The copies a lesson made are its own: the next lesson starts from none.
void DeleteTutorialCopies() {
    for (const TutorialCopies& copies : kCopyFolders) {
        for (const std::string& name : sys::ListDirectory(std::string(copies.folder) + "/*")) {
            const String file(name.c_str());
            if (!file.EndsWithNoCase(copies.extension)) continue;
            sys::DeleteFile((String(copies.folder) + "/" + file).CStr());
        }
    }
}

void ShowEverySavedFile() {
    GetVornTray().nameFilter.Clear();
    GetSquadTray().nameFilter.Clear();
}

Window* EventWindow(const Event& event) { return dynamic_cast<Window*>(event.target); }

bool TargetNamed(const Event& event, const char* windowName) {
    const Window* window = EventWindow(event);
    return window != nullptr && window->name.EqualsNoCase(windowName);
}

void PlayRefusal() { PlayUiSound("Illegal.ogg"); }

}  // namespace

TutorialGame::TutorialGame(Player& local, Player& computer, MissionGame& mission)
    : script(*this, [](const String& windowName) { return GetWindowManager().FindWindowByName(windowName); }),
      local_(local),
      computer_(computer),
      mission_(mission) {
    modeName = "TutorialGame";
}

TutorialGame::~TutorialGame() {
    ClearRequirementsInForce();
    GetPlayerRoster().RemovePlayer(&computer_);
}

void TutorialGame::ClearScript() {
    ClearRequirementsInForce();
    script.Clear();
    step_ = highlightStep_ = lastStage_ = nullptr;
    noteShown_ = nullptr;
    noteOpenedTheBox_ = false;
    stepIndex_ = -1;
    meteorsEnabled = 0;
    DeleteTutorialCopies();
    waitTime_ = 0.0f;
    miniMapMovesOwed_ = 0;
    scriptLoaded_ = false;
}

bool TutorialGame::LoadScript(const String& language, const String& name) {
    ClearScript();
    scriptLoaded_ = script.Load(language, name);
    if (scriptLoaded_) script.CopyFiles();
    return scriptLoaded_;
}

// --- lifecycle

void TutorialGame::Begin() {
    GetPlayerRoster().AddPlayer(&computer_);
    if (script.useBasicUpgrades) {
        local_.UseBasicUpgradeLevels();
        computer_.UseBasicUpgradeLevels();
    }
    frameTimer.Start();
    SetPaused(true);
    finished = false;
    killTrayShown = false;
    SetUpTheField();
    // The player's recent units and squads come back when the lesson ends; the lesson
    // starts with none, and with no recent scenario either.
    for (Tray* tray : {static_cast<Tray*>(&GetVornTray()), static_cast<Tray*>(&GetSquadTray())}) {
        tray->SaveRecentList();
        tray->ClearRecentList();
    }
    GetScenarioListBox().ClearRecentList();
    UseTutorialFolders();
    ShowEverySavedFile();
    if (SavedFileTrays* trays = GetSavedFileTrays()) trays->RefreshFromDisk();
    GetLaunchSquadTray().SetMaxSquadCount(script.maxSquadCount);
    GetObjectTray().ResetToDefaults();
    GetPaintTray().ResetToDefaults();
    GetSquadWindow().layout = SquadWindow::kCircle;
    OpenTheLessonsWindows();
    stepIndex_ = -1;
    retrying_ = false;
    startPending_ = true;
    InputEvent start;
    start.Set(kInputPointerMove, 0, GetMouse().position);
    PreviewInputEvent(start);
    // The first stage has sized the text box; the launch tray goes below it.
    GetToolkitWindows().LayOutWindows();
}

void TutorialGame::SetUpTheField() {
    if (gArena == nullptr) return;
    gArena->ClearBattlefield(false);
    gArena->meteorShowerOn = meteorsEnabled != 0;
    gArena->meteorStartTime = meteorDelay;
}

// Set up again, the lesson starts from the files it came with, as when it was started
// anew: what the player saved in the lost try is gone, so the pages can ask for the same
// save again without a question about replacing it, and the squad editor's circle is
// empty again.
void TutorialGame::StartFromTheLessonsOwnFiles() {
    for (Squad& squad : local_.squads) squad.DestroyMembers();
    DeleteTutorialCopies();
    script.CopyFiles();
    GetVornTray().ClearRecentList();
    GetSquadTray().ClearRecentList();
    if (SavedFileTrays* trays = GetSavedFileTrays()) trays->RefreshFromDisk();
}

void TutorialGame::OpenTheLessonsWindows() {
    GetToolkitWindows().LayOutWindows();
    WindowManager& manager = GetWindowManager();
    manager.CloseAllWindows();
    for (Window* window : script.windows) manager.OpenWindow(window);
}

void TutorialGame::End() {
    if (script.useBasicUpgrades) {
        local_.RestoreUpgradeLevels();
        computer_.RestoreUpgradeLevels();
    }
    StopBackgroundFade();
    GetPlayerRoster().RemovePlayer(&computer_);
    UsePlayerFolders(local_);
    // Hiding the trays' grids here would hide the player's own units and squads for good:
    // nothing but a gift shows them again.
    ShowEverySavedFile();
    if (SavedFileTrays* trays = GetSavedFileTrays()) trays->RefreshFromDisk();
    GetVornTray().RestoreRecentList();
    GetSquadTray().RestoreRecentList();
    // The lesson's own scenarios are no recent entries of the player's.
    GetScenarioListBox().ClearRecentList();
    // A lesson left with Escape is not done, except the campaign map's tour, which needs
    // showing only once.
    if (scriptLoaded_ && (!finished || mission_.missionIndex == -1)) {
        local_.RecordMissionWin(mission_.missionIndex);
        mission_.SelectPlayersMission();
    }
    GetWindowManager().CloseAllWindows();
}

// --- steps

void TutorialGame::AdvanceStep() {
    if (retrying_) {
        retrying_ = false;
        SetUpTheField();
        StartFromTheLessonsOwnFiles();
        OpenTheLessonsWindows();
    }
    highlightStep_ = nullptr;
    highlighter.Clear();
    ++stepIndex_;
    elapsed_ = 0.0f;
    stepping_ = true;
    if (stepIndex_ >= static_cast<int32_t>(script.steps.size())) {
        step_ = nullptr;
        return;
    }
    step_ = script.steps[stepIndex_].get();
    EnterStep();
}

void TutorialGame::EnterStep() {
    TutorialStep& step = *step_;
    noteShown_ = nullptr;
    noteOpenedTheBox_ = false;
    switch (step.kind) {
        case TutorialStepKind::kStage:
            SetRequirementsInForce(step.expected);
            if (!step.pages.IsEmpty() && step.waitsForContinue && TextBox::Instance() != nullptr) {
                auto* next = new Requirement();
                next->Set(TextBox::Instance(), kEventContinueTextBox, Requirement::kRequired);
                inForce_.Append(next);
            }
            break;
        case TutorialStepKind::kGoal:
            enemiesAtGoal_ = CountEnemies();
            friendsAtGoal_ = CountUnits(false);
            quietTime_ = 0.0f;
            healthSeen_ = HealthOnTheField();
            break;
        case TutorialStepKind::kPause:
        case TutorialStepKind::kUnpause: SetRequirementsInForce(step.expected); break;
        case TutorialStepKind::kScenario:
            LoadScenarioStep(step);
            AdvanceStep();
            break;
        case TutorialStepKind::kBudget:
            SetLaunchBudget(step.arguments.IsEmpty() ? 0 : script_lines::ToInt(step.arguments[0]));
            AdvanceStep();
            break;
        default: break;
    }
}

void TutorialGame::LoadScenarioStep(const TutorialStep& step) {
    if (step.arguments.IsEmpty() || gArena == nullptr) return;
    GetArenaWindow().ResetToTiltedCamera();
    SetDataFolders("Tutorials\\Vorns\\", "Tutorials\\Squads\\", "Scenarios\\");
    gArena->LoadScenario(step.arguments[0]);
    UseTutorialFolders();
}

bool TutorialGame::PreviewInputEvent(const InputEvent& input) {
    if (input.kind == kInputPointerMove && RunSteps()) return true;
    // As in a mission, a drop in the squad choice is the squad window's, not the hidden
    // battlefield's.
    if (GetGameWindows() == nullptr || !GetGameWindows()->IsBattlefieldOpen()) return false;
    return Game::PreviewInputEvent(input);
}

bool TutorialGame::RunSteps() {
    if (startPending_) {
        startPending_ = false;
        AdvanceStep();
    }
    while (stepping_) {
        if (step_ == nullptr) {
            stepping_ = false;
            GetModeShell().PopGame();
            StopProfessor();
            waitingForContinue = false;
            if (gArena != nullptr) gArena->effectVolume = 1.0f;
            return true;
        }
        if (!RunStep(*step_)) break;
    }
    return false;
}

bool TutorialGame::RunStep(TutorialStep& step) {
    ArenaWindow& arenaWindow = GetArenaWindow();
    WindowCamera& camera = arenaWindow.CurrentCamera();
    switch (step.kind) {
        case TutorialStepKind::kStage:
            StartStage(step);
            if (Requirement::AllSatisfied(inForce_)) {
                AdvanceStep();
            } else {
                stepping_ = false;
            }
            return true;
        case TutorialStepKind::kGoal: {
            const int32_t enemies = CountEnemies();
            const bool met =
                step.goalMode == TutorialGoalMode::kNone ||
                (step.goalMode == TutorialGoalMode::kKillOne && (enemiesAtGoal_ < 1 || enemies < enemiesAtGoal_)) ||
                (step.goalMode == TutorialGoalMode::kKillAll && enemies == 0);
            if (met) {
                AdvanceStep();
            } else if (step.goalMode != TutorialGoalMode::kNone && friendsAtGoal_ > 0 && CountUnits(false) == 0) {
                StartTheBattleAgain(script.lostStage.get());
            } else if (step.seconds > 0.0f && quietTime_ > step.seconds) {
                StartTheBattleAgain(script.timeUpStage.get());
            } else {
                return false;
            }
            return true;
        }
        case TutorialStepKind::kWaitWithHighlight:
        case TutorialStepKind::kWait:
            if (step.kind == TutorialStepKind::kWaitWithHighlight) highlightStep_ = lastStage_;
            waitTime_ += frameTime;
            if (waitTime_ <= step.seconds) return false;
            waitTime_ = 0.0f;
            AdvanceStep();
            return true;
        case TutorialStepKind::kPause:
        case TutorialStepKind::kUnpause:
            arenaWindow.PostEvent(step.kind == TutorialStepKind::kPause ? kEventPause : kEventUnpause);
            stepping_ = false;
            return true;
        case TutorialStepKind::kSetCameraLookAt: camera.SetPosition(camera.EyeForTarget(step.point)); break;
        case TutorialStepKind::kResetCameraAngle: camera.SetHeading(Vector3(0.0f, 1.0f, 0.0f)); break;
        case TutorialStepKind::kResetCamera:
            camera.SetHeading(Vector3(0.0f, 1.0f, 0.0f));
            camera.SetPosition(camera.EyeForTarget(step.point));
            camera.SetLookAt(step.point);
            camera.SetTarget(step.point);
            break;
        case TutorialStepKind::kSetAmmoCount:
            if (Vorn* edited = GetCountMenuHost() != nullptr ? GetCountMenuHost()->EditedVorn() : nullptr) {
                edited->weapons[0].ammoCount = step.number;
            }
            break;
        case TutorialStepKind::kSetBudget: SetLaunchBudget(step.number); break;
        case TutorialStepKind::kCloseWindow:
            if (step.window != nullptr) {
                GetWindowManager().CloseWindow(step.window);
                step.window->SetNormalColour();
            }
            GetMouse().ShowCursor();
            break;
        case TutorialStepKind::kShowKillTray: killTrayShown = true; break;
        default: break;
    }
    AdvanceStep();
    return true;
}

void TutorialGame::StartStage(TutorialStep& stage) {
    highlightStep_ = lastStage_ = &stage;
    StopProfessor();
    pageIndex_ = 0;
    waitingForContinue = false;
    promptShown = false;
    TextBox* box = TextBox::Instance();
    if (box == nullptr) return;
    WindowManager& manager = GetWindowManager();
    if (stage.pages.IsEmpty()) {
        manager.CloseWindow(box);
        GetToolkitWindows().LayOutWindows();
        return;
    }
    manager.OpenWindow(box);
    manager.SetFocusWindow(box);
    box->waitForContinue = stage.waitsForContinue;
    manager.BringToFront(box);
    Array<StringArray> paragraphs;
    for (const TextPage& page : stage.pages) paragraphs.Append(page.lines);
    box->SetParagraphs(paragraphs);
    // The layout sizes the box for a lesson, below which the other windows fit.
    GetToolkitWindows().LayOutWindows();
    SpeakNextPage();
    if (stage.waitsForContinue) {
        waitingForContinue = true;
        continueCountdown_ = kContinuePromptDelay;
    }
}

void TutorialGame::SetLaunchBudget(int32_t budget) {
    launchBudget = std::max(budget, 0);
    GetSquadWindow().budget = launchBudget;
    GetLaunchWindow().budget = launchBudget;
}

// Units still fighting: the player's own, or everyone else's.
int32_t TutorialGame::CountUnits(bool enemies) const {
    if (gArena == nullptr) return 0;
    int32_t count = 0;
    for (const WorldObject* object : gArena->Objects()) {
        if (object->kind != kKindVorn) continue;
        const auto* unit = static_cast<const Vorn*>(object);
        if (unit->removed || unit->health <= 0.0f || (unit->owner != &local_) != enemies) continue;
        ++count;
    }
    return count;
}

float TutorialGame::HealthOnTheField() const {
    float health = 0.0f;
    if (gArena == nullptr) return health;
    for (const WorldObject* object : gArena->Objects()) {
        if (object->kind != kKindVorn) continue;
        const auto* unit = static_cast<const Vorn*>(object);
        if (!unit->removed && unit->health > 0.0f) health += unit->health;
    }
    return health;
}

// A goal with a time counts the running battle's seconds since a unit was last hurt:
// units that never meet (Vorns see only what is near) would otherwise keep the lesson
// waiting for ever, while a fight, however long, goes on to its end.
void TutorialGame::TimeTheQuietBattle() {
    if (step_ == nullptr || step_->kind != TutorialStepKind::kGoal || step_->seconds <= 0.0f) return;
    if (IsSimulationPaused()) return;
    const float health = HealthOnTheField();
    quietTime_ = health < healthSeen_ ? 0.0f : quietTime_ + frameTime;
    healthSeen_ = health;
}

// Once the player's last unit has fallen, or the goal's time has run out, the goal will
// not be met. The lesson says why (its lost or time-up text, read on with the space bar)
// and the battle is set up again from the scenario it was fought on, so the player tries
// once more instead of waiting for ever.
void TutorialGame::StartTheBattleAgain(TutorialStep* said) {
    SetPaused(true);
    int32_t scenario = stepIndex_;
    while (scenario > 0 && script.steps[scenario]->kind != TutorialStepKind::kScenario) --scenario;
    stepIndex_ = scenario - 1;
    retrying_ = true;
    if (said == nullptr) {
        AdvanceStep();
        return;
    }
    highlightStep_ = nullptr;
    highlighter.Clear();
    elapsed_ = 0.0f;
    step_ = said;
    EnterStep();
}

// --- requirements

void TutorialGame::ClearRequirementsInForce() {
    for (Requirement* requirement : inForce_) delete requirement;
    inForce_.Clear();
}

void TutorialGame::SetRequirementsInForce(const Array<Requirement*>& expected) {
    ClearRequirementsInForce();
    for (const Requirement* record : expected) {
        auto* copy = new Requirement(*record);
        for (String& word : copy->words) word = ReplaceLastNames(word);
        inForce_.Append(copy);
    }
}

String TutorialGame::ReplaceLastNames(const String& word) const {
    if (word.EqualsNoCase("#LastVorn")) return GetVornNameEditBox().lastSavedName;
    if (gArena == nullptr) return word;
    if (word.EqualsNoCase("#LastSquad")) return gArena->squadName;
    if (word.EqualsNoCase("#LastScenario")) return gArena->scenarioName;
    return word;
}

// --- events

void TutorialGame::HandleEvent(Event& event) {
    if (event.type == kEventEscape) {
        finished = true;
        GetModeShell().PopGame();
        StopProfessor();
        waitingForContinue = false;
        if (gArena != nullptr) gArena->effectVolume = 1.0f;
        return;
    }
    const bool leaving =
        event.type == kEventOpenEscapeMenu ||
        (event.type == kEventPickEntry && TargetNamed(event, "LaunchWindow") && event.text == "Exit") ||
        (event.type == kEventExit && TargetNamed(event, "MissionMapWindow"));
    if (leaving) {
        OpenLeaveQuestion();
        return;
    }
    if (step_ == nullptr || Filter(event)) Game::HandleEvent(event);
}

void TutorialGame::OpenLeaveQuestion() {
    ConfirmEscapeMenu& menu = GetConfirmEscapeMenu();
    menu.title = GetLanguageText("LeaveTutorial?");
    GetWindowManager().OpenWindow(&menu);
    GetWindowManager().BringToFront(&menu);
}

bool TutorialGame::IsAlwaysAllowed(const Event& event) const {
    switch (event.type) {
        case kEventSetMouseHighlightObject:
        case kEventContinueErrorBox: return true;
        case kEventPickEntry:
        case kEventAbortMenu: return event.target == &GetConfirmEscapeMenu();
        case kEventPickTrayEntry:
        case kEventGrabTrayEntry: return event.target == &GetControlTray() && event.text == "Exit";
        default: return false;
    }
}

// The mini-map hands each move it was allowed to make on to the battlefield, whose camera
// would otherwise stay put once that move has met the stage and the next stage no longer
// expects camera moves.
bool TutorialGame::Filter(Event& event) {
    const bool owed =
        event.type == kEventSetCameraTargetPosition && event.target == &GetArenaWindow() && miniMapMovesOwed_ > 0;
    if (owed) --miniMapMovesOwed_;
    const bool allowed = owed || Allows(event);
    if (allowed && event.type == kEventSetCameraTargetPosition && event.target == &GetMiniMap()) ++miniMapMovesOwed_;
    return allowed;
}

// A drag on the mini-map that was allowed to begin goes on to its end.
bool TutorialGame::ContinuesAllowedMiniMapDrag(const Event& event) const {
    if (!GetMiniMap().dragging || event.target != &GetMiniMap()) return false;
    return event.type == kEventEndMoveCamera || event.type == kEventSetCameraTargetPosition;
}

bool TutorialGame::Allows(Event& event) {
    if (IsAlwaysAllowed(event)) return true;
    if (Event::Matches(inForce_, event)) {
        const TutorialStepKind kind = step_->kind;
        const bool waits =
            kind == TutorialStepKind::kStage || kind == TutorialStepKind::kPause || kind == TutorialStepKind::kUnpause;
        if (waits && Requirement::AllSatisfied(inForce_)) AdvanceStep();
        return true;
    }
    if (ContinuesAllowedMiniMapDrag(event)) return true;
    switch (event.type) {
        case kEventToggleVornRadar:
        case kEventToggleVornConditionals:
        case kEventToggleVornPatterns:
        case kEventToggleVornHealthGauge:
        case kEventToggleHelp:
        case kEventToggleFrameMeter: return true;
        default:
            RefuseEvent(event);
            ExplainRefusal(event);
            return false;
    }
}

void TutorialGame::RefuseEvent(const Event& event) {
    if (event.type != kEventSetCameraTargetPositionDirect ||
        (event.value != kCameraJumpValue && event.value != kCameraDragValue)) {
        dragTime_ = 0.0f;
        PlayRefusal();
        return;
    }
    if (event.value == kCameraJumpValue) return;
    dragTime_ += frameTime;
    if (dragTime_ <= kDragSoundInterval) return;
    dragTime_ = 0.0f;
    PlayRefusal();
}

// A refused command the script explains: the professor says why, and the words join
// what the text box shows (once in a step, however often the command is tried).
void TutorialGame::ExplainRefusal(const Event& event) {
    TextBox* box = TextBox::Instance();
    if (box == nullptr) return;
    for (const std::unique_ptr<TutorialStep>& note : script.refusalNotes) {
        if (note->pages.IsEmpty() || !Event::Matches(note->expected, event)) continue;
        if (noteShown_ == note.get()) return;
        noteShown_ = note.get();
        StringArray shown;
        if (box->open && !box->paragraphs.IsEmpty()) {
            shown = box->paragraphs;
            shown.Append(String());
        }
        for (const TextPage& page : note->pages) {
            for (const String& line : page.lines) shown.Append(line);
        }
        WindowManager& manager = GetWindowManager();
        noteCountdown_ = kContinuePromptDelay;
        if (!box->open) {
            noteOpenedTheBox_ = true;
            box->waitForContinue = false;
            manager.OpenWindow(box);
        }
        manager.BringToFront(box);
        if (SayPage(note->pages[0]) && gArena != nullptr) gArena->effectVolume = kSpeakingVolume;
        box->paragraphs = shown;
        box->WrapText();
        GetToolkitWindows().LayOutWindows();
        return;
    }
}

// --- speech, highlights and drawing

void TutorialGame::SpeakNextPage() {
    TextBox* box = TextBox::Instance();
    if (lastStage_ == nullptr || box == nullptr || pageIndex_ >= lastStage_->pages.Count()) return;
    const TextPage& page = lastStage_->pages[pageIndex_++];
    if (SayPage(page, true) && gArena != nullptr) gArena->effectVolume = kSpeakingVolume;
}

void TutorialGame::Update() {
    if (!finished) {
        TextBox* box = TextBox::Instance();
        const bool speaking = IsProfessorSpeaking();
        const bool pagesLeft = lastStage_ != nullptr && pageIndex_ < lastStage_->pages.Count();
        if (gArena != nullptr && gArena->effectVolume < 1.0f && !speaking && !pagesLeft) {
            gArena->effectVolume = std::min(1.0f, gArena->effectVolume + frameTime * kVolumeRecovery);
        }
        if (!speaking && pagesLeft) {
            SpeakNextPage();
        } else if (!speaking && waitingForContinue && !promptShown && box != nullptr) {
            continueCountdown_ -= frameTime;
            if (continueCountdown_ <= 0.0f) {
                box->Say(SpeechPath("PressTheSpaceBar"), GetLanguageText("ContinueText"));
                if (gArena != nullptr) gArena->effectVolume = kSpeakingVolume;
                promptShown = true;
            }
        }
        if (noteOpenedTheBox_ && !speaking && box != nullptr) {
            noteCountdown_ -= frameTime;
            if (noteCountdown_ <= 0.0f) {
                noteOpenedTheBox_ = false;
                noteShown_ = nullptr;
                GetWindowManager().CloseWindow(box);
                GetToolkitWindows().LayOutWindows();
            }
        }
        elapsed_ += frameTime;
        TimeTheQuietBattle();
    }
    Game::Update();
}

bool TutorialGame::PostviewInputEvent(const InputEvent& input) {
    if (input.kind == kInputFrameTick) {
        UpdateHighlights();
        return false;
    }
    const bool escape = input.IsKeyDown(win::kKeyEscape);
    if (!escape || GetConfirmEscapeMenu().open || GetMouse().mode != Mouse::kModeNothing) return false;
    Event* event = NewEvent();
    event->type = kEventOpenEscapeMenu;
    PostEvent(event);
    resumePaused = playerPaused;
    return true;
}

void TutorialGame::UpdateHighlights() {
    if (highlightStep_ == nullptr) return;
    highlighter.Clear();
    const StringArray& arguments = highlightStep_->arguments;
    Window* window = highlightStep_->window;
    // A stage naming a window but nothing in it marks nothing.
    if (window != nullptr && !arguments.IsEmpty() && !arguments[0].EqualsNoCase("Off")) {
        HighlightRequest request;
        request.kind = 1;
        for (int i = 0; i < arguments.Count(); ++i) {
            if (i > 0) request.name += " ";
            request.name += ReplaceLastNames(arguments[i]);
        }
        window->GetHighlightShape(request, highlighter);
        for (HighlightMark& mark : highlighter.marks) mark.pulse = kMarkPulse;
    }
    PointProfessorAt(highlighter);
}

void TutorialGame::DrawFrame() {
    DrawWindows();
    DrawGuide();
    Renderer& renderer = GetRenderer();
    renderer.SetLighting(false);
    renderer.SetAlphaBlend();
    SetDepthTest(false);
    GetMouse().Draw();
    highlighter.Draw(elapsed_);
    SetDepthTest(true);
    renderer.SetLighting(true);
}

void TutorialGame::Launch() {
    WindowManager& manager = GetWindowManager();
    manager.CloseAllWindows();
    manager.OpenWindow(&GetArenaWindow());
    manager.OpenWindow(&GetWindowTray());
    manager.OpenWindow(&GetMiniMap());
    Array<Squad*> squads;
    const int32_t count = std::clamp(GetLaunchSquadTray().launchCount, 1, Player::kSquadCount);
    for (int32_t i = 0; i < count; ++i) squads.Append(&local_.squads[i]);
    const StringArray noRoom = PlaceSquadsAtLaunchPoints(squads);
    GetArenaWindow().LookAtUnitsOf(local_);
    local_.ClearSquads();
    manager.NotifyAll();
    ShowSquadMembersLeftOut(StringArray(), noRoom);
    SetPaused(false);
    PlayBattleSound("TransportBackwards.ogg");
}
