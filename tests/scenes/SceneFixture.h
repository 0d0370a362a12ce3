#pragma once
// Scenes played from a copy of the runtime folder's data set on the headless renderer, or
// from scripts of a test's own beside the data set's textures and models.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "engine/Renderer.h"
#include "engine/SharedMeshes.h"
#include "engine/Sparkles.h"
#include "scenes/Scene.h"
#include "support/RuntimeCopy.h"
#include "support/WorkingFolder.h"

namespace scenes_test {

inline std::filesystem::path RuntimeFolder() { return runtime_test::BuiltRuntimeFolder(); }

class SceneFixture : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::filesystem::exists(RuntimeFolder() / "Actors" / "Professor.act")) {
            GTEST_SKIP() << "no data set in " << RuntimeFolder();
        }
        // The data set's scripts are in the copy, beside which a test writes its own.
        runtime_ = std::make_unique<runtime_test::RuntimeCopy>();
        working_ = std::make_unique<app_test::WorkingFolder>(runtime_->Path());
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
        std::ofstream(*runtime_ / "Scenes" / "English" / (name + ".SCE")) << text;
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

    std::unique_ptr<runtime_test::RuntimeCopy> runtime_;
    std::unique_ptr<app_test::WorkingFolder> working_;
    std::unique_ptr<Scene> scene_;
};

}  // namespace scenes_test
