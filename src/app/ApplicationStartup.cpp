// The start-up sequence: everything the program will show is made once, in this order,
// with the loading screen redrawn between the steps.
#include "app/Application.h"

#include "app/CarriedItemDrawing.h"
#include "app/FrontEndGame.h"
#include "app/FrontEndServices.h"
#include "app/LanguageFile.h"
#include "app/WindowLayout.h"
#include "audio/EffectSounds.h"
#include "audio/Music.h"
#include "audio/Sounder.h"
#include "battlefield/ArenaWindow.h"
#include "battlefield/BattleServices.h"
#include "battlefield/EditorWindows.h"
#include "core/Debugger.h"
#include "core/FileHelpers.h"
#include "core/FileStream.h"
#include "core/Profiler.h"
#include "core/TextTable.h"
#include "core/ThrowError.h"
#include "engine/AssetPaths.h"
#include "engine/Font.h"
#include "engine/Mouse.h"
#include "engine/Renderer.h"
#include "engine/SceneLighting.h"
#include "engine/SharedMeshes.h"
#include "engine/Sprite.h"
#include "game/Game.h"
#include "game/GameWindows.h"
#include "game/Player.h"
#include "game/PlayerRoster.h"
#include "game/SharedBaseImages.h"
#include "modes/UpgradeWindow.h"
#include "net/NetworkGame.h"
#include "net/NetworkStartup.h"
#include "platform/sys/Clock.h"
#include "platform/sys/Random.h"
#include "scenes/Scene.h"
#include "scenes/Speaker.h"
#include "screens/FrontEndScreens.h"
#include "screens/MainMenu.h"
#include "ui/ErrorBox.h"
#include "ui/ScreenTextQueue.h"
#include "ui/TextBox.h"
#include "ui/ToolkitWindows.h"
#include "ui/UiServices.h"
#include "units/ChassisTable.h"
#include "units/PatternMatcher.h"
#include "units/WeaponTable.h"
#include "world/Arena.h"
#include "world/LoadingListener.h"
#include "world/MarchingArrows.h"

namespace {

constexpr Point kScreenSizes[Options::kScreenSizeCount] = {
    {1024, 768}, {1152, 864},  {1280, 720},  {1280, 800},  {1280, 960},  {1280, 1024}, {1366, 768},  {1400, 1050},
    {1440, 900}, {1600, 1024}, {1600, 1200}, {1680, 1050}, {1920, 1080}, {1920, 1200}, {1920, 1400},
};

// Images every screen shares, loaded once into their own slots.
const char* const kSharedImageNames[] = {
    "IconImage.tga",
    "WedgeImage.tga",
    "FriendPatternIcon.tga",
    "PatternButton.tga",
    "WeaponButton.tga",
    "WeaponVornLauncherButton.tga",
    "PatternGoalOverlay.tga",
    "PatternBeaconOverlay.tga",
    "WeaponBeaconOverlay.tga",
    "BaseBeaconDisk.tga",
    "GoalBase.tga",
    "GoalIconBase.tga",
    "ControlButton.tga",
    "ObjectButton.tga",
    "ScoreboardButton.tga",
    "WindowButton.tga",
    "MenuButton.tga",
    "PropertyButton.tga",
    "SquadTrayButton.tga",
    "StartNetworkGameButton.tga",
    "CustomizeButton.tga",
    "WinningCustomizeButton.tga",
    "SaveVornBase.tga",
    "UpgradeSpeedButtonBase.tga",
    "UpgradeArmorButtonBase.tga",
    "UpgradePatternCountButtonBase.tga",
};
static_assert(sizeof(kSharedImageNames) / sizeof(kSharedImageNames[0]) == kSharedImageCount);

const char* const kStartupSoundNames[] = {
    "Illegal.ogg", "Cheater.ogg", "MouseDown.ogg",          "MouseUp.ogg",   "MouseWheel.ogg", "Thud.ogg",
    "Delete.ogg",  "Swish.ogg",   "TransportBackwards.ogg", "Transport.ogg",
};

Image gSharedImages[kSharedImageCount];

// The music path of every listed song that exists.
StringArray ReadSongList(const char* listFile) {
    StringArray songs;
    FileStream stream(listFile, "r");
    if (!stream.IsOpen()) return songs;
    String word;
    while (stream.IsGood()) {
        String::ReadToken(stream, word);
        if (word.IsEmpty()) continue;
        const String path = MusicPath(word);
        if (FileExists(path)) songs.Append(path);
    }
    return songs;
}

}  // namespace

const Image& GetSharedImage(int32_t slot) {
    static const Image kNone;
    if (slot < 0 || slot >= kSharedImageCount) return kNone;
    return gSharedImages[slot];
}

