#include "modes/TutorialScript.h"

#include <algorithm>
#include <climits>
#include <string_view>

#include "core/Debugger.h"
#include "core/FileStream.h"
#include "core/Stream.h"
#include "game/Game.h"
#include "modes/ScriptLines.h"
#include "platform/sys/FileSystem.h"
#include "platform/sys/Paths.h"
#include "ui/Window.h"

namespace {

using script_lines::HasWordNoCase;
using script_lines::ToInt;

constexpr const char* kCameraEvents[] = {
    "SetCameraMode", "SetCameraTargetPosition", "SetCameraTargetPositionDirect", "SetCameraView", "SetCameraUp",
    "ZoomCamera"};
constexpr const char* kFollowEvents[] = {"SetCameraFollowVorn",
                                         "SetCameraFollowSoccerBall",
                                         "SetCameraFollowPreviousFriendVorn",
                                         "SetCameraFollowNextFriendVorn",
                                         "SetCameraFollowPreviousEnemyVorn",
                                         "SetCameraFollowNextEnemyVorn",
                                         "SetCameraFollowMostRecentlyDamagedVorn"};

bool IsEnd(const StringArray& words) { return words.Count() == 1 && words[0].EqualsNoCase("End"); }

std::string_view View(const String& s) { return {s.CStr(), static_cast<size_t>(s.CharCount())}; }

}  // namespace

TutorialScript::TutorialScript(Game& game, WindowFinder findWindow) : game_(game), findWindow_(std::move(findWindow)) {}

String TutorialScript::Path(const String& language, const String& name) {
    return "Tutorials\\" + language + "\\" + name + ".TUT";
}

void TutorialScript::Clear() {
    steps.clear();
    windows.Clear();
    unitCopies.Clear();
    squadCopies.Clear();
    lostStage.reset();
    timeUpStage.reset();
    refusalNotes.clear();
    maxSquadCount = 1;
    useBasicUpgrades = true;
    stage_ = nullptr;
}

bool TutorialScript::Load(const String& language, const String& name) {
    Clear();
    const String path = Path(language, name);
    if (!sys::IsSafeName(View(name))) {
        Debugger::Instance().Line((String("Tutorial script name refused: ") + path).CStr());
        return false;
    }
    FileStream file(View(path), "r");
    if (!file.IsOpen()) {
        Debugger::Instance().Line((String("Tutorial script cannot be opened: ") + path).CStr());
        return false;
    }
    Read(file, path);
    if (steps.empty()) {
        Debugger::Instance().Line((String("Tutorial script has no steps: ") + path).CStr());
        return false;
    }
    return true;
}

void TutorialScript::Read(Stream& stream, const String& fileName) {
    Clear();
    fileName_ = fileName;
    state_ = State::kTop;
    inComment_ = false;
    game_.runningLine.Clear();
    script_lines::ForEachLine(stream, [this](const StringArray& words) { ReadLine(words); });
}

void TutorialScript::ReadLine(const StringArray& words) {
    if (words.IsEmpty()) return;
    if (script_lines::SkipComment(words, inComment_)) return;
    switch (state_) {
        case State::kTop: ReadTopLevel(words); break;
        case State::kWindows:
            if (IsEnd(words)) {
                state_ = State::kTop;
            } else if (Window* window = FindWindow(words[0])) {
                windows.Append(window);
                if (words[0].EqualsNoCase("UpgradeWindow")) useBasicUpgrades = false;
            }
            break;
        case State::kUnits:
        case State::kSquads:
            if (IsEnd(words)) {
                state_ = State::kTop;
            } else {
                (state_ == State::kUnits ? unitCopies : squadCopies).Append(words[0]);
            }
            break;
        case State::kStage: ReadStage(words); break;
        case State::kText:
            if (game_.ReadTextBlockLine(words, stage_->pages)) state_ = State::kStage;
            break;
        case State::kEvents: ReadEvents(words); break;
    }
}

TutorialStep* TutorialScript::AddStep(TutorialStepKind kind) {
    if (static_cast<int32_t>(steps.size()) >= kMaxSteps) {
        Log("steps beyond " + String::FromInt(kMaxSteps) + " dropped");
        return nullptr;
    }
    steps.push_back(std::make_unique<TutorialStep>());
    steps.back()->kind = kind;
    return steps.back().get();
}

