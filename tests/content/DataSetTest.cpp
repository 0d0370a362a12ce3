// The runtime folder against the project's manifest: every named file exists and loads
// with the game's own readers, the font and models have the structure the code relies
// on, and the generator writes the same bytes on every run.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <sstream>

#include "Manifest.h"
#include "ModelReaders.h"
#include "audio/SoundFile.h"
#include "core/Image.h"
#include "core/Tga.h"
#include "support/TempFolder.h"

namespace {

namespace fs = std::filesystem;
using assetgen::ManifestRow;

const std::string kGame = VORNS_GAME_DIR;

std::string GamePath(const std::string& relative) { return kGame + "/" + relative; }

const std::vector<ManifestRow>& Rows() {
    static const std::vector<ManifestRow> rows = assetgen::ReadManifest(VORNS_MANIFEST);
    return rows;
}

std::vector<ManifestRow> RowsOf(const std::string& kind) {
    std::vector<ManifestRow> out;
    for (const ManifestRow& row : Rows())
        if (row.kind == kind) out.push_back(row);
    return out;
}

bool PowerOfTwo(int n) { return n > 0 && (n & (n - 1)) == 0; }

bool IsGrey(Color c) {
    const int r = c.Red(), g = c.Green(), b = c.Blue();
    return std::abs(r - g) < 8 && std::abs(g - b) < 8 && std::abs(r - b) < 8;
}

int Difference(Color a, Color b) {
    return std::abs(a.Red() - b.Red()) + std::abs(a.Green() - b.Green()) + std::abs(a.Blue() - b.Blue());
}

// Across the wrap (last column to first, last row to first) the picture changes no more
// than between neighbours inside it.
bool Seamless(const Image& image) {
    const int w = image.Width(), h = image.Height();
    double inside = 0, across = 0;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x + 1 < w; ++x) inside += Difference(image.At(x, y), image.At(x + 1, y));
        across += Difference(image.At(w - 1, y), image.At(0, y));
    }
    for (int x = 0; x < w; ++x) {
        for (int y = 0; y + 1 < h; ++y) inside += Difference(image.At(x, y), image.At(x, y + 1));
        across += Difference(image.At(x, h - 1), image.At(x, 0));
    }
    const double perStep = inside / (2.0 * w * h - w - h);
    return across / (w + h) <= 2 * perStep + 1;
}

// What a texture row promises about its pixels; empty when it keeps every promise.
std::string TextureFault(const ManifestRow& row, const Image& image) {
    const int w = image.Width(), h = image.Height();
    if (!PowerOfTwo(w) || !PowerOfTwo(h)) return "size is not a power of two";
    const std::string size = row.Value("size");
    if (!size.empty() && size != std::to_string(w) + "x" + std::to_string(h)) return "size is not " + size;
    if (row.Has("painted") && w > 64) return "painted texture wider than 64";
    bool red = false, green = false, colouredCentre = false;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const Color c = image.At(x, y);
            if (c.Alpha() == 0) {
                if (row.Has("opaque")) return "transparent pixel in an opaque texture";
                continue;
            }
            red = red || (c.Red() >= 250 && c.Green() <= 5 && c.Blue() <= 5);
            green = green || (c.Green() >= 250 && c.Red() <= 5 && c.Blue() <= 5);
            const float dx = (x + 0.5f) / w * 2 - 1, dy = (y + 0.5f) / h * 2 - 1;
            // The game clears grey pixels beyond 0.28 of the squared radius; a pixel of
            // margin covers the anti-aliased edge of the centre.
            if (row.Has("ring") && dx * dx + dy * dy > 0.28f + 4.0f / w && !IsGrey(c))
                return "coloured pixel in the grey ring";
            if (dx * dx + dy * dy < 0.2f && !IsGrey(c)) colouredCentre = true;
        }
    }
    if (row.Has("keys") && !(red && green)) return "no pure red and pure green recolour regions";
    if (row.Has("seamless") && !Seamless(image)) return "a visible seam where the picture wraps";
    if (row.Has("ring") && !colouredCentre) return "grey ring around a grey centre";
    if (row.Has("border")) {
        for (int i = 0; i < w; ++i)
            if (image.At(i, 0).Alpha() || image.At(i, h - 1).Alpha()) return "visible pixel on the border";
        for (int i = 0; i < h; ++i)
            if (image.At(0, i).Alpha() || image.At(w - 1, i).Alpha()) return "visible pixel on the border";
    }
    return {};
}

