// Pictures of the data set for a person to look at, written under the build folder:
// a sheet of the icons, the font with a line of text set in it, and each chassis model
// rendered from its files.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>

#include "Canvas.h"
#include "Manifest.h"
#include "ModelReaders.h"
#include "PngFile.h"
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

TEST(Pictures, IconSheet) {
    std::vector<std::string> icons;
    for (const assetgen::ManifestRow& row : assetgen::ReadManifest(VORNS_MANIFEST))
        if (row.kind == "texture" && row.path.rfind("Textures/", 0) == 0 &&
            (row.Value("size") == "64x64" || row.Value("size") == "32x32") &&
            row.path.find("Tile") == std::string::npos)
            icons.push_back(row.path);
    const int perRow = 24, cell = 68;
    Image sheet =
        Backdrop(perRow * cell, int((icons.size() + perRow - 1) / perRow) * cell, Color::FromRGBA(70, 80, 90, 255));
    for (std::size_t i = 0; i < icons.size(); ++i) {
        Image icon;
        ASSERT_EQ(ReadTgaFile(kGame + "/" + icons[i], icon), TgaReadResult::kOk) << icons[i];
        sheet.Blit(icon, int(i % perRow) * cell + (cell - icon.Width()) / 2,
                   int(i / perRow) * cell + (cell - icon.Height()) / 2);
    }
    SavePicture("icons.png", sheet);
    EXPECT_TRUE(fs::exists(kPictures + "/icons.png"));
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

}  // namespace
