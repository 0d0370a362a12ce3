// The tray of saved squad files.
#include "battlefield/SquadTray.h"

#include <algorithm>
#include <cstring>

#include "battlefield/LaunchWindow.h"
#include "battlefield/UserError.h"
#include "battlefield/VornTray.h"
#include "core/Debugger.h"
#include "core/FileHelpers.h"
#include "engine/Mouse.h"
#include "engine/Renderer.h"
#include "engine/Sprite.h"
#include "game/Event.h"
#include "game/Player.h"
#include "game/PlayerRoster.h"
#include "game/Squad.h"
#include "game/SquadButton.h"
#include "platform/sys/FileSystem.h"
#include "ui/ConfirmDeleteSquadMenu.h"
#include "ui/UiServices.h"
#include "ui/WindowManager.h"
#include "units/Vorn.h"
#include "world/SaveFilePaths.h"

namespace {

constexpr int32_t kCell = 24;
constexpr const char* kSnapshotName = "__Temp";

bool HasMember(const SquadSummary& summary, const String& unitName, bool ignoreCase) {
    return std::any_of(summary.entries.begin(), summary.entries.end(), [&](const SquadEntry& entry) {
        return ignoreCase ? entry.name.EqualsNoCase(unitName.CStr()) : entry.name == unitName;
    });
}

// Whether a member that read back costs other than the squad file lists for it.
bool ListsStaleCosts(const SquadSummary& summary, const Squad& squad) {
    return std::any_of(squad.members.begin(), squad.members.end(), [&](const Vorn* member) {
        return std::none_of(summary.entries.begin(), summary.entries.end(), [&](const SquadEntry& entry) {
            return entry.name == member->name && entry.cost == member->cost;
        });
    });
}

void DrawOver(Sprite* sprite, const IntRect& rect) {
    if (sprite == nullptr) return;
    sprite->x = rect.left;
    sprite->y = rect.top;
    sprite->width = rect.right - rect.left;
    sprite->height = rect.bottom - rect.top;
    GetRenderer().DrawSprite(*sprite);
}

}  // namespace

SquadTray::SquadTray() : Tray("SquadTray", 9, 3, Point(kCell, kCell), 2.0f, false, true) { Initialize(); }

void SquadTray::CreateResources() {
    Tray::CreateResources();
    crossSprite_ = CreateUiSprite(kCell, kCell, "X.tga", Sprite::kAnchorTopLeft);
    dollarSprite_ = CreateUiSprite(kCell, kCell, "DollarSign.tga", Sprite::kAnchorTopLeft);
}

void SquadTray::ReleaseResources() {
    crossSprite_ = nullptr;
    dollarSprite_ = nullptr;
    Tray::ReleaseResources();
}

void SquadTray::ListSquadFiles() {
    summaries.Clear();
    const StringArray files = ListFiles(SquadFilePath("x").DirectoryPart() + "*.sqd");
    for (const String& file : files) {
        if (!file.Extension().EqualsNoCase("sqd") || file.FileTitle() == kSnapshotName) continue;
        SquadSummary summary;
        summary.fileName = file.FileTitle();
        summaries.Append(summary);
    }
}

void SquadTray::ReloadSummary(int32_t index) {
    const String squadName = summaries[index].fileName;
    summaries[index] = SquadSummary();
    summaries[index].fileName = squadName;
    summaries[index].Load(squadName);
}

void SquadTray::Reload() {
    ListSquadFiles();
    for (int32_t i = 0; i < summaries.Count(); ++i) ReloadSummary(i);
    std::sort(summaries.begin(), summaries.end(), [](const SquadSummary& a, const SquadSummary& b) {
        return std::strcmp(a.fileName.CStr(), b.fileName.CStr()) < 0;
    });
    listed = true;
}

int32_t SquadTray::FindSummary(const String& squadName) const {
    for (int32_t i = 0; i < summaries.Count(); ++i) {
        if (summaries[i].fileName == squadName) return i;
    }
    return -1;
}

void SquadTray::AddSquadFile(const String& squadName) {
    int32_t index = FindSummary(squadName);
    if (index < 0) {
        SquadSummary summary;
        summary.fileName = squadName;
        summaries.Append(summary);
        index = summaries.Count() - 1;
    }
    ReloadSummary(index);
    Refresh();
}

void SquadTray::DropSummary(int32_t index) {
    const int32_t recentAt = FindRecentEntry(summaries[index].fileName);
    if (recentAt >= 0) recent.RemoveAt(recentAt);
    summaries.RemoveAt(index);
}

void SquadTray::DeleteSquadFile(const String& squadName) {
    const int32_t index = FindSummary(squadName);
    if (index >= 0) DropSummary(index);
    SetScroll(0);
    Refresh();
}

void SquadTray::ResaveSquadsUsing(const String& unitName, const Array<String>& launchers) {
    Squad squad;
    bool saved = true;
    for (int32_t i = 0; i < summaries.Count(); ++i) {
        bool uses = HasMember(summaries[i], unitName, true);
        for (const String& launcher : launchers) uses = uses || HasMember(summaries[i], launcher, true);
        if (!uses) continue;
        if (squad.Load(summaries[i].fileName, -1) && !squad.Save(summaries[i].fileName)) saved = false;
        squad.DestroyMembers();
        ReloadSummary(i);
    }
    if (!saved) ShowUserError("SaveFailed");
    Refresh();
}

