// The tray of commands on the battlefield selection.
#include "battlefield/SelectionTray.h"

#include <algorithm>
#include <iterator>

#include "battlefield/ArenaWindow.h"
#include "battlefield/UserError.h"
#include "core/TextTable.h"
#include "engine/Renderer.h"
#include "engine/Sprite.h"
#include "game/Event.h"
#include "ui/SquadNameEditBox.h"
#include "ui/UiServices.h"
#include "ui/WindowManager.h"
#include "ui/WindowTray.h"
#include "units/Vorn.h"
#include "world/ObjectKind.h"

namespace {

constexpr int32_t kButtonSize = 32;
constexpr int32_t kGapToWindowTray = 36;
const char* const kNames[SelectionTray::kButtonCount] = {"ToggleVIPStatus", "FormSquad", "SaveSquad",
                                                         "DeleteSelection"};
const char* const kImages[SelectionTray::kButtonCount] = {"VIPButton.tga", "MakeSquadButton.tga", "SaveSquadButton.tga",
                                                          "EraseButton.tga"};
const int32_t kCommands[SelectionTray::kButtonCount] = {kEventToggleVIPStatusSelection, kEventFormSquadSelection,
                                                        kEventSaveSquadSelection, kEventDeleteSelection};

bool SelectionHoldsUnit() {
    for (const WorldObject* object : GetArenaWindow().Selection()) {
        if (object->kind == kKindVorn) return true;
    }
    return false;
}

}  // namespace

SelectionTray::SelectionTray()
    : Tray("SelectionTray", kButtonCount, 1, Point(kButtonSize, kButtonSize), 1.5f, true, false) {
    closeButton = true;
    Initialize();
}

void SelectionTray::CreateResources() {
    Tray::CreateResources();
    for (int32_t i = 0; i < kButtonCount; ++i) {
        buttons_[i] = CreateUiSprite(kButtonSize, kButtonSize, kImages[i], Sprite::kAnchorTopLeft);
    }
}

void SelectionTray::ReleaseResources() {
    std::fill(std::begin(buttons_), std::end(buttons_), nullptr);
    Tray::ReleaseResources();
}

void SelectionTray::OnOpen() {
    Tray::OnOpen();
    // Laid out with every button, so that the tray keeps its place as buttons come and go.
    layingOut_ = true;
    Refresh();
    PlaceLeftOf(GetWindowTray(), kGapToWindowTray);
    layingOut_ = false;
    Refresh();
}

void SelectionTray::OnClose() {
    GetArenaWindow().ClearSelection();
    Tray::OnClose();
}

void SelectionTray::DrawEntry(int32_t entry, const IntRect& rect, bool) {
    if (entry < 0 || entry >= kButtonCount || buttons_[entry] == nullptr) return;
    Sprite& button = *buttons_[entry];
    button.x = rect.left;
    button.y = rect.top;
    button.width = rect.right - rect.left;
    button.height = rect.bottom - rect.top;
    UseScreenCamera();
    GetRenderer().SetAlphaBlend();
    GetRenderer().DrawSprite(button);
    GetRenderer().SetBlendOff();
}

String SelectionTray::EntryName(int32_t entry) const {
    return entry >= 0 && entry < kButtonCount ? String(kNames[entry]) : String();
}

String SelectionTray::EntryToolTip(int32_t entry, const IntRect&) const { return GetLanguageText(EntryName(entry)); }

bool SelectionTray::IsEntryShown(int32_t entry) const {
    if (layingOut_) return true;
    if (entry == 3) return true;
    return entry >= 0 && entry < 3 && SelectionHoldsUnit();
}

void SelectionTray::SaveSquad() {
    ArenaWindow& arena = GetArenaWindow();
    // A lasso that caught nothing leaves the tray open: there is nothing to save.
    if (!SelectionHoldsUnit()) {
        ShowUserError("NothingSelectedToSave");
        return;
    }
    SquadNameEditBox& box = GetSquadNameEditBox();
    box.members.Clear();
    const Vector3 centre = arena.FormSquadSelection();
    ResetVornActionQueues();
    for (WorldObject* object : arena.Selection()) {
        if (object->kind == kKindVorn) box.members.Append(static_cast<Vorn*>(object));
    }
    box.referencePoint = Vector2(centre.x, centre.y);
    GetWindowManager().OpenWindow(&box);
    GetWindowManager().BringToFront(&box);
}

void SelectionTray::HandleCommand(Event& event) {
    ArenaWindow& arena = GetArenaWindow();
    switch (event.type) {
        case kEventPickTrayEntry: {
            const int32_t entry = FindEntryByName(event.text);
            if (entry >= 0 && entry < kButtonCount) PostEvent(kCommands[entry]);
            return;
        }
        case kEventGrabTrayEntry:
        case kEventEditTrayEntry:
        case kEventDeleteTrayEntry: return;
        case kEventToggleVIPStatusSelection:
            arena.ToggleVIPStatusSelection();
            ResetVornActionQueues();
            return;
        case kEventFormSquadSelection:
            arena.FormSquadSelection();
            ResetVornActionQueues();
            return;
        case kEventSaveSquadSelection: SaveSquad(); return;
        case kEventDeleteSelection:
            arena.SetFollowVorn(nullptr);
            PlayUiSound("Delete.ogg");
            arena.DeleteSelection();
            arena.objectRemoved = true;
            GetWindowManager().CloseWindow(this);
            return;
        default: Tray::HandleCommand(event);
    }
}

SelectionTray& GetSelectionTray() {
    static SelectionTray tray;
    return tray;
}
