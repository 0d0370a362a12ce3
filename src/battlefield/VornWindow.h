#pragma once
// The unit editor: the unit it shows.
#include "ui/Window.h"

class Vorn;

class VornWindow : public Window {
public:
    VornWindow() : Window("VornWindow") {}

    Vorn* vorn = nullptr;
};

VornWindow& GetVornWindow();
