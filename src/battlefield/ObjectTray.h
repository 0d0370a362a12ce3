#pragma once
// The palette of things the player drags onto the battlefield while building a scenario:
// trees, rocks, solar chargers, friend and enemy units of each size, the soccer ball and
// the two goals. The battlefield window carries out the drop (and opens the count menu);
// this tray decides what is offered and what the pointer carries.
#include <cstdint>

#include "core/Array.h"
#include "core/String.h"
#include "engine/RendererRef.h"
#include "ui/Tray.h"

class ObjectTray : public Tray {
public:
    static constexpr int32_t kEntryCount = 12;
    static constexpr int32_t kRandomVariant = 6;
    // Pointer modes of a drag out of this tray.
    static constexpr int32_t kCarryChassis = 2;
    static constexpr int32_t kCarryObject = 9;

    ObjectTray();

    void Refresh() override;
    void DrawEntry(int32_t entry, const IntRect& rect, bool hovered) override;
    String EntryName(int32_t entry) const override;
    String EntryToolTip(int32_t entry, const IntRect& rect) const override;
    bool IsEntryShown(int32_t entry) const override;
    int32_t EntryCount() const override { return kEntryCount; }
    void HandleCommand(Event& event) override;

    // The image an entry shows now.
    String EntryImage(int32_t entry) const;
    // Starts the entry's drag; false for an entry that is not offered.
    bool Grab(int32_t entry);
    // Trees and rocks of a random look again, as a lesson expects.
    void ResetToDefaults();

    int32_t treeVariant = kRandomVariant;
    int32_t rockVariant = kRandomVariant;
    // What an object drag (mode 9) carries; a unit drag (mode 2) carries the chassis in
    // the mouse's drag index.
    int32_t carriedKind = -1;
    int32_t carriedVariant = 0;

private:
    void FillImages();
    Sprite* SpriteFor(const String& image);
    String images_[kEntryCount];
    Array<String> spriteImages_;
    Array<Sprite*> sprites_;
    RendererMark spritesCurrent_;  // cleared when the renderer frees the sprites
};

ObjectTray& GetObjectTray();
