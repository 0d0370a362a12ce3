// The unit editor.
#include "battlefield/VornWindow.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iterator>

#include "battlefield/AmmoTray.h"
#include "battlefield/ChassisMenu.h"
#include "battlefield/OwnerPictures.h"
#include "battlefield/PatternWindow.h"
#include "core/TextTable.h"
#include "engine/Font.h"
#include "engine/Mouse.h"
#include "engine/Renderer.h"
#include "engine/ScreenLayout.h"
#include "engine/Sprite.h"
#include "engine/SpriteGrid.h"
#include "engine/TextFitting.h"
#include "game/Event.h"
#include "game/Game.h"
#include "game/Player.h"
#include "game/PlayerRoster.h"
#include "ui/ErrorBox.h"
#include "ui/Highlighter.h"
#include "ui/ToolTip.h"
#include "ui/UiServices.h"
#include "ui/VornNameEditBox.h"
#include "ui/WeaponMenu.h"
#include "ui/WindowManager.h"
#include "units/ChassisTable.h"
#include "units/Pattern.h"
#include "units/Vorn.h"
#include "units/WeaponTable.h"

namespace {
constexpr float kMarkPulse = 1.6f;
constexpr int32_t kSlotsPerRow = 8;
constexpr int32_t kFrameGrowth = 12;
constexpr float kAmmoTextScale = 0.75f;
constexpr Color kSlotBackground = Color(0xFF000000);
constexpr Color kFrameColour = Color(0xFFFF0000);
constexpr int32_t kSmallScreenHeight = 768;
// The name and the cost line stand in the band between these rows and the pattern slots
// start below it.
constexpr int32_t kTextTop = 0;
constexpr int32_t kSlotsTop = 48;

void OpenInFront(Window& window) {
    WindowManager& windows = GetWindowManager();
    windows.OpenWindow(&window);
    windows.BringToFront(&window);
}

SpriteGrid* FreeGrid() {
    SpriteGrid* grid = GetRenderer().CreateSpriteGrid();
    grid->SetLayoutMode(SpriteGrid::kLayoutFree);
    return grid;
}

void PlaceSprite(Sprite* sprite, const Point& centre) {
    if (sprite == nullptr) return;
    sprite->x = centre.x;
    sprite->y = centre.y;
}

// The chassis the owner chose for a size class, or the row of that class in the robot
// family when none is chosen.
int32_t ChosenChassis(const Player* owner, int32_t sizeClass) {
    const int32_t choice = owner != nullptr ? owner->GetChassisChoice(sizeClass) : -1;
    return ChassisTable::IsValid(choice) ? choice : sizeClass;
}

String ChassisImage(int32_t chassis) {
    const ChassisDefinition* row = ChassisTable::Row(chassis);
    return row != nullptr ? row->buttonImage : String();
}
}  // namespace

VornWindow::VornWindow() : Window("VornWindow") {
    closeButton = true;
    backgroundShown = true;
    Initialize();
}

int32_t VornWindow::PatternLimit(int32_t chassis) { return GetLocalPlayer().GetMaxPatternCount(chassis); }

void VornWindow::CreateResources() {
    frameSprite_ = CreateUiSprite(50, 50, "MenuHighlight.tga", Sprite::kAnchorTopLeft);
    TintSprite(frameSprite_, kFrameColour);
    infinitySprite_ = CreateUiSprite(20, 20, "Infinity.tga", Sprite::kAnchorTopLeft);
    for (int32_t size = 0; size < 3; ++size) shownChassis_[size] = size;
    saveGrid_ = FreeGrid();
    saveGrid_->AddItem(CreateUiSprite(32, 32, "SaveVornButton.tga", Sprite::kAnchorCentre), "SaveVorn", true);
    slotGrid_ = FreeGrid();
    for (int32_t i = 0; i < kSlotCount; ++i) {
        slotGrid_->AddItem(CreateUiSprite(kSlotSize, kSlotSize, "Black.tga", Sprite::kAnchorCentre), "Pattern", true);
    }
    for (int32_t b = 0; b < kButtonCount; ++b) buttons_[b] = FreeGrid();
    for (int32_t kind = 0; kind < kWeaponKindCount; ++kind) {
        for (int32_t b : {kWeapon1, kWeapon2}) {
            buttons_[b]->AddItem(
                CreateUiSprite(kButtonSize, kButtonSize, WeaponButtonImage(kind), Sprite::kAnchorCentre),
                WeaponKindName(kind), false);
        }
    }
    for (int32_t b : {kAmmo1, kAmmo2}) {
        buttons_[b]->AddItem(CreateUiSprite(kButtonSize, kButtonSize, "NoAmmo.tga", Sprite::kAnchorCentre), "NoAmmo",
                             false);
    }
    for (int32_t size = 0; size < 3; ++size) {
        for (int32_t b : {kChassis, kAmmo1, kAmmo2}) {
            buttons_[b]->AddItem(CreateUiSprite(kButtonSize, kButtonSize, ChassisImage(size), Sprite::kAnchorCentre),
                                 "Chassis", false);
        }
    }
}

