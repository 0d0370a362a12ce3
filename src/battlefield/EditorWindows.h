#pragma once
// Makes the unit and pattern editors, the debugger and their menus once at start-up, so
// that every window is registered before the first frame.
void CreateEditorWindows();
