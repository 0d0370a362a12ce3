// The toolkit tests' scripted game and window, shared with these tests.
#include "ui/UiTestSupport.cpp"
