// The engine tests' offscreen GL window and test font, shared with the battle's screenshot test.
#include "engine/GlTestWindow.cpp"
#include "engine/TestFont.cpp"