TEST(DataSet, NamedFilesAreStoredUnderTheirExactSpellingAndFoundUnderOthers) {
    for (const ManifestRow& row : Rows()) {
        if (row.kind == "text") continue;  // the hand-written data's own check
        EXPECT_TRUE(fs::exists(GamePath(row.path))) << row.path << " is not stored under that spelling";
    }
    // The game spells folders with backslashes and names in any case; the resolver finds them.
    Image image;
    EXPECT_EQ(ReadTgaFile(kGame + "\\textures\\GRASSTILE0.tga", image), TgaReadResult::kOk);
    EXPECT_EQ(image.Width(), 64);
    std::unique_ptr<SoundFile> sound = SoundFile::Make(String((kGame + "\\SOUNDS\\weaponlaser.wav").c_str()));
    EXPECT_TRUE(sound->Open());
}

// Units in any player's colours are placed on the squad disc: it has no hue of its own for
// a blue or red player's units to sink into.
TEST(DataSet, TheSquadDiscIsAGreyWithoutAHue) {
    Image disc;
    ASSERT_EQ(ReadTgaFile(GamePath("Textures/SquadCircle.tga"), disc), TgaReadResult::kOk);
    const Color middle = disc.At(disc.Width() / 2, disc.Height() / 2);
    EXPECT_EQ(middle.Red(), middle.Blue());
    EXPECT_EQ(middle.Green(), middle.Blue());
}

// The mini-map marks a beacon with its pattern button and a unit with the ball of the
// pattern icon; the beacon's pictures, before and after they take the owner's colours,
// must not have the ball's outline.
TEST(DataSet, TheBeaconIsNoBallOnTheMiniMap) {
    Image ball;
    ASSERT_EQ(ReadTgaFile(GamePath("Textures/FriendPatternIcon.tga"), ball), TgaReadResult::kOk);
    for (const char* name : {"Textures/BeaconPatternButton.tga", "Textures/PatternBeaconOverlay.tga"}) {
        Image beacon;
        ASSERT_EQ(ReadTgaFile(GamePath(name), beacon), TgaReadResult::kOk) << name;
        ASSERT_EQ(beacon.Width(), ball.Width()) << name;
        int outlineDiffers = 0;
        for (int y = 0; y < ball.Height(); ++y)
            for (int x = 0; x < ball.Width(); ++x)
                outlineDiffers += (beacon.At(x, y).Alpha() > 127) != (ball.At(x, y).Alpha() > 127);
        EXPECT_GT(outlineDiffers, ball.Width() * ball.Height() / 5) << name;
    }
}

TEST(DataSet, EveryTextureLoadsAndKeepsItsPromises) {
    const std::vector<ManifestRow> rows = RowsOf("texture");
    ASSERT_GT(rows.size(), 400u);
    for (const ManifestRow& row : rows) {
        Image image;
        const TgaReadResult result = ReadTgaFile(GamePath(row.path), image);
        ASSERT_EQ(result, TgaReadResult::kOk) << row.path << ": " << TgaReadResultText(result);
        EXPECT_EQ(TextureFault(row, image), "") << row.path;
    }
}

double MeanDifference(const Image& a, const Image& b) {
    double sum = 0;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x) sum += Difference(a.At(x, y), b.At(x, y));
    return sum / (a.Width() * a.Height());
}

Image Tile(const std::string& ground, int index) {
    Image image;
    EXPECT_EQ(ReadTgaFile(GamePath("Textures/" + ground + "Tile" + std::to_string(index) + ".tga"), image),
              TgaReadResult::kOk);
    return image;
}

