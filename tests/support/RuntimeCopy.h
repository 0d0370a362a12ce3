#pragma once
// A test's own copy of the built runtime folder. The program writes beside what it reads
// (model caches beside their sources, composed terrain atlases among the textures), so a test
// run inside the shared folder would rewrite files that tests running beside it are reading.
#include <filesystem>
#include <system_error>

#include "support/TempFolder.h"

namespace runtime_test {

// The runtime folder sits beside the build's tests folder.
inline std::filesystem::path BuiltRuntimeFolder() {
    return std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path() / "game";
}

// Copies the files under `from` into `to`. A file that vanishes while it is copied is left
// out: a game played from the runtime folder renames its new caches over the old ones.
inline void CopyTree(const std::filesystem::path& from, const std::filesystem::path& to) {
    namespace fs = std::filesystem;
    fs::create_directories(to);
    std::error_code error;
    for (fs::directory_iterator it(from, error), end; !error && it != end; it.increment(error)) {
        const fs::path target = to / it->path().filename();
        std::error_code ignored;
        if (it->is_directory(ignored)) {
            CopyTree(it->path(), target);
        } else {
            fs::copy_file(it->path(), target, fs::copy_options::overwrite_existing, ignored);
        }
    }
}

// Copies the data set's pictures from the runtime folder `game` into `folder`, for tests
// whose drawing reads them; false when the data set is not built.
inline bool CopyTextures(const std::filesystem::path& game, const std::filesystem::path& folder) {
    if (!std::filesystem::exists(game / "Textures")) return false;
    CopyTree(game / "Textures", folder / "Textures");
    return true;
}

// The data set of the runtime folder in a fresh folder: every sub-folder but the players',
// and the text files beside them. The program itself is left out; a test runs in-process.
class RuntimeCopy {
public:
    RuntimeCopy() {
        namespace fs = std::filesystem;
        const fs::path runtime = BuiltRuntimeFolder();
        const fs::path root(folder_.Path());
        std::error_code error;
        for (fs::directory_iterator it(runtime, error), end; !error && it != end; it.increment(error)) {
            const fs::path name = it->path().filename();
            std::error_code ignored;
            if (it->is_directory(ignored)) {
                if (name != "Players") CopyTree(it->path(), root / name);
            } else if (name.extension() == ".txt" && name != "debug.txt") {
                fs::copy_file(it->path(), root / name, fs::copy_options::overwrite_existing, ignored);
            }
        }
        fs::create_directories(root / "Players");
    }
    RuntimeCopy(const RuntimeCopy&) = delete;
    RuntimeCopy& operator=(const RuntimeCopy&) = delete;

    const std::string& Path() const { return folder_.Path(); }
    std::filesystem::path operator/(const std::string& relative) const {
        return std::filesystem::path(folder_.Path()) / relative;
    }

private:
    platform_test::TempFolder folder_;
};

}  // namespace runtime_test
