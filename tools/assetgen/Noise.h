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
