// Asks for the name to save a squad under.
#include "ui/SquadNameEditBox.h"

#include <span>
#include <vector>

#include "core/FileHelpers.h"
#include "game/Squad.h"
#include "platform/sys/Paths.h"
#include "ui/ConfirmOverwriteSquadMenu.h"
#include "ui/ErrorBox.h"
#include "ui/UiServices.h"
#include "world/Arena.h"
#include "world/SaveFilePaths.h"

SquadNameEditBox::SquadNameEditBox() : EditBox("SquadNameEditBox", "SquadName?") { Initialize(); }

void SquadNameEditBox::OnOpen() {
    text = gArena != nullptr && !IsTutorialGame() ? gArena->squadName : String();
    EditBox::OnOpen();
}

bool SquadNameEditBox::IsValidText(const String& proposed) const { return sys::IsSafeName(proposed.CStr()); }

void SquadNameEditBox::Accept() {
    if (text.IsEmpty() || !sys::IsSafeName(text.CStr())) return;
    if (FileExists(SquadFilePath(text)) && !RewritesOwnSquad()) {
        AskToOverwrite(GetConfirmOverwriteSquadMenu());
        return;
    }
    Save();
}

bool SquadNameEditBox::RewritesOwnSquad() const {
    // Another squad's file is never written over unasked, even with the same members.
    if (gArena == nullptr || !text.EqualsNoCase(gArena->squadName.CStr())) return false;
    // The name offered is the squad dropped or saved last, which need not be the group
    // being saved. Only the very members the file holds, as the save would write them,
    // are written over unasked: a member the squad's circle has no room for would be lost.
    // Where they stand and face may differ: that is the squad formed again.
    const std::vector<Vorn*> written = gArena->SquadSaveMembers(Origin(), Units());
    return Squad::FileHolds(text, written);
}

Vector3 SquadNameEditBox::Origin() const { return Vector3(referencePoint.x, referencePoint.y, 0.0f); }

std::span<Vorn* const> SquadNameEditBox::Units() const { return {members.Data(), size_t(members.Count())}; }

void SquadNameEditBox::Save() {
    StringArray leftOut;
    if (gArena == nullptr || !gArena->SaveSquadFile(text, Origin(), Units(), &leftOut)) {
        ReportSaveFailed();
        return;
    }
    ShowSquadMembersLeftOut(leftOut);
}

SquadNameEditBox& GetSquadNameEditBox() {
    static SquadNameEditBox box;
    return box;
}

void ShowSquadMembersLeftOut(const StringArray& names, const StringArray& noRoom) {
    String text = Squad::LeftOutText(names);
    const String crowded = Squad::LeftOutText(noRoom, "SquadMembersNoRoom");
    if (!crowded.IsEmpty()) text += (text.IsEmpty() ? String() : String(" ")) + crowded;
    // Members the field had no room for are named above the middle of the screen, where
    // the camera shows the ones placed.
    if (!text.IsEmpty()) ShowRefusal(text, !noRoom.IsEmpty());
}
