// The engine tests' offscreen GL window and test font, shared with the screens'
// screenshot tests.
#include "engine/GlTestWindow.cpp"
#include "engine/TestFont.cpp"
