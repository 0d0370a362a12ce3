// The model cache: the same bytes read as a model's ".sbm" file and as an actor set's.
#include <string>

#include "core/MemoryReadStream.h"
#include "engine/ActorSet.h"
#include "engine/ModelCache.h"
#include "engine/ModelNode.h"
#include "harness/FuzzTarget.h"

VORNS_FUZZ_TARGET(data, size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    {
        MemoryReadStream stream(bytes);
        ModelNode root;
        ModelCacheObjects objects;
        ReadModelCache(stream, root, objects);
    }
    MemoryReadStream stream(bytes);
    ActorSet set;
    ActorSetObjects objects;
    set.ReadBinary(stream, objects);
    return 0;
}
