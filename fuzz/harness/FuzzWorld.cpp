#include "harness/FuzzWorld.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "core/Debugger.h"
#include "core/Image.h"
#include "game/Game.h"
#include "platform/sys/Random.h"
#include "units/ChassisTable.h"
#include "units/WeaponTable.h"
#include "world/Arena.h"
#include "world/SaveFilePaths.h"

namespace fuzz {

namespace {

namespace fs = std::filesystem;

class FuzzGame : public Game {
public:
    FuzzGame() { playerPaused = 0; }
    void DispatchEvents() override {}
};

std::string MakeScratchFolder() {
    // Memory-backed where there is one: targets write a file for every input.
    const char* base = std::getenv("VORNS_FUZZ_TMP");
    fs::path parent = base != nullptr && *base != '\0' ? fs::path(base)
                      : fs::is_directory("/dev/shm")   ? fs::path("/dev/shm")
                                                       : fs::temp_directory_path();
    std::string pattern = (parent / "vorns-fuzz-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        std::abort();
    }
    return pattern + "/";
}

void RemoveScratchFolder() {
    std::error_code ignored;
    fs::remove_all(ScratchFolder(), ignored);
}

// The chassis table refuses missing textures: one-pixel stand-ins for every texture it
// names, read relative to the working folder.
void LoadChassisTable(const std::string& folder) {
    fs::create_directories(folder + "Textures");
    fs::create_directories(folder + "Actors");
    const Image pixel(1, 1);
    for (const char* name : {"RobotSmall", "RobotMedium", "RobotLarge", "StalkSmall", "StalkMedium", "StalkLarge"}) {
        pixel.SaveTGA(folder + "Textures/" + name + "Shadow.tga");
    }
    for (const char* name : {"RobotAntenna", "Ball0", "RobotSmallHead", "RobotSmallEar", "RobotMediumBody",
                             "RobotMediumEar", "RobotMediumHead", "RobotLargeTorso", "RobotLargeHead", "RobotLargeEar",
                             "RobotLargeUpperArm", "RobotLargeForeArm", "Ball1", "StalkSmallBody", "StalkSegment",
                             "StalkEyelid", "StalkMediumBody", "StalkLargeBody"}) {
        pixel.SaveTGA(folder + "Actors/" + name + "_c_painted.tga");
    }
    const fs::path previous = fs::current_path();
    fs::current_path(folder);
    LoadChassisDefinitions();
    fs::current_path(previous);
}

Arena* MakeWorld() {
    // Every refused input writes a log line; at fuzzing speed they would only slow it.
    Debugger::Instance().SetDebuggerOutput(false);
    const std::string& folder = ScratchFolder();
    LoadChassisTable(folder);
    LoadWeaponDefinitions();
    const String base(folder.c_str());
    SetDataFolders(base, base, base);
    sys::SRand(1);
    auto* arena = new Arena();
    gArena = arena;
    arena->Initialize();
    SetCurrentGame(new FuzzGame());
    return arena;
}

}  // namespace

const std::string& ScratchFolder() {
    static const std::string folder = MakeScratchFolder();
    // Registered once the folder exists, so that it runs before the name is destroyed.
    [[maybe_unused]] static const bool removedAtExit = std::atexit(RemoveScratchFolder) == 0;
    return folder;
}

Arena& World() {
    static Arena* const arena = MakeWorld();
    return *arena;
}

bool WriteScratchFile(const char* name, const uint8_t* data, size_t size) {
    std::ofstream file(ScratchFolder() + name, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    return static_cast<bool>(file);
}

std::string Text(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    return text.substr(0, text.find('\0'));
}

}  // namespace fuzz
