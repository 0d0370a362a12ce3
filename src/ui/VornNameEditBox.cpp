// Asks for the name to save the edited unit under.
#include "ui/VornNameEditBox.h"

#include "core/FileHelpers.h"
#include "game/Player.h"
#include "game/PlayerRoster.h"
#include "platform/sys/Paths.h"
#include "ui/ConfirmOverwriteVornMenu.h"
#include "ui/SavedFileTrays.h"
#include "ui/UiServices.h"
#include "ui/WindowManager.h"
#include "units/Vorn.h"
#include "world/SaveFilePaths.h"

VornNameEditBox::VornNameEditBox() : EditBox("VornNameEditBox", "VornName?") { Initialize(); }

void VornNameEditBox::OnOpen() {
    text = IsTutorialGame() ? String() : presetName;
    presetName.Clear();
    EditBox::OnOpen();
}

bool VornNameEditBox::IsValidText(const String& proposed) const { return sys::IsSafeName(proposed.CStr()); }

void VornNameEditBox::Accept() {
    if (unit == nullptr || text.IsEmpty() || !sys::IsSafeName(text.CStr())) return;
    const Player& player = unit->owner != nullptr ? *unit->owner : GetLocalPlayer();
    const int32_t allowed = player.GetMaxPatternCount(unit->chassisType);
    if (unit->patternCount > allowed) {
        unit->edited = 1;
        unit->PackPatterns();
        unit->SetPatternSlotCount(allowed);
        if (slotKeeper != nullptr) slotKeeper->PatternsCut(*unit, allowed);
        GetWindowManager().NotifyAll();
    }
    if (!text.EqualsNoCase(unit->name.CStr()) && FileExists(VornFilePath(text))) {
        AskToOverwrite(GetConfirmOverwriteVornMenu());
        return;
    }
    Save();
}

void VornNameEditBox::Save() {
    if (unit == nullptr) return;
    lastSavedName = text;
    unit->name = text;
    unit->edited = 0;
    const bool wasSquadMember = unit->squadMember != 0;
    unit->squadMember = 0;
    if (!unit->SaveFile(text)) {
        ReportSaveFailed();
        return;
    }
    SavedFileTrays* trays = GetSavedFileTrays();
    if (trays == nullptr) return;
    const bool listed = trays->ListsVorn(text);
    trays->OnVornSaved(text, wasSquadMember && listed);
}

VornNameEditBox& GetVornNameEditBox() {
    static VornNameEditBox box;
    return box;
}
