#pragma once
// Stand-in assets for the unit tests.
#include <filesystem>
#include <fstream>
#include <string>

#include "core/Image.h"
#include "support/TempFolder.h"
#include "units/ChassisTable.h"

namespace units_test {

// Stand-ins, one pixel unless asked, for the painted-part textures the chassis name;
// recolouring a player's units reads them from the working folder.
inline void WritePaintedPartStandIns(const std::filesystem::path& folder, int32_t pixels = 1) {
    std::filesystem::create_directories(folder / "Actors");
    const Image pixel(pixels, pixels);
    for (const char* name : {"RobotAntenna", "Ball0", "RobotSmallHead", "RobotSmallEar", "RobotMediumBody",
                             "RobotMediumEar", "RobotMediumHead", "RobotLargeTorso", "RobotLargeHead", "RobotLargeEar",
                             "RobotLargeUpperArm", "RobotLargeForeArm", "Ball1", "StalkSmallBody", "StalkSegment",
                             "StalkEyelid", "StalkMediumBody", "StalkLargeBody"}) {
        pixel.SaveTGA((folder / (std::string("Actors/") + name + "_c_painted.tga")).string());
    }
}

// The renderer refuses missing textures: the chassis table loads from a folder holding
// one-pixel stand-ins for the shadow and painted-part textures it names (the painted
// parts `paintedPixels` wide when asked: what a player's colours cost then shows).
inline void LoadChassisTableWithTextures(int32_t paintedPixels = 1) {
    platform_test::TempFolder folder;
    std::filesystem::create_directories(folder / "Textures");
    const Image pixel(1, 1);
    for (const char* name : {"RobotSmall", "RobotMedium", "RobotLarge", "StalkSmall", "StalkMedium", "StalkLarge"}) {
        pixel.SaveTGA(folder / (std::string("Textures/") + name + "Shadow.tga"));
    }
    WritePaintedPartStandIns(folder.Path(), paintedPixels);
    // Bodies are empty definitions, so that destroyed units leave no debris; each face
    // part is one actor holding a one-triangle mesh.
    for (const char* name : {"RobotSmall", "RobotMedium", "RobotLarge", "StalkSmall", "StalkMedium", "StalkLarge"}) {
        std::ofstream(folder / (std::string("Actors/") + name + ".act")) << "actor * { }\n";
    }
    for (const char* name :
         {"LeftEyeSphere",       "RightEyeSphere",       "LeftEyeCylinder",     "RightEyeCylinder",
          "LeftEyeEllipse",      "RightEyeEllipse",      "LeftEyebrowMean",     "LeftEyebrowNeutral",
          "LeftEyebrowSad",      "RightEyebrowMean",     "RightEyebrowNeutral", "RightEyebrowSad",
          "MouthGrimace",        "MouthSmile",           "MouthFrown",          "MouthBucktoothGrimace",
          "MouthBucktoothSmile", "MouthBucktoothOh",     "MouthTongueGrimace",  "MouthTongueSmile",
          "MouthTongueOh",       "MouthTriangleGrimace", "MouthTriangleSmile",  "MouthTriangleOh",
          "UnibrowMean",         "UnibrowHappy",         "UnibrowSad",          "MouthFangGrimace",
          "MouthFangSmile",      "MouthFangFrown"}) {
        std::ofstream(folder / (std::string("Actors/") + name + ".act")) << "mesh Part { }\nactor * { mesh Part }\n";
    }
    std::ofstream(folder / "Actors/Part_c_painted.obj") << "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n";
    pixel.SaveTGA(folder / "Actors/Part_c_painted.tga");
    // The table reads the textures relative to the working folder.
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(folder.Path());
    LoadChassisDefinitions();
    std::filesystem::current_path(previous);
}

}  // namespace units_test
