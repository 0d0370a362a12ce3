// The "Customize" screen.
#include "modes/UpgradeWindow.h"

#include <algorithm>
#include <cmath>

#include "core/MathUtil.h"
#include "core/TextTable.h"
#include "engine/Mouse.h"
#include "engine/Renderer.h"
#include "engine/Sprite.h"
#include "engine/SpriteGrid.h"
#include "game/Event.h"
#include "game/Player.h"
#include "game/PlayerRoster.h"
#include "game/UpgradeItem.h"
#include "modes/PlayerFigure.h"
#include "platform/window/Keys.h"
#include "screens/FrontEndShell.h"
#include "screens/SceneScreen.h"
#include "ui/Highlighter.h"
#include "ui/Slider.h"
#include "ui/TextBox.h"
#include "ui/ToolTip.h"
#include "ui/UiServices.h"
#include "ui/WindowManager.h"
#include "units/ChassisTable.h"
#include "units/Vorn.h"
#include "units/WeaponTable.h"

namespace {

constexpr int32_t kButtonPixels = 48;
constexpr int32_t kBottomPixels = 64;
constexpr int32_t kSwatchPixels = 128;
constexpr int32_t kIconPixels = 56;
constexpr int32_t kBadgePixels = 16;
constexpr int32_t kFigureSide = 256;
constexpr int32_t kCompactFigureSide = 170;
constexpr int32_t kSliderWidth = 160;
constexpr int32_t kSliderHeight = 16;
constexpr int32_t kSliderStep = 24;
constexpr int32_t kTextsMargin = 16;
constexpr float kBadgeTurnRate = 4.0f;
// The circling badge leaves out the arc this far to each side of the level badge's corner
// and hops across it: nearer, the two badges cover each other, hovered or not.
constexpr float kBadgeClearArc = 5.0f * kPi / 12.0f;
constexpr float kLevelCornerAngle = -kPi / 4.0f;  // the top-right corner, the screen's y down
constexpr Color kBackdropColour = Color::FromRGBA(30, 30, 30, 200);
constexpr float kMoodSeconds = 3.0f;

// The chassis buttons by size (speed, pattern count, armour), then the weapons.
constexpr const char* kChassisButtonImages[UpgradeWindow::kChassisButtonCount] = {
    "UpgradeSpeedSmallButton.tga",  "UpgradePatternCountSmallButton.tga",  "UpgradeArmorSmallButton.tga",
    "UpgradeSpeedMediumButton.tga", "UpgradePatternCountMediumButton.tga", "UpgradeArmorMediumButton.tga",
    "UpgradeSpeedLargeButton.tga",  "UpgradePatternCountLargeButton.tga",  "UpgradeArmorLargeButton.tga",
};
constexpr int32_t kChassisButtonRows[UpgradeWindow::kChassisButtonCount] = {112, 113, 114, 116, 117,
                                                                            118, 120, 121, 122};
// The row that makes a chassis size available, by size class.
constexpr int32_t kChassisBaseRows[3] = {111, 115, 119};
constexpr const char* kBottomImages[UpgradeWindow::kBottomButtonCount] = {"RedoButton.tga", "YesButton.tga",
                                                                          "NoButton.tga", "OptionsButton.tga"};
constexpr const char* kBottomTips[UpgradeWindow::kBottomButtonCount] = {"Reset", "Accept", "Cancel", "RandomizeColor"};
constexpr const char* kSliderNames[UpgradeWindow::kSliderCount] = {"PrimaryRed", "PrimaryGreen", "PrimaryBlue",
                                                                   "TrimRed",    "TrimGreen",    "TrimBlue"};
constexpr Color kSliderTints[UpgradeWindow::kSliderCount] = {Color(0xFFFF4040), Color(0xFF40FF40), Color(0xFF4040FF),
                                                             Color(0xFFFF4040), Color(0xFF40FF40), Color(0xFF4040FF)};

// The single-button highlight names and the button they point at.
struct NamedButton {
    const char* name;
    bool bottom;
    int32_t index;
};
constexpr NamedButton kNamedButtons[] = {
    {"SmallSpeedUpgrade", false, 0},          {"SmallPatternCountUpgrade", false, 1},
    {"SmallArmorUpgrade", false, 2},          {"LaserUpgrade", false, UpgradeWindow::kChassisButtonCount},
    {"Reset", true, UpgradeWindow::kReset},   {"Accept", true, UpgradeWindow::kAccept},
    {"Cancel", true, UpgradeWindow::kCancel}, {"RandomizeColors", true, UpgradeWindow::kRandomizeColors},
};

Player& LocalPlayer() { return GetLocalPlayer(); }

PlayerFigure& Figure() { return GetPlayerFigure(GetLocalPlayer()); }

int32_t LevelOf(int32_t row) { return LocalPlayer().GetUpgradeLevel(row); }

void PlaceCentred(Sprite* sprite, const Point& centre) {
    if (sprite == nullptr) return;
    sprite->x = centre.x;
    sprite->y = centre.y;
}

// Union of the shown items' rectangles; empty (left > right) when none is shown.
IntRect ShownBounds(const SpriteGrid& grid, int32_t from, int32_t to) {
    IntRect box(1, 1, 0, 0);
    for (int32_t i = from; i < to && i < grid.Count(); ++i) {
        if (!grid.IsShown(i)) continue;
        const IntRect r = grid.sprites[i]->GetScreenRect();
        box = box.left > box.right ? r
                                   : IntRect(std::min(box.left, r.left), std::min(box.top, r.top),
                                             std::max(box.right, r.right), std::max(box.bottom, r.bottom));
    }
    return box;
}

}  // namespace

