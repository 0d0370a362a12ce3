// The OBJ model reader: the text of an ordinary model (first byte anything but 'p') or
// of a painted one.
#include <string>

#include "engine/Mesh.h"
#include "engine/ObjReader.h"
#include "harness/FuzzTarget.h"

VORNS_FUZZ_TARGET(data, size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    Mesh mesh;
    ObjReader reader;
    reader.Read(text, mesh, size > 0 && data[0] == 'p', nullptr);
    return 0;
}