void VornWindow::ReleaseResources() {
    frameSprite_ = nullptr;
    infinitySprite_ = nullptr;
    saveGrid_ = nullptr;
    slotGrid_ = nullptr;
    std::fill(std::begin(buttons_), std::end(buttons_), nullptr);
    Window::ReleaseResources();
}

void VornWindow::OnOpen() {
    EnsureResources();
    if (vorn != nullptr) {
        // The chassis buttons show the owner's own choice of each size class.
        for (int32_t size = 0; size < 3; ++size) {
            const int32_t chosen = ChosenChassis(vorn->owner, size);
            if (chosen == shownChassis_[size]) continue;
            shownChassis_[size] = chosen;
            const String image = ChassisImage(chosen);
            for (int32_t b : {kChassis, kAmmo1, kAmmo2}) {
                const int32_t item = b == kChassis ? size : 1 + size;
                buttons_[b]->SetItemSprite(item,
                                           CreateUiSprite(kButtonSize, kButtonSize, image, Sprite::kAnchorCentre));
            }
        }
        if (vorn->owner != nullptr) PaintVornEditorPictures(*vorn->owner);
        GetPatternWindow().SetEditMode(vorn->owner == &GetLocalPlayer());
    }
    selectedSlot = 0;
    Resize(Point(kWidth, kHeight));
    Refresh();
}

void VornWindow::OnClose() {
    WindowManager& windows = GetWindowManager();
    PatternWindow& editor = GetPatternWindow();
    windows.CloseWindow(&editor);
    editor.SetVornPattern(nullptr, nullptr);
    windows.CloseWindow(&GetChassisMenu());
    windows.CloseWindow(&GetConfirmChangeVornChassisMenu());
    windows.CloseWindow(&GetWeaponMenu());
    windows.CloseWindow(&GetAmmoTray());
    windows.CloseWindow(&GetVornNameEditBox());
    GetMouse().ShowCursor();
}

int32_t VornWindow::ShownSlotCount() const {
    return vorn != nullptr ? std::clamp(vorn->patternCount, 0, kSlotCount) : 0;
}

IntRect VornWindow::SlotRect(int32_t slot) const {
    const int32_t x = left + 52 + kSlotPitch * (slot % kSlotsPerRow);
    const int32_t y = top + kSlotsTop + kSlotPitch * (slot / kSlotsPerRow);
    return IntRect(x, y, x + kSlotSize, y + kSlotSize);
}

int32_t VornWindow::SlotAt(const Point& point) const {
    const int32_t shown = ShownSlotCount();
    for (int32_t i = 0; i < shown; ++i) {
        if (SlotRect(i).Contains(point)) return i;
    }
    return -1;
}

Point VornWindow::ButtonCentre(int32_t button) const {
    switch (button) {
        case kChassis: return Point(left + 24, top + 24);
        case kWeapon1: return Point(left + 25, top + 73);
        case kWeapon2: return Point(right - 25, top + 73);
        case kAmmo1: return Point(left + 25, top + 123);
        default: return Point(right - 25, top + 123);
    }
}

