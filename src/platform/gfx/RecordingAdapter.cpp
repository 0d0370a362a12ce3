#include "platform/gfx/RecordingAdapter.h"

#include <algorithm>

#include "platform/gfx/RecordingDevice.h"

namespace gfx {

RecordingAdapter::RecordingAdapter()
    : modes_{{1920, 1080, 60}, {1280, 1024, 60}, {1280, 720, 60}, {1024, 768, 60}, {800, 600, 60}, {640, 480, 60}} {}

void RecordingAdapter::SetClientSize(uint32_t width, uint32_t height) {
    clientWidth_ = width;
    clientHeight_ = height;
}

Created<Device> RecordingAdapter::CreateDevice(const PresentParams& params) {
    Created<Device> created;
    created.result = Result::NotAvailable;
    if (params.multisample > maxMultisample_) return created;
    uint32_t width = clientWidth_, height = clientHeight_;
    if (!params.windowed) {
        const DisplayMode wanted{params.backBufferWidth, params.backBufferHeight, 0};
        const bool known = std::any_of(modes_.begin(), modes_.end(), [&](const DisplayMode& m) {
            return m.width == wanted.width && m.height == wanted.height;
        });
        if (!known) return created;
        width = wanted.width;
        height = wanted.height;
    }
    if (width == 0 || height == 0) return created;
    created.object = std::make_unique<RecordingDevice>(width, height, caps_, params);
    created.result = Result::Ok;
    return created;
}

}  // namespace gfx
