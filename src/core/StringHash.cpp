#include "core/StringHash.h"

#include "core/String.h"

uint32_t StringHash(const char* text) {
    uint32_t h = 0;
    for (const char* p = text; *p != '\0'; ++p) {
        h = (h << 4) + static_cast<unsigned char>(UpperChar(*p));
        const uint32_t g = h & 0xF0000000u;
        if (g != 0) h = (h ^ (g >> 24)) & ~g;
    }
    return h;
}

uint32_t StringHash(const String& text) { return StringHash(text.CStr()); }
