#pragma once
// The game's data names use backslashes and mixed case, as on a case-insensitive file
// system. Every open, existence test, listing, delete, mkdir and copy goes through here.
#include <string>
#include <string_view>
#include <vector>

namespace sys {

// Backslashes become slashes and runs of separators collapse to one.
std::string NormalizeSeparators(std::string_view path);

// The on-disk spelling of a path: separators normalised, then each component matched
// case-insensitively against what exists (cached listings). Components that do not
// exist keep the case given, so new files take the spelled name. Where names differ
// only by case, an exact match wins. "." and ".." apply by name: "a/../b" is "b"
// whatever "a" is. Relative paths stay relative.
std::string ResolvePath(std::string_view path);
// The same for existence tests, listings and the file operations of FileSystem.h: a name
// asked about is not a name the program needs, so it is never kept as missing.
std::string ResolveQuietly(std::string_view path);

// While on, each name ResolvePath is given that names nothing on disk is kept as the
// caller spelled it: the files the program tried to open and could not find. Turning it
// on forgets the names kept before. Off until asked for.
void RecordMissingFiles(bool on);
// The names kept that still name nothing (a file written later was only being made),
// sorted and each once.
std::vector<std::string> MissingFiles();

// Forget cached listings: after the program writes, renames or deletes in a folder.
// Every write operation of this layer does so itself; other writers (a process started
// by the game) are noticed through the folder's change time, which is coarse, so code
// that writes files by other means calls these.
void InvalidateDirectoryCache(std::string_view directory);
// Forgets the listing of the folder that holds `path`.
void InvalidateContainingDirectory(std::string_view path);
void ClearDirectoryCache();

// Absolute and normalised ("." and ".." removed), resolved as above so that two
// spellings of one file give one full path; no length limit; empty on failure or for
// an empty name.
std::string FullPath(std::string_view path);

// Names that become path parts (players, units, squads, scenarios, names from peers):
// 1..64 bytes, no separators, wildcard or quoting characters, white space or control
// bytes, not "." or "..", no leading dot.
bool IsSafeName(std::string_view name);

}  // namespace sys
