// Pictures in the colours of a unit's owner, painted when an editor opens on the unit.
#include "battlefield/OwnerPictures.h"

#include <map>
#include <string>

#include "core/FileHelpers.h"
#include "core/Tga.h"
#include "engine/AssetPaths.h"
#include "engine/Renderer.h"
#include "game/Player.h"
#include "units/ChassisTable.h"

namespace {

// Base pictures are read once; the textures of their names are overwritten by painting.
const Image& BasePicture(const char* name) {
    static std::map<std::string, Image> pictures;
    const auto found = pictures.find(name);
    if (found != pictures.end()) return found->second;
    Image& picture = pictures[name];
    if (ReadTgaFile(TexturePath(name).CStr(), picture) != TgaReadResult::kOk) picture = Image();
    return picture;
}

// The owner's small chassis, or the first small row when none is chosen.
const Image& SmallChassisIcon(const Player& owner) {
    static const Image none;
    int32_t chassis = owner.GetChassisChoice(0);
    if (!ChassisTable::IsValid(chassis)) chassis = 0;
    const ChassisDefinition* row = ChassisTable::Row(chassis);
    return row != nullptr ? row->portrait64 : none;
}

// A name the data set lacks keeps its texture.
void Replace(const char* name, const Image& picture) {
    const String path = TexturePath(name);
    if (picture.IsEmpty() || !FileExists(path)) return;
    GetRenderer().CreateTextureFromImage(path, picture);
}

// A portrait wider or taller than the picture it goes on is halved until it fits, which keeps
// its shape.
Image FittedTo(const Image& overlay, const Image& base) {
    Image fitted = overlay;
    while ((fitted.Width() > base.Width() || fitted.Height() > base.Height()) && fitted.Width() > 1 &&
           fitted.Height() > 1) {
        fitted.HalfSizePlain(fitted);
    }
    return fitted;
}

void Paint(const char* name, const char* base, const Image& overlay, int x, int y, const Player& owner) {
    Replace(name, ComposeOwnerPicture(BasePicture(base), overlay, x, y, owner));
}

}  // namespace

Image ComposeOwnerPicture(const Image& base, const Image& overlay, int x, int y, const Player& owner) {
    Image picture = base.IsEmpty() ? Image(overlay.Width(), overlay.Height()) : base;
    if (overlay.IsEmpty()) return picture;
    if (overlay.Width() <= picture.Width() && overlay.Height() <= picture.Height()) {
        picture.BlendBlit(overlay, x, y, owner.primaryColor, owner.trimColor);
        return picture;
    }
    // At its offset a portrait larger than the button would show only the part that lands
    // on it; shrunk, it goes on whole, in the middle.
    const Image fitted = FittedTo(overlay, picture);
    picture.BlendBlit(fitted, (picture.Width() - fitted.Width()) / 2, (picture.Height() - fitted.Height()) / 2,
                      owner.primaryColor, owner.trimColor);
    return picture;
}

void PaintPatternPictures(const Player& owner) {
    if (!GetRenderer().HasDevice()) return;
    Paint("BeaconPatternButton.tga", "PatternButton.tga", BasePicture("PatternBeaconOverlay.tga"), 0, 0, owner);
}

void PaintVornEditorPictures(Player& owner) {
    if (!GetRenderer().HasDevice()) return;
    PaintPatternPictures(owner);
    owner.BuildWeaponButtonTextures();
    Paint("SaveVornButton.tga", "SaveVornBase.tga", SmallChassisIcon(owner), -8, -8, owner);
}
