#pragma once
// The campaign map: the campaign list drawn as star systems whose planets orbit them,
// each mission or lesson a planet. Planets the player has reached can be picked to open
// their briefing; buttons run the map's tour, the next unplayed mission, the training
// grounds, the upgrade window, or leave the campaign.
#include <cstdint>

#include "core/Array.h"
#include "core/Color.h"
#include "modes/ButtonRowWindow.h"

class MissionGame;
class Player;
class TrainingGame;
class WindowCamera;

class MissionMapWindow : public ButtonRowWindow {
public:
    enum Button : int32_t { kMapTutorial, kPlayNextMission, kTrainingGrounds, kCustomize, kExit };
    static constexpr int32_t kHoverRadius = 42;
    static constexpr int32_t kOrbitRadius = 32;
    static constexpr float kOrbitSpeed = 0.75f;
    static constexpr int32_t kStarPixels = 48;
    static constexpr int32_t kDecorationPixels = 16;
    static constexpr int32_t kPlainPlanetPixels = 20;

    // One star, decorative planet or mission planet on the map.
    struct Body {
        String image;
        String toolTip;
        int32_t star = 0;  // a star's own index for a star
        float angle = 0.0f;
        float spin = 0.0f;
        bool enabled = false;
        bool shown = true;
        Point centre;
        int32_t size = 0;
    };
    struct StarSystem {
        Body body;
        float orbitPhase = 0.0f;
        int32_t planetCount = 0;
        bool hasTutorial = false;
    };

    MissionMapWindow(MissionGame& mission, TrainingGame& training, Player& local);

    void Initialize() override;
    void CreateResources() override;
    void ReleaseResources() override;
    void OnOpen() override;
    // The reach rules, the turning sprites, the orbits and the planet sizes.
    void Refresh() override;
    void DrawContents() override;
    bool HandleMouse(const InputEvent& input) override;
    void HandleCommand(Event& event) override;
    void HitTestControls(const Point& point) override;
    void GetToolTip() override;
    void GetHighlightShape(const HighlightRequest& request, Highlighter& highlighter) override;

    // Builds the map from the mission game's campaign list, once.
    void BuildFromCampaign();
    // The highest star among the missions the player has reached.
    int32_t HighestReachedStar() const;
    // The first mission the player has not won; -1 when every listed one is won.
    int32_t NextUnwonMission() const;

    Array<StarSystem> stars;
    Array<Body> decorations;
    Array<Body> missions;
    int32_t hoveredMission = -1;
    int32_t hoveredStar = -1;
    int32_t hoveredDecoration = -1;
    int32_t pressedMission = -1;
    Point pointer{-1, -1};
    float pulse = 0.0f;
    // The faint stars behind the chart: centre and size in pixels.
    struct BackgroundStar {
        Point centre;
        int32_t size = 0;
    };
    Array<BackgroundStar> backgroundStars;

protected:
    String ButtonToolTip(int32_t index) const override;
    void OnButton(int32_t index) override;
    bool OnFrameTick() override;
    bool OnLeftPress(const Point& point) override;
    bool OnLeftRelease(const Point& point) override;

private:
    void ApplyReachRules();
    void TurnSprites(float seconds);
    void PlacePlanets(float seconds);
    void SizePlanets();
    int32_t MissionAt(const Point& point) const;
    int32_t BodyAt(const Array<Body>& bodies, const Point& point) const;
    void DrawBody(Body& body, struct Sprite*& sprite);
    void ScatterBackgroundStars();
    // Where the route runs: the screen, or below the text box while it is open.
    static IntRect ChartArea();
    void DrawBackgroundStars();
    // A centred sprite of this size at the point, scaled by the factor.
    static void DrawCentred(struct Sprite& sprite, const Point& centre, int32_t size, float scale = 1.0f);
    bool ShowsFinalMissions() const;

    MissionGame& mission_;
    TrainingGame& training_;
    Player& local_;
    bool built_ = false;
    Array<struct Sprite*> starSprites_;
    Array<struct Sprite*> decorationSprites_;
    Array<struct Sprite*> missionSprites_;
    struct Sprite* highlightSprite_ = nullptr;
    struct Sprite* routeDot_ = nullptr;
    struct Sprite* backgroundStar_ = nullptr;
};
