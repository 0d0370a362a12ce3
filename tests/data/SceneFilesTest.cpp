// The cut-scenes, checked for what the scene reader and player rely on: screens wait for
// a scene to finish before they start the next, so every step ends by time; an actor of
// an unknown kind never shows; cues, speech and poses must exist to be played.
#include <map>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "DataFolder.h"
#include "modes/WinningWindow.h"

namespace {

using data_test::EqualsNoCase;
using data_test::Words;

std::vector<std::string> SceneLines(const std::string& name) {
    return data_test::Lines(data_test::ReadWhole(data_test::DataRoot() / "Scenes" / "English" / (name + ".SCE")));
}

const std::set<std::string>& ActorKinds() {
    static const std::set<std::string> kinds = {
        "RobotSmallVorn", "RobotMediumVorn", "RobotLargeVorn", "StalkSmallVorn", "StalkMediumVorn",
        "StalkLargeVorn", "Professor",       "Missile",        "Rock",           "PalmTree",
        "PineTree",       "OakTree",         "Cactus",         "Earth",          "WormHole",
        "Bunny",          "Cloud",           "LaserBeam",      "Debris",         "Explosion",
        "Mountain",       "SpaceBunny",      "Mesa",           "Computer",       "SoccerBall"};
    return kinds;
}

TEST(DataScenes, EveryScreenSceneExistsAndEveryKindAppears) {
    for (const std::string& name : data_test::NameList("SceneNames.txt")) {
        EXPECT_TRUE(data_test::Exists("Scenes/English/" + name + ".SCE")) << name;
    }
    std::set<std::string> used;
    for (const std::string& name : data_test::Titles("Scenes/English", ".SCE")) {
        for (const std::string& line : SceneLines(name)) {
            const auto words = Words(line);
            if (words.size() == 3 && words[0] == "Actor") {
                used.insert(words[1]);
            }
        }
    }
    EXPECT_EQ(used, ActorKinds());
}

// The poses each body model carries, by track: a scene may play only these.
const std::map<std::string, std::map<std::string, std::string>>& ModelPoses() {
    static const auto poses = [] {
        const std::map<std::string, std::vector<std::pair<const char*, const char*>>> lists = {
            {"RobotSmallVorn",
             {{"Idle", "HeadbobIdle GunTwirl QuickLook RockingIdle"},
              {"Victory", "JumpDance JumpTwirl VictoryJump VictoryTilt"},
              {"SimpleVictory", "Twirl Tilt TwirlAndBow Kicker"},
              {"Defeat", "ShakeHead ShakeHeadLow HeadDroop Sad"},
              {"Walk", "Walk Walk2 Walk3 Walk4 WalkTwirl"}}},
            {"RobotMediumVorn",
             {{"Idle", "JumpingJacks StretchIdle Stretch2Idle HeadTwist"},
              {"Victory", "VictoryCheer VictoryWave VictoryJump VictoryDrum"},
              {"Defeat", "ShakeHead LookToTheSky Sag SagAndShake"},
              {"Walk", "Walk Walk2 Walk3 Walk4"}}},
            {"RobotLargeVorn",
             {{"Idle", "JumpingJacks Stretch ToeTouch 360"},
              {"Victory", "VictoryPump VictoryPointing VictoryJump VictoryWhirly"},
              {"Defeat", "Hide SagAndShake WhyMe LookSkyward"},
              {"Walk", "Walk Walk2 Walk3 Walk4"}}},
            {"StalkSmallVorn",
             {{"Idle", "TwirlGunIdle IdleBackAndForth IdleMoreMoreMore LookAround"},
              {"Victory", "JumpDance BackAndForthYay WooHoo Bow"},
              {"Defeat", "SagAndShake Sag SagToSide Embarrassed"},
              {"Walk", "Walk Walk2 Walk3 Walk4"}}},
            {"StalkMediumVorn",
             {{"Idle", "TwistIdle LookAroundIdle RockingIdle ScrunchIdle"},
              {"Victory", "RahRah GunTwirl BackAndForth Jump"},
              {"Defeat", "Sag Collapse SagAndShake DrunkDrop"},
              {"Walk", "Walk Walk2 Walk3 Walk4"}}},
            {"StalkLargeVorn",
             {{"Idle", "LookIdle WaveIdle JumpingJacksIdle BackAndForthIdle"},
              {"Victory", "Jump Wave Wobble Dizzy"},
              {"Defeat", "Sag Splat Shake PeelAway"},
              {"Walk", "Walk Walk2 Walk3 Walk4"}}},
            {"Professor",
             {{"Idle",
               "IdleGlasses IdleNosePick LookAround SideToSideStretch TapFoot LookUpAndAround "
               "LookDownAndRight"}}}};
        std::map<std::string, std::map<std::string, std::string>> byKind;
        for (const auto& [kind, tracks] : lists) {
            byKind[kind]["Idle"] = "Idle";
            for (const auto& [track, names] : tracks) {
                for (const std::string& pose : Words(names)) {
                    byKind[kind][pose] = track;
                }
            }
        }
        return byKind;
    }();
    return poses;
}

// Screens wait for a scene to finish before they start the next, so every step has a
// time; directions, camera targets, cues and speech name what exists.
class SceneChecker {
public:
    void Check(const std::string& line) {
        const std::vector<std::string> words = Words(line);
        if (data_test::IsComment(words)) {
            return;
        }
        const bool end = words.size() == 1 && EqualsNoCase(words[0], "End");
        switch (state_) {
            case State::Top: Top(words); break;
            case State::Step: Step(words, end); break;
            case State::Camera: Camera(words, end); break;
            case State::Text: Text(words, end); break;
            case State::Direction: Direction(words, end); break;
        }
    }