void TutorialScript::ReadTopLevel(const StringArray& words) {
    const String& key = words[0];
    TutorialStep* step = nullptr;
    if (key.EqualsNoCase("Windows")) {
        state_ = State::kWindows;
    } else if (key.EqualsNoCase("MaxSquadCount")) {
        if (HasWords(words, 2)) maxSquadCount = std::clamp(ToInt(words[1]), 1, 4);
    } else if (key.EqualsNoCase("Vorns")) {
        state_ = State::kUnits;
    } else if (key.EqualsNoCase("Squads")) {
        state_ = State::kSquads;
    } else if (key.EqualsNoCase("Scenario") || key.EqualsNoCase("Budget")) {
        if (!HasWords(words, 2)) return;
        step = AddStep(key.EqualsNoCase("Scenario") ? TutorialStepKind::kScenario : TutorialStepKind::kBudget);
        if (step) step->arguments.Append(words[1]);
        if (step) step->number = std::max(ToInt(words[1]), 0);
    } else if (key.EqualsNoCase("Stage")) {
        stage_ = AddStep(TutorialStepKind::kStage);
        stageIsStep_ = true;
        if (stage_) state_ = State::kStage;
    } else if (key.EqualsNoCase("Lost")) {
        StartBlock(lostStage);
    } else if (key.EqualsNoCase("TimeUp")) {
        StartBlock(timeUpStage);
    } else if (key.EqualsNoCase("Refused")) {
        // As many as steps at most: beyond, each block takes the place of the last.
        if (static_cast<int32_t>(refusalNotes.size()) < kMaxSteps) {
            refusalNotes.emplace_back();
        } else {
            Log("refusal notes beyond " + String::FromInt(kMaxSteps) + " dropped");
        }
        StartBlock(refusalNotes.back());
    } else if (key.EqualsNoCase("Meteors")) {
        if (!HasWords(words, 2)) return;
        game_.meteorsEnabled = 1;
        game_.meteorDelay = words[1].ToFloat();
    } else if (key.EqualsNoCase("Pause") || key.EqualsNoCase("Unpause")) {
        const bool pause = key.EqualsNoCase("Pause");
        Window* arena = FindWindow("ArenaWindow");
        step = arena ? AddStep(pause ? TutorialStepKind::kPause : TutorialStepKind::kUnpause) : nullptr;
        if (step) AddRequirement(*step, arena, pause ? kEventPause : kEventUnpause, Requirement::kRequired, words, 99);
    } else if (key.EqualsNoCase("Goal")) {
        step = AddStep(TutorialStepKind::kGoal);
        if (step && words.Count() > 1 && words[1].EqualsNoCase("KillOne")) step->goalMode = TutorialGoalMode::kKillOne;
        if (step && words.Count() > 1 && words[1].EqualsNoCase("KillAll")) step->goalMode = TutorialGoalMode::kKillAll;
        if (step && words.Count() > 2) step->seconds = std::max(words[2].ToFloat(), 0.0f);
    } else if (key.EqualsNoCase("SetCameraLookAt") || key.EqualsNoCase("ResetCamera")) {
        if (!HasWords(words, 3)) return;
        step = AddStep(key.EqualsNoCase("ResetCamera") ? TutorialStepKind::kResetCamera
                                                       : TutorialStepKind::kSetCameraLookAt);
        if (step) step->point = Vector3(words[1].ToFloat(), words[2].ToFloat(), 0.0f);
    } else if (key.EqualsNoCase("ResetCameraAngle")) {
        AddStep(TutorialStepKind::kResetCameraAngle);
    } else if (key.EqualsNoCase("SetAmmoCount") || key.EqualsNoCase("SetBudget")) {
        if (!HasWords(words, 2)) return;
        step = AddStep(key.EqualsNoCase("SetBudget") ? TutorialStepKind::kSetBudget : TutorialStepKind::kSetAmmoCount);
        if (step) step->number = std::max(ToInt(words[1]), 0);
    } else if (key.EqualsNoCase("CloseWindow")) {
        if (!HasWords(words, 2)) return;
        Window* window = FindWindow(words[1]);
        step = window ? AddStep(TutorialStepKind::kCloseWindow) : nullptr;
        if (step) step->window = window;
    } else if (key.EqualsNoCase("ShowKillTray")) {
        AddStep(TutorialStepKind::kShowKillTray);
    } else {
        Log("unknown keyword \"" + key + "\" ignored");
    }
}

void TutorialScript::ReadStage(const StringArray& words) {
    const String& key = words[0];
    if (key.EqualsNoCase("End")) {
        state_ = State::kTop;
        if (words.Count() < 3) return;
        if (!stageIsStep_) {
            Log("a wait after a block that is no step ignored");
            return;
        }
        const bool highlight = words[1].EqualsNoCase("WaitWithHighlight");
        if (!highlight && !words[1].EqualsNoCase("Wait")) return;
        TutorialStep* wait = AddStep(highlight ? TutorialStepKind::kWaitWithHighlight : TutorialStepKind::kWait);
        if (wait) wait->seconds = std::max(words[2].ToFloat(), 0.0f);
    } else if (key.EqualsNoCase("Highlight")) {
        if (!HasWords(words, 2)) return;
        Window* window = FindWindow(words[1]);
        if (window == nullptr) return;
        stage_->window = window;
        for (int i = 2; i < words.Count(); ++i) stage_->arguments.Append(words[i]);
    } else if (key.EqualsNoCase("TextBox")) {
        stage_->pages.Clear();
        stage_->waitsForContinue = !HasWordNoCase(words, "NoBreak");
        game_.runningLine.Clear();
        state_ = State::kText;
    } else if (key.EqualsNoCase("Events")) {
        state_ = State::kEvents;
    } else {
        Log("unknown stage line \"" + key + "\" ignored");
    }
}

