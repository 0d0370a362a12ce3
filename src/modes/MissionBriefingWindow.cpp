// The mission briefing.
#include "modes/MissionBriefingWindow.h"

#include <algorithm>
#include <cmath>

#include "battlefield/SquadTray.h"
#include "battlefield/VornTray.h"
#include "core/Plane.h"
#include "core/Ray.h"
#include "core/TextTable.h"
#include "engine/Renderer.h"
#include "engine/SpriteGrid.h"
#include "game/Event.h"
#include "game/Player.h"
#include "modes/MissionGame.h"
#include "modes/ModeFolders.h"
#include "modes/ModeShell.h"
#include "modes/Professor.h"
#include "modes/TrainingGame.h"
#include "platform/sys/FileSystem.h"
#include "platform/sys/Paths.h"
#include "platform/sys/Random.h"
#include "scenes/Scene.h"
#include "screens/BackgroundScene.h"
#include "ui/SavedFileTrays.h"
#include "ui/UiServices.h"
#include "ui/WindowManager.h"
#include "world/Arena.h"
#include "world/ArenaDrawView.h"

namespace {

constexpr float kPi = 3.14159265358979f;
constexpr float kFieldOfView = kPi / 7.0f;
constexpr float kNearPlane = 2.0f;
// Terrain reaches 25 below zero; the view reaches a little further down.
constexpr float kLowestGround = 33.0f;
constexpr int32_t kMediumVornItem = 115;
// The text box covers the top of the screen; the fly-by and the idle scene are seen below it.
constexpr int32_t kBelowTextBox = 275;
// The idle scene's figures, against their size on a whole screen.
constexpr float kIdleSceneScale = 0.85f;
constexpr const char* kIdleScenes[] = {"SmallIdle", "SmallSideToSide", "MediumIdle"};

// What the fly-by camera sees: where the rays through its viewport's corners come down to
// the ground. The eye may stand in another copy of the arena than the point it flies
// over, so the view is found from the eye.
class FlyByView final : public ArenaDrawView {
public:
    explicit FlyByView(WindowCamera& camera) : camera_(camera) {}
    void ViewCornersAtHeight(float height, Vector3 (&corners)[4]) const override {
        const IntRect& v = camera_.viewport;
        const float xs[4] = {float(v.left), float(v.right), float(v.right), float(v.left)};
        const float ys[4] = {float(v.top), float(v.top), float(v.bottom), float(v.bottom)};
        const Plane ground(Vector3(0.0f, 0.0f, 1.0f), -height);
        for (int i = 0; i < 4; ++i) {
            const Ray ray = camera_.GetPickRay(Vector2(xs[i], ys[i]));
            float t = camera_.farPlane;
            // The tilted view always looks down; a ray that would not is cut at the far plane.
            if (ray.IntersectPlane(ground, t) != 3 || t < 0.0f) t = camera_.farPlane;
            corners[i] = ray.PointAt(t);
        }
    }
    Vector3 CameraTarget() const override {
        Vector3 corners[4];
        ViewCornersAtHeight(0.0f, corners);
        return (corners[0] + corners[1] + corners[2] + corners[3]) * 0.25f;
    }

private:
    WindowCamera& camera_;
};

}  // namespace

MissionBriefingWindow::MissionBriefingWindow(MissionGame& mission, TrainingGame& training, Player& local)
    : ButtonRowWindow("MissionBriefingWindow"), mission_(mission), training_(training), local_(local) {
    AddButton("PlayButton.tga");
    AddButton("SkipTutorialButton.tga");
    AddButton("LabButtonTan.tga");
    AddButton("ExitButton.tga");
    Initialize();
}

