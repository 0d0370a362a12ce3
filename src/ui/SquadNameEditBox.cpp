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
    const bool otherName = gArena == nullptr || !text.EqualsNoCase(gArena->squadName.CStr());
    if (otherName && FileExists(SquadFilePath(text))) {
        AskToOverwrite(GetConfirmOverwriteSquadMenu());
        return;
    }
    Save();
}

void SquadNameEditBox::Save() {
    const Vector3 origin(referencePoint.x, referencePoint.y, 0.0f);
    const std::span<Vorn* const> units(members.Data(), size_t(members.Count()));
    StringArray leftOut;
    if (gArena == nullptr || !gArena->SaveSquadFile(text, origin, units, &leftOut)) {
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
