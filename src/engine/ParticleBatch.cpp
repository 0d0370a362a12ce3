// Particle quads gathered into runs of one shared list.
#include "engine/ParticleBatch.h"

std::span<ParticleQuad> ParticleBatch::Add(const ParticleRunKey& key, int32_t count) {
    if (count <= 0) return {};
    const int32_t first = QuadCount();
    if (runs_.empty() || !(runs_.back().key == key)) runs_.push_back(ParticleRun{key, first, 0});
    runs_.back().quadCount += count;
    quads_.resize(quads_.size() + size_t(count));
    return std::span<ParticleQuad>(quads_.data() + first, size_t(count));
}

void ParticleBatch::Clear() {
    quads_.clear();
    runs_.clear();
}

std::span<const ParticleQuad> ParticleBatch::GatherRun(int32_t i) const {
    const ParticleRun& run = runs_[size_t(i)];
    return std::span<const ParticleQuad>(quads_.data() + run.firstQuad, size_t(run.quadCount));
}
