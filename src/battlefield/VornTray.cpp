// The tray of saved unit files.
#include "battlefield/VornTray.h"

#include <algorithm>
#include <cmath>

#include "battlefield/ArenaWindow.h"
#include "battlefield/DebugWindow.h"
#include "battlefield/GameKind.h"
#include "battlefield/LaunchWindow.h"
#include "battlefield/UserError.h"
#include "battlefield/VornWindow.h"
#include "core/Debugger.h"
#include "core/FileHelpers.h"
#include "core/TextTable.h"
#include "engine/Font.h"
#include "engine/Mouse.h"
#include "engine/Renderer.h"
#include "engine/Sprite.h"
#include "engine/TextFitting.h"
#include "game/Event.h"
#include "game/Player.h"
#include "game/PlayerRoster.h"
#include "ui/ConfirmDeleteVornMenu.h"
#include "ui/UiServices.h"
#include "ui/WindowManager.h"
#include "units/ChassisTable.h"
#include "units/Vorn.h"
#include "units/WeaponTable.h"
#include "world/Arena.h"
#include "world/SaveFilePaths.h"

namespace {

constexpr int32_t kCell = 24;
// An entry is wide enough for its name under the chassis picture.
constexpr int32_t kCellWidth = 52;
constexpr int32_t kColumns = 8;
// The font's glyphs are drawn three texels to a pixel: a third is its smallest sharp size.
constexpr float kNameScale = 1.0f / 3.0f;
const Color kNameBacking(0xC0000000);
constexpr int32_t kMediumClass = 1;
constexpr int32_t kLargeClass = 2;

bool Launches(const VornSummary& summary, const String& ammoName) {
    for (int place = 0; place < 2; ++place) {
        if (summary.weaponKinds[place] == kWeaponVornLauncher &&
            summary.weaponAmmo[place].EqualsNoCase(ammoName.CStr())) {
            return true;
        }
    }
    return false;
}

String VornFolder() { return VornFilePath("x").DirectoryPart(); }

void DrawSpriteOver(Sprite* sprite, const IntRect& rect) {
    if (sprite == nullptr) return;
    sprite->x = rect.left;
    sprite->y = rect.top;
    sprite->width = rect.right - rect.left;
    sprite->height = rect.bottom - rect.top;
    GetRenderer().DrawSprite(*sprite);
}

}  // namespace

String CostLabel(const String& name, int32_t cost) {
    return name + " " + GetLanguageText("LeftParen") + GetLanguageText("Dollar") + String::FromInt(cost) +
           GetLanguageText("RightParen");
}

VornTray::VornTray() : Tray("VornTray", kColumns, 3, Point(kCellWidth, kCell), 2.0f, false, true) { Initialize(); }

void VornTray::CreateResources() {
    Tray::CreateResources();
    for (int32_t chassis = 0; chassis < 6; ++chassis) {
        const ChassisDefinition* row = ChassisTable::Row(chassis);
        if (row != nullptr && !row->buttonImage.IsEmpty()) {
            chassisButtons_[chassis] = CreateUiSprite(kCell, kCell, row->buttonImage, Sprite::kAnchorTopLeft);
        }
    }
    crossSprite_ = CreateUiSprite(kCell, kCell, "X.tga", Sprite::kAnchorTopLeft);
    dollarSprite_ = CreateUiSprite(kCell, kCell, "DollarSign.tga", Sprite::kAnchorTopLeft);
    backingSprite_ = CreateUiSprite(1, 1, "Cursor.tga", Sprite::kAnchorTopLeft);
    TintSprite(backingSprite_, kNameBacking);
}

void VornTray::ReleaseResources() {
    std::fill(std::begin(chassisButtons_), std::end(chassisButtons_), nullptr);
    crossSprite_ = nullptr;
    dollarSprite_ = nullptr;
    backingSprite_ = nullptr;
    Tray::ReleaseResources();
}

void VornTray::ListVornFiles(const String& folder) {
    const StringArray files = ListFiles(folder + "*.vrn");
    const String noName = GetLanguageText("NoName");
    const String copyName = GetLanguageText("CopyName");
    summaries.Clear();
    for (const String& file : files) {
        if (!file.Extension().EqualsNoCase("vrn")) continue;
        const String title = file.FileTitle();
        if (title == noName || title == copyName) continue;
        VornSummary summary;
        summary.fileName = title;
        summaries.Append(summary);
    }
}

