#include "platform/sys/Process.h"

#include <fcntl.h>
#include <malloc.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "platform/sys/Paths.h"

extern char** environ;

namespace sys {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Owns the file actions of one start, so every exit path releases them.
class SpawnActions {
public:
    SpawnActions() { ::posix_spawn_file_actions_init(&actions_); }
    ~SpawnActions() { ::posix_spawn_file_actions_destroy(&actions_); }
    SpawnActions(const SpawnActions&) = delete;
    SpawnActions& operator=(const SpawnActions&) = delete;

    bool Silence() {
        return ::posix_spawn_file_actions_addopen(&actions_, STDOUT_FILENO, "/dev/null", O_WRONLY, 0) == 0 &&
               ::posix_spawn_file_actions_adddup2(&actions_, STDOUT_FILENO, STDERR_FILENO) == 0;
    }

    // The started program inherits no descriptor of the game beyond the standard three.
    bool CloseInherited() {
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 34))
        return ::posix_spawn_file_actions_addclosefrom_np(&actions_, STDERR_FILENO + 1) == 0;
#else
        return true;
#endif
    }

    const posix_spawn_file_actions_t* Get() const { return &actions_; }

private:
    posix_spawn_file_actions_t actions_{};
};

bool WaitFor(pid_t child) {
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) return false;
    }
    return true;
}

}  // namespace

std::vector<std::string> SplitCommandLine(std::string_view commandLine) {
    std::vector<std::string> args;
    std::string current;
    bool inArgument = false;
    bool quoted = false;
    for (char c : commandLine) {
        if (c == '"') {
            quoted = !quoted;
            inArgument = true;  // "" is an empty argument, not nothing
        } else if (IsBlank(c) && !quoted) {
            if (inArgument) args.push_back(std::move(current));
            current.clear();
            inArgument = false;
        } else {
            current += c;
            inArgument = true;
        }
    }
    if (inArgument) args.push_back(std::move(current));
    if (!args.empty()) args.front() = ResolvePath(args.front());
    return args;
}

bool RunAndWait(const std::vector<std::string>& argv, bool hidden) {
    if (argv.empty() || argv.front().empty()) return false;
    SpawnActions actions;
    if (!actions.CloseInherited() || (hidden && !actions.Silence())) return false;

    std::vector<char*> pointers;
    pointers.reserve(argv.size() + 1);
    for (const std::string& arg : argv) pointers.push_back(const_cast<char*>(arg.c_str()));
    pointers.push_back(nullptr);

    // posix_spawnp reports a program that cannot be executed through its result, so a
    // missing program is a failure here rather than a child exiting with 127.
    pid_t child = 0;
    if (::posix_spawnp(&child, pointers.front(), actions.Get(), nullptr, pointers.data(), environ) != 0) {
        return false;
    }
    const bool waited = WaitFor(child);
    // The program may have written anywhere, and folder change times are coarse.
    ClearDirectoryCache();
    return waited;
}

// The library's own rule ends at these: blocks from 32 MB up are mapped on their own,
// and free memory at the heap's top is handed back once it exceeds twice that. It only
// climbs there when such a block is freed, which an idle menu never does.
void KeepFreedMemoryForReuse() {
    constexpr int kOwnMappingBytes = 32 << 20;
    mallopt(M_MMAP_THRESHOLD, kOwnMappingBytes);
    mallopt(M_TRIM_THRESHOLD, 2 * kOwnMappingBytes);
}

void ReturnFreedMemory() { malloc_trim(0); }

}  // namespace sys
