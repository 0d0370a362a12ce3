// The campaign map.
#include "modes/MissionMapWindow.h"

#include <algorithm>
#include <cmath>

#include "core/TextTable.h"
#include "engine/Renderer.h"
#include "engine/Sprite.h"
#include "engine/SpriteGrid.h"
#include "game/Event.h"
#include "game/Game.h"
#include "game/Player.h"
#include "modes/MissionBriefingWindow.h"
#include "modes/MissionGame.h"
#include "modes/ModeShell.h"
#include "modes/TrainingGame.h"
#include "platform/sys/Random.h"
#include "ui/Highlighter.h"
#include "ui/TextBox.h"
#include "ui/ToolTip.h"
#include "ui/UiServices.h"
#include "ui/WindowManager.h"

namespace {

constexpr float kTwoPi = 6.28318530718f;
constexpr Color kDisabledTint = Color::FromRGBA(50, 50, 50, 255);
constexpr Color kEnabledTint = Color::FromRGBA(255, 255, 255, 255);
constexpr float kMaxSpin = 0.5f;
constexpr int32_t kDotsPerSegment = 6;
constexpr int32_t kHiddenFinalDots = 7;
constexpr float kRoute[][2] = {{0.1f, 0.1f},   {0.1f, 0.1f},   {0.3f, 0.15f}, {0.5f, 0.2f},   {0.7f, 0.15f},
                               {0.825f, 0.1f}, {0.9f, 0.25f},  {0.8f, 0.37f}, {0.65f, 0.42f}, {0.65f, 0.5f},
                               {0.3f, 0.45f},  {0.2f, 0.4f},   {0.1f, 0.6f},  {0.2f, 0.8f},   {0.3f, 0.75f},
                               {0.5f, 0.7f},   {0.65f, 0.72f}, {0.8f, 0.75f}};
constexpr int32_t kRoutePoints = static_cast<int32_t>(std::size(kRoute));
constexpr int32_t kBackgroundStars = 120;
constexpr int32_t kBelowTextBox = 8;
constexpr int32_t kBackgroundStarSizes[] = {2, 3, 4, 6};

String WithoutBlanks(const String& text) {
    String result;
    for (int i = 0; i < text.Length(); ++i) {
        if (text.CStr()[i] != ' ') result += String::FromChar(text.CStr()[i]);
    }
    return result;
}

float RandomSpin() { return (float(sys::Rand()) / 32767.0f * 2.0f - 1.0f) * kMaxSpin; }
float RandomAngle() { return float(sys::Rand()) / 32768.0f * kTwoPi; }

float WrapAngle(float angle) {
    angle = std::fmod(angle, kTwoPi);
    return angle < 0.0f ? angle + kTwoPi : angle;
}

// A Catmull-Rom point between control points i and i + 1, at t in [0, 1], with the route's
// fractions taken of the chart's area.
Vector2 RoutePoint(int32_t i, float t, const IntRect& chart) {
    const float width = float(chart.right - chart.left + 1);
    const float height = float(chart.bottom - chart.top + 1);
    const auto at = [&](int32_t k) {
        k = std::clamp(k, 0, kRoutePoints - 1);
        return Vector2(float(chart.left) + kRoute[k][0] * width, float(chart.top) + kRoute[k][1] * height);
    };
    const Vector2 p0 = at(i - 1), p1 = at(i), p2 = at(i + 1), p3 = at(i + 2);
    const float t2 = t * t, t3 = t2 * t;
    const auto blend = [&](float a, float b, float c, float d) {
        return 0.5f * (2.0f * b + (c - a) * t + (2.0f * a - 5.0f * b + 4.0f * c - d) * t2 +
                       (3.0f * b - a - 3.0f * c + d) * t3);
    };
    return Vector2(blend(p0.x, p1.x, p2.x, p3.x), blend(p0.y, p1.y, p2.y, p3.y));
}

}  // namespace

MissionMapWindow::MissionMapWindow(MissionGame& mission, TrainingGame& training, Player& local)
    : ButtonRowWindow("MissionMapWindow"), mission_(mission), training_(training), local_(local) {
    AddButton("MapTutorialButton.tga");
    AddButton("PlayNextMissionButton.tga");
    AddButton("TrainingGroundsButton.tga");
    AddButton("CustomizeButton.tga");
    AddButton("ExitButton.tga");
}

void MissionMapWindow::Initialize() {
    ButtonRowWindow::Initialize();
    SetFullScreen(true);
    BuildFromCampaign();
}

