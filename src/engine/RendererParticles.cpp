// The renderer's particle batch: the quads gathered between Begin and EndParticleBatch go
// into one vertex buffer in one upload, and each run of them is drawn with one call.
#include <algorithm>
#include <cstring>

#include "engine/Renderer.h"
#include "platform/gfx/Buffer.h"
#include "platform/gfx/Device.h"

namespace {

// 16-bit indices reach 65,536 vertices: a longer run is drawn in pieces of this many quads.
constexpr int32_t kQuadsPerDraw = 16384;
// Every quad's two triangles, (0, 1, 2) and (0, 2, 3), as the separate draw has them.
constexpr uint16_t kQuadIndices[6] = {0, 1, 2, 0, 2, 3};
// The vertex buffer's first size; it doubles from there as the batches grow.
constexpr uint32_t kFirstVertexBytes = 64 * 1024;
constexpr int32_t kFirstIndexQuads = 256;

// The quad's four vertices in the run's layout, one stride apart; a stride wider than the
// layout (another run's format is larger) leaves the rest unread.
void WriteQuad(uint8_t* out, uint32_t stride, const gfx::VertexLayout& layout, const ParticleQuad& quad) {
    for (int k = 0; k < 4; ++k) {
        uint8_t* vertex = out + size_t(k) * stride;
        const float position[3] = {quad.corners[k].x, quad.corners[k].y, quad.corners[k].z};
        std::memcpy(vertex, position, sizeof(position));
        if (layout.hasDiffuse) std::memcpy(vertex + layout.diffuseOffset, &quad.colour.argb, sizeof(uint32_t));
        const float uv[2] = {kParticleCorners[k].x, kParticleCorners[k].y};
        for (uint32_t set = 0; set < layout.texCount; ++set) {
            std::memcpy(vertex + layout.texOffset + set * sizeof(uv), uv, sizeof(uv));
        }
    }
}

}  // namespace

void Renderer::BeginParticleBatch() { ++particleBatchDepth_; }

void Renderer::EndParticleBatch() {
    if (particleBatchDepth_ == 0) return;
    if (--particleBatchDepth_ == 0) FlushParticleBatch();
}

void Renderer::BeginStillLayer(uint64_t key) {
    FlushParticleBatch();
    GetDevice().BeginStillLayer(key);
}

void Renderer::EndStillLayer() {
    FlushParticleBatch();
    GetDevice().EndStillLayer();
}

ParticleRunKey Renderer::CurrentParticleKey(const Material* material, gfx::VertexFormat format) {
    const gfx::Device& device = GetDevice();
    ParticleRunKey key;
    key.material = material;
    key.format = format;
    for (size_t i = 0; i < key.states.size(); ++i) key.states[i] = device.GetRenderState(gfx::RenderState(i));
    key.world = world_;
    return key;
}

// Only what differs is set, so a run drawn in the states of the one before costs no calls.
void Renderer::ApplyParticleRunKey(const ParticleRunKey& key) {
    gfx::Device& device = GetDevice();
    for (size_t i = 0; i < key.states.size(); ++i) {
        const gfx::RenderState state = gfx::RenderState(i);
        if (device.GetRenderState(state) != key.states[i]) device.SetRenderState(state, key.states[i]);
    }
    if (!(world_ == key.world)) SetWorldMatrix(key.world);
}

