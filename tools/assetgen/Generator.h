#pragma once
// Makes every binary file of the runtime folder: the manifest's rows and the files that
// the hand-written data names.
#include <string>

namespace assetgen {

struct GeneratorPaths {
    std::string manifest;  // tools/assetgen/manifest.tsv
    std::string data;      // the hand-written data folder
    std::string output;    // the runtime folder
};

struct GeneratorReport {
    int files = 0;
    int textures = 0;
    int sounds = 0;
    int models = 0;
    int speech = 0;
    int songs = 0;
    bool synthesisedSpeech = false;
};

GeneratorReport Generate(const GeneratorPaths& paths);

}  // namespace assetgen
