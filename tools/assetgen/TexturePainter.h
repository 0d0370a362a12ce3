#pragma once
// Paints every named texture from its name and the requirements of the manifest: terrain
// tiles and corner masks, particles and decals, window pieces, and icons with labels in
// the game's own letters.
#include <string>

#include "core/Image.h"

namespace assetgen {

struct TextureNeeds {
    int width = 64;
    int height = 64;
    bool greyRing = false;      // grey outer ring that the game clears for the "off" look
    bool recolourKeys = false;  // pure red and pure green regions for the owner's colours
    bool clearBorder = false;   // transparent edge, for decals drawn with border addressing
    bool opaque = false;
};

// name: the file title ("GrassTile3"); seeds the generator from the name.
Image PaintTexture(const std::string& name, const TextureNeeds& needs);

// A round button of the name's colour with a picture centred on it.
Image PaintButtonAround(const std::string& name, const TextureNeeds& needs, const Image& picture);

// The campaign map's pictures: a star, or a planet, in colours of its own name.
Image PaintMapPicture(const std::string& name, bool star, int size);

// The short label an icon carries, made from its name ("PlayGameMenuButton" -> "PLAY").
std::string IconLabel(const std::string& name, std::size_t maxLetters);

}  // namespace assetgen
