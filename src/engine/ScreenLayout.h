#pragma once
// Small layout and input rules the screens share: scaled rectangles, the buttons on both
// sides of the chat window, and which input the battlefield camera takes.
#include "core/IntRect.h"
#include "core/Point.h"
#include "engine/InputEvent.h"

class Mouse;
class SpriteGrid;

// (right - left + 1, bottom - top + 1).
Point RectSize(const IntRect& rect);
// Grows the rectangle by (factor - 1) / 2 of its width on all four sides (the height
// plays no part, so every side moves by the same number of pixels).
IntRect ScaleRect(const IntRect& rect, float factor);
// The grid's visible items in one row along the bottom of the screen, evenly spaced;
// with shift the row leaves room for two more on the left. Hidden items keep their
// places.
void LayOutButtonRow(SpriteGrid& grid, const IntRect& screen, bool shift);
// Four buttons in the bottom row: the first in the middle of the space left of the chat
// window, the others at one half, one third and two thirds of the space on its right.
void GetBottomButtonPositions(const IntRect& screen, const IntRect& chatWindow, Point positions[4]);
// The top-left corner of the launch-squad tray: centred on three quarters of the screen's
// width, its top at 128, or 132 below the tutorial's text box while that shows
// (textBoxBottom < 0: no text box).
Point LaunchSquadTrayPosition(int32_t screenWidth, int32_t trayWidth, int32_t textBoxBottom);
// Whether a window passes the input on to the battlefield camera: the mouse buttons and
// the wheel, and the camera's keys (some only with Control held, some only without).
bool IsCameraInput(const InputEvent& input, const Mouse& mouse);