void VornTray::Sort() {
    std::sort(summaries.begin(), summaries.end(), [](const VornSummary& a, const VornSummary& b) {
        return String::CompareNoCase(a.fileName, b.fileName) < 0;
    });
}

Vorn* VornTray::TakeEditedUnit() {
    if (gArena == nullptr) return nullptr;
    // The unit edited before goes back to its pool unless the editor still shows it or
    // it went onto the battlefield; one of an arena made since is not ours to free.
    if (editedUnit_ != nullptr && editedArena_ == gArena && GetVornWindow().vorn != editedUnit_ &&
        gArena->FindObjectIndex(editedUnit_) < 0) {
        editedUnit_->Reset();
        gArena->FreeObject(editedUnit_);
    }
    editedUnit_ = gArena->NewVorn(0);
    editedArena_ = gArena;
    return editedUnit_;
}

void VornTray::ReloadSummary(int32_t index) {
    VornSummary& summary = summaries[index];
    const String name = summary.fileName;
    summary = VornSummary();
    summary.fileName = name;
    if (!summary.Load(name)) {
        // Listed all the same, without a chassis, so that the player can delete it.
        summary.chassis = -1;
        summary.cost = 0;
    }
}

void VornTray::Reload() {
    ListVornFiles(VornFolder());
    Sort();
    for (int32_t i = 0; i < summaries.Count(); ++i) ReloadSummary(i);
    listed = true;
}

int32_t VornTray::FindSummary(const String& fileName) const {
    for (int32_t i = 0; i < summaries.Count(); ++i) {
        if (summaries[i].fileName.EqualsNoCase(fileName.CStr())) return i;
    }
    return -1;
}

void VornTray::FindLaunchersOf(const String& fileName, Array<String>& launchers) const {
    launchers.Clear();
    for (const VornSummary& summary : summaries) {
        if (ChassisTable::SizeClass(summary.chassis) == kMediumClass && Launches(summary, fileName)) {
            launchers.AddUnique(summary.fileName);
        }
    }
    const int32_t mediumCount = launchers.Count();
    for (const VornSummary& summary : summaries) {
        if (ChassisTable::SizeClass(summary.chassis) != kLargeClass) continue;
        bool carries = Launches(summary, fileName);
        for (int32_t i = 0; i < mediumCount && !carries; ++i) carries = Launches(summary, launchers[i]);
        if (carries) launchers.AddUnique(summary.fileName);
    }
}

bool VornTray::ResaveVornFile(const String& fileName) {
    // Patterns come from the arena's pools: the unit is gone before the arena is.
    Vorn scratch;
    // A launcher that will not read is left as it is.
    if (!scratch.LoadFile(fileName)) return true;
    scratch.name = fileName;
    scratch.ComputeCost();
    return scratch.SaveFile(fileName);
}

void VornTray::ResaveLaunchers(const String& fileName) {
    Array<String> launchers;
    FindLaunchersOf(fileName, launchers);
    bool saved = true;
    for (const String& launcher : launchers) {
        saved = ResaveVornFile(launcher) && saved;
        const int32_t at = FindSummary(launcher);
        if (at >= 0) ReloadSummary(at);
    }
    if (!saved) ShowUserError("SaveFailed");
}

void VornTray::AddVornFile(const String& fileName) {
    const int32_t index = FindSummary(fileName);
    if (index < 0) {
        VornSummary summary;
        summary.fileName = fileName;
        summaries.Append(summary);
        ReloadSummary(summaries.Count() - 1);
        Sort();
        Refresh();
        return;
    }
    ReloadSummary(index);
    ResaveLaunchers(fileName);
    Refresh();
}

void VornTray::DeleteVornFile(const String& fileName) {
    const int32_t index = FindSummary(fileName);
    if (index >= 0) summaries.RemoveAt(index);
    ResaveLaunchers(fileName);
    const int32_t recentAt = FindRecentEntry(fileName);
    if (recentAt >= 0) recent.RemoveAt(recentAt);
    SetScroll(0);
    Refresh();
    if (gArena != nullptr) gArena->RemoveVornsNamed(fileName);
}

