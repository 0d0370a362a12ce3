#pragma once
// Colour touch-ups of buttons and round icons.
#include "core/Color.h"

class Image;

// Scales red, green and blue by 255 / (the largest of them) in integer arithmetic, with
// alpha 255; black becomes opaque white.
Color BrightenColor(Color colour);
// Both colours scaled by the one factor that brings the largest channel of either to
// 255, so the pair keeps its contrast; two blacks become opaque white.
void BrightenColorPair(Color& first, Color& second);
// Grey pixels (each pair of red, green and blue within 8) far from the centre become
// transparent black, which cuts a round icon out of its grey square. Images under 2 x 2
// have no outside to cut and stay as they are.
void ClearGreyOuterPixels(Image& image);
