#include "Canvas.h"

#include <algorithm>
#include <cmath>

namespace assetgen {
namespace {

float Coverage(float distance) { return std::clamp(0.5f - distance, 0.0f, 1.0f); }

uint8_t ToByte(float value) { return uint8_t(std::lround(std::clamp(value, 0.0f, 1.0f) * 255.0f)); }

}  // namespace

Rgba Mix(Rgba a, Rgba b, float t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}

Canvas::Canvas(int width, int height) : width_(width), height_(height), pixels_(std::size_t(width) * height) {}

void Canvas::Over(int x, int y, Rgba colour, float coverage) {
    const float a = colour.a * coverage;
    if (a <= 0) return;
    Rgba& d = pixels_[Index(x, y)];
    const float outA = a + d.a * (1 - a);
    // Straight (not premultiplied) alpha: the colour of a pixel over transparency stays
    // exactly the painted colour, which keeps recolour keys pure at soft edges.
    auto channel = [&](float s, float dst) { return (s * a + dst * d.a * (1 - a)) / outA; };
    d = {channel(colour.r, d.r), channel(colour.g, d.g), channel(colour.b, d.b), outA};
}

void Canvas::Fill(const Distance& shape, Rgba colour) {
    Fill(shape, [colour](float, float) { return colour; });
}

void Canvas::Fill(const Distance& shape, const Shader& shader) {
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            const float px = x + 0.5f, py = y + 0.5f;
            const float c = Coverage(shape(px, py));
            if (c > 0) Over(x, y, shader(px, py), c);
        }
    }
}

void Canvas::FillWithin(const Distance& shape, Rgba colour, int left, int top, int right, int bottom) {
    for (int y = std::max(top, 0); y < std::min(bottom, height_); ++y) {
        for (int x = std::max(left, 0); x < std::min(right, width_); ++x) {
            const float c = Coverage(shape(x + 0.5f, y + 0.5f));
            if (c > 0) Over(x, y, colour, c);
        }
    }
}

void Canvas::Paint(const Shader& shader) {
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) pixels_[Index(x, y)] = shader(x + 0.5f, y + 0.5f);
    }
}

void Canvas::Mask(const Distance& shape) {
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) pixels_[Index(x, y)].a *= Coverage(shape(x + 0.5f, y + 0.5f));
    }
}

Image Canvas::ToImage() const {
    Image image(width_, height_);
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            const Rgba p = Get(x, y);
            const uint8_t alpha = ToByte(p.a);
            image.At(x, y) = alpha == 0 ? Color() : Color::FromRGBA(ToByte(p.r), ToByte(p.g), ToByte(p.b), alpha);
        }
    }
    return image;
}

Distance Circle(float cx, float cy, float radius) {
    return [=](float x, float y) { return std::hypot(x - cx, y - cy) - radius; };
}

Distance Ring(float cx, float cy, float radius, float width) {
    return [=](float x, float y) { return std::fabs(std::hypot(x - cx, y - cy) - radius) - width / 2; };
}

Distance Box(float cx, float cy, float halfWidth, float halfHeight, float corner) {
    return [=](float x, float y) {
        const float qx = std::fabs(x - cx) - halfWidth + corner;
        const float qy = std::fabs(y - cy) - halfHeight + corner;
        const float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
        return outside + std::min(std::max(qx, qy), 0.0f) - corner;
    };
}

Distance Polygon(std::vector<float> xy) {
    return [xy = std::move(xy)](float x, float y) {
        const std::size_t n = xy.size() / 2;
        float best = 1e30f;
        bool inside = false;
        for (std::size_t i = 0, j = n - 1; i < n; j = i++) {
            const float ax = xy[2 * j], ay = xy[2 * j + 1], bx = xy[2 * i], by = xy[2 * i + 1];
            const float ex = bx - ax, ey = by - ay, wx = x - ax, wy = y - ay;
            const float t = std::clamp((wx * ex + wy * ey) / (ex * ex + ey * ey), 0.0f, 1.0f);
            best = std::min(best, std::hypot(wx - ex * t, wy - ey * t));
            if ((ay > y) != (by > y) && x < ax + (y - ay) * ex / ey) inside = !inside;
        }
        return inside ? -best : best;
    };
}

Distance Segment(float x0, float y0, float x1, float y1, float width) {
    return [=](float x, float y) {
        const float ex = x1 - x0, ey = y1 - y0, wx = x - x0, wy = y - y0;
        const float length2 = ex * ex + ey * ey;
        const float t = length2 > 0 ? std::clamp((wx * ex + wy * ey) / length2, 0.0f, 1.0f) : 0.0f;
        return std::hypot(wx - ex * t, wy - ey * t) - width / 2;
    };
}

Distance Star(float cx, float cy, float outer, float inner, int points, float turn) {
    std::vector<float> xy;
    for (int i = 0; i < points * 2; ++i) {
        const float r = i % 2 == 0 ? outer : inner;
        const float a = turn + float(M_PI) * i / points - float(M_PI) / 2;
        xy.push_back(cx + r * std::cos(a));
        xy.push_back(cy + r * std::sin(a));
    }
    return Polygon(std::move(xy));
}

Distance Union(Distance a, Distance b) {
    return [=](float x, float y) { return std::min(a(x, y), b(x, y)); };
}

Distance Subtract(Distance a, Distance b) {
    return [=](float x, float y) { return std::max(a(x, y), -b(x, y)); };
}

}  // namespace assetgen
