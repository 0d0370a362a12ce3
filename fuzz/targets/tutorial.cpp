// A tutorial script's text, read with two windows the script may name: every step it
// keeps targets a window that exists, and the step count stays within its limit.
#include "core/StringStream.h"
#include "game/Game.h"
#include "harness/FuzzTarget.h"
#include "harness/FuzzWorld.h"
#include "modes/TutorialScript.h"
#include "ui/Window.h"

VORNS_FUZZ_TARGET(data, size) {
    static Window arena("ArenaWindow");
    static Window textBox("TextBox");
    Game game;
    TutorialScript script(game, [](const String& name) -> Window* {
        if (name.EqualsNoCase("ArenaWindow")) return &arena;
        if (name.EqualsNoCase("TextBox")) return &textBox;
        return nullptr;
    });
    StringStream text(fuzz::Text(data, size).c_str());
    script.Read(text, "fuzz.TUT");
    if (static_cast<int32_t>(script.steps.size()) > TutorialScript::kMaxSteps) __builtin_trap();
    for (const auto& step : script.steps) {
        for (const Requirement* requirement : step->expected) {
            if (requirement->target != &arena && requirement->target != &textBox) __builtin_trap();
        }
    }
    return 0;
}
