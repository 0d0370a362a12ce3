#pragma once
// What every window of the toolkit draws and sounds with: the screen in pixels, the
// screen camera, the interface sounds, the language texts and the sprites of the
// toolkit's images.
#include <cstdint>

#include "core/Color.h"
#include "core/IntRect.h"
#include "core/Point.h"
#include "core/String.h"
#include "core/Vector2.h"

struct Sprite;

// The renderer's screen rectangle, both corners inclusive; before there is a device, the
// headless device's size, so layout works the same in tests.
IntRect UiScreenRect();
// The pixel camera over the whole screen becomes the current camera; lighting off.
void UseScreenCamera();
// Plays one of the interface's sounds ("MouseDown.ogg", ...) at the effects volume.
void PlayUiSound(const char* name);
// Plays one of the battle's sounds at the battlefield's effect volume.
void PlayBattleSound(const char* name);
// A sprite of the texture folder's image. A missing image gives an untextured sprite
// and a line in the debug log: a window must not take the program down for a picture.
Sprite* CreateUiSprite(int32_t width, int32_t height, const String& image, int32_t anchor);
// The width and height of a text in the shared font at the scale.
Vector2 MeasureText(const String& text, float scale);
float FontLineHeight();
// Draws with the shared font; the caller sets the blend state.
void DrawUiText(const String& text, float x, float y, Color colour, float scale);
// White text centred on the point at the scale.
void DrawTextCentred(const String& text, const Vector2& centre, float scale);
// The toolkit's frame counter, advanced once per frame tick; the recent lists stamp
// their entries with it.
uint32_t UiFrameCounter();
void AdvanceUiFrameCounter();
// The depth test on or off for the 2-D layers drawn over each other.
void SetDepthTest(bool on);
// The depth comparison always passes, or is back to less-or-equal.
void SetDepthAlways(bool always);
namespace win {
class SystemWindow;
}
// The window whose pointer the toolkit may move; the shell sets it.
void SetUiSystemWindow(win::SystemWindow* window);
// Moves the pointer to the point (client pixels); the mouse knows at once.
void MovePointer(const Point& point);
// The sprite's quad takes the colour, uploaded at once.
void TintSprite(Sprite* sprite, Color colour);
// Whether the current game is the tutorial game (its mode name says so).
bool IsTutorialGame();
