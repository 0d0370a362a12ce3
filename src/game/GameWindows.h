#pragma once
// What the game's input step and drawing need of the window toolkit. The toolkit
// implements it and the start-up sequence registers it; with none registered (headless
// runs) input reaches no window and nothing is drawn.
#include "core/IntRect.h"
#include "core/Vector3.h"
#include "engine/InputEvent.h"

class GameWindows {
public:
    // A left-button release while the battlefield window drags goes to that window; true
    // when it consumed the record.
    virtual bool PreviewRelease(const InputEvent& input) = 0;
    // Offers a record to the mouse-capture windows and then to the open windows under the
    // pointer, front to back; true when one consumed it. The menus' music key and the
    // main menu's clicks outside it are handled here too when nothing consumed it.
    virtual bool OfferInput(const InputEvent& input) = 0;
    // Pointer moves and frame ticks: every open window, front to back.
    virtual void BroadcastInput(const InputEvent& input) = 0;
    // After a frame tick: the window under the pointer tests its controls for hovering and
    // comes to the front unless it keeps its place.
    virtual void HoverAt(const InputEvent& input) = 0;
    // Whether an open edit box or the chat window takes typed characters; those then do
    // not feed the game's chat line.
    virtual bool TakesCharacters() const = 0;
    // Whether the input is an Escape (its key or its character) that closes the list or
    // menu open in front: the game's own Escape then does not hear it.
    virtual bool ClaimsEscape(const InputEvent&) { return false; }
    // Every open window, back to front.
    virtual void RenderWindows() = 0;
    // The window frame that zooms between two rectangles, at this frame's rectangle.
    virtual void DrawZoomFrame(const IntRect& rect) = 0;
    // The arena lives only while the battlefield window shows it.
    virtual bool IsBattlefieldOpen() const = 0;
    // The battlefield camera starts on one ground point, faces another and glides to it.
    virtual void AimBattlefieldCamera(const Vector3& lookFrom, const Vector3& target) = 0;
    // The player's upgrades changed: every window shows them again and the in-game
    // windows are laid out anew.
    virtual void RefreshAndLayOut() {}

protected:
    ~GameWindows() = default;
};

void SetGameWindows(GameWindows* windows);
GameWindows* GetGameWindows();
