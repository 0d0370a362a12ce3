#pragma once
// Asks for the name to save a squad of battlefield units under; a name whose file holds
// other members asks before overwriting.
#include <span>

#include "core/Array.h"
#include "core/Vector2.h"
#include "ui/EditBox.h"

class StringArray;
class Vorn;

class SquadNameEditBox : public EditBox {
public:
    SquadNameEditBox();

    void OnOpen() override;
    void Accept() override;
    bool IsValidText(const String& proposed) const override;
    void Save();

    Vector2 referencePoint;
    Array<Vorn*> members;  // not owned

private:
    std::span<Vorn* const> Units() const;
};

SquadNameEditBox& GetSquadNameEditBox();

// Names in the error box the squad members for which no place was found in the squad's
// circle, and those of a drop that found no room on the field, with "Illegal.ogg";
// nothing for no names.
void ShowSquadMembersLeftOut(const StringArray& names, const StringArray& noRoom = StringArray());
