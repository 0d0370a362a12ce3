// The scene behind the front-end screens.
#include "screens/BackgroundScene.h"

#include "platform/sys/Random.h"
#include "scenes/Scene.h"

void BackgroundScene::Start(const String& sceneName) {
    name_ = sceneName;
    finished_ = false;
    if (Scene* scene = GetSharedScene()) {
        scene->Load(sceneName.CStr());
        scene->Restart();
    }
}

void BackgroundScene::Update(float frameSeconds) {
    if (Scene* scene = GetSharedScene()) {
        scene->Update(frameSeconds);
    }
}

void BackgroundScene::Draw() {
    if (Scene* scene = GetSharedScene()) {
        scene->Draw();
    }
}

bool BackgroundScene::IsFinished() const {
    const Scene* scene = GetSharedScene();
    return scene != nullptr ? scene->IsFinished() : finished_;
}

void BackgroundScene::Skip() {
    finished_ = true;
    if (Scene* scene = GetSharedScene()) {
        scene->Skip();
    }
}

BackgroundScene& GetBackgroundScene() {
    static BackgroundScene scene;
    return scene;
}

String PickSceneName(const char* const* names, int32_t count) {
    if (count < 1) return String();
    // Signed 64-bit: the product stays exact for any list length.
    const int64_t index = (int64_t(sys::Rand()) * (count - 1) + 16383) / 32767;
    return String(names[index]);
}