UpgradeWindow::UpgradeWindow() : Window("UpgradeWindow") { Initialize(); }

UpgradeWindow::~UpgradeWindow() {
    for (Slider*& slider : sliders) {
        delete slider;
        slider = nullptr;
    }
}

int32_t UpgradeWindow::ButtonRow(int32_t button) {
    if (button < 0 || button >= kUpgradeButtonCount) return -1;
    if (button < kChassisButtonCount) return kChassisButtonRows[button];
    return kFirstWeaponItem + (button - kChassisButtonCount);
}

String UpgradeWindow::BoostsText(int32_t boosts) {
    return String::FromInt(boosts) + " " + GetLanguageText(boosts == 1 ? "Boost" : "Boosts");
}

void UpgradeWindow::Initialize() {
    for (int32_t i = 0; i < kSliderCount; ++i) {
        if (sliders[i] != nullptr) continue;
        sliders[i] = new Slider();
        sliders[i]->name = kSliderNames[i];
        sliders[i]->Resize(Point(kSliderWidth, kSliderHeight));
        sliders[i]->SetRange(0.0f, 255.0f);
        sliders[i]->SetValue(128.0f);
    }
    Window::Initialize();
}

void UpgradeWindow::CreateResources() {
    for (int32_t i = 0; i < kSliderCount; ++i) sliders[i]->SetImages(kSliderTints[i], Color(0xFFFFFFFF));
    Renderer& renderer = GetRenderer();
    upgrades = renderer.CreateSpriteGrid();
    placeholders = renderer.CreateSpriteGrid();
    bottomButtons = renderer.CreateSpriteGrid();
    for (SpriteGrid* grid : {upgrades, placeholders, bottomButtons}) grid->SetLayoutMode(SpriteGrid::kLayoutFree);
    for (int32_t i = 0; i < kUpgradeButtonCount; ++i) {
        const char* image =
            i < kChassisButtonCount ? kChassisButtonImages[i] : WeaponButtonImage(i - kChassisButtonCount);
        upgrades->AddItem(CreateUiSprite(kButtonPixels, kButtonPixels, image, Sprite::kAnchorCentre), String(), true);
        placeholders->AddItem(CreateUiSprite(kButtonPixels, kButtonPixels, "BlackButton.tga", Sprite::kAnchorCentre),
                              String(), false);
    }
    for (const char* image : kBottomImages) {
        bottomButtons->AddItem(CreateUiSprite(kBottomPixels, kBottomPixels, image, Sprite::kAnchorCentre), String(),
                               true);
    }
    backdrop = renderer.CreateColoredQuad(QuadRect{0.0f, 0.0f, 1.0f, 1.0f}, kBackdropColour, 0.0f, 0, 0);
    renderer.CreateModelMeshes(backdrop);
    primarySwatch = CreateUiSprite(kSwatchPixels, kSwatchPixels, "PaintBlob.tga", Sprite::kAnchorCentre);
    trimSwatch = CreateUiSprite(kSwatchPixels, kSwatchPixels, "PaintBlob2.tga", Sprite::kAnchorCentre);
    for (int32_t chassis = 0; chassis < kChassisCount; ++chassis) {
        const ChassisDefinition* row = ChassisTable::Row(chassis);
        const String image =
            row != nullptr && !row->buttonImage.IsEmpty() ? row->buttonImage : String("BlackButton.tga");
        chassisIcons[chassis] = CreateUiSprite(kIconPixels, kIconPixels, image, Sprite::kAnchorCentre);
    }
    for (int32_t digit = 0; digit < 10; ++digit) {
        digits[digit] =
            CreateUiSprite(kBadgePixels, kBadgePixels, String::FromInt(digit) + "Button.tga", Sprite::kAnchorCentre);
    }
    optionsBadge = CreateUiSprite(kBadgePixels, kBadgePixels, "OptionsButton.tga", Sprite::kAnchorCentre);
}

