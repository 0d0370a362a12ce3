#include "core/FileHelpers.h"

#include <cerrno>
#include <cstdio>
#include <string>
#include <string_view>

#include <sys/stat.h>

#include "platform/sys/FileSystem.h"
#include "platform/sys/Paths.h"
#include "platform/sys/Process.h"

namespace {

String& DataRoot() {
    static String root(".");
    return root;
}

bool HasWildcard(std::string_view path) { return path.find_first_of("*?") != std::string_view::npos; }

// A file that cannot be opened for reading has no time to compare (folders included).
bool CanOpenForReading(const char* path) {
    if (sys::IsDirectory(path)) return false;
    std::FILE* file = std::fopen(sys::ResolvePath(path).c_str(), "rb");
    if (file == nullptr) return false;
    std::fclose(file);
    return true;
}

}  // namespace

bool FileExists(const String& path) {
    if (HasWildcard(path.CStr())) return !sys::ListDirectory(path.CStr()).empty();
    return sys::Exists(path.CStr());
}

void SetDataRoot(const String& root) { DataRoot() = root.IsEmpty() ? String(".") : root; }

const String& GetDataRoot() { return DataRoot(); }

bool DeleteFileOrFolder(const String& path) { return sys::RemoveTree(DataRoot().CStr(), path.CStr()); }

bool CompareFileTimes(const String& first, const String& second, int& result) {
    if (!CanOpenForReading(first.CStr()) || !CanOpenForReading(second.CStr())) return false;
    const auto a = sys::LastWriteTime(first.CStr());
    const auto b = sys::LastWriteTime(second.CStr());
    if (!a || !b) return false;
    result = *a < *b ? -1 : (*a > *b ? 1 : 0);
    return true;
}

bool RunAndWait(const String& commandLine, bool hidden) {
    const std::vector<std::string> argv = sys::SplitCommandLine(commandLine.CStr());
    if (argv.empty()) return false;
    return sys::RunAndWait(argv, hidden);
}

String GetFullPath(const String& name) { return String(sys::FullPath(name.CStr()).c_str()); }

StringArray ListFiles(const String& pattern) {
    StringArray names;
    for (const std::string& name : sys::ListDirectory(pattern.CStr())) names.Append(String(name.c_str()));
    return names;
}

namespace {

int SystemErrorCode(int error) {
    switch (error) {
        case ENOENT: return kErrorFileNotFound;
        case ENOTDIR: return kErrorPathNotFound;
        case EACCES:
        case EPERM:
        case EROFS: return kErrorAccessDenied;
        default: return kErrorGeneralFailure;
    }
}

}  // namespace

// Each call's own result decides: an error code left over from an earlier call must not
// turn a success into a failure.
int RestoreReadOnlyFile(const String& path) {
    const std::string resolved = sys::ResolvePath(path.CStr());
    struct stat status {};
    if (::stat(resolved.c_str(), &status) != 0) return SystemErrorCode(errno);
    if ((status.st_mode & S_IWUSR) != 0) return 0;
    if (::chmod(resolved.c_str(), status.st_mode | S_IWUSR) != 0) return SystemErrorCode(errno);
    return 0;
}