// Neighbouring cells show any variants of their type side by side, and liquids step
// through their frames in a loop: variants share their border, frames flow.
TEST(DataSet, GroundVariantsMeetWithoutASeamAndLiquidsFlow) {
    for (const char* ground : {"Grass", "Dirt", "Stone", "Sand", "Snow"}) {
        const Image first = Tile(ground, 0);
        for (int variant = 1; variant < 8; ++variant) {
            const Image other = Tile(ground, variant);
            int worst = 0;
            for (int i = 0; i < 64; ++i)
                for (const auto& [x, y] : {std::pair{i, 0}, {i, 63}, {0, i}, {63, i}})
                    worst = std::max(worst, Difference(first.At(x, y), other.At(x, y)));
            EXPECT_LE(worst, 12) << ground << " variant " << variant << " differs on its border";
            EXPECT_GT(MeanDifference(first, other), 1.0) << ground << " variant " << variant << " is variant 0";
        }
    }
    for (const char* liquid : {"Water", "Swamp", "Lava"}) {
        double largestStep = 0;
        for (int frame = 0; frame < 8; ++frame)
            largestStep = std::max(largestStep, MeanDifference(Tile(liquid, frame), Tile(liquid, (frame + 1) % 8)));
        const double halfCycle = MeanDifference(Tile(liquid, 0), Tile(liquid, 4));
        EXPECT_GT(largestStep, 0.5) << liquid << " stands still";
        EXPECT_LT(largestStep, 0.8 * halfCycle) << liquid << " jumps between frames";
    }
}