Point ScreenSizeOf(int32_t index) {
    if (index < 0 || index >= Options::kScreenSizeCount) index = 0;
    return kScreenSizes[index];
}

void Application::Startup() {
    OpenLog();
    sys::SRand(sys::TickCount());
    profiler_ = std::make_unique<Profiler>();
    GetLocalPlayer();
    GetOpponentPlayer();
    LoadLanguage();
    options_.Read();
    LoadSongLists();
    options_.Apply();
    CreateMainWindow();
    StartRenderer();
    ShowLoading("StartupSounder");
    StartSound();
    LoadStartupImages();
}

void Application::OpenLog() {
    const String name = settings_.logName + ".txt";
    Debugger::Instance().OpenLogFile(name.CStr());
}

void Application::LoadLanguage() {
    languageName_ = ReadLanguageName("Language.txt", "English");
    SetLanguageName(languageName_);
    const String file = languageName_ + ".txt";
    if (!LoadLanguageTexts(file, GetTextTable())) {
        Debugger::Instance().Line((String("Startup: no language file ") + file).CStr());
    }
    // The player records were made before the language was known.
    BuildUpgradeCatalog();
    GetLocalPlayer().Init();
    GetOpponentPlayer().Init();
    // The computer fights with what the player has.
    GetOpponentPlayer().UseUpgradeLevelsOf(GetLocalPlayer());
}

void Application::LoadSongLists() {
    SetPlayList(PlayList::kWar, ReadSongList("Music\\WarSongs.txt"));
    SetPlayList(PlayList::kSneak, ReadSongList("Music\\SneakSongs.txt"));
    SetPlayList(PlayList::kMenu, ReadSongList("Music\\MenuSongs.txt"));
}

void Application::CreateMainWindow() {
    win::WindowDesc desc;
    desc.title = GetLanguageText("Vorns").CStr();
    desc.fullScreen = settings_.commandLine.fullScreen;
    const Point size = desc.fullScreen ? ScreenSizeOf(options_.screenSize) : Point(kWindowedWidth, kWindowedHeight);
    desc.width = size.x;
    desc.height = size.y;
    desc.openGl = true;
    win::WindowResult opened = win::OpenWindow(settings_.windowBackend, desc);
    if (opened.window == nullptr && desc.fullScreen) {
        // No such display mode: the window opens at the size every display offers.
        desc.width = kWindowedWidth;
        desc.height = kWindowedHeight;
        opened = win::OpenWindow(settings_.windowBackend, desc);
        fellBackTo1024_ = opened.window != nullptr;
    }
    if (opened.window == nullptr) VORNS_RAISE_ERROR(String("Cannot open the main window: ") + opened.error.c_str(), 0);
    window_ = std::move(opened.window);
}

void Application::StartRenderer() {
    Renderer& renderer = GetRenderer();
    rendererStarted_ = true;
    if (settings_.commandLine.fullScreen) {
        const int level = int(float(options_.multiSample) / 20.1f);
        const win::Size client = window_->ClientSize();
        if (!renderer.Init(window_.get(), Point(client.width, client.height), level, true)) {
            if (!renderer.TryCreateDevice(Point(kWindowedWidth, kWindowedHeight), level, true)) {
                VORNS_RAISE_ERROR("renderer.Init(): Cannot enter 1024x768 resolution", 0);
            }
            fellBackTo1024_ = true;
        }
    } else {
        renderer.InitWindowed(window_.get(), 0);
    }
    renderer.LoadFont(GetFont(), TexturePath("VornsFont" + languageName_ + ".tga"), 1);
    const IntRect& screen = renderer.GetWindowRect();
    screenCamera_.SetScreenViewSize(Point(screen.right - screen.left + 1, screen.bottom - screen.top + 1), true);
    floorGrid_ = BuildFloorGridMesh();
    loadingScreen_.SetUp();
    SetLoadingListener(&loadingScreen_);
}

void Application::StartSound() {
    sounder_ = std::make_unique<Sounder>();
    sounder_->Init(settings_.soundDevice, 2, 22050, 16);
    sounder_->StartStreamThread();
    SetEffectSounder(sounder_.get());
    SetMusicSounder(sounder_.get());
    speaker_ = std::make_unique<Speaker>(sounder_.get());
    // The guide's figure: drawn beside the text box wherever he talks.
    speaker_->LoadModel();
    TextBox::SetVoice(speaker_.get());
}

void Application::ShowLoading(const char* key) {
    if (key == nullptr) {
        loadingScreen_.Show();
        return;
    }
    const String text = GetLanguageText(key);
    loadingScreen_.Show(&text);
}

