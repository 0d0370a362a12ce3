#include "platform/sys/FileSystem.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

#include "platform/sys/Paths.h"
#include "platform/sys/SafeFile.h"

namespace sys {
namespace {

namespace fs = std::filesystem;

constexpr mode_t kWriteBits = S_IWUSR | S_IWGRP | S_IWOTH;
constexpr mode_t kPermissionBits = 07777;
constexpr size_t kCopyChunkBytes = 64 * 1024;

unsigned char FoldCase(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

bool CharsMatch(char pattern, char name) {
    return pattern == '?' ||
           FoldCase(static_cast<unsigned char>(pattern)) == FoldCase(static_cast<unsigned char>(name));
}

// '*' and '?' only; backtracking to the last star bounds the work by pattern times
// name length, without recursion, whatever the pattern.
bool MatchPlain(std::string_view pattern, std::string_view name) {
    size_t p = 0;
    size_t n = 0;
    size_t star = std::string_view::npos;
    size_t starName = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            starName = n;
        } else if (p < pattern.size() && CharsMatch(pattern[p], name[n])) {
            ++p;
            ++n;
        } else if (star != std::string_view::npos) {
            p = star + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

bool LessNoCase(const std::string& a, const std::string& b) {
    const size_t common = std::min(a.size(), b.size());
    for (size_t i = 0; i < common; ++i) {
        unsigned char ca = FoldCase(static_cast<unsigned char>(a[i]));
        unsigned char cb = FoldCase(static_cast<unsigned char>(b[i]));
        if (ca != cb) return ca < cb;
    }
    if (a.size() != b.size()) return a.size() < b.size();
    return a < b;  // names differing only by case keep a stable order
}

std::optional<struct stat> StatOf(const std::string& resolved) {
    struct stat info {};
    if (::stat(resolved.c_str(), &info) != 0) return std::nullopt;
    return info;
}

std::optional<struct stat> LinkStatOf(const std::string& resolved) {
    struct stat info {};
    if (::lstat(resolved.c_str(), &info) != 0) return std::nullopt;
    return info;
}

bool SameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

std::string LastComponent(std::string_view path) {
    std::string normalized = NormalizeSeparators(path);
    while (normalized.size() > 1 && normalized.back() == '/') normalized.pop_back();
    const size_t slash = normalized.rfind('/');
    return slash == std::string::npos ? normalized : normalized.substr(slash + 1);
}

std::string WithLastComponent(const std::string& resolved, const std::string& name) {
    const size_t slash = resolved.rfind('/');
    return slash == std::string::npos ? name : resolved.substr(0, slash + 1) + name;
}

bool CopyContents(const std::string& from, SafeFile& to) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> in(std::fopen(from.c_str(), "rb"), std::fclose);
    if (!in || !to.IsOpen()) return false;
    std::vector<char> buffer(kCopyChunkBytes);
    size_t got = 0;
    while ((got = std::fread(buffer.data(), 1, buffer.size(), in.get())) > 0) {
        if (std::fwrite(buffer.data(), 1, got, to.Handle()) != got) return false;
    }
    return std::ferror(in.get()) == 0;
}

// True when `inner` is `outer` or lies below it; both canonical.
bool IsWithin(const fs::path& inner, const fs::path& outer) {
    return std::mismatch(outer.begin(), outer.end(), inner.begin(), inner.end()).first == outer.end();
}

// The relative part of a recursive delete: not empty, not absolute, no "..".
bool IsAcceptableTreePath(std::string_view path) {
    const std::string normalized = NormalizeSeparators(path);
    if (normalized.empty() || normalized.front() == '/') return false;
    bool named = false;
    for (const fs::path& part : fs::path(normalized)) {
        if (part == "..") return false;
        if (!part.empty() && part != ".") named = true;
    }
    return named;
}

}  // namespace

bool Exists(std::string_view path) {
    if (path.empty()) return false;
    return StatOf(ResolveQuietly(path)).has_value();
}

bool IsDirectory(std::string_view path) {
    if (path.empty()) return false;
    auto info = StatOf(ResolveQuietly(path));
    return info && S_ISDIR(info->st_mode);
}

bool IsHidden(std::string_view path) {
    const std::string name = LastComponent(path);
    return !name.empty() && name.front() == '.';
}

bool WildcardMatch(std::string_view pattern, std::string_view name) {
    if (MatchPlain(pattern, name)) return true;
    // The game's searches were written for the classic rules: "*.*" lists every name,
    // extension or not, and "*." lists the names without one (the player folders).
    if (pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == ".*") {
        return MatchPlain(pattern.substr(0, pattern.size() - 2), name);
    }
    if (!pattern.empty() && pattern.back() == '.') {
        return name.find('.') == std::string_view::npos && MatchPlain(pattern.substr(0, pattern.size() - 1), name);
    }
    return false;
}

std::vector<std::string> ListDirectory(std::string_view pattern) {
    const std::string normalized = NormalizeSeparators(pattern);
    const size_t slash = normalized.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : normalized.substr(0, slash));
    const std::string namePattern = slash == std::string::npos ? normalized : normalized.substr(slash + 1);
    if (namePattern.empty()) return {};

    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(ResolveQuietly(folder).c_str()), ::closedir);
    if (!dir) return {};
    std::vector<std::string> names;
    while (const dirent* entry = ::readdir(dir.get())) {
        std::string_view name = entry->d_name;
        if (name == "." || name == "..") continue;
        if (WildcardMatch(namePattern, name)) names.emplace_back(name);
    }
    std::sort(names.begin(), names.end(), LessNoCase);
    return names;
}

