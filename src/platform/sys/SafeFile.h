#pragma once
// Safe saving: a file is written to "<name>.tmp" in the same folder and renamed over the
// target only when everything was written, so a crash or a full disk never leaves a
// half-written file behind.
#include <cstdio>
#include <string>
#include <string_view>

namespace sys {

class SafeFile {
public:
    // mode is "w" or "wb". The path is resolved, so an existing file keeps its spelling
    // (and its permissions). A read-only target is not replaced: the file does not open.
    // A failure to open writes one line to the debug output.
    explicit SafeFile(std::string_view path, const char* mode = "wb");
    ~SafeFile();  // abandons an uncommitted file: the temporary file is removed
    SafeFile(const SafeFile&) = delete;
    SafeFile& operator=(const SafeFile&) = delete;

    bool IsOpen() const { return file_ != nullptr; }
    std::FILE* Handle() const { return file_; }
    const std::string& TargetPath() const { return target_; }

    // Flushes, closes and checks the temporary file, then renames it over the target.
    // On failure the old file stays, the temporary file is removed, one line goes to
    // the debug output, and false is returned.
    bool Commit();
    void Abandon();

private:
    std::FILE* file_ = nullptr;
    std::string target_;
    std::string temp_;
};

// Writes the whole buffer through a SafeFile.
bool SaveFileAtomically(std::string_view path, std::string_view bytes);

}  // namespace sys
