#pragma once
// Asks for the name to save the battlefield's scenario under. The game stays paused while
// the box is open; a name that is already taken asks before overwriting.
#include "ui/EditBox.h"

class ScenarioNameEditBox : public EditBox {
public:
    ScenarioNameEditBox();

    void OnOpen() override;
    void Accept() override;
    // Letters and digits only already; the name must also be usable as a file name.
    bool IsValidText(const String& proposed) const override;
    // Saves under the text; the pause from before the box opened comes back.
    void Save();

    bool savedPaused = false;
};

ScenarioNameEditBox& GetScenarioNameEditBox();
