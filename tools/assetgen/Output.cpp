#include "Output.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <stdexcept>

#include "core/Image.h"
#include "platform/sys/SafeFile.h"

namespace assetgen {

Output::Output(std::string root) : root_(std::move(root)) {}

std::string Output::Prepare(std::string_view relativePath) {
    const std::filesystem::path path = std::filesystem::path(root_) / relativePath;
    std::filesystem::create_directories(path.parent_path());
    written_.emplace_back(relativePath);
    return path.string();
}

void Output::Write(std::string_view relativePath, std::string_view bytes) {
    if (!sys::SaveFileAtomically(Prepare(relativePath), bytes))
        throw std::runtime_error("cannot write " + std::string(relativePath));
}

void Output::WriteImage(std::string_view relativePath, const Image& image) {
    if (!image.SaveTGA(Prepare(relativePath))) throw std::runtime_error("cannot write " + std::string(relativePath));
}

void Output::DateBefore(std::string_view olderPath, std::string_view newerPath) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::file_time_type newer = fs::last_write_time(fs::path(root_) / newerPath, error);
    if (!error) fs::last_write_time(fs::path(root_) / olderPath, newer - std::chrono::seconds(1), error);
    if (error) throw std::runtime_error("cannot date " + std::string(olderPath) + ": " + error.message());
}

bool Output::HasWritten(std::string_view relativePath) const {
    return std::find(written_.begin(), written_.end(), relativePath) != written_.end();
}

unsigned SeedFor(std::string_view name) {
    // FNV-1a: small, and the same on every machine.
    unsigned hash = 2166136261u;
    for (unsigned char c : name) hash = (hash ^ c) * 16777619u;
    return hash;
}

}  // namespace assetgen