void UpgradeWindow::ReleaseResources() {
    upgrades = placeholders = bottomButtons = nullptr;
    backdrop = nullptr;
    primarySwatch = trimSwatch = optionsBadge = nullptr;
    std::fill(std::begin(chassisIcons), std::end(chassisIcons), nullptr);
    std::fill(std::begin(digits), std::end(digits), nullptr);
    Window::ReleaseResources();
}

bool UpgradeWindow::TextBoxOpen() const {
    const TextBox* box = TextBox::Instance();
    return box != nullptr && box->open;
}

void UpgradeWindow::OnOpen() {
    SetFullScreen(true);
    WindowManager& manager = GetWindowManager();
    for (Slider* slider : sliders) manager.OpenWindow(slider);
    Layout();
    SetSlidersFromPlayer();
    appliedPrimary = rebuiltPrimary = SliderColour(kPrimaryRed);
    appliedTrim = rebuiltTrim = SliderColour(kTrimRed);
    rebuildDelay = 0.0f;
    ApplyPlayerColours();
    FrontEndShell& shell = GetFrontEndShell();
    shell.SetClearColour(Color(0xFF000000));
    if (openedFromMenus) shell.StopMenuMusic();
}

void UpgradeWindow::OnClose() {
    WindowManager& manager = GetWindowManager();
    for (Slider* slider : sliders) manager.CloseWindow(slider);
    FrontEndShell& shell = GetFrontEndShell();
    shell.SetClearColour(Color(0xFF000000));
    if (!openedFromMenus) return;
    shell.StartMenuMusic();
    openedFromMenus = false;
}

void UpgradeWindow::SetSlidersFromPlayer() {
    const Player& player = LocalPlayer();
    const Color colours[2] = {player.primaryColor, player.trimColor};
    for (int32_t c = 0; c < 2; ++c) {
        sliders[3 * c + 0]->SetValue(float(colours[c].Red()));
        sliders[3 * c + 1]->SetValue(float(colours[c].Green()));
        sliders[3 * c + 2]->SetValue(float(colours[c].Blue()));
    }
}

Color UpgradeWindow::SliderColour(int32_t first) const {
    const auto channel = [this, first](int32_t offset) {
        return uint8_t(std::clamp(int32_t(sliders[first + offset]->value), 0, 255));
    };
    return Color::FromRGBA(channel(0), channel(1), channel(2), 255);
}

