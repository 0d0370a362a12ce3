#include "modes/MissionGame.h"

#include <algorithm>
#include <string>

#include "audio/EffectSounds.h"
#include "audio/Music.h"
#include "audio/Sounder.h"
#include "battlefield/ArenaWindow.h"
#include "battlefield/ControlTray.h"
#include "battlefield/MiniMap.h"
#include "core/Debugger.h"
#include "core/TextTable.h"
#include "engine/AssetPaths.h"
#include "engine/Mouse.h"
#include "game/Event.h"
#include "game/GameWindows.h"
#include "game/Player.h"
#include "game/PlayerRoster.h"
#include "modes/MissionFile.h"
#include "modes/MissionScreens.h"
#include "modes/ModeFolders.h"
#include "modes/ModeShell.h"
#include "modes/Professor.h"
#include "modes/TutorialGame.h"
#include "platform/sys/FileSystem.h"
#include "platform/window/Keys.h"
#include "scenes/Speaker.h"
#include "ui/ConfirmEscapeMenu.h"
#include "ui/KillTray.h"
#include "ui/SquadNameEditBox.h"
#include "ui/UiServices.h"
#include "ui/WindowManager.h"
#include "ui/WindowTray.h"
#include "world/Arena.h"
#include "world/Beacon.h"
#include "world/Terrain.h"

MissionGame::MissionGame(Player& local, Player& computer) : local_(local), computer_(computer) {
    modeName = "MissionGame";
}

MissionGame::~MissionGame() {
    if (beaconArena_ != nullptr && beaconArena_ == gArena) beaconArena_->UnregisterRemovalListener(this);
    GetPlayerRoster().RemovePlayer(&computer_);
}

void MissionGame::LoadCampaign(const String& campaignLanguage) {
    language = campaignLanguage;
    campaign.Load(language);
    MakeAllPhonemeFiles(false);
}

void MissionGame::MakeAllPhonemeFiles(bool force) {
    for (int32_t i = 0; i < campaign.Count(); ++i) {
        const String& name = campaign.entryNames[i];
        MissionSettings lines;
        if (ReadAside(name, lines)) MakePhonemeFiles(lines, force);
    }
}

bool MissionGame::ReadAside(const String& name, MissionSettings& into) {
    if (!MissionFile::Exists(language, name)) return false;
    Player reader;
    Player enemy;
    const String running = runningLine;
    const bool read = MissionFile(into, *this, reader, enemy).Load(language, name);
    runningLine = running;
    return read;
}

bool MissionGame::IsLastGoal() {
    if (missionIndex < 0 || IsTutorialEntry() || settings.goal == MissionGoal::kNoGoal) return false;
    for (int32_t i = missionIndex + 1; i < campaign.Count(); ++i) {
        MissionSettings later;
        if (!campaign.IsTutorial(i) && ReadAside(campaign.entryNames[i], later) &&
            later.goal != MissionGoal::kNoGoal) {
            return false;
        }
    }
    return true;
}

void MissionGame::MakePhonemeFiles(const MissionSettings& mission, bool force) {
    const auto make = [force](const Array<TextPage>& pages) {
        for (const TextPage& page : pages) {
            if (page.speech.IsEmpty()) continue;
            const std::string speech = SpeechPath(page.speech).CStr();
            // Unforced, a line that has its phoneme file keeps it: copied data sets do not
            // keep the files' times, so an older-looking file need not be stale.
            if (!force && sys::Exists(Speaker::SiblingPath(speech, "phn"))) continue;
            std::string hint = JoinWords(page.lines).CStr();
            while (!hint.empty() && hint.back() == ' ') hint.pop_back();
            Speaker::MakePhonemeFile(speech, hint, force);
        }
    };
    make(mission.briefingTexts);
    make(mission.winningTexts);
    for (const Array<TextPage>& alternative : mission.losingTexts) make(alternative);
}

void MissionGame::SetMission(int32_t index) {
    if (index < 0 || index >= campaign.Count()) {
        missionIndex = -1;
        return;
    }
    missionIndex = index;
    missionName = campaign.entryNames[index];
    tutorialName = campaign.tutorialNames[index];
}

String MissionGame::MissionTitle() const {
    return missionIndex >= 0 && missionIndex < campaign.titles.Count() ? campaign.titles[missionIndex] : String();
}