void Renderer::FlushParticleBatch() {
    if (particleBatch_.IsEmpty()) return;
    uint32_t stride = 0;
    int32_t longest = 0;
    for (int32_t i = 0; i < particleBatch_.RunCount(); ++i) {
        const ParticleRun& run = particleBatch_.Run(i);
        stride = std::max(stride, gfx::LayoutOf(run.key.format).stride);
        longest = std::max(longest, run.quadCount);
    }
    UploadParticleQuads(stride);
    EnsureParticleIndices(std::min(longest, kQuadsPerDraw));
    // The states the caller left are put back once the runs are drawn.
    const ParticleRunKey callers = CurrentParticleKey(nullptr, 0);
    gfx::Device& device = GetDevice();
    for (int32_t i = 0; i < particleBatch_.RunCount(); ++i) {
        const ParticleRun& run = particleBatch_.Run(i);
        ApplyParticleRunKey(run.key);
        ApplyMaterial(run.key.material != nullptr ? *run.key.material : defaultMaterial_);
        Check(device.SetStreamSource(particleVertices_.get(), stride), "FlushParticleBatch", "SetStreamSource");
        Check(device.SetVertexFormat(run.key.format), "FlushParticleBatch", "SetVertexFormat");
        Check(device.SetIndices(particleIndices_.get()), "FlushParticleBatch", "SetIndices");
        for (int32_t done = 0; done < run.quadCount; done += kQuadsPerDraw) {
            const int32_t quads = std::min(kQuadsPerDraw, run.quadCount - done);
            Check(device.DrawIndexedPrimitive(gfx::PrimitiveType::TriangleList, (run.firstQuad + done) * 4, 0,
                                              uint32_t(quads) * 4, 0, uint32_t(quads) * 2),
                  "FlushParticleBatch", "DrawIndexedPrimitive");
        }
    }
    ApplyParticleRunKey(callers);
    particleBatch_.Clear();
}

void Renderer::UploadParticleQuads(uint32_t stride) {
    const uint32_t quadBytes = 4 * stride;
    const uint32_t bytes = uint32_t(particleBatch_.QuadCount()) * quadBytes;
    if (particleVertices_ == nullptr || particleVertices_->Size() < bytes) {
        uint32_t size = particleVertices_ != nullptr ? particleVertices_->Size() : kFirstVertexBytes;
        while (size < bytes) size *= 2;
        particleVertices_.reset();
        gfx::Created<gfx::VertexBuffer> created = GetDevice().CreateVertexBuffer(size, gfx::BufferUsage::Dynamic);
        Check(created.result, "UploadParticleQuads", "gfx::Device::CreateVertexBuffer");
        particleVertices_ = std::move(created.object);
    }
    uint8_t* out = nullptr;
    Check(particleVertices_->Lock(0, bytes, out, gfx::kLockDiscard), "UploadParticleQuads", "gfx::VertexBuffer::Lock");
    for (int32_t i = 0; i < particleBatch_.RunCount(); ++i) {
        const gfx::VertexLayout layout = gfx::LayoutOf(particleBatch_.Run(i).key.format);
        for (const ParticleQuad& quad : particleBatch_.GatherRun(i)) {
            WriteQuad(out, stride, layout, quad);
            out += quadBytes;
        }
    }
    Check(particleVertices_->Unlock(), "UploadParticleQuads", "gfx::VertexBuffer::Unlock");
}

void Renderer::EnsureParticleIndices(int32_t quads) {
    if (particleIndices_ != nullptr && particleIndexQuads_ >= quads) return;
    int32_t room = std::max(particleIndexQuads_, kFirstIndexQuads);
    while (room < quads) room *= 2;
    room = std::min(room, kQuadsPerDraw);
    particleIndices_.reset();
    const uint32_t bytes = uint32_t(room) * 6 * sizeof(uint16_t);
    gfx::Created<gfx::IndexBuffer> created =
        GetDevice().CreateIndexBuffer(bytes, gfx::IndexFormat::Index16, gfx::BufferUsage::Static);
    Check(created.result, "EnsureParticleIndices", "gfx::Device::CreateIndexBuffer");
    particleIndices_ = std::move(created.object);
    uint8_t* out = nullptr;
    Check(particleIndices_->Lock(0, bytes, out), "EnsureParticleIndices", "gfx::IndexBuffer::Lock");
    auto* indices = reinterpret_cast<uint16_t*>(out);
    for (int32_t q = 0; q < room; ++q) {
        for (uint16_t corner : kQuadIndices) *indices++ = uint16_t(q * 4 + corner);
    }
    Check(particleIndices_->Unlock(), "EnsureParticleIndices", "gfx::IndexBuffer::Unlock");
    particleIndexQuads_ = room;
}