void TutorialScript::ReadEvents(const StringArray& words) {
    if (IsEnd(words)) {
        state_ = State::kStage;
        return;
    }
    int first = 0;
    int32_t requirementState = Requirement::kSatisfied;
    if (words[0].EqualsNoCase("Require")) {
        requirementState = Requirement::kRequired;
        first = 1;
    } else if (words[0].EqualsNoCase("OrRequire")) {
        requirementState = Requirement::kAlternative;
        first = 1;
    }
    if (first >= words.Count()) {
        Log("event line without a window ignored");
        return;
    }
    const String& what = words[first];
    if (what.EqualsNoCase("MoveCamera") || what.EqualsNoCase("MoveCameraNoFollow")) {
        AddCameraGroup(requirementState, what.EqualsNoCase("MoveCamera"));
        return;
    }
    if (first + 1 >= words.Count()) {
        Log("event line \"" + what + "\" without its event ignored");
        return;
    }
    Window* window = FindWindow(what);
    if (window == nullptr) return;
    AddRequirement(*stage_, window, Event::FindType(words[first + 1]), requirementState, words, first + 2);
}

void TutorialScript::AddCameraGroup(int32_t requirementState, bool follow) {
    Window* arena = FindWindow("ArenaWindow");
    Window* miniMap = FindWindow("MiniMap");
    const StringArray none;
    if (arena != nullptr) {
        for (const char* name : kCameraEvents) {
            AddRequirement(*stage_, arena, Event::FindType(name), requirementState, none, 0);
        }
        for (const char* name : kFollowEvents) {
            if (follow) AddRequirement(*stage_, arena, Event::FindType(name), requirementState, none, 0);
        }
    }
    if (miniMap != nullptr) {
        AddRequirement(*stage_, miniMap, Event::FindType("SetCameraTargetPosition"), requirementState, none, 0);
        AddRequirement(*stage_, miniMap, Event::FindType("EndMoveCamera"), requirementState, none, 0);
    }
}

void TutorialScript::AddRequirement(TutorialStep& step, Window* window, int32_t type, int32_t requirementState,
                                    const StringArray& words, int firstWord) const {
    auto* requirement = new Requirement();
    requirement->Set(window, type, requirementState);
    for (int i = firstWord; i < words.Count(); ++i) requirement->words.Append(words[i]);
    step.expected.Append(requirement);
}

void TutorialScript::StartBlock(std::unique_ptr<TutorialStep>& block) {
    block = std::make_unique<TutorialStep>();
    stage_ = block.get();
    stageIsStep_ = false;
    state_ = State::kStage;
}

Window* TutorialScript::FindWindow(const String& name) const {
    Window* window = findWindow_ ? findWindow_(name) : nullptr;
    if (window == nullptr) Log("unknown window \"" + name + "\": the line is dropped");
    return window;
}

bool TutorialScript::HasWords(const StringArray& words, int count) const {
    if (words.Count() >= count) return true;
    Log("\"" + words[0] + "\" without its argument ignored");
    return false;
}

void TutorialScript::Log(const String& text) const { Debugger::Instance().Line((fileName_ + ": " + text).CStr()); }

void TutorialScript::CopyFiles() const {
    for (const char* folder : {"Tutorials", "Tutorials\\Vorns", "Tutorials\\Squads", "Tutorials\\Scenarios"}) {
        sys::MakeDirectory(folder);
    }
    struct List {
        const StringArray& names;
        const char* from;
        const char* to;
        const char* extension;
    };
    for (const List& list : {List{unitCopies, "Vorns\\", "Tutorials\\Vorns\\", ".vrn"},
                             List{squadCopies, "Squads\\", "Tutorials\\Squads\\", ".sqd"}}) {
        for (const String& name : list.names) {
            if (!sys::IsSafeName(View(name))) {
                Log("copy of \"" + name + "\" refused: not a file name");
                continue;
            }
            const String from = list.from + name + list.extension;
            const String to = list.to + name + list.extension;
            if (!sys::CopyFile(View(from), View(to), true)) Log("cannot copy " + from + " to " + to);
        }
    }
}