bool MissionGame::StartBriefing() {
    const auto wins = static_cast<int32_t>(local_.missionWins.size());
    alreadyWon = missionIndex == -1 || (missionIndex < wins && local_.missionWins[missionIndex] != 0);
    // The scenario's "#AI" units find their owner only while the computer is listed.
    GetPlayerRoster().AddPlayer(&computer_);
    UsePlayerFolders(local_);
    frameTimer.Start();
    battleRunning = false;
    local_.won = 0;
    computer_.won = 0;
    SetScoringSuspended(false);
    if (missionIndex >= 0 && IsTutorialEntry() && !MissionFile::Exists(language, missionName)) {
        // A lesson without a briefing of its own starts straight away.
        StartTutorial();
        return true;
    }
    if (missionIndex < 0 || !MissionFile(settings, *this, local_, computer_).Load(language, missionName)) {
        // No briefing with the settings of another mission.
        Debugger::Instance().Line((String("Mission not briefed: ") + missionName).CStr());
        PlayUiSound("Illegal.ogg");
        if (screens_ != nullptr) screens_->ShowCampaignMap();
        return false;
    }
    meteorsEnabled = settings.meteorsEnabled ? 1 : 0;
    meteorDelay = settings.meteorDelay;
    for (int32_t kind = 0; kind < kWeaponKindCount; ++kind) weaponAllowed[kind] = settings.weaponAllowed[kind] ? 1 : 0;
    bool changed = false;
    if (!alreadyWon && local_.lastMission != missionIndex) {
        local_.lastMission = missionIndex;
        local_.lastMissionTries = 0;
        changed = true;
    } else if (alreadyWon && local_.replayMission != missionIndex) {
        local_.replayMission = missionIndex;
        local_.replayMissionTries = 0;
        changed = true;
    }
    if (changed) local_.Save();
    if (screens_ != nullptr) screens_->ShowBriefing(settings);
    return true;
}

int32_t MissionGame::LaunchSquadCount() const {
    return std::clamp(settings.maxSquadCount, 1, MissionSettings::kMaxSquads);
}

void MissionGame::Launch() {
    won = false;
    leftMission = false;
    battleRunning = true;
    resultShown = false;
    SetScoringSuspended(false);
    // The battlefield opens on the shared folders; the squads come from the player's own.
    UseDefaultFolders();
    GetKillTray().Clear();
    OpenBattleWindows();
    if (gArena != nullptr) {
        gArena->ResetMeteorShower();
        gArena->meteorShowerOn = meteorsEnabled != 0;
        gArena->meteorStartTime = meteorDelay;
    }
    UsePlayerFolders(local_);
    Array<Squad*> squads;
    for (int32_t i = 0; i < LaunchSquadCount(); ++i) squads.Append(&local_.squads[i]);
    const StringArray noRoom = PlaceSquadsAtLaunchPoints(squads);
    GetArenaWindow().LookAtUnitsOf(local_);
    local_.ClearSquads();
    GetWindowManager().NotifyAll();
    ShowSquadMembersLeftOut(StringArray(), noRoom);
    SetPaused(false);
    if (settings.goal == MissionGoal::kReachApex && gArena != nullptr) {
        float lowest = 0.0f;
        gArena->GetTerrain().GetHeightRange(lowest, apexHeight);
    }
    PlayBattleSound("TransportBackwards.ogg");
    StopMusic();
    warMusic = ChoosesWarMusic();
    StartMusic();
}

void MissionGame::OpenBattleWindows() {
    WindowManager& manager = GetWindowManager();
    manager.CloseAllWindows();
    manager.OpenWindows({&GetArenaWindow(), &GetWindowTray(), &GetControlTray(), &GetMiniMap()});
}

bool MissionGame::ChoosesWarMusic() const {
    switch (settings.music) {
        case MissionMusic::kWar: return true;
        case MissionMusic::kSneak: return false;
        case MissionMusic::kByGoal: break;
    }
    switch (settings.goal) {
        case MissionGoal::kDestroyAllEnemies:
        case MissionGoal::kVipReachBeacon:
        case MissionGoal::kSaveVip:
        case MissionGoal::kSaveVipEnemy:
        case MissionGoal::kDestroyAllVipEnemies: return true;
        default: return false;
    }
}

void MissionGame::StartMusic() {
    if (song != nullptr || IsMusicOff() || !battleRunning) return;
    song = PlaySong();
}

void MissionGame::StopMusic() {
    musicRestartDelay = 0.0f;
    if (song == nullptr) return;
    ReleaseSong();
    song = nullptr;
}

void MissionGame::OnMusicSwitched(bool musicOn) {
    if (musicOn) {
        StartMusic();
    } else {
        StopMusic();
    }
}

bool MissionGame::PreviewInputEvent(const InputEvent& input) {
    if (input.kind == kInputFrameTick) SuperviseMusic();
    // Only a shown battlefield takes a drag's release: in the squad choice it belongs to
    // the window under the pointer.
    if (GetGameWindows() == nullptr || !GetGameWindows()->IsBattlefieldOpen()) return false;
    return Game::PreviewInputEvent(input);
}

