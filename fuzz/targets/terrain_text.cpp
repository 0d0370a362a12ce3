// The map's text form, read over a terrain that is then saved again.
#include "core/Point.h"
#include "core/StringStream.h"
#include "harness/FuzzTarget.h"
#include "harness/FuzzWorld.h"
#include "platform/sys/Random.h"
#include "world/Terrain.h"

VORNS_FUZZ_TARGET(data, size) {
    // Made once: a new terrain fills and shades the largest map, which costs more than
    // most reads.
    static Terrain* const terrain = new Terrain();
    sys::SRand(1);
    StringStream stream(fuzz::Text(data, size).c_str());
    Point declared;
    terrain->Load(stream, declared);
    StringStream written;
    terrain->Save(written);
    return 0;
}
