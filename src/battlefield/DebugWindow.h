#pragma once
// The pattern debugger: the unit under debug.
#include "ui/Window.h"

class Vorn;

class DebugWindow : public Window {
public:
    DebugWindow() : Window("DebugWindow") {}

    void SetVorn(Vorn* debugged) { vorn = debugged; }

    Vorn* vorn = nullptr;
};

DebugWindow& GetDebugWindow();