void MissionBriefingWindow::Initialize() {
    ButtonRowWindow::Initialize();
    const IntRect screen = UiScreenRect();
    const int32_t width = screen.right - screen.left + 1;
    const int32_t height = screen.bottom - screen.top + 1;
    flyByCamera.maximumHeight = kMaxEyeHeight;
    flyByCamera.minimumHeight = kMinEyeHeight;
    // The eye flies at the top of its range; the far plane lies where the view's upper
    // edge, the ray that looks farthest, comes down to the lowest ground, as for the
    // battlefield's tilted camera.
    flyByCamera.zoom = kMaxEyeHeight;
    flyByCamera.nearPlane = kNearPlane;
    flyByCamera.farPlane = (kMaxEyeHeight + kLowestGround) / std::cos(TiltedCamera::kTilt + kFieldOfView / 2.0f);
    flyByCamera.SetFieldOfView(kFieldOfView);
    flyByCamera.viewport = IntRect(32, kBelowTextBox, width - 31, height - 127);
    flyByCamera.SetAspect(float(width - 62) / float(std::max(height - 126 - kBelowTextBox, 1)));
    flyByCamera.SetHeading(Vector3(0.0f, 1.0f, 0.0f));
    flyByCamera.SetPosition(Vector3(0.0f, 0.0f, kMaxEyeHeight));
    flyByCamera.SetPosition(flyByCamera.EyeForTarget(Vector3()));
    SetFullScreen(true);
}

bool MissionBriefingWindow::IsTutorialEntry() const { return !mission_.tutorialName.IsEmpty(); }

void MissionBriefingWindow::OnOpen() {
    UseDefaultFolders();
    if (gArena != nullptr) {
        gArena->ClearBattlefield(false);
        gArena->LoadScenario(mission_.settings.scenarioName);
    }
    mission_.PlaceBeacons();
    flyByCamera.SetPosition(flyByCamera.EyeForTarget(Vector3()));
    flyByTime = 0.0f;
    flyByIndex = 0;
    UsePlayerFolders(local_);
    Refresh();
    AdvanceFlyBy();
    if (!drawFlyBy) StartIdleScene();
    if (!IsTutorialEntry()) HandOutGifts();
}

void MissionBriefingWindow::Refresh() {
    const bool tutorial = IsTutorialEntry();
    SetButtonShown(kPlay, true);
    SetButtonShown(kSkipTutorial, tutorial && !mission_.alreadyWon);
    SetButtonShown(kTraining, !tutorial);
    SetButtonShown(kExit, true);
    LayOutButtons();
}

void MissionBriefingWindow::ClearPages() {
    pages.Clear();
    nextPage = 0;
}

void MissionBriefingWindow::AddPage(const TextPage& page) { pages.Append(&page); }

void MissionBriefingWindow::HandOutGifts() {
    for (const String& key : giftUpgrades) local_.UnlockUpgrade(key);
    for (const String& unit : giftUnits) {
        bool found = false;
        const String text = GetLanguageTextFound(unit, found);
        const String shown = found ? text : unit;
        if (!sys::IsSafeName(unit.CStr()) || !sys::IsSafeName(shown.CStr()) || !sys::IsSafeName(local_.name.CStr())) {
            continue;
        }
        // Named as the unit editor names the units it saves.
        const String to = "Players\\" + local_.name + "\\Vorns\\" + shown + ".VRN";
        if (sys::Exists(to.CStr())) continue;
        if (!sys::CopyFile(("Vorns\\" + unit + ".vrn").CStr(), to.CStr(), false)) continue;
        sys::SetReadOnly(to.CStr(), false);
        GetVornTray().nameFilter.Clear();
        GetSquadTray().nameFilter.Clear();
        if (SavedFileTrays* trays = GetSavedFileTrays()) trays->RefreshFromDisk();
    }
}

void MissionBriefingWindow::AdvanceFlyBy() {
    if (gArena == nullptr || gArena->flyByPoints.IsEmpty()) return;
    const Vector3 point = gArena->GetFlyByPoint(flyByTime, flyByIndex);
    flyByCamera.target = point;
    flyByCamera.lookAt = point;
    flyByCamera.SetPosition(flyByCamera.EyeForTarget(point));
}

void MissionBriefingWindow::StartIdleScene() {
    const int32_t count = local_.HasUpgradeLevel(kMediumVornItem, 0) ? 3 : 2;
    const int64_t pick = (int64_t(sys::Rand()) * (count - 1) + 16383) / 32767;
    GetBackgroundScene().Start(kIdleScenes[pick]);
}