void VornWindow::LayoutButtons() {
    for (int32_t b = 0; b < kButtonCount; ++b) {
        SpriteGrid& grid = *buttons_[b];
        for (int32_t i = 0; i < grid.Count(); ++i) {
            PlaceSprite(grid.sprites[i], ButtonCentre(b));
            grid.SetItemVisible(i, false);
        }
    }
    buttons_[kChassis]->SetItemVisible(vorn->SizeClass(), true);
    for (int32_t place = 0; place < Vorn::kWeaponPlaces; ++place) {
        const Weapon& weapon = vorn->weapons[place];
        const bool used = place < vorn->weaponPlaceCount;
        buttons_[kWeapon1 + place]->SetItemVisible(weapon.kind, used);
        if (!used || weapon.kind != kWeaponVornLauncher) continue;
        const bool none = weapon.ammoName == Weapon::NoAmmoText() || !weapon.HasAmmoName();
        buttons_[kAmmo1 + place]->SetItemVisible(none ? 0 : 1 + std::clamp(weapon.ammoSize, 0, 2), true);
    }
}

void VornWindow::Refresh() {
    if (vorn == nullptr || slotGrid_ == nullptr) return;
    const int32_t shown = ShownSlotCount();
    for (int32_t i = 0; i < kSlotCount; ++i) {
        PlaceSprite(slotGrid_->sprites[i], SlotRect(i).GetCenter());
        slotGrid_->SetItemVisible(i, i < shown);
    }
    PlaceSprite(saveGrid_->sprites[0], Point(right - 16, top + 16));
    LayoutButtons();
    dirty = true;
}

void VornWindow::MarkEdited(bool cost) {
    vorn->edited = 1;
    if (cost) vorn->costEdited = 1;
}

int32_t VornWindow::ButtonAt(const Point& point) const {
    for (int32_t b = 0; b < kButtonCount; ++b) {
        if (buttons_[b] != nullptr && buttons_[b]->FindItemAt(point) >= 0) return b;
    }
    return -1;
}

bool VornWindow::HandleMouse(const InputEvent& input) {
    if (vorn == nullptr || slotGrid_ == nullptr) return Window::HandleMouse(input);
    const Point p(input.x, input.y);
    const bool leftPress = input.kind == kInputDown && input.code == kInputButtonLeft;
    const bool rightPress = input.kind == kInputDown && input.code == kInputButtonRight;
    const bool leftRelease = input.kind == kInputUp && input.code == kInputButtonLeft;
    const bool rightRelease = input.kind == kInputUp && input.code == kInputButtonRight;
    if (input.IsKeyDown(Mouse::kCodeDelete)) {
        if (buttons_[kAmmo1]->FindItemAt(p) >= 0) return PostEvent(kEventDeleteAmmo), true;
        if (buttons_[kAmmo2]->FindItemAt(p) >= 0) return PostEvent(kEventDeleteSecondAmmo), true;
        if (const int32_t slot = SlotAt(p); slot >= 0) return PostEventInt(kEventDeletePattern, slot), true;
    }
    Mouse& mouse = GetMouse();
    if (leftRelease && mouse.mode == Mouse::kModePattern) {
        const int32_t target = SlotAt(p);
        if (target >= 0) {
            if (Event* event = PostEvent(kEventCopyPattern)) event->point = Point(mouse.dragIndex, target);
            PlaySound("MouseUp.ogg");
        }
        mouse.dragIndex = -1;
        mouse.ShowCursor();
        GetWindowManager().RemoveFromFocusOrder(this);
        return true;
    }
    if ((leftPress || rightPress) && pressedButton_ < 0) {
        const int32_t button = ButtonAt(p);
        if (button >= 0) {
            pressedButton_ = button;
            GetWindowManager().BringToFront(this);
            PlaySound("MouseDown.ogg");
            return true;
        }
    }
    if ((leftRelease || rightRelease) && pressedButton_ >= 0) {
        const int32_t button = pressedButton_;
        pressedButton_ = -1;
        GetWindowManager().RemoveFromFocusOrder(this);
        if (ButtonAt(p) != button) return true;
        switch (button) {
            case kChassis: PostEvent(kEventSelectChassis); break;
            case kWeapon1:
            case kWeapon2: PostEventInt(kEventSelectWeapon, button - kWeapon1); break;
            default: PostEventInt(kEventSelectAmmo, button - kAmmo1); break;
        }
        PlaySound("MouseUp.ogg");
        return true;
    }
    if (leftPress) {
        if (const int32_t slot = SlotAt(p); slot >= 0) {
            PostEventInt(kEventSelectPattern, slot);
            PlaySound("MouseDown.ogg");
            return true;
        }
        if (saveGrid_->FindItemAt(p) >= 0) {
            savePressed_ = true;
            PlaySound("MouseDown.ogg");
            return true;
        }
    }
    if (leftRelease && savePressed_) {
        savePressed_ = false;
        if (saveGrid_->FindItemAt(p) >= 0) {
            PostEventPoint(kEventSaveVorn, p);
            PlaySound("MouseUp.ogg");
        }
        return true;
    }
    if (rightPress && SlotAt(p) >= 0) {
        rightPressedSlot_ = SlotAt(p);
        PlaySound("MouseDown.ogg");
        return true;
    }
    if (rightRelease && rightPressedSlot_ >= 0) {
        const int32_t pressed = rightPressedSlot_;
        rightPressedSlot_ = -1;
        if (SlotAt(p) == pressed) {
            PostEventInt(kEventOpenPattern, pressed);
            PlaySound("MouseUp.ogg");
        }
        return true;
    }
    if (Window::HandleMouse(input)) return true;
    return IsCameraInput(input, mouse);
}

