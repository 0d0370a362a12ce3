// The registry of shared base pictures.
#include "game/SharedBaseImages.h"

#include "core/Array.h"
#include "core/String.h"

namespace {

struct Entry {
    String name;
    Image* image = nullptr;
};

Array<Entry>& Entries() {
    static Array<Entry> entries;
    return entries;
}

}  // namespace

void RegisterSharedBaseImage(const char* name, Image* image) {
    for (Entry& entry : Entries()) {
        if (entry.name.EqualsNoCase(name)) {
            entry.image = image;
            return;
        }
    }
    Entries().Append(Entry{String(name), image});
}

void ClearSharedBaseImages() { Entries().Clear(); }

Image* FindSharedBaseImage(const String& name) {
    for (const Entry& entry : Entries()) {
        if (entry.name.EqualsNoCase(name.CStr())) return entry.image;
    }
    return nullptr;
}
