#pragma once
// The program's in-memory picture: row-major packed colours, pixel (x, y) at y * width + x.
#include <cstddef>
#include <string_view>
#include <vector>

#include "core/Array.h"
#include "core/Color.h"

class Image {
public:
    Image() = default;
    // Pixels start transparent black.
    Image(int width, int height);

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool IsEmpty() const { return pixels_.empty(); }
    Color* Pixels() { return pixels_.data(); }
    const Color* Pixels() const { return pixels_.data(); }
    Color& At(int x, int y) { return pixels_[Index(x, y)]; }
    Color At(int x, int y) const { return pixels_[Index(x, y)]; }

    // Keeps the first elements of the old pixels as a flat array, not as a picture.
    void Resize(int width, int height);
    void Fill(Color colour);

    // The result becomes (width / 2) x (height / 2): each pixel the mean of the 3 x 3
    // window around its centre, weighted by inverse squared distance.
    void HalfSizePlain(Image& result) const;
    // As HalfSizePlain, but near-white keying pixels (red, green and blue all 248 or
    // more) are left out whenever other pixels of the window remain, so the key does
    // not bleed into its neighbours.
    void HalfSize(Image& result) const;

    // Draws the source with its top-left pixel at (x, y), clipped: colour blended by the
    // source alpha, alpha the larger of the two.
    void Blit(const Image& source, int x, int y);
    // Blits the source recoloured with the player's primary and trim colours (its blue
    // channel keeps its own colour).
    void BlendBlit(const Image& source, int x, int y, Color primary, Color trim);
    // Takes the alpha of every pixel from an image of the same size; nothing otherwise.
    void CopyAlphaFrom(const Image& other);
    // Team colouring of a painted texture: the grey part of each pixel stays, its red,
    // green and blue remainders become shares of the first, second and third colour.
    // A colour whose flag is false keeps its own channel (pure red, green or blue).
    void Recolour(Color first, Color second, Color third, bool useFirst = true, bool useSecond = true,
                  bool useThird = true);

    // Uncompressed 32-bit true-colour TGA, top row first; false when it was not written.
    bool SaveTGA(std::string_view fileName) const;

private:
    std::size_t Index(int x, int y) const { return static_cast<std::size_t>(y) * width_ + x; }
    void HalveInto(Image& result, bool keyed) const;

    int width_ = 0;
    int height_ = 0;
    std::vector<Color> pixels_;
};

// A window's button images: n empty images (none when n < 1).
class ImageArray : public ExactArray<Image> {
public:
    explicit ImageArray(int count) : ExactArray<Image>(count) {}
};
