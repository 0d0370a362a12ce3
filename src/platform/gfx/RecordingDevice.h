#pragma once
// The headless device: it draws nothing, and keeps what a test wants to see (the state
// of every setting, the counters and call log of the base, and a record of each draw
// and clear while the call log is on). Its loss of the device is scripted.
#include <cstdint>
#include <vector>

#include "platform/gfx/Device.h"

namespace gfx {

struct DrawRecord {
    PrimitiveType type = PrimitiveType::TriangleList;
    uint32_t primitiveCount = 0;
    VertexFormat format = 0;
    bool indexed = false;
    Matrix4 world;
    std::array<const DeviceTexture*, kMaxTextureStages> textures{};
};

struct ClearRecord {
    ClearRect rect;
    uint32_t flags = 0;
    Color colour;
    float z = 0;
};

class RecordingDevice : public Device {
public:
    explicit RecordingDevice(uint32_t width = 1024, uint32_t height = 768, const DeviceCaps& caps = DeviceCaps(),
                             const PresentParams& params = PresentParams());
    ~RecordingDevice() override;

    const char* BackendName() const override { return "recording"; }

    // The device is lost from now on. The next lostChecks calls of TestCooperativeLevel
    // report DeviceLost, later ones DeviceNotReset. Each of the first failedResets
    // calls of Reset then fails with DeviceLost and leaves the device lost (it reports
    // DeviceNotReset again, so the caller retries next frame); the one after succeeds.
    void ScriptLoss(uint32_t lostChecks, uint32_t failedResets = 0);
    bool IsLost() const { return lost_; }

    const std::vector<DrawRecord>& Draws() const { return draws_; }
    const std::vector<ClearRecord>& Clears() const { return clears_; }
    void ClearRecords();

protected:
    Result CheckLost() override;
    Result DoReset() override;
    Result DoPresent() override;
    void DoClear(const ClearRect& rect, uint32_t flags, Color colour, float z) override;
    void DoDraw(const DrawCall& call) override;
    Result DoReadBackBuffer(Image& image) override;

private:
    bool lost_ = false;
    uint32_t lostChecks_ = 0;
    uint32_t failedResets_ = 0;
    std::vector<DrawRecord> draws_;
    std::vector<ClearRecord> clears_;
};

}  // namespace gfx
