// Writes the game's binary data set into a runtime folder:
//   assetgen --manifest tools/assetgen/manifest.tsv --data data --out build/game
#include <chrono>
#include <cstdio>
#include <exception>
#include <string>

#include "Generator.h"

int main(int argc, char** argv) {
    assetgen::GeneratorPaths paths;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--manifest")
            paths.manifest = argv[i + 1];
        else if (option == "--data")
            paths.data = argv[i + 1];
        else if (option == "--out")
            paths.output = argv[i + 1];
    }
    if (paths.manifest.empty() || paths.output.empty()) {
        std::fprintf(stderr, "usage: assetgen --manifest <manifest.tsv> --data <folder> --out <runtime folder>\n");
        return 2;
    }
    try {
        const auto start = std::chrono::steady_clock::now();
        const assetgen::GeneratorReport r = assetgen::Generate(paths);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::printf("assetgen: %d files (%d textures, %d sounds, %d models, %d spoken lines%s, %d songs) in %.1f s\n",
                    r.files, r.textures, r.sounds, r.models, r.speech, r.synthesisedSpeech ? "" : " as tones", r.songs,
                    seconds);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "assetgen: %s\n", e.what());
        return 1;
    }
}
