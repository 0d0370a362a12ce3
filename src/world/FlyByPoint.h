#pragma once
// A ground point through which the camera's fly-by loop passes.
#include "core/Vector3.h"

class FlyByPoint {
public:
    Vector3 position;  // x, y and the terrain height when the point was set
};
