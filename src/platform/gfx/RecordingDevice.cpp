#include "platform/gfx/RecordingDevice.h"

namespace gfx {

RecordingDevice::RecordingDevice(uint32_t width, uint32_t height, const DeviceCaps& caps, const PresentParams& params)
    : Device(caps, params, width, height) {}

RecordingDevice::~RecordingDevice() { OrphanAllResources(); }

void RecordingDevice::ScriptLoss(uint32_t lostChecks, uint32_t failedResets) {
    lost_ = true;
    lostChecks_ = lostChecks;
    failedResets_ = failedResets;
}

void RecordingDevice::ClearRecords() {
    draws_.clear();
    clears_.clear();
}

Result RecordingDevice::CheckLost() {
    if (!lost_) return Result::Ok;
    if (lostChecks_ > 0) {
        --lostChecks_;
        return Result::DeviceLost;
    }
    return Result::DeviceNotReset;
}

Result RecordingDevice::DoReset() {
    if (!lost_) return Result::Ok;
    if (lostChecks_ > 0) return Result::DeviceLost;
    if (failedResets_ > 0) {
        --failedResets_;
        return Result::DeviceLost;
    }
    lost_ = false;
    return Result::Ok;
}

Result RecordingDevice::DoPresent() { return lost_ ? Result::DeviceLost : Result::Ok; }

void RecordingDevice::DoClear(const ClearRect& rect, uint32_t flags, Color colour, float z) {
    if (IsCallLogOn()) clears_.push_back({rect, flags, colour, z});
}

void RecordingDevice::DoDraw(const DrawCall& call) {
    if (!IsCallLogOn()) return;
    DrawRecord record;
    record.type = call.type;
    record.primitiveCount = call.primitiveCount;
    record.format = call.format;
    record.indexed = call.indexBuffer != nullptr;
    record.world = GetTransform(TransformKind::World);
    for (uint32_t stage = 0; stage < kMaxTextureStages; ++stage) record.textures[stage] = GetTexture(stage);
    draws_.push_back(record);
}

Result RecordingDevice::DoReadBackBuffer(Image&) { return Result::NotAvailable; }

}  // namespace gfx