void VornWindow::HandleCommand(Event& event) {
    if (vorn == nullptr) {
        Window::HandleCommand(event);
        return;
    }
    // Slots, weapon places and pattern pairs come from scripts as well as the pointer.
    const auto refuse = [] { PlayUiSound("Illegal.ogg"); };
    switch (event.type) {
        case kEventSaveVorn: {
            VornNameEditBox& box = GetVornNameEditBox();
            box.unit = vorn;
            box.presetName = vorn->name == GetLanguageText("NoName") ? String() : vorn->name;
            box.MoveTo(event.point);
            if (vorn->CountEnabledPatterns() > PatternLimit(vorn->chassisType)) {
                ErrorBox& errors = GetErrorBox();
                errors.nextWindow = &box;
                errors.bringNextToFront = true;
                ShowEditorError("TooManyPatterns");
                return;
            }
            OpenInFront(box);
            return;
        }
        case kEventOpenPattern:
            if (!IsValidSlot(event.value)) return refuse();
            OpenPattern(event.value);
            return;
        case kEventSelectPattern:
            if (!IsValidSlot(event.value)) return refuse();
            GetMouse().dragIndex = event.value;
            GetMouse().HideCursor(Mouse::kModePattern, nullptr);
            // The release may come anywhere; it ends the drag all the same.
            GetWindowManager().BringToFront(this);
            return;
        case kEventCopyPattern: {
            const int32_t from = event.point.x;
            const int32_t to = event.point.y;
            if (!IsValidSlot(from) || !IsValidSlot(to)) return refuse();
            MarkEdited(false);
            if (from != to) vorn->PatternAt(to) = vorn->PatternAt(from);
            if (GetPatternWindow().open) ShowPatternBelow(to, 26);
            selectedSlot = to;
            return;
        }
        case kEventDeletePattern: {
            if (!IsValidSlot(event.value)) return refuse();
            PlayUiSound("Delete.ogg");
            MarkEdited(false);
            Pattern& cleared = vorn->PatternAt(event.value);
            cleared.Reset();
            if (vorn->currentPattern == &cleared) vorn->currentPattern = nullptr;
            if (GetPatternWindow().pattern == &cleared) GetPatternWindow().SetVornPattern(vorn, &cleared);
            return;
        }
        case kEventSelectAmmo: {
            if (event.value < 0 || event.value >= vorn->weaponPlaceCount) return refuse();
            MarkEdited(true);
            AmmoTray& tray = GetAmmoTray();
            tray.weaponPlace = event.value;
            tray.vorn = vorn;
            tray.MoveTo(ButtonCentre(kAmmo1 + event.value));
            OpenInFront(tray);
            return;
        }
        case kEventDeleteAmmo:
        case kEventDeleteSecondAmmo: {
            const int32_t place = event.type == kEventDeleteAmmo ? 0 : 1;
            PlayUiSound("Delete.ogg");
            MarkEdited(true);
            SetWeaponAmmo(place, Weapon::NoAmmoText());
            Refresh();
            return;
        }
        case kEventSelectWeapon: {
            if (event.value < 0 || event.value >= vorn->weaponPlaceCount) return refuse();
            MarkEdited(true);
            WeaponMenu& menu = GetWeaponMenu();
            menu.unit = vorn;
            menu.weaponPlace = event.value;
            menu.opener = this;
            menu.MoveTo(ButtonCentre(kWeapon1 + event.value));
            OpenInFront(menu);
            return;
        }
        case kEventSelectChassis: {
            MarkEdited(true);
            ChassisMenu& menu = GetChassisMenu();
            menu.unit = vorn;
            menu.MoveTo(ButtonCentre(kChassis));
            OpenInFront(menu);
            return;
        }
        default: Window::HandleCommand(event);
    }
}