void MissionMapWindow::BuildFromCampaign() {
    if (built_ || mission_.campaign.stars.IsEmpty()) return;
    built_ = true;
    const CampaignList& campaign = mission_.campaign;
    for (int32_t s = 0; s < campaign.stars.Count(); ++s) {
        StarSystem star;
        const String& name = campaign.stars[s].name;
        star.body.image = "Star" + WithoutBlanks(name) + ".tga";
        star.body.toolTip = name;
        star.body.star = s;
        star.body.angle = RandomAngle();
        star.body.spin = RandomSpin();
        star.body.size = kStarPixels;
        for (const String& planet : campaign.stars[s].planets) {
            Body body;
            body.image = planet + ".tga";
            body.toolTip = planet;
            body.star = s;
            body.angle = RandomAngle();
            body.spin = RandomSpin();
            body.size = kDecorationPixels;
            decorations.Append(body);
            ++star.planetCount;
        }
        stars.Append(star);
    }
    for (int32_t m = 0; m < campaign.Count(); ++m) {
        Body body;
        body.image = "Planet" + campaign.entryNames[m] + ".tga";
        body.toolTip = campaign.titles[m];
        body.star = campaign.entryStars[m];
        body.angle = RandomAngle();
        body.spin = RandomSpin();
        body.size = kPlainPlanetPixels;
        StarSystem& star = stars[body.star];
        ++star.planetCount;
        if (campaign.IsTutorial(m)) star.hasTutorial = true;
        missions.Append(body);
    }
    ScatterBackgroundStars();
    Refresh();
}

void MissionMapWindow::ScatterBackgroundStars() {
    const IntRect screen = UiScreenRect();
    const int32_t width = screen.right - screen.left + 1;
    const int32_t height = screen.bottom - screen.top + 1;
    backgroundStars.Clear();
    for (int32_t i = 0; i < kBackgroundStars; ++i) {
        BackgroundStar star;
        star.centre = Point(sys::Rand() % width, sys::Rand() % height);
        star.size = kBackgroundStarSizes[sys::Rand() % int32_t(std::size(kBackgroundStarSizes))];
        backgroundStars.Append(star);
    }
}

void MissionMapWindow::CreateResources() {
    ButtonRowWindow::CreateResources();
    const auto make = [](const Body& body) {
        return CreateUiSprite(body.size, body.size, body.image, Sprite::kAnchorCentre);
    };
    for (const StarSystem& star : stars) starSprites_.Append(make(star.body));
    for (const Body& body : decorations) decorationSprites_.Append(make(body));
    for (const Body& body : missions) missionSprites_.Append(make(body));
    highlightSprite_ = CreateUiSprite(64, 64, "Highlight.tga", Sprite::kAnchorCentre);
    routeDot_ = CreateUiSprite(32, 32, "Star3.tga", Sprite::kAnchorCentre);
    backgroundStar_ = CreateUiSprite(16, 16, "Star1.tga", Sprite::kAnchorCentre);
}

void MissionMapWindow::ReleaseResources() {
    starSprites_.Clear();
    decorationSprites_.Clear();
    missionSprites_.Clear();
    highlightSprite_ = nullptr;
    routeDot_ = nullptr;
    backgroundStar_ = nullptr;
    ButtonRowWindow::ReleaseResources();
}

void MissionMapWindow::OnOpen() {
    SetFullScreen(true);
    BuildFromCampaign();
    SetButtonShown(kCustomize, local_.boosts > 0);
    SetButtonShown(kPlayNextMission, static_cast<int32_t>(local_.missionWins.size()) <= missions.Count());
    LayOutButtons();
    Refresh();
}

// --- reach rules and motion

int32_t MissionMapWindow::HighestReachedStar() const {
    const int32_t last = std::min(local_.maxMission, missions.Count() - 1);
    int32_t highest = 0;
    for (int32_t m = 0; m <= last; ++m) highest = std::max(highest, missions[m].star);
    return highest;
}

bool MissionMapWindow::ShowsFinalMissions() const { return local_.maxMission >= missions.Count() - 2; }

void MissionMapWindow::ApplyReachRules() {
    const int32_t highest = HighestReachedStar();
    for (StarSystem& star : stars) star.body.enabled = star.body.star <= highest;
    for (Body& body : decorations) body.enabled = body.star <= highest;
    for (int32_t m = 0; m < missions.Count(); ++m) {
        Body& body = missions[m];
        const bool tutorialStar = stars[body.star].hasTutorial;
        body.enabled = body.star < highest || (body.star == highest && (!tutorialStar || m <= local_.maxMission));
        body.shown = m < missions.Count() - 2 || ShowsFinalMissions();
    }
    if (!stars.IsEmpty()) stars[stars.Count() - 1].body.shown = ShowsFinalMissions();
}

