// The binary pose data: a pose file's track, and a stored pose set evaluated after it
// is read.
#include <string>

#include "core/MemoryReadStream.h"
#include "engine/PoseAnimation.h"
#include "harness/FuzzTarget.h"

VORNS_FUZZ_TARGET(data, size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    {
        MemoryReadStream stream(bytes);
        PoseTrack track;
        track.ReadBinary(stream);
    }
    MemoryReadStream stream(bytes);
    PoseAnimation animation;
    animation.ReadBinary(stream);
    if (!stream.HasError()) animation.Evaluate(Vector3(0.5f, 0.25f, 0.0f));
    return 0;
}
