// The map's text form, read over a terrain that is then saved again.
#include "core/Point.h"
#include "core/StringStream.h"
#include "platform/sys/Random.h"
#include "support/FuzzTarget.h"
#include "world/Terrain.h"

VORNS_FUZZ_TARGET(data, size) {
    sys::SRand(1);
    Terrain terrain;
    terrain.Resize(16, 16);
    std::string text(reinterpret_cast<const char*>(data), size);
    StringStream stream(text.c_str());
    Point declared;
    terrain.Load(stream, declared);
    StringStream written;
    terrain.Save(written);
    return 0;
}