void UpgradeWindow::ApplyPlayerColours() {
    Player& player = LocalPlayer();
    TintSprite(primarySwatch, player.primaryColor);
    TintSprite(trimSwatch, player.trimColor);
    // The figure and every unit of the player wear the colours, not only the buttons.
    player.RebuildVornIcon(false);
    player.BuildColoredTextures();
    player.BuildWeaponButtonTextures();
}

void UpgradeWindow::Refresh() {
    if (upgrades == nullptr) return;
    TintSprite(primarySwatch, LocalPlayer().primaryColor);
    TintSprite(trimSwatch, LocalPlayer().trimColor);
    Layout();
}

void UpgradeWindow::Layout() {
    const IntRect screen = UiScreenRect();
    const int32_t width = screen.right - screen.left + 1;
    const bool compact = TextBoxOpen();
    const int32_t side = compact ? kCompactFigureSide : kFigureSide;
    const int32_t top = (compact ? TextBox::Instance()->bottom : screen.top) + 50;
    figureRect = IntRect(width / 2 - side / 2, top, width / 2 + side / 2 - 1, top + side - 1);
    for (int32_t i = 0; i < 3; ++i) {
        sliders[i]->MoveTo(Point(figureRect.left - kSliderWidth - 24, figureRect.top + 64 + i * kSliderStep));
        sliders[3 + i]->MoveTo(Point(figureRect.right + 24, figureRect.bottom - 80 + i * kSliderStep));
    }
    PlaceCentred(primarySwatch, sliders[kPrimaryGreen]->GetCenter());
    PlaceCentred(trimSwatch, sliders[kTrimGreen]->GetCenter());
    if (upgrades == nullptr) return;
    const Point randomize(width / 2, figureRect.bottom + 8 + kBottomPixels / 2);
    PlaceCentred(bottomButtons->sprites[kRandomizeColors], randomize);
    const int32_t bottomRow = (screen.bottom - screen.top) - 71;
    for (int32_t b = kReset; b <= kCancel; ++b) {
        PlaceCentred(bottomButtons->sprites[b], Point(width * (b + 1) / 4, bottomRow));
    }
    const int32_t iconRow = randomize.y + (compact ? 50 : 80);
    const int32_t offsets[3] = {-64, 0, 64};
    for (int32_t button = 0; button < kChassisButtonCount; ++button) {
        const int32_t column = width * (button / 3 + 1) / 4;
        PlaceCentred(upgrades->sprites[button], Point(column + offsets[button % 3], iconRow + 64));
        upgrades->SetItemVisible(button, LevelOf(ButtonRow(button)) != -1);
    }
    const int32_t weaponRow = iconRow + 128;
    int32_t slot = 0;
    for (int32_t pass = 0; pass < 2; ++pass) {
        for (int32_t button = kChassisButtonCount; button < kUpgradeButtonCount; ++button) {
            const bool available = LevelOf(ButtonRow(button)) != -1;
            if (available != (pass == 0)) continue;
            const Point place(width * (++slot) / 13, weaponRow);
            PlaceCentred(upgrades->sprites[button], place);
            PlaceCentred(placeholders->sprites[button], place);
            upgrades->SetItemVisible(button, available);
            // A weapon still locked leaves its place empty: a blank disc would read as a button.
            placeholders->SetItemVisible(button, false);
        }
    }
}

void UpgradeWindow::TrackColours(float frameSeconds) {
    Player& player = LocalPlayer();
    const Color primary = SliderColour(kPrimaryRed);
    const Color trim = SliderColour(kTrimRed);
    if (!(primary == appliedPrimary) || !(trim == appliedTrim)) {
        appliedPrimary = primary;
        appliedTrim = trim;
        player.SetColors(primary, trim, true);
        rebuildDelay = kRebuildDelay;
    }
    TintSprite(primarySwatch, primary);
    TintSprite(trimSwatch, trim);
    if (rebuildDelay <= 0.0f) return;
    rebuildDelay -= frameSeconds;
    if (rebuildDelay > 0.0f) return;
    rebuildDelay = 0.0f;
    rebuiltPrimary = primary;
    rebuiltTrim = trim;
    player.SetColors(primary, trim, false);
    ApplyPlayerColours();
}

