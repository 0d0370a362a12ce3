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
