// A player's colours on the units it owns and on the interface pictures that show it.
#include <algorithm>
#include <map>
#include <string>

#include "core/FileHelpers.h"
#include "core/Image.h"
#include "engine/AssetPaths.h"
#include "engine/Material.h"
#include "engine/Renderer.h"
#include "game/OwnerPortrait.h"
#include "game/Player.h"
#include "game/PlayerRoster.h"
#include "game/SharedBaseImages.h"
#include "units/ChassisTable.h"

namespace {

enum class Audience { kEveryone, kComputer, kLocal };

// What is drawn over a base picture: a chassis icon of the player's choice ('S', 'M',
// 'L', or '2' for the small chassis' large icon), or a recoloured shared picture.
struct Overlay {
    char icon;
    const char* picture;
    int x;
    int y;
    int size = 0;  // above 0: the picture shrunk to this many pixels square first
};

struct ColouredPicture {
    const char* texture;
    const char* base;  // none: the first overlay alone, recoloured
    Audience audience;
    Overlay overlays[3];
    int overlayCount;
    // A portrait larger than the base goes on whole in its middle, whatever its offset,
    // as the editors' save buttons show their owner.
    bool centred = false;
    // The faces stay on the round button's face, inside its rim.
    bool insideRim = false;
};

constexpr ColouredPicture kPictures[] = {
    {"EnemyPatternIcon.tga", nullptr, Audience::kComputer, {{0, "IconImage.tga", 0, 0}}, 1},
    {"FriendPatternIcon.tga", nullptr, Audience::kLocal, {{0, "IconImage.tga", 0, 0}}, 1},
    {"EnemyGoalPatternButton.tga", "PatternButton.tga", Audience::kComputer, {{0, "PatternGoalOverlay.tga", 0, 0}}, 1},
    {"FriendGoalPatternButton.tga", "PatternButton.tga", Audience::kLocal, {{0, "PatternGoalOverlay.tga", 0, 0}}, 1},
    {"EnemyPatternWedge.tga", nullptr, Audience::kComputer, {{0, "WedgeImage.tga", 0, 0}}, 1},
    {"FriendPatternWedge.tga", nullptr, Audience::kLocal, {{0, "WedgeImage.tga", 0, 0}}, 1},
    {"EnemyControlButton.tga", "ControlButton.tga", Audience::kComputer, {{'S', nullptr, 0, 0}}, 1},
    {"FriendControlButton.tga", "ControlButton.tga", Audience::kLocal, {{'S', nullptr, 0, 0}}, 1},
    {"PropertySmallEnemyButton.tga", "PropertyButton.tga", Audience::kComputer, {{'S', nullptr, 0, 0}}, 1},
    {"PropertyMediumEnemyButton.tga", "PropertyButton.tga", Audience::kComputer, {{'M', nullptr, 0, 0}}, 1},
    {"PropertyLargeEnemyButton.tga", "PropertyButton.tga", Audience::kComputer, {{'L', nullptr, 0, 0}}, 1},
    {"VornTrayButton.tga", "WindowButton.tga", Audience::kLocal, {{'S', nullptr, 0, 0}}, 1},
    {"UpgradeSpeedSmallButton.tga", "UpgradeSpeedButtonBase.tga", Audience::kLocal, {{'S', nullptr, 0, 0}}, 1},
    {"UpgradeArmorSmallButton.tga", "UpgradeArmorButtonBase.tga", Audience::kLocal, {{'S', nullptr, 0, 0}}, 1},
    {"UpgradePatternCountSmallButton.tga",
     "UpgradePatternCountButtonBase.tga",
     Audience::kLocal,
     {{'S', nullptr, 0, 0}},
     1},
    {"UpgradeSpeedMediumButton.tga", "UpgradeSpeedButtonBase.tga", Audience::kLocal, {{'M', nullptr, 0, 0}}, 1},
    {"UpgradeArmorMediumButton.tga", "UpgradeArmorButtonBase.tga", Audience::kLocal, {{'M', nullptr, 0, 0}}, 1},
    {"UpgradePatternCountMediumButton.tga",
     "UpgradePatternCountButtonBase.tga",
     Audience::kLocal,
     {{'M', nullptr, 0, 0}},
     1},
    {"UpgradeSpeedLargeButton.tga", "UpgradeSpeedButtonBase.tga", Audience::kLocal, {{'L', nullptr, 0, 0}}, 1},
    {"UpgradeArmorLargeButton.tga", "UpgradeArmorButtonBase.tga", Audience::kLocal, {{'L', nullptr, 0, 0}}, 1},
    {"UpgradePatternCountLargeButton.tga",
     "UpgradePatternCountButtonBase.tga",
     Audience::kLocal,
     {{'L', nullptr, 0, 0}},
     1},
    {"JoinNetworkGameButton.tga",
     "MenuButton.tga",
     Audience::kLocal,
     {{'2', nullptr, 4, 15, 32}, {'2', nullptr, 28, 15, 32}},
     2,
     false,
     true},
    {"StartNetworkGameButton.tga",
     "StartNetworkGameButton.tga",
     Audience::kLocal,
     {{'2', nullptr, 4, 15, 32}, {'2', nullptr, 28, 15, 32}},
     2,
     false,
     true},
    {"CustomizeButton.tga", "CustomizeButton.tga", Audience::kLocal, {{'2', nullptr, 10, 9, 44}}, 1, false, true},
    {"WinningCustomizeButton.tga",
     "WinningCustomizeButton.tga",
     Audience::kLocal,
     {{'2', nullptr, 10, 9, 44}},
     1,
     false,
     true},
    {"SquadTrayButton.tga",
     "WindowButton.tga",
     Audience::kLocal,
     {{'S', nullptr, -12, -8}, {'S', nullptr, 12, -8}, {'S', nullptr, 0, 8}},
     3},
    {"SaveVornButton.tga", "SaveVornBase.tga", Audience::kLocal, {{'S', nullptr, -8, -8}}, 1, true},
    {"SaveSquadButton.tga", "SaveVornBase.tga", Audience::kLocal, {{'S', nullptr, -8, -8}}, 1, true},
    {"MakeSquadButton.tga",
     "ControlButton.tga",
     Audience::kLocal,
     {{'S', nullptr, -12, -8}, {'S', nullptr, 12, -8}, {'S', nullptr, 0, 8}},
     3},
    {"PropertySmallFriendButton.tga", "PropertyButton.tga", Audience::kLocal, {{'S', nullptr, 0, 0}}, 1},
    {"PropertyMediumFriendButton.tga", "PropertyButton.tga", Audience::kLocal, {{'M', nullptr, 0, 0}}, 1},
    {"PropertyLargeFriendButton.tga", "PropertyButton.tga", Audience::kLocal, {{'L', nullptr, 0, 0}}, 1},
};

// Every part texture any player made: a shared body shows one player's at a time, and
// the next player's colours replace whichever is on it.
Array<TextureHandle>& PartTexturesInUse() {
    static Array<TextureHandle> textures;
    static RendererMark current;
    if (!current.IsSet()) {
        textures.Clear();
        current.Set();
    }
    return textures;
}

Image Recoloured(const Image& source, const Player& player) {
    Image result(source.Width(), source.Height());
    result.BlendBlit(source, 0, 0, player.primaryColor, player.trimColor);
    return result;
}

const Image* BaseImage(const char* name) { return name != nullptr ? FindSharedBaseImage(String(name)) : nullptr; }

// The texture of that name takes the picture; a name the data set lacks is left alone.
void ReplaceTexture(const String& name, const Image& picture) {
    if (name.IsEmpty() || picture.IsEmpty()) return;
    const String path = TexturePath(name);
    if (!FileExists(path)) return;
    GetRenderer().CreateTextureFromImage(path, picture);
}

bool Concerns(Audience audience, const Player& player) {
    const bool computer = &player == &GetOpponentPlayer();
    switch (audience) {
        case Audience::kEveryone: return true;
        case Audience::kComputer: return computer;
        case Audience::kLocal: return &player == &GetLocalPlayer() && !computer;
    }
    return false;
}

const ChassisDefinition* FamilyRow(int32_t chassis) {
    return ChassisTable::IsValid(chassis) ? ChassisTable::Row(chassis - ChassisTable::SizeClass(chassis)) : nullptr;
}

const Image* ChassisIcon(const Player& player, char which) {
    const int32_t sizeClass = which == 'M' ? 1 : which == 'L' ? 2 : 0;
    const ChassisDefinition* row = ChassisTable::Row(player.GetChassisChoice(sizeClass));
    if (row == nullptr) return nullptr;
    const Image& icon = which == '2' ? row->portrait128 : row->portrait64;
    return icon.IsEmpty() ? nullptr : &icon;
}

// What is pasted on a button stays inside the button's own shape: a square face on a
// round button shows only where the button is.
void KeepBaseOutline(Image& picture, const Image* base) {
    if (base == nullptr || base->Width() != picture.Width() || base->Height() != picture.Height()) return;
    for (int y = 0; y < picture.Height(); ++y) {
        for (int x = 0; x < picture.Width(); ++x) {
            Color& pixel = picture.At(x, y);
            pixel.SetAlpha(std::min(pixel.Alpha(), base->At(x, y).Alpha()));
        }
    }
}

// The picture stretched to width x height, each pixel the source pixel it falls on.
Image Stretched(const Image& source, int width, int height) {
    if (source.IsEmpty() || (source.Width() == width && source.Height() == height)) return source;
    Image result(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) result.At(x, y) = source.At(x * source.Width() / width, y * source.Height() / height);
    }
    return result;
}

