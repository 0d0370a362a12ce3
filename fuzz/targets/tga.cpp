// TGA images read from bytes.
#include <span>

#include "core/Image.h"
#include "core/Tga.h"
#include "harness/FuzzTarget.h"

VORNS_FUZZ_TARGET(data, size) {
    Image image;
    ReadTGA(std::span<const uint8_t>(data, size), image);
    return 0;
}
