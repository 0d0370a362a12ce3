// The saved units a launcher of the edited unit may fire.
#include "battlefield/AmmoTray.h"

#include <algorithm>
#include <iterator>

#include "battlefield/ArenaWindow.h"
#include "battlefield/VornWindow.h"
#include "core/FileHelpers.h"
#include "core/TextTable.h"
#include "engine/Renderer.h"
#include "engine/Sprite.h"
#include "game/Event.h"
#include "ui/UiServices.h"
#include "ui/WindowManager.h"
#include "units/ChassisTable.h"
#include "units/Vorn.h"
#include "world/Arena.h"
#include "world/SaveFilePaths.h"

namespace {
constexpr int32_t kChassisRows = 6;
constexpr int32_t kFamilySize = 3;
}  // namespace

AmmoTray::AmmoTray() : Tray("AmmoTray", 8, 3, Point(20, 20), 2.4f, false, false) { Initialize(); }

void AmmoTray::CreateResources() {
    Tray::CreateResources();
    for (int32_t chassis = 0; chassis < kChassisRows; ++chassis) {
        const ChassisDefinition* row = ChassisTable::Row(chassis);
        chassisSprites_[chassis] =
            CreateUiSprite(48, 48, row != nullptr ? row->buttonImage : String(), Sprite::kAnchorTopLeft);
    }
}

void AmmoTray::ReleaseResources() {
    std::fill(std::begin(chassisSprites_), std::end(chassisSprites_), nullptr);
    Tray::ReleaseResources();
}

void AmmoTray::OnOpen() {
    RebuildSource();
    Tray::OnOpen();
    Refresh();
}

void AmmoTray::OnClose() {
    vorn = nullptr;
    summaries.Clear();
    Tray::OnClose();
}

void AmmoTray::RebuildSource() {
    summaries.Clear();
    if (vorn == nullptr) return;
    const int32_t carrierSize = vorn->SizeClass();
    // Neither an unnamed unit nor a copy left by an older version is one the player saved.
    const String noName = GetLanguageText("NoName");
    const String copyName = GetLanguageText("CopyName");
    for (const String& file : ListFiles(VornFilePath("*"))) {
        String name = file;
        const int dot = name.FindLast(".");
        if (dot > 0) name = name.Left(dot);
        if (name == noName || name == copyName) continue;
        VornSummary summary;
        if (!summary.Load(name) || ChassisTable::SizeClass(summary.chassis) >= carrierSize) continue;
        summary.fileName = name;
        summaries.Append(summary);
    }
}

String AmmoTray::EntryName(int32_t entry) const {
    return entry >= 0 && entry < summaries.Count() ? summaries[entry].fileName : String();
}

String AmmoTray::EntryToolTip(int32_t entry, const IntRect&) const {
    if (entry < 0 || entry >= summaries.Count()) return String();
    const VornSummary& summary = summaries[entry];
    return summary.fileName + " " + GetLanguageText("LeftParen") + GetLanguageText("Dollar") +
           String::FromInt(summary.cost) + GetLanguageText("RightParen");
}

void AmmoTray::DrawEntry(int32_t entry, const IntRect& rect, bool) {
    if (entry < 0 || entry >= summaries.Count()) return;
    int32_t chassis = summaries[entry].chassis;
    if (!ChassisTable::IsValid(chassis)) return;
    // Units of the other side show in the other family's look.
    const bool otherSide = vorn != nullptr && gArena != nullptr && vorn->owner != gArena->placingPlayer;
    if (otherSide) chassis = (chassis + kFamilySize) % kChassisRows;
    Sprite* sprite = chassisSprites_[chassis];
    if (sprite == nullptr) return;
    UseScreenCamera();
    sprite->x = rect.left;
    sprite->y = rect.top;
    sprite->width = rect.right - rect.left;
    sprite->height = rect.bottom - rect.top;
    GetRenderer().SetAlphaBlend();
    GetRenderer().DrawSprite(*sprite);
    GetRenderer().SetBlendOff();
}

void AmmoTray::HandleCommand(Event& event) {
    switch (event.type) {
        case kEventPickTrayEntry: {
            VornWindow& editor = GetVornWindow();
            for (const VornSummary& summary : summaries) {
                if (!summary.fileName.EqualsNoCase(event.text.CStr()) || vorn == nullptr || vorn != editor.vorn)
                    continue;
                editor.SetWeaponAmmo(weaponPlace, summary.fileName);
                weaponPlace = 0;
                vorn->ComputeCost();
                break;
            }
            GetWindowManager().CloseWindow(this);
            editor.Refresh();
            return;
        }
        case kEventGrabTrayEntry:
        case kEventEditTrayEntry:
        case kEventDeleteTrayEntry: return;
        default: Tray::HandleCommand(event);
    }
}

AmmoTray& GetAmmoTray() {
    static AmmoTray tray;
    return tray;
}
