#pragma once
// The editors' pictures that carry the colours of a unit's owner: the beacon of the
// pattern palette and diagram, the beacon-setter and launcher weapon buttons and the unit
// editor's save button. Each is composed from its base picture and a recoloured overlay
// and replaces the texture of its name, so every sprite of that name shows it.
class Player;

// The pattern editor's and debugger's beacon in the owner's colours.
void PaintPatternPictures(const Player& owner);
// The unit editor's pictures (beacon, weapon buttons, save button) in the owner's colours.
void PaintVornEditorPictures(Player& owner);
