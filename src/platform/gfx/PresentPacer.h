#pragma once
// Keeps presents to at most one per refresh of the display. A display that paces
// presents itself needs nothing more. One that accepts the swap interval but lets
// presents through faster than it refreshes (a virtual X server has no refresh to wait
// for) is found out by how closely its presents follow one another, and is then paced
// like a display that cannot pace at all: by sleeping out the rest of each refresh.
namespace gfx {

class PresentPacer {
public:
    PresentPacer() = default;
    // refreshPeriod: seconds per refresh, 0 for presents that are never held back;
    // displayPaces: whether the display took the swap interval.
    PresentPacer(double refreshPeriod, bool displayPaces);

    // Takes the time just after a present (seconds on a steady clock) and gives the
    // seconds to sleep before the next frame begins. Paced frames begin a period apart
    // from one another's planned start, so the few tenths of a millisecond a sleep
    // overruns by do not add up; a frame that ends late begins the count afresh.
    double AfterPresent(double now);

    bool PacesItself() const { return !trusted_ && period_ > 0.0; }

private:
    double period_ = 0.0;
    bool trusted_ = true;
    int quickRun_ = 0;
    bool started_ = false;
    double frameStart_ = 0.0;  // when the frame just presented began, or was planned to
};

}  // namespace gfx
