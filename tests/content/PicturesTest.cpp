// Pictures of the data set for a person to look at, written under the build folder:
// a sheet of the icons, the font with a line of text set in it, and each chassis model
// rendered from its files.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>

#include "Actors.h"
#include "Canvas.h"
#include "Manifest.h"
#include "ModelReaders.h"
#include "Pictograms.h"
#include "PngFile.h"
#include "Props.h"
#include "Rasteriser.h"
#include "core/Image.h"
#include "core/Tga.h"

namespace {

namespace fs = std::filesystem;

const std::string kGame = VORNS_GAME_DIR;
const std::string kPictures = VORNS_PICTURES_DIR;

void SavePicture(const std::string& name, const Image& image) {
    fs::create_directories(kPictures);
    std::ofstream(kPictures + "/" + name, std::ios::binary) << assetgen::EncodePng(image);
}

Image Backdrop(int width, int height, Color colour) {
    Image image(width, height);
    image.Fill(colour);
    return image;
}

// Every picture of the texture folder but the ground, packed in shelves at its own size.
TEST(Pictures, IconSheet) {
    std::vector<std::string> icons;
    for (const assetgen::ManifestRow& row : assetgen::ReadManifest(VORNS_MANIFEST))
        if (row.kind == "texture" && row.path.rfind("Textures/", 0) == 0 && row.path.find("Tile") == std::string::npos)
            icons.push_back(row.path);
    std::vector<Image> images(icons.size());
    for (std::size_t i = 0; i < icons.size(); ++i)
        ASSERT_EQ(ReadTgaFile(kGame + "/" + icons[i], images[i]), TgaReadResult::kOk) << icons[i];
    const int width = 1600, gap = 4;
    std::vector<std::pair<int, int>> places;
    int x = 0, y = 0, shelf = 0;
    for (const Image& image : images) {
        if (image.Width() > width) {
            places.push_back({-1, -1});
            continue;
        }
        if (x + image.Width() > width) x = 0, y += shelf + gap, shelf = 0;
        places.push_back({x, y});
        x += image.Width() + gap;
        shelf = std::max(shelf, image.Height());
    }
    Image sheet = Backdrop(width, y + shelf, Color::FromRGBA(70, 80, 90, 255));
    for (std::size_t i = 0; i < images.size(); ++i)
        if (places[i].first >= 0) sheet.Blit(images[i], places[i].first, places[i].second);
    SavePicture("icons.png", sheet);
    EXPECT_TRUE(fs::exists(kPictures + "/icons.png"));
}

// The buttons that show what they do by a picture, three times their size, with their
// names beside them in the game's font, for judging whether each reads at a glance.
TEST(Pictures, PictureButtonsEnlarged) {
    std::vector<std::string> names;
    for (const assetgen::ManifestRow& row : assetgen::ReadManifest(VORNS_MANIFEST)) {
        const std::string title = row.Title();
        if (row.kind == "texture" && row.path.rfind("Textures/", 0) == 0 && !assetgen::PictogramSubject(title).empty())
            names.push_back(title);
    }
    const int cell = 3 * 64 + 8, perRow = 8;
    Image sheet =
        Backdrop(perRow * cell, int((names.size() + perRow - 1) / perRow) * cell, Color::FromRGBA(70, 80, 90, 255));
    for (std::size_t i = 0; i < names.size(); ++i) {
        Image icon;
        ASSERT_EQ(ReadTgaFile(kGame + "/Textures/" + names[i] + ".tga", icon), TgaReadResult::kOk) << names[i];
        const int scale = 3 * 64 / std::max(icon.Width(), 64) * (icon.Width() <= 32 ? 2 : 1);
        Image big(icon.Width() * scale, icon.Height() * scale);
        for (int y = 0; y < big.Height(); ++y)
            for (int x = 0; x < big.Width(); ++x) big.At(x, y) = icon.At(x / scale, y / scale);
        sheet.Blit(big, int(i % perRow) * cell + 4, int(i / perRow) * cell + 4);
    }
    SavePicture("picture-buttons.png", sheet);
    EXPECT_GT(names.size(), 60u);
}

// Each ground's eight tiles, then a patch of them laid side by side as the battlefield
// does, so a seam between variants would show; the corner masks below.
TEST(Pictures, TerrainTiles) {
    const char* grounds[] = {"Grass", "Dirt", "Stone", "Sand", "Snow", "Swamp", "Water", "Lava"};
    const int tile = 64, gap = 4, patch = 4;
    Image sheet = Backdrop(8 * (tile + gap) + patch * tile, 9 * (tile + gap), Color::FromRGBA(30, 30, 40, 255));
    for (int g = 0; g < 8; ++g) {
        std::vector<Image> tiles(8);
        for (int i = 0; i < 8; ++i) {
            const std::string path = kGame + "/Textures/" + grounds[g] + "Tile" + std::to_string(i) + ".tga";
            ASSERT_EQ(ReadTgaFile(path, tiles[i]), TgaReadResult::kOk) << path;
            sheet.Blit(tiles[i], i * (tile + gap), g * (tile + gap));
        }
        for (int i = 0; i < patch; ++i)
            sheet.Blit(tiles[(i * 5 + g) % 8], 8 * (tile + gap) + i * tile, g * (tile + gap));
    }
    const char* masks[] = {"0", "1", "2", "3", "01", "02", "03", "12", "13", "23", "012", "013", "023", "123"};
    int column = 0;
    for (const char* mask : masks) {
        Image image;
        if (ReadTgaFile(kGame + "/Textures/Tile" + mask + ".tga", image) != TgaReadResult::kOk) continue;
        sheet.Blit(image, column * (image.Width() + gap), 8 * (tile + gap));
        ++column;
    }
    SavePicture("terrain.png", sheet);
    EXPECT_TRUE(fs::exists(kPictures + "/terrain.png"));
}

// Each chassis at rest and in a key of its walk, aim, idle, victory and defeat poses.
TEST(Pictures, ChassisPoses) {
    const char* chassis[] = {"RobotSmall", "RobotMedium", "RobotLarge", "StalkSmall", "StalkMedium", "StalkLarge"};
    const int cell = 160;
    const std::vector<std::pair<std::string, int>> poses = {{"", 0},        {"Walk", 1}, {"Walk", 3},    {"Aim", 0},
                                                            {"AimHigh", 0}, {"Idle", 1}, {"Victory", 1}, {"Defeat", 2}};
    Image sheet = Backdrop(int(poses.size()) * cell, 6 * cell, Color::FromRGBA(90, 110, 130, 255));
    for (int c = 0; c < 6; ++c) {
        assetgen::ActorModel model = assetgen::WithFace(assetgen::MakeActor(chassis[c]));
        // In a player's colours, as the game recolours the keyed parts.
        for (auto& [name, mesh] : model.meshes)
            for (int y = 0; y < mesh.texture.Height(); ++y)
                for (int x = 0; x < mesh.texture.Width(); ++x) {
                    Color& texel = mesh.texture.At(x, y);
                    if (texel.Red() == 255 && texel.Green() == 0 && texel.Blue() == 0)
                        texel = Color::FromRGBA(60, 110, 210, 255);
                    else if (texel.Green() == 255 && texel.Red() == 0 && texel.Blue() == 0)
                        texel = Color::FromRGBA(250, 200, 50, 255);
                }
        for (std::size_t p = 0; p < poses.size(); ++p) {
            assetgen::PoseKey key;
            // A motion is shown by the first pose set that plays it as a track.
            for (const assetgen::PoseSet& set : model.poseSets)
                if (!poses[p].first.empty() && !set.keys.empty() &&
                    (set.name == poses[p].first || set.tracks.front() == poses[p].first)) {
                    key = set.keys[std::min<std::size_t>(poses[p].second, set.keys.size() - 1)];
                    break;
                }
            sheet.Blit(assetgen::RenderPose(model, key, cell), int(p) * cell, c * cell);
        }
    }
    SavePicture("poses.png", sheet);
    EXPECT_TRUE(fs::exists(kPictures + "/poses.png"));
}

TEST(Pictures, FontAndASetLine) {
    Image font;
    ASSERT_EQ(ReadTgaFile(kGame + "/Textures/VornsFontEnglish.tga", font), TgaReadResult::kOk);
    std::ifstream in(kGame + "/Textures/VornsFontEnglish.dat", std::ios::binary);
    const std::string widths((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_EQ(widths.size(), 256u);
    const int cell = font.Width() / 16;
    // Set text the way the game does: each glyph's width around its cell's centre, one
    // texel of spacing after it.
    const std::string lines[] = {"The quick brown Vorn jumps over 12 lazy rocks!",
                                 "{Patterns} [Squads] (Budget: $1,250) ~ @home #7"};
    Image sheet = Backdrop(std::max(font.Width() + 40, 1000), font.Height() + 140, Color::FromRGBA(30, 30, 40, 255));
    sheet.Blit(font, 20, 20);
    int y = font.Height() + 40;
    for (const std::string& line : lines) {
        int x = 20;
        for (unsigned char c : line) {
            const int w = static_cast<signed char>(widths[c]);
            Image glyph(w, cell);
            for (int gy = 0; gy < cell; ++gy)
                for (int gx = 0; gx < w; ++gx)
                    glyph.At(gx, gy) = font.At(c % 16 * cell + cell / 2 - w / 2 + gx, c / 16 * cell + gy);
            sheet.Blit(glyph, x, y);
            x += w + 1;
        }
        y += cell + 10;
    }
    SavePicture("font.png", sheet);
    EXPECT_TRUE(fs::exists(kPictures + "/font.png"));
}

// The tree of an actor file, each mesh placed by its node's offsets.
void CollectParts(const content_test::ActFile& act, const std::string& name, assetgen::V3 at,
                  std::vector<assetgen::RenderPart>& parts, std::vector<std::unique_ptr<Image>>& textures) {
    const auto it = act.actors.find(name);
    if (it == act.actors.end()) return;
    const assetgen::V3 here = at + it->second.offset;
    if (!it->second.mesh.empty()) {
        content_test::ObjModel model;
        const std::string base = kGame + "/Actors/" + it->second.mesh + "_c_painted";
        ASSERT_TRUE(content_test::ReadObj(base + ".obj", model)) << base;
        for (auto& v : model.mesh.vertices) v.position = v.position + here;
        textures.push_back(std::make_unique<Image>());
        ASSERT_EQ(ReadTgaFile(base + ".tga", *textures.back()), TgaReadResult::kOk) << base;
        parts.push_back({model.mesh, textures.back().get()});
    }
    for (const std::string& child : it->second.children) CollectParts(act, child, here, parts, textures);
}

// Renders actor files side by side into one sheet (and each into its own picture).
void RenderSheet(const std::vector<std::string>& titles, const std::string& sheetName) {
    Image sheet = Backdrop(int(titles.size()) * 256, 256, Color::FromRGBA(90, 110, 130, 255));
    for (std::size_t i = 0; i < titles.size(); ++i) {
        content_test::ActFile act;
        ASSERT_TRUE(content_test::ReadAct(kGame + "/Actors/" + titles[i] + ".act", act)) << titles[i];
        std::vector<assetgen::RenderPart> parts;
        std::vector<std::unique_ptr<Image>> textures;
        CollectParts(act, "*", {}, parts, textures);
        ASSERT_FALSE(parts.empty()) << titles[i];
        const Image render = assetgen::RenderParts(parts, 256);
        SavePicture(titles[i] + ".png", render);
        sheet.Blit(render, int(i) * 256, 0);
    }
    SavePicture(sheetName, sheet);
    EXPECT_TRUE(fs::exists(kPictures + "/" + sheetName));
}

TEST(Pictures, ChassisModels) {
    RenderSheet({"RobotSmall", "RobotMedium", "RobotLarge", "StalkSmall", "StalkMedium", "StalkLarge"}, "chassis.png");
}

TEST(Pictures, FiguresAndScenery) {
    RenderSheet({"Professor", "Bunny", "SpaceBunny", "Korrin", "SolarCharger", "Lab"}, "figures.png");
}

// Every painted model of the props folder: scenery, markers, projectiles and the weapons
// that hang on the units.
TEST(Pictures, PropsAndWeapons) {
    std::vector<std::string> props;
    for (const assetgen::ManifestRow& row : assetgen::ReadManifest(VORNS_MANIFEST)) {
        const std::string title = row.Title();
        if (row.kind == "obj" && title.size() > 10 && !assetgen::IsBodyPart(title.substr(0, title.size() - 10)))
            props.push_back(title.substr(0, title.size() - 10));
    }
    const int cell = 128, perRow = 8;
    Image sheet =
        Backdrop(perRow * cell, int((props.size() + perRow - 1) / perRow) * cell, Color::FromRGBA(90, 110, 130, 255));
    for (std::size_t i = 0; i < props.size(); ++i) {
        assetgen::ActorModel model;
        model.title = props[i];
        model.meshes[props[i]] = assetgen::MakeProp(props[i]);
        model.rootMesh = props[i];
        sheet.Blit(assetgen::RenderActor(model, cell, true), int(i % perRow) * cell, int(i / perRow) * cell);
    }
    SavePicture("props.png", sheet);
    EXPECT_GT(props.size(), 30u);
}

// ---- scenes ----

// The model a scene actor kind shows, or an empty model for effects drawn by the game.
assetgen::ActorModel SceneModel(const std::string& kind) {
    static const std::map<std::string, std::string> props = {
        {"Missile", "Rocket"},       {"Rock", "Rock"},     {"PalmTree", "PalmTree"},
        {"PineTree", "PineTree"},    {"OakTree", "Tree"},  {"Cactus", "TreeCactus"},
        {"Earth", "Earth"},          {"WormHole", "Ring"}, {"Cloud", "Cloud0"},
        {"Mountain", "Mountain"},    {"Mesa", "Mesa"},     {"Computer", "ComputerStation"},
        {"SoccerBall", "SoccerBall"}};
    assetgen::ActorModel model;
    model.title = kind;
    if (const auto prop = props.find(kind); prop != props.end()) {
        model.meshes[prop->second] = assetgen::MakeProp(prop->second);
        model.rootMesh = prop->second;
    } else if (kind.size() > 4 && kind.compare(kind.size() - 4, 4, "Vorn") == 0) {
        model = assetgen::WithFace(assetgen::MakeActor(kind.substr(0, kind.size() - 4)));
    } else if (kind == "Professor" || kind == "Bunny" || kind == "SpaceBunny") {
        model = assetgen::MakeActor(kind);
    }
    return model;
}

// Hangs a model under a node of the scene at a place, its mesh names kept apart.
void AddToScene(assetgen::ActorModel& scene, const assetgen::ActorModel& model, const std::string& prefix,
                assetgen::V3 at) {
    std::function<void(assetgen::ActorNode&)> rename = [&](assetgen::ActorNode& node) {
        if (!node.mesh.empty()) node.mesh = prefix + node.mesh;
        for (auto& child : node.children) rename(child);
    };
    assetgen::ActorNode holder{prefix, model.rootMesh, at, model.roots};
    rename(holder);
    for (const auto& [name, mesh] : model.meshes) scene.meshes[prefix + name] = mesh;
    scene.roots.push_back(holder);
}

Color BackdropOf(const std::string& background) {
    if (background == "Space") return Color::FromRGBA(8, 8, 24, 255);
    if (background == "City") return Color::FromRGBA(120, 140, 170, 255);
    if (background == "Desert") return Color::FromRGBA(225, 195, 140, 255);
    if (background == "Lab") return Color::FromRGBA(150, 160, 165, 255);
    return Color::FromRGBA(60, 40, 80, 255);
}

// Each scene's cast where its first stage puts them, seen from where its camera stands.
TEST(Pictures, SceneFirstFrames) {
    std::vector<std::string> scenes;
    for (const auto& entry : fs::directory_iterator(kGame + "/Scenes/English"))
        if (entry.path().extension() == ".SCE") scenes.push_back(entry.path().stem().string());
    std::sort(scenes.begin(), scenes.end());
    ASSERT_FALSE(scenes.empty());
    const int cell = 200, perRow = 6;
    Image sheet =
        Backdrop(perRow * cell, int((scenes.size() + perRow - 1) / perRow) * cell, Color::FromRGBA(20, 20, 20, 255));
    for (std::size_t i = 0; i < scenes.size(); ++i) {
        std::ifstream in(kGame + "/Scenes/English/" + scenes[i] + ".SCE");
        std::string background = "Stage", line;
        std::map<std::string, std::string> kinds;  // actor name -> kind
        std::map<std::string, assetgen::V3> places;
        std::string current;
        int stages = 0;
        while (std::getline(in, line)) {
            std::istringstream words(line);
            std::string first;
            words >> first;
            if (first == "Background") words >> background;
            if (first == "Actor") {
                std::string kind, name;
                words >> kind >> name;
                kinds[name] = kind;
            }
            if (first == "Stage") ++stages;
            if (stages == 1 && kinds.count(first)) current = first;
            if (stages == 1 && first == "From" && !current.empty()) {
                assetgen::V3 at;
                words >> at.x >> at.y >> at.z;
                places[current] = at;
            }
        }
        assetgen::ActorModel scene;
        scene.title = scenes[i];
        int unplaced = 0;
        for (const auto& [name, kind] : kinds) {
            const assetgen::ActorModel model = SceneModel(kind);
            if (model.meshes.empty()) continue;
            // Scene x runs right and y away from the camera; the picture looks along -x.
            assetgen::V3 at = places.count(name) ? places[name] : assetgen::V3{float(-3 + 3 * unplaced++), 0, 0};
            AddToScene(scene, model, name + ":", {-at.y, at.x, at.z});
        }
        Image frame = Backdrop(cell, cell, BackdropOf(background));
        if (!scene.roots.empty()) frame.Blit(assetgen::RenderActor(scene, cell, true), 0, 0);
        sheet.Blit(frame, int(i % perRow) * cell, int(i / perRow) * cell);
    }
    SavePicture("scenes.png", sheet);
    EXPECT_TRUE(fs::exists(kPictures + "/scenes.png"));
}

}  // namespace
