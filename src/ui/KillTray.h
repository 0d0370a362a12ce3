#pragma once
// The tray of edited units that left the battlefield, kept so that the player can still
// save them. It holds the units; they stay out of their pool while here.
#include <cstdint>

#include "core/Array.h"
#include "ui/Tray.h"

class Vorn;

class KillTray : public Tray {
public:
    KillTray() : Tray("KillTray") {}

    void AddVorn(Vorn* vorn);
    int32_t VornCount() const { return vorns_.Count(); }
    Vorn* GetVorn(int32_t i) const { return vorns_[i]; }
    void Clear() { vorns_.Clear(); }

private:
    Array<Vorn*> vorns_;
};

KillTray& GetKillTray();
