// A pattern's text form, read over a pattern that then is laid out and matched against.
#include "core/StringStream.h"
#include "harness/FuzzTarget.h"
#include "harness/FuzzWorld.h"
#include "units/Pattern.h"
#include "world/Arena.h"

VORNS_FUZZ_TARGET(data, size) {
    Arena& arena = fuzz::World();
    {
        Pattern pattern;
        StringStream text(fuzz::Text(data, size).c_str());
        pattern.Load(text);
        pattern.IsEnabled();
        StringStream written;
        pattern.Save(written);
    }
    arena.FlushObjectPools();
    return 0;
}
