// The lessons, checked for what the tutorial reader relies on: a name it cannot resolve
// (a window, an event, a unit, squad or scenario to copy, a speech clip) is dropped, and a
// step waiting on it could never finish.
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "DataFolder.h"

namespace {

using data_test::EqualsNoCase;
using data_test::Exists;
using data_test::Words;

class LessonChecker {
public:
    void Check(const std::string& line) {
        std::vector<std::string> words = Words(line);
        if (data_test::IsComment(words)) {
            return;
        }
        const bool end = EqualsNoCase(words[0], "End");
        switch (state_) {
            case State::Top: Top(words); break;
            case State::Windows: ExpectWindow(words, 0, end); break;
            case State::Vorns: ExpectFile(end, "Vorns/" + words[0] + ".VRN"); break;
            case State::Squads: ExpectFile(end, "Squads/" + words[0] + ".SQD"); break;
            case State::Stage: Stage(words); break;
            case State::Text: Text(words); break;
            case State::Events: Event(words, end); break;
        }
        if (end) {
            state_ = (state_ == State::Text || state_ == State::Events) ? State::Stage : State::Top;
        }
    }

    bool Closed() const { return state_ == State::Top; }
    int Stages() const { return stages_; }

private:
    enum class State { Top, Windows, Vorns, Squads, Stage, Text, Events };

    void Top(const std::vector<std::string>& words) {
        const std::string& key = words[0];
        if (key == "Windows") {
            state_ = State::Windows;
        } else if (key == "Vorns") {
            state_ = State::Vorns;
        } else if (key == "Squads") {
            state_ = State::Squads;
        } else if (key == "Stage") {
            state_ = State::Stage;
            ++stages_;
        } else if (key == "Scenario") {
            ExpectFile(false, "Scenarios/" + words.at(1) + ".SCN");
        } else if (key == "CloseWindow") {
            ExpectWindow(words, 1, false);
        }
    }

    void Stage(const std::vector<std::string>& words) {
        if (words[0] == "Highlight") {
            ExpectWindow(words, 1, false);
        } else if (words[0] == "TextBox") {
            state_ = State::Text;
        } else if (words[0] == "Events") {
            state_ = State::Events;
        }
    }

    void Text(const std::vector<std::string>& words) {
        if (words[0] == "<S>") {
            EXPECT_EQ(speech_.count(words.at(1)), 1u) << "speech " << words[1];
        }
    }

    // [Require|OrRequire] window event words..., or a camera group.
    void Event(std::vector<std::string> words, bool end) {
        if (end) {
            return;
        }
        const bool required = words[0] == "Require";
        if (required || words[0] == "OrRequire") {
            words.erase(words.begin());
        }
        if (words.at(0) == "MoveCamera" || words[0] == "MoveCameraNoFollow") {
            // "Require" on the group would demand every kind of camera move at once.
            EXPECT_FALSE(required) << "Require " << words[0];
            return;
        }
        ExpectWindow(words, 0, false);
        EXPECT_EQ(events_.count(words.at(1)), 1u) << "event " << words[1];
    }

    void ExpectWindow(const std::vector<std::string>& words, size_t at, bool end) {
        if (!end) {
            EXPECT_EQ(windows_.count(words.at(at)), 1u) << "window " << words[at];
        }
    }

    static void ExpectFile(bool end, const std::string& path) {
        if (!end) {
            EXPECT_TRUE(Exists(path)) << path;
        }
    }

    const std::set<std::string> windows_ = data_test::NameList("WindowNames.txt");
    const std::set<std::string> events_ = data_test::NameList("EventNames.txt");
    const std::map<std::string, std::string> speech_ = data_test::SpeechLines();
    State state_ = State::Top;
    int stages_ = 0;
};

TEST(DataLessons, NameOnlyExistingWindowsEventsFilesAndClips) {
    const auto names = data_test::Titles("Tutorials/English", ".TUT");
    ASSERT_GE(names.size(), 2u);
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        LessonChecker checker;
        const auto path = data_test::DataRoot() / "Tutorials" / "English" / (name + ".TUT");
        for (const std::string& line : data_test::Lines(data_test::ReadWhole(path))) {
            checker.Check(line);
        }
        EXPECT_TRUE(checker.Closed()) << "a block is not closed";
        EXPECT_GT(checker.Stages(), 0) << "a lesson without steps ends at once";
    }
}

}  // namespace
