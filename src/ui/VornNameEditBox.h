#pragma once
// Asks for the name to save the edited unit under; a name another saved unit has asks
// before overwriting. Tutorial scripts read the last name saved through it.
#include "ui/EditBox.h"

class Vorn;

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
};

VornNameEditBox& GetVornNameEditBox();