void Application::LoadSharedImages() {
    for (int i = 0; i < kSharedImageCount; ++i) {
        GetRenderer().LoadImageFile(gSharedImages[i], TexturePath(kSharedImageNames[i]));
        RegisterSharedBaseImage(kSharedImageNames[i], &gSharedImages[i]);
    }
}

void Application::CreateGameModes() {
    RegisterGameModes(*this);
    NetworkGame& network = CreateNetworkGame(options_.lobbyHost.CStr(), options_.proxyServer.CStr());
    if (settings_.commandLine.networkBudget >= 0) network.SetTotalBudget(settings_.commandLine.networkBudget);
    CreateSharedScene();
}

void Application::LoadStartupSounds() {
    startupSounds_.Clear();
    for (const char* name : kStartupSoundNames) startupSounds_.Append(LoadEffectSound(SoundPath(name)));
}

void Application::CreateArena() {
    arena_ = std::make_unique<Arena>();
    gArena = arena_.get();
    arena_->Initialize();
    battlefieldViews_.Attach(*arena_);
    SetUpPlayers();
}

void Application::SetUpPlayers() {
    Player& computer = GetOpponentPlayer();
    for (int size = 0; size < Player::kSizeClassCount; ++size) computer.chassisChoices[size] = 3 + size;
    computer.name = "#AI";
    computer.primaryColor = Color::FromRGBA(255, 0, 0, 255);
    computer.trimColor = Color::FromRGBA(64, 64, 64, 255);
    Player& local = GetLocalPlayer();
    for (int size = 0; size < Player::kSizeClassCount; ++size) local.chassisChoices[size] = size;
    GetPlayerRoster().AddPlayer(&local);
}

void Application::CreateWindows() {
    SetUiSystemWindow(window_.get());
    SetGameWindows(&GetToolkitWindows());
    GetToolkitWindows().SetBattlefieldView(&GetArenaWindow());
    GetToolkitWindows().SetLayout(&LayOutGameWindows);
    SetScreenTextQueue(&screenTexts_);
    GetErrorBox();
    frontEndServices_ = std::make_unique<FrontEndServices>(*this);
    SetFrontEndShell(frontEndServices_.get());
    CreateFrontEndScreens();
    CreateEditorWindows();
    CreateBattleWindows([this] { PopGame(); });
    GetUpgradeWindow();
    LayOutGameWindows();
}

void Application::SetUpSceneLight() {
    Vector3 direction(1.0f, 0.5f, -0.375f);
    direction.Normalize();
    SetSceneLightDirection(direction);
}

void Application::LoadStartupImages() {
    LoadSharedImages();
    ShowLoading("StartupLoadingImages");
    LoadChassisDefinitions();
    chassisLoaded_ = true;
    ShowLoading("StartupInitChassisData");
    LoadWeaponDefinitions();
    ShowLoading("StartupInitWeaponData");
    CreateGameModes();
    ShowLoading(nullptr);
    patternMatcher_ = std::make_unique<PatternMatcher>();
    gPatternMatcher = patternMatcher_.get();
    ShowLoading("StartupInitPatternMatcher");
    LoadStartupSounds();
    ShowLoading("StartupInitSounds");
    SetMarchingArrowSprite(GetRenderer().CreateSprite(1, TexturePath("ArrowheadWhite.tga"), Sprite::kAnchorCentre));
    Mouse& mouse = GetMouse();
    mouse.AttachWindow(window_.get());
    mouse.LoadCursorSprites();
    carriedItems_ = std::make_unique<CarriedItemDrawing>();
    mouse.SetCarriedItemPainter(carriedItems_.get());
    mouseReady_ = true;
    ShowLoading(nullptr);
    CreateArena();
    ShowLoading("StartupInitArena");
    CreateWindows();
    ShowLoading("StartupInitWindows");
    SetUpSceneLight();
    Mesh* panel =
        GetRenderer().CreateColoredQuad(QuadRect{0.0f, 0.0f, 1.0f, 1.0f}, Color::FromRGBA(30, 30, 30, 200), 0.0f, 0, 0);
    GetRenderer().CreateModelMeshes(panel);
    screenTexts_.panelQuad = panel;
    Player& local = GetLocalPlayer();
    local.primaryColor = Color::FromRGBA(160, 100, 200, 255);
    local.trimColor = Color::FromRGBA(255, 255, 255, 255);
    for (Player* player : {&GetOpponentPlayer(), &local}) {
        player->RebuildVornIcon(false);
        player->BuildColoredTextures();
    }
    ShowLoading("StartupInitPlayerData");
    options_.Apply();
    GetMainMenu().screenSizeWarning = fellBackTo1024_;
    ShowLoading("StartupFinished");
    running_ = true;
}
