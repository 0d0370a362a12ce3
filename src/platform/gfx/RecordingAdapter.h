#pragma once
// The adapter of the recording backend: a fixed list of display modes, a "window" of a
// given client size, and a highest multisample count, all set by the test.
#include <cstdint>
#include <vector>

#include "platform/gfx/Adapter.h"

namespace gfx {

class RecordingAdapter : public Adapter {
public:
    RecordingAdapter();

    const char* BackendName() const override { return "recording"; }
    std::vector<DisplayMode> Modes() const override { return modes_; }
    DisplayMode CurrentMode() const override { return current_; }
    Created<Device> CreateDevice(const PresentParams& params) override;

    void SetModes(std::vector<DisplayMode> modes) { modes_ = std::move(modes); }
    void SetCurrentMode(const DisplayMode& mode) { current_ = mode; }
    void SetClientSize(uint32_t width, uint32_t height);
    void SetMaxMultisample(uint32_t samples) { maxMultisample_ = samples; }
    void SetCaps(const DeviceCaps& caps) { caps_ = caps; }

private:
    std::vector<DisplayMode> modes_;
    DisplayMode current_{1024, 768, 60};
    uint32_t clientWidth_ = 1024;
    uint32_t clientHeight_ = 768;
    uint32_t maxMultisample_ = 0;
    DeviceCaps caps_;
};

}  // namespace gfx
