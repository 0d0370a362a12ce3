#pragma once
// Files and folders. Every path argument is resolved with ResolvePath first.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sys {

bool Exists(std::string_view path);
bool IsDirectory(std::string_view path);

// Hidden means the last component starts with a dot.
bool IsHidden(std::string_view path);

// Case-insensitive wildcard match of one name: '*' any run, '?' one character. As in
// the searches the game was written for, a pattern ending in ".*" also matches names
// without an extension ("*.*" matches every name) and one ending in "." matches only
// names without a dot ("*." lists the player folders).
bool WildcardMatch(std::string_view pattern, std::string_view name);

// Names (without folder) of the entries matching "folder/pattern" (the last component may
// hold wildcards), sorted by case-insensitive byte order (letters folded to lower case,
// names equal but for case in plain byte order); empty when nothing matches or the folder
// is missing. "." and ".." are never listed; hidden names are.
std::vector<std::string> ListDirectory(std::string_view pattern);

// Read-only means no write permission bit. A read-only file is neither overwritten
// (SafeFile, CopyFile) nor deleted (DeleteFile); RemoveTree removes it.
bool IsReadOnly(std::string_view path);
bool SetReadOnly(std::string_view path, bool readOnly);

// Last-write time in nanoseconds since the epoch; nothing when the file is missing.
std::optional<int64_t> LastWriteTime(std::string_view path);

// Creates the folder and any missing parents; true when it exists afterwards.
bool MakeDirectory(std::string_view path);
// Copies a file through a SafeFile. False when the target exists and overwrite is
// false, when the target is read-only, or when both name the same file.
bool CopyFile(std::string_view from, std::string_view to, bool overwrite);
// Files and symbolic links only; folders are left to RemoveTree.
bool DeleteFile(std::string_view path);
// False when the target exists, unless it is the source under another case (a change
// of case, which takes the spelling given).
bool RenameFile(std::string_view from, std::string_view to);

// Removes a file or a folder tree, but only when `path` lies strictly inside `root`:
// refuses empty and absolute paths, paths with "..", and anything resolving outside
// root. Symbolic links are removed, never followed.
bool RemoveTree(std::string_view root, std::string_view path);

}  // namespace sys
