#pragma once
// Asks for the name to save the edited unit under; a name another saved unit has asks
// before overwriting. Tutorial scripts read the last name saved through it.
#include <cstdint>

#include "ui/EditBox.h"

class Vorn;

// The unit editor, told when naming a unit cut its patterns to fewer slots: a selected
// slot at or beyond the new count, and the pattern editor showing it, go back to the
// unit's first pattern.
class PatternSlotKeeper {
public:
    virtual void PatternsCut(Vorn& unit, int32_t count) = 0;

protected:
    ~PatternSlotKeeper() = default;
};

class VornNameEditBox : public EditBox {
public:
    VornNameEditBox();

    void OnOpen() override;
    void Accept() override;
    bool IsValidText(const String& proposed) const override;
    void Save();

    String lastSavedName;
    Vorn* unit = nullptr;  // not owned
    String presetName;     // the text to start with, used once
    PatternSlotKeeper* slotKeeper = nullptr;  // set at start-up with the editors
};

VornNameEditBox& GetVornNameEditBox();
