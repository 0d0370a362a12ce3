#include "platform/gfx/DeviceMesh.h"

#include <algorithm>
#include <cstring>

namespace gfx {

namespace {

// The largest vertex count whose indices all fit in 16 bits.
constexpr uint32_t kMax16BitVertices = 65535;

}  // namespace

Created<DeviceMesh> DeviceMesh::Create(Device& device, uint32_t faceCount, uint32_t vertexCount, VertexFormat format) {
    Created<DeviceMesh> created;
    const VertexLayout layout = LayoutOf(format);
    if (faceCount == 0 || vertexCount == 0 || !layout.valid || layout.pretransformed ||
        uint64_t(vertexCount) * layout.stride > UINT32_MAX || uint64_t(faceCount) * 12 > UINT32_MAX) {
        created.result = Result::InvalidParam;
        return created;
    }
    std::unique_ptr<DeviceMesh> mesh(new DeviceMesh(device, faceCount, vertexCount, format));
    Created<VertexBuffer> vb = device.CreateVertexBuffer(vertexCount * mesh->stride_, BufferUsage::Static);
    Created<IndexBuffer> ib =
        device.CreateIndexBuffer(faceCount * 3 * uint32_t(mesh->indexFormat_), mesh->indexFormat_, BufferUsage::Static);
    if (vb.result != Result::Ok || ib.result != Result::Ok) {
        created.result = vb.result != Result::Ok ? vb.result : ib.result;
        return created;
    }
    mesh->vertices_ = std::move(vb.object);
    mesh->sortedIndices_ = std::move(ib.object);
    created.object = std::move(mesh);
    return created;
}

DeviceMesh::DeviceMesh(Device& device, uint32_t faceCount, uint32_t vertexCount, VertexFormat format)
    : device_(device),
      faceCount_(faceCount),
      vertexCount_(vertexCount),
      format_(format),
      stride_(LayoutOf(format).stride),
      indexFormat_(vertexCount > kMax16BitVertices ? IndexFormat::Index32 : IndexFormat::Index16),
      indices_(size_t(faceCount) * 3 * uint32_t(indexFormat_), 0),
      attributes_(faceCount, 0) {}

uint32_t DeviceMesh::SubsetCount() const {
    return attributes_.empty() ? 0 : *std::max_element(attributes_.begin(), attributes_.end()) + 1;
}

Result DeviceMesh::LockVertexBuffer(uint8_t*& out) { return vertices_->Lock(0, 0, out); }

Result DeviceMesh::UnlockVertexBuffer() { return vertices_->Unlock(); }

Result DeviceMesh::LockIndexBuffer(uint8_t*& out) {
    if (indicesLocked_) return Result::InvalidCall;
    indicesLocked_ = true;
    out = indices_.data();
    return Result::Ok;
}

Result DeviceMesh::UnlockIndexBuffer() {
    if (!indicesLocked_) return Result::InvalidCall;
    indicesLocked_ = false;
    subsetsDirty_ = true;
    return Result::Ok;
}

Result DeviceMesh::LockAttributeBuffer(uint32_t*& out) {
    if (attributesLocked_) return Result::InvalidCall;
    attributesLocked_ = true;
    out = attributes_.data();
    return Result::Ok;
}

Result DeviceMesh::UnlockAttributeBuffer() {
    if (!attributesLocked_) return Result::InvalidCall;
    attributesLocked_ = false;
    subsetsDirty_ = true;
    return Result::Ok;
}

Result DeviceMesh::RebuildSortedIndices() {
    std::vector<uint32_t> order(faceCount_);
    for (uint32_t f = 0; f < faceCount_; ++f) order[f] = f;
    // Stable, so faces keep their order within a subset.
    std::stable_sort(order.begin(), order.end(),
                     [this](uint32_t a, uint32_t b) { return attributes_[a] < attributes_[b]; });
    uint8_t* out = nullptr;
    if (Result r = sortedIndices_->Lock(0, 0, out); r != Result::Ok) return r;
    const size_t faceBytes = 3 * size_t(indexFormat_);
    subsets_.assign(SubsetCount(), Range());
    const bool wide = indexFormat_ == IndexFormat::Index32;
    for (uint32_t i = 0; i < faceCount_; ++i) {
        const uint32_t face = order[i];
        const uint8_t* corners = indices_.data() + face * faceBytes;
        std::memcpy(out + i * faceBytes, corners, faceBytes);
        Range& range = subsets_[attributes_[face]];
        for (uint32_t c = 0; c < 3; ++c) {
            uint32_t index = 0;
            if (wide) {
                std::memcpy(&index, corners + 4 * c, 4);
            } else {
                uint16_t narrow = 0;
                std::memcpy(&narrow, corners + 2 * c, 2);
                index = narrow;
            }
            const bool first = range.faceCount == 0 && c == 0;
            range.span.lowest = first ? index : std::min(range.span.lowest, index);
            range.span.highest = first ? index : std::max(range.span.highest, index);
        }
        if (range.faceCount++ == 0) range.firstFace = i;
    }
    subsetsDirty_ = false;
    const Result unlocked = sortedIndices_->Unlock();
    sortedWrites_ = sortedIndices_->Writes();
    return unlocked;
}

Result DeviceMesh::DrawSubset(uint32_t subset) {
    if (indicesLocked_ || attributesLocked_ || vertices_->IsLocked()) return Result::InvalidCall;
    if (subsetsDirty_)
        if (Result r = RebuildSortedIndices(); r != Result::Ok) return r;
    if (subset >= subsets_.size() || subsets_[subset].faceCount == 0) return Result::Ok;
    const Range& range = subsets_[subset];
    // The subsets of a mesh are drawn one after another: the second finds the buffers bound.
    if (device_.GetStreamSource() != vertices_.get() || device_.GetStreamStride() != stride_)
        if (Result r = device_.SetStreamSource(vertices_.get(), stride_); r != Result::Ok) return r;
    if (device_.GetVertexFormat() != format_)
        if (Result r = device_.SetVertexFormat(format_); r != Result::Ok) return r;
    if (device_.GetIndices() != sortedIndices_.get())
        if (Result r = device_.SetIndices(sortedIndices_.get()); r != Result::Ok) return r;
    return device_.DrawIndexedRun(PrimitiveType::TriangleList,
                                  IndexRun{range.firstFace * 3, range.faceCount, range.span, sortedWrites_});
}

}  // namespace gfx
