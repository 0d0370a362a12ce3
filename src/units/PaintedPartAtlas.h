#pragma once
// One picture holding every painted part of a chassis family, so that all the painted
// parts of a body draw with a single texture instead of one each. Each part sits in its
// own cell inside a one-pixel border copied from the part's opposite edges: filtering at
// a part's edge then blends the same texels as the part's own wrapping texture did.
// Only coordinates within [0, 1] can be moved into a cell; parts that wrap further keep
// their own texture.
#include "core/Array.h"
#include "core/Image.h"
#include "core/Vector2.h"

class PaintedPartAtlas {
public:
    // Cells for parts of the images' sizes, in order, rows filled left to right; an
    // empty image takes one pixel. The picture's sides are powers of two.
    void Layout(const Array<Image*>& parts);
    int Width() const { return width_; }
    int Height() const { return height_; }
    int PartCount() const { return cells_.Count(); }
    // A part's texture coordinate, within [0, 1], as a coordinate of the atlas.
    Vector2 Map(int part, const Vector2& uv) const;
    // Copies a picture of the part's size into its cell and border; nothing for another size.
    void Place(Image& atlas, int part, const Image& picture) const;

private:
    struct Cell {
        int x = 0;  // the part's top-left pixel, inside the border
        int y = 0;
        int width = 1;
        int height = 1;
    };

    Array<Cell> cells_;
    int width_ = 0;
    int height_ = 0;
};
