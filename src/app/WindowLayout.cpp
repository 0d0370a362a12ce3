// The in-game window layout.
#include "app/WindowLayout.h"

#include "core/String.h"
#include "ui/TextBox.h"
#include "ui/UiServices.h"
#include "ui/Window.h"
#include "ui/WindowManager.h"

namespace {

constexpr int32_t kTextBoxHeight = 115;
constexpr int32_t kLaunchTrayTop = 128;
constexpr int32_t kBelowTutorialText = 132;

Window* Find(const char* name) { return GetWindowManager().FindWindowByName(String(name)); }

bool TextBoxOpen() {
    const TextBox* box = TextBox::Instance();
    return box != nullptr && box->open;
}

void LayOutTopWindows(bool compact, int32_t screenWidth) {
    if (TextBox* box = TextBox::Instance()) {
        box->Resize(Point(screenWidth - 2 * (box->frame.border + 4), kTextBoxHeight));
        box->MoveTo(Point(0, 0));
    }
    Window* unit = Find("VornWindow");
    if (unit != nullptr) unit->MoveTo(Point(0, 0));
    if (Window* pattern = Find("PatternWindow"); pattern != nullptr && unit != nullptr) {
        pattern->PlaceBelow(*unit, compact ? 25 : 26);
    }
    if (Window* squad = Find("SquadWindow")) squad->MoveTo(Point(0, -18));
}

void LayOutRightWindows(bool compact, int32_t screenWidth) {
    Window* tray = Find("WindowTray");
    if (tray == nullptr) return;
    tray->MoveTo(Point(screenWidth, 0));
    if (Window* map = Find("MiniMap")) map->MoveTo(Point(screenWidth, tray->bottom + (compact ? 27 : 36)));
    if (Window* selection = Find("SelectionTray")) selection->PlaceLeftOf(*tray, 36);
}

void LayOutBottomWindows(bool compact, const Point& screen) {
    if (Window* units = Find("VornTray")) {
        units->MoveTo(Point(0, screen.y));
        if (Window* squads = Find("SquadTray")) squads->MoveTo(Point(units->right + 36, units->top));
        if (Window* kills = Find("KillTray")) kills->MoveTo(Point(0, units->top - 37 - kills->Height()));
    }
    if (Window* control = Find("ControlTray")) {
        control->MoveTo(Point(screen.x, screen.y));
        if (Window* objects = Find("ObjectTray")) {
            objects->MoveTo(Point(screen.x, control->top - 1 - (compact ? 27 : 36) - objects->Height()));
        }
    }
}

}  // namespace

void PlaceLaunchSquadTray() {
    Window* tray = Find("LaunchSquadTray");
    if (tray == nullptr) return;
    int32_t top = kLaunchTrayTop;
    if (IsTutorialGame() && TextBox::Instance() != nullptr) top = TextBox::Instance()->bottom + kBelowTutorialText;
    const IntRect screen = UiScreenRect();
    const int32_t width = screen.right - screen.left + 1;
    tray->MoveTo(Point(int32_t(0.75f * float(width)) - tray->Width() / 2, top));
}

void LayOutGameWindows() {
    GetWindowManager().NotifyAll();
    const IntRect screen = UiScreenRect();
    const Point size(screen.right - screen.left + 1, screen.bottom - screen.top + 1);
    const bool compact = TextBoxOpen() && size.y <= 768;
    LayOutTopWindows(compact, size.x);
    LayOutRightWindows(compact, size.x);
    PlaceLaunchSquadTray();
    LayOutBottomWindows(compact, size);
    if (Window* paint = Find("PaintTray")) paint->MoveTo(Point(0, 0));
    Window* scoreboard = Find("Scoreboard");
    if (scoreboard != nullptr) scoreboard->MoveTo(Point(0, 0));
    if (Window* upgrades = Find("UpgradeWindow")) upgrades->Refresh();
    Window* chat = Find("ChatWindow");
    if (chat == nullptr) return;
    chat->MoveToBottomCentre();
    if (scoreboard != nullptr) scoreboard->PlaceBelow(*chat, 36);
}
