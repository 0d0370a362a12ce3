// The trays of saved files, as the toolkit's deletions see them.
#include "ui/SavedFileTrays.h"

#include "core/Debugger.h"
#include "core/FileHelpers.h"
#include "platform/sys/FileSystem.h"
#include "platform/sys/Paths.h"
#include "ui/UiServices.h"

namespace {
SavedFileTrays* gTrays = nullptr;
}

void SetSavedFileTrays(SavedFileTrays* trays) { gTrays = trays; }

SavedFileTrays* GetSavedFileTrays() { return gTrays; }

bool DeleteSavedFile(const String& name, bool listed, const String& path) {
    if (!listed || !sys::IsSafeName(name.CStr())) {
        PlayUiSound("Illegal.ogg");
        return false;
    }
    PlayUiSound("Delete.ogg");
    const String fullPath = GetFullPath(path);
    if (fullPath.IsEmpty() || !sys::DeleteFile(fullPath.CStr())) {
        Debugger::Instance().Line((String("Could not delete ") + path).CStr());
        PlayUiSound("Illegal.ogg");
        return false;
    }
    return true;
}
