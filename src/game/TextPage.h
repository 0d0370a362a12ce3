#pragma once
// One page of a mission's or a tutorial's text: its lines and the speech clip spoken with
// it (empty for none).
#include "core/Array.h"
#include "core/String.h"

struct TextPage {
    StringArray lines;
    String speech;
};
