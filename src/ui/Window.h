#pragma once
// The base of every screen, tray, menu and dialog: a rectangle of the screen with an
// optional eight-piece frame, an optional solid background, a grid of image buttons whose
// first item is the close button, and an optional 3-D camera.
//
// Windows are made once and live for the whole run; the window manager opens and closes
// them. A window never acts on a user's action at once: it posts an event with itself as
// target, and acts when the game hands the event back to HandleCommand, so that a game
// mode can watch, script or block every command.
#include <cstdint>

#include "core/IntRect.h"
#include "core/Matrix4.h"
#include "core/Point.h"
#include "core/String.h"
#include "core/Vector3.h"
#include "engine/InputEvent.h"
#include "game/EventTarget.h"
#include "ui/WindowFrame.h"

class Event;
class Highlighter;
class Mesh;
class SpriteGrid;
class WindowCamera;
struct Sprite;

// What a tutorial asks a window to point at: the whole window (kind 0) or a part of it
// by name (kind 1).
struct HighlightRequest {
    int32_t kind = 0;
    String name;
};

class Window : public EventTarget {
public:
    enum DragMode : int32_t { kDragNone = 0, kDragMoving = 1, kDragResizing = 2 };
    static constexpr Color kBackgroundColour = Color(0xFF26342B);
    static constexpr int32_t kCloseButtonSize = 16;

    // Registers the window with the manager.
    Window();
    explicit Window(const String& windowName);
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // Frame textures, background, colours and layout. The renderer resources are made on
    // first use (opening or drawing), so that a window may be constructed before there
    // is a renderer or a data folder.
    virtual void Initialize();
    virtual void OnOpen();
    virtual void OnClose();
    virtual void OnBeginMove();
    virtual void OnMove();
    virtual void OnEndMove();
    virtual void OnBeginResize();
    virtual void OnResize();
    virtual void OnEndResize();
    // Re-reads what the window shows.
    virtual void Refresh();
    virtual void Render();
    virtual void DrawContents();
    virtual void UpdateLayout();
    virtual void CreateBackground();
    virtual void DrawBackground();
    // True when the input was consumed.
    virtual bool HandleMouse(const InputEvent& input);
    // Whether Escape that reaches the window closes it: the key is then its own, and the
    // game's Escape (the question whether to leave) hears nothing of it.
    virtual bool TakesEscape() const { return false; }
    void HandleCommand(Event& event) override;
    virtual void HitTestControls(const Point& point);
    virtual void SetHighlightColour();
    virtual void SetNormalColour();
    virtual void GetHighlightShape(const HighlightRequest& request, Highlighter& highlighter);
    virtual void GetToolTip();
    // Screen pixels a tip over this window must leave readable (a title); empty: none.
    virtual IntRect ToolTipKeepClear() const { return IntRect(); }
    virtual void SetRect(const IntRect& rect);
    virtual bool ContainsPoint(const Point& point) const;
    // Moves the top-left corner to the point, kept on the screen.
    virtual void MoveTo(const Point& point);
    // Where MoveTo would put the top-left corner, at the window's present size.
    Point OnScreenPlace(const Point& point) const;
    // Width and height in pixels, kept on the screen.
    virtual void Resize(const Point& size);

    // The renderer resources, once.
    void EnsureResources();
    bool HasResources() const;
    // Lets go of sprites a restarted renderer has freed, so nothing reaches them before
    // they are made again.
    void ForgetStaleResources();
    // A subclass's own sprites, made once with the window's.
    virtual void CreateResources();
    // The renderer is going: forget what it made for this window (it frees it), so that
    // the next use makes everything again. A subclass holding renderer objects of its
    // own forgets them too and calls this.
    virtual void ReleaseResources();

    void CentreOnScreen();
    void MoveToBottomCentre();
    void MoveToScreenCentre();
    void PlaceBelow(const Window& other, int32_t gap);
    void PlaceLeftOf(const Window& other, int32_t gap);
    void SetRectValues(int32_t newLeft, int32_t newTop, int32_t newRight, int32_t newBottom);
    void SetFullScreen(bool on);
    void SetFrameColour(Color colour);
    IntRect Rect() const { return IntRect(left, top, right, bottom); }
    Point GetTopLeft() const { return Point(left, top); }
    Point GetTopRight() const { return Point(right, top); }
    Point GetBottomLeft() const { return Point(left, bottom); }
    Point GetCenter() const { return Point((left + right + 1) / 2, (top + bottom + 1) / 2); }
    int32_t Width() const { return right - left; }
    int32_t Height() const { return bottom - top; }
    IntRect GetMoveHandleRect() const;
    IntRect GetResizeHandleRect() const;
    bool IsUnderPoint(const Point& point) const;
    // A text line across the screen at scale 1.5, the n-th below the top (or below the
    // text box while that is open).
    void DrawMessageLine(const String& text, int32_t line) const;

    // Each takes a fresh event of the current game, queues it with this window as target
    // and returns it, so that the caller can fill further fields; none without a game.
    Event* PostEvent(int32_t type);
    Event* PostEventInt(int32_t type, int32_t value);
    Event* PostEventPoint(int32_t type, const Point& point);
    Event* PostEventPosition(int32_t type, const Point& point);
    Event* PostEventVector(int32_t type, const Vector3& vector);
    Event* PostEventPointer(int32_t type, void* pointer);
    Event* PostEventString(int32_t type, const String& text);

    float toolTipDelay = 0.5f;
    int32_t left = 5;
    int32_t top = 5;
    int32_t right = 104;
    int32_t bottom = 104;
    int32_t id = 0;
    String name;
    bool movable = true;
    bool resizable = false;
    bool closeButton = false;
    int32_t dragMode = kDragNone;
    bool fullScreen = false;
    bool dirty = true;
    bool passesInput = false;
    bool open = false;
    bool frameShown = true;
    bool backgroundShown = false;
    WindowCamera* camera = nullptr;
    Vector3 pointerGroundPoint;
    WindowFrame frame;
    Mesh* background = nullptr;
    Matrix4 backgroundMatrix;
    IntRect savedRect;
    SpriteGrid* controls = nullptr;
    Sprite* closeSprite = nullptr;

protected:
    static void PlaySound(const char* soundName);

private:
    bool HoldsCloseButton() const;
    void PlaceCloseButton();
    bool resourcesMade_ = false;
    RendererMark resourcesCurrent_;  // cleared when the renderer frees what it made
};

// The pointer's position in the previous frame, which drags measure their steps from.
Point PreviousPointerPosition();
