// The toolkit's fixture, shared with the screens' tests.
#include "ScreenTestSupport.h"

#include "ui/UiTestSupport.cpp"
#include "ui/WindowManager.h"

namespace screens_test {

bool ScreenTest::IsOpen(const Window& window) const { return GetWindowManager().IsOpen(&window); }

}  // namespace screens_test
