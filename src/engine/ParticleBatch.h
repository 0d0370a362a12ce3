#pragma once
// The particle quads of one stretch of drawing, gathered so that the renderer uploads
// them once and draws each run of them with one call. A run is a stretch of quads added
// one after another under the same key (material, vertex format, render states and
// world matrix); a change of key starts the next run, so drawing the runs in order
// draws the quads in the order and the state they were added in.
//
// Every run is a piece of one shared quad list: clearing keeps that list's capacity,
// so a steady load gathers frame after frame without allocating.
#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "core/Color.h"
#include "core/Matrix4.h"
#include "core/Vector2.h"
#include "core/Vector3.h"
#include "platform/gfx/States.h"
#include "platform/gfx/VertexFormat.h"

class Material;

// A particle quad's texture corners, corner 0 to 3, in every stage.
inline constexpr Vector2 kParticleCorners[4] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};

// A camera-facing particle: its corners in the order of the quad's two triangles
// (0, 1, 2) and (0, 2, 3), and its colour (used when the format has colours).
struct ParticleQuad {
    Vector3 corners[4];
    Color colour{0xFFFFFFFFu};
};

struct ParticleRunKey {
    const Material* material = nullptr;  // none draws with the renderer's default
    gfx::VertexFormat format = 0;
    std::array<uint32_t, size_t(gfx::RenderState::Count)> states{};  // every render state
    Matrix4 world;

    bool operator==(const ParticleRunKey& other) const = default;
};

struct ParticleRun {
    ParticleRunKey key;
    int32_t firstQuad = 0;
    int32_t quadCount = 0;
};

class ParticleBatch {
public:
    // Room for count quads at the end of the list, in the last run when its key is the
    // same, else in a new one; the caller fills every quad. The span is valid until the
    // next Add or Clear.
    std::span<ParticleQuad> Add(const ParticleRunKey& key, int32_t count);
    // Both lists empty; their capacity stays.
    void Clear();

    bool IsEmpty() const { return runs_.empty(); }
    int32_t RunCount() const { return int32_t(runs_.size()); }
    const ParticleRun& Run(int32_t i) const { return runs_[size_t(i)]; }
    // The run's quads, a piece of the shared list.
    std::span<const ParticleQuad> GatherRun(int32_t i) const;
    int32_t QuadCount() const { return int32_t(quads_.size()); }
    // The quads the shared list holds room for.
    size_t QuadCapacity() const { return quads_.capacity(); }

private:
    std::vector<ParticleQuad> quads_;
    std::vector<ParticleRun> runs_;
};