TEST(DataSet, FontHasAGlyphInItsCellForEveryPrintableCode) {
    const ManifestRow font = RowsOf("font").at(0);
    Image texture;
    ASSERT_EQ(ReadTgaFile(GamePath(font.path), texture), TgaReadResult::kOk);
    ASSERT_EQ(texture.Width() % 16, 0);
    ASSERT_EQ(texture.Height() % 16, 0);
    std::ifstream in(GamePath(RowsOf("widths").at(0).path), std::ios::binary);
    const std::string widths((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_EQ(widths.size(), 256u);
    const int cell = texture.Width() / 16, cellHeight = texture.Height() / 16;
    for (int code = 0; code < 256; ++code) {
        const int width = int(static_cast<signed char>(widths[code]));
        if (code < 32 || code > 126) {
            EXPECT_EQ(width, 0) << "code " << code;
            continue;
        }
        ASSERT_GT(width, 0) << "code " << code;
        ASSERT_LE(width, cell) << "code " << code;
        // Coverage lies only inside the glyph's width, centred in its cell.
        int inside = 0, outside = 0;
        for (int y = 0; y < cellHeight; ++y)
            for (int x = 0; x < cell; ++x) {
                const Color c = texture.At(code % 16 * cell + x, code / 16 * cellHeight + y);
                EXPECT_EQ(c.argb & 0xFFFFFFu, 0xFFFFFFu) << "glyphs are white";
                if (c.Alpha() == 0) continue;
                const float fromCentre = std::fabs(x + 0.5f - cell / 2.0f);
                (fromCentre <= width / 2.0f ? inside : outside)++;
            }
        EXPECT_EQ(outside, 0) << "code " << code;
        if (code != ' ') {
            EXPECT_GT(inside, 0) << "code " << code;
        }
    }
}

struct Decoded {
    snd::PcmFormat format;
    std::vector<int16_t> samples;  // 16-bit files only; 8-bit ones leave it empty
    double seconds = -1;
};

// Decodes a whole sound with the game's reader; seconds stay -1 when it cannot.
Decoded Decode(const std::string& path) {
    Decoded out;
    std::unique_ptr<SoundFile> file = SoundFile::Make(String(path.c_str()));
    if (!file->Open()) return out;
    out.format = *file->Format();
    std::vector<uint8_t> buffer(16384), all;
    for (uint32_t n; (n = file->Read(buffer.data(), uint32_t(buffer.size()))) > 0;)
        all.insert(all.end(), buffer.begin(), buffer.begin() + n);
    file->Close();
    out.seconds = double(all.size()) / out.format.BytesPerSecond();
    if (out.format.bits == 16) {
        out.samples.resize(all.size() / 2);
        std::memcpy(out.samples.data(), all.data(), out.samples.size() * 2);
    }
    return out;
}

double DecodedSeconds(const std::string& path) { return Decode(path).seconds; }

double Loudness(const std::vector<int16_t>& samples, std::size_t from, std::size_t count) {
    double sum = 0;
    for (std::size_t i = from; i < from + count; ++i) sum += double(samples[i]) * samples[i];
    return std::sqrt(sum / count);
}

TEST(DataSet, EverySoundAndSpokenLineDecodes) {
    std::vector<ManifestRow> rows = RowsOf("sound");
    const std::vector<ManifestRow> speech = RowsOf("speech");
    rows.insert(rows.end(), speech.begin(), speech.end());
    ASSERT_GT(rows.size(), 70u);
    for (const ManifestRow& row : rows) {
        const Decoded sound = Decode(GamePath(row.path));
        EXPECT_GT(sound.seconds, 0.01) << row.path;
        if (!row.Has("loop")) continue;
        EXPECT_TRUE(sound.seconds >= 1.5 && sound.seconds <= 4.5) << row.path << " loops for " << sound.seconds << " s";
        // A loop neither fades out at its end nor in at its start: the two ends are about
        // equally loud, so the repeat has no gap.
        const std::size_t window = sound.format.rate / 20 * sound.format.channels;
        ASSERT_GT(sound.samples.size(), 2 * window) << row.path;
        const double start = Loudness(sound.samples, 0, window);
        const double end = Loudness(sound.samples, sound.samples.size() - window, window);
        EXPECT_LT(std::max(start, end) / std::max(std::min(start, end), 1.0), 2.0) << row.path;
    }
}

// No two events make the same noise: sounds that decode to the same samples would leave
// the player unable to tell, say, a kick from a punch.
TEST(DataSet, EverySoundEffectIsItsOwn) {
    std::map<std::vector<int16_t>, std::string> seen;
    for (const ManifestRow& row : RowsOf("sound")) {
        Decoded sound = Decode(GamePath(row.path));
        sound.samples.resize(std::min<std::size_t>(sound.samples.size(), 4096));
        const auto [at, added] = seen.emplace(sound.samples, row.path);
        EXPECT_TRUE(added) << row.path << " sounds like " << at->second;
    }
}

std::vector<std::string> SongsOf(const std::string& list) {
    std::ifstream in(GamePath("Music/" + list));
    std::vector<std::string> songs;
    for (std::string word; in >> word;) songs.push_back(word);
    return songs;
}

// The step from a sound's last sample back to its first is an ordinary one: at least one
// step in a thousand within the sound is as large.
bool RepeatsWithoutAStep(const Decoded& sound) {
    const std::vector<int16_t>& s = sound.samples;
    const std::size_t channels = std::max<std::size_t>(sound.format.channels, 1);
    if (s.size() <= 2 * channels) return false;
    const std::size_t frames = s.size() / channels;
    for (std::size_t c = 0; c < channels; ++c) {
        const int seam = std::abs(s[c] - s[(frames - 1) * channels + c]);
        std::size_t asLarge = 0;
        for (std::size_t f = 1; f < frames; ++f)
            asLarge += std::abs(s[f * channels + c] - s[(f - 1) * channels + c]) >= seam ? 1 : 0;
        if (asLarge * 1000 < frames) return false;
    }
    return true;
}

// Each play list has two pieces of a minute or two; pieces and looping sounds repeat
// without a click.
TEST(DataSet, MusicAndLoopsRepeatWithoutAStep) {
    for (const char* list : {"WarSongs.txt", "SneakSongs.txt", "MenuSongs.txt"}) {
        const std::vector<std::string> songs = SongsOf(list);
        EXPECT_GE(songs.size(), 2u) << list;
        for (const std::string& song : songs) {
            const Decoded piece = Decode(GamePath("Music/" + song + ".OGG"));
            EXPECT_TRUE(piece.seconds >= 60 && piece.seconds <= 120) << song << " lasts " << piece.seconds << " s";
            const int channels = piece.format.channels;
            ASSERT_EQ(channels, 2) << song;
            EXPECT_TRUE(RepeatsWithoutAStep(piece)) << song;
        }
    }
    for (const char* loop : {"Fire", "Smoke", "Propeller"})
        EXPECT_TRUE(RepeatsWithoutAStep(Decode(GamePath(std::string("Sounds/") + loop + ".ogg")))) << loop;
}

TEST(DataSet, PhonemeFilesNameKnownMouthShapesInTimeOrder) {
    static const std::set<std::string> known = {"aa", "ae", "ah", "ao", "aw", "ax", "ay", "b",  "ch", "d", "dh",
                                                "eh", "er", "ey", "f",  "g",  "h",  "ih", "iy", "jh", "k", "l",
                                                "m",  "n",  "ng", "ow", "oy", "p",  "r",  "s",  "sh", "t", "th",
                                                "uh", "uw", "v",  "w",  "y",  "z",  "zh", "_"};
    for (const ManifestRow& row : RowsOf("phonemes")) {
        std::ifstream in(GamePath(row.path));
        std::string first, name;
        int end = 0, start = 0, previous = 0, pairs = 0;
        ASSERT_TRUE(in >> first >> end) << row.path;
        EXPECT_GT(end, 0) << row.path;
        while (in >> name >> start) {
            EXPECT_TRUE(known.count(name)) << row.path << ": " << name;
            EXPECT_GE(start, previous) << row.path;
            previous = start;
            ++pairs;
        }
        EXPECT_EQ(previous, end) << row.path << ": the last pair ends the line";
        EXPECT_GT(pairs, 1) << row.path;
        const std::string speechPath = GamePath(row.path.substr(0, row.path.size() - 3) + "OGG");
        EXPECT_GE(fs::last_write_time(GamePath(row.path)), fs::last_write_time(speechPath)) << row.path;
    }
}

TEST(DataSet, PaintedModelsAreTrianglesWithTheirTexture) {
    for (const ManifestRow& row : RowsOf("obj")) {
        content_test::ObjModel model;
        ASSERT_TRUE(content_test::ReadObj(GamePath(row.path), model)) << row.path;
        EXPECT_TRUE(model.onlyKnownStatements) << row.path;
        EXPECT_GT(model.positions, 0) << row.path;
        EXPECT_GT(model.faces, 0) << row.path;
        EXPECT_TRUE(fs::exists(GamePath(row.path.substr(0, row.path.size() - 3) + "tga"))) << row.path;
    }
}

void CheckActor(const ManifestRow& row) {
    content_test::ActFile act;
    ASSERT_TRUE(content_test::ReadAct(GamePath(row.path), act)) << row.path;
    const std::string folder = row.path.substr(0, row.path.rfind('/') + 1);
    for (const std::string& mesh : act.meshes)
        EXPECT_TRUE(fs::exists(GamePath(folder + mesh + "_c_painted.obj"))) << row.path << ": mesh " << mesh;
    const std::vector<std::string> nodes = act.NodesInOrder();
    for (const auto& [name, node] : act.actors) {
        EXPECT_FALSE(node.mesh.empty() && node.children.empty() && name != "*")
            << row.path << ": " << name << " would be loaded from a file of its own";
        for (const std::string& child : node.children)
            EXPECT_TRUE(act.actors.count(child)) << row.path << ": child " << child;
    }
    for (const std::string& node : assetgen::SplitList(row.Value("nodes"), ','))
        EXPECT_NE(std::find(nodes.begin(), nodes.end(), node), nodes.end()) << row.path << ": node " << node;
    for (const std::string& mesh : assetgen::SplitList(row.Value("meshes"), ','))
        EXPECT_NE(std::find(act.meshes.begin(), act.meshes.end(), mesh), act.meshes.end())
            << row.path << ": mesh " << mesh;
    if (row.Has("facepart")) {
        // The chassis copies the root's own mesh into its face.
        EXPECT_EQ(act.meshes.size(), 1u) << row.path;
        EXPECT_FALSE(act.actors["*"].mesh.empty()) << row.path << ": the root holds no mesh";
    }

    std::map<std::string, std::vector<std::string>> sets(act.poseSets.begin(), act.poseSets.end());
    for (const std::string& anim : assetgen::SplitList(row.Value("anims"), ','))
        EXPECT_TRUE(sets.count(anim)) << row.path << ": animation " << anim;
    for (const std::string& pair : assetgen::SplitList(row.Value("tracks"), ',')) {
        const std::string set = pair.substr(0, pair.find(':')), track = pair.substr(pair.find(':') + 1);
        const auto& tracks = sets[set];
        EXPECT_NE(std::find(tracks.begin(), tracks.end(), track), tracks.end()) << row.path << ": " << pair;
    }
    std::map<std::string, int> wantedKeys;
    for (const std::string& pair : assetgen::SplitList(row.Value("keys"), ','))
        wantedKeys[pair.substr(0, pair.find(':'))] = std::stoi(pair.substr(pair.find(':') + 1));

    const std::string title = row.Title();
    for (const auto& [set, tracks] : act.poseSets) {
        const std::string base = GamePath(folder + title + set);
        content_test::KeyFile key;
        ASSERT_TRUE(content_test::ReadKey(base + ".key", key)) << base;
        EXPECT_EQ(key.models, int(nodes.size())) << base << ": one matrix a node";
        EXPECT_EQ(key.numbers, key.keys * (3 + 16 * key.models)) << base;
        if (wantedKeys.count(set)) {
            EXPECT_EQ(key.keys, wantedKeys[set]) << base;
        }
        for (const std::string& track : tracks) {
            content_test::PppFile ppp;
            EXPECT_TRUE(content_test::ReadPpp(base + track + ".ppp", ppp)) << base << track;
            EXPECT_EQ(ppp.track, track) << base;
            EXPECT_EQ(ppp.count, key.keys) << base;
        }
    }
}

TEST(DataSet, ActorsHaveTheirNodesAnimationsKeysAndTracks) {
    const std::vector<ManifestRow> rows = RowsOf("actor");
    ASSERT_EQ(rows.size(), 42u);
    for (const ManifestRow& row : rows) CheckActor(row);
}

TEST(DataSet, DebugShapesAreAn8Objects) {
    for (const ManifestRow& row : RowsOf("an8")) {
        std::ifstream in(GamePath(row.path));
        const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        EXPECT_EQ(text.rfind("header {", 0), 0u) << row.path;
        EXPECT_NE(text.find("object { \"" + row.Title() + "\""), std::string::npos) << row.path;
        EXPECT_EQ(std::count(text.begin(), text.end(), '{'), std::count(text.begin(), text.end(), '}')) << row.path;
    }
}

TEST(DataSet, HandWrittenFilesAreInTheRuntimeFolder) {
    if (!fs::exists(VORNS_DATA_SOURCE)) GTEST_SKIP() << "no hand-written data folder yet";
    for (const ManifestRow& row : RowsOf("text")) EXPECT_TRUE(fs::exists(GamePath(row.path))) << row.path;
    EXPECT_TRUE(fs::is_directory(GamePath("Players")));
    // Every song of the play lists exists and decodes.
    for (const char* list : {"Music/WarSongs.txt", "Music/SneakSongs.txt", "Music/MenuSongs.txt"}) {
        std::ifstream in(GamePath(list));
        for (std::string song; in >> song;) {
            if (song.find('.') == std::string::npos) song += ".OGG";
            EXPECT_GT(DecodedSeconds(GamePath("Music/" + song)), 10.0) << list << ": " << song;
        }
    }
}

std::optional<std::size_t> HashFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return std::hash<std::string>{}(bytes);
}

// Only the generator's own files are read from the runtime folder: a game played there
// adds and renames caches beside them.
TEST(DataSet, GeneratorWritesTheSameBytesOnEveryRun) {
    platform_test::TempFolder folder;
    const std::string command = std::string("ASAN_OPTIONS=detect_leaks=0 '") + ASSETGEN_EXE + "' --manifest '" +
                                VORNS_MANIFEST + "' --data '" + VORNS_DATA_SOURCE + "' --out '" + folder.Path() +
                                "' > /dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    int files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(folder.Path())) {
        if (!entry.is_regular_file()) continue;
        ++files;
        const fs::path relative = fs::relative(entry.path(), folder.Path());
        const std::optional<std::size_t> built = HashFile(fs::path(kGame) / relative);
        ASSERT_TRUE(built.has_value()) << relative;
        EXPECT_EQ(*built, HashFile(entry.path())) << relative << " differs between two runs";
    }
    EXPECT_GT(files, 1000);
}

}  // namespace
