// The base of every window.
#include "ui/Window.h"

void Window::Refresh() {}