void SquadTray::RemoveVornFromSquads(const String& unitName) {
    Squad squad;
    bool saved = true;
    for (int32_t i = summaries.Count() - 1; i >= 0; --i) {
        if (!HasMember(summaries[i], unitName, false)) continue;
        const String squadName = summaries[i].fileName;
        squad.Load(squadName, -1);
        if (squad.Count() > 0) {
            if (!squad.Save(squadName)) saved = false;
            squad.DestroyMembers();
            ReloadSummary(i);
            continue;
        }
        squad.DestroyMembers();
        const String path = GetFullPath(SquadFilePath(squadName));
        if (path.IsEmpty() || !sys::DeleteFile(path.CStr())) {
            Debugger::Instance().Line((String("Could not delete the emptied squad ") + squadName).CStr());
        }
        DropSummary(i);
    }
    if (!saved) ShowUserError("SaveFailed");
    Refresh();
}

void SquadTray::ResaveAllSquads() {
    ListSquadFiles();
    Squad squad;
    for (int32_t i = 0; i < summaries.Count(); ++i) {
        ReloadSummary(i);
        const SquadSummary& summary = summaries[i];
        const bool read = squad.Load(summary.fileName, -1);
        const int32_t listed = summary.entries.Count();
        if (!read) {
            Debugger::Instance().Line((String("Start-up: could not read squad ") + summary.fileName).CStr());
        } else if (squad.Count() == listed) {
            if (squad.totalCost != summary.TotalCost()) squad.Save(summary.fileName);
        } else if (ListsStaleCosts(summary, squad)) {
            // Written back, the squad would lose the members that did not read.
            Debugger::Instance().Line((String("Start-up: squad ") + summary.fileName +
                                       " keeps its old costs: " + String::FromInt(squad.Count()) + " of its " +
                                       String::FromInt(listed) + " members read back")
                                          .CStr());
        }
        squad.DestroyMembers();
    }
    listed = false;
}

void SquadTray::OnOpen() {
    const String player = GetLocalPlayer().name;
    if (!listed || player != listedPlayer) {
        Reload();
        listedPlayer = player;
    }
    SetScroll(0);
    Tray::OnOpen();
    Refresh();
}

bool SquadTray::CheapestMemberFits(int32_t entry) const {
    if (entry < 0 || entry >= summaries.Count()) return false;
    return !LaunchBudgetApplies() || summaries[entry].MinMemberCost() <= RemainingLaunchBudget(true);
}

bool SquadTray::WholeSquadFits(int32_t entry) const {
    if (entry < 0 || entry >= summaries.Count()) return false;
    return !LaunchBudgetApplies() || summaries[entry].TotalCost() <= RemainingLaunchBudget(true);
}

void SquadTray::DrawEntry(int32_t entry, const IntRect& rect, bool) {
    if (entry < 0 || entry >= summaries.Count()) return;
    UseScreenCamera();
    GetRenderer().SetAlphaBlend();
    // The tray lists the local player's own squads.
    DrawSquadButton(GetLocalPlayer(), summaries[entry], rect);
    if (!CheapestMemberFits(entry)) {
        DrawOver(dollarSprite_, rect);
        DrawOver(crossSprite_, rect);
    } else if (!WholeSquadFits(entry)) {
        const IntRect quarter(rect.left, (rect.top + rect.bottom) / 2, (rect.left + rect.right) / 2, rect.bottom);
        DrawOver(dollarSprite_, quarter);
        DrawOver(crossSprite_, quarter);
    }
    GetRenderer().SetBlendOff();
}

String SquadTray::EntryName(int32_t entry) const {
    return entry >= 0 && entry < summaries.Count() ? summaries[entry].fileName : String();
}

bool SquadTray::IsEntryShown(int32_t) const { return nameFilter != kHideAllEntries; }

String SquadTray::EntryToolTip(int32_t entry, const IntRect&) const {
    if (entry < 0 || entry >= summaries.Count()) return String();
    return CostLabel(summaries[entry].fileName, summaries[entry].TotalCost());
}

void SquadTray::HandleCommand(Event& event) {
    const int32_t entry = FindSummary(event.text);
    switch (event.type) {
        case kEventPickTrayEntry:
        case kEventEditTrayEntry: return;
        case kEventGrabTrayEntry: {
            if (!CheapestMemberFits(entry)) return;
            Mouse& mouse = GetMouse();
            mouse.HideCursor(kCarrySquad, nullptr);
            mouse.dragText = summaries[entry].fileName;
            return;
        }
        case kEventDeleteTrayEntry: {
            if (entry < 0) return;
            ConfirmDeleteSquadMenu& menu = GetConfirmDeleteSquadMenu();
            menu.name = summaries[entry].fileName;
            menu.CentreOnScreen();
            GetWindowManager().OpenWindow(&menu);
            GetWindowManager().BringToFront(&menu);
            return;
        }
        default: Tray::HandleCommand(event);
    }
}

SquadTray& GetSquadTray() {
    static SquadTray tray;
    return tray;
}
