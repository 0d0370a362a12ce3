#pragma once
// The campaign mode: from the campaign map to a mission's briefing, its battle judged by
// the goal every frame, and the result screens; keeps the profile's attempt counters.
#include <cstdint>

#include "core/String.h"
#include "game/Game.h"
#include "modes/CampaignList.h"
#include "modes/MissionJudge.h"
#include "modes/MissionSettings.h"
#include "world/RemovalListener.h"

class Arena;
class Beacon;
class MissionScreens;
class Player;
class StreamSound;
class TutorialGame;

class MissionGame : public Game, private RemovalListener {
public:
    static constexpr float kWinDelay = 4.0f;
    static constexpr float kLoseDelay = 8.0f;
    // Seconds after the program is active again before the battle's music resumes.
    static constexpr float kMusicResumeDelay = 1.0f;

    MissionGame(Player& local, Player& computer);
    // The computer player is taken off the roster if the mode ends without its End.
    ~MissionGame() override;

    void SetScreens(MissionScreens* screens) { screens_ = screens; }
    void SetTutorialGame(TutorialGame* tutorial) { tutorial_ = tutorial; }

    // Back to the briefing when the campaign map asked for it, the campaign map's lesson
    // until the player has seen it, else the campaign map.
    void Begin() override;
    void End() override;
    void HandleEvent(Event& event) override;
    // Keeps the battle's music with the program's focus.
    bool PreviewInputEvent(const InputEvent& input) override;
    bool PostviewInputEvent(const InputEvent& input) override;
    void DrawFrame() override;
    bool HasMusicSwitch() const override { return true; }
    void OnMusicSwitched(bool musicOn) override;
    bool IsControlAllowed(int32_t control) const override;
    bool ShowsObjectToolTips() const override { return false; }
    // The beacons the goal needs, at the mission's beacon position.
    void PlaceBeacons();
    // Reads the entry's lesson and pushes the tutorial game; a lesson that cannot be read
    // is logged and the player stays on the campaign map, with nothing recorded.
    void StartTutorial();
    // Reads the campaign list of the language and makes the phoneme files its lines lack.
    void LoadCampaign(const String& language);
    // The phoneme pass: the phoneme file of every spoken line of the campaign's missions,
    // made with the line's text as hint; unless forced only where it is missing.
    void MakeAllPhonemeFiles(bool force);
    static void MakePhonemeFiles(const MissionSettings& mission, bool force);
    // The mission being played has a goal and no later mission of the campaign has one:
    // winning it wins the campaign.
    bool IsLastGoal();

    // The campaign entry to brief next; an index outside the list selects none (-1).
    void SetMission(int32_t index);
    // Reads the mission file and opens the briefing. A lesson without a file of its own
    // starts at once; any other file that cannot be read keeps the player on the campaign
    // map (false), with a log line and the refusal sound.
    bool StartBriefing();
    bool IsTutorialEntry() const { return !tutorialName.IsEmpty(); }
    // The current entry's title as the campaign list gives it; empty for none.
    String MissionTitle() const;
    // The squads the player chose enter the battle.
    void Launch() override;
    void Update() override;
    // Decides the battle; before a launch it returns to the briefing.
    void EndBattle(bool won, bool quick);
    // The winning screen's buttons pay the reward of a mission not won before, record the
    // win and select the player's next mission; at most once per showing of the result.
    void PayReward();
    // The player's highest open mission, within the campaign list.
    void SelectPlayersMission();
    // The losing text to show: the attempt counter modulo the alternatives; -1 for none.
    int32_t LosingTextIndex() const;
    // Squads a launch may take: the mission's count within 1..4.
    int32_t LaunchSquadCount() const;
    // A random war or sneak song while the battle runs, unless one exists or the music is
    // off. A song that ends is not replaced.
    void StartMusic();
    void StopMusic();
    // War songs for the fighting goals, sneak songs for the others, unless the mission
    // file names the kind.
    bool ChoosesWarMusic() const;

    CampaignList campaign;
    MissionSettings settings;
    int32_t missionIndex = -1;
    String missionName;
    String tutorialName;
    String language = "English";
    Beacon* localBeacon = nullptr;  // cleared when removed
    Beacon* computerBeacon = nullptr;
    float apexHeight = 0.0f;
    bool battleRunning = false;
    bool won = false;
    // The player left the launched battle before it was decided: no cause of losing applies.
    bool leftMission = false;
    bool alreadyWon = false;
    float resultDelay = kLoseDelay;
    bool resultShown = false;
    bool rewardPaid = false;
    bool goToBriefing = false;
    StreamSound* song = nullptr;  // stopped when the battle ends, released by StopMusic
    bool warMusic = false;
    float musicRestartDelay = 0.0f;

protected:
    virtual StreamSound* PlaySong();
    virtual void StopSong();
    virtual void ReleaseSong();

private:
    // Reads the campaign entry's mission file into `into`, leaving the players and the
    // settings of the mission being played as they are.
    bool ReadAside(const String& name, MissionSettings& into);
    void RemoveBeacons();
    // A cleared battlefield frees the beacons with everything else; their pointers go too.
    void OnObjectRemoved(WorldObject& object) override;
    void WatchBeacons(Arena* arena);
    void OpenBattleWindows();
    void SuperviseMusic();

    Player& local_;
    Player& computer_;
    Arena* beaconArena_ = nullptr;  // the arena told to report the beacons' removal
    MissionScreens* screens_ = nullptr;
    TutorialGame* tutorial_ = nullptr;
};