void VornWindow::OpenPattern(int32_t slot) {
    const Window* text = GetWindowManager().FindWindowByName("TextBox");
    const bool textShown = text != nullptr && text->open && UiScreenRect().bottom + 1 <= kSmallScreenHeight;
    ShowPatternBelow(slot, textShown ? 25 : 26);
}

void VornWindow::ShowPatternBelow(int32_t slot, int32_t gap) {
    PatternWindow& editor = GetPatternWindow();
    WindowManager& windows = GetWindowManager();
    windows.OpenWindow(&editor);
    editor.PlaceBelow(*this, gap);
    editor.SetVornPattern(vorn, &vorn->PatternAt(slot));
    selectedSlot = slot;
    Refresh();
    if (Game* game = CurrentGame()) game->StartBackgroundFade(SlotRect(slot), editor.Rect());
}

void VornWindow::SetWeaponAmmo(int32_t place, const String& ammoName) {
    if (vorn == nullptr || place < 0 || place >= Vorn::kWeaponPlaces) return;
    Weapon& weapon = vorn->weapons[place];
    weapon.ReleaseLoadedUnits();
    weapon.SetAmmo(ammoName);
    weapon.Rearm(vorn);
    if (weapon.showsLaserModel != 0) {
        vorn->SetWeaponModel(place, weapon.kind);
        weapon.showsLaserModel = 0;
    }
    vorn->ComputeCost();
}

void VornWindow::ChangeVornChassis(Vorn* unit, int32_t chassis) {
    // The unit may have left the editor since the question was asked.
    if (unit == nullptr || unit != vorn || !ChassisTable::IsValid(chassis)) return;
    const int32_t limit = PatternLimit(chassis);
    if (limit < unit->patternCount) unit->PackPatterns();
    unit->BuildBody(chassis);
    unit->ApplyPatternSlots();
    const int32_t size = ChassisTable::SizeClass(chassis);
    if (size == 0) {
        unit->RemoveWeapon2Actions();
        unit->ClearWeapon2Conditionals();
        for (int32_t place = 0; place < Vorn::kWeaponPlaces; ++place) {
            if (unit->weapons[place].kind == kWeaponVornLauncher) unit->weapons[place].ReleaseLoadedUnits();
        }
        unit->ReplaceLaunchersWithLasers();
        unit->ComputeCost();
    } else if (size == 1) {
        unit->ClearMediumAmmoFromLaunchers();
    }
    unit->PlaceAt(unit->position);
    PatternWindow& editor = GetPatternWindow();
    if (selectedSlot >= unit->patternCount) {
        selectedSlot = 0;
        if (editor.open) editor.SetVornPattern(unit, &unit->PatternAt(0));
    }
    if (editor.pattern != nullptr && editor.vorn == unit) editor.SetVornPattern(unit, editor.pattern);
    Refresh();
}

void VornWindow::HitTestControls(const Point& point) {
    if (saveGrid_ != nullptr) {
        saveGrid_->UpdateHover(point);
        slotGrid_->UpdateHover(point);
        for (SpriteGrid* grid : buttons_) grid->UpdateHover(point);
    }
    Window::HitTestControls(point);
}

