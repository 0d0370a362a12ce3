#include "units/OwnerColours.h"

#include <map>
#include <utility>

#include "core/Array.h"
#include "core/Color.h"
#include "core/Image.h"
#include "engine/Material.h"
#include "engine/Renderer.h"
#include "engine/RendererRef.h"
#include "game/Player.h"
#include "units/ChassisTable.h"

namespace {

// One player's pictures of one chassis family, one per painted part, in the colours they
// were made in.
struct FamilyPictures {
    Color primary;
    Color trim;
    RendererMark current;  // cleared when the renderer frees the pictures
    Array<TextureHandle> parts;
    TextureHandle atlas = nullptr;  // every part in one picture, laid out by the family's atlas
};

// By player and family row. An entry outlives its player; a later player at the same
// address repaints it when its colours differ.
std::map<std::pair<const Player*, int32_t>, FamilyPictures>& Pictures() {
    static std::map<std::pair<const Player*, int32_t>, FamilyPictures> pictures;
    return pictures;
}

bool IsCurrent(const FamilyPictures& pictures, const Player& owner, int parts) {
    return pictures.parts.Count() == parts && pictures.current.IsSet() &&
           pictures.primary.argb == owner.primaryColor.argb && pictures.trim.argb == owner.trimColor.argb;
}

void PaintAtlas(FamilyPictures& pictures, const Image& atlas) {
    Renderer& renderer = GetRenderer();
    if (pictures.atlas != nullptr) {
        renderer.CreateTextureImage(pictures.atlas, atlas);
    } else {
        pictures.atlas = renderer.CreateTextureImage(atlas, 1);
    }
}

void Paint(FamilyPictures& pictures, const Player& owner, const ChassisDefinition& family) {
    Renderer& renderer = GetRenderer();
    if (!pictures.current.IsSet()) {
        pictures.parts.Clear();
        pictures.atlas = nullptr;
    }
    Image atlas(family.partAtlas.Width(), family.partAtlas.Height());
    pictures.current.Set();
    pictures.primary = owner.primaryColor;
    pictures.trim = owner.trimColor;
    for (int i = 0; i < family.paintedPartImages.Count(); ++i) {
        const Image* part = family.paintedPartImages[i];
        Image picture(part != nullptr ? part->Width() : 1, part != nullptr ? part->Height() : 1);
        if (part != nullptr) picture.BlendBlit(*part, 0, 0, owner.primaryColor, owner.trimColor);
        family.partAtlas.Place(atlas, i, picture);
        if (i < pictures.parts.Count()) {
            renderer.CreateTextureImage(pictures.parts[i], picture);
        } else {
            pictures.parts.Append(renderer.CreateTextureImage(picture, 1));
        }
    }
    // A family without painted parts has no atlas to paint.
    if (atlas.Width() > 0 && atlas.Height() > 0) PaintAtlas(pictures, atlas);
}

}  // namespace

void ApplyOwnerColours(int32_t chassis, const Player& owner) {
    ChassisDefinition* row = ChassisTable::Row(chassis);
    const ChassisDefinition* family = ChassisTable::Row(chassis - ChassisTable::SizeClass(chassis));
    if (row == nullptr || family == nullptr || !GetRenderer().HasDevice()) return;
    FamilyPictures& pictures = Pictures()[{&owner, chassis - ChassisTable::SizeClass(chassis)}];
    const int parts = family->paintedPartImages.Count();
    if (!IsCurrent(pictures, owner, parts)) Paint(pictures, owner, *family);
    for (int i = 0; i < row->paintedPartMaterials.Count() && i < pictures.parts.Count(); ++i) {
        for (Material* material : row->paintedPartMaterials[i]) {
            if (!material->stages.IsEmpty()) material->stages[0].texture = pictures.parts[i];
        }
    }
    for (Material* material : row->atlasMaterials) {
        if (!material->stages.IsEmpty()) material->stages[0].texture = pictures.atlas;
    }
}
