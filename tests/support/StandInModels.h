#pragma once
// A working folder holding stand-in model files under "Actors/" for the objects a test
// makes: a one-triangle painted OBJ (with its texture) per name, and for debug shapes an
// AN8 file with a current cache of one node, so no model reader is needed for them.
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>

#include "core/FileStream.h"
#include "core/Image.h"
#include "engine/ActorSet.h"
#include "support/TempFolder.h"

namespace world_test {

class StandInModels {
public:
    StandInModels(std::initializer_list<const char*> painted, std::initializer_list<const char*> debugShapes = {})
        : previous_(std::filesystem::current_path()) {
        std::filesystem::create_directories(folder_ / "Actors");
        for (const char* name : painted) {
            const std::string base = folder_ / (std::string("Actors/") + name + "_c_painted");
            std::ofstream(base + ".obj") << "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n";
            Image(1, 1).SaveTGA(base + ".tga");
        }
        for (const char* name : debugShapes) WriteCachedShape(folder_ / (std::string("Actors/") + name));
        std::filesystem::current_path(folder_.Path());
    }
    ~StandInModels() { std::filesystem::current_path(previous_); }
    StandInModels(const StandInModels&) = delete;
    StandInModels& operator=(const StandInModels&) = delete;

private:
    static void WriteCachedShape(const std::string& base) {
        std::ofstream(base + ".AN8") << "header { }\n";
        std::filesystem::last_write_time(base + ".AN8",
                                         std::filesystem::file_time_type::clock::now() - std::chrono::hours(1));
        ModelNode root(String("Shape"));
        ActorSet set(String((base + ".AN8").c_str()));
        set.AddEntry(ActorSetEntry{&root, {}});
        FileStream out(base + ".sbm", "wb");
        set.WriteBinary(out, String(std::filesystem::absolute(base).parent_path().c_str()));
        out.Commit();
    }

    platform_test::TempFolder folder_;
    std::filesystem::path previous_;
};

}  // namespace world_test
