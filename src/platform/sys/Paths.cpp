#include "platform/sys/Paths.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

namespace sys {
namespace {

// Past this many cached folders the whole cache is dropped: a long session that walks
// many folders must not grow without bound, and a refill costs one listing per folder.
constexpr size_t kMaxCachedDirectories = 4096;
constexpr size_t kMaxSafeNameBytes = 64;

char FoldCase(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string Folded(std::string_view name) {
    std::string folded(name);
    for (char& c : folded) c = FoldCase(c);
    return folded;
}

struct Listing {
    // The folder's change stamps when it was read: a mismatch means another process
    // (or a program started by this one) changed it behind the cache's back.
    timespec mtime{};
    timespec ctime{};
    std::unordered_set<std::string> exact;
    // Folded name -> the byte-order-smallest name with that folding, so that the choice
    // among names differing only by case does not depend on the listing order.
    std::unordered_map<std::string, std::string> folded;
};

using DirectoryKey = std::pair<dev_t, ino_t>;

bool SameTime(const timespec& a, const timespec& b) { return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec; }

// Keyed by device and inode, so every spelling of a folder ("a/../B", a symbolic link,
// another working directory) shares one entry and one invalidation.
class DirectoryCache {
public:
    // The on-disk spelling of `name` inside `directory`, or nothing when absent.
    std::optional<std::string> Find(const std::string& directory, std::string_view name) {
        struct stat info {};
        if (::stat(directory.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return std::nullopt;
        std::lock_guard lock(mutex_);
        const Listing* listing = Current(directory, info);
        if (listing == nullptr) return std::nullopt;
        std::string key(name);
        if (listing->exact.count(key) != 0) return key;
        auto found = listing->folded.find(Folded(name));
        if (found == listing->folded.end()) return std::nullopt;
        return found->second;
    }

    void Forget(const std::string& directory) {
        struct stat info {};
        if (::stat(directory.c_str(), &info) != 0) return;
        std::lock_guard lock(mutex_);
        entries_.erase({info.st_dev, info.st_ino});
    }

    void Clear() {
        std::lock_guard lock(mutex_);
        entries_.clear();
    }

private:
    const Listing* Current(const std::string& directory, const struct stat& info) {
        DirectoryKey key{info.st_dev, info.st_ino};
        auto found = entries_.find(key);
        if (found != entries_.end() && SameTime(found->second.mtime, info.st_mtim) &&
            SameTime(found->second.ctime, info.st_ctim)) {
            return &found->second;
        }
        std::optional<Listing> fresh = Read(directory, info);
        if (!fresh) {
            entries_.erase(key);
            return nullptr;
        }
        if (entries_.size() >= kMaxCachedDirectories) entries_.clear();
        Listing& stored = entries_[key];
        stored = std::move(*fresh);
        return &stored;
    }

    static std::optional<Listing> Read(const std::string& directory, const struct stat& info) {
        std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(directory.c_str()), ::closedir);
        if (!dir) return std::nullopt;
        Listing listing;
        listing.mtime = info.st_mtim;
        listing.ctime = info.st_ctim;
        while (const dirent* entry = ::readdir(dir.get())) {
            std::string name = entry->d_name;
            if (name == "." || name == "..") continue;
            auto [slot, added] = listing.folded.emplace(Folded(name), name);
            if (!added && name < slot->second) slot->second = name;
            listing.exact.insert(std::move(name));
        }
        return listing;
    }

    std::mutex mutex_;
    std::map<DirectoryKey, Listing> entries_;
};

DirectoryCache& Cache() {
    static DirectoryCache cache;
    return cache;
}

std::vector<std::string> SplitComponents(std::string_view path) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start < path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string_view::npos) end = path.size();
        if (end > start) parts.emplace_back(path.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

// Applies "." and ".." by name, as the game's original file system did: "a/../b" is
// "b" whatever "a" is. Leading ".." of a relative path are kept.
void AppendComponent(std::vector<std::string>& out, const std::string& part, bool absolute) {
    if (part == ".") return;
    if (part != "..") {
        out.push_back(part);
        return;
    }
    if (!out.empty() && out.back() != "..") {
        out.pop_back();
        return;
    }
    if (!absolute) out.push_back(part);
}

std::string Join(const std::vector<std::string>& parts, bool absolute) {
    if (parts.empty()) return absolute ? std::string(1, '/') : std::string(1, '.');
    std::string joined;
    for (const std::string& part : parts) {
        if (absolute || !joined.empty()) joined += '/';
        joined += part;
    }
    return joined;
}

bool IsForbiddenNameByte(unsigned char c) {
    if (c < 0x20 || c == 0x7F || c == ' ') return true;
    switch (c) {
        case '/':
        case '\\':
        case ':':
        case '*':
        case '?':
        case '"':
        case '<':
        case '>':
        case '|': return true;
        default: return false;
    }
}

// The names kept while recording; made on first use, so nothing exists before a test
// asks for it.
struct MissingNames {
    std::mutex mutex;
    bool on = false;
    std::set<std::string> names;
};

MissingNames& Missing() {
    static MissingNames names;
    return names;
}

void NoteMissing(std::string_view path) {
    MissingNames& names = Missing();
    std::lock_guard lock(names.mutex);
    if (names.on) names.names.emplace(path);
}

// `found` turns false when a component other than "." or ".." names nothing on disk.
std::string Resolve(std::string_view path, bool& found) {
    const std::string normalized = NormalizeSeparators(path);
    if (normalized.empty()) return normalized;
    const bool absolute = normalized.front() == '/';
    const bool trailing = normalized.size() > 1 && normalized.back() == '/';

    std::vector<std::string> out;
    for (const std::string& part : SplitComponents(normalized)) {
        if (part == "." || part == "..") {
            AppendComponent(out, part, absolute);
            continue;
        }
        std::optional<std::string> onDisk = Cache().Find(Join(out, absolute), part);
        found = found && onDisk.has_value();
        AppendComponent(out, onDisk ? *onDisk : part, absolute);
    }
    std::string resolved = Join(out, absolute);
    if (trailing && !out.empty()) resolved += '/';
    return resolved;
}

}  // namespace

std::string NormalizeSeparators(std::string_view path) {
    std::string out;
    out.reserve(path.size());
    for (char c : path) {
        if (c == '\\') c = '/';
        if (c == '/' && !out.empty() && out.back() == '/') continue;
        out += c;
    }
    return out;
}

std::string ResolvePath(std::string_view path) {
    bool found = true;
    std::string resolved = Resolve(path, found);
    if (!found) NoteMissing(path);
    return resolved;
}

std::string ResolveQuietly(std::string_view path) {
    bool found = true;
    return Resolve(path, found);
}

void RecordMissingFiles(bool on) {
    MissingNames& names = Missing();
    std::lock_guard lock(names.mutex);
    names.on = on;
    names.names.clear();
}

std::vector<std::string> MissingFiles() {
    std::set<std::string> kept;
    {
        MissingNames& names = Missing();
        std::lock_guard lock(names.mutex);
        kept = names.names;
    }
    std::vector<std::string> missing;
    for (const std::string& name : kept) {
        struct stat info {};
        if (::stat(ResolveQuietly(name).c_str(), &info) != 0) missing.push_back(name);
    }
    return missing;
}

void InvalidateDirectoryCache(std::string_view directory) {
    Cache().Forget(ResolveQuietly(directory.empty() ? std::string_view(".") : directory));
}

void InvalidateContainingDirectory(std::string_view path) {
    std::string resolved = ResolveQuietly(path);
    while (resolved.size() > 1 && resolved.back() == '/') resolved.pop_back();
    const size_t slash = resolved.rfind('/');
    if (slash == std::string::npos) {
        Cache().Forget(".");
        return;
    }
    Cache().Forget(slash == 0 ? "/" : resolved.substr(0, slash));
}

void ClearDirectoryCache() { Cache().Clear(); }

std::string FullPath(std::string_view path) {
    if (path.empty()) return {};
    std::string resolved = ResolveQuietly(path);
    if (resolved.front() != '/') {
        std::vector<char> buffer(256);
        while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
            if (errno != ERANGE) return {};
            buffer.resize(buffer.size() * 2);
        }
        resolved = std::string(buffer.data()) + "/" + resolved;
    }
    std::vector<std::string> parts;
    for (const std::string& part : SplitComponents(resolved)) AppendComponent(parts, part, true);
    return Join(parts, true);
}

bool IsSafeName(std::string_view name) {
    if (name.empty() || name.size() > kMaxSafeNameBytes) return false;
    // A leading dot covers "." and "..", and keeps names from becoming hidden files.
    if (name.front() == '.') return false;
    for (char c : name) {
        if (IsForbiddenNameByte(static_cast<unsigned char>(c))) return false;
    }
    return true;
}

}  // namespace sys