// A font whose two lines are taller than the band above the slots is drawn smaller
// there, so that the cost is never hidden behind the slots.
float VornWindow::TextScale() {
    const float line = FontLineHeight();
    if (line <= 0.0f) return 1.0f;
    // In quarter steps, the scales the rest of the interface draws text at.
    const float fits = float(kSlotsTop - kTextTop) / (2.0f * line);
    return std::clamp(std::floor(fits * 4.0f) / 4.0f, 0.25f, 1.0f);
}

std::vector<SpriteGrid*> VornWindow::ButtonGrids() const {
    if (saveGrid_ == nullptr) return {};
    std::vector<SpriteGrid*> grids{saveGrid_, slotGrid_};
    grids.insert(grids.end(), std::begin(buttons_), std::end(buttons_));
    return grids;
}

IntRect VornWindow::NameRect() const {
    const int32_t line = int32_t(FontLineHeight() * TextScale());
    return IntRect(left + 52, top + kTextTop, right - 32, top + kTextTop + line);
}

IntRect VornWindow::CostRect() const {
    const IntRect name = NameRect();
    return IntRect(name.left, name.bottom, name.right, name.bottom + (name.bottom - name.top));
}

String VornWindow::CostText() const {
    return GetLanguageText("Cost") + " " + GetLanguageText("AltSeparator") + " " + GetLanguageText("Dollar") +
           String::FromInt(vorn != nullptr ? vorn->cost : 0);
}

void VornWindow::DrawContents() {
    if (vorn == nullptr || slotGrid_ == nullptr) return;
    Renderer& renderer = GetRenderer();
    UseScreenCamera();
    renderer.SetAlphaBlend();
    SetDepthTest(false);
    const float scale = TextScale();
    const IntRect name = NameRect();
    const float width = float(name.right - name.left);
    DrawUiText(WrapText(vorn->name, GetFont(), scale, width), float(name.left), float(name.top), Color(0xFFFFFFFF),
               scale);
    const IntRect cost = CostRect();
    DrawUiText(WrapText(CostText(), GetFont(), scale, width), float(cost.left), float(cost.top), Color(0xFFFFFFFF),
               scale);
    renderer.SetBlendOff();
    const int32_t shown = ShownSlotCount();
    for (int32_t i = 0; i < shown; ++i) {
        if (i != selectedSlot) thumbnail_.Draw(vorn->PatternAt(i), SlotRect(i), kSlotBackground);
    }
    if (IsValidSlot(selectedSlot)) {
        const IntRect slot = SlotRect(selectedSlot);
        thumbnail_.Draw(vorn->PatternAt(selectedSlot), slot, kSlotBackground);
        renderer.SetAlphaBlend();
        SetDepthTest(false);
        frameSprite_->x = slot.left - kFrameGrowth;
        frameSprite_->y = slot.top - kFrameGrowth;
        frameSprite_->width = slot.right - slot.left + 2 * kFrameGrowth;
        frameSprite_->height = slot.bottom - slot.top + 2 * kFrameGrowth;
        renderer.DrawSprite(*frameSprite_);
    }
    renderer.SetAlphaBlend();
    SetDepthTest(false);
    renderer.DrawSpriteGrid(*saveGrid_, true);
    for (SpriteGrid* grid : buttons_) renderer.DrawSpriteGrid(*grid, true);
    for (int32_t place = 0; place < vorn->weaponPlaceCount; ++place) DrawAmmoCount(place);
    renderer.SetBlendOff();
    SetDepthTest(true);
}

void VornWindow::DrawAmmoCount(int32_t place) {
    const Weapon& weapon = vorn->weapons[place];
    const Point centre = ButtonCentre(kWeapon1 + place);
    const int32_t cornerX = centre.x + kButtonSize / 2;
    const int32_t cornerY = centre.y + kButtonSize / 2;
    switch (weapon.kind) {
        case kWeaponLaser:
        case kWeaponBeaconSetter:
        case kWeaponKicker:
            infinitySprite_->x = cornerX - infinitySprite_->width;
            infinitySprite_->y = cornerY - infinitySprite_->height;
            GetRenderer().DrawSprite(*infinitySprite_);
            return;
        case kWeaponExplosive: return;
        default: {
            const String count = String::FromInt(weapon.AmmoLeft());
            const Vector2 size = MeasureText(count, kAmmoTextScale);
            DrawUiText(count, float(cornerX) - size.x, float(cornerY) - size.y, Color(0xFFFFFFFF), kAmmoTextScale);
        }
    }
}

