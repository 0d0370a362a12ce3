// The squad slots of the launch.
#include "battlefield/LaunchSquadTray.h"

#include <algorithm>
#include <iterator>

#include "battlefield/LaunchWindow.h"
#include "battlefield/SquadButton.h"
#include "battlefield/SquadTray.h"
#include "battlefield/UserError.h"
#include "core/TextTable.h"
#include "engine/Mouse.h"
#include "engine/Renderer.h"
#include "engine/Sprite.h"
#include "game/Event.h"
#include "game/Player.h"
#include "game/PlayerRoster.h"
#include "game/Squad.h"
#include "modes/SquadWindow.h"
#include "ui/SquadNameEditBox.h"
#include "ui/UiServices.h"
#include "units/ChassisTable.h"
#include "units/Vorn.h"
#include "world/Arena.h"

namespace {

constexpr const char* kSnapshotName = "__Temp";
const char* const kSlotNames[LaunchSquadTray::kSlotCount] = {"Squad1", "Squad2", "Squad3", "Squad4"};

void SetTrayFrame(Tray& tray, bool shown) {
    tray.frameShown = shown;
    tray.backgroundShown = shown;
}

// The squad of a slot as the launch draws it: its members' chassis and formation
// places, read off the units.
SquadSummary SummaryOf(const Squad& squad) {
    SquadSummary summary;
    for (const Vorn* member : squad.members) {
        summary.AddEntry(member->name, Vector2(member->position.x, member->position.y), member->chassisType,
                         member->cost);
    }
    return summary;
}

}  // namespace

LaunchSquadTray::LaunchSquadTray() : Tray("LaunchSquadTray", kSlotCount, 1, Point(kCell, kCell), 1.2f, true, false) {
    closeButton = false;
    Initialize();
    SetTrayFrame(*this, false);
}

void LaunchSquadTray::CreateResources() {
    Tray::CreateResources();
    circle_ = CreateUiSprite(kCell, kCell, "SquadCircle.tga", Sprite::kAnchorTopLeft);
    highlight_ = CreateUiSprite(kCell, kCell, "Highlight.tga", Sprite::kAnchorTopLeft);
    TintSprite(highlight_, Color(0xFF00FF00));
    for (int32_t chassis = 0; chassis < 6; ++chassis)
        markers_[chassis] = CreateUiSprite(kCell, kCell, MarkerImage(chassis), Sprite::kAnchorTopLeft);
}

// The slots hold the local player's own squads: their members wear the friend marks.
String LaunchSquadTray::MarkerImage(int32_t chassis) {
    if (ChassisTable::Row(chassis) == nullptr) return String();
    return String(ChassisMarkerName(chassis, &GetLocalPlayer())) + ".tga";
}

void LaunchSquadTray::ReleaseResources() {
    circle_ = nullptr;
    highlight_ = nullptr;
    std::fill(std::begin(markers_), std::end(markers_), nullptr);
    Tray::ReleaseResources();
}

Squad& LaunchSquadTray::SquadAt(int32_t slot) { return GetLocalPlayer().squads[std::clamp(slot, 0, kSlotCount - 1)]; }

void LaunchSquadTray::SetMaxSquadCount(int32_t count) {
    launchCount = std::clamp(count, 1, kSlotCount);
    Refresh();
    SetTrayFrame(*this, launchCount > 1);
}

int32_t LaunchSquadTray::TotalCost() const {
    int32_t total = 0;
    for (int32_t i = 0; i < launchCount; ++i) total += SquadAt(i).totalCost;
    return total;
}

int32_t LaunchSquadTray::TotalCostWithoutLargest() const {
    int32_t largest = 0;
    for (int32_t i = 0; i < launchCount; ++i) largest = std::max(largest, SquadAt(i).totalCost);
    return TotalCost() - largest;
}

int32_t LaunchSquadTray::TotalVornCount() const {
    int32_t count = 0;
    for (int32_t i = 0; i < launchCount; ++i) count += SquadAt(i).Count();
    return count;
}

bool LaunchSquadTray::Fits(int32_t cost, int32_t slot) const {
    return cost - SquadAt(slot).totalCost + TotalCost() <= GetLaunchWindow().budget;
}

void LaunchSquadTray::OnOpen() {
    for (int32_t i = 0; i < kSlotCount; ++i) SquadAt(i).DestroyMembers();
    Tray::OnOpen();
    Refresh();
}

bool LaunchSquadTray::IsEntryShown(int32_t entry) const { return launchCount >= 2 && entry < launchCount; }

String LaunchSquadTray::EntryName(int32_t entry) const {
    return entry >= 0 && entry < kSlotCount ? String(kSlotNames[entry]) : String();
}

String LaunchSquadTray::EntryToolTip(int32_t entry, const IntRect&) const { return GetLanguageText(EntryName(entry)); }

