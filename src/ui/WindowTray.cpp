// One button per in-game window.
#include "ui/WindowTray.h"

#include <algorithm>
#include <iterator>

#include "core/FileHelpers.h"
#include "core/IconColors.h"
#include "core/TextTable.h"
#include "engine/AssetPaths.h"
#include "engine/Renderer.h"
#include "engine/Sprite.h"
#include "game/Event.h"
#include "game/Game.h"
#include "game/Player.h"
#include "game/PlayerRoster.h"
#include "ui/UiServices.h"
#include "ui/WindowManager.h"

namespace {

const char* const kNames[WindowTray::kButtonCount] = {"MiniMap",   "ControlTray", "ObjectTray", "VornTray",  "KillTray",
                                                      "SquadTray", "PaintTray",   "Scoreboard", "ChatWindow"};
const char* const kImages[WindowTray::kButtonCount] = {
    "MiniMapButton.tga",   "ControlTrayButton.tga", "ObjectTrayButton.tga", "VornTrayButton.tga",  "KillTrayButton.tga",
    "SquadTrayButton.tga", "PaintTrayButton.tga",   "ScoreboardButton.tga", "ChatWindowButton.tga"};

enum class GameKind { kOther, kMission, kTrainingOrTutorial, kNetwork };

GameKind CurrentGameKind() {
    const Game* game = CurrentGame();
    if (game == nullptr) return GameKind::kOther;
    if (game->IsNetworkClient() || game->IsNetworkServer() || game->modeName.EqualsNoCase("NetworkGame")) {
        return GameKind::kNetwork;
    }
    if (game->modeName.EqualsNoCase("MissionGame")) return GameKind::kMission;
    if (game->modeName.EqualsNoCase("TrainingGame") || game->modeName.EqualsNoCase("TutorialGame")) {
        return GameKind::kTrainingOrTutorial;
    }
    return GameKind::kOther;
}

}  // namespace

WindowTray::WindowTray() : Tray("WindowTray", kButtonCount, 1, Point(kButtonSize, kButtonSize), 1.5f, true, false) {
    closeButton = false;
    Initialize();
}

void WindowTray::CreateResources() {
    Tray::CreateResources();
    for (int32_t i = 0; i < kButtonCount; ++i) {
        buttons_[i] = CreateUiSprite(kButtonSize, kButtonSize, kImages[i], Sprite::kAnchorTopLeft);
    }
}

void WindowTray::ReleaseResources() {
    std::fill(std::begin(buttons_), std::end(buttons_), nullptr);
    std::fill(std::begin(plainTextures_), std::end(plainTextures_), nullptr);
    std::fill(std::begin(openTextures_), std::end(openTextures_), nullptr);
    imagesMade_ = false;
    Tray::ReleaseResources();
}

void WindowTray::OnOpen() {
    // The buttons show copies of the pictures, made again once the player's colours have
    // repainted them.
    const uint32_t generation = Player::ColoredTexturesGeneration();
    if (!imagesMade_ || imagesGeneration_ != generation) {
        Renderer& renderer = GetRenderer();
        for (int32_t i = 0; i < kButtonCount; ++i) {
            if (buttons_[i] == nullptr || buttons_[i]->quad == nullptr) continue;
            const String path = TexturePath(kImages[i]);
            if (!FileExists(path)) continue;
            renderer.LoadImageFile(plainImages_[i], path);
            openImages_[i] = plainImages_[i];
            ClearGreyOuterPixels(openImages_[i]);
            if (plainTextures_[i] == nullptr)
                plainTextures_[i] = renderer.CreateTextureImage(plainImages_[i], 1);
            else
                renderer.CreateTextureImage(plainTextures_[i], plainImages_[i]);
            if (openTextures_[i] == nullptr)
                openTextures_[i] = renderer.CreateTextureImage(openImages_[i], 1);
            else
                renderer.CreateTextureImage(openTextures_[i], openImages_[i]);
        }
        imagesMade_ = true;
        imagesGeneration_ = generation;
    }
    Tray::OnOpen();
}

void WindowTray::AddWindow(Window* window) {
    if (window == nullptr) return;
    windows.AddUnique(window);
    Refresh();
}

void WindowTray::AddKnownWindows() {
    for (const char* windowName : kNames) AddWindow(GetWindowManager().FindWindowByName(windowName));
}

Window* WindowTray::FindWindow(const String& windowName) const {
    for (Window* window : windows) {
        if (window->name.EqualsNoCase(windowName.CStr())) return window;
    }
    return nullptr;
}

bool WindowTray::IsAllowed(const Window* window) const {
    return allowed.IsEmpty() || allowed.Find(const_cast<Window*>(window)) >= 0;
}

String WindowTray::EntryName(int32_t entry) const {
    if (entry < 0 || entry >= windows.Count()) return String();
    return windows[entry]->name;
}

String WindowTray::EntryToolTip(int32_t entry, const IntRect&) const { return GetLanguageText(EntryName(entry)); }

bool WindowTray::IsEntryShown(int32_t entry) const {
    switch (CurrentGameKind()) {
        case GameKind::kMission:
            if (entry >= 2) return false;
            break;
        case GameKind::kTrainingOrTutorial:
            if (entry == 7 || entry == 8) return false;
            break;
        case GameKind::kNetwork: return entry <= 1 || entry == 7 || entry == 8;
        case GameKind::kOther: break;
    }
    return GetLocalPlayer().HasUpgradeLevel(entry, 0);
}

void WindowTray::SetEntryLit(int32_t entry, bool lit) {
    if (lit_[entry] == int8_t(lit)) return;
    lit_[entry] = int8_t(lit);
    const TextureHandle picture = lit ? openTextures_[entry] : plainTextures_[entry];
    if (picture != nullptr && buttons_[entry] != nullptr) buttons_[entry]->SetTexture(picture);
}

IntRect WindowTray::ButtonRect(int32_t entry) const {
    for (int32_t i = 0; i < cellRects.Count(); ++i) {
        const int32_t at = scrollPosition + i;
        if (at < shownMap.Count() && shownMap[at] == entry) return cellRects[i];
    }
    return Rect();
}

void WindowTray::DrawEntry(int32_t entry, const IntRect& rect, bool) {
    if (entry < 0 || entry >= kButtonCount || entry >= windows.Count() || buttons_[entry] == nullptr) return;
    SetEntryLit(entry, windows[entry]->open);
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

void WindowTray::HandleCommand(Event& event) {
    switch (event.type) {
        case kEventPickTrayEntry: {
            Window* window = FindWindow(event.text);
            if (window == nullptr || !IsAllowed(window)) break;
            const IntRect button = ButtonRect(windows.Find(window));
            Game* game = CurrentGame();
            if (window->open) {
                GetWindowManager().CloseWindow(window);
                if (game != nullptr) game->StartBackgroundFade(window->Rect(), button);
            } else {
                GetWindowManager().OpenWindow(window);
                if (game != nullptr) game->StartBackgroundFade(button, window->Rect());
            }
            break;
        }
        case kEventGrabTrayEntry:
        case kEventEditTrayEntry:
        case kEventDeleteTrayEntry: break;
        default: Tray::HandleCommand(event);
    }
}

WindowTray& GetWindowTray() {
    static WindowTray tray;
    return tray;
}
