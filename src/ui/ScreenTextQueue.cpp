// The registered screen-text queue.
#include "ui/ScreenTextQueue.h"

namespace {

ScreenTextQueue* gQueue = nullptr;

}  // namespace

void SetScreenTextQueue(ScreenTextQueue* queue) { gQueue = queue; }

ScreenTextQueue* GetScreenTextQueue() { return gQueue; }
