#pragma once
// One button per in-game window (mini-map, control tray, object tray, unit tray, kill
// tray, squad tray, paint tray, scoreboard, chat window) that opens or closes it with a
// short fade; a button shows its open picture while its window is open.
#include <cstdint>

#include "core/Array.h"
#include "core/Image.h"
#include "engine/TextureHandle.h"
#include "ui/Tray.h"

class WindowTray : public Tray {
public:
    static constexpr int32_t kButtonCount = 9;
    static constexpr int32_t kButtonSize = 32;

    WindowTray();

    void CreateResources() override;
    void ReleaseResources() override;
    void OnOpen() override;
    void DrawEntry(int32_t entry, const IntRect& rect, bool hovered) override;
    String EntryName(int32_t entry) const override;
    String EntryToolTip(int32_t entry, const IntRect& rect) const override;
    bool IsEntryShown(int32_t entry) const override;
    int32_t EntryCount() const override { return windows.Count(); }
    void HandleCommand(Event& event) override;

    void AddWindow(Window* window);
    // The table's windows that the window manager knows, in table order.
    void AddKnownWindows();
    Window* FindWindow(const String& windowName) const;
    // Every window while the allowed list is empty.
    bool IsAllowed(const Window* window) const;

    Array<Window*> windows;
    Array<Window*> allowed;

private:
    void SetEntryLit(int32_t entry, bool lit);
    // The screen rectangle of the cell showing the entry; the tray's own without one.
    IntRect ButtonRect(int32_t entry) const;
    bool imagesMade_ = false;
    uint32_t imagesGeneration_ = 0;  // of the players' pictures the copies were made from
    Sprite* buttons_[kButtonCount] = {};
    Image plainImages_[kButtonCount];
    Image openImages_[kButtonCount];
    TextureHandle plainTextures_[kButtonCount] = {};
    TextureHandle openTextures_[kButtonCount] = {};
    int8_t lit_[kButtonCount] = {};
};

WindowTray& GetWindowTray();
