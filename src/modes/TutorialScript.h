#pragma once
// A tutorial script ".TUT": the windows to open, the unit and squad files the lesson
// uses, and its steps. Windows are found by name through the caller; a name no window
// has drops the line (a step that targets it could never be met), with a log line.
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "core/Array.h"
#include "core/String.h"
#include "modes/TutorialStep.h"

class Game;
class Stream;
class Window;

class TutorialScript {
public:
    using WindowFinder = std::function<Window*(const String& name)>;
    // Steps a script may hold; more would come only from a damaged file.
    static constexpr int32_t kMaxSteps = 1000;

    // The game gathers the text pages; the finder names windows.
    TutorialScript(Game& game, WindowFinder findWindow);

    // "Tutorials\<language>\<name>.TUT"; false (logged) when it cannot be opened or
    // holds no step.
    bool Load(const String& language, const String& name);
    void Read(Stream& stream, const String& fileName);
    void Clear();
    // Copies the listed unit and squad files into the tutorial's folders, which are made
    // first; names that are not safe file names are skipped with a log line.
    void CopyFiles() const;

    static String Path(const String& language, const String& name);

    int32_t maxSquadCount = 1;
    bool useBasicUpgrades = true;
    Array<Window*> windows;
    StringArray unitCopies;
    StringArray squadCopies;
    std::vector<std::unique_ptr<TutorialStep>> steps;
    // What the lesson says when the player's units all fell before its goal was met; it
    // is written like a stage ("Lost" ... "End") and is no step of its own. None when the
    // script has no such block.
    std::unique_ptr<TutorialStep> lostStage;
    // The same when the goal's time ran out with no unit hurt ("TimeUp" ... "End").
    std::unique_ptr<TutorialStep> timeUpStage;
    // Why a command is refused ("Refused" ... "End"): written like a stage, whose events
    // name the commands it explains and whose text the lesson shows when one is refused.
    std::vector<std::unique_ptr<TutorialStep>> refusalNotes;

private:
    enum class State { kTop, kWindows, kUnits, kSquads, kStage, kText, kEvents };

    void ReadLine(const StringArray& words);
    void ReadTopLevel(const StringArray& words);
    void ReadStage(const StringArray& words);
    void ReadEvents(const StringArray& words);
    void AddCameraGroup(int32_t requirementState, bool follow);
    void AddRequirement(TutorialStep& step, Window* window, int32_t type, int32_t requirementState,
                        const StringArray& words, int firstWord) const;
    TutorialStep* AddStep(TutorialStepKind kind);
    // Starts a block written like a stage that is no step of its own.
    void StartBlock(std::unique_ptr<TutorialStep>& block);
    Window* FindWindow(const String& name) const;
    bool HasWords(const StringArray& words, int count) const;
    void Log(const String& text) const;

    Game& game_;
    WindowFinder findWindow_;
    String fileName_;
    State state_ = State::kTop;
    bool inComment_ = false;
    TutorialStep* stage_ = nullptr;
    bool stageIsStep_ = true;
};
