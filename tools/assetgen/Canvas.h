#pragma once
// A floating-point RGBA picture that shapes are painted onto. Shapes are given as signed
// distances in pixels (negative inside), so every edge gets one pixel of anti-aliasing
// without supersampling.
#include <functional>
#include <vector>

#include "core/Image.h"

namespace assetgen {

struct Rgba {
    float r = 0, g = 0, b = 0, a = 0;
};

constexpr Rgba RgbaFrom(int red, int green, int blue, int alpha = 255) {
    return {red / 255.0f, green / 255.0f, blue / 255.0f, alpha / 255.0f};
}

Rgba Mix(Rgba a, Rgba b, float t);

// Signed distance of a pixel centre to a shape's edge, in pixels.
using Distance = std::function<float(float x, float y)>;
// Colour of a pixel centre, for gradients and noise.
using Shader = std::function<Rgba(float x, float y)>;

class Canvas {
public:
    Canvas(int width, int height);

    int Width() const { return width_; }
    int Height() const { return height_; }
    Rgba Get(int x, int y) const { return pixels_[Index(x, y)]; }
    void Set(int x, int y, Rgba colour) { pixels_[Index(x, y)] = colour; }

    // Composites the colour over every pixel the shape covers, by coverage.
    void Fill(const Distance& shape, Rgba colour);
    void Fill(const Distance& shape, const Shader& shader);
    // The same, limited to the pixels of a rectangle (for small shapes on large pictures).
    void FillWithin(const Distance& shape, Rgba colour, int left, int top, int right, int bottom);
    // Every pixel replaced by the shader's colour.
    void Paint(const Shader& shader);
    // Multiplies every alpha by the coverage of the shape (a cut-out).
    void Mask(const Distance& shape);

    Image ToImage() const;

private:
    std::size_t Index(int x, int y) const { return std::size_t(y) * width_ + x; }
    void Over(int x, int y, Rgba colour, float coverage);

    int width_;
    int height_;
    std::vector<Rgba> pixels_;
};

// Shapes (pixel units, y down).
Distance Circle(float cx, float cy, float radius);
Distance Ring(float cx, float cy, float radius, float width);
Distance Box(float cx, float cy, float halfWidth, float halfHeight, float corner = 0);
// A convex or concave polygon, corners in order.
Distance Polygon(std::vector<float> xy);
// A thick line with round ends.
Distance Segment(float x0, float y0, float x1, float y1, float width);
Distance Star(float cx, float cy, float outer, float inner, int points, float turn = 0);
Distance Union(Distance a, Distance b);
Distance Subtract(Distance a, Distance b);

}  // namespace assetgen