// The picture shrunk to size x size, each pixel the mean of the source pixels it covers,
// their colours weighted by their alpha.
Image ShrunkSquare(const Image& source, int size) {
    if (size <= 0 || source.IsEmpty() || (source.Width() <= size && source.Height() <= size)) return source;
    Image result(size, size);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const int x0 = x * source.Width() / size, x1 = std::max(x0 + 1, (x + 1) * source.Width() / size);
            const int y0 = y * source.Height() / size, y1 = std::max(y0 + 1, (y + 1) * source.Height() / size);
            long red = 0, green = 0, blue = 0, alpha = 0, count = 0;
            for (int v = y0; v < y1; ++v) {
                for (int u = x0; u < x1; ++u) {
                    const Color p = source.At(u, v);
                    red += long(p.Red()) * p.Alpha();
                    green += long(p.Green()) * p.Alpha();
                    blue += long(p.Blue()) * p.Alpha();
                    alpha += p.Alpha();
                    ++count;
                }
            }
            const auto channel = [&](long sum) { return uint8_t(alpha > 0 ? sum / alpha : 0); };
            result.At(x, y) =
                Color::FromRGBA(channel(red), channel(green), channel(blue), uint8_t(alpha / std::max(count, 1L)));
        }
    }
    return result;
}

// Clears what lies outside the round button's inner face, a disc a fifth smaller than
// the button, so that its rim shows all round.
void KeepInsideRim(Image& layer) {
    const float centreX = float(layer.Width() - 1) * 0.5f;
    const float centreY = float(layer.Height() - 1) * 0.5f;
    const float radius = float(std::min(layer.Width(), layer.Height())) * 0.5f * 0.8f;
    for (int y = 0; y < layer.Height(); ++y) {
        for (int x = 0; x < layer.Width(); ++x) {
            const float dx = float(x) - centreX, dy = float(y) - centreY;
            if (dx * dx + dy * dy > radius * radius) layer.At(x, y).SetAlpha(0);
        }
    }
}

