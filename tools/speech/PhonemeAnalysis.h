#pragma once
// Phonemes guessed from the sound alone: every 20 ms frame is silent, unvoiced or voiced
// by its loudness and zero crossings; a voiced frame's rough vowel class comes from how
// its energy spreads over low, middle and high bands. The labels are names of the game's
// phoneme table chosen for their mouth shapes, not for what was said.
#include <cstdint>
#include <string>
#include <vector>

#include "SpeechWave.h"

namespace speech {

struct PhonemeMark {
    std::string name;
    int32_t startMs = 0;
};

struct PhonemeResult {
    int32_t endMs = 0;
    std::vector<PhonemeMark> marks;  // in time order; the last, "_", at the end time
};

PhonemeResult AnalysePhonemes(const Wave& wave);
// "<ignored word> <end ms>" then "<name> <start ms>" pairs.
std::string FormatPhonemes(const PhonemeResult& result);

}  // namespace speech
