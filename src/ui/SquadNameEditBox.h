#pragma once
// Asks for the name to save a squad of battlefield units under. An existing file is
// written over unasked only under the squad's own name, and only when the save keeps just
// the members the file holds.
#include <span>

#include "core/Array.h"
#include "core/Vector2.h"
#include "core/Vector3.h"
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
    Vector3 Origin() const;
    // Whether the save under the name typed writes the squad's own file with just the
    // members it holds.
    bool RewritesOwnSquad() const;
};

SquadNameEditBox& GetSquadNameEditBox();

// Names in the error box the squad members for which no place was found in the squad's
// circle, and those a drop or a launch found no room for on the field, with "Illegal.ogg";
// nothing for no names. Every drop and launch names its members left out with it, on the
// screen of the player whose squad it is.
void ShowSquadMembersLeftOut(const StringArray& names, const StringArray& noRoom = StringArray());
