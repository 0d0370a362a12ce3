#pragma once
// What the battlefield screenshot tests share: the frame's size, the colours they look
// for, and a game that runs unpaused and dispatches nothing.
#include "core/Color.h"
#include "game/Game.h"

namespace world_test {

constexpr int kShotWidth = 640;
constexpr int kShotHeight = 480;
inline const Color kSky = Color::FromRGBA(0, 0, 0, 255);
inline const Color kGrass = Color::FromRGBA(40, 170, 40, 255);

class ScreenshotGame : public Game {
public:
    ScreenshotGame() { playerPaused = 0; }
    void DispatchEvents() override {}
};

inline int Sum(Color c) { return c.Red() + c.Green() + c.Blue(); }

}  // namespace world_test
