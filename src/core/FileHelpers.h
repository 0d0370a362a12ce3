#pragma once
// Thin file, folder and process helpers over the platform layer. Paths may use
// backslashes and any case; they are resolved against what exists. None of them throws:
// failure is a false result or an empty text or list.
#include "core/Array.h"
#include "core/String.h"

// True when the path names a file or a folder; the last component may hold wildcards.
bool FileExists(const String& path);

// The folder that DeleteFileOrFolder may delete inside: by default the current working
// folder, where the program's data folders lie.
void SetDataRoot(const String& root);
const String& GetDataRoot();

// Deletes a file, or a folder with everything in it. Only a relative path strictly
// inside the data root is taken: empty and absolute paths, paths with "..", and paths
// leading out of the root are refused; symbolic links are removed, never followed.
bool DeleteFileOrFolder(const String& path);

// Compares the last-write times of two files that can both be opened for reading:
// result -1 when the first is older, 0 when equal, 1 when newer. False, with result
// untouched, when either cannot be opened.
bool CompareFileTimes(const String& first, const String& second, int& result);

// Runs the command line (quotes group arguments; no shell) and waits for it to end.
// Hidden sends its output to /dev/null. False when it cannot be started; the exit code
// is not examined.
bool RunAndWait(const String& commandLine, bool hidden);

// The absolute, normalised path of a name; empty when the name is empty or on failure.
String GetFullPath(const String& name);

// The names (without folder) of the entries matching a wildcard pattern, sorted without
// regard to case; empty when nothing matches.
StringArray ListFiles(const String& pattern);

// System error codes of RestoreReadOnlyFile, in the numbering saved files and callers
// know.
constexpr int kErrorFileNotFound = 2;
constexpr int kErrorPathNotFound = 3;
constexpr int kErrorAccessDenied = 5;
constexpr int kErrorGeneralFailure = 31;

// Makes a read-only file writable for its owner. 0 when the file is writable afterwards
// (also when it already was); otherwise the code of the failure itself: a missing file
// gives kErrorFileNotFound.
int RestoreReadOnlyFile(const String& path);