void VornTray::ResaveAllVorns() {
    ListVornFiles(VornFolder());
    Sort();
    for (int32_t i = 0; i < summaries.Count(); ++i) {
        VornSummary before;
        const bool summaryRead = before.Load(summaries[i].fileName);
        Vorn scratch;
        // A file that does not read whole is never written back in its damaged form.
        if (!scratch.LoadFile(summaries[i].fileName)) {
            Debugger::Instance().Line((String("Start-up: left unread unit ") + summaries[i].fileName).CStr());
            continue;
        }
        scratch.name = summaries[i].fileName;
        scratch.ComputeCost();
        if (summaryRead && before.cost == scratch.cost) continue;
        scratch.SaveFile(summaries[i].fileName);
    }
    listed = false;
}

void VornTray::OnOpen() {
    const String player = GetLocalPlayer().name;
    if (!listed || player != listedPlayer) {
        Reload();
        listedPlayer = player;
    }
    SetScroll(0);
    Tray::OnOpen();
    Refresh();
}

void VornTray::Refresh() {
    Tray::Refresh();
    const Player* team = ArenaWindow::PlacingPlayer();
    for (VornSummary& summary : summaries) {
        const int32_t size = ChassisTable::SizeClass(summary.chassis);
        if (size < 0 || team == nullptr) continue;
        const int32_t choice = team->GetChassisChoice(size);
        if (ChassisTable::IsValid(choice)) summary.chassis = choice;
    }
}

bool VornTray::IsWithinBudget(int32_t entry) const {
    if (entry < 0 || entry >= summaries.Count()) return false;
    if (!LaunchBudgetApplies()) return true;
    return summaries[entry].cost <= RemainingLaunchBudget(false);
}

void VornTray::DrawContents() {
    UpdateShownNames();
    Tray::DrawContents();
}

// A name too long for its entry is cut, with a full stop for its ending so that it is
// not taken for another unit's; names that would read alike keep their ends as well.
void VornTray::UpdateShownNames() {
    bool same = labelledNames_.Count() == summaries.Count();
    for (int32_t i = 0; same && i < summaries.Count(); ++i) same = labelledNames_[i] == summaries[i].fileName;
    if (same) return;
    labelledNames_.Clear();
    for (const VornSummary& summary : summaries) labelledNames_.Append(summary.fileName);
    // A hovered entry grows in width and lettering alike: one shortening serves both.
    const float scale = kNameScale * float(cellSize.y) / float(kCell);
    shownNames_ = WrapTextsApart(labelledNames_, GetFont(), scale, float(cellSize.x), ".");
}

String VornTray::ShownName(int32_t entry) const {
    if (entry < 0 || entry >= summaries.Count()) return String();
    const bool current = entry < shownNames_.Count() && entry < labelledNames_.Count() &&
                         labelledNames_[entry] == summaries[entry].fileName;
    return current ? shownNames_[entry] : summaries[entry].fileName;
}

int32_t VornTray::NameBandHeight(int32_t cellHeight) const {
    const float scale = kNameScale * float(cellHeight) / float(kCell);
    return int32_t(std::ceil(MeasureText("A", scale).y));
}

void VornTray::DrawEntry(int32_t entry, const IntRect& rect, bool) {
    if (entry < 0 || entry >= summaries.Count()) return;
    const int32_t chassis = summaries[entry].chassis;
    const String shown = ShownName(entry);
    // The chassis picture stands square and whole above the name band, in the middle.
    const int32_t bottom = rect.bottom - (shown.IsEmpty() ? 0 : NameBandHeight(rect.bottom - rect.top));
    const int32_t side = bottom - rect.top;
    const int32_t pictureLeft = (rect.left + rect.right - side) / 2;
    const IntRect picture(pictureLeft, rect.top, pictureLeft + side, bottom);
    UseScreenCamera();
    GetRenderer().SetAlphaBlend();
    if (ChassisTable::IsValid(chassis)) DrawSpriteOver(chassisButtons_[chassis], picture);
    if (!IsWithinBudget(entry)) {
        DrawSpriteOver(dollarSprite_, picture);
        DrawSpriteOver(crossSprite_, picture);
    }
    DrawName(shown, rect);
    GetRenderer().SetBlendOff();
}

