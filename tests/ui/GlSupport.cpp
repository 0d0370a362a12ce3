// The engine tests' offscreen GL window and test font, shared with the window toolkit's
// screenshot tests.
#include "engine/GlTestWindow.cpp"
#include "engine/TestFont.cpp"
