#pragma once
// The one gatherer of mouse and keyboard input: it turns the window's messages into
// InputEvent records in its queue, keeps the pointer position and the table of held keys,
// and manages the system cursor while the player carries or places something.
//
// Each frame: PollPosition empties the queue and queues a pointer move, the window's
// messages go through HandleMessage, and UpdateCursor queues the frame tick that ends
// the frame's input; the game then hands the queue to its windows.
#include <cstdint>
#include <vector>

#include "core/Array.h"
#include "core/IntRect.h"
#include "core/Point.h"
#include "core/String.h"
#include "engine/InputEvent.h"

struct Sprite;
namespace win {
class SystemWindow;
struct Message;
struct CursorImage;
}  // namespace win

// Keeps held-key state of its own (the window cameras) that has to be forgotten when the
// application loses the focus, because the key releases then go to another program.
class HeldKeyListener {
public:
    virtual void ReleaseHeldKeys() = 0;

protected:
    ~HeldKeyListener() = default;
};

// Draws what only the windows above the engine know how to draw at the pointer: a
// carried pattern (through the unit editor's camera, into the box, depth cleared first)
// and a carried squad's button. The shell registers it; without one nothing is drawn.
class CarriedItemPainter {
public:
    virtual void DrawCarriedPattern(const IntRect& box) = 0;
    virtual void DrawCarriedSquad(const IntRect& box) = 0;

protected:
    ~CarriedItemPainter() = default;
};

class Mouse {
public:
    static constexpr int32_t kModeSquadButton = 4;
    static constexpr int32_t kModePattern = 13;
    // The battlefield highlights what the pointer is over (and turns a carried object).
    static constexpr int32_t kModeHighlight = 15;
    static constexpr int32_t kModeNothing = 21;
    // The markers' side in pixels, and the half side of a carried pattern's or squad's box.
    static constexpr int kMarkerSize = 32;
    static constexpr int kCarriedBoxHalf = 24;
    static constexpr int kKeyCount = 256;
    // Translated codes of the keys that edit boxes also take as characters.
    static constexpr int32_t kCodeDelete = 3;
    static constexpr int32_t kCodeLeft = 4;
    static constexpr int32_t kCodeRight = 5;
    static constexpr int32_t kCodeUp = 6;
    static constexpr int32_t kCodeDown = 7;
    static constexpr int32_t kCodeHome = 10;
    static constexpr int32_t kCodeEnd = 11;
    // requestedCursor: 0 leaves the window's arrow, 1 shows the program's own cursor.
    static constexpr int32_t kCursorSystem = 0;
    static constexpr int32_t kCursorOwn = 1;

    Mouse();
    virtual ~Mouse();
    Mouse(const Mouse&) = delete;
    Mouse& operator=(const Mouse&) = delete;

    // Whether the mode is one in which the player carries or places something, which
    // pauses the simulation (modes 2, 3, 4, 9, 14 and 15).
    static bool IsPlacingMode(int32_t mode);
    // A virtual-key code as the game's tables index it: Delete, the arrows, Home and End
    // move to codes below 12; every other key keeps its code.
    static int32_t TranslateKey(int virtualKey);
    // The picture of the program's own cursor.
    static win::CursorImage OwnCursorImage();

    // The window whose pointer and cursor the mouse uses; none until start-up sets it.
    void AttachWindow(win::SystemWindow* window) { window_ = window; }

    // Start of a frame: previous position = current, marker flags cleared, queue emptied,
    // the pointer read (while active) and a pointer-move event queued.
    void PollPosition();
    // One window message.
    void HandleMessage(const win::Message& message);
    // Start of the update step: queues the frame tick and applies the requested cursor.
    void UpdateCursor();
    // Stores what the player now carries and hides the system cursor.
    void HideCursor(int32_t carriedMode, Sprite* sprite);
    // Nothing carried any more; the system cursor shows again.
    void ShowCursor();

    // The two marker sprites, "X.tga" and "DollarSign.tga" from the texture folder; once
    // the renderer exists.
    void LoadCursorSprites();
    // What the pointer carries and the markers, on the screen camera without depth test;
    // after the windows, before the help texts.
    void Draw();
    void SetCarriedItemPainter(CarriedItemPainter* painter) { painter_ = painter; }

    // Told when held keys must be forgotten; a listener removes itself before it dies.
    void AddHeldKeyListener(HeldKeyListener* listener);
    void RemoveHeldKeyListener(HeldKeyListener* listener);
    // Clears the held-key table and every listener's.
    void ReleaseHeldKeys();

    // Whether the key is down. While the windows handle a queued event, Shift, Control and
    // Alt read as they were when that event came: a frame's keys are all taken in before
    // any is handled, and Ctrl+F pressed and let go within one frame is still Ctrl+F.
    bool IsKeyHeld(int32_t code) const;
    void HandlingEvent(int32_t index) { handlingEvent_ = index; }
    void DoneHandlingEvents() { handlingEvent_ = -1; }
    const Array<InputEvent>& Events() const { return events; }

    int32_t requestedCursor = kCursorSystem;
    Point position;
    Point previousPosition;
    Sprite* carriedSprite = nullptr;
    // Drag state that the windows starting and ending drags store and compare.
    String dragText;
    int32_t dragIndex = -1;
    void* dragObject = nullptr;
    Point dragOrigin;
    IntRect dragRect;
    uint8_t drawMarkers = 0;
    uint8_t addCoinMarker = 0;
    uint8_t shiftMarkers = 0;
    float markerScale = 1.0f;
    // 1 while the key of that translated code is down (16 Shift, 17 Control, 90 Z ...).
    int32_t heldKeys[kKeyCount] = {};
    uint8_t active = 1;
    Sprite* markerSprite = nullptr;  // "X.tga"
    Sprite* coinSprite = nullptr;    // "DollarSign.tga"
    // The carried kind 0..21 that a window hands over when it starts a drag or a placing.
    int32_t mode = kModeNothing;
    int32_t previousMode = kModeNothing;
    uint8_t keyMap[kKeyCount] = {};
    Array<InputEvent> events;
    // Shift, Control and Alt (bits 0, 1, 2) held when each queued event came.
    Array<uint8_t> eventModifiers;
    int32_t handlingEvent_ = -1;

private:
    void Queue(int32_t kind, int32_t code);
    void HandleKeyDown(const win::Message& message);
    void ApplyCursorShape();
    void DrawCarriedSprite(const Sprite& sprite) const;
    void DrawCarriedItem();
    void DrawMarkers() const;

    win::SystemWindow* window_ = nullptr;
    int32_t appliedCursor_ = kCursorSystem;
    std::vector<HeldKeyListener*> listeners_;
    CarriedItemPainter* painter_ = nullptr;
};

Mouse& GetMouse();