Image ComposePicture(const Player& player, const char* base, const Overlay* overlays, int count, bool centred = false,
                     bool insideRim = false) {
    const Image* baseImage = BaseImage(base);
    Image picture = baseImage != nullptr ? *baseImage : Image();
    // Faces kept inside the rim go on a clear layer of their own first.
    Image layer;
    if (insideRim && !picture.IsEmpty()) {
        layer = Image(picture.Width(), picture.Height());
        layer.Fill(Color::FromRGBA(0, 0, 0, 0));
    }
    Image& target = layer.IsEmpty() ? picture : layer;
    for (int i = 0; i < count; ++i) {
        const Overlay& overlay = overlays[i];
        const Image* source =
            overlay.picture != nullptr ? BaseImage(overlay.picture) : ChassisIcon(player, overlay.icon);
        if (source == nullptr || source->IsEmpty()) continue;
        if (picture.IsEmpty()) picture = Image(source->Width(), source->Height());
        if (centred) {
            picture = ComposeOwnerPicture(picture, *source, overlay.x, overlay.y, player);
            continue;
        }
        // Halved to fit, a larger portrait shows the whole face rather than its top-left corner.
        const Image shown = overlay.size > 0 ? ShrunkSquare(*source, overlay.size) : FittedPortrait(*source, target);
        target.BlendBlit(shown, overlay.x, overlay.y, player.primaryColor, player.trimColor);
    }
    if (!layer.IsEmpty()) {
        KeepInsideRim(layer);
        picture.Blit(layer, 0, 0);
    }
    KeepBaseOutline(picture, baseImage);
    return picture;
}

