#include "Voice.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include <map>

#include "AudioEncoding.h"

#ifdef ASSETGEN_HAVE_ESPEAK
#include <espeak-ng/speak_lib.h>
#endif

namespace assetgen {
namespace {

// The synthesiser's phoneme names, longest first where one is the start of another,
// mapped to the mouth table.
const std::vector<std::pair<std::string, std::string>>& PhonemeNames() {
    static const std::vector<std::pair<std::string, std::string>> names = {
        {"aI", "ay"}, {"aU", "aw"}, {"eI", "ey"}, {"OI", "oy"}, {"oU", "ow"}, {"tS", "ch"}, {"dZ", "jh"},
        {"3:", "er"}, {"A:", "aa"}, {"O:", "ao"}, {"u:", "uw"}, {"i:", "iy"}, {"a#", "ax"}, {"@", "ax"},
        {"a", "ae"},  {"A", "aa"},  {"E", "eh"},  {"e", "eh"},  {"I", "ih"},  {"i", "iy"},  {"O", "ao"},
        {"o", "ow"},  {"U", "uh"},  {"u", "uw"},  {"V", "ah"},  {"3", "er"},  {"T", "th"},  {"D", "dh"},
        {"S", "sh"},  {"Z", "zh"},  {"N", "ng"},  {"j", "y"},   {"b", "b"},   {"d", "d"},   {"f", "f"},
        {"g", "g"},   {"h", "h"},   {"k", "k"},   {"l", "l"},   {"m", "m"},   {"n", "n"},   {"p", "p"},
        {"r", "r"},   {"s", "s"},   {"t", "t"},   {"v", "v"},   {"w", "w"},   {"z", "z"},   {"_", "_"},
    };
    return names;
}

std::string MouthName(const std::string& phoneme) {
    for (const auto& [from, to] : PhonemeNames())
        if (phoneme.rfind(from, 0) == 0) return to;
    return "ah";
}

#ifdef ASSETGEN_HAVE_ESPEAK
struct Collector {
    Samples samples;
    std::vector<PhonemeMark> phonemes;
};

// The synthesiser calls back on the caller's thread during the synthesis; some calls carry
// no event that would name the line being collected, so the line is held here.
Collector* current = nullptr;

int Collect(short* wav, int count, espeak_EVENT* events) {
    Collector* collector = current;
    for (espeak_EVENT* e = events; e && e->type != espeakEVENT_LIST_TERMINATED; ++e) {
        if (e->type == espeakEVENT_PHONEME && collector) {
            char name[9] = {};
            std::copy(e->id.string, e->id.string + 8, name);
            collector->phonemes.push_back({MouthName(name), e->audio_position});
        }
    }
    if (collector && wav)
        for (int i = 0; i < count; ++i) collector->samples.push_back(wav[i] / 32768.0f);
    return 0;
}
#endif

}  // namespace

Voice::Voice() {
#ifdef ASSETGEN_HAVE_ESPEAK
    const int rate = espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 0, nullptr,
                                       espeakINITIALIZE_PHONEME_EVENTS | espeakINITIALIZE_DONT_EXIT);
    if (rate <= 0 || espeak_SetVoiceByName("en") != EE_OK) return;
    espeak_SetSynthCallback(Collect);
    rate_ = rate;
#endif
}

Voice::~Voice() {
#ifdef ASSETGEN_HAVE_ESPEAK
    if (rate_ > 0) espeak_Terminate();
#endif
}

SpokenLine Voice::Say(const std::string& text, int pitch) {
#ifdef ASSETGEN_HAVE_ESPEAK
    if (rate_ > 0) {
        Collector collector;
        current = &collector;
        espeak_SetParameter(espeakPITCH, pitch, 0);
        espeak_SetParameter(espeakRATE, 160, 0);
        espeak_Synth(text.c_str(), text.size() + 1, 0, POS_CHARACTER, 0, espeakCHARS_AUTO, nullptr, nullptr);
        espeak_Synchronize();
        current = nullptr;
        SpokenLine line;
        line.samples = Resample(collector.samples, rate_, kSoundRate);
        line.phonemes = std::move(collector.phonemes);
        std::stable_sort(line.phonemes.begin(), line.phonemes.end(),
                         [](const PhonemeMark& a, const PhonemeMark& b) { return a.startMs < b.startMs; });
        line.endMs = int(line.samples.size() * 1000 / kSoundRate);
        if (!line.samples.empty()) return line;
    }
#endif
    return SayWithTones(text, pitch);
}

SpokenLine SayWithTones(const std::string& text, int pitch) {
    SpokenLine line;
    const float base = 110.0f + pitch * 1.5f;
    float at = 0.05f;
    bool inVowel = false;
    int syllable = 0;
    for (char c : text) {
        const bool vowel = std::strchr("aeiouyAEIOUY", c) != nullptr && c != 0;
        if (vowel && !inVowel) {
            ToneSpec spec{0.16f, base * (1 + 0.1f * (syllable % 3)), base, Wave::Triangle, 0.02f, 2.0f, 6, 0.03f, 0.5f};
            MixInto(line.samples, Tone(spec), at);
            line.phonemes.push_back({"aa", int(at * 1000)});
            line.phonemes.push_back({"_", int((at + 0.16f) * 1000)});
            at += 0.2f;
            ++syllable;
        }
        inVowel = vowel;
    }
    MixInto(line.samples, Silence(0.1f), at);
    line.endMs = int(line.samples.size() * 1000 / kSoundRate);
    return line;
}

std::string PhonemeFileText(const SpokenLine& line) {
    std::string text = "phonemes " + std::to_string(line.endMs) + "\n";
    for (const PhonemeMark& mark : line.phonemes)
        if (mark.startMs < line.endMs) text += mark.name + " " + std::to_string(mark.startMs) + "\n";
    text += "_ " + std::to_string(line.endMs) + "\n";
    return text;
}

}  // namespace assetgen