void MissionMapWindow::Refresh() {
    const float seconds = CurrentGame() != nullptr ? CurrentGame()->frameTime : 0.0f;
    ApplyReachRules();
    TurnSprites(seconds);
    PlacePlanets(seconds);
    SizePlanets();
}

void MissionMapWindow::TurnSprites(float seconds) {
    for (StarSystem& star : stars) star.body.angle = WrapAngle(star.body.angle + star.body.spin * seconds);
    for (Body& body : decorations) body.angle = WrapAngle(body.angle + body.spin * seconds);
    for (Body& body : missions) body.angle = WrapAngle(body.angle + body.spin * seconds);
}

IntRect MissionMapWindow::ChartArea() {
    IntRect chart = UiScreenRect();
    // While the guide talks, the chart lies below his text box so that no star hides under it.
    if (const TextBox* box = TextBox::Instance(); box != nullptr && box->open) {
        chart.top = std::min(box->bottom + kBelowTextBox, chart.bottom);
    }
    return chart;
}

void MissionMapWindow::PlacePlanets(float seconds) {
    const IntRect chart = ChartArea();
    const int32_t starCount = stars.Count();
    for (int32_t s = 0; s < starCount; ++s) {
        StarSystem& star = stars[s];
        // The stars stand along the route, evenly spread over it.
        const float along = starCount > 1 ? float(s) / float(starCount - 1) : 0.0f;
        const float position = along * float(kRoutePoints - 2);
        const int32_t segment = std::min(int32_t(position), kRoutePoints - 2);
        const Vector2 at = RoutePoint(segment, position - float(segment), chart);
        star.body.centre = Point(int32_t(std::lround(at.x)), int32_t(std::lround(at.y)));
        const bool hovered =
            star.body.enabled && pointer.x >= 0 &&
            Vector2(float(pointer.x - star.body.centre.x), float(pointer.y - star.body.centre.y)).Length() <=
                float(kHoverRadius);
        if (!hovered) {
            star.orbitPhase += kOrbitSpeed * seconds;
            while (star.orbitPhase >= kTwoPi) star.orbitPhase -= kTwoPi;
        }
    }
    Array<int32_t> placed;
    placed.SetSize(starCount);
    for (int32_t s = 0; s < starCount; ++s) placed[s] = 0;
    const auto orbit = [&](Body& body) {
        const StarSystem& star = stars[body.star];
        const float angle =
            star.orbitPhase - float(placed[body.star]++) * kTwoPi / float(std::max(star.planetCount, 1));
        body.centre = Point(star.body.centre.x + int32_t(std::lround(std::cos(angle) * kOrbitRadius)),
                            star.body.centre.y + int32_t(std::lround(std::sin(angle) * kOrbitRadius)));
    };
    for (Body& body : decorations) orbit(body);
    for (Body& body : missions) orbit(body);
}

void MissionMapWindow::SizePlanets() {
    Array<int32_t> counted;
    counted.SetSize(stars.Count());
    for (int32_t s = 0; s < stars.Count(); ++s) counted[s] = 0;
    for (Body& body : missions) {
        const StarSystem& star = stars[body.star];
        if (!star.hasTutorial) {
            body.size = kPlainPlanetPixels;
            continue;
        }
        const int32_t k = ++counted[body.star];
        body.size = int32_t(float(k) / float(std::max(star.planetCount, 1)) * 8.0f + 12.0f);
    }
}

// --- input

bool MissionMapWindow::HandleMouse(const InputEvent& input) {
    pointer = Point(input.x, input.y);
    return ButtonRowWindow::HandleMouse(input);
}

bool MissionMapWindow::OnFrameTick() {
    Refresh();
    return false;
}

int32_t MissionMapWindow::BodyAt(const Array<Body>& bodies, const Point& point) const {
    for (int32_t i = 0; i < bodies.Count(); ++i) {
        const Body& body = bodies[i];
        if (!body.enabled || !body.shown) continue;
        const int32_t half = body.size / 2;
        if (std::abs(point.x - body.centre.x) <= half && std::abs(point.y - body.centre.y) <= half) return i;
    }
    return -1;
}

int32_t MissionMapWindow::MissionAt(const Point& point) const { return BodyAt(missions, point); }

