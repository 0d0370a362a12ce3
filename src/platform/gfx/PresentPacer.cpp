#include "platform/gfx/PresentPacer.h"

#include <algorithm>

namespace gfx {

namespace {

// A paced display never returns from a present much sooner than a refresh after the
// last one; this many presents in a row that came sooner than this share of a refresh
// show that it does not pace. A few quick ones happen on paced displays too, while the
// driver fills its queue.
constexpr double kQuickShare = 0.75;
constexpr int kQuickPresents = 10;

}  // namespace

PresentPacer::PresentPacer(double refreshPeriod, bool displayPaces)
    : period_(std::max(refreshPeriod, 0.0)), trusted_(displayPaces) {}

double PresentPacer::AfterPresent(double now) {
    if (period_ <= 0.0) return 0.0;
    const double sinceLast = started_ ? now - frameStart_ : period_;
    started_ = true;
    if (trusted_) {
        quickRun_ = sinceLast < kQuickShare * period_ ? quickRun_ + 1 : 0;
        if (quickRun_ < kQuickPresents) {
            frameStart_ = now;
            return 0.0;
        }
        trusted_ = false;
    }
    const double next = frameStart_ + period_;
    frameStart_ = next < now ? now : next;
    return frameStart_ - now;
}

}  // namespace gfx
