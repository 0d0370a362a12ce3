#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace sys {

// Splits a command line into arguments: blanks separate, double quotes group (and are
// removed); the program path (first argument) has its separators normalised and resolved.
std::vector<std::string> SplitCommandLine(std::string_view commandLine);

// Starts argv[0] with the arguments, without a shell, and waits for it to end. A name
// without a folder is looked up on PATH. The program inherits no descriptor beyond the
// standard three; when hidden, its standard output and error go to /dev/null. False
// when it cannot start; the exit code is not examined.
bool RunAndWait(const std::vector<std::string>& argv, bool hidden);

// Lets the C library keep the memory freed at the top of its heap for the next
// allocations instead of handing it back to the system at once. The software rasteriser
// takes a few megabytes of small blocks for each frame and frees them when the frame is
// drawn; handed back each time, the next frame faults them in afresh. Call once, early.
void KeepFreedMemoryForReuse();
// Hands the free memory the heap keeps back to the system: for after a rare large block
// (a network peer's megabytes) is freed, which the rule above would otherwise keep.
void ReturnFreedMemory();

}  // namespace sys
