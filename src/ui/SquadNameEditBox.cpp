// Asks for the name to save a squad under.
#include "ui/SquadNameEditBox.h"

#include <span>

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
    // The name offered is the squad dropped or saved last, which need not be the group
    // being saved: only the very members it holds are written over without asking.
    if (FileExists(SquadFilePath(text)) && !Squad::FileHolds(text, Units())) {
        AskToOverwrite(GetConfirmOverwriteSquadMenu());
        return;
    }
    Save();
}

std::span<Vorn* const> SquadNameEditBox::Units() const { return {members.Data(), size_t(members.Count())}; }

void SquadNameEditBox::Save() {
    const Vector3 origin(referencePoint.x, referencePoint.y, 0.0f);
    StringArray leftOut;
    if (gArena == nullptr || !gArena->SaveSquadFile(text, origin, Units(), &leftOut)) {
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
    if (!text.IsEmpty()) ShowRefusal(text);
}
