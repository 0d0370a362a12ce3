// Writes the phoneme file of a WAVE file: phonemes [-h <hint file>] -o <phn> <wav>.
// A hint file holds "<wav file name>:<spoken text>"; a hint that names another file, or
// no text, is taken as a sign that the guess cannot be trusted and the result is empty
// (only the end time), so the caller may try again without it.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "PhonemeAnalysis.h"
#include "SpeechWave.h"

namespace {

int Usage() {
    std::fprintf(stderr, "usage: phonemes [-h <hint file>] -o <output> <file.wav>\n");
    return 2;
}

std::string FileName(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool HintFits(const std::string& hintPath, const std::string& wavPath) {
    std::ifstream in(hintPath);
    std::string line;
    if (!std::getline(in, line)) {
        return false;
    }
    const size_t colon = line.find(':');
    if (colon == std::string::npos || line.substr(0, colon) != FileName(wavPath)) {
        return false;
    }
    return line.find_first_not_of(" \t\r", colon + 1) != std::string::npos;
}

}  // namespace

int main(int argc, char** argv) {
    std::string hint;
    std::string output;
    std::string input;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-h") == 0 && i + 1 < argc) {
            hint = argv[++i];
        } else if (std::strcmp(argv[i], "-o") == 0 && i + 1 < argc) {
            output = argv[++i];
        } else {
            input = argv[i];
        }
    }
    if (output.empty() || input.empty()) {
        return Usage();
    }
    speech::Wave wave;
    const bool readable = speech::ReadWave(input, wave);
    speech::PhonemeResult result;
    if (readable) {
        result = speech::AnalysePhonemes(wave);
    }
    if (!hint.empty() && !HintFits(hint, input)) {
        result.marks.clear();
    }
    if (!speech::SaveText(output, speech::FormatPhonemes(result))) {
        std::fprintf(stderr, "phonemes: cannot write %s\n", output.c_str());
        return 1;
    }
    return readable ? 0 : 1;
}