void UpgradeWindow::DrawContents() {
    const float frameSeconds = ScreenFrameTime();
    TrackColours(frameSeconds);
    UseScreenCamera();
    Renderer& renderer = GetRenderer();
    renderer.SetAlphaBlend();
    DrawBackdrop();
    if (primarySwatch != nullptr) {
        renderer.DrawSprite(*primarySwatch);
        renderer.DrawSprite(*trimSwatch);
    }
    PlayerFigure& figure = Figure();
    figure.rect = figureRect;
    figure.Draw(frameSeconds);
    UseScreenCamera();
    renderer.SetAlphaBlend();
    DrawTexts();
    // After the drawing: a refusal is seen for at least the frame that heard it.
    refusalTimeLeft = std::max(refusalTimeLeft - frameSeconds, 0.0f);
    if (upgrades != nullptr) {
        // Drawing the grid's hover forgets it; the badges still grow under the pointer.
        badgeHovered = upgrades->hovered;
        renderer.DrawSpriteGrid(*bottomButtons, true);
        renderer.DrawSpriteGrid(*upgrades, true);
        renderer.DrawSpriteGrid(*placeholders, false);
        DrawChassisIcons();
        DrawBadges(frameSeconds);
    }
    DrawMessageLine(GetLanguageText("Customize"), 0);
    renderer.SetBlendOff();
}

// In the top-left corner (below the text box while it is open): the title takes the
// middle of the top line and the figure the space under it.
Vector2 UpgradeWindow::TextsTopLeft() const {
    const float top = TextBoxOpen() ? float(TextBox::Instance()->bottom) : float(UiScreenRect().top);
    return Vector2(float(kTextsMargin), top + float(kTextsMargin));
}

// Dims whatever lies behind the screen (a lesson's battlefield) under the controls.
void UpgradeWindow::DrawBackdrop() {
    if (backdrop == nullptr) return;
    Renderer& renderer = GetRenderer();
    Matrix4 cover;
    cover[0] = float(right - left + 1);
    cover[5] = float(bottom - top + 1);
    cover[12] = float(left);
    cover[13] = float(top);
    renderer.SetWorldTransform(cover);
    SetDepthTest(false);
    renderer.RenderMesh(backdrop, false);
    renderer.SetWorldTransform(Matrix4());
}

void UpgradeWindow::DrawTexts() {
    const Player& player = LocalPlayer();
    const Vector2 at = TextsTopLeft();
    const Color white(0xFFFFFFFF);
    DrawUiText(player.name, at.x, at.y, white, kTextScale);
    // A purchase refused a moment ago shows on the boosts line as well as in the sound.
    const Color boosts = refusalTimeLeft > 0.0f ? kRefusalColour : white;
    DrawUiText(BoostsText(player.boosts), at.x, at.y + FontLineHeight() * kTextScale, boosts, kTextScale);
}

void UpgradeWindow::DrawChassisIcons() {
    Renderer& renderer = GetRenderer();
    for (int32_t size = 0; size < 3; ++size) {
        if (LevelOf(kChassisBaseRows[size]) < 0) continue;
        const int32_t chassis = LocalPlayer().GetChassisChoice(size);
        if (!ChassisTable::IsValid(chassis) || chassisIcons[chassis] == nullptr) continue;
        const Sprite* speed = upgrades->sprites[3 * size];
        PlaceCentred(chassisIcons[chassis], Point(speed->x + 64, speed->y - 64));
        renderer.DrawSprite(*chassisIcons[chassis]);
    }
}

