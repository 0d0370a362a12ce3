#pragma once
// Pictures of a figure compared: how many of a box's pixels differ between two pictures of
// the same screen.
#include <algorithm>

#include "core/Image.h"
#include "core/IntRect.h"

namespace play_test {

inline int PixelsChanged(const Image& before, const Image& after, const IntRect& box) {
    int count = 0;
    for (int y = std::max(box.top, 0); y <= box.bottom && y < before.Height() && y < after.Height(); ++y) {
        for (int x = std::max(box.left, 0); x <= box.right && x < before.Width() && x < after.Width(); ++x) {
            count += before.At(x, y).argb != after.At(x, y).argb ? 1 : 0;
        }
    }
    return count;
}

}  // namespace play_test