void VornWindow::GetToolTip() {
    ToolTip& tip = ::GetToolTip();
    if (vorn == nullptr || saveGrid_ == nullptr) {
        Window::GetToolTip();
        return;
    }
    const auto show = [&](SpriteGrid& grid, const String& text) {
        if (!grid.IsValidIndex(grid.hovered)) return false;
        tip.SetForItem(text, grid, *grid.sprites[grid.hovered]);
        return true;
    };
    const auto weaponName = [&](int32_t place) { return GetLanguageText(WeaponKindName(vorn->weapons[place].kind)); };
    const ChassisDefinition* row = ChassisTable::Row(vorn->chassisType);
    const String chassisName = row != nullptr ? GetLanguageText(row->name) : String();
    if (show(*buttons_[kWeapon1], GetLanguageText("WeaponEOL") + weaponName(0))) return;
    if (show(*buttons_[kWeapon2], GetLanguageText("SecondWeaponEOL") + weaponName(1))) return;
    if (show(*buttons_[kAmmo1], GetLanguageText("AmmoEOL"))) return;
    if (show(*buttons_[kAmmo2], GetLanguageText("SecondAmmoEOL"))) return;
    if (show(*slotGrid_, GetLanguageText("Pattern"))) return;
    if (show(*buttons_[kChassis], GetLanguageText("ChassisSizeEOL") + chassisName)) return;
    if (show(*saveGrid_, GetLanguageText("SaveVorn"))) return;
    Window::GetToolTip();
}

void VornWindow::GetHighlightShape(const HighlightRequest& request, Highlighter& highlighter) {
    if (request.kind != 1 || vorn == nullptr || saveGrid_ == nullptr) {
        Window::GetHighlightShape(request, highlighter);
        return;
    }
    StringArray words;
    request.name.Split(words, ' ');
    const String first = words.IsEmpty() ? String() : words[0];
    const auto markButton = [&](int32_t button) {
        SpriteGrid& grid = *buttons_[button];
        for (int32_t i = 0; i < grid.Count(); ++i) {
            if (grid.IsShown(i)) highlighter.AddGridItem(grid, *grid.sprites[i]);
        }
    };
    if (first.EqualsNoCase("Patterns")) {
        highlighter.AddIntRect(slotGrid_->GetBounds(), kMarkPulse);
    } else if (first.EqualsNoCase("Pattern") && words.Count() > 1) {
        const int32_t slot = int32_t(std::strtol(words[1].CStr(), nullptr, 10));
        if (IsValidSlot(slot)) highlighter.AddGridItem(*slotGrid_, *slotGrid_->sprites[slot]);
    } else if (first.EqualsNoCase("FirstWeapon")) {
        markButton(kWeapon1);
    } else if (first.EqualsNoCase("SecondWeapon")) {
        markButton(kWeapon2);
    } else if (first.EqualsNoCase("FirstAmmo")) {
        markButton(kAmmo1);
    } else if (first.EqualsNoCase("SecondAmmo")) {
        markButton(kAmmo2);
    } else if (first.EqualsNoCase("ChassisIcon")) {
        markButton(kChassis);
    } else if (first.EqualsNoCase("SaveButton")) {
        highlighter.AddGridItem(*saveGrid_, *saveGrid_->sprites[0]);
    } else if (first.EqualsNoCase("VornName")) {
        highlighter.AddIntRect(NameRect(), kMarkPulse);
    } else if (first.EqualsNoCase("Cost")) {
        highlighter.AddIntRect(CostRect(), kMarkPulse);
    } else {
        Window::GetHighlightShape(request, highlighter);
    }
}

void VornWindow::DrawDraggedPattern(const IntRect& box) {
    const int32_t slot = GetMouse().dragIndex;
    if (vorn == nullptr || !IsValidSlot(slot)) return;
    thumbnail_.Draw(vorn->PatternAt(slot), box, Color(0));
}

VornWindow& GetVornWindow() {
    static VornWindow vornWindow;
    return vornWindow;
}
