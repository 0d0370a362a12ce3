#pragma once
// What the world and unit targets parse into: one headless battlefield for the life of
// the process (an arena on flat terrain, the chassis and weapon tables, a current game)
// and a scratch folder that the data folders point into, so that file loaders read what
// a target writes there.
#include <cstddef>
#include <cstdint>
#include <string>

class Arena;

namespace fuzz {

// Made on first use and never taken down: a fuzzer runs until it is stopped. Targets
// clear the battlefield with ClearBattlefield(false): edited units would otherwise be
// kept aside for the kill tray, input after input.
Arena& World();
// The scratch folder, ending in '/'; removed when the process exits.
const std::string& ScratchFolder();
// Writes the bytes to the named file of the scratch folder; false when it could not.
bool WriteScratchFile(const char* name, const uint8_t* data, size_t size);
// The bytes as text: like every text stream, a zero byte ends it.
std::string Text(const uint8_t* data, size_t size);

}  // namespace fuzz