// The data set's picture of a painted part, looked up once per renderer: units' debris
// repaint their parts every frame, and a look-up by name resolves the path on disk.
TextureHandle PaintedPartTexture(const String& name) {
    static std::map<std::string, TextureHandle> textures;
    static RendererMark current;
    if (!current.IsSet()) {
        textures.clear();
        current.Set();
    }
    const auto found = textures.find(name.CStr());
    if (found != textures.end()) return found->second;
    const TextureHandle texture = GetRenderer().CreateTextureFromFile(ActorPaintedTexturePath(name));
    textures[name.CStr()] = texture;
    return texture;
}

// The part's materials that show the data set's picture or any player's take this one.
void SetPartTexture(const Array<Material*>& materials, TextureHandle texture, TextureHandle painted) {
    const Array<TextureHandle>& inUse = PartTexturesInUse();
    for (Material* material : materials) {
        if (material == nullptr || material->stages.IsEmpty()) continue;
        TextureHandle& shown = material->stages[0].texture;
        if ((painted != nullptr && shown == painted) || inUse.Find(shown) >= 0) shown = texture;
    }
}

}  // namespace

void Player::SetColors(Color primary, Color trim, bool partsOnly) {
    primaryColor = primary;
    trimColor = trim;
    RebuildVornIcon(partsOnly);
}

void Player::SetChassisChoices(int32_t small, int32_t medium, int32_t large) {
    chassisChoices[0] = small;
    chassisChoices[1] = medium;
    chassisChoices[2] = large;
    RebuildVornIcon(true);
}

void Player::RebuildVornIcon(bool partsOnly) {
    if (!GetRenderer().HasDevice()) return;
    ForgetTexturesOfAnEarlierRenderer();
    const ChassisDefinition* family = FamilyRow(GetChassisChoice(0));
    const int count = family != nullptr ? family->paintedPartImages.Count() : 0;
    const int recoloured = partsOnly ? std::min(count, 4) : count;
    Renderer& renderer = GetRenderer();
    for (int i = 0; i < recoloured; ++i) {
        const Image* part = family->paintedPartImages[i];
        if (part == nullptr || part->IsEmpty()) continue;
        const Image picture = Recoloured(*part, *this);
        while (chassisPartTextures.Count() <= i) chassisPartTextures.Append(nullptr);
        if (chassisPartTextures[i] == nullptr) {
            chassisPartTextures[i] = renderer.CreateTextureImage(picture, 1);
            PartTexturesInUse().Append(chassisPartTextures[i]);
        } else {
            renderer.CreateTextureImage(chassisPartTextures[i], picture);
        }
    }
    ApplyColors();
    if (!partsOnly) RebuildMarkTextures();
}

void Player::RebuildMarkTextures() {
    struct Mark {
        const char* base;
        TextureHandle* texture;
    };
    const Mark marks[] = {{"BaseBeaconDisk.tga", &beaconTexture},
                          {"FriendPatternIcon.tga", &patternIconTexture},
                          {"GoalBase.tga", &goalTexture}};
    Renderer& renderer = GetRenderer();
    for (const Mark& mark : marks) {
        const Image* base = BaseImage(mark.base);
        if (base == nullptr || base->IsEmpty()) continue;
        const Image picture = Recoloured(*base, *this);
        if (*mark.texture == nullptr) {
            *mark.texture = renderer.CreateTextureImage(picture, 1);
        } else {
            renderer.CreateTextureImage(*mark.texture, picture);
        }
    }
}

void Player::ApplyColors() {
    ForgetTexturesOfAnEarlierRenderer();
    for (int32_t sizeClass = 0; sizeClass < kSizeClassCount; ++sizeClass) {
        ChassisDefinition* row = ChassisTable::Row(GetChassisChoice(sizeClass));
        const ChassisDefinition* family = FamilyRow(GetChassisChoice(sizeClass));
        // The painted parts are nodes of the body, gone with it after a renderer restart.
        if (row == nullptr || family == nullptr || row->bodyModel == nullptr) continue;
        const int parts = std::min(row->paintedPartMaterials.Count(), chassisPartTextures.Count());
        for (int i = 0; i < parts; ++i) {
            if (chassisPartTextures[i] == nullptr) continue;
            const TextureHandle painted =
                i < family->paintedPartNames.Count() ? PaintedPartTexture(family->paintedPartNames[i]) : nullptr;
            SetPartTexture(row->paintedPartMaterials[i], chassisPartTextures[i], painted);
        }
    }
}

