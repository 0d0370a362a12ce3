#pragma once
// Small pictures that say what a button does without words: the weapons, the objects a
// pattern can hold, the conditionals and actions, the map tests and the paint tools.
#include <string>

#include "Canvas.h"

namespace assetgen {

// The subject a texture's name shows ("LaserButton" -> "Laser",
// "InjuredConditionalButton32" -> "Injured"); empty when no pictogram draws it.
std::string PictogramSubject(const std::string& textureName);

// Draws the subject centred at (cx, cy) within a box of half-size `half` pixels.
void DrawPictogram(Canvas& canvas, const std::string& subject, float cx, float cy, float half);

// The button colour that goes with the subject, so related buttons look alike.
Rgba PictogramColour(const std::string& subject);

}  // namespace assetgen
