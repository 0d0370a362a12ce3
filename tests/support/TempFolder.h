#pragma once
// A fresh folder for one test, under $VORNS_TEST_TMP (or the system's temporary folder),
// removed with everything in it afterwards.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <unistd.h>

namespace platform_test {

class TempFolder {
public:
    TempFolder() {
        const char* base = std::getenv("VORNS_TEST_TMP");
        std::filesystem::path parent =
            (base != nullptr && *base != '\0') ? std::filesystem::path(base) : std::filesystem::temp_directory_path();
        std::filesystem::create_directories(parent);
        std::string pattern = (parent / "sys-XXXXXX").string();
        if (::mkdtemp(pattern.data()) != nullptr) path_ = pattern;
    }
    ~TempFolder() {
        std::error_code ignored;
        // Tests make files read-only; removal needs the folders writable, which they are.
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& relative) const { return path_ + "/" + relative; }

private:
    std::string path_;
};

// Writes and reads files behind the platform layer's back, with exact names.
inline void WriteRaw(const std::string& path, const std::string& text) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

inline std::string ReadRaw(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace platform_test
