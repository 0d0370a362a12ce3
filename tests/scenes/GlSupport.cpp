// The engine tests' offscreen GL window, shared with the scenes' screenshot test.
#include "engine/GlTestWindow.cpp"
