#pragma once
// The animated scene the front-end screens stand over. They load and restart it when
// they open, update it every frame tick, draw it first and start another when it ends.
// It plays the shared scene that start-up makes; before that (or without it, as in the
// screens' own tests) nothing is drawn over the plain background, and a scene ends only
// when it is skipped.
#include <cstdint>

#include "core/String.h"

class BackgroundScene {
public:
    // Loads the named scene and plays it from its start.
    void Start(const String& sceneName);
    void Update(float frameSeconds);
    void Draw();
    bool IsFinished() const;
    void Skip();
    const String& Name() const { return name_; }

private:
    String name_;
    bool finished_ = true;
};

BackgroundScene& GetBackgroundScene();
// One name of the list, the first and the last about half as likely as the others;
// an empty list gives the empty name.
String PickSceneName(const char* const* names, int32_t count);
