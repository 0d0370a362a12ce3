#pragma once
// A pattern drawn small into a screen rectangle through a camera straight above the
// editing area, turned as the pattern editor shows it (+x up). The unit editor's slots,
// the debugger's cells and a carried pattern use it.
#include "core/Color.h"
#include "core/IntRect.h"
#include "engine/Camera.h"

class Pattern;

class PatternThumbnail {
public:
    static constexpr float kEyeHeight = 61.0f;
    // Three times the pattern editor's sizes (the editor draws at zoom 32), so the icons
    // and the path still show in a cell of a few dozen pixels.
    static constexpr float kZoom = 3.0f * 32.0f;

    PatternThumbnail();
    // The rectangle is cleared to the colour (none when fully transparent) and the depth
    // buffer reset, then the pattern is drawn into it. The screen camera is current after.
    void Draw(const Pattern& pattern, const IntRect& rect, Color clearColour);

    Camera camera;
};
