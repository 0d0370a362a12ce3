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

// Times the state's loop by the CPU of the whole process, the driver's rasteriser threads
// included: on a busy machine the wall clock mostly measures the wait for a core.
class ProcessCpuPerFrame {
public:
    ProcessCpuPerFrame();
    // Sets the "cpuMs" counter: CPU milliseconds per iteration since construction.
    void Report(benchmark::State& state) const;

private:
    double start_;
};