// The music stops while the program is in the background and resumes a moment after it
// is active again.
void MissionGame::SuperviseMusic() {
    const bool active = GetMouse().active != 0;
    if (musicRestartDelay <= 0.0f) {
        if (song != nullptr && !active) {
            StopMusic();
            musicRestartDelay = kMusicResumeDelay;
        }
        return;
    }
    if (!active) {
        musicRestartDelay = kMusicResumeDelay;
        return;
    }
    musicRestartDelay -= frameTime;
    if (musicRestartDelay <= 0.0f) {
        musicRestartDelay = 0.0f;
        StartMusic();
    }
}

StreamSound* MissionGame::PlaySong() { return warMusic ? PlayRandomWarSong() : PlayRandomSneakSong(); }

void MissionGame::StopSong() {
    if (Sounder* sounder = GetEffectSounder()) sounder->StopStream(song);
}

void MissionGame::ReleaseSong() {
    Sounder* sounder = GetEffectSounder();
    if (sounder == nullptr) return;
    sounder->StopStream(song);
    sounder->ReleaseStream(song);
}

void MissionGame::Update() {
    if (battleRunning) {
        const float elapsed = IsSimulationPaused() ? 0.0f : frameTime;
        if (gArena != nullptr) {
            MissionJudge judge(settings, *gArena, local_, computer_);
            const BattleResult result = judge.Judge(elapsed, localBeacon, computerBeacon, apexHeight);
            if (result != BattleResult::kUndecided) EndBattle(result == BattleResult::kWon, false);
        }
    }
    if (battleOver != 0 && !battleRunning && !resultShown && resultDelay > 0.0f) {
        resultDelay -= frameTime;
        if (resultDelay <= 0.0f) {
            resultShown = true;
            rewardPaid = false;
            if (screens_ != nullptr) screens_->ShowResult(won, won ? settings.rewardBoosts : 0);
        }
    }
    Game::Update();
}

void MissionGame::EndBattle(bool battleWon, bool quick) {
    if (song != nullptr) StopSong();
    if (battleWon) {
        PlayBattleSound("Win.ogg");
    } else if (!quick) {
        PlayBattleSound("Lose.ogg");
    } else if (GetGameWindows() != nullptr && GetGameWindows()->IsBattlefieldOpen()) {
        PlayBattleSound("QuickLose.ogg");
    }
    if (battleRunning) {
        battleRunning = false;
        SetScoringSuspended(true);
        resultDelay = battleWon ? kWinDelay : kLoseDelay;
        won = battleWon;
        local_.won = battleWon ? 1 : 0;
        computer_.won = battleWon ? 0 : 1;
    } else {
        RemoveBeacons();
        if (screens_ != nullptr) screens_->ShowBriefing(settings);
    }
    meteorsEnabled = 0;
    if (gArena != nullptr) {
        gArena->meteorShowerOn = false;
        gArena->meteorStartTime = 0.0f;
    }
}

void MissionGame::PayReward() {
    if (rewardPaid || alreadyWon) return;
    rewardPaid = true;
    local_.boosts += settings.rewardBoosts;
    local_.RecordMissionWin(missionIndex);
    SelectPlayersMission();
}

void MissionGame::SelectPlayersMission() { SetMission(std::min(local_.maxMission, campaign.Count() - 1)); }

int32_t MissionGame::LosingTextIndex() const {
    const int32_t count = settings.losingTexts.Count();
    if (count < 1) return -1;
    const int32_t tries = std::max(alreadyWon ? local_.replayMissionTries : local_.lastMissionTries, 0);
    return tries % count;
}

void MissionGame::RemoveBeacons() {
    for (Beacon** beacon : {&localBeacon, &computerBeacon}) {
        Beacon* placed = *beacon;
        *beacon = nullptr;
        if (placed != nullptr && gArena != nullptr) gArena->DestroyObject(placed, false);
    }
}

void MissionGame::WatchBeacons(Arena* arena) {
    if (beaconArena_ == arena) return;
    if (beaconArena_ != nullptr && beaconArena_ == gArena) beaconArena_->UnregisterRemovalListener(this);
    beaconArena_ = arena;
    if (arena != nullptr) arena->RegisterRemovalListener(this);
}

void MissionGame::OnObjectRemoved(WorldObject& object) {
    if (&object == localBeacon) localBeacon = nullptr;
    if (&object == computerBeacon) computerBeacon = nullptr;
}

void MissionGame::Begin() {
    if (goToBriefing) {
        goToBriefing = false;
        StartBriefing();
        return;
    }
    if (!local_.missionMapTutorial) {
        tutorialName = "MissionMap";
        SetMission(-1);
        alreadyWon = false;
        StartTutorial();
        return;
    }
    if (screens_ != nullptr) screens_->ShowCampaignMap();
}

void MissionGame::End() {
    // No song of the battle plays on into the next mode.
    StopMusic();
    GetPlayerRoster().RemovePlayer(&computer_);
}

