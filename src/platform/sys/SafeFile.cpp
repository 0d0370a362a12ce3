#include "platform/sys/SafeFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

#include "platform/sys/Debug.h"
#include "platform/sys/Paths.h"

namespace sys {
namespace {

constexpr mode_t kWriteBits = S_IWUSR | S_IWGRP | S_IWOTH;
constexpr mode_t kPermissionBits = 07777;

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

void Report(const std::string& target, const char* what, int error) {
    std::string line = "Cannot save \"" + target + "\": " + what;
    if (error != 0) line += std::string(": ") + std::strerror(error);
    DebugOutput(line + "\n");
}

// The rename is only durable once the folder itself reaches the disk; a failure here
// loses nothing that a plain write would have kept, so it is not reported.
void SyncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

// A stale temporary file (or a link planted under its name) is replaced, never written
// through; the descriptor is not inherited by programs the game starts.
std::FILE* CreateTemporary(const std::string& temp) {
    ::unlink(temp.c_str());
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return nullptr;
    std::FILE* file = ::fdopen(fd, "wb");
    if (file == nullptr) ::close(fd);
    return file;
}

}  // namespace

SafeFile::SafeFile(std::string_view path, const char* mode) : target_(ResolvePath(path)) {
    // Binary and text modes are the same here; anything but a write mode is refused.
    if (mode == nullptr || mode[0] != 'w' || target_.empty()) {
        Report(target_, "not a write request", 0);
        return;
    }
    temp_ = target_ + ".tmp";
    struct stat old {};
    const bool replacing = ::stat(target_.c_str(), &old) == 0;
    if (replacing && (S_ISDIR(old.st_mode) || (old.st_mode & kWriteBits) == 0)) {
        Report(target_, "the file is read-only", 0);
        return;
    }
    file_ = CreateTemporary(temp_);
    if (file_ == nullptr) {
        Report(target_, "cannot create the temporary file", errno);
        return;
    }
    if (replacing) ::fchmod(::fileno(file_), old.st_mode & kPermissionBits);
    InvalidateContainingDirectory(target_);
}

SafeFile::~SafeFile() { Abandon(); }

bool SafeFile::Commit() {
    if (file_ == nullptr) return false;  // the failure to open was reported then
    std::FILE* file = std::exchange(file_, nullptr);
    int error = 0;
    if (std::fflush(file) != 0 || std::ferror(file) != 0) {
        error = errno != 0 ? errno : EIO;
    } else if (::fsync(::fileno(file)) != 0) {
        error = errno;
    }
    if (std::fclose(file) != 0 && error == 0) error = errno != 0 ? errno : EIO;
    if (error == 0 && std::rename(temp_.c_str(), target_.c_str()) != 0) error = errno;
    if (error != 0) {
        ::unlink(temp_.c_str());
        InvalidateContainingDirectory(target_);
        Report(target_, "writing failed", error);
        return false;
    }
    SyncFolder(FolderOf(target_));
    InvalidateContainingDirectory(target_);
    return true;
}

void SafeFile::Abandon() {
    if (file_ == nullptr) return;
    std::fclose(std::exchange(file_, nullptr));
    ::unlink(temp_.c_str());
    InvalidateContainingDirectory(target_);
}

bool SaveFileAtomically(std::string_view path, std::string_view bytes) {
    SafeFile file(path, "wb");
    if (!file.IsOpen()) return false;
    // A short write leaves the stream's error flag set, which Commit reports.
    if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), file.Handle());
    return file.Commit();
}

}  // namespace sys
