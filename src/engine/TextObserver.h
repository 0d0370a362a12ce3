#pragma once
// Lets a watcher learn of every text run the renderer draws, with its place and size, so
// that what a frame showed can be listed: tests that play the program ask whether a text
// is on screen and inside its box. The program itself sets no observer; drawing then
// costs one test of a pointer.
#include "core/Color.h"
#include "core/String.h"
#include "core/Vector2.h"

class Font;

struct DrawnText {
    String text;
    Vector2 position;  // the run's top-left corner, in the pixels of the camera it was drawn under
    Vector2 size;      // its extent at the scale, as the font measures it
    float scale = 1.0f;
    Color colour;
};

class TextObserver {
public:
    virtual ~TextObserver() = default;
    virtual void TextDrawn(const DrawnText& run) = 0;
};

// The observer told of every run drawn from now on; null for none. Returns the one it replaces.
TextObserver* SetTextObserver(TextObserver* observer);
// Tells the observer, when one is set, of a run drawn with the font.
void ReportDrawnText(const String& text, const Vector2& position, const Font& font, Color colour, float scale);