namespace {
uint32_t gColoredTexturesGeneration = 0;
}  // namespace

uint32_t Player::ColoredTexturesGeneration() { return gColoredTexturesGeneration; }

void Player::BuildColoredTextures() {
    if (!GetRenderer().HasDevice()) return;
    ++gColoredTexturesGeneration;
    BuildChassisButtonTextures();
    for (const ColouredPicture& entry : kPictures) {
        if (!Concerns(entry.audience, *this)) continue;
        Image picture =
            ComposePicture(*this, entry.base, entry.overlays, entry.overlayCount, entry.centred, entry.insideRim);
        ReplaceTexture(String(entry.texture), picture);
    }
}

void Player::BuildChassisButtonTextures() {
    const ChassisDefinition* small = ChassisTable::Row(GetChassisChoice(0));
    if (const Image* goalBase = BaseImage("GoalBase.tga"); small != nullptr && goalBase != nullptr) {
        ReplaceTexture(small->goalTexture, Recoloured(*goalBase, *this));
    }
    const Image* objectButton = BaseImage("ObjectButton.tga");
    if (objectButton == nullptr) return;
    const char icons[kSizeClassCount] = {'S', 'M', 'L'};
    for (int32_t sizeClass = 0; sizeClass < kSizeClassCount; ++sizeClass) {
        const ChassisDefinition* row = ChassisTable::Row(GetChassisChoice(sizeClass));
        const Image* icon = ChassisIcon(*this, icons[sizeClass]);
        if (row == nullptr || icon == nullptr) continue;
        // Made at the portrait's size, the size of the data set's chassis buttons: the whole
        // face shows, and the texture, which takes only a picture of its own size, takes it.
        Image picture = Stretched(*objectButton, icon->Width(), icon->Height());
        picture.BlendBlit(*icon, 0, 0, primaryColor, trimColor);
        ReplaceTexture(row->buttonImage, picture);
    }
    const Image* goalIcon = BaseImage("GoalIconBase.tga");
    if (small != nullptr && goalIcon != nullptr) {
        Image picture(*objectButton);
        picture.BlendBlit(*goalIcon, 0, 0, primaryColor, trimColor);
        ReplaceTexture(small->goalButton, picture);
    }
    // The scoreboard's button shows both sides' icons: each player adds its own to the
    // shared picture.
    Image* scoreboard = FindSharedBaseImage(String("ScoreboardButton.tga"));
    const Image* icon = ChassisIcon(*this, 'S');
    if (scoreboard == nullptr || icon == nullptr) return;
    const bool computer = this == &GetOpponentPlayer();
    scoreboard->BlendBlit(*icon, computer ? 25 : 6, 8, primaryColor, trimColor);
    ReplaceTexture(String("ScoreboardButton.tga"), *scoreboard);
}

void Player::BuildWeaponButtonTextures() {
    if (!GetRenderer().HasDevice()) return;
    const Overlay beacon = {0, "WeaponBeaconOverlay.tga", 0, 0};
    ReplaceTexture(String("BeaconSetterButton.tga"), ComposePicture(*this, "WeaponButton.tga", &beacon, 1));
    const Overlay launcher = {'S', nullptr, -4, -8};
    ReplaceTexture(String("VornLauncherButton.tga"),
                   ComposePicture(*this, "WeaponVornLauncherButton.tga", &launcher, 1));
}

void Player::ForgetTextures() {
    ForgetOwnTextures();
    PartTexturesInUse().Clear();
}

void Player::ForgetOwnTextures() {
    chassisPartTextures.Clear();
    beaconTexture = nullptr;
    goalTexture = nullptr;
    patternIconTexture = nullptr;
}

// A restarted renderer released what this player made with the earlier one.
void Player::ForgetTexturesOfAnEarlierRenderer() {
    if (texturesCurrent.IsSet()) return;
    ForgetOwnTextures();
    texturesCurrent.Set();
}
