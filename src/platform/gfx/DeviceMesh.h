#pragma once
// A static mesh on the device: a vertex buffer, faces of three indices, and per face a
// subset number; DrawSubset draws the faces of one subset. Indices are 16-bit, or 32-bit
// when the mesh has more than 65,535 vertices. The faces are kept sorted by subset on
// the device, so each subset is one draw call, a run of the indices whose span the mesh
// works out when it sorts them; the mesh binds its buffers only when others are bound.
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/gfx/Device.h"

namespace gfx {

class DeviceMesh {
public:
    // InvalidParam for no faces, no vertices or an invalid (or pre-transformed)
    // format: a mesh without faces has nothing to draw and gets no device mesh.
    static Created<DeviceMesh> Create(Device& device, uint32_t faceCount, uint32_t vertexCount, VertexFormat format);

    uint32_t FaceCount() const { return faceCount_; }
    uint32_t VertexCount() const { return vertexCount_; }
    VertexFormat Format() const { return format_; }
    uint32_t Stride() const { return stride_; }
    IndexFormat IndexType() const { return indexFormat_; }
    // One more than the largest subset number of any face.
    uint32_t SubsetCount() const;

    // VertexCount() x Stride() bytes.
    Result LockVertexBuffer(uint8_t*& out);
    Result UnlockVertexBuffer();
    // FaceCount() x 3 indices of IndexType().
    Result LockIndexBuffer(uint8_t*& out);
    Result UnlockIndexBuffer();
    // FaceCount() subset numbers, all 0 at creation.
    Result LockAttributeBuffer(uint32_t*& out);
    Result UnlockAttributeBuffer();

    // Sets the stream, format and indices and draws the subset's faces; a subset without
    // faces draws nothing.
    Result DrawSubset(uint32_t subset);

private:
    struct Range {
        uint32_t firstFace = 0;
        uint32_t faceCount = 0;
        IndexSpan span;
    };

    DeviceMesh(Device& device, uint32_t faceCount, uint32_t vertexCount, VertexFormat format);
    Result RebuildSortedIndices();

    Device& device_;
    uint32_t faceCount_;
    uint32_t vertexCount_;
    VertexFormat format_;
    uint32_t stride_;
    IndexFormat indexFormat_;
    std::unique_ptr<VertexBuffer> vertices_;
    std::unique_ptr<IndexBuffer> sortedIndices_;
    std::vector<uint8_t> indices_;
    std::vector<uint32_t> attributes_;
    std::vector<Range> subsets_;
    uint32_t sortedWrites_ = 0;  // the sorted indices' write the spans were worked out for
    bool indicesLocked_ = false;
    bool attributesLocked_ = false;
    bool subsetsDirty_ = true;
};

}  // namespace gfx
