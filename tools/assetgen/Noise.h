#pragma once
// Value noise on a lattice that wraps around, so tiles made from it are seamless. The
// lattice values come from the game's generator, seeded by the caller.
#include <vector>

namespace assetgen {

class Noise {
public:
    // period: lattice cells across the wrap; the lattice is filled from sys::Rand.
    explicit Noise(int period);
    // Smooth noise in [0, 1] at (x, y) in lattice units; wraps every period units.
    float At(float x, float y) const;
    // Sum of octaves, each of twice the frequency and half the weight, in [0, 1].
    float Fractal(float x, float y, int octaves) const;

private:
    float Lattice(int x, int y) const;

    int period_;
    std::vector<float> values_;
};

}  // namespace assetgen

namespace assetgen {

// Cellular noise on the unit square that wraps around: one feature point a cell of a grid
// x grid lattice, so cobbles, pebbles and cracks made from it tile seamlessly.
class Cells {
public:
    struct Nearest {
        float first = 0;   // distance to the nearest point, in tile units
        float second = 0;  // to the next nearest; second - first is small near an edge
        int cell = 0;      // index of the nearest point's cell
    };

    explicit Cells(int grid);
    Nearest At(float u, float v) const;
    // A steady value in [0, 1) for a cell, for giving each its own shade.
    float Shade(int cell) const { return shades_[std::size_t(cell)]; }

private:
    int grid_;
    std::vector<float> points_;  // x, y in tile units
    std::vector<float> shades_;
};

}  // namespace assetgen