bool MissionMapWindow::OnLeftPress(const Point& point) {
    pressedMission = MissionAt(point);
    if (pressedMission < 0) return false;
    PlaySound("MouseDown.ogg");
    return true;
}

bool MissionMapWindow::OnLeftRelease(const Point& point) {
    const int32_t pressed = pressedMission;
    pressedMission = -1;
    if (pressed < 0) return false;
    if (MissionAt(point) == pressed) {
        PostEventInt(kEventCampaignMapPrivate, pressed);
        PlaySound("MouseUp.ogg");
    }
    return true;
}

int32_t MissionMapWindow::NextUnwonMission() const {
    const auto wins = static_cast<int32_t>(local_.missionWins.size());
    for (int32_t m = 0; m < std::min(missions.Count(), wins); ++m) {
        if (local_.missionWins[m] == 0) return m;
    }
    return -1;
}

void MissionMapWindow::OnButton(int32_t index) {
    switch (index) {
        case kMapTutorial: PostEvent(kEventWindowPrivate); break;
        case kPlayNextMission: {
            const int32_t next = NextUnwonMission();
            if (next >= 0) PostEventInt(kEventCampaignMapPrivate, next);
            break;
        }
        case kTrainingGrounds: PostEvent(kEventOpenTraining); break;
        case kCustomize: PostEvent(kEventEditPlayerInfo); break;
        default: PostEvent(kEventExit); break;
    }
}

void MissionMapWindow::HandleCommand(Event& event) {
    WindowManager& manager = GetWindowManager();
    switch (event.type) {
        case kEventExit:
            manager.CloseAllWindows();
            GetModeShell().PopGame();
            return;
        case kEventOpenTraining:
            GetModeShell().PushGame(&training_);
            manager.CloseAllWindows();
            return;
        case kEventEditPlayerInfo:
            manager.PushReturnWindow(this);
            manager.CloseAllWindows();
            if (Window* upgrades = manager.FindWindowByName("UpgradeWindow")) manager.OpenWindow(upgrades);
            return;
        case kEventCampaignMapPrivate:
            if (auto* briefing =
                    dynamic_cast<MissionBriefingWindow*>(manager.FindWindowByName("MissionBriefingWindow"))) {
                briefing->allSpoken = false;
            }
            mission_.SetMission(event.value);
            mission_.StartBriefing();
            return;
        case kEventWindowPrivate:
            manager.CloseAllWindows();
            local_.missionMapTutorial = false;
            mission_.Begin();
            return;
        default: ButtonRowWindow::HandleCommand(event);
    }
}

// --- hover, tips and highlights

void MissionMapWindow::HitTestControls(const Point& point) {
    hoveredMission = MissionAt(point);
    hoveredDecoration = BodyAt(decorations, point);
    hoveredStar = -1;
    for (int32_t s = 0; s < stars.Count(); ++s) {
        const Body& body = stars[s].body;
        const int32_t half = body.size / 2;
        if (body.enabled && body.shown && std::abs(point.x - body.centre.x) <= half &&
            std::abs(point.y - body.centre.y) <= half) {
            hoveredStar = s;
        }
    }
    ButtonRowWindow::HitTestControls(point);
}

String MissionMapWindow::ButtonToolTip(int32_t index) const {
    static const char* const kKeys[] = {"MapTutorial", "PlayNextMission", "TrainingGrounds", "Customize", "Exit"};
    return GetLanguageText(kKeys[index]);
}

void MissionMapWindow::GetToolTip() {
    const auto tipAt = [](const Body& body, const String& text) {
        const int32_t half = body.size / 2;
        ::GetToolTip().Set(
            text, IntRect(body.centre.x - half, body.centre.y - half, body.centre.x + half, body.centre.y + half));
    };
    if (buttons != nullptr && buttons->hovered >= 0) {
        ButtonRowWindow::GetToolTip();
    } else if (hoveredMission >= 0) {
        tipAt(missions[hoveredMission], missions[hoveredMission].toolTip);
    } else if (hoveredDecoration >= 0) {
        tipAt(decorations[hoveredDecoration], decorations[hoveredDecoration].toolTip);
    } else if (hoveredStar >= 0) {
        tipAt(stars[hoveredStar].body, stars[hoveredStar].body.toolTip);
    } else {
        ButtonRowWindow::GetToolTip();
    }
}

