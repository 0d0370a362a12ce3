#pragma once
// What the views of the game (the control tray, the scoreboard) hear of it. The game
// knows no window: start-up registers the views, and a headless game tells nobody.
// Every call has a default that ignores it.
class GameListener {
public:
    // The pause state or one of the local player's signals changed.
    virtual void OnControlsChanged() {}
    // A unit was lost: the kills and losses changed.
    virtual void OnScoresChanged() {}

protected:
    ~GameListener() = default;
};

// The one listener, or none.
void SetGameListener(GameListener* listener);
GameListener* GetGameListener();
