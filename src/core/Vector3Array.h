#pragma once
// A growable array of Vector3 with the program's growth rule (control points, bounding
// sphere inputs).
#include "core/Array.h"
#include "core/Vector3.h"

class Vector3Array : public Array<Vector3> {
public:
    using Array::Array;
    using Array::operator=;
    Vector3Array() = default;
};
