#include "engine/An8Model.h"

#include <fstream>
#include <string>

#include "core/ConsoleStream.h"
#include "engine/ActorSet.h"
#include "engine/An8ModelBuilder.h"
#include "engine/An8Parser.h"
#include "engine/An8Scanner.h"
#include "engine/Renderer.h"
#include "platform/sys/Paths.h"

namespace {

// No model of the game comes near this; a larger file is refused rather than read.
constexpr int64_t kMaxFileBytes = 64 << 20;

bool ReadWholeFile(const String& name, std::string& text) {
    std::ifstream file(sys::ResolvePath(name.CStr()), std::ios::binary);
    if (!file) return false;
    file.seekg(0, std::ios::end);
    const std::streamoff size = file.tellg();
    if (size < 0 || size > kMaxFileBytes) return false;
    file.seekg(0, std::ios::beg);
    text.resize(size_t(size));
    file.read(text.data(), size);
    return bool(file);
}

}  // namespace

bool LoadAn8Model(ActorSet& set, float scale, const ModelLoadSettings& settings) {
    set.entries.Clear();
    ConsoleStream& console = GetConsoleStream();
    std::string text;
    if (!ReadWholeFile(set.name, text)) {
        console << "AN8: cannot read " << set.name << Stream::Endl;
        return false;
    }
    An8Scanner scanner(text, console);
    An8ModelBuilder builder(GetRenderer(), set, scale, settings, console);
    An8Parser parser(scanner, builder, console);
    if (parser.Parse() != An8ParseResult::Parsed) return false;
    builder.Finish();
    return true;
}