// Units of one size share their chassis' picture: each entry carries its name along its
// foot, on a dark band so that it reads over any picture.
void VornTray::DrawName(const String& shown, const IntRect& rect) {
    if (shown.IsEmpty()) return;
    const float scale = kNameScale * float(rect.bottom - rect.top) / float(kCell);
    const Vector2 size = MeasureText(shown, scale);
    // Whole pixels keep the glyphs sharp.
    const int32_t x = rect.left + int32_t((float(rect.right - rect.left) - size.x) * 0.5f);
    const int32_t y = rect.bottom - int32_t(std::ceil(size.y));
    DrawSpriteOver(backingSprite_, IntRect(x - 1, y, x + int32_t(std::ceil(size.x)) + 1, rect.bottom));
    DrawUiText(shown, float(x), float(y), Color(0xFFFFFFFF), scale);
}

String VornTray::EntryName(int32_t entry) const {
    return entry >= 0 && entry < summaries.Count() ? summaries[entry].fileName : String();
}

bool VornTray::IsEntryShown(int32_t) const { return nameFilter != kHideAllEntries; }

String VornTray::EntryToolTip(int32_t entry, const IntRect&) const {
    if (entry < 0 || entry >= summaries.Count()) return String();
    return CostLabel(summaries[entry].fileName, summaries[entry].cost);
}

// The hover is cleared after every frame's drawing and set again only on the frame tick,
// which comes after the frame's clicks: the cell is looked up by the entry's name. The one
// under the pointer is taken first, since an entry may stand both in the grid and in the
// row of recent ones; a script's event finds the grid's cell, else the recent one.
IntRect VornTray::EntryCell(const String& entryName) const {
    const Point pointer = GetMouse().position;
    const IntRect* found = nullptr;
    const auto consider = [&](const IntRect& cell) {
        if (found == nullptr || (!found->Contains(pointer) && cell.Contains(pointer))) found = &cell;
    };
    const int32_t cells = std::min(cellRects.Count(), columns * rows);
    for (int32_t i = 0; i < cells; ++i) {
        const int32_t at = scrollPosition + i;
        if (at < shownMap.Count() && shownMap[at] >= 0 && EntryName(shownMap[at]).EqualsNoCase(entryName.CStr()))
            consider(cellRects[i]);
    }
    for (int i = 0; i < recent.Count() && i < recentRects.Count(); ++i) {
        if (recent[i].name.EqualsNoCase(entryName.CStr())) consider(recentRects[i]);
    }
    return found != nullptr ? *found : Rect();
}

void VornTray::HandleCommand(Event& event) {
    const int32_t entry = FindSummary(event.text);
    switch (event.type) {
        case kEventPickTrayEntry: return;
        case kEventGrabTrayEntry: {
            if (!IsWithinBudget(entry)) return;
            Mouse& mouse = GetMouse();
            const int32_t chassis = summaries[entry].chassis;
            mouse.HideCursor(kCarryVorn, ChassisTable::IsValid(chassis) ? chassisButtons_[chassis] : nullptr);
            mouse.dragText = summaries[entry].fileName;
            return;
        }
        case kEventEditTrayEntry: {
            if (entry < 0 || !IsCurrentGame("TrainingGame")) {
                PlayUiSound("Illegal.ogg");
                return;
            }
            Vorn* unit = TakeEditedUnit();
            if (unit == nullptr || !unit->LoadFile(summaries[entry].fileName)) {
                PlayUiSound("Illegal.ogg");
                return;
            }
            unit->name = summaries[entry].fileName;
            unit->SetPlayer(&GetLocalPlayer());
            unit->PrepareForBattle();
            WindowManager& manager = GetWindowManager();
            manager.CloseWindow(&GetDebugWindow());
            if (Window* patterns = manager.FindWindowByName("PatternWindow")) manager.CloseWindow(patterns);
            VornWindow& editor = GetVornWindow();
            editor.vorn = unit;
            manager.OpenWindow(&editor);
            // The editor grows out of the entry it was opened from.
            if (Game* game = CurrentGame()) game->StartBackgroundFade(EntryCell(event.text), editor.Rect());
            return;
        }
        case kEventDeleteTrayEntry: {
            if (entry < 0 || !(IsCurrentGame("TrainingGame") || IsCurrentGame("TutorialGame"))) {
                PlayUiSound("Illegal.ogg");
                return;
            }
            ConfirmDeleteVornMenu& menu = GetConfirmDeleteVornMenu();
            menu.name = summaries[entry].fileName;
            menu.CentreOnScreen();
            GetWindowManager().OpenWindow(&menu);
            GetWindowManager().BringToFront(&menu);
            return;
        }
        default: Tray::HandleCommand(event);
    }
}

VornTray& GetVornTray() {
    static VornTray tray;
    return tray;
}
