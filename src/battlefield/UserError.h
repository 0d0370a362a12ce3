#pragma once
// A refused action as the player sees it: the shared error box shows the text of the
// key, emptied of what it said before, and "Illegal.ogg" plays.
void ShowUserError(const char* textKey);