bool IsReadOnly(std::string_view path) {
    if (path.empty()) return false;
    auto info = StatOf(ResolveQuietly(path));
    return info && (info->st_mode & kWriteBits) == 0;
}

bool SetReadOnly(std::string_view path, bool readOnly) {
    if (path.empty()) return false;
    const std::string resolved = ResolveQuietly(path);
    auto info = StatOf(resolved);
    if (!info) return false;
    const mode_t mode = info->st_mode & kPermissionBits;
    return ::chmod(resolved.c_str(), readOnly ? (mode & ~kWriteBits) : (mode | S_IWUSR)) == 0;
}

std::optional<int64_t> LastWriteTime(std::string_view path) {
    if (path.empty()) return std::nullopt;
    auto info = StatOf(ResolveQuietly(path));
    if (!info) return std::nullopt;
    return static_cast<int64_t>(info->st_mtim.tv_sec) * 1'000'000'000 + info->st_mtim.tv_nsec;
}

bool MakeDirectory(std::string_view path) {
    if (path.empty()) return false;
    const std::string resolved = ResolveQuietly(path);
    // One level at a time, so that exactly the folders that gain an entry are invalidated.
    for (size_t slash = resolved.find('/', 1);; slash = resolved.find('/', slash + 1)) {
        const std::string prefix = resolved.substr(0, slash);
        if (::mkdir(prefix.c_str(), 0777) == 0) InvalidateContainingDirectory(prefix);
        if (slash == std::string::npos) break;
    }
    return IsDirectory(resolved);
}

bool CopyFile(std::string_view from, std::string_view to, bool overwrite) {
    if (from.empty() || to.empty()) return false;
    const std::string source = ResolvePath(from);
    const std::string target = ResolveQuietly(to);
    auto sourceInfo = StatOf(source);
    if (!sourceInfo || !S_ISREG(sourceInfo->st_mode)) return false;
    if (auto targetInfo = StatOf(target)) {
        if (!overwrite || SameFile(*sourceInfo, *targetInfo)) return false;
    }
    // The copy is the game's own file: it takes fresh permissions (or those of the file
    // it replaces), so a copy of read-only data can be edited and saved again.
    SafeFile out(target, "wb");
    return CopyContents(source, out) && out.Commit();
}

bool DeleteFile(std::string_view path) {
    if (path.empty()) return false;
    const std::string resolved = ResolveQuietly(path);
    auto info = LinkStatOf(resolved);
    if (!info || S_ISDIR(info->st_mode)) return false;
    // The read-only attribute protects a file from deletion as well as from writing.
    if (!S_ISLNK(info->st_mode) && (info->st_mode & kWriteBits) == 0) return false;
    const bool removed = ::unlink(resolved.c_str()) == 0;
    InvalidateContainingDirectory(resolved);
    return removed;
}

bool RenameFile(std::string_view from, std::string_view to) {
    if (from.empty() || to.empty()) return false;
    const std::string source = ResolveQuietly(from);
    std::string target = ResolveQuietly(to);
    auto sourceInfo = LinkStatOf(source);
    if (!sourceInfo) return false;
    if (auto targetInfo = LinkStatOf(target)) {
        if (!SameFile(*sourceInfo, *targetInfo)) return false;
        // The target resolved to the source itself: a change of case only, which takes
        // the spelling given.
        target = WithLastComponent(target, LastComponent(to));
        if (target == source) return true;
    }
    const bool renamed = std::rename(source.c_str(), target.c_str()) == 0;
    InvalidateContainingDirectory(source);
    InvalidateContainingDirectory(target);
    return renamed;
}

bool RemoveTree(std::string_view root, std::string_view path) {
    if (root.empty() || !IsAcceptableTreePath(path)) return false;
    const std::string resolvedRoot = ResolveQuietly(root);
    std::error_code error;
    const fs::path realRoot = fs::canonical(resolvedRoot, error);
    if (error || !fs::is_directory(realRoot, error)) return false;
    // Resolved against the root's absolute path, a name directly inside a relative root
    // (".") still has a parent to check.
    const fs::path target(ResolveQuietly(realRoot.string() + "/" + NormalizeSeparators(path)));
    // The folders above the target are followed (a linked data folder is fine) but must
    // end up inside root; the target itself is never followed.
    const fs::path realParent = fs::canonical(target.parent_path(), error);
    if (error || !IsWithin(realParent, realRoot)) return false;
    const fs::path name = target.filename();
    if (name.empty() || name == "." || name == "..") return false;
    const fs::path victim = realParent / name;
    if (!fs::exists(fs::symlink_status(victim, error))) return false;
    fs::remove_all(victim, error);
    ClearDirectoryCache();
    return !error;
}

}  // namespace sys