UpgradeWindow::BadgeSquares UpgradeWindow::BadgesOf(int32_t button) const {
    const Sprite& sprite = *upgrades->sprites[button];
    const float f = badgeHovered == button ? 0.75f : 0.5f;
    const float side = f * float(kButtonPixels);
    const auto square = [side](float x, float y) {
        const int32_t left = int32_t(std::lround(x - side * 0.5f)), top = int32_t(std::lround(y - side * 0.5f));
        return IntRect(left, top, left + int32_t(side), top + int32_t(side));
    };
    const float angle = kLevelCornerAngle + kBadgeClearArc + badgePhase * (kTwoPi - 2.0f * kBadgeClearArc) / kTwoPi;
    return {square(float(sprite.x + kButtonPixels / 2), float(sprite.y - kButtonPixels / 2)),
            square(float(sprite.x) + std::cos(angle) * f * float(sprite.width),
                   float(sprite.y) + std::sin(angle) * f * float(sprite.width))};
}

bool UpgradeWindow::CirclingBadgeClear(int32_t button) const {
    const Player& player = LocalPlayer();
    const IntRect next = BadgesOf(button).next;
    const auto apart = [](const IntRect& a, const IntRect& b) {
        return a.right <= b.left || b.right <= a.left || a.bottom <= b.top || b.bottom <= a.top;
    };
    for (int32_t other = 0; other < kUpgradeButtonCount; ++other) {
        const int32_t row = ButtonRow(other);
        const int32_t level = player.GetUpgradeLevel(row);
        if (other == button || level < 0) continue;
        // The circling badges all keep one phase, so two of them never meet; the level
        // badges stand still in their round's way.
        if (!apart(next, BadgesOf(other).level)) return false;
    }
    return true;
}

void UpgradeWindow::DrawBadges(float frameSeconds) {
    Renderer& renderer = GetRenderer();
    const Player& player = LocalPlayer();
    badgePhase = std::fmod(badgePhase + kBadgeTurnRate * frameSeconds, kTwoPi);
    if (!(badgePhase >= 0.0f)) badgePhase = 0.0f;
    drawnBadges.Clear();
    const auto badge = [this](int32_t level) { return level >= 0 && level <= 9 ? digits[level] : optionsBadge; };
    const auto draw = [this, &renderer](Sprite* digit, const IntRect& square) {
        if (digit == nullptr) return;
        const float scale = float(square.right - square.left) / float(kBadgePixels);
        const Vector2 centre(float(square.left + square.right) * 0.5f, float(square.top + square.bottom) * 0.5f);
        renderer.DrawSpriteRotated(*digit, centre, Vector2(scale, scale), 0.0f, Vector2(), Matrix4());
        drawnBadges.Append(square);
    };
    for (int32_t button = 0; button < kUpgradeButtonCount; ++button) {
        const int32_t row = ButtonRow(button);
        const int32_t level = player.GetUpgradeLevel(row);
        if (level < 0) continue;
        const BadgeSquares squares = BadgesOf(button);
        draw(badge(level), squares.level);
        // Passing another button's level badge, the circling one is not drawn: it hops
        // across as it does across its own.
        if (player.CanBuyUpgrade(row, level + 1) && CirclingBadgeClear(button)) draw(badge(level + 1), squares.next);
    }
}

