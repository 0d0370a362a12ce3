#pragma once
// The editors' pictures that carry the colours of a unit's owner: the beacon of the
// pattern palette and diagram, the beacon-setter and launcher weapon buttons and the unit
// editor's save button. Each is composed from its base picture and a recoloured overlay
// and replaces the texture of its name, so every sprite of that name shows it.
#include "core/Image.h"

class Player;

// The base with the overlay, recoloured in the owner's primary and trim colours, drawn
// over it with its top-left corner at (x, y). An overlay wider or taller than the base is
// halved until it fits and drawn in the base's middle. Without a base the overlay alone.
Image ComposeOwnerPicture(const Image& base, const Image& overlay, int x, int y, const Player& owner);

// The pattern editor's and debugger's beacon in the owner's colours.
void PaintPatternPictures(const Player& owner);
// The unit editor's pictures (beacon, weapon buttons, save button) in the owner's colours.
void PaintVornEditorPictures(Player& owner);