void MissionGame::StartTutorial() {
    const auto wins = static_cast<int32_t>(local_.missionWins.size());
    if (missionIndex != -1) alreadyWon = missionIndex < wins && local_.missionWins[missionIndex] != 0;
    GetKillTray().Clear();
    if (tutorial_ == nullptr || !tutorial_->LoadScript(language, tutorialName)) {
        // Nothing is recorded for a lesson that never ran.
        if (screens_ != nullptr) screens_->ShowCampaignMap();
        return;
    }
    GetModeShell().PushGame(tutorial_);
}

void MissionGame::PlaceBeacons() {
    RemoveBeacons();
    if (gArena == nullptr) return;
    WatchBeacons(gArena);
    const Vector3 point(settings.beaconPosition.x, settings.beaconPosition.y, 0.0f);
    const auto place = [&point](Player& owner) {
        Beacon* beacon = gArena->NewBeacon();
        beacon->ownerPlayer = &owner;
        gArena->AddObject(beacon);
        beacon->PlaceAt(point);
        return beacon;
    };
    const MissionGoal goal = settings.goal;
    if (goal == MissionGoal::kRaceToBeacon || goal == MissionGoal::kPreventReachBeacon)
        computerBeacon = place(computer_);
    if (goal == MissionGoal::kReachBeacon || goal == MissionGoal::kVipReachBeacon ||
        goal == MissionGoal::kRaceToBeacon) {
        localBeacon = place(local_);
    }
}

namespace {

// Commands that would change the battlefield, which a mission does not allow.
bool IsEditingCommand(int32_t type) {
    switch (type) {
        case kEventPlaceNewObject:
        case kEventOpenObjectCountMenu:
        case kEventBeginTranslateObject:
        case kEventTranslateObject:
        case kEventEndTranslateObject:
        case kEventBeginRotateObject:
        case kEventRotateObject:
        case kEventEndRotateObject:
        case kEventDeleteObject:
        case kEventPlaceNewVorn:
        case kEventOpenVornCountMenu:
        case kEventEditVorn:
        case kEventCopyVorn:
        case kEventPasteVorn:
        case kEventPlaceNewChassis:
        case kEventOpenChassisCountMenu:
        case kEventPlaceNewSquad:
        case kEventBeginSelectGroup:
        case kEventEndSelectGroup:
        case kEventToggleSelectedObject:
        case kEventToggleVornDebug:
        case kEventVornTeamFriend:
        case kEventVornTeamEnemy:
        case kEventPaint:
        case kEventAddLaunchPoint:
        case kEventClearLaunchPoints:
        case kEventAddFlyByPoint:
        case kEventClearFlyByPoints:
        case kEventTestFlyByPoints:
        case kEventRestoreKillTrayVorn: return true;
        default: return false;
    }
}

}  // namespace

void MissionGame::HandleEvent(Event& event) {
    if (IsEditingCommand(event.type)) return;
    switch (event.type) {
        case kEventEscape:
            // A field with no goal is only ever left: its own closing text says so.
            leftMission = battleRunning && settings.goal != MissionGoal::kNoGoal;
            EndBattle(false, true);
            SetPaused(false);
            return;
        case kEventOpenEscapeMenu: {
            ConfirmEscapeMenu& menu = GetConfirmEscapeMenu();
            menu.title = GetLanguageText("LeaveMission?");
            GetWindowManager().OpenWindow(&menu);
            GetWindowManager().BringToFront(&menu);
            return;
        }
        case kEventSelectSquads:
            if (screens_ != nullptr) screens_->ShowSquadSelection(settings.budget, LaunchSquadCount());
            return;
        default: Game::HandleEvent(event);
    }
}

bool MissionGame::PostviewInputEvent(const InputEvent& input) {
    const bool battlefield = GetGameWindows() != nullptr && GetGameWindows()->IsBattlefieldOpen();
    if (!input.IsKeyDown(win::kKeyEscape) || GetMouse().mode != Mouse::kModeNothing || !battlefield) return false;
    if (battleOver != 0) {
        PlayUiSound("Illegal.ogg");
        return true;
    }
    Event* event = NewEvent();
    event->type = kEventOpenEscapeMenu;
    PostEvent(event);
    resumePaused = playerPaused;
    SetPaused(true);
    return true;
}

void MissionGame::DrawFrame() {
    DrawWindows();
    DrawGuide();
    if (battleRunning && gArena != nullptr && MissionJudge(settings, *gArena, local_, computer_).CountsTime()) {
        DrawTimeLeft(settings.goalTime);
    }
    GetMouse().Draw();
}

bool MissionGame::IsControlAllowed(int32_t control) const {
    switch (control) {
        case 0:
        case 1:
        case 4:
        case 5:
        case 6:
        case 7:
        case 12: return true;
        default: return false;
    }
}