    // Every step, the last one included, has a time of its own.
    bool EndsByTime() const { return timed_ && steps_ > 0; }
    bool Closed() const { return state_ == State::Top; }

private:
    enum class State { Top, Step, Camera, Text, Direction };

    void Top(const std::vector<std::string>& words) {
        const std::string& key = words[0];
        if (key == "Background") {
            EXPECT_EQ(kBackgrounds.count(words.at(1)), 1u) << "background " << words[1];
        } else if (key == "Actor") {
            EXPECT_EQ(ActorKinds().count(words.at(1)), 1u) << "actor kind " << words[1];
            actors_[words.at(2)] = words[1];
        } else if (key == "LinkScene") {
            EXPECT_TRUE(data_test::Exists("Scenes/English/" + words.at(1) + ".SCE")) << "linked " << words[1];
        } else if (key == "Stage") {
            EXPECT_TRUE(timed_) << "step " << steps_ << " has no time";
            state_ = State::Step;
            timed_ = false;
            ++steps_;
        }
    }

    void Step(const std::vector<std::string>& words, bool end) {
        const std::string& key = words[0];
        if (end) {
            state_ = State::Top;
        } else if (key == "Time") {
            timed_ = std::stof(words.at(1)) > 0.0f;
        } else if (key == "Camera") {
            state_ = State::Camera;
        } else if (key == "Text") {
            state_ = State::Text;
        } else {
            // Any other word names the actor the block directs.
            EXPECT_EQ(actors_.count(key), 1u) << "direction for " << key;
            directed_ = actors_[key];
            state_ = State::Direction;
        }
    }

    void Camera(const std::vector<std::string>& words, bool end) {
        if (words[0].rfind("LookAtActor", 0) == 0) {
            EXPECT_EQ(actors_.count(words.at(1)), 1u) << "camera on " << words[1];
        }
        state_ = end ? State::Step : state_;
    }

    void Text(const std::vector<std::string>& words, bool end) {
        if (words.size() == 3 && words[0] == "<S>") {
            EXPECT_EQ(sounds_.count(words[2] + ".ogg"), 1u) << "sound " << words[2];
        }
        if (words.size() == 2 && (words[0] == "<SS>" || words[0] == "<SSNB>")) {
            EXPECT_EQ(speech_.count(words[1]), 1u) << "speech " << words[1];
        }
        state_ = end ? State::Step : state_;
    }

    void Direction(const std::vector<std::string>& words, bool end) {
        state_ = end ? State::Step : state_;
        if (words[0].rfind("Animation", 0) != 0 || ModelPoses().count(directed_) == 0) {
            return;
        }
        const auto& poses = ModelPoses().at(directed_);
        const auto pose = poses.find(words.at(1));
        if (pose == poses.end()) {
            ADD_FAILURE() << directed_ << " has no pose " << words[1];
            return;
        }
        EXPECT_EQ(words.at(2), pose->second) << "track of " << words[1];
    }

    inline static const std::set<std::string> kBackgrounds = {"Stage", "Space", "City", "Desert", "Lab"};
    const std::set<std::string> sounds_ = data_test::NameList("SoundNames.txt");
    const std::map<std::string, std::string> speech_ = data_test::SpeechLines();
    std::map<std::string, std::string> actors_;  // instance name -> kind
    std::string directed_;
    State state_ = State::Top;
    bool timed_ = true;
    int steps_ = 0;
};

TEST(DataScenes, StepsEndByTimeAndNameOnlyActorsSoundsClipsAndPoses) {
    for (const std::string& name : data_test::Titles("Scenes/English", ".SCE")) {
        SCOPED_TRACE(name);
        SceneChecker checker;
        for (const std::string& line : SceneLines(name)) {
            checker.Check(line);
        }
        EXPECT_TRUE(checker.Closed()) << "a block is not closed";
        EXPECT_TRUE(checker.EndsByTime());
    }
}

// The player's units are robots in the player's colours, and the computer's are stalks in
// its own: every scene the winning window may start cheers with the player's robots, and
// no stalk stands there to seem to share the win.
TEST(DataScenes, WinningScenesShowOnlyThePlayersRobots) {
    std::vector<std::string> scenes(std::begin(WinningWindow::kCelebrations), std::end(WinningWindow::kCelebrations));
    scenes.push_back(WinningWindow::kBigCelebration);
    for (const std::string& name : scenes) {
        SCOPED_TRACE(name);
        bool robot = false;
        for (const std::string& line : SceneLines(name.c_str())) {
            const auto words = Words(line);
            if (words.size() != 3 || words[0] != "Actor") continue;
            robot = robot || words[1].rfind("Robot", 0) == 0;
            EXPECT_NE(words[1].rfind("Stalk", 0), 0u) << words[2] << " is in the computer's colours";
        }
        EXPECT_TRUE(robot) << "no robot of the player's";
    }
}

}  // namespace
