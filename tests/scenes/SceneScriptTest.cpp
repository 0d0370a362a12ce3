// The scene script reader: blocks, keywords in any case, missing arguments, links, and
// the data set's own scripts.
#include <gtest/gtest.h>

#include "data/DataFolder.h"
#include "scenes/SceneScript.h"
#include "support/TempFolder.h"
#include "support/WorkingFolder.h"
#include "units/WeaponTable.h"

namespace {

TEST(SceneScriptTest, ReadsBackdropCastStepsAndDirections) {
    SceneScript script;
    script.Parse(
        "Background City // the street\n"
        "Actor Professor Prof\n"
        "Actor RobotSmallVorn One\n"
        "Stage\n"
        "Time 4\n"
        "camera\n"
        "Position 1 2 3 Bogus LookAt 4 5 6 Shake\n"
        "END\n"
        "One\n"
        "From -5 0 0 To 5 0 0 Speed 2\n"
        "FromAxisAngle 0 0 1 90\n"
        "Animation Walk Walk\n"
        "Mood happy Weapon missilelauncher\n"
        "TeleportIn 2 3 NoSpin\n"
        "end\n"
        "Stage\n"
        "End\n"
        "End\n"
        "Stage\n"
        "End\n");
    EXPECT_EQ(script.background, BackgroundKind::City);
    EXPECT_TRUE(script.backgroundPlacesEye);
    EXPECT_EQ(script.professorName, "Prof");
    ASSERT_EQ(script.cast.size(), 1u);
    EXPECT_EQ(script.cast[0].kind, "RobotSmallVorn");
    ASSERT_EQ(script.stages.size(), 2u);
    const Stage& first = *script.stages[0];
    EXPECT_TRUE(first.hasTime);
    EXPECT_FLOAT_EQ(first.time, 4.0f);
    EXPECT_EQ(first.cameraPosition, Vector3(1, 2, 3));
    EXPECT_EQ(first.lookAt, Vector3(4, 5, 6));
    EXPECT_TRUE(first.shake);
    ASSERT_EQ(first.directions.size(), 2u);  // "One", and an actor called "Stage"
    const ActorDirection& one = *first.directions[0];
    EXPECT_EQ(one.from, Vector3(-5, 0, 0));
    EXPECT_EQ(one.to, Vector3(5, 0, 0));
    EXPECT_FLOAT_EQ(one.speed, 2.0f);
    EXPECT_FLOAT_EQ(one.fromAngle, 90.0f);
    EXPECT_EQ(one.animationTrack, "Walk");
    EXPECT_EQ(one.mood, ActorMood::Happy);
    EXPECT_STREQ(WeaponKindName(one.weapon), "MissileLauncher");
    EXPECT_FLOAT_EQ(one.teleportIn[1], 3.0f);
    EXPECT_TRUE(one.noSpin);
    EXPECT_EQ(first.directions[1]->actorName, "Stage");
}

TEST(SceneScriptTest, TextBlockTakesWholeLinesWithCuesAndSpeech) {
    SceneScript script;
    script.Parse(
        "Stage\nText\n"
        "<S> 0.5 Yay\n"
        "<S> 1 Boom.wav\n"
        "<SSNB> Hello\n"
        "Hello there End // not the end\n"
        "End\nEnd\n");
    ASSERT_EQ(script.stages.size(), 1u);
    const Stage& stage = *script.stages[0];
    EXPECT_EQ(stage.cueNames, (std::vector<std::string>{"Yay.ogg", "Boom.wav"}));
    EXPECT_EQ(stage.cueTimes, (std::vector<float>{0.5f, 1.0f}));
    EXPECT_EQ(stage.speechName, "Hello");
    EXPECT_TRUE(stage.speechDoesNotHold);
    EXPECT_EQ(stage.text, "Hello there End // not the end ");
}

TEST(SceneScriptTest, CuesWithoutTheirSoundFileAreDroppedWithTheirTimes) {
    platform_test::TempFolder folder;
    platform_test::WriteRaw(folder / "Sounds/Yay.ogg", "x");
    platform_test::WriteRaw(folder / "Short.SCE", "Stage\nText\n<S> 1 Missing\n<S> 2 Yay\nEnd\nEnd\n");
    app_test::WorkingFolder runtime(folder.Path());
    SceneScript script;
    ASSERT_TRUE(script.Load("Short.SCE"));
    EXPECT_EQ(script.stages.at(0)->cueNames, std::vector<std::string>{"Yay.ogg"});
    EXPECT_EQ(script.stages.at(0)->cueTimes, std::vector<float>{2.0f});
}

TEST(SceneScriptTest, MissingArgumentsReadAsZeroAndNothingPastTheLine) {
    SceneScript script;
    script.Parse(
        "Actor Bunny\nStage\nOne\nFrom 1\nTo 2 3 nan\nAnimation\nEnd\nCamera\n"
        "LookAtActorWithOffset\nEnd\nEnd\n");
    ASSERT_EQ(script.cast.size(), 1u);
    EXPECT_EQ(script.cast[0].name, "");
    ASSERT_EQ(script.stages.size(), 1u);
    const ActorDirection& one = *script.stages[0]->directions.at(0);
    EXPECT_EQ(one.from, Vector3(1, 0, 0));
    EXPECT_EQ(one.to, Vector3(2, 3, 0));
    EXPECT_TRUE(one.hasAnimation);
    EXPECT_EQ(one.animation, "");
    EXPECT_TRUE(script.stages[0]->hasLookAtActorOffset);
}

TEST(SceneScriptTest, LongLinesAreReadWholeAndNumbersThatAreNotFiniteKeepTheDefault) {
    SceneScript script;
    // The direction's and the step's "End" stand 1,100 characters into their line.
    script.Parse("Stage Time 2 Bunny FromScale nan ToScale inf Speed nan FlipRate 3" + std::string(1100, ' ') +
                 "End End\nStage\n");
    ASSERT_EQ(script.stages.size(), 2u);
    const ActorDirection& bunny = *script.stages[0]->directions.at(0);
    EXPECT_EQ(bunny.fromScale, 1.0f);
    EXPECT_EQ(bunny.toScale, 1.0f);
    EXPECT_EQ(bunny.speed, 1.0f);
    EXPECT_EQ(bunny.flipRate, 3.0f);
}

TEST(SceneScriptTest, LaterWordsReplaceTheLinkAndUnknownBackdropKeepsTheOld) {
    SceneScript script;
    script.Parse("Background Desert\nBackground Moon\nLinkScene First\nSecond\n");
    EXPECT_EQ(script.background, BackgroundKind::Desert);
    EXPECT_EQ(script.linkedScene, "Second");
    script.Clear();
    EXPECT_TRUE(script.linkedScene.empty());
}

TEST(SceneScriptTest, StepsBeyondTheBoundAreDropped) {
    std::string text;
    for (size_t i = 0; i < SceneScript::kMaxStages + 5; ++i) {
        text += "Stage Time 1 End\n";
    }
    SceneScript script;
    script.Parse(text);
    EXPECT_EQ(script.stages.size(), SceneScript::kMaxStages);
}

TEST(SceneScriptTest, EveryDataSetScriptReadsWithTimedSteps) {
    const auto names = data_test::Titles("Scenes/English", ".SCE");
    ASSERT_EQ(names.size(), 30u);
    for (const std::string& name : names) {
        SceneScript script;
        ASSERT_TRUE(script.Load(data_test::DataRoot() / "Scenes" / "English" / (name + ".SCE"))) << name;
        EXPECT_FALSE(script.stages.empty()) << name;
        for (const auto& stage : script.stages) {
            EXPECT_TRUE(stage->hasTime || !stage->speechName.empty()) << name;
        }
    }
    SceneScript missing;
    EXPECT_FALSE(missing.Load(data_test::DataRoot() / "Scenes" / "NoSuchScene.SCE"));
    EXPECT_TRUE(missing.stages.empty());
}

}  // namespace
