// Mouth closures by phoneme.
#include "scenes/PhonemeTable.h"

namespace {
const PhonemeRow kRows[PhonemeTable::kCount] = {
    {"aa", 0.15f}, {"ae", 0.25f}, {"ah", 0.4f},  {"ao", 0.2f},  {"aw", 0.25f}, {"ax", 0.4f},  {"ay", 0.3f},
    {"b", 1.0f},   {"ch", 0.75f}, {"d", 0.8f},   {"dh", 0.8f},  {"eh", 0.5f},  {"er", 0.6f},  {"ey", 0.3f},
    {"f", 0.85f},  {"g", 0.8f},   {"h", 0.8f},   {"ih", 0.75f}, {"iy", 0.6f},  {"jh", 0.75f}, {"k", 0.8f},
    {"l", 0.75f},  {"m", 1.0f},   {"n", 0.8f},   {"ng", 0.7f},  {"ow", 0.3f},  {"oy", 0.4f},  {"p", 1.0f},
    {"r", 0.8f},   {"s", 0.75f},  {"sh", 0.75f}, {"t", 0.8f},   {"th", 0.7f},  {"uh", 0.55f}, {"uw", 0.7f},
    {"v", 0.85f},  {"w", 0.85f},  {"y", 0.8f},   {"z", 0.85f},  {"zh", 0.75f}, {"_", 1.0f}};
}  // namespace

const PhonemeRow& PhonemeTable::Row(int32_t index) { return kRows[index >= 0 && index < kCount ? index : kSilence]; }

int32_t PhonemeTable::Find(std::string_view name) {
    for (int32_t i = 0; i < kCount; ++i) {
        if (name == kRows[i].name) {
            return i;
        }
    }
    return -1;
}
