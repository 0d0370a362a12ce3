#pragma once
// The runtime folder being written: every file goes through the safe-save path, and each
// written path is remembered so that a run can report what it made.
#include <string>
#include <string_view>
#include <vector>

class Image;

namespace assetgen {

class Output {
public:
    explicit Output(std::string root);

    const std::string& Root() const { return root_; }
    // Writes a file at a path below the root ("Textures/X.tga"); throws on failure,
    // since a data set with a missing file is unusable.
    void Write(std::string_view relativePath, std::string_view bytes);
    void WriteImage(std::string_view relativePath, const Image& image);
    // Gives the older file a last-write time a second before the newer one's; throws
    // when either cannot be reached.
    void DateBefore(std::string_view olderPath, std::string_view newerPath);
    const std::vector<std::string>& Written() const { return written_; }
    bool HasWritten(std::string_view relativePath) const;

private:
    std::string Prepare(std::string_view relativePath);

    std::string root_;
    std::vector<std::string> written_;
};

// A stable seed for an asset, so that each asset's random draws do not depend on the
// order in which the others are made.
unsigned SeedFor(std::string_view name);

}  // namespace assetgen
