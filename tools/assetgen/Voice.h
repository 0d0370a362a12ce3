#pragma once
// Spoken lines: the speech synthesiser where it is installed, a warbling tone in its
// place otherwise. Each line comes with the phonemes heard in it and when each starts,
// named as in the game's mouth table.
#include <string>
#include <vector>

#include "Synth.h"

namespace assetgen {

struct PhonemeMark {
    std::string name;  // one of the 41 names of the mouth table ("aa" .. "zh", "_")
    int startMs = 0;
};

struct SpokenLine {
    Samples samples;  // mono at the sound rate
    std::vector<PhonemeMark> phonemes;
    int endMs = 0;
};

class Voice {
public:
    Voice();
    ~Voice();
    Voice(const Voice&) = delete;
    Voice& operator=(const Voice&) = delete;

    bool IsSynthesiser() const { return rate_ > 0; }
    // pitch 0..100, 50 normal.
    SpokenLine Say(const std::string& text, int pitch = 50);

private:
    int rate_ = 0;
};

// The stand-in for a missing synthesiser: one warbling syllable per vowel group of the
// text, the mouth open on each.
SpokenLine SayWithTones(const std::string& text, int pitch);

// The phoneme file's text: an unused word, the end time, then "<phoneme> <start>" pairs,
// the last pair a closed mouth at the end time.
std::string PhonemeFileText(const SpokenLine& line);

}  // namespace assetgen
