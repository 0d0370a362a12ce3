// Text parsing through the core streams: every unit, scenario and script file is read
// this way, so these figures bound the load times.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "core/Array.h"
#include "core/FileStream.h"
#include "core/String.h"
#include "core/StringStream.h"

namespace {

// Lines of a keyword and three numbers, like the records of a unit or scenario file.
constexpr int kLines = 4000;

std::string MakeText() {
    std::string text;
    char line[128];
    for (int i = 0; i < kLines; ++i) {
        std::snprintf(line, sizeof line, "Position %d %.3f %.3f\r\n", i, i * 0.25, i * -1.5);
        text += line;
    }
    return text;
}

const std::string& Text() {
    static const std::string text = MakeText();
    return text;
}

// Reads the whole text: a token and three numbers per line.
template <typename Open>
void ParseRecords(benchmark::State& state, Open open) {
    int64_t values = 0;
    for (auto _ : state) {
        auto stream = open();
        String key;
        int index = 0;
        float x = 0;
        float y = 0;
        for (;;) {
            String::ReadToken(*stream, key);
            *stream >> index >> x >> y;
            if (stream->HasError() || key.IsEmpty()) {
                break;
            }
            ++values;
        }
        benchmark::DoNotOptimize(x + y);
    }
    state.counters["records/s"] = benchmark::Counter(static_cast<double>(values), benchmark::Counter::kIsRate);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(Text().size()));
}

void BM_StringStreamRecords(benchmark::State& state) {
    ParseRecords(state, [] { return std::make_unique<StringStream>(Text().c_str()); });
}
BENCHMARK(BM_StringStreamRecords);

void BM_FileStreamRecords(benchmark::State& state) {
    const std::string path =
        (std::filesystem::temp_directory_path() / ("vorns-bench-" + std::to_string(::getpid()) + ".txt")).string();
    {
        FileStream out(path, "w");
        out << Text().c_str();
    }
    ParseRecords(state, [&path] { return std::make_unique<FileStream>(path, "r"); });
    std::filesystem::remove(path);
}
BENCHMARK(BM_FileStreamRecords);

void BM_StringStreamLines(benchmark::State& state) {
    int64_t lines = 0;
    for (auto _ : state) {
        StringStream stream(Text().c_str());
        String line;
        while (stream.IsGood()) {
            String::ReadLine(stream, line);
            ++lines;
        }
    }
    state.counters["lines/s"] = benchmark::Counter(static_cast<double>(lines), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_StringStreamLines);

void BM_SplitLines(benchmark::State& state) {
    const String text(Text().c_str());
    StringArray lines;
    StringArray words;
    int64_t count = 0;
    for (auto _ : state) {
        text.Split(lines, '\n');
        for (const String& line : lines) {
            line.Split(words, ' ');
            count += words.Count();
        }
    }
    state.counters["words/s"] = benchmark::Counter(static_cast<double>(count), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_SplitLines);

}  // namespace
