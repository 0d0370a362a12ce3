// Pictures in the colours of a unit's owner, painted when an editor opens on the unit.
#include "battlefield/OwnerPictures.h"

#include <map>
#include <string>

#include "core/FileHelpers.h"
#include "core/Tga.h"
#include "engine/AssetPaths.h"
#include "engine/Renderer.h"
#include "game/OwnerPortrait.h"
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

void Paint(const char* name, const char* base, const Image& overlay, int x, int y, const Player& owner) {
    Replace(name, ComposeOwnerPicture(BasePicture(base), overlay, x, y, owner));
}

}  // namespace

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
