#include "units/PaintedPartAtlas.h"

#include <algorithm>

namespace {

// Rows of cells are no wider than this, unless one part alone is.
constexpr int kRowWidth = 512;

int PowerOfTwoAtLeast(int n) {
    int p = 1;
    while (p < n) p *= 2;
    return p;
}

// The wrapped index of a pixel one outside either edge.
int Wrapped(int i, int size) { return (i + size) % size; }

}  // namespace

void PaintedPartAtlas::Layout(const Array<Image*>& parts) {
    cells_.Clear();
    int x = 0, y = 0, rowHeight = 0, widest = 0;
    for (const Image* part : parts) {
        Cell cell;
        if (part != nullptr && !part->IsEmpty()) {
            cell.width = part->Width();
            cell.height = part->Height();
        }
        if (x > 0 && x + cell.width + 2 > kRowWidth) {
            x = 0;
            y += rowHeight;
            rowHeight = 0;
        }
        cell.x = x + 1;
        cell.y = y + 1;
        x += cell.width + 2;
        rowHeight = std::max(rowHeight, cell.height + 2);
        widest = std::max(widest, x);
        cells_.Append(cell);
    }
    width_ = PowerOfTwoAtLeast(std::max(widest, 1));
    height_ = PowerOfTwoAtLeast(std::max(y + rowHeight, 1));
}

Vector2 PaintedPartAtlas::Map(int part, const Vector2& uv) const {
    if (part < 0 || part >= cells_.Count()) return uv;
    const Cell& cell = cells_[part];
    return Vector2((float(cell.x) + uv.x * float(cell.width)) / float(width_),
                   (float(cell.y) + uv.y * float(cell.height)) / float(height_));
}

void PaintedPartAtlas::Place(Image& atlas, int part, const Image& picture) const {
    if (part < 0 || part >= cells_.Count() || atlas.Width() != width_ || atlas.Height() != height_) return;
    const Cell& cell = cells_[part];
    if (picture.Width() != cell.width || picture.Height() != cell.height) return;
    for (int y = -1; y <= cell.height; ++y) {
        for (int x = -1; x <= cell.width; ++x) {
            atlas.At(cell.x + x, cell.y + y) = picture.At(Wrapped(x, cell.width), Wrapped(y, cell.height));
        }
    }
}
