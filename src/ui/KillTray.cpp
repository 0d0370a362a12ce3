// The tray of edited units that left the battlefield.
#include "ui/KillTray.h"

#include <algorithm>
#include <iterator>

#include "core/TextTable.h"
#include "engine/Mouse.h"
#include "engine/Renderer.h"
#include "engine/Sprite.h"
#include "game/Event.h"
#include "game/Game.h"
#include "game/PlayerRoster.h"
#include "ui/ConfirmCloseKillTrayMenu.h"
#include "ui/UiServices.h"
#include "ui/WindowManager.h"
#include "units/ChassisTable.h"
#include "units/Vorn.h"
#include "world/Arena.h"

namespace {
constexpr const char* kClearEntry = "#Clear";
constexpr float kHoverScale = 2.4f;
}  // namespace

KillTray::KillTray() : Tray("KillTray", 16, 3, Point(kMarkerSize, kMarkerSize), kHoverScale, false, false) {
    toolTipDelay = 0.0f;
    Initialize();
}

void KillTray::CreateResources() {
    Tray::CreateResources();
    clearSprite_ = CreateUiSprite(kMarkerSize, kMarkerSize, "NoButton64.tga", Sprite::kAnchorTopLeft);
    for (int32_t chassis = 0; chassis < kChassisCount; ++chassis) {
        const String friendMarker = String(ChassisMarkerName(chassis, &GetLocalPlayer())) + ".tga";
        const String enemyMarker = String(ChassisMarkerName(chassis, nullptr)) + ".tga";
        friendMarkers_[chassis] = CreateUiSprite(kMarkerSize, kMarkerSize, friendMarker, Sprite::kAnchorTopLeft);
        enemyMarkers_[chassis] = CreateUiSprite(kMarkerSize, kMarkerSize, enemyMarker, Sprite::kAnchorTopLeft);
    }
}

void KillTray::ReleaseResources() {
    clearSprite_ = nullptr;
    std::fill(std::begin(friendMarkers_), std::end(friendMarkers_), nullptr);
    std::fill(std::begin(enemyMarkers_), std::end(enemyMarkers_), nullptr);
    Tray::ReleaseResources();
}

void KillTray::AddVorn(Vorn* vorn) {
    if (vorn == nullptr || vorns_.Find(vorn) >= 0) return;
    vorns_.Append(vorn);
    Refresh();
}

void KillTray::RemoveVorn(Vorn* vorn) {
    const int index = vorns_.Find(vorn);
    if (index < 0) return;
    vorns_.RemoveAt(index);
    if (vorns_.IsEmpty()) GetWindowManager().CloseWindow(this);
    Refresh();
}

void KillTray::Release(Vorn* vorn) {
    vorn->Reset();
    if (gArena != nullptr) gArena->FreeObject(vorn);
}

void KillTray::Clear() {
    for (Vorn* vorn : vorns_) Release(vorn);
    vorns_.Clear();
}

void KillTray::ResetView() {
    Tray::ResetView();
    Clear();
    Refresh();
    GetWindowManager().CloseWindow(this);
}

Sprite* KillTray::MarkerOf(const Vorn& vorn) const {
    if (!ChassisTable::IsValid(vorn.chassisType)) return nullptr;
    return vorn.owner == &GetLocalPlayer() ? friendMarkers_[vorn.chassisType] : enemyMarkers_[vorn.chassisType];
}

void KillTray::DrawEntry(int32_t entry, const IntRect& rect, bool) {
    if (entry < 0 || entry >= EntryCount()) return;
    Sprite* sprite = clearSprite_;
    if (entry > 0) sprite = MarkerOf(*vorns_[entry - 1]);
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

String KillTray::EntryName(int32_t entry) const {
    if (entry == 0) return kClearEntry;
    if (entry < 1 || entry > vorns_.Count()) return String();
    return vorns_[entry - 1]->name;
}

String KillTray::EntryToolTip(int32_t entry, const IntRect&) const {
    return entry == 0 ? GetLanguageText(kClearEntry) : EntryName(entry);
}

int32_t KillTray::FindEntry(const String& entryName) const {
    if (entryName == kClearEntry) return 0;
    for (int i = 0; i < vorns_.Count(); ++i) {
        if (vorns_[i]->name == entryName) return i + 1;
    }
    return -1;
}

void KillTray::GrabVorn(int32_t entry) {
    if (entry < 1 || entry > vorns_.Count()) return;
    Vorn* vorn = vorns_[entry - 1];
    Mouse& mouse = GetMouse();
    mouse.HideCursor(kCarryMode, MarkerOf(*vorn));
    mouse.dragObject = vorn;
    mouse.dragIndex = entry;
}

void KillTray::HandleCommand(Event& event) {
    WindowManager& manager = GetWindowManager();
    switch (event.type) {
        case kEventPickTrayEntry:
            if (event.text == kClearEntry) PostEvent(kEventClearKillTray);
            break;
        case kEventGrabTrayEntry:
            if (event.value > 0) GrabVorn(event.value);
            break;
        case kEventEditTrayEntry: break;
        case kEventDeleteTrayEntry: {
            const int32_t entry = FindEntry(event.text);
            if (entry < 1) break;
            Vorn* vorn = vorns_[entry - 1];
            RemoveVorn(vorn);
            Release(vorn);
            PlaySound("Delete.ogg");
            break;
        }
        case kEventClearKillTray:
            if (vorns_.IsEmpty()) {
                manager.CloseWindow(this);
                break;
            }
            manager.OpenWindow(&GetConfirmCloseKillTrayMenu());
            manager.BringToFront(&GetConfirmCloseKillTrayMenu());
            break;
        default: Tray::HandleCommand(event);
    }
}

KillTray& GetKillTray() {
    static KillTray tray;
    return tray;
}
