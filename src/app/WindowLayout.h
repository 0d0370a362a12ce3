#pragma once
// Where the in-game windows stand: recomputed at start-up, when the screen changes and
// when a window opens that shifts the others. A window the program does not have (yet)
// is skipped.
void LayOutGameWindows();
// The launch-squad tray three quarters across the screen, below the tutorial's text box
// while the tutorial runs.
void PlaceLaunchSquadTray();
