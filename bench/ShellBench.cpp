// The application shell: start-up to the first frame of the main loop, a frame of the
// main loop with nothing on screen, and the dispatch of events through the game base.
// Start-up runs headless (scripted window, recording device, null sound) in a data
// folder of small stand-in textures made here.
#include <filesystem>
#include <string>

#include <benchmark/benchmark.h>
#include <unistd.h>

#include "app/Application.h"
#include "core/Image.h"
#include "core/ThrowError.h"
#include "game/EventTarget.h"
#include "game/Game.h"

#include "support/ResidentMemory.h"

namespace {

namespace fs = std::filesystem;

LaunchSettings HeadlessSettings() {
    LaunchSettings settings;
    settings.windowBackend = win::WindowBackend::Scripted;
    settings.soundDevice = snd::DeviceKind::Null;
    settings.commandLine.fullScreen = false;
    return settings;
}

// A folder holding every texture start-up asks for, made once per run of the benchmarks
// and entered as the working folder.
class StartupFolder {
public:
    StartupFolder() {
        std::string pattern = (fs::temp_directory_path() / "vorns-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) return;
        path_ = pattern;
        previous_ = fs::current_path();
        fs::current_path(path_);
        ready_ = Fill();
    }
    ~StartupFolder() {
        if (path_.empty()) return;
        fs::current_path(previous_);
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    bool Ready() const { return ready_; }

private:
    static bool Fill() {
        const Image picture(4, 4);
        for (int attempt = 0; attempt < 500; ++attempt) {
            Application application(HeadlessSettings());
            try {
                application.Startup();
                return true;
            } catch (const ThrowError& error) {
                std::string text = error.message.CStr();
                const size_t end = text.rfind(".tga");
                if (end == std::string::npos) return false;
                const size_t space = text.rfind(' ', end);
                std::string path = text.substr(space + 1, end + 4 - space - 1);
                for (char& c : path) c = c == '\\' ? '/' : c;
                fs::create_directories(fs::path(path).parent_path());
                if (!picture.SaveTGA(path)) return false;
            }
        }
        return false;
    }

    std::string path_;
    fs::path previous_;
    bool ready_ = false;
};

StartupFolder& Folder() {
    static StartupFolder folder;
    return folder;
}

// The stand-in folder has no models, so its start-up measures everything but model
// loading; the data-set runs below add the models with a cold and a warm cache.
void BM_StartupToFirstFrame(benchmark::State& state) {
    if (!Folder().Ready()) {
        state.SkipWithError("no start-up data folder");
        return;
    }
    for (auto _ : state) {
        Application application(HeadlessSettings());
        application.Startup();
        application.RunFrame();
        state.PauseTiming();
        application.Shutdown();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartupToFirstFrame)->Unit(benchmark::kMillisecond);

void BM_EmptyMainLoopFrame(benchmark::State& state) {
    if (!Folder().Ready()) {
        state.SkipWithError("no start-up data folder");
        return;
    }
    Application application(HeadlessSettings());
    application.Startup();
    for (auto _ : state) application.RunFrame();
    application.Shutdown();
}
BENCHMARK(BM_EmptyMainLoopFrame)->Unit(benchmark::kMicrosecond);

// A copy of the runtime folder the build laid out (VORNS_GAME_DIR), entered as the
// working folder; the copy's model caches are the ones dropped.
class DataSetFolder {
public:
    DataSetFolder() {
        const fs::path source = VORNS_GAME_DIR;
        if (!fs::is_directory(source / "Actors") || !fs::is_directory(source / "Textures")) return;
        std::string pattern = (fs::temp_directory_path() / "vorns-bench-data-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) return;
        path_ = pattern;
        std::error_code error;
        fs::copy(source, path_, fs::copy_options::recursive, error);
        ready_ = !error;
    }
    ~DataSetFolder() {
        if (path_.empty()) return;
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    bool Ready() const { return ready_; }
    const fs::path& Path() const { return path_; }
    void DropModelCaches() const {
        for (const fs::directory_entry& entry : fs::recursive_directory_iterator(path_)) {
            if (entry.path().extension() == ".sbm") fs::remove(entry.path());
        }
    }

private:
    fs::path path_;
    bool ready_ = false;
};

DataSetFolder& DataSet() {
    static DataSetFolder folder;
    return folder;
}

// Enters the data set's copy and gives the folder to go back to; empty (the case skipped)
// when there is no built data set.
fs::path EnterDataSet(benchmark::State& state) {
    if (!DataSet().Ready()) {
        state.SkipWithError("no built data set (the benchmark build lays it out in its game folder)");
        return {};
    }
    fs::path previous = fs::current_path();
    fs::current_path(DataSet().Path());
    return previous;
}

void StartupInDataSet(benchmark::State& state, bool coldCache) {
    DataSetFolder& data = DataSet();
    const fs::path previous = EnterDataSet(state);
    if (previous.empty()) return;
    for (auto _ : state) {
        state.PauseTiming();
        if (coldCache) data.DropModelCaches();
        state.ResumeTiming();
        Application application(HeadlessSettings());
        application.Startup();
        application.RunFrame();
        state.PauseTiming();
        application.Shutdown();
        state.ResumeTiming();
    }
    fs::current_path(previous);
}

void BM_StartupDataSetColdModelCache(benchmark::State& state) { StartupInDataSet(state, true); }
BENCHMARK(BM_StartupDataSetColdModelCache)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_StartupDataSetWarmModelCache(benchmark::State& state) { StartupInDataSet(state, false); }
BENCHMARK(BM_StartupDataSetWarmModelCache)->Unit(benchmark::kMillisecond)->Iterations(5);

// The built data set's title menu after a second of frames: the resident size then, and
// the time of one of its frames (headless: the frames draw on the recording device).
void BM_TitleMenuFrameAndResidentSize(benchmark::State& state) {
    const fs::path previous = EnterDataSet(state);
    if (previous.empty()) return;
    Application application(HeadlessSettings());
    application.Startup();
    application.EnterFrontEnd();
    for (int i = 0; i < 100; ++i) application.RunFrame();
    state.counters["rss_MB"] = double(ResidentKilobytes()) / 1024.0;
    for (auto _ : state) application.RunFrame();
    application.Shutdown();
    fs::current_path(previous);
}
BENCHMARK(BM_TitleMenuFrameAndResidentSize)->Unit(benchmark::kMillisecond);

class CountingTarget : public EventTarget {
public:
    void HandleCommand(Event&) override { ++handled; }
    int64_t handled = 0;
};

// Events posted and dispatched in batches, as windows post during one input step.
void BM_EventDispatch(benchmark::State& state) {
    Game game;
    CountingTarget target;
    const int batch = int(state.range(0));
    for (auto _ : state) {
        for (int i = 0; i < batch; ++i) {
            Event* event = game.NewEvent();
            event->type = kEventPickEntry;
            event->target = &target;
            game.PostEvent(event);
        }
        game.DispatchEvents();
        game.Update();
    }
    state.SetItemsProcessed(target.handled);
}
BENCHMARK(BM_EventDispatch)->Arg(1)->Arg(20)->Arg(200);

}  // namespace
