// Each lesson played through by the events its own stages wait for: for every command a
// stage requires, the command a player would give is posted, and the stage must then be
// satisfied. A requirement whose words no command can carry would hold the lesson forever.
// Once a lesson's battle runs, the text box no longer shows the page that led to it.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>

#include "DataFolder.h"
#include "core/StringStream.h"
#include "game/Event.h"
#include "game/Game.h"
#include "modes/ScriptLines.h"
#include "modes/TutorialScript.h"
#include "support/LogLines.h"
#include "ui/Window.h"
#include "units/Pattern.h"
#include "units/PatternObject.h"

namespace {

int TableIndex(const String& word, const char* const* table, int count) {
    for (int i = 0; i < count; ++i)
        if (word.EqualsNoCase(table[i])) return i;
    return -1;
}

// The command a player gives to satisfy the requirement: its words become the command's
// text and number, a table name its index.
Event Witness(const Requirement& requirement) {
    Event event;
    event.target = requirement.target;
    event.type = requirement.type;
    if (requirement.words.IsEmpty()) return event;
    const String& first = requirement.words[0];
    event.text = first;
    event.value = script_lines::ToInt(first);
    if (const int conditional = TableIndex(first, ConditionalNames, kConditionalCount); conditional >= 0)
        event.value = conditional;
    if (const int kind = TableIndex(first, PatternObjectKindNames, kPatternObjectKindCount); kind >= 0)
        event.value = kind;
    if (requirement.words.Count() > 1) event.value = script_lines::ToInt(requirement.words[1]);
    return event;
}

class LessonRun : public ::testing::Test {
protected:
    Window* Find(const String& name) {
        static const std::set<std::string> known = data_test::NameList("WindowNames.txt");
        if (known.count(name.CStr()) == 0) return nullptr;
        auto& window = windows_[name.CStr()];
        if (!window) window = std::make_unique<Window>(name);
        return window.get();
    }

    // Plays one stage; the number of its requirements left unmet.
    int PlayStage(TutorialStep& stage) {
        Array<Requirement*> inForce;
        for (Requirement* requirement : stage.expected) inForce.Append(requirement);
        Requirement continued;
        if (!stage.pages.IsEmpty() && stage.waitsForContinue) {
            continued.Set(Find("TextBox"), Event::FindType("ContinueTextBox"), Requirement::kRequired);
            inForce.Append(&continued);
        }
        for (Requirement* requirement : inForce)
            if (requirement->state != Requirement::kSatisfied) Event::Matches(inForce, Witness(*requirement));
        int unmet = 0;
        for (Requirement* requirement : inForce) unmet += requirement->state != Requirement::kSatisfied ? 1 : 0;
        return unmet;
    }

    // Whether the stage lets that command through (or cannot be met without it).
    bool Lists(const TutorialStep& stage, const char* window, const char* event, bool required) {
        for (const Requirement* record : stage.expected) {
            if ((!required || record->state == Requirement::kRequired) && record->target == Find(window) &&
                record->type == Event::FindType(event))
                return true;
        }
        return false;
    }

    std::map<std::string, std::unique_ptr<Window>> windows_;
};

TEST_F(LessonRun, EveryLessonReachesItsEndThroughTheCommandsItAsksFor) {
    platform_test::LogLines log;
    const auto titles = data_test::Titles("Tutorials/English", ".TUT");
    ASSERT_GE(titles.size(), 7u) << "a lesson for the battlefield, both editors, squads, upgrades and the network";
    for (const std::string& title : titles) {
        Game game;
        TutorialScript script(game, [this](const String& name) { return Find(name); });
        StringStream text(data_test::ReadWhole(data_test::DataRoot() / "Tutorials/English" / (title + ".TUT")).c_str());
        script.Read(text, title.c_str());
        int stages = 0;
        const TutorialStep* shown = nullptr;  // the stage whose pages the text box holds
        for (const auto& step : script.steps) {
            // While the battle runs, no page asks for what is already done.
            if (step->kind == TutorialStepKind::kGoal) {
                EXPECT_TRUE(shown == nullptr || shown->pages.IsEmpty()) << title << " leaves its page up in battle";
            }
            if (step->kind != TutorialStepKind::kStage) continue;
            shown = step.get();
            ++stages;
            // A pick from the action menu starts aiming the action: met by the pick alone, the
            // stage would refuse the aiming click and leave the editor aiming.
            if (Lists(*step, "ActionMenu", "PickEntry", true)) {
                EXPECT_TRUE(Lists(*step, "PatternWindow", "AddTargetAction", true)) << title << " cuts the aim short";
            }
            // Where a squad is to be dropped may be off screen: the camera must get there.
            if (Lists(*step, "ArenaWindow", "PlaceNewSquad", true)) {
                EXPECT_TRUE(Lists(*step, "ArenaWindow", "SetCameraTargetPosition", false)) << title << " holds the camera";
            }
            EXPECT_EQ(PlayStage(*step), 0) << title << " stays at its stage " << stages;
        }
        EXPECT_GT(stages, 0) << title;
    }
    EXPECT_EQ(log.Text(), "");
}

}  // namespace
