#pragma once
// One-line texts that windows hand to the program to draw over every window (labels
// placed into rectangles, status lines). The shell implements the queue and registers it
// at start-up; with none registered the texts are dropped.
#include <cstdint>

#include "core/Color.h"
#include "core/IntRect.h"
#include "core/String.h"
#include "core/Vector2.h"

enum class TextPlacement : int32_t {
    kLeftMiddle = 0,  // at the left edge, centred vertically
    kCentre = 1,
    kAboveCentre = 2,  // centred above the rectangle, below it when there is no room
};

class ScreenTextQueue {
public:
    // The frame list is drawn after the windows and emptied every frame; the console list
    // waits for DrawQueuedTexts.
    virtual void QueueText(const String& text, const Vector2& position, Color colour, bool backdrop,
                           bool frameList) = 0;
    virtual void QueueTextInRect(const String& text, const IntRect& rect, TextPlacement placement, Color colour,
                                 bool backdrop, bool frameList) = 0;
    virtual void DrawQueuedTexts() = 0;

protected:
    ~ScreenTextQueue() = default;
};

void SetScreenTextQueue(ScreenTextQueue* queue);
// The registered queue, or none.
ScreenTextQueue* GetScreenTextQueue();