bool UpgradeWindow::HandleMouse(const InputEvent& input) {
    Mouse& mouse = GetMouse();
    if (input.kind == kInputFrameTick) {
        const float dt = ScreenFrameTime();
        if (mouse.IsKeyHeld('X')) Figure().Update(kPi * dt);
        if (mouse.IsKeyHeld('Z')) Figure().Update(-kPi * dt);
        return true;
    }
    const Point point(input.x, input.y);
    if (input.kind == kInputDown && input.code == kInputButtonLeft && upgrades != nullptr) {
        bottomButtons->Press(point);
        upgrades->Press(point);
        if (bottomButtons->pressed >= 0 || upgrades->pressed >= 0) {
            PlaySound("MouseDown.ogg");
            return true;
        }
    }
    if (input.IsKeyDown('M')) {
        if (Vorn* vorn = Figure().GetVorn()) vorn->SetMood((vorn->mood + 1) % 3, kMoodSeconds);
        return true;
    }
    if (input.IsKeyDown('C')) {
        Vorn* vorn = Figure().GetVorn();
        const int32_t chassis = vorn != nullptr ? vorn->chassisType : 0;
        Figure().ChangeChassis(mouse.IsKeyHeld(win::kKeyShift) ? chassis : (chassis + 1) % kChassisCount);
        return true;
    }
    if (input.kind == kInputUp && input.code == kInputButtonLeft && upgrades != nullptr) {
        ReleaseAt(point);
        return true;
    }
    return Window::HandleMouse(input);
}

void UpgradeWindow::ReleaseAt(const Point& point) {
    const int32_t bottom = bottomButtons->pressed >= 0 ? bottomButtons->Release(point) : -1;
    const int32_t button = upgrades->pressed >= 0 ? upgrades->Release(point) : -1;
    static constexpr int32_t kBottomEvents[kBottomButtonCount] = {kEventReset, kEventExit, kEventCancel,
                                                                  kEventRandomizeColors};
    if (bottom >= 0 && bottom < kBottomButtonCount) {
        PostEvent(kBottomEvents[bottom]);
        PlaySound("MouseUp.ogg");
        return;
    }
    if (button < 0) return;
    const int32_t row = ButtonRow(button);
    if (LocalPlayer().CanBuyUpgrade(row, LevelOf(row) + 1)) {
        PostEventInt(kEventPickUpgrade, button);
        PlaySound("MouseUp.ogg");
    } else {
        PlaySound("Illegal.ogg");
        refusalTimeLeft = kRefusalSeconds;
    }
}

void UpgradeWindow::ReturnToPrevious() {
    Player& player = LocalPlayer();
    player.RebuildVornIcon(false);
    player.BuildColoredTextures();
    player.BuildWeaponButtonTextures();
    GetWindowManager().ReturnToPreviousWindow();
}

void UpgradeWindow::BuyUpgrade(int32_t button) {
    const int32_t row = ButtonRow(button);
    Player& player = LocalPlayer();
    // The event may come from a script: the index and the price are checked again.
    const int32_t level = row >= 0 ? player.GetUpgradeLevel(row) + 1 : 0;
    if (row < 0 || !player.CanBuyUpgrade(row, level)) {
        PlaySound("Illegal.ogg");
        return;
    }
    player.SetUpgradeLevel(row, level);
    player.boosts -= UpgradePrice(row, level);
    Refresh();
}

void UpgradeWindow::HandleCommand(Event& event) {
    Player& player = LocalPlayer();
    switch (event.type) {
        case kEventExit:
            if (IsTutorialGame()) return;
            player.SetColors(SliderColour(kPrimaryRed), SliderColour(kTrimRed), false);
            player.Save();
            ReturnToPrevious();
            break;
        case kEventCancel:
            if (IsTutorialGame()) return;
            player.Load();
            ReturnToPrevious();
            break;
        case kEventReset:
            player.Load();
            SetSlidersFromPlayer();
            appliedPrimary = SliderColour(kPrimaryRed);
            appliedTrim = SliderColour(kTrimRed);
            rebuildDelay = 0.0f;
            player.SetColors(appliedPrimary, appliedTrim, false);
            ApplyPlayerColours();
            Refresh();
            break;
        case kEventRandomizeColors:
            for (Slider* slider : sliders) slider->SetValue(float(RandomIntBetween(0, 255)));
            break;
        case kEventPickUpgrade: BuyUpgrade(event.value); break;
        default: Window::HandleCommand(event);
    }
}

