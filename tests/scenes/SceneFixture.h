#pragma once
// Scenes played from the runtime folder's data set on the headless renderer, or from
// scripts of a test's own beside the data set's textures and models.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "engine/Renderer.h"
#include "engine/SharedMeshes.h"
#include "engine/Sparkles.h"
#include "scenes/Scene.h"
#include "support/TempFolder.h"
#include "support/WorkingFolder.h"

namespace scenes_test {

// The runtime folder sits beside the build's tests folder.
inline std::filesystem::path RuntimeFolder() {
    return std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path() / "game";
}

class SceneFixture : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::filesystem::exists(RuntimeFolder() / "Actors" / "Professor.act")) {
            GTEST_SKIP() << "no data set in " << RuntimeFolder();
        }
        const std::filesystem::path root(folder_.Path());
        for (const char* linked : {"Actors", "Textures", "Sounds", "Speech"}) {
            std::filesystem::create_directory_symlink(RuntimeFolder() / linked, root / linked);
        }
        // The data set's scripts, beside which a test writes its own.
        const std::filesystem::path scripts = root / "Scenes" / "English";
        std::filesystem::create_directories(scripts);
        for (const auto& entry : std::filesystem::directory_iterator(RuntimeFolder() / "Scenes" / "English")) {
            std::filesystem::create_symlink(entry.path(), scripts / entry.path().filename());
        }
        working_ = std::make_unique<app_test::WorkingFolder>(folder_.Path());
        GetRenderer().Shutdown();
        scene_ = std::make_unique<Scene>();
    }
    void TearDown() override {
        scene_.reset();
        Scene::FreeSharedResources();
        ForgetSharedMeshes();
        ForgetSparkles();
        GetRenderer().Shutdown();
        working_.reset();
    }
    void WriteScript(const std::string& name, const std::string& text) {
        std::ofstream(std::filesystem::path(folder_.Path()) / "Scenes" / "English" / (name + ".SCE")) << text;
    }
    // One frame drawn on the headless device.
    void DrawFrame() {
        Renderer& renderer = GetRenderer();
        ASSERT_TRUE(renderer.GetReady());
        scene_->Draw();
        renderer.EndFrame();
    }
    // Plays until the scene ends or the time runs out; the seconds played.
    float Play(float seconds, float frameTime = 1.0f / 30.0f) {
        float played = 0.0f;
        while (played < seconds && !scene_->IsFinished() && scene_->State() == SceneState::Playing) {
            scene_->Update(frameTime);
            played += frameTime;
        }
        return played;
    }

    platform_test::TempFolder folder_;
    std::unique_ptr<app_test::WorkingFolder> working_;
    std::unique_ptr<Scene> scene_;
};

}  // namespace scenes_test
