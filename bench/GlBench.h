#pragma once

#include <memory>

#include <benchmark/benchmark.h>

#include "platform/window/SystemWindow.h"

class Renderer;

// A hidden 1024 x 768 window with a GL 2.1 context on the offscreen driver, or null.
std::unique_ptr<win::SystemWindow> OpenOffscreenGlWindow();

// Opens a hidden 1024 x 768 window on the offscreen driver and starts the renderer on its
// GL 2.1 context. Returns null (and marks the benchmark skipped) where no such context exists.
std::unique_ptr<win::SystemWindow> OpenBenchRenderer(benchmark::State& state, Renderer& renderer);