void MissionMapWindow::GetHighlightShape(const HighlightRequest& request, Highlighter& highlighter) {
    constexpr float kPulse = 1.0f;
    const auto circleAt = [&highlighter](const Point& centre, int32_t size) {
        highlighter.AddCircleAt(centre, float(size), kPulse);
    };
    const auto buttonCircle = [&](int32_t index) {
        const IntRect rect = ButtonRect(index);
        circleAt(rect.GetCenter(), (rect.right - rect.left) / 2 + 4);
    };
    if (request.kind == 1 && request.name.EqualsNoCase("SolEarth") && !stars.IsEmpty()) {
        circleAt(stars[0].body.centre, stars[0].body.size);
    } else if (request.kind == 1 && request.name.EqualsNoCase("MissionNotWon")) {
        const int32_t next = std::max(NextUnwonMission(), missions.IsEmpty() ? -1 : 0);
        if (next >= 0) circleAt(missions[next].centre, missions[next].size);
    } else if (request.kind == 1 && request.name.EqualsNoCase("Help")) {
        buttonCircle(kMapTutorial);
    } else if (request.kind == 1 && request.name.EqualsNoCase("PlayNextMission")) {
        if (IsButtonShown(kPlayNextMission)) buttonCircle(kPlayNextMission);
    } else {
        ButtonRowWindow::GetHighlightShape(request, highlighter);
    }
}

// --- drawing

void MissionMapWindow::DrawCentred(Sprite& sprite, const Point& centre, int32_t size, float scale) {
    const int32_t half = size / 2;
    sprite.SetRect(IntRect(centre.x - half, centre.y - half, centre.x - half + size - 1, centre.y - half + size - 1));
    sprite.x = centre.x;
    sprite.y = centre.y;
    GetRenderer().DrawSpriteUniformScale(sprite, scale);
}

void MissionMapWindow::DrawBody(Body& body, Sprite*& sprite) {
    if (sprite == nullptr || !body.shown) return;
    sprite->width = sprite->height = body.size;
    TintSprite(sprite, body.enabled ? kEnabledTint : kDisabledTint);
    // With no pivot offset the sprite turns about its centre, which stays on the body's
    // centre: where it is hovered and clicked.
    GetRenderer().DrawSpriteRotated(*sprite, Vector2(float(body.centre.x), float(body.centre.y)), Vector2(1.0f, 1.0f),
                                    body.angle, Vector2(0.0f, 0.0f), Matrix4());
}

void MissionMapWindow::DrawBackgroundStars() {
    if (backgroundStar_ == nullptr) return;
    for (const BackgroundStar& star : backgroundStars) DrawCentred(*backgroundStar_, star.centre, star.size);
}

void MissionMapWindow::DrawContents() {
    UseScreenCamera();
    Renderer& renderer = GetRenderer();
    // Sprites keep their own tint: lit, every planet would look reached.
    renderer.DisableLighting();
    renderer.SetAlphaBlend();
    const IntRect chart = ChartArea();
    DrawBackgroundStars();
    if (routeDot_ != nullptr) {
        const int32_t total = (kRoutePoints - 1) * kDotsPerSegment;
        const int32_t shown = ShowsFinalMissions() ? total : total - kHiddenFinalDots;
        for (int32_t d = 0; d < shown; ++d) {
            const Vector2 at = RoutePoint(d / kDotsPerSegment, float(d % kDotsPerSegment) / kDotsPerSegment, chart);
            DrawCentred(*routeDot_, Point(int32_t(at.x), int32_t(at.y)), 32, 0.1f);
        }
    }
    for (int32_t s = 0; s < stars.Count() && s < starSprites_.Count(); ++s) DrawBody(stars[s].body, starSprites_[s]);
    for (int32_t i = 0; i < decorations.Count() && i < decorationSprites_.Count(); ++i) {
        DrawBody(decorations[i], decorationSprites_[i]);
    }
    for (int32_t i = 0; i < missions.Count() && i < missionSprites_.Count(); ++i) {
        DrawBody(missions[i], missionSprites_[i]);
    }
    if (hoveredMission >= 0 && highlightSprite_ != nullptr) {
        pulse = WrapAngle(pulse + (CurrentGame() != nullptr ? CurrentGame()->frameTime : 0.0f) * 4.0f);
        const Body& body = missions[hoveredMission];
        const float mix = 0.5f + 0.5f * std::sin(pulse);
        TintSprite(highlightSprite_, Color::FromRGBA(uint8_t(255 * mix), 255, uint8_t(255 * (1.0f - mix)), 255));
        DrawCentred(*highlightSprite_, body.centre, 64, float(body.size + 8) / 64.0f);
    }
    renderer.SetBlendOff();
    renderer.EnableLighting();
    DrawButtons();
}