void LaunchSquadTray::DrawEntry(int32_t entry, const IntRect& rect, bool) {
    if (entry < 0 || entry >= kSlotCount || circle_ == nullptr) return;
    const IntRect inner(rect.left + 2, rect.top + 2, rect.right - 2, rect.bottom - 2);
    Renderer& renderer = GetRenderer();
    renderer.DisableLighting();
    UseScreenCamera();
    renderer.SetAlphaBlend();
    circle_->x = inner.left;
    circle_->y = inner.top;
    circle_->width = inner.right - inner.left;
    circle_->height = inner.bottom - inner.top;
    renderer.DrawSprite(*circle_);
    if (entry == ShownSquad() && highlight_ != nullptr) {
        highlight_->x = rect.left - 8;
        highlight_->y = rect.top - 8;
        highlight_->width = rect.right - rect.left + 16;
        highlight_->height = rect.bottom - rect.top + 16;
        renderer.DrawSprite(*highlight_);
    }
    DrawSquadButton(SummaryOf(SquadAt(entry)), inner, markers_);
    renderer.SetBlendOff();
}

const SquadSummary* LaunchSquadTray::CarriedSummary() const {
    const String& name = GetMouse().dragText;
    if (name == kSnapshotName) return &carried;
    const SquadTray& tray = GetSquadTray();
    const int32_t index = tray.FindSummary(name);
    return index >= 0 ? &tray.summaries[index] : nullptr;
}

bool LaunchSquadTray::HandleMouse(const InputEvent& input) {
    Mouse& mouse = GetMouse();
    const Point p(input.x, input.y);
    const bool carrying = mouse.mode == SquadTray::kCarrySquad;
    const int32_t slot = EntryAt(p);
    const SquadSummary* squad = carrying ? CarriedSummary() : nullptr;
    if (input.kind == kInputPointerMove) {
        if (squad != nullptr && slot >= 0 && slot < launchCount) {
            if (!Fits(squad->MinMemberCost(), slot)) {
                mouse.drawMarkers = 1;
                mouse.addCoinMarker = 1;
            } else if (!Fits(squad->TotalCost(), slot)) {
                mouse.drawMarkers = 1;
                mouse.addCoinMarker = 1;
                mouse.shiftMarkers = 1;
            }
        }
        Tray::HandleMouse(input);
        return true;
    }
    if (input.IsKeyUp(kInputButtonLeft) && carrying) {
        if (squad != nullptr && slot >= 0 && slot < launchCount) {
            if (!Fits(squad->MinMemberCost(), slot)) {
                ShowUserError("SquadTooExpensive");
            } else if (Event* event = PostEventInt(kEventLoadSquadTray, slot)) {
                event->text = mouse.dragText;
            }
        }
        mouse.ShowCursor();
        return true;
    }
    if (input.IsKeyDown(kInputButtonRight) && slot >= 0 && slot < EntryCount()) PlayUiSound("MouseDown.ogg");
    return Tray::HandleMouse(input);
}

void LaunchSquadTray::GrabSquad(int32_t slot) {
    if (slot < 0 || slot >= launchCount) return;
    if (!SquadAt(slot).Save(kSnapshotName)) {
        ShowUserError("SaveFailed");
        return;
    }
    Mouse& mouse = GetMouse();
    mouse.HideCursor(SquadTray::kCarrySquad, nullptr);
    mouse.dragText = kSnapshotName;
    carried = SquadSummary();
    carried.fileName = kSnapshotName;
    carried.Load(kSnapshotName);
}

void LaunchSquadTray::HandleCommand(Event& event) {
    const int32_t slot = FindEntryByName(event.text);
    switch (event.type) {
        case kEventPickTrayEntry: return;
        case kEventGrabTrayEntry: GrabSquad(slot); return;
        case kEventEditTrayEntry:
            if (slot < 0) return;
            ShowInSquadWindow(slot);
            PlayUiSound("MouseUp.ogg");
            if (gArena != nullptr) gArena->SetSquadName("");
            return;
        case kEventDeleteTrayEntry:
            if (slot < 0) return;
            SquadAt(slot).DestroyMembers();
            Refresh();
            GetSquadWindow().Refresh();
            PlayUiSound("Delete.ogg");
            return;
        case kEventLoadSquadTray: {
            // The slot comes from the event, which a script may post: checked.
            const int32_t target = event.value;
            if (target < 0 || target >= launchCount) {
                PlayUiSound("Illegal.ogg");
                return;
            }
            Squad& squad = SquadAt(target);
            const int32_t limit = GetLaunchWindow().budget + squad.totalCost - TotalCost();
            squad.DestroyMembers();
            squad.Load(event.text, limit);
            ShowInSquadWindow(target);
            ShowSquadMembersLeftOut(squad.leftOut);
            PlayUiSound("Thud.ogg");
            if (gArena != nullptr) {
                const bool hidden = target != 1 && event.text.CharCount() > 0 && event.text.CStr()[0] == '_';
                gArena->SetSquadName(hidden ? String() : event.text);
            }
            Refresh();
            return;
        }
        default: Tray::HandleCommand(event);
    }
}

void LaunchSquadTray::ShowInSquadWindow(int32_t slot) { GetSquadWindow().ShowSquad(&SquadAt(slot)); }

int32_t LaunchSquadTray::ShownSquad() const {
    const Squad* shown = GetSquadWindow().squad;
    for (int32_t i = 0; i < launchCount; ++i) {
        if (shown == &SquadAt(i)) return i;
    }
    return -1;
}

LaunchSquadTray& GetLaunchSquadTray() {
    static LaunchSquadTray tray;
    return tray;
}
