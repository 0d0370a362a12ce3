#pragma once
// Stand-in assets for the unit tests.
#include <filesystem>
#include <string>

#include "core/Image.h"
#include "support/TempFolder.h"
#include "units/ChassisTable.h"

namespace units_test {

// The renderer refuses missing textures: the chassis table loads from a folder holding
// one-pixel stand-ins for the shadow and painted-part textures it names.
inline void LoadChassisTableWithTextures() {
    platform_test::TempFolder folder;
    std::filesystem::create_directories(folder / "Textures");
    std::filesystem::create_directories(folder / "Actors");
    const Image pixel(1, 1);
    for (const char* name : {"RobotSmall", "RobotMedium", "RobotLarge", "StalkSmall", "StalkMedium", "StalkLarge"}) {
        pixel.SaveTGA(folder / (std::string("Textures/") + name + "Shadow.tga"));
    }
    for (const char* name : {"RobotAntenna", "Ball0", "RobotSmallHead", "RobotSmallEar", "RobotMediumBody",
                             "RobotMediumEar", "RobotMediumHead", "RobotLargeTorso", "RobotLargeHead",
                             "RobotLargeEar", "RobotLargeUpperArm", "RobotLargeForeArm", "Ball1", "StalkSmallBody",
                             "StalkSegment", "StalkEyelid", "StalkMediumBody", "StalkLargeBody"}) {
        pixel.SaveTGA(folder / (std::string("Actors/") + name + "_c_painted.tga"));
    }
    // The table reads the textures relative to the working folder.
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(folder.Path());
    LoadChassisDefinitions();
    std::filesystem::current_path(previous);
}

}  // namespace units_test
