#pragma once
// The phonemes the guide's mouth knows, each with how far it closes the mouth
// (0 fully open, 1 closed).
#include <cstdint>
#include <string_view>

struct PhonemeRow {
    const char* name;
    float closure;
};

class PhonemeTable {
public:
    static constexpr int32_t kCount = 41;
    // The closed mouth of silence.
    static constexpr int32_t kSilence = 40;

    static const PhonemeRow& Row(int32_t index);
    // The row index of an exact name; -1 when none.
    static int32_t Find(std::string_view name);
};
