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

    // Takes the seconds since the previous present ended, measured just after this
    // present, and gives the seconds to sleep before the next frame begins.
    double AfterPresent(double sinceLast);

    bool PacesItself() const { return !trusted_ && period_ > 0.0; }

private:
    double period_ = 0.0;
    bool trusted_ = true;
    int quickRun_ = 0;
};

}  // namespace gfx
