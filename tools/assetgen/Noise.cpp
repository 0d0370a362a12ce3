#include "Noise.h"

#include <cmath>

#include "platform/sys/Random.h"

namespace assetgen {

Noise::Noise(int period) : period_(period), values_(std::size_t(period) * period) {
    for (float& v : values_) v = float(sys::Rand()) / sys::kRandMax;
}

float Noise::Lattice(int x, int y) const {
    const int px = ((x % period_) + period_) % period_;
    const int py = ((y % period_) + period_) % period_;
    return values_[std::size_t(py) * period_ + px];
}

float Noise::At(float x, float y) const {
    const float fx = std::floor(x), fy = std::floor(y);
    const int ix = int(fx), iy = int(fy);
    auto smooth = [](float t) { return t * t * (3 - 2 * t); };
    const float tx = smooth(x - fx), ty = smooth(y - fy);
    const float top = Lattice(ix, iy) + (Lattice(ix + 1, iy) - Lattice(ix, iy)) * tx;
    const float bottom = Lattice(ix, iy + 1) + (Lattice(ix + 1, iy + 1) - Lattice(ix, iy + 1)) * tx;
    return top + (bottom - top) * ty;
}

float Noise::Fractal(float x, float y, int octaves) const {
    float sum = 0, weight = 1, total = 0, scale = 1;
    for (int i = 0; i < octaves; ++i) {
        sum += At(x * scale, y * scale) * weight;
        total += weight;
        weight /= 2;
        scale *= 2;
    }
    return sum / total;
}

}  // namespace assetgen

namespace assetgen {

Cells::Cells(int grid) : grid_(grid), points_(std::size_t(grid) * grid * 2), shades_(std::size_t(grid) * grid) {
    for (int y = 0; y < grid; ++y) {
        for (int x = 0; x < grid; ++x) {
            const std::size_t i = std::size_t(y) * grid + x;
            points_[2 * i] = (x + 0.15f + 0.7f * float(sys::Rand()) / sys::kRandMax) / grid;
            points_[2 * i + 1] = (y + 0.15f + 0.7f * float(sys::Rand()) / sys::kRandMax) / grid;
            shades_[i] = float(sys::Rand()) / (float(sys::kRandMax) + 1);
        }
    }
}

Cells::Nearest Cells::At(float u, float v) const {
    Nearest out{1e9f, 1e9f, 0};
    const int cx = int(std::floor(u * grid_)), cy = int(std::floor(v * grid_));
    for (int dy = -2; dy <= 2; ++dy) {
        for (int dx = -2; dx <= 2; ++dx) {
            const int x = cx + dx, y = cy + dy;
            const int wx = ((x % grid_) + grid_) % grid_, wy = ((y % grid_) + grid_) % grid_;
            const std::size_t i = std::size_t(wy) * grid_ + wx;
            // The point of the wrapped cell, moved to the copy of the tile this cell lies in.
            const float px = points_[2 * i] + float(x - wx) / grid_, py = points_[2 * i + 1] + float(y - wy) / grid_;
            const float d = std::hypot(u - px, v - py);
            if (d < out.first) {
                out.second = out.first;
                out.first = d;
                out.cell = int(i);
            } else if (d < out.second) {
                out.second = d;
            }
        }
    }
    return out;
}

}  // namespace assetgen
