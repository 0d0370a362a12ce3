#pragma once
// The project's list of named files in the runtime folder: one row per file with its
// kind, its path below the runtime folder and the checks it must pass. The generator
// makes the binary rows; the tests check every row.
#include <string>
#include <vector>

namespace assetgen {

struct ManifestRow {
    std::string kind;                 // texture, font, widths, sound, speech, phonemes, obj, an8, actor, text
    std::string path;                 // "Textures/X.tga"
    std::vector<std::string> checks;  // "size=32x32", "ring", "anims=A,B"

    bool Has(const std::string& flag) const;
    // The value of a "key=value" check, empty when absent.
    std::string Value(const std::string& key) const;
    // The file name without folder and extension.
    std::string Title() const;
};

// Reads the tab-separated manifest; lines starting with '#' are comments. Throws when
// the file cannot be read or a row is malformed.
std::vector<ManifestRow> ReadManifest(const std::string& fileName);

std::vector<std::string> SplitList(const std::string& text, char separator);

}  // namespace assetgen
