// The engine tests' offscreen GL window, shared with the battlefield's screenshot test.
#include "engine/GlTestWindow.cpp"