bool MissionBriefingWindow::OnFrameTick() {
    AdvanceFlyBy();
    if (drawFlyBy) return false;
    BackgroundScene& scene = GetBackgroundScene();
    scene.Update(CurrentGame() != nullptr ? CurrentGame()->frameTime : 0.0f);
    if (scene.IsFinished()) StartIdleScene();
    return false;
}

void MissionBriefingWindow::DrawContents() {
    if (!drawFlyBy) DrawIdleScene();
    DrawButtons();
    if (drawFlyBy) DrawFlyBy();
    if (!allSpoken) allSpoken = SpeakNextOf(pages, nextPage);
}

// Drawn over the whole screen, the scene's figure would stand behind the text box. It is
// drawn through a viewport of its own below the box, as large as kIdleSceneScale makes it,
// and the scene's camera is given back as it was to the other screens that show the scene.
void MissionBriefingWindow::DrawIdleScene() {
    Scene* scene = GetSharedScene();
    if (scene == nullptr) return;
    const IntRect screen = UiScreenRect();
    const int32_t height = screen.bottom - screen.top + 1;
    Camera& camera = scene->CurrentCamera();
    const Camera kept = camera;
    if (height > kBelowTextBox) {
        const float shownShare = float(height - kBelowTextBox) / float(height);
        camera.viewport = IntRect(screen.left, screen.top + kBelowTextBox, screen.right, screen.bottom);
        camera.viewHeight = kept.viewHeight * shownShare / kIdleSceneScale;
        camera.viewWidth = kept.viewWidth / kIdleSceneScale;
        camera.projectionChanged = true;
        camera.viewProjectionChanged = true;
        camera.inverseChanged = true;
        camera.frustumChanged = true;
    }
    GetBackgroundScene().Draw();
    camera = kept;
}

void MissionBriefingWindow::DrawFlyBy() {
    if (gArena == nullptr) return;
    Renderer& renderer = GetRenderer();
    renderer.SetCamera(flyByCamera);
    renderer.Clear(Color::FromRGBA(0, 0, 0, 255), 1.0f, 3);
    renderer.SetWorldTransform(Matrix4());
    FlyByView view(flyByCamera);
    gArena->Draw(view);
}

String MissionBriefingWindow::ButtonToolTip(int32_t index) const {
    switch (index) {
        case kPlay: return GetLanguageText(IsTutorialEntry() ? "StartTutorial" : "StartMission");
        case kSkipTutorial: return GetLanguageText("SkipTutorial");
        case kTraining: return GetLanguageText("TrainingGrounds");
        default: return GetLanguageText("Exit");
    }
}

void MissionBriefingWindow::OnButton(int32_t index) {
    switch (index) {
        case kPlay: PostEvent(IsTutorialEntry() ? kEventStartTutorial : kEventSelectSquads); break;
        case kSkipTutorial:
            if (IsTutorialEntry() && !mission_.alreadyWon) PostEvent(kEventSkipMission);
            break;
        case kTraining: PostEvent(kEventOpenTraining); break;
        default: PostEvent(kEventExit); break;
    }
}

void MissionBriefingWindow::HandleCommand(Event& event) {
    WindowManager& manager = GetWindowManager();
    switch (event.type) {
        case kEventExit:
            manager.CloseAllWindows();
            mission_.Begin();
            return;
        case kEventOpenTraining:
            mission_.goToBriefing = true;
            GetModeShell().PushGame(&training_);
            manager.CloseAllWindows();
            return;
        case kEventStartTutorial:
            HandOutGifts();
            manager.CloseAllWindows();
            mission_.StartTutorial();
            return;
        case kEventSkipMission:
            HandOutGifts();
            if (!mission_.alreadyWon) {
                local_.RecordMissionWin(mission_.missionIndex);
                mission_.SelectPlayersMission();
            }
            mission_.Begin();
            return;
        default: ButtonRowWindow::HandleCommand(event);
    }
}