void UpgradeWindow::HitTestControls(const Point& point) {
    if (upgrades != nullptr) {
        bottomButtons->UpdateHover(point);
        upgrades->UpdateHover(point);
    }
    Window::HitTestControls(point);
}

String UpgradeWindow::UpgradeToolTip(int32_t button) const {
    const int32_t row = ButtonRow(button);
    const int32_t level = LevelOf(row);
    if (row < 0 || level < 0) return String();
    const String current = GetUpgradeDescription(row, level);
    String text = GetUpgradeItem(row).label + "\n";
    if (!LocalPlayer().CanBuyUpgrade(row, level + 1)) return text + current;
    const String next = GetUpgradeDescription(row, level + 1);
    if (current.IsEmpty()) return text + next;
    return text + current + " " + GetLanguageText("Arrow") + " " + next;
}

void UpgradeWindow::GetToolTip() {
    ToolTip& tip = ::GetToolTip();
    if (bottomButtons != nullptr && bottomButtons->hovered >= 0 && bottomButtons->hovered < kBottomButtonCount) {
        const int32_t button = bottomButtons->hovered;
        tip.Set(GetLanguageText(kBottomTips[button]), bottomButtons->sprites[button]->GetScreenRect());
        return;
    }
    if (upgrades != nullptr && upgrades->hovered >= 0 && upgrades->hovered < kUpgradeButtonCount) {
        const int32_t button = upgrades->hovered;
        if (LevelOf(ButtonRow(button)) < 0) return;
        tip.Set(UpgradeToolTip(button), upgrades->sprites[button]->GetScreenRect());
        return;
    }
    Window::GetToolTip();
}

void UpgradeWindow::GetHighlightShape(const HighlightRequest& request, Highlighter& highlighter) {
    if (request.kind != 1 || upgrades == nullptr) {
        Window::GetHighlightShape(request, highlighter);
        return;
    }
    const String& part = request.name;
    for (const NamedButton& named : kNamedButtons) {
        if (!part.EqualsNoCase(named.name)) continue;
        const SpriteGrid& grid = named.bottom ? *bottomButtons : *upgrades;
        highlighter.AddWindowShape(grid, *grid.sprites[named.index]);
        return;
    }
    if (part.EqualsNoCase("WeaponUpgrades")) {
        // Only as far as the badges reach: the chassis buttons stand just above the row.
        const IntRect row = ShownBounds(*upgrades, kChassisButtonCount, kUpgradeButtonCount);
        const int32_t margin = kBadgePixels / 2;
        highlighter.AddIntRect(IntRect(row.left - margin, row.top - margin, row.right + margin, row.bottom + margin),
                               1.0f);
    } else if (part.EqualsNoCase("SmallChassisUpgrades")) {
        highlighter.AddIntRect(ShownBounds(*upgrades, 0, 3), 1.0f);
    } else if (part.EqualsNoCase("SmallSpeedUpgradeNumber")) {
        const Sprite& first = *upgrades->sprites[0];
        highlighter.AddCircleAt(Point(first.x + kButtonPixels / 2, first.y - kButtonPixels / 2), kBadgePixels, 1.0f);
    } else if (part.EqualsNoCase("ColorSelection")) {
        highlighter.AddIntRect(IntRect(sliders[kPrimaryRed]->left, sliders[kPrimaryRed]->top, sliders[kTrimBlue]->right,
                                       sliders[kTrimBlue]->bottom),
                               1.0f);
    } else if (part.EqualsNoCase("Text")) {
        const Vector2 size = MeasureText(String("XXX Boosts"), kTextScale);
        const Vector2 at = TextsTopLeft();
        const int32_t left = int32_t(at.x), top = int32_t(at.y + FontLineHeight() * kTextScale);
        highlighter.AddIntRect(IntRect(left, top, left + int32_t(size.x), top + int32_t(size.y)), 1.0f);
    } else {
        Window::GetHighlightShape(request, highlighter);
    }
}

UpgradeWindow& GetUpgradeWindow() {
    static UpgradeWindow window;
    return window;
}
